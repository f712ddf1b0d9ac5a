// The main window's panels, commands, captions, mirroring and display.
#include "learn/main/zabkolex_main_form.h"

#include "core/exception_log.h"
#include "core/file.h"
#include "core/language_pack.h"
#include "core/word_list.h"
#include "core/zabkolex_strings.h"
#include "learn/start/extra_info_form.h"
#include "learn/frames/follow_frame.h"
#include "learn/frames/footer_frame.h"
#include "learn/frames/header_frame.h"
#include "learn/frames/hot_words_frame.h"
#include "learn/frames/letter_frame.h"
#include "learn/frames/search_frame.h"
#include "learn/start/login.h"
#include "learn/views/question_rules.h"
#include "learn/start/splash_form.h"
#include "learn/views/test_form.h"
#include "learn/start/welcom_form.h"
#include "net/zabkolex_client.h"
#include "platform/exception_handler.h"
#include "platform/registry_ini_file.h"
#include "platform/text_compare.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/event_guard.h"
#include "ui/flow_windows.h"
#include "ui/form_loading.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QStyle>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>

#include <algorithm>

namespace zabko {

namespace {

constexpr int kHeaderHeight = 57;
constexpr int kLettersHeight = 53;
constexpr int kFooterHeight = 57;
constexpr int kLeftWidth = 200;
constexpr int kPanelGap = 5;
// The games button stands this far above the side column's lower edge.
constexpr int kGamesBottomGap = 8;
constexpr int kSubjectMinimum = 10;

QWidget* MakePanel(QWidget* parent, const char* name) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(QString::fromLatin1(name));
  return panel;
}

// The window's frame is known only once the window manager has framed the shown window: until
// then (a few seconds at most) this fits the window again as soon as the frame is there.
class TFrameWatch : public QObject {
 public:
  static constexpr const char* kName = "FrameWatch";

  TFrameWatch(QWidget* window, std::function<void()> refit)
      : QObject(window), window_(window), refit_(std::move(refit)) {
    setObjectName(QLatin1String(kName));
    connect(&timer_, &QTimer::timeout, this, [this] { Check(); });
    timer_.start(kPollInterval);
  }

 private:
  static constexpr int kPollInterval = 20;
  static constexpr int kPatience = 5000;

  void Check() {
    waited_ += kPollInterval;
    const bool framed = window_->isVisible() && window_->frameGeometry() != window_->geometry();
    if (!framed && waited_ < kPatience) return;
    timer_.stop();
    if (framed) Guarded(refit_);
    deleteLater();
  }

  QWidget* window_;
  std::function<void()> refit_;
  QTimer timer_;
  int waited_ = 0;
};

}  // namespace

void TZabkolexMainForm::BuildComponents() {
  setObjectName(QStringLiteral("ZabkolexMainForm"));
  resize(800, 670);
  setMinimumSize(800, 600);
  setLayoutDirection(Qt::RightToLeft);
  SetBackgroundColor(this, clWhite);

  manager_ = new TNManager(this, QStringLiteral("NManager"));
  manager_->UpdateInterval = 1000;
  manager_->UpdatedEnabled = false;
  manager_->SetFilename(options_.programFolder + QStringLiteral("/Data.res"));

  saverTimer_ = new QTimer(this);
  saverTimer_->setObjectName(QStringLiteral("SaverTimer"));
  saverTimer_->setInterval(kSaverInterval);
  connect(saverTimer_, &QTimer::timeout, this, [this] { Guarded([this] { SaverTimerTimer(); }); });
  answersSaveTimer_ = new QTimer(this);
  answersSaveTimer_->setObjectName(QStringLiteral("AnswersSaveTimer"));
  answersSaveTimer_->setSingleShot(true);
  answersSaveTimer_->setInterval(kAnswersSaveDelay);
  connect(answersSaveTimer_, &QTimer::timeout, this, [this] { Guarded([this] { SaveAnswersOnceLoggedOn(); }); });

  TFormLoading loading(this);
  headerPnl_ = MakePanel(this, "HeaderPnl");
  lettersPnl_ = MakePanel(this, "LettersPnl");
  fotterPnl_ = MakePanel(this, "FotterPnl");
  leftPnl_ = MakePanel(this, "LeftPnl");
  leftPnl_->resize(kLeftWidth, 400);
  hotWordsPnl_ = MakePanel(leftPnl_, "HotWordsPnl");
  hotWordsPnl_->setGeometry(7, 5, 186, 0);
  searchPnl_ = MakePanel(leftPnl_, "SearchPnl");
  searchPnl_->setGeometry(7, 10, 186, 0);
  followPnl_ = MakePanel(leftPnl_, "FollowPnl");
  followPnl_->setGeometry(7, 15, 186, 0);

  gamesCmp_ = new TNBitmapComponent(this, QStringLiteral("GamesCmp"));
  gamesCmp_->SetManager(manager_);
  gamesCmp_->SetFilename(QStringLiteral("Main\\GamesBtn2.bmp"));
  gamesBtn_ = new TNButton(leftPnl_, QStringLiteral("GamesBtn"));
  gamesBtn_->setGeometry(8, 400 - 55 - kGamesBottomGap, 184, 55);
  gamesBtn_->SetManager(manager_);
  gamesBtn_->SetBitmapComponent(gamesCmp_);
  // Three slices, so that the caption is drawn beside the picture in the left cap.
  gamesBtn_->SetSize(61);
  gamesBtn_->SetDeltaX(24);
  gamesBtn_->setFont(WinFont(QStringLiteral("Arial"), 0, -17, TFontStyle::Bold));
  gamesBtn_->setCursor(Qt::PointingHandCursor);
  SetAnchors(gamesBtn_, TAnchorKind::Left | TAnchorKind::Bottom);

  hintPnl_ = MakePanel(lettersPnl_, "HintPnl");
  hintPnl_->setGeometry(60, 8, 337, 36);
  hintShp_ = new TMyShape(hintPnl_, QStringLiteral("HintShp"));
  hintShp_->setGeometry(0, 0, 337, 36);
  hintShp_->SetShape(TShapeType::RoundRect);
  hintShp_->SetRadiusX(12);
  hintShp_->SetRadiusY(12);
  hintShp_->SetBrushColor(0xE1FFFF);
  hintShp_->SetPenColor(0x6A240A);
  tntImage1_ = new TNStatic(hintPnl_, QStringLiteral("TntImage1"));
  tntImage1_->setGeometry(6, 6, 24, 24);
  tntImage1_->SetManager(manager_);
  tntImage1_->SetColor(clNone);
  tntImage1_->SetBackgroundName(QStringLiteral("Main\\HintBubble.bmp"));
  tntLabel1_ = new TTntLabel(hintPnl_, QStringLiteral("TntLabel1"));
  tntLabel1_->SetAutoSize(false);
  tntLabel1_->setGeometry(36, 9, 295, 18);
  tntLabel1_->setFont(WinFont(QStringLiteral("Arial"), 0, -13, TFontStyle::Bold));
  hintPnl_->hide();
  for (QWidget* part : QList<QWidget*>{hintShp_, tntImage1_, tntLabel1_})
    part->setAttribute(Qt::WA_TransparentForMouseEvents);
  hintPnl_->installEventFilter(this);

  nFrameStatic1_ = new TNFrameStatic(this, QStringLiteral("NFrameStatic1"));
  nFrameStatic1_->SetManager(manager_);
  nFrameStatic1_->SetBackgroundName(QStringLiteral("main\\BlueBkg.bmp"));
  nFrameStatic1_->SetSize(8);
  mainScrollBox_ = new QScrollArea(nFrameStatic1_);
  mainScrollBox_->setObjectName(QStringLiteral("MainScrollBox"));
  mainScrollBox_->setFrameShape(QFrame::NoFrame);
  mainScrollBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mainScrollBox_->setWidgetResizable(false);
  currentView_widget_ = new QWidget;
  currentView_widget_->setObjectName(QStringLiteral("CurrentView"));
  currentView_widget_->setFocusPolicy(Qt::StrongFocus);
  mainScrollBox_->setWidget(currentView_widget_);
  loading.Finish();

  connect(gamesBtn_, &TNBase::OnClick, this, &TZabkolexMainForm::GamesBtnClick);
  AlignPanels();
}

void TZabkolexMainForm::AlignPanels() {
  // The panels' alignment: header and letters bars on top, the footer at the bottom, the side
  // column at the left (at the right once the window reads left to right), the frame between.
  const int w = width(), h = height();
  headerPnl_->setGeometry(0, 0, w, kHeaderHeight);
  lettersPnl_->setGeometry(0, kHeaderHeight, w, kLettersHeight);
  fotterPnl_->setGeometry(0, h - kFooterHeight, w, kFooterHeight);
  const int top = kHeaderHeight + kLettersHeight;
  const int middle = qMax(0, h - top - kFooterHeight);
  leftPnl_->setGeometry(leftPanelRight_ ? w - kLeftWidth : 0, top, kLeftWidth, middle);
  nFrameStatic1_->setGeometry(leftPanelRight_ ? 0 : kLeftWidth, top, qMax(0, w - kLeftWidth), middle);
  mainScrollBox_->setGeometry(8, 8, qMax(0, nFrameStatic1_->width() - 16), qMax(0, middle - 16));
  if (followPnl_) StackLeftPanel(nullptr);
  DockFrames();
  ResizeCurrentView();
}

void TZabkolexMainForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Guarded([this] { AlignPanels(); });
}

void TZabkolexMainForm::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    Guarded([this] { FormClick(); });
}

void TZabkolexMainForm::keyReleaseEvent(QKeyEvent* event) {
  // The keys of a practice or exam go to the test window while the view has the focus.
  const QWidget* focus = QApplication::focusWidget();
  const bool viewFocused = focus && (focus == currentView_widget_ || currentView_widget_->isAncestorOf(focus));
  if ((currentView_ == 2 || currentView_ == 3) && testForm_ && viewFocused && !event->isAutoRepeat()) {
    Guarded([&] { testForm_->KeyPressed(VirtualKeyOfQtKey(event->key())); });
    return;
  }
  QWidget::keyReleaseEvent(event);
}

void TZabkolexMainForm::changeEvent(QEvent* event) {
  // Activation and deactivation would restore a changed display mode; the mode never changes
  // here.
  QWidget::changeEvent(event);
}

void TZabkolexMainForm::ApplyColor() {
  SetBackgroundColor(this, kColorTable[static_cast<size_t>(colorIndex_)]);
}

// Commands.

void TZabkolexMainForm::HelpBtnClick() {
  FocusCurrentView();
  TFile::ShellOpen(Text("UserManualLink"));
}

void TZabkolexMainForm::ContactBtnClick() { TFile::ShellOpen(Text("ContactUsLink")); }
void TZabkolexMainForm::SendFriendBtnClick() { TFile::ShellOpen(Text("SendToFriend")); }
void TZabkolexMainForm::LogoClickLblDblClick() { TFile::ShellOpen(Text("HomepageURL")); }

void TZabkolexMainForm::MobileBtnClick() {
  flowWindows_->Messages().ShowMessageWithLinks(Text("MobileCaption"), Text("MobileText"), {});
}

QString TZabkolexMainForm::GetGameFolder() const {
  QString folder = options_.programFolder;
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder + QStringLiteral("Game");
}

QString TZabkolexMainForm::GetGameProgramPath() const {
  return GetGameFolder() + u'/' + central_->AppType().GetGameProgramName();
}

void TZabkolexMainForm::GamesBtnClick() {
  FocusCurrentView();
  const TLanguagePack* pack = CurrentLanguagePack();
  const QStringList arguments{QString::fromLatin1(central_->Client().GetBaseURL()),
                              QString::number(pack ? pack->GetCode() : 0)};
  // The game is started directly, never through a shell; a failure is only logged.
  if (!options_.launcher(GetGameProgramPath(), arguments, GetGameFolder()))
    LogLine("The game program could not be started: " + GetGameProgramPath().toUtf8());
}

void TZabkolexMainForm::FormClick() {
  colorIndex_ = (colorIndex_ + 1) % 8;
  central_->Settings().WriteInteger(QStringLiteral("Main"), QStringLiteral("ColorIndex"), colorIndex_);
  ApplyColor();
}

void TZabkolexMainForm::HintPnlClick() { hintPnl_->hide(); }

void TZabkolexMainForm::ShowLanguageHint() {
  if (central_->FollowLanguageMode() != 0) return;
  TRegistryIniFile& settings = central_->Settings();
  const int shown = settings.ReadInteger(QStringLiteral("Main"), QStringLiteral("EngHebHint"), 0);
  if (shown > 2) return;
  settings.WriteInteger(QStringLiteral("Main"), QStringLiteral("EngHebHint"), shown + 1);
  hintShp_->SetBrushClear(false);
  // The bubble stands beside the language switch it points at.
  if (const QWidget* target = letterFrm_ ? FindComponent<QWidget>(letterFrm_, QStringLiteral("SwitchBtn")) : nullptr) {
    const QPoint at = target->mapTo(lettersPnl_, QPoint(0, 0));
    const int left = at.x() > lettersPnl_->width() / 2 ? at.x() - hintPnl_->width() - 4 : at.x() + target->width() + 4;
    hintPnl_->move(left, hintPnl_->y());
  }
  hintPnl_->raise();
  hintPnl_->show();
  flowWindows_->Messages().ShowMessageWithLinks(QString(), Text("SwitchLangNotice"), {});
  hintPnl_->hide();
}

// Frames, captions, mirroring.

void TZabkolexMainForm::CreateFrames() {
  headerFrm_ = new THeaderFrm(headerPnl_, manager_);
  connect(headerFrm_->FilterBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::FilterBtnClick);
  connect(headerFrm_->ExamBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::ExamBtnClick);
  connect(headerFrm_->TestBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::TestBtnClick);
  connect(headerFrm_->HelpBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::HelpBtnClick);
  connect(headerFrm_->ExitBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::ExitBtnClick);
  connect(headerFrm_->HomeBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::HomeBtnClick);
  headerFrm_->ApplyAppType();
  headerFrm_->SetLogo();

  fotterFrm_ = new TFotterFrm(fotterPnl_, manager_);
  connect(fotterFrm_->ProdBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::ProdBtnClick);
  connect(fotterFrm_->MobileBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::MobileBtnClick);
  connect(fotterFrm_->PrintBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::PrintBtnClick);
  connect(fotterFrm_->PlayerBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::PlayerBtnClick);
  connect(fotterFrm_->CDBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::CDBtnClick);
  connect(fotterFrm_->SendFriendBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::SendFriendBtnClick);
  connect(fotterFrm_->ContactBtn(), &TNBase::OnClick, this, &TZabkolexMainForm::ContactBtnClick);
  fotterFrm_->SetLogo();

  letterFrm_ = new TLetterFrm(lettersPnl_, manager_, this);
  letterFrm_->SetupPanels();
  letterFrm_->ShowInfoButton();

  searchFrm_ = new TSearchFrm(searchPnl_, manager_, this);
  searchPnl_->resize(searchPnl_->width(), searchFrm_->height());
  searchFrm_->SetSizeChanged([this](QWidget* frame) { StackLeftPanel(frame); });

  hotWordsFrm_ = new THotWordsFrm(hotWordsPnl_, manager_, this);
  hotWordsPnl_->resize(hotWordsPnl_->width(), hotWordsFrm_->height());
  hotWordsFrm_->SetSizeChanged([this](QWidget* frame) { StackLeftPanel(frame); });

  followFrm_ = new TFollowFrm(followPnl_, manager_, this);
  followPnl_->resize(followPnl_->width(), followFrm_->height());
  followFrm_->SetSizeChanged([this](QWidget* frame) { StackLeftPanel(frame); });
  followFrm_->OnShowDates = [this](bool) { StackLeftPanel(followFrm_); };

  for (QWidget* frame : QList<QWidget*>{headerFrm_, fotterFrm_, letterFrm_, searchFrm_, hotWordsFrm_, followFrm_}) {
    frame->setGeometry(frame->parentWidget()->rect());
    frame->show();
  }
  hintPnl_->raise();

  followPnl_->setVisible(central_->AppType().ShowFollowFaces());
  if (!central_->AppType().ShowHotWords()) SetHotWordsVisible(false);
  fotterFrm_->ApplyAppType();
  StackLeftPanel(nullptr);
}

void TZabkolexMainForm::DockFrames() {
  for (QWidget* frame : QList<QWidget*>{headerFrm_, fotterFrm_, letterFrm_}) {
    if (frame) frame->setGeometry(frame->parentWidget()->rect());
  }
}

void TZabkolexMainForm::SetHotWordsVisible(bool visible) {
  if (!visible) hotWordsPnl_->resize(hotWordsPnl_->width(), 0);
  StackLeftPanel(nullptr);
}

void TZabkolexMainForm::StackLeftPanel(QWidget*) {
  searchPnl_->move(searchPnl_->x(), hotWordsPnl_->geometry().bottom() + 1 + kPanelGap);
  if (searchFrm_ && searchPnl_->height() != searchFrm_->CollapsedHeight()) {
    // Expanded, the search panel leaves the follow-up panel its room above the games button: in
    // a low window its translation box gives up the lines the column lacks.
    int height = searchFrm_->ExpandedHeight();
    if (gamesBtn_ && followPnl_ && !followPnl_->isHidden()) {
      const int gamesTop = leftPnl_->height() - kGamesBottomGap - gamesBtn_->height();
      height = qMin(height, gamesTop - kPanelGap - followPnl_->height() - kPanelGap - searchPnl_->y());
    }
    searchFrm_->FitToHeight(height);
    searchPnl_->resize(searchPnl_->width(), searchFrm_->height());
  }
  followPnl_->move(followPnl_->x(), searchPnl_->geometry().bottom() + 1 + kPanelGap);
  // In a window too low for all three panels the follow-up panel reaches over the games button:
  // the button stays on top, but not over the date editors, whose button closes them.
  if (followFrm_ && followFrm_->DatesShown()) {
    followPnl_->raise();
  } else if (gamesBtn_) {
    gamesBtn_->raise();
  }
}

void TZabkolexMainForm::SetHotWords(const TDataPacket& hotWords) {
  if (hotWords.PacketCount() > 0) {
    if (hotWordsFrm_) hotWordsFrm_->SetPacket(hotWords);
    return;
  }
  SetHotWordsVisible(false);
}

void TZabkolexMainForm::ApplyLeftToRightToAll() {
  if (!IsLeftToRight()) return;
  if (headerFrm_) headerFrm_->ApplyLeftToRight();
  if (letterFrm_) letterFrm_->ApplyLeftToRight();
  if (searchFrm_) searchFrm_->ApplyLeftToRight();
  if (hotWordsFrm_) hotWordsFrm_->ApplyLeftToRight();
  if (fotterFrm_) fotterFrm_->ApplyLeftToRight();
  if (followFrm_) followFrm_->ApplyLeftToRight();
  if (welcome_) welcome_->ApplyLeftToRight();
  if (login_) login_->ApplyLeftToRight();
  if (extraInfo_) extraInfo_->ApplyLeftToRight();
  leftPanelRight_ = true;
  setLayoutDirection(Qt::LeftToRight);
  AlignPanels();
}

void TZabkolexMainForm::LoadCaptions() {
  UpdateMainCaption();
  gamesBtn_->setToolTip(Text("GameButtonHint"));
  gamesBtn_->SetCaption(Text("GameButtonText"));
  central_->AppType().StyleMenuButton(gamesBtn_);
  if (headerFrm_) headerFrm_->LoadCaptions();
  if (letterFrm_) letterFrm_->LoadCaptions();
  if (searchFrm_) searchFrm_->LoadCaptions();
  if (hotWordsFrm_) hotWordsFrm_->LoadCaptions();
  if (fotterFrm_) fotterFrm_->LoadCaptions();
  if (followFrm_) followFrm_->LoadCaptions();
  if (login_) login_->LoadCaptions();
}

void TZabkolexMainForm::InitForms() {
  if (welcome_) welcome_->ShowOpenPage(IsLeftToRight());
}

void TZabkolexMainForm::UpdateMainCaption() { setWindowTitle(Text("MainCaption")); }

QSize TZabkolexMainForm::ScreenSize() const {
  if (options_.screenSize) return options_.screenSize();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(1024, 768);
}

void TZabkolexMainForm::FitWindowToScreen() {
  // The whole window, frame included, goes into the screen's available area (less the desktop's
  // panels); the window manager's frame comes on top of the client size set here.
  QRect area(QPoint(0, 0), ScreenSize());
  if (!options_.screenSize) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
  }
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  const QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                         frame.bottom() - client.bottom());
  const QSize room = area.size().shrunkBy(margins);

  if (room.height() > 660) {
    setMinimumHeight(660);
    mainScrollBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  // At least 800 x 640 where the room allows it, the application type's maximum at most.
  const TAppTypeSpecific& appType = central_->AppType();
  const int width = std::min({std::max(800, room.width()), appType.MaxMainWidth(), std::max(room.width(), 1)});
  const int height = std::min({std::max(640, room.height()), appType.MaxMainHeight(), std::max(room.height(), 1)});
  resize(width, height);
  if (letterFrm_) setMinimumWidth(std::max(minimumWidth(), letterFrm_->MinimumWidth() + 190));

  // Placed inside the area, centred where it is smaller.
  const QSize outer = size().grownBy(margins);
  move(area.left() + std::max(0, (area.width() - outer.width()) / 2),
       area.top() + std::max(0, (area.height() - outer.height()) / 2));
  if (margins.isNull() && !findChild<QObject*>(QLatin1String(TFrameWatch::kName), Qt::FindDirectChildrenOnly)) {
    new TFrameWatch(this, [this] { FitWindowToScreen(); });
  }
}

bool TZabkolexMainForm::ChangeDisplayMode() {
  // The desktop owns the display mode here: the full-screen edition keeps the mode it finds.
  return true;
}

bool TZabkolexMainForm::CheckOSVersion() { return true; }

bool TZabkolexMainForm::IsLeftToRight() const { return !central_->IsHebrewInterface(); }

TLanguagePack* TZabkolexMainForm::CurrentLanguagePack() const { return central_->CurrentLanguagePack(); }
TWordList* TZabkolexMainForm::CurrentWordList() const { return central_->CurrentWordList(); }

void TZabkolexMainForm::ClearLetter() {
  if (TLanguagePack* pack = CurrentLanguagePack()) pack->ClearLetter();
}

void TZabkolexMainForm::SelectLetter(int index) {
  if (TLanguagePack* pack = CurrentLanguagePack()) pack->ClickLetter(index);
}

void TZabkolexMainForm::AddWordsOfLetters(TWordItemList& list, int first, int last, bool skipKnown) {
  if (TLanguagePack* pack = CurrentLanguagePack()) pack->AddWordsOfLetters(list, first, last, skipKnown);
}

void TZabkolexMainForm::SetComboDropWidth(QComboBox* box, int limit) {
  const QFontMetrics metrics(box->font());
  int widest = 0;
  for (int i = 0; i < box->count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(box->itemText(i)));
  int width = widest + box->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 10;
  if (limit > 0) width = std::min(width, limit);
  box->view()->setMinimumWidth(std::max(width, box->width()));
}

int TZabkolexMainForm::SelectedLetter() const {
  const TLanguagePack* pack = CurrentLanguagePack();
  return pack ? pack->SelectedLetter() : -1;
}

void TZabkolexMainForm::SelectLanguagePack(int languageCode) {
  TLanguagePack* pack = central_->PackByCode(languageCode);
  if (!pack) return;
  central_->CurrentLanguageId = pack->LanguageId();
  UpdateMainCaption();
  if (searchFrm_) searchFrm_->ShowPack(languageCode);
  if (hotWordsFrm_) hotWordsFrm_->PackChanged();
  pack->RefreshCounts(-2);
}

void TZabkolexMainForm::BuildSubjectList(TSubjectItemList& list, int firstLevel, int lastLevel) {
  list = SubjectEntries([&](const TWordList& words, TSubjectCountList& counts) {
    const TDataPacket& subjects = words.Subjects();
    for (int level = firstLevel; level <= lastLevel; ++level) {
      for (int i = 0; i < subjects.IntegerCount(); ++i) words.GetSubjectCounts(level, subjects.GetInteger(i), counts);
    }
  });
}

void TZabkolexMainForm::BuildSubjectListOfSubject(qint32 subject, TSubjectItemList& list, int lastLevel,
                                                  int firstLevel) {
  list = SubjectEntries([&](const TWordList& words, TSubjectCountList& counts) {
    if (subject == -2) return;
    for (int level = firstLevel - 1; level <= lastLevel - 1; ++level) words.GetSubjectCounts(level, subject, counts);
  });
}

TSubjectItemList TZabkolexMainForm::SubjectEntries(
    const std::function<void(const TWordList&, TSubjectCountList&)>& collect) const {
  TSubjectItemList entries;
  if (const TWordList* words = CurrentWordList()) {
    TSubjectCountList counts;
    collect(*words, counts);
    // The same sub-subject under several subjects or levels counts once, with all its words.
    TSubjectCountList merged;
    for (const TSubjectCount& count : counts) {
      auto same = std::find_if(merged.begin(), merged.end(), [&](const TSubjectCount& m) { return m.Text == count.Text; });
      if (same == merged.end())
        merged << count;
      else
        same->Count += count.Count;
    }
    const bool english = central_->AppType().EnglishInterface();
    for (const TSubjectCount& count : merged) {
      if (count.Count < kSubjectMinimum) continue;
      const int id = count.Text.toInt();
      entries.append({english ? words->GetSubjectAltName(id) : words->GetSubjectName(id), id});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TSubjectItem& a, const TSubjectItem& b) { return LocaleCompare(a.Name, b.Name, true) < 0; });
  }
  entries.prepend({Text("OptionsForm.AllSubject"), -2});
  return entries;
}

bool TZabkolexMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == hintPnl_ && event->type() == QEvent::MouseButtonRelease) Guarded([this] { HintPnlClick(); });
  return QWidget::eventFilter(watched, event);
}

}  // namespace zabko
