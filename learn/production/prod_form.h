// The production view: the learner chooses words on the shared options page (or takes a list the
// word summary handed over), sees a summary of the choice, and sends the words to printed cards,
// MP3 files for a player or tracks for an audio CD. The word ids come from the server; the
// production settings live in the "Prod" settings section.
//
// The main window docks the form as its view 4 and lends it the options page; its footer buttons
// call ShowPrintPanel, ShowMp3Panel and ShowCdPanel, and BackToPrefBtn calls OnBackToOptions
// (the main window's production button).
#pragma once

#include "core/language_pack.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QStackedWidget;

namespace zabko {

class IPrinterCanvas;
class IViewHost;
class TMyShape;
class TNBitmapComponent;
class TNButton;
class TNManager;
class TNStatic;
class TOptionsForm;
class TRegistryIniFile;
class TTntLabel;

// A wide setting, kept as UTF-8, told apart from a missing one by reading with the default
// "NO_WAY_THIS_STRING_IS_HERE": a stored empty text stays empty.
QString ReadWideSetting(const TRegistryIniFile& settings, const QString& section, const QString& key,
                        const QString& def);
void WriteWideSetting(TRegistryIniFile& settings, const QString& section, const QString& key, const QString& value);

// The right space field as a whole number of millimetres 0 to 50; anything else fails with the
// conversion error "'<text>' is not a valid integer value".
int ParseRightSpace(const QString& text);

class TProdForm : public QWidget {
  Q_OBJECT

 public:
  enum TPanel { kNoPanel, kPrintPanel, kMp3Panel, kCdPanel };

  TProdForm(QWidget* parent, IViewHost& host, TNManager* manager, TOptionsForm* options);
  ~TProdForm() override;

  void ShowIntro();
  void ShowPrintPanel() { ShowPanel(kPrintPanel); }
  void ShowMp3Panel() { ShowPanel(kMp3Panel); }
  void ShowCdPanel() { ShowPanel(kCdPanel); }
  void ShowSpecialList();
  void LetterChosen();
  void Refresh();
  void SaveOptionsIfIntro();
  void ApplyLeftToRight();
  void LoadCaptions();

  // Handlers.
  void BackToPrefBtnClick();
  void Cards8RBClick(TNButton* clicked);
  void DirSearchBtnClick();
  void SearchPath2BtnClick();
  void PrintBtnClick();
  void Mp3BtnClick();
  void CdBtnClick();

  // The main window's production button; empty, the options page comes back.
  std::function<void()> OnBackToOptions;
  // The folder picker (tests replace it).
  std::function<bool(QWidget* owner, const QString& title, QString& path)> BrowseFolder;
  // The printer (tests print to PDF or record).
  std::function<std::unique_ptr<IPrinterCanvas>()> MakePrinterCanvas;

  bool IntroShowing() const;
  TPanel ShownPanel() const { return panel_; }
  bool SortBySubject() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowPanel(TPanel panel);
  void ShowSummary();
  void ReloadOptions();
  // Fetches the chosen words into Target (headword texts with their words) and asks to go on.
  bool CollectWords(TWordItemList& target, const QString& captionKey, const QString& actionKey,
                    const QString& noWordsKey);
  void LoadSettings();
  void SaveSettings();
  int PrintKind() const;

  IViewHost& host_;
  TNManager* manager_;
  TOptionsForm* options_;
  bool firstShow_ = true;
  TPanel panel_ = kNoPanel;

  QStackedWidget* notebook_;
  QWidget* introPage_;
  QWidget* summaryPage_;
  TTntLabel* expLbl_;
  TMyShape* shape1_;
  TTntLabel* specialListCaption_;
  TNStatic* prodImg_;
  TNButton* backToPrefBtn_;
  QWidget* summaryPnl_;
  TTntLabel* letterLbl_;
  TTntLabel* sortLbl_;
  TTntLabel* sivugLbl_;
  TTntLabel* knowledgeLbl_;
  QWidget* printPnl_;
  TNButton* cards8RB_;
  TNButton* cards4RB_;
  TNButton* pageBothRB_;
  TNButton* pageSeperateRB_;
  QLineEdit* rightSpaceEdt_;
  TNButton* printBtn_;
  QWidget* mp3PlayerPnl_;
  QLineEdit* exportPathEdt_;
  TNButton* search2Btn_;
  QCheckBox* createSubDirCB_;
  QCheckBox* noHebrewCB_;
  TNButton* mp3Btn_;
  QWidget* cdPnl_;
  QLineEdit* exportPath2Edt_;
  TNButton* searchBtn_;
  QComboBox* tracksByCombo_;
  TNButton* cdBtn_;
  TNBitmapComponent* backCmp_;
  TNBitmapComponent* radioCmp_;
  TNBitmapComponent* printCmd_;
  TNBitmapComponent* searchCmp_;
  int storedTracksBy_ = 0;
  int storedPrintKind_ = 1;
};

}  // namespace zabko
