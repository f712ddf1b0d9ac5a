#include "core/app_type_specific.h"

#include "core/str.h"
#include "core/zabkolex_app.h"

namespace zabko {

QString TAppTypeSpecific::GetSoundGroupName(bool noHebrew, const TWord& word, const TLanguagePack& pack) const {
  if (noHebrew) return word.SearchText.isEmpty() ? QString() : HebrewLetterName(word.SearchText.at(0));
  return pack.GetLetter(pack.GetLetterIndex(word));
}

TButtonStyle TAppTypeSpecific::LetterButtonStyle() const {
  TButtonStyle style;
  style.DeltaX = -1;
  style.DeltaYPlain = -3;
  style.DeltaYDown = -2;
  style.DeltaYOver = -2;
  style.FontName = QStringLiteral("Arial");
  style.FontSize = 14;
  return style;
}

TFillWord TAppTypeSpecific::WordFiller() const {
  return [this](TWord& word, const TDataPacket& wordPacket) { FillWord(word, wordPacket); };
}

TAppTypeSpecific::TLanguagePacks TZabkolexApp::CreateLanguagePacks(
    const std::vector<std::vector<ILetterButton*>>& letterButtons, const TPathResolver& resolvePath,
    const TLanguagePack::TClickAllowed& clickAllowed, const TLanguagePack::TAfterClick& afterClick,
    const TLanguagePack::TCountsCallback& counts) const {
  const auto buttons = [&](std::size_t pack) {
    return pack < letterButtons.size() ? letterButtons[pack] : std::vector<ILetterButton*>{};
  };
  TLanguagePacks packs;
  packs.push_back(std::make_unique<THebrewLanguage>(0, 22, resolvePath("ClientPsyHebrew.dat"), buttons(0),
                                                    clickAllowed, afterClick, counts, WordFiller()));
  packs.push_back(std::make_unique<TEnglishLanguage>(1, 26, resolvePath("ClientPsyEnglish.dat"), buttons(1),
                                                     clickAllowed, afterClick, counts, WordFiller()));
  return packs;
}

std::unique_ptr<TAppTypeSpecific> GetAppTypeClass() { return std::make_unique<TZabkolexApp>(); }

}  // namespace zabko
