// The learning program's main window and the owner of its run. It creates the central object,
// the connection flow and the windows the flow works through; runs the start-up (text pack,
// splash load steps, connection, log-on, data files, first view); hosts one view at a time in
// a scrolling client area under the header and letters bars and beside the side panels; routes
// answers to the answer holder and saves the pending ones within a second of a change and every
// minute once logged on; handles
// every exception that reaches the event loop; and runs the shut-down (leave the view, upload,
// log off). The frames (bars and side panels) reach it through IFrameHost, the flow through
// IMainWindowHooks.
#pragma once

#include "core/word_list.h"
#include "learn/views/view_host.h"
#include "net/flow_hooks.h"
#include "net/zabkolex_central.h"
#include "ui/modal_form.h"

#include <QList>
#include <QPair>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <array>
#include <exception>
#include <functional>
#include <memory>

class QLabel;
class QScrollArea;
class QTimer;

namespace zabko {

class TCanvasTextMeasure;
class TDelayedCall;
class TFotterFrm;
class THeaderFrm;
class TLetterFrm;
class TSearchFrm;
class THotWordsFrm;
class TFollowFrm;
class TExtraInfoForm;
class TFilterForm;
class TFlowWindows;
class THelpForm;
class TLogin;
class TMainWindowChannel;
class TQuietMessages;
class TMyShape;
class TNBitmapComponent;
class TNButton;
class TNFrameStatic;
class TNManager;
class TNStatic;
class TOptionsForm;
class TProdForm;
class TSplashForm;
class TTestForm;
class TTntLabel;
class TWelcomForm;
class TWordSummary;
class TZabkolexFlow;

class TZabkolexMainForm : public QWidget, public IMainWindowHooks, public IViewHost {
  Q_OBJECT

 public:
  // Starts a program with its arguments in a folder; true when it started.
  using TLauncher = std::function<bool(const QString& program, const QStringList& arguments, const QString& folder)>;

  struct TOptions {
    // The folder of the program file, of "Data.res" and of the game's folder; default the
    // running program's.
    QString programFolder;
    // The screen's size in pixels; default the primary screen's.
    std::function<QSize()> screenSize;
    // Starts the game program; default TFile::Execute.
    TLauncher launcher;
    // The plain and wide message boxes (before the skin's boxes can be used); default a
    // QMessageBox.
    std::function<void(const QString& text)> plainBox;
    TZabkolexCentral::THooks centralHooks;
  };

  // Exit modes.
  static constexpr int kExitLogOnAbandoned = 0;
  static constexpr int kExitStartFailed = 1;
  static constexpr int kExitNormal = 2;
  static constexpr int kSaverInterval = 60000;
  // The answers file is written this long after the first change that it does not hold yet, so
  // that a burst of answers (a sorter's flush) costs one write.
  static constexpr int kAnswersSaveDelay = 1000;
  // An end asked for by a signal gives its uploads, and then its log-off, this long each.
  static constexpr int kSignalStepMs = 5000;
  static constexpr int kFormVersion = 30;
  static constexpr std::array<qint32, 8> kColorTable{0xFFFFFF, 0x6A240A, 0x808080, 0xC0C0C0,
                                                     0xF3ECD9, 0x38AA61, 0x0070FF, 0xA56E3A};

  explicit TZabkolexMainForm(TOptions options = {}, QWidget* parent = nullptr);
  ~TZabkolexMainForm() override;

  // The forms the program body creates, handed over before the first showing (any may be none).
  void SetForms(TWelcomForm* welcome, THelpForm* help, TSplashForm* splash, TExtraInfoForm* extraInfo);

  // Life cycle.
  void FormCreate();
  // The first showing, run from the event loop; it shows the window at its end.
  void FormShow();
  void SplashStep(int step);
  void DelayedStart();
  // Closing: the question in exit mode 2 (unless Ask is false), then the shut-down steps; true
  // when the window closed. A close asked for while a server request is under way waits until
  // it has returned; one asked for while a close is under way changes nothing more.
  bool Close(bool ask = true);
  // SIGTERM or SIGINT: the end without a question or a box, the uploads and the log-off a few
  // seconds each; during a close already under way, its remaining steps become so.
  void EndBySignal();
  bool FormCloseQuery(bool ask);
  void FormDestroy();
  // Ends the application now with exit status 1.
  void Terminate();
  void ApplicationEvents1Exception(const std::exception_ptr& error);

  // Views and answers.
  bool LeaveView(bool force);
  void DockView(QWidget* form);
  void HighlightButton(TNButton* button);
  void ResizeCurrentView();
  void OnAnswer(int languageCode, qint32 wordId, int status, bool removed);
  void SaverTimerTimer();

  // View buttons.
  void HomeBtnClick();
  void FilterBtnClick();
  void TestBtnClick();
  void ExamBtnClick();
  void ProdBtnClick();
  void PrintBtnClick();
  void PlayerBtnClick();
  void CDBtnClick();
  void ExitBtnClick();

  // Commands.
  void HelpBtnClick();
  void ContactBtnClick();
  void SendFriendBtnClick();
  void LogoClickLblDblClick();
  void MobileBtnClick();
  void GamesBtnClick();
  void FormClick();
  void HintPnlClick();
  void ShowLanguageHint();
  QString GetGameFolder() const;
  QString GetGameProgramPath() const;

  // Panels, captions, mirroring, display.
  void CreateFrames();
  void ApplyLeftToRightToAll();
  void LoadCaptions();
  void InitForms();
  void UpdateMainCaption();
  void FitWindowToScreen();
  bool ChangeDisplayMode();
  bool CheckOSVersion();
  TLanguagePack* CurrentLanguagePack() const;
  TWordList* CurrentWordList() const;
  void SetHotWordsVisible(bool visible);

  // IMainWindowHooks.
  QString GetAnswersFileName() override;
  QString GetUserDataFileName() override;
  std::vector<qint32> GetFollowStates() override;
  void SetHotWords(const TDataPacket& hotWords) override;
  void ShowConnectionError() override;
  void ShowInvalidServer() override;

  // IFrameHost.
  void FocusCurrentView() override;
  void SelectLanguagePack(int languageCode) override;
  void RefreshView() override;
  bool LeaveViewForSwitch() override;
  bool CanChangeLetter(TLanguagePack& pack, ILetterButton* button) override;
  void LetterChosen(TLanguagePack& pack, ILetterButton* button) override;
  void ShowWords(const QString& title, const TWordItemList& words) override;
  void ShowStringList(const QString& title, const TWordItemList& list) override;
  void StackLeftPanel(QWidget* changedFrame) override;
  IProgressRunner& ProgressRunner() override;
  IMessageService& MessageService() override;
  IFlowClock& FlowClock() override;
  TZabkolexFlow& Flow() override;

  // IViewHost.
  void AddAnswer(qint32 wordId, quint8 kind, const TDataPacket* detail) override;
  void MoveWord(TWord& word, int fromStatus, int toStatus) override;
  bool ConfirmLeaveTest() override;
  bool IsLeftToRight() const override;
  void ClearLetter() override;
  void SelectLetter(int index) override;
  int SelectedLetter() const override;
  void AddWordsOfLetters(TWordItemList& list, int first, int last, bool skipKnown) override;
  void BuildSubjectList(TSubjectItemList& list, int firstLevel, int lastLevel) override;
  void BuildSubjectListOfSubject(qint32 subject, TSubjectItemList& list, int lastLevel, int firstLevel) override;
  void SetComboDropWidth(QComboBox* box, int limit) override;

  // The frames, once made at splash step 0.
  THeaderFrm* HeaderFrame() const { return headerFrm_; }
  TFotterFrm* FooterFrame() const { return fotterFrm_; }
  TLetterFrm* LetterFrame() const { return letterFrm_; }
  TSearchFrm* SearchFrame() const { return searchFrm_; }
  THotWordsFrm* HotWordsFrame() const { return hotWordsFrm_; }
  TFollowFrm* FollowFrame() const { return followFrm_; }

  // State.
  TZabkolexCentral& AppCentral() const { return *central_; }
  TFlowWindows& FlowWindows() const { return *flowWindows_; }
  TLogin* Login() const { return login_.get(); }
  TNManager* Manager() const { return manager_; }
  int ExitMode() const { return exitMode_; }
  int ExitStatus() const { return exitStatus_; }
  bool StartupComplete() const { return startupComplete_; }
  bool FramesCreated() const { return framesCreated_; }
  bool Closing() const { return closing_; }
  bool EndingBySignal() const { return signalEnd_; }
  bool LoggedOn() const { return loggedOn_; }
  int CurrentViewIndex() const { return currentView_; }
  int ColorIndex() const { return colorIndex_; }
  QWidget* CurrentView() const { return currentView_widget_; }
  // The views' forms (the sorter, the practice and exam window, the production view, the
  // options page they share and the word summary), made together on the first use of one.
  TFilterForm* FilterForm();
  TTestForm* TestForm();
  TProdForm* ProdForm();
  TOptionsForm* OptionsForm();
  TWordSummary* WordSummary();
  QScrollArea* MainScrollBox() const { return mainScrollBox_; }
  QWidget* HintPnl() const { return hintPnl_; }
  TNButton* GamesBtn() const { return gamesBtn_; }
  QTimer* SaverTimer() const { return saverTimer_; }
  QTimer* AnswersSaveTimer() const { return answersSaveTimer_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildComponents();
  void AlignPanels();
  // The bars follow their panels' size.
  void DockFrames();
  QString Text(const char* key) const;
  QString UserFile(const char* extension);
  QSize ScreenSize() const;
  void SaveAnswersOnceLoggedOn();
  // The coalesced write of the answers file after a change.
  void ScheduleAnswersSave();
  void ShutDownSteps();
  // The close that waited for a request, once no request is under way.
  void ClosePendingAfterRequest();
  void ApplyColor();
  void MakeViewForms();
  // Docks the view's form unless it shows; false when the current view may not be left.
  bool OpenView(int view, QWidget* form);
  bool OpenProdView();
  // The practice (2) or exam (3) view; a click on the shown one asks before it restarts.
  void EnterTestView(int view, TNButton* button);
  // The word summary hands its list to production.
  void ProduceList(const QStringList& ids, const QString& title);
  // The entries of a subject list: the pairs Collect gives, merged, those of 10 words and more
  // named and sorted, after the "all subjects" entry.
  TSubjectItemList SubjectEntries(const std::function<void(const TWordList&, TSubjectCountList&)>& collect) const;

  // Notices asked for while the first showing runs, before the window is on screen; shown over
  // the window from DelayedStart.
  class THeldNotices;
  std::unique_ptr<THeldNotices> heldNotices_;

  TOptions options_;
  TNManager* manager_ = nullptr;
  std::unique_ptr<TZabkolexCentral> central_;
  std::unique_ptr<TFlowWindows> flowWindows_;
  std::unique_ptr<TLogin> login_;
  std::unique_ptr<TZabkolexFlow> flow_;
  std::unique_ptr<TCanvasTextMeasure> measure_;
  TDelayedCall* delayedCall_ = nullptr;
  TSystemFlowClock clock_;
  // Owned by the server client.
  TMainWindowChannel* channel_ = nullptr;
  std::unique_ptr<TQuietMessages> quietMessages_;

  QPointer<TWelcomForm> welcome_;
  QPointer<THelpForm> help_;
  QPointer<TSplashForm> splash_;
  QPointer<TExtraInfoForm> extraInfo_;

  QTimer* saverTimer_ = nullptr;
  QTimer* answersSaveTimer_ = nullptr;
  QWidget* headerPnl_ = nullptr;
  QWidget* lettersPnl_ = nullptr;
  QWidget* fotterPnl_ = nullptr;
  QWidget* leftPnl_ = nullptr;
  QWidget* hotWordsPnl_ = nullptr;
  QWidget* searchPnl_ = nullptr;
  QWidget* followPnl_ = nullptr;
  TNBitmapComponent* gamesCmp_ = nullptr;
  TNButton* gamesBtn_ = nullptr;
  QWidget* hintPnl_ = nullptr;
  TMyShape* hintShp_ = nullptr;
  TNStatic* tntImage1_ = nullptr;
  TTntLabel* tntLabel1_ = nullptr;
  TNFrameStatic* nFrameStatic1_ = nullptr;
  QScrollArea* mainScrollBox_ = nullptr;
  QWidget* currentView_widget_ = nullptr;
  QPointer<QWidget> dockedForm_;
  THeaderFrm* headerFrm_ = nullptr;
  TFotterFrm* fotterFrm_ = nullptr;
  TLetterFrm* letterFrm_ = nullptr;
  TSearchFrm* searchFrm_ = nullptr;
  THotWordsFrm* hotWordsFrm_ = nullptr;
  TFollowFrm* followFrm_ = nullptr;
  // The options page the views share and the views' forms; docked while their view shows.
  QPointer<TOptionsForm> optionsForm_;
  QPointer<TProdForm> prodForm_;
  QPointer<TFilterForm> filterForm_;
  QPointer<TTestForm> testForm_;
  QPointer<TWordSummary> wordSummary_;

  int currentView_ = 0;
  int exitMode_ = kExitNormal;
  int exitStatus_ = 0;
  bool startupComplete_ = false;
  bool framesCreated_ = false;
  // From the start of a close (its question included) that has not been refused.
  bool closing_ = false;
  // The exit question is open.
  bool asking_ = false;
  // A signal asked for the end: no box, short steps.
  bool signalEnd_ = false;
  // A close asked for during a request, and whether it asks the question.
  bool closePending_ = false;
  bool pendingAsk_ = true;
  bool inFormShow_ = false;
  bool loggedOn_ = false;
  bool leftPanelRight_ = false;
  int colorIndex_ = 2;
  bool displayModeChanged_ = false;
};

}  // namespace zabko
