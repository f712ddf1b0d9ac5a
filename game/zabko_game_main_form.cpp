#include "game/zabko_game_main_form.h"

#include "audio/file_player.h"
#include "core/cube_management.h"
#include "core/data_packet.h"
#include "core/language_pack.h"
#include "platform/exception.h"
#include "core/file.h"
#include "game/custom_game_form.h"
#include "game/end_game_form.h"
#include "game/floating_menu.h"
#include "game/play/game_utils.h"
#include "game/instructions_form.h"
#include "game/progress_form.h"
#include "game/send_to_form.h"
#include "game/top10_form.h"
#include "ui/text_measure.h"
#include "core/window_services.h"
#include "net/flow_ui.h"
#include "platform/exception_handler.h"
#include "platform/registry_ini_file.h"
#include "ui/alpha_blend_form.h"
#include "ui/download_form.h"
#include "ui/form_loading.h"
#include "ui/gui_text_builder.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/progress_runner_form.h"
#include "ui/res_bitmap_source.h"
#include "ui/tnt_label.h"

#include <QApplication>
#include <QBitmap>
#include <QPainter>
#include <QRegion>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>

namespace zabko {

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kButtonWidth = 140, kButtonHeight = 29;
const char* const kButtonNames[] = {"NewGameBtn", "FixGameBtn", "Top10Btn", "InstrucBtn", "SendToBtn", "ExitBtn"};

}  // namespace

TZabkoGameMainForm::TZabkoGameMainForm(TOptions options) : QWidget(nullptr), options_(std::move(options)) {
  setObjectName(QStringLiteral("TZabkoGameMainForm"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  // A normal top-level window: a tool window gets no task-bar entry.
  setLayoutDirection(Qt::RightToLeft);
  setWindowTitle(QString::fromUtf8("זבקופליי"));
  if (options_.programFolder.isEmpty()) options_.programFolder = QCoreApplication::applicationDirPath();

  strings_ = std::make_unique<TZabkolexStrings>();
  strings_->Load(QStringLiteral("Game.Hebrew.GUI.txt"));
  parameters_ = std::make_unique<TRegistryParameters>(GameRegistryKey(*strings_));
  client_ = options_.makeClient ? options_.makeClient() : NewGameClient();
  dataManager_ = std::make_unique<TAppDataManager>(QStringLiteral("Kestrani Zabkolex"));
  client_->FailureText = strings_->GetString(QStringLiteral("GameWebControl.FailedConnection"));
  learningKey_ = std::make_unique<TRegistryIniFile>(LearningRegistryKey(*strings_));
  client_->UserName = learningKey_->ReadString(QStringLiteral("Login"), QStringLiteral("LastUsername"), {});
  client_->Password = learningKey_->ReadString(QStringLiteral("Login"), QStringLiteral("LastPassword"), {});

  BuildComponents();
  setFixedSize(kWidth, kHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }

  if (GetServerURL().isEmpty()) {
    // No server: the program ends without a window or a request.
    askOnClose_ = false;
    activateEnabled_ = false;
    closing_ = true;
  }
}

TZabkoGameMainForm::~TZabkoGameMainForm() {
  if (measure_) SetMeasureCanvas(nullptr);
  if (client_ && !client_->GetBaseURL().isEmpty()) {
    try {
      client_->LogOff({-1, -1});
    } catch (...) {
      // The log-off at the end never reports.
      RecordCaughtException(std::current_exception());
    }
  }
  // The play screen, the last user of sound, is gone by now: the media layer ends with the
  // window (libmpg123, the media players and the wave outputs).
  ShutdownMedia();
}

void TZabkoGameMainForm::BuildComponents() {
  manager_ = new TNManager(this, QStringLiteral("Manager"));
  const QString graphics = QDir(options_.programFolder).filePath(QStringLiteral("Graphics.dat"));
  if (QFile::exists(graphics)) manager_->SetBitmapSource(CreateResBitmapSource(graphics));

  TFormLoading loading(this);
  backGround_ = new TNStatic(this, QStringLiteral("BackGround"));
  backGround_->setGeometry(0, 0, kWidth, kHeight);
  backGround_->SetManager(manager_);
  backGround_->SetBackgroundName(QStringLiteral("enter_screen.bmp"));

  mainArea_ = new QWidget(backGround_);
  mainArea_->setObjectName(QStringLiteral("MainArea"));
  mainArea_->setGeometry(65, 40, 670, 520);
  mainArea_->hide();

  enterBtns_ = new TNBitmapComponent(this, QStringLiteral("EnterBtnsCmp"));
  enterBtns_->SetManager(manager_);
  enterBtns_->SetFilename(QStringLiteral("EnterBtns.bmp"));
  tryBtnCmp_ = new TNBitmapComponent(this, QStringLiteral("TryBtnCmp"));
  tryBtnCmp_->SetManager(manager_);
  tryBtnCmp_->SetFilename(QStringLiteral("tryBtn.bmp"));
  switchCmp_ = new TNBitmapComponent(this, QStringLiteral("SwitchCmp"));
  switchCmp_->SetManager(manager_);
  switchCmp_->SetFilename(QStringLiteral("SwitchBtn.bmp"));

  // Six buttons of 140 do not fit across the 800 of the window: they stand in two rows of three
  // at the bottom right, the first at the right of the lower row, clear of the opening sign.
  for (int i = 0; i < 6; ++i) {
    auto* button = new TNButton(backGround_, QString::fromLatin1(kButtonNames[i]));
    const int row = i / 3, column = i % 3;
    button->setGeometry(kWidth - 10 - kButtonWidth * (column + 1), kHeight - 10 - (kButtonHeight + 4) * row - kButtonHeight,
                        kButtonWidth, kButtonHeight);
    button->SetManager(manager_);
    button->SetBitmapComponent(enterBtns_);
    button->SetX(kButtonWidth * i);
    button->setCursor(Qt::PointingHandCursor);
  }
  auto* tryNowBtn = new TNButton(backGround_, QStringLiteral("TryNowBtn"));
  tryNowBtn->setGeometry(500, 440, 270, 55);
  tryNowBtn->SetManager(manager_);
  tryNowBtn->SetBitmapComponent(tryBtnCmp_);
  tryNowBtn->setCursor(Qt::PointingHandCursor);
  langBtn_ = new TNButton(backGround_, QStringLiteral("LangBtn"));
  langBtn_->setGeometry(20, 20, 24, 32);
  langBtn_->SetManager(manager_);
  langBtn_->SetBitmapComponent(switchCmp_);
  langBtn_->SetX(24);
  langBtn_->setCursor(Qt::PointingHandCursor);
  tryNowLink_ = new TTntLabel(backGround_, QStringLiteral("TryNowLink"));
  // Under the opening sign, flush with its right edge; the room stays as given.
  tryNowLink_->SetAutoSize(false);
  tryNowLink_->setGeometry(150, 520, 200, 20);
  // It looks like a link: the link colour, underlined, the hand cursor.
  tryNowLink_->setCursor(Qt::PointingHandCursor);
  QFont linkFont = tryNowLink_->font();
  linkFont.setUnderline(true);
  tryNowLink_->setFont(linkFont);
  QPalette linkPalette = tryNowLink_->palette();
  linkPalette.setColor(QPalette::WindowText, WinColor(kLinkColor));
  tryNowLink_->setPalette(linkPalette);
  loading.Finish();
  for (const char* name : kButtonNames) MaskButton(Button(name));
  MaskButton(tryNowBtn);
  MaskButton(langBtn_);

  // The start screen's controls act only while the start screen shows: under a docked page
  // they are hidden, and a click that reaches one all the same is dropped.
  const auto on = [this](const char* name, std::function<void()> handler) {
    connect(Button(name), &TNBase::OnClick, this, [this, handler = std::move(handler)] {
      if (StartScreenShown()) Guarded(handler);
    });
  };
  on("NewGameBtn", [this] { NewGameClick(); });
  on("LangBtn", [this] { LangBtnClick(); });
  on("ExitBtn", [this] { close(); });
  on("FixGameBtn", [this] { CustomGame(); });
  on("Top10Btn", [this] { Top10BtnClick(); });
  on("InstrucBtn", [this] { InstrucBtnClick(); });
  on("SendToBtn", [this] { SendToBtnClick(); });
  on("TryNowBtn", [this] { TryNowClick(); });
  connect(tryNowLink_, &TTntLabel::OnClick, this, [this] {
    if (StartScreenShown()) Guarded([this] { TryNowClick(); });
  });
}

void TZabkoGameMainForm::TryNowClick() { TFile::ShellOpen(strings_->GetString(QStringLiteral("TryNowBtnClick"))); }

bool TZabkoGameMainForm::StartScreenShown() const { return mainArea_->isHidden(); }

QList<QWidget*> TZabkoGameMainForm::StartScreenControls() const {
  QList<QWidget*> controls;
  for (const char* name : kButtonNames) controls << Button(name);
  controls << Button("TryNowBtn") << langBtn_ << tryNowLink_;
  for (const QPointer<TTntLabel>& label : signLabels_) {
    if (label) controls << label;
  }
  return controls;
}

void TZabkoGameMainForm::MaskButton(TNButton* button) {
  const TNImageDrawer* drawer = manager_->Drawer(button->PlainDrawer());
  if (!drawer) return;
  QImage face(button->size(), QImage::Format_RGB32);
  face.fill(Qt::black);
  {
    QPainter canvas(&face);
    manager_->DrawPlain(canvas, 0, button->PlainDrawer(), 0);
  }
  const QRegion shape(QBitmap::fromImage(face.createMaskFromColor(kButtonKey, Qt::MaskInColor)));
  if (shape == QRegion(button->rect())) {
    button->clearMask();
  } else {
    button->setMask(shape);
  }
}

TNButton* TZabkoGameMainForm::Button(const char* name) const {
  return findChild<TNButton*>(QString::fromLatin1(name));
}

bool TZabkoGameMainForm::HasLearningProgramLogin() const {
  return !learningKey_->ReadString(QStringLiteral("Login"), QStringLiteral("Id"), {}).isEmpty() ||
         !learningKey_->ReadString(QStringLiteral("Login"), QStringLiteral("User"), {}).isEmpty();
}

QByteArray TZabkoGameMainForm::GetServerURL() const {
  if (options_.arguments.size() > 1) return options_.arguments[1].toUtf8();
  if (HasLearningProgramLogin()) return CreateCubeManagement(*learningKey_)->FirstMemberURL();
  return {};
}

bool TZabkoGameMainForm::LogOn() {
  client_->SetBaseURL(GetServerURL());
  return client_->LogOn(-1, true);
}

void TZabkoGameMainForm::StartSession(IProgress& progress) {
  progress.Step();
  client_->SetBaseURL(GetServerURL());
  if (!client_->UserName.isEmpty() && LogOn()) client_->Authenticated = true;
  uid_ = parameters_->ReadString(QString::fromLatin1(kMainSection), QString::fromLatin1(kUIdValue), {});
  session_ = -1;
  QString message;
  bool ok = false;
  try {
    ok = client_->HandShake(2, uid_, session_, message);
  } catch (const Exception& e) {
    message = e.Message();
  }
  parameters_->WriteString(QString::fromLatin1(kMainSection), QString::fromLatin1(kUIdValue), uid_);
  if (ok) {
    progress.SetCaption(strings_->GetString(QStringLiteral("UpdatingFiles")));
    progress.Step();
    UpdateFiles();
    return;
  }
  ShowMessage(message);
  Terminate();
}

void TZabkoGameMainForm::UpdateFiles() {
  TDataPacket files;
  client_->GetDownloadFiles(files);
  const QString folder = dataManager_->GetPath(QStringLiteral("Game Music"));
  QDir().mkpath(folder);
  IFileListDownload* download = options_.download;
  if (!download) {
    if (!downloadDialog_) downloadDialog_ = std::make_unique<TDownloadDialog>(this);
    download = downloadDialog_.get();
  }
  download->DownloadFilesWithProgress(folder + QLatin1Char('/'), QStringLiteral("Index.dat"), files,
                                      strings_->GetString(QStringLiteral("UpdatingFilesLine1")),
                                      strings_->GetString(QStringLiteral("UpdatingFilesLine2")),
                                      strings_->GetString(QStringLiteral("UpdatingTimeApprox")), true);
}

void TZabkoGameMainForm::FormShow() {
  if (!measure_) measure_ = std::make_unique<TCanvasTextMeasure>(font());
  SetMeasureCanvas(measure_.get());
  ApplyTexts();
  DrawOpeningSign();
}

void TZabkoGameMainForm::ApplyTexts() {
  setWindowTitle(strings_->GetString(QStringLiteral("AppName")));
  QCoreApplication::setApplicationName(strings_->GetString(QStringLiteral("AppTitle")));
  if (sendToForm_) sendToForm_->LoadTexts();
  if (instructionsForm_) instructionsForm_->LoadTexts();
  if (endGameForm_) endGameForm_->LoadTexts();
}

void TZabkoGameMainForm::CreateDialogs() {
  endGameForm_ = std::make_unique<TEndGameForm>(*this);
  instructionsForm_ = std::make_unique<TInstructionsForm>(*this);
  top10Form_ = std::make_unique<TTop10Form>(*this);
  customGameForm_ = std::make_unique<TCustomGameForm>(*this);
  sendToForm_ = std::make_unique<TSendToForm>(*this);
  floatingMenu_ = std::make_unique<TFloatingMenu>(*this);
}

IProgressRunner& TZabkoGameMainForm::Progress() const {
  return options_.progress ? *options_.progress : *GetProgressForm();
}

bool TZabkoGameMainForm::Confirm(const QString& text) {
  return options_.confirm ? options_.confirm(text)
                          : PlainBox(this, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TZabkoGameMainForm::Top10BtnClick() {
  if (top10Form_) ShowModalDimmed(*top10Form_, kDialogDimColor, kDialogDimAlpha);
}

void TZabkoGameMainForm::InstrucBtnClick() {
  if (instructionsForm_) ShowModalDimmed(*instructionsForm_, kDialogDimColor, kDialogDimAlpha);
}

void TZabkoGameMainForm::SendToBtnClick() {
  if (sendToForm_) ShowModalDimmed(*sendToForm_, kDialogDimColor, kDialogDimAlpha);
}

void TZabkoGameMainForm::DrawOpeningSign() {
  if (signDrawn_) return;
  signDrawn_ = true;
  TGUITextBuilder builder;
  builder.RightToLeft = true;
  builder.Anchors = TAnchorKind::Top | TAnchorKind::Right;
  builder.Parse(strings_->GetString(QStringLiteral("OpenSignText")));
  builder.LayoutInRect(backGround_, TNRect{120, 380, width() - 450, 550});
  for (TTntLabel* label : builder.CreatedLabels()) {
    signLabels_ << label;
    // A page docked before the first showing keeps the sign hidden too.
    label->setVisible(StartScreenShown());
  }
  tryNowLink_->setText(strings_->GetString(QStringLiteral("OpenSignLinkText")));
}

void TZabkoGameMainForm::FormActivate() {
  if (activated_ || !activateEnabled_) return;
  activated_ = true;
  const bool finished =
      Progress().RunJob(4, strings_->GetString(QStringLiteral("ConnectingToServer")),
                     [this](IProgress& progress) { StartSession(progress); });
  if (finished && !closing_) ShowPage(nullptr);
}

void TZabkoGameMainForm::ShowPage(QWidget* page) {
  if (page) {
    page->setParent(mainArea_);
    page->setGeometry(0, 0, mainArea_->width(), mainArea_->height());
    page->show();
    for (QWidget* other : mainArea_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (other == page) continue;
      other->hide();
      other->setParent(nullptr);
    }
  }
  mainArea_->setVisible(page != nullptr);
  // A docked page stands alone on the start screen's background: the start screen's controls
  // (wider than the page and below it) wait for the start screen, so that none can be seen or
  // clicked beside the page.
  if (page) mainArea_->raise();
  for (QWidget* control : StartScreenControls()) control->setVisible(page == nullptr);
  if (OnShowPage) OnShowPage(page);
}

bool TZabkoGameMainForm::HebrewChosen() const { return langBtn_->X() != 0; }

void TZabkoGameMainForm::NewGameClick() {
  if (HebrewChosen()) {
    StartGame(0, 21, true, false);
  } else {
    StartGame(0, 25, true, true);
  }
}

void TZabkoGameMainForm::LangBtnClick() {
  langBtn_->SetX(24 - langBtn_->X());
  MaskButton(langBtn_);
}

void TZabkoGameMainForm::StartGame(int firstLetter, int lastLetter, bool update, bool english) {
  firstLetter_ = firstLetter;
  lastLetter_ = lastLetter;
  update_ = update;
  english_ = english;
  if (OnStartGame) OnStartGame(firstLetter, lastLetter, update, english);
}

void TZabkoGameMainForm::PlayAgain() { StartGame(firstLetter_, lastLetter_, update_, english_); }

bool TZabkoGameMainForm::CustomGame() {
  if (!customGameForm_) return false;
  if (ShowModalDimmed(*customGameForm_, kDialogDimColor, kDialogDimAlpha) != mrOk) return false;
  StartGame(customGameForm_->FirstLetter(), customGameForm_->LastLetter(), customGameForm_->UpdateWanted(),
            customGameForm_->EnglishChosen());
  return true;
}

const TLanguageClass& TZabkoGameMainForm::LanguageClass() const {
  if (customGameForm_ && customGameForm_->EnglishChosen()) return TEnglishLanguage::LanguageClass();
  return THebrewLanguage::LanguageClass();
}

void TZabkoGameMainForm::ShowResult(int points, int correct, int missed, const TIntegerList& missedWords) {
  if (!endGameForm_) {
    ShowPage(nullptr);
    return;
  }
  endGameForm_->SetPoints(points);
  endGameForm_->SetCorrect(correct);
  endGameForm_->SetMissed(missed);
  endGameForm_->MissedWords().Assign(missedWords);
  ShowPage(endGameForm_.get());
}

bool TZabkoGameMainForm::ShowMenu() {
  if (!floatingMenu_) return true;
  ShowModalGreyDimmed(*floatingMenu_, 30);
  return floatingMenu_->Continue();
}

void TZabkoGameMainForm::QuitNow() {
  askOnClose_ = false;
  close();
}

void TZabkoGameMainForm::FinalHandShake() {
  if (session_ == -1) return;
  try {
    QString message;
    client_->HandShake(2, uid_, session_, message);
  } catch (...) {
    // The last handshake never reports.
    RecordCaughtException(std::current_exception());
  }
  session_ = -1;
}

bool TZabkoGameMainForm::FormCloseQuery() {
  bool yes = true;
  if (askOnClose_) {
    // No time runs out behind the question: the play screen holds its loop until the answer.
    if (OnCloseQuestion) OnCloseQuestion(true);
    std::unique_ptr<TAlphaBlendForm> cover(CreateDimmer(0x808080, 50, true, this));
    yes = Confirm(strings_->GetString(QStringLiteral("WantToQuit")));
    cover.reset();
    if (!yes && OnCloseQuestion) OnCloseQuestion(false);
  }
  if (yes) {
    // A game in progress hands in its answers before the session ends.
    if (OnClosing) OnClosing();
    FinalHandShake();
  }
  return yes;
}

void TZabkoGameMainForm::closeEvent(QCloseEvent* event) {
  bool close = true;
  Guarded([&] { close = FormCloseQuery(); });
  if (!close) {
    event->ignore();
    return;
  }
  event->accept();
  Terminate();
}

void TZabkoGameMainForm::keyPressEvent(QKeyEvent* event) {
  // Keys that reach the window while a page shows are that page's (the play screen's keys).
  // A key the page leaves comes back up to this window: it goes no further then.
  if (!mainArea_->isHidden() && !forwardingKey_) {
    const QList<QWidget*> pages = mainArea_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    QWidget* page = pages.isEmpty() ? nullptr : pages.first();
    if (page && !page->isHidden()) {
      forwardingKey_ = true;
      QCoreApplication::sendEvent(page, event);
      forwardingKey_ = false;
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

void TZabkoGameMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Guarded([this] { FormShow(); });
  // Where nothing activates (offscreen, a bare X server) the connect job runs at the first showing.
  if (!activated_ && activateEnabled_) {
    QMetaObject::invokeMethod(this, [this] { Guarded([this] { FormActivate(); }); }, Qt::QueuedConnection);
  }
}

bool TZabkoGameMainForm::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !activated_ && activateEnabled_) {
    QMetaObject::invokeMethod(this, [this] { Guarded([this] { FormActivate(); }); }, Qt::QueuedConnection);
  }
  return QWidget::event(event);
}

void TZabkoGameMainForm::ShowMessage(const QString& text) {
  if (options_.showMessage) {
    options_.showMessage(text);
  } else {
    PlainBox(this, text, QMessageBox::Ok);
  }
}

void TZabkoGameMainForm::Terminate() {
  closing_ = true;
  activateEnabled_ = false;
  if (options_.terminate) {
    options_.terminate();
  } else {
    QCoreApplication::quit();
  }
}

}  // namespace zabko
