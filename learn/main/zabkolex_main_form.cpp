// The main window's life cycle, views and answer path.
#include "learn/main/zabkolex_main_form.h"

#include "audio/file_player.h"
#include "audio/res_player.h"
#include "core/exception_log.h"
#include "core/file.h"
#include "core/language_pack.h"
#include "core/str.h"
#include "core/word_list.h"
#include "core/zabkolex_strings.h"
#include "learn/start/extra_info_form.h"
#include "learn/views/filter_form.h"
#include "learn/frames/follow_frame.h"
#include "learn/frames/footer_frame.h"
#include "learn/frames/header_frame.h"
#include "learn/frames/letter_frame.h"
#include "learn/frames/search_frame.h"
#include "learn/start/help_form.h"
#include "learn/frames/hot_words_frame.h"
#include "learn/start/login.h"
#include "learn/views/options_form.h"
#include "learn/production/prod_form.h"
#include "learn/start/splash_form.h"
#include "learn/views/test_form.h"
#include "learn/views/tick_clock.h"
#include "learn/start/welcom_form.h"
#include "learn/views/word_summary.h"
#include "learn/main/zabkolex_main_form_shutdown.h"
#include "net/answer_holder.h"
#include "net/zabkolex_client.h"
#include "net/zabkolex_flow.h"
#include "platform/delayed_call.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"
#include "platform/registry_ini_file.h"
#include "ui/event_guard.h"
#include "ui/flow_windows.h"
#include "ui/n_button.h"
#include "ui/text_measure.h"
#include "ui/zabkolex_utils.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <vector>

namespace zabko {

namespace {

TZabkolexCentral::TPlayerPtr MakeResPlayer(TResManager* manager, int audioOption, int maxCount) {
  return TZabkolexCentral::TPlayerPtr(new TResPlayer(manager, maxCount, SoundPlayTypeFromOption(audioOption)),
                                      [](TResPlayer* player) { delete player; });
}

void ShowQtBox(const QString& text) {
  QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), text, QMessageBox::Ok);
  box.exec();
}

}  // namespace

// Notices are held until the window is on screen: a box over an empty screen, its overlay
// covering nothing, stands alone where the learner does not expect it. Questions need their
// answer at once and are never held.
class TZabkolexMainForm::THeldNotices : public IMessageService {
 public:
  explicit THeldNotices(IMessageService& target) : target_(target) {}
  void ShowMessageWithLinks(const QString& caption, const QString& text, const QStringList& links) override {
    held_.push_back({caption, text, links});
  }
  bool AskYesNo(const QString& caption, const QString& text, int flags) override {
    return target_.AskYesNo(caption, text, flags);
  }
  // Shows the held notices in the order they were asked for.
  void Release() {
    for (const TNotice& notice : held_) target_.ShowMessageWithLinks(notice.caption, notice.text, notice.links);
    held_.clear();
  }

 private:
  struct TNotice {
    QString caption, text;
    QStringList links;
  };
  IMessageService& target_;
  std::vector<TNotice> held_;
};

TZabkolexMainForm::TZabkolexMainForm(TOptions options, QWidget* parent)
    : QWidget(parent), options_(std::move(options)) {
  if (options_.programFolder.isEmpty()) options_.programFolder = QCoreApplication::applicationDirPath();
  if (!options_.centralHooks.makePlayer) options_.centralHooks.makePlayer = MakeResPlayer;
  if (!options_.launcher) {
    options_.launcher = [](const QString& program, const QStringList& arguments, const QString& folder) {
      return TFile::Execute(program, arguments, folder);
    };
  }
  if (!options_.plainBox) options_.plainBox = ShowQtBox;
  BuildComponents();
  FormCreate();
}

TZabkolexMainForm::~TZabkolexMainForm() { FormDestroy(); }

QString TZabkolexMainForm::Text(const char* key) const {
  return central_->Strings().GetString(QString::fromLatin1(key));
}

void TZabkolexMainForm::SetForms(TWelcomForm* welcome, THelpForm* help, TSplashForm* splash,
                                 TExtraInfoForm* extraInfo) {
  welcome_ = welcome;
  help_ = help;
  splash_ = splash;
  extraInfo_ = extraInfo;
  if (login_) login_->SetSplash(splash);
  if (welcome_) welcome_->ClearLetterHandler = [this] { ClearLetter(); };
}

void TZabkolexMainForm::FormCreate() {
  TraceLog("FormCreate start");
  startupComplete_ = false;
  try {
    TraceLog("  Creating central");
    central_ = std::make_unique<TZabkolexCentral>(options_.centralHooks);
    TraceLog("  Seting up central");
    SetCentral(central_.get());
    QCoreApplication::setApplicationName(central_->AppType().GetProductName());
    // The answer holder calls back for each known mark the server answered.
    central_->AnswerHolder().OnMarkResult = [this](qint32 code, qint32 wordId, quint8 status, bool removed) {
      OnAnswer(code, wordId, status, removed);
    };
    // The client's channel tells when a request is under way, so that a close waits for it.
    TZabkolexClient& client = central_->Client();
    auto channel = std::make_unique<TMainWindowChannel>();
    channel->BaseURL = client.GetBaseURL();
    channel->OnRequestEnd = [this] {
      if (closePending_)
        QTimer::singleShot(0, this, [this] { Guarded([this] { ClosePendingAfterRequest(); }); });
    };
    if (client.OwnsChannel) delete client.Channel;
    client.Channel = channel_ = channel.release();
    client.OwnsChannel = true;
    // The windows the flow works through, and the log-on dialog, exist before the flow.
    flowWindows_ = std::make_unique<TFlowWindows>(manager_, central_->Strings(), this);
    // A failed download ends the start-up as a failed start does; once the program ends
    // anyway, it tells nothing more.
    TDownloadDialog& download = flowWindows_->Download();
    download.ShowFailure = [this, show = download.ShowFailure](const QString& text, bool hebrew) {
      if (!closing_ && show) show(text, hebrew);
    };
    download.Terminate = [this] {
      if (!closing_) Terminate();
    };
    quietMessages_ = std::make_unique<TQuietMessages>(flowWindows_->Messages(), [this] { return signalEnd_; });
    login_ = std::make_unique<TLogin>(manager_, central_->Strings(), nullptr, this);
    login_->OnExit = [this] { Close(); };
    TFlowServices services;
    flowWindows_->FillServices(services);
    services.messages = quietMessages_.get();
    services.mainWindow = this;
    services.loginDialog = login_.get();
    services.clock = &clock_;
    TraceLog("  Creating flow");
    flow_ = std::make_unique<TZabkolexFlow>(*central_, services);
    exitMode_ = kExitNormal;
    measure_ = std::make_unique<TCanvasTextMeasure>(font());
    delayedCall_ = new TDelayedCall(this);
  } catch (const Exception& e) {
    options_.plainBox(QStringLiteral("Failed to create main window.\n\r") + e.Message());
    Terminate();
    return;
  }
  SetApplicationExceptionHandler([this](const std::exception_ptr& error) { ApplicationEvents1Exception(error); });
  TraceLog("FormCreate end");
}

void TZabkolexMainForm::FormShow() {
  if (closing_ || !central_) return;
  inFormShow_ = true;
  struct TShowing {
    bool& flag;
    ~TShowing() { flag = false; }
  } showing{inFormShow_};

  TraceLog("FormShow start");
  SetMeasureCanvas(measure_.get());
  if (IsLeftToRight()) {
    flowWindows_->ApplyLeftToRight();
    if (splash_) splash_->ApplyLeftToRight();
  }
  TraceLog("  After change RTL");
  if (!CheckOSVersion()) return;
  TraceLog("  After CheckOSVersion");
  TZabkolexStrings& strings = central_->Strings();
  strings.LoadLanguage(IsLeftToRight() ? 1 : 0);
  TraceLog("  After SetLanguage");
  const QString additional = central_->AppType().GetAdditionalGUITextName();
  if (!additional.isEmpty()) strings.MergeFile(additional);
  TraceLog("  After Additional Language File");
  InstallHintWindow();

  TraceLog("  Splash form");
  if (splash_) {
    splash_->ShowPoweredBy();
    splash_->StepCallback = [this](int step) { SplashStep(step); };
    const int result = splash_->ShowModal();
    splash_->StepCallback = nullptr;
    // A failed or raising step has ended the start-up.
    if (result != mrOk || closing_ || exitMode_ == kExitStartFailed) return;
  } else {
    for (int step = 0; step < 4 && !closing_; ++step) SplashStep(step);
  }
  if (closing_) return;

  TraceLog("  PreLogonConnect");
  flow_->ConnectToServer();
  if (closing_) return;
  if (flow_->MustClose) {
    exitMode_ = kExitStartFailed;
    Close();
    return;
  }
  TraceLog("  After MustClose");
  TraceLog("  Logon");
  flow_->RunLoginDialog();
  if (closing_) return;
  if (flow_->MustClose) {
    exitMode_ = kExitLogOnAbandoned;
    Close();
    return;
  }
  loggedOn_ = true;
  saverTimer_->start();

  TraceLog("  PostLogon");
  try {
    flow_->UpdateDataFiles();
  } catch (...) {
    // A download that failed has ended the program and said so; a data file it left missing
    // is no further news.
    if (!closing_) throw;
    RecordCaughtException(std::current_exception());
    LogLine(("After the end of the program: " + ExceptionMessage(std::current_exception())).toUtf8());
  }
  if (closing_) return;
  if (searchFrm_) searchFrm_->FillPacks();
  if (TLanguagePack* pack = CurrentLanguagePack()) pack->RefreshCounts(-2);

  currentView_ = 0;
  if (welcome_) DockView(welcome_);
  // The follow-up panel's first-start notice waits until the window shows.
  heldNotices_ = std::make_unique<THeldNotices>(flowWindows_->Messages());
  if (followFrm_) followFrm_->Init();
  if (hotWordsFrm_) hotWordsFrm_->Init();

  TRegistryIniFile& settings = central_->Settings();
  const int stored = settings.ReadInteger(QStringLiteral("Main"), QStringLiteral("ColorIndex"), 2);
  // A negative stored index would give a negative remainder: it takes the default.
  colorIndex_ = stored < 0 ? 2 : stored % 8;
  ApplyColor();
  settings.WriteInteger(QStringLiteral("Main"), QStringLiteral("Version"), kFormVersion);

  FitWindowToScreen();
  startupComplete_ = true;
  if (central_->AppType().FullScreen() && !ChangeDisplayMode()) {
    options_.plainBox(QStringLiteral("Failed to change screen resolution."));
    Terminate();
    return;
  }
  if (TLanguagePack* pack = CurrentLanguagePack()) SelectLanguagePack(pack->GetCode());
  StackLeftPanel(nullptr);
  mainScrollBox_->viewport()->setAutoFillBackground(true);

  show();
  delayedCall_->Post([this] { DelayedStart(); });
  TraceLog("FormShow end");
}

void TZabkolexMainForm::SplashStep(int step) {
  switch (step) {
    case 0:
      framesCreated_ = true;
      CreateFrames();
      break;
    case 1:
      if (!flow_->UpdateLanguageFiles()) {
        if (splash_) splash_->StepCallback = nullptr;
        // A failed download has told the learner and ended the program already.
        if (closing_) break;
        flowWindows_->Messages().ShowMessageWithLinks(Text("ErrorDetection"), Text("PreFileError"),
                                                     {Text("HomepageURL")});
        exitMode_ = kExitStartFailed;
        Close();
      }
      break;
    case 2:
      // The letter buttons, and the language packs that take their clicks and load their words.
      letterFrm_->SetupLetters();
      break;
    case 3:
      searchFrm_->Setup(ScreenSize().height());
      ApplyLeftToRightToAll();
      InitForms();
      LoadCaptions();
      break;
    default:
      break;
  }
}

void TZabkolexMainForm::DelayedStart() {
  TraceLog("DelayedCall start");
  if (std::unique_ptr<THeldNotices> held = std::move(heldNotices_)) held->Release();
  if (central_->AppType().FullScreen() || ScreenSize().width() <= 660) showMaximized();
  flow_->ShowPendingMessages();
  ShowLanguageHint();
  TraceLog("DelayedCall end");
}

void TZabkolexMainForm::FormDestroy() {
  if (!central_) return;
  // The views go before the options page and the summary they use.
  delete prodForm_;
  delete testForm_;
  delete filterForm_;
  delete wordSummary_;
  delete optionsForm_;
  SetApplicationExceptionHandler(nullptr);
  SetMeasureCanvas(nullptr);
  central_->Settings().UpdateFile();
  // The windows go before the flow and the central object they show.
  login_.reset();
  flow_.reset();
  flowWindows_.reset();
  SetCentral(nullptr);
  channel_ = nullptr;  // the client's, going with the central object
  central_.reset();
  ShutdownMedia();
}

void TZabkolexMainForm::ApplicationEvents1Exception(const std::exception_ptr& error) {
  const QString whole = ExceptionMessage(error);
  if (framesCreated_ && central_ && central_->Strings().HasString(QStringLiteral("AppError"))) {
    const QString text = TWStr::Format(Text("AppError"), {whole.left(68)});
    flowWindows_->Messages().ShowMessageWithLinks(Text("ErrorDetection"), text, {Text("ContactUsLink")});
    if (!startupComplete_) Terminate();
    return;
  }
  LogLine(whole.toUtf8());
  options_.plainBox(whole);
  Terminate();
}

// Views.

bool TZabkolexMainForm::LeaveView(bool force) {
  FocusCurrentView();
  if ((currentView_ == 2 || currentView_ == 3) && !force && !ConfirmLeaveTest()) {
    HighlightButton(headerFrm_ ? (currentView_ == 2 ? headerFrm_->TestBtn() : headerFrm_->ExamBtn()) : nullptr);
    return true;
  }
  if (dockedForm_) {
    dockedForm_->hide();
    dockedForm_->setParent(nullptr);
    dockedForm_ = nullptr;
  }
  if (currentView_ == 1 && filterForm_) {
    filterForm_->SavePage();
    filterForm_->FlushChanges();
  }
  if ((currentView_ == 2 || currentView_ == 3) && followFrm_) followFrm_->Recompute();
  if (currentView_ == 4 && prodForm_) prodForm_->SaveOptionsIfIntro();
  flow_->UploadAnswersWithProgress();
  return false;
}

void TZabkolexMainForm::DockView(QWidget* form) {
  form->setParent(currentView_widget_);
  form->setGeometry(currentView_widget_->rect());
  form->show();
  form->raise();
  dockedForm_ = form;
  ResizeCurrentView();
  mainScrollBox_->verticalScrollBar()->setValue(0);
}

bool TZabkolexMainForm::ConfirmLeaveTest() {
  if (!testForm_) return true;
  testForm_->PauseCountDown();
  if (!testForm_->IsTestInProgress()) return true;
  const bool leave = flowWindows_->Messages().AskYesNo(
      Text("ConfirmCaption"), Text(currentView_ == 2 ? "MiddleOfTirgul" : "MiddleOfExam"), 3);
  if (!leave && currentView_ == 3) testForm_->ResumeCountDown();
  return leave;
}

void TZabkolexMainForm::HighlightButton(TNButton* button) {
  std::vector<TNButton*> buttons;
  if (headerFrm_) buttons = {headerFrm_->FilterBtn(), headerFrm_->ExamBtn(), headerFrm_->TestBtn(), headerFrm_->HelpBtn()};
  if (fotterFrm_) {
    for (TNButton* b : {fotterFrm_->ProdBtn(), fotterFrm_->PrintBtn(), fotterFrm_->PlayerBtn(), fotterFrm_->CDBtn()})
      buttons.push_back(b);
  }
  for (TNButton* b : buttons) {
    if (b) b->SetDown(false);
  }
  if (button) button->SetDown(true);
}

void TZabkolexMainForm::ResizeCurrentView() {
  const int minimum = (currentView_ == 2 || currentView_ == 4) ? 383 : 453;
  // The viewport's own size follows only once the scroll box has had its resize event; the
  // box's size is already right.
  const QRect inner = mainScrollBox_->contentsRect();
  const bool verticalBar = mainScrollBox_->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
  const int barWidth = verticalBar ? mainScrollBox_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
  currentView_widget_->resize(qMax(0, inner.width() - barWidth), qMax(inner.height(), minimum));
  if (dockedForm_) dockedForm_->setGeometry(currentView_widget_->rect());
}

void TZabkolexMainForm::AddAnswer(qint32 wordId, quint8 kind, const TDataPacket* detail) {
  TLanguagePack* pack = CurrentLanguagePack();
  if (!pack) return;
  central_->AnswerHolder().AddAnswer(pack->GetCode(), wordId, detail, kind);
  ScheduleAnswersSave();
}

void TZabkolexMainForm::MoveWord(TWord& word, int fromStatus, int toStatus) {
  if (TLanguagePack* pack = CurrentLanguagePack()) pack->MoveWord(pack->GetLetterIndex(word), fromStatus, toStatus);
}

void TZabkolexMainForm::OnAnswer(int languageCode, qint32 wordId, int status, bool removed) {
  // A pack or word this program does not know, and a count already at 0, change nothing.
  TLanguagePack* pack = central_->PackByCode(languageCode);
  if (!pack) return;
  const TWord* word = pack->WordList().FindById(wordId);
  if (!word) return;
  const int letter = pack->GetLetterIndex(*word);
  const int count = pack->GetCount(letter, status);
  pack->SetCount(letter, status, removed ? count + 1 : qMax(0, count - 1));
  if (!login_ || !login_->isVisible()) pack->RefreshCounts(-2);
}

void TZabkolexMainForm::SaverTimerTimer() { SaveAnswersOnceLoggedOn(); }

void TZabkolexMainForm::HomeBtnClick() {
  HighlightButton(nullptr);
  if (currentView_ != 0) {
    if (LeaveView(false)) return;
    currentView_ = 0;
    if (welcome_) DockView(welcome_);
  }
  if (welcome_) welcome_->ShowOpenPage(IsLeftToRight());
}

void TZabkolexMainForm::MakeViewForms() {
  if (optionsForm_) return;
  optionsForm_ = new TOptionsForm(nullptr, *this, manager_);
  wordSummary_ = new TWordSummary(nullptr, *this, manager_);
  wordSummary_->OnProduce = [this](const QStringList& ids, const QString& title) { ProduceList(ids, title); };
  filterForm_ = new TFilterForm(nullptr, *this, manager_);
  testForm_ = new TTestForm(nullptr, *this, manager_, *optionsForm_, wordSummary_, SystemTickClock());
  prodForm_ = new TProdForm(nullptr, *this, manager_, optionsForm_);
  prodForm_->OnBackToOptions = [this] { ProdBtnClick(); };
  if (IsLeftToRight()) {
    prodForm_->ApplyLeftToRight();
    wordSummary_->ApplyLeftToRight();
    optionsForm_->ApplyLeftToRight();
    testForm_->ApplyLeftToRight();
    filterForm_->ApplyLeftToRight();
  }
  optionsForm_->LoadCaptions();
  testForm_->LoadCaptions();
  prodForm_->LoadCaptions();
  filterForm_->LoadCaptions();
}

TFilterForm* TZabkolexMainForm::FilterForm() {
  MakeViewForms();
  return filterForm_;
}

TTestForm* TZabkolexMainForm::TestForm() {
  MakeViewForms();
  return testForm_;
}

TProdForm* TZabkolexMainForm::ProdForm() {
  MakeViewForms();
  return prodForm_;
}

TOptionsForm* TZabkolexMainForm::OptionsForm() {
  MakeViewForms();
  return optionsForm_;
}

TWordSummary* TZabkolexMainForm::WordSummary() {
  MakeViewForms();
  return wordSummary_;
}

bool TZabkolexMainForm::OpenView(int view, QWidget* form) {
  if (currentView_ == view) return true;
  if (LeaveView(false)) return false;
  currentView_ = view;
  DockView(form);
  return true;
}

void TZabkolexMainForm::FilterBtnClick() {
  HighlightButton(headerFrm_ ? headerFrm_->FilterBtn() : nullptr);
  if (!OpenView(1, FilterForm())) return;
  ClearLetter();
  filterForm_->ShowOpenPage();
}

void TZabkolexMainForm::EnterTestView(int view, TNButton* button) {
  HighlightButton(button);
  TTestForm* form = TestForm();
  if (currentView_ == view) {
    if (!ConfirmLeaveTest()) return;
  } else {
    if (LeaveView(false)) return;
    currentView_ = view;
    form->IsExam = view == 3;
    DockView(form);
  }
  form->ShowIntro();
}

void TZabkolexMainForm::TestBtnClick() { EnterTestView(2, headerFrm_ ? headerFrm_->TestBtn() : nullptr); }
void TZabkolexMainForm::ExamBtnClick() { EnterTestView(3, headerFrm_ ? headerFrm_->ExamBtn() : nullptr); }

bool TZabkolexMainForm::OpenProdView() { return OpenView(4, ProdForm()); }

void TZabkolexMainForm::ProdBtnClick() {
  HighlightButton(fotterFrm_ ? fotterFrm_->ProdBtn() : nullptr);
  if (OpenProdView()) prodForm_->ShowIntro();
}

void TZabkolexMainForm::PrintBtnClick() {
  HighlightButton(fotterFrm_ ? fotterFrm_->PrintBtn() : nullptr);
  if (OpenProdView()) prodForm_->ShowPrintPanel();
}

void TZabkolexMainForm::PlayerBtnClick() {
  HighlightButton(fotterFrm_ ? fotterFrm_->PlayerBtn() : nullptr);
  if (OpenProdView()) prodForm_->ShowMp3Panel();
}

void TZabkolexMainForm::CDBtnClick() {
  HighlightButton(fotterFrm_ ? fotterFrm_->CDBtn() : nullptr);
  if (OpenProdView()) prodForm_->ShowCdPanel();
}

void TZabkolexMainForm::ProduceList(const QStringList& ids, const QString& title) {
  TOptionsForm* options = OptionsForm();
  options->ProdWords = ids;
  options->ProdTitle = title;
  ProdBtnClick();
  if (currentView_ == 4) prodForm_->ShowSpecialList();
}

void TZabkolexMainForm::ExitBtnClick() {
  FocusCurrentView();
  Close();
}

// The flow's hooks.

QString TZabkolexMainForm::UserFile(const char* extension) {
  TFile::ForceDirectories(central_->ResolveAppDataPath(QStringLiteral("Users")));
  return central_->ResolveAppDataPath(QStringLiteral("Users\\") + QString::fromLatin1(central_->Client().UserKey) +
                                      QString::fromLatin1(extension));
}

QString TZabkolexMainForm::GetAnswersFileName() { return UserFile(".answers"); }
QString TZabkolexMainForm::GetUserDataFileName() { return UserFile(".data"); }

std::vector<qint32> TZabkolexMainForm::GetFollowStates() {
  return std::vector<qint32>(central_->LanguagePacks().size(), followFrm_ ? followFrm_->FollowState() : 0);
}

void TZabkolexMainForm::ShowConnectionError() {
  // Requests fail on purpose while the program ends: no box.
  if (signalEnd_ || (channel_ && channel_->Closed())) return;
  flowWindows_->Messages().ShowMessageWithLinks(Text("ErrorDetection"), Text("ConnectionError"), {Text("HomepageURL")});
}

void TZabkolexMainForm::ShowInvalidServer() { options_.plainBox(QStringLiteral("Server is of invalid type.")); }

// The frames' host.

void TZabkolexMainForm::FocusCurrentView() { currentView_widget_->setFocus(); }

void TZabkolexMainForm::RefreshView() {
  if (currentView_ == 1 && filterForm_) filterForm_->ShowOpenPage();
  if ((currentView_ == 2 || currentView_ == 3) && testForm_) testForm_->ShowIntro();
  if (currentView_ == 4 && prodForm_) prodForm_->Refresh();
  if (followFrm_) followFrm_->Recompute();
}

bool TZabkolexMainForm::LeaveViewForSwitch() {
  bool answer = true;
  if (currentView_ == 1 && filterForm_) {
    filterForm_->SavePage();
    filterForm_->FlushChanges();
  }
  if (currentView_ == 2 || currentView_ == 3) answer = ConfirmLeaveTest();
  if (currentView_ == 4 && prodForm_) prodForm_->SaveOptionsIfIntro();
  flow_->UploadAnswersWithProgress();
  return answer;
}

bool TZabkolexMainForm::CanChangeLetter(TLanguagePack&, ILetterButton*) {
  return (currentView_ == 2 || currentView_ == 3) ? ConfirmLeaveTest() : true;
}

void TZabkolexMainForm::LetterChosen(TLanguagePack& pack, ILetterButton* button) {
  FocusCurrentView();
  if (currentView_ == 1 && filterForm_) {
    filterForm_->SavePage();
    filterForm_->ShowLetter(pack.IndexOfButton(button));
  }
  if ((currentView_ == 2 || currentView_ == 3) && testForm_) testForm_->LetterChosen();
  if (currentView_ == 4 && prodForm_) {
    HighlightButton(fotterFrm_ ? fotterFrm_->ProdBtn() : nullptr);
    prodForm_->LetterChosen();
  }
}

void TZabkolexMainForm::ShowWords(const QString& title, const TWordItemList& words) {
  WordSummary()->ShowWords(title, words);
}

void TZabkolexMainForm::ShowStringList(const QString& title, const TWordItemList& list) {
  WordSummary()->ShowStringList(title, list);
}

IProgressRunner& TZabkolexMainForm::ProgressRunner() { return flowWindows_->Progress(); }
IMessageService& TZabkolexMainForm::MessageService() {
  if (heldNotices_) return *heldNotices_;
  return flowWindows_->Messages();
}
IFlowClock& TZabkolexMainForm::FlowClock() { return clock_; }
TZabkolexFlow& TZabkolexMainForm::Flow() { return *flow_; }

}  // namespace zabko
