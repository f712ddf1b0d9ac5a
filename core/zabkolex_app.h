// The learning program's one application type. The game edition uses the same answers.
#pragma once

#include "core/app_type_specific.h"

namespace zabko {

class TZabkolexApp : public TAppTypeSpecific {
 public:
  static QString ProductName() { return QStringLiteral("Zabkolex"); }
  QString GetProductName() const override { return ProductName(); }
  bool UseTextBuilder() const override { return true; }
  bool CompactHomeButton() const override { return true; }
  // The language switch starts on the second pack: position 0 is pack 1 and 1 is pack 0.
  int MapLanguageIndex(int index) const override { return 1 - index; }
  int FollowLanguageMode() const override { return 0; }
  bool EnglishInterface() const override { return false; }
  QString GetRegistryKey() const override { return QStringLiteral("Software\\Kestrani\\Zabkolex"); }
  QString GetAppDataFolderName() const override { return QStringLiteral("Kestrani Zabkolex"); }
  int GetVersionNumber() const override { return 7001; }
  QList<int> GetLanguageIds() const override { return {0, 1}; }
  QList<int> GetAlphabetSizes() const override { return {22, 26}; }
  // Pack 0: Hebrew, id 0, 22 letters, "ClientPsyHebrew.dat"; pack 1: English, id 1, 26 letters,
  // "ClientPsyEnglish.dat".
  TLanguagePacks CreateLanguagePacks(const std::vector<std::vector<ILetterButton*>>& letterButtons,
                                     const TPathResolver& resolvePath,
                                     const TLanguagePack::TClickAllowed& clickAllowed,
                                     const TLanguagePack::TAfterClick& afterClick,
                                     const TLanguagePack::TCountsCallback& counts) const override;
  // The base filling, then ".mp3" appended to the main and extra sound names.
  void FillWord(TWord& word, const TDataPacket& wordPacket) const override {
    FillWordWithMp3Names(word, wordPacket);
  }
};

// The application type of this program: a new TZabkolexApp.
std::unique_ptr<TAppTypeSpecific> GetAppTypeClass();

}  // namespace zabko
