// The application type: fixed answers that tell the shared code which edition it serves (names
// of the product, settings key and folders, the server type number, window sizes, feature
// switches, fonts and styles, the language packs to create and how a word is filled from its
// database record). Every answer is virtual; the base gives the answers most editions share.
//
// The styling hooks take the widgets as QObject (and fonts as QFont) so that core stays free of
// widget code; the learning program's hooks do nothing with them.
#pragma once

#include "core/language_pack.h"
#include "core/letter_button.h"
#include "core/word.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QString>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

namespace zabko {

class TAppTypeSpecific {
 public:
  // Gives the full path of a file in the data folder.
  using TPathResolver = std::function<QString(const QString& fileName)>;
  using TLanguagePacks = std::vector<std::unique_ptr<TLanguagePack>>;

  virtual ~TAppTypeSpecific() = default;

  virtual QString GetProductName() const = 0;
  virtual bool ShowDidYouKnow() const { return true; }
  virtual bool ShowFollowFaces() const { return true; }
  virtual bool ShowHotWords() const { return true; }
  virtual bool ShowMobileButton() const { return true; }
  virtual bool HasAudio() const { return true; }
  virtual bool ShowContactButton() const { return true; }
  virtual bool ShowSendToFriendButton() const { return true; }
  virtual bool ShowHelpButton() const { return true; }
  virtual bool ShowInfoButton() const { return true; }
  virtual bool LoginAsksEmail() const { return false; }
  virtual bool LoginCompactButtons() const { return false; }
  virtual bool ShowLoginExitButton() const { return true; }
  virtual int FilterComboWidth() const { return 41; }
  // The group of a word in MP3 export: with noHebrew the spelled Latin name of the Hebrew letter
  // that starts the word's search text, else the pack's letter of the word's letter index.
  virtual QString GetSoundGroupName(bool noHebrew, const TWord& word, const TLanguagePack& pack) const;
  virtual bool FullScreen() const { return false; }
  virtual int PreferredScreenWidth() const { return -1; }
  virtual int PreferredScreenHeight() const { return -1; }
  virtual int MaxMainWidth() const { return 1024; }
  virtual int MaxMainHeight() const { return 768; }
  virtual bool RestoreDisplayMode() const { return true; }
  virtual bool RememberPassword() const { return true; }
  virtual bool LeftToRightLists() const { return false; }
  virtual bool SwitchToEnglishKeyboard() const { return true; }
  virtual bool UseTextBuilder() const { return true; }
  virtual int HeaderButtonOffset() const { return 0; }
  virtual bool PlainQuestionFonts() const { return false; }
  virtual bool ShowNoHebrewOption() const { return true; }
  virtual bool OpenServerPage() const { return false; }
  virtual bool LoginUsesTextBuilder() const { return false; }
  virtual int HintHidePause() const { return 2500; }
  virtual bool PrintCardBackground() const { return true; }
  virtual bool CardWordFontBold() const { return true; }
  virtual int PrintWordOffset(int cardHeight, bool halfPageLayout) const { return 0; }
  virtual bool CompactHomeButton() const { return false; }
  virtual int SummaryWidth() const { return 589; }
  virtual int SummaryHeight() const { return 438; }
  virtual void StyleMenuButton(QObject* button) const {}
  virtual void StyleCaptionLabel(QObject* label) const {}
  // The language pack index behind a position of the letters bar's language switch.
  virtual int MapLanguageIndex(int index) const { return index; }
  virtual int MaxListWidth() const { return INT_MAX; }
  virtual int FollowLanguageMode() const = 0;
  virtual bool EnglishInterface() const = 0;
  // An extra text pack merged over the first; empty for none.
  virtual QString GetAdditionalGUITextName() const { return {}; }
  // The look of the letter buttons.
  virtual TButtonStyle LetterButtonStyle() const;
  virtual void StyleButton(ILetterButton& button) const { button.ApplyStyle(LetterButtonStyle()); }
  virtual QString GetCardsPrintBitmap() const { return QStringLiteral("cards_print.bmp"); }
  virtual QString GetMainLogoBitmap() const { return QStringLiteral("main\\logo.bmp"); }
  virtual QString GetFooterLogoBitmap() const { return QStringLiteral("main\\fotterLogo.bmp"); }
  // The settings key under the current user.
  virtual QString GetRegistryKey() const = 0;
  // The data folder's name in the user's data home.
  virtual QString GetAppDataFolderName() const = 0;
  virtual bool ForceMp3NoHebrew() const { return false; }
  // The server type number that the version check expects.
  virtual int GetVersionNumber() const = 0;
  virtual void StyleWordFont(QFont& font) const {}
  virtual bool LargeTestLayout() const { return false; }
  virtual bool TestRowUsesLabelHeight() const { return true; }
  // Language ids and alphabet sizes of the packs, in pack order.
  virtual QList<int> GetLanguageIds() const { return {}; }
  virtual QList<int> GetAlphabetSizes() const { return {}; }
  // The packs, each loading its word database from the resolved path; a failing load ends the
  // creation with that failure. letterButtons[p] are pack p's buttons (none when missing).
  virtual TLanguagePacks CreateLanguagePacks(const std::vector<std::vector<ILetterButton*>>& letterButtons,
                                             const TPathResolver& resolvePath,
                                             const TLanguagePack::TClickAllowed& clickAllowed,
                                             const TLanguagePack::TAfterClick& afterClick,
                                             const TLanguagePack::TCountsCallback& counts) const = 0;
  // Fills a format 3010 word's texts and meanings from its word packet.
  virtual void FillWord(TWord& word, const TDataPacket& wordPacket) const { FillWordTexts(word, wordPacket); }
  // FillWord as a word list's filling callback; the application type outlives its word lists.
  TFillWord WordFiller() const;
  virtual void SetupWordFrame(QObject* wordFrame, const TLanguagePack* pack) const {}
  // The folder of data files beside the program.
  virtual QString GetDataFolder() const { return QStringLiteral("Data"); }
  // The game edition's program file in the "Game" subfolder.
  virtual QString GetGameProgramName() const { return QStringLiteral("Zabkoplay"); }
};

}  // namespace zabko
