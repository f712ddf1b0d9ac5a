#include "learn/frames/follow_frame.h"

#include "core/app_type_specific.h"
#include "core/language_pack.h"
#include "core/word.h"
#include "core/word_list.h"
#include "core/zabkolex_strings.h"
#include "learn/frames/frame_host.h"
#include "learn/frames/text_fit.h"
#include "net/flow_hooks.h"
#include "net/flow_ui.h"
#include "net/zabkolex_central.h"
#include "platform/exception.h"
#include "platform/registry_ini_file.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/mirror.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"
#include "ui/zabkolex_utils.h"

#include <QDateEdit>
#include <QFontMetrics>
#include <QLineEdit>

#include <cmath>
#include <utility>

namespace zabko {

namespace {

QString Text(const QString& key) { return Central().Strings().GetString(key); }

const QString kMain = QStringLiteral("Main");

QDate ToDate(TDateTime value) {
  const DateTimeFields f = DecodeDateTime(std::floor(value));
  return QDate(f.year, f.month, f.day);
}

TDateTime FromDate(const QDate& date) { return EncodeDate(date.year(), date.month(), date.day()); }

TTntLabel* MakeLabel(QWidget* parent, const char* name, int left, int top) {
  auto* label = new TTntLabel(parent, QString::fromLatin1(name));
  label->move(left, top);
  // Sized to its (empty) caption, so that mirroring places it by its edge and a caption loaded
  // later grows it in the reading direction.
  label->SetCaption(QString());
  return label;
}

}  // namespace

TFollowFrm::TFollowFrm(QWidget* parent, TNManager* manager, IFrameHost* host)
    : QWidget(parent), manager_(manager), host_(host) {
  setObjectName(QStringLiteral("FollowFrm"));
  resize(186, 195);
  setLayoutDirection(Qt::RightToLeft);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, WinColor(0xE8E8E8));
  setPalette(palette);

  TFormLoading loading(this);
  nStatic1_ = new TNStatic(this, QStringLiteral("NStatic1"));
  nStatic1_->setGeometry(1, 0, 184, 24);
  nStatic1_->SetManager(manager);
  nStatic1_->SetBackgroundName(QStringLiteral("main\\FollowHeader.bmp"));
  captionLbl_ = new TTntLabel(nStatic1_, QStringLiteral("CaptionLbl"));
  captionLbl_->SetAutoSize(false);
  captionLbl_->setGeometry(29, 0, 124, 22);
  captionLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, 22));
  captionLbl_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  QPalette captionPalette = captionLbl_->palette();
  captionPalette.setColor(QPalette::WindowText, WinColor(0x333333));
  captionLbl_->setPalette(captionPalette);

  auto* followBtnCmp = new TNBitmapComponent(this, QStringLiteral("FollowBtnCmp"));
  followBtnCmp->SetManager(manager);
  followBtnCmp->SetFilename(QStringLiteral("Main\\FCollapseExpand.bmp"));
  miniBtn_ = new TNButton(this, QStringLiteral("MiniBtn"));
  miniBtn_->setGeometry(159, 0, 25, 24);
  miniBtn_->SetManager(manager);
  miniBtn_->SetX(25);
  miniBtn_->SetBitmapComponent(followBtnCmp);

  background_ = new TNFrameStatic(this, QStringLiteral("Background"));
  background_->setGeometry(0, 24, 186, 170);
  background_->SetManager(manager);
  background_->SetSize(8);
  // The frame's centre is not painted: it shows this colour, the one the search and hot-words
  // panels show inside the same frame and the faces' own ground.
  background_->SetColor(15985881);
  background_->SetBackgroundName(QStringLiteral("main\\BlueBkg.bmp"));

  dateLbl1_ = MakeLabel(background_, "DateLbl1", 61, 10);
  dateLbl2_ = MakeLabel(background_, "DateLbl2", 107, 66);
  const auto picker = [&](const char* name, int top) {
    auto* edit = new QDateEdit(background_);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(47, top, 130, 25);
    edit->setCalendarPopup(true);
    edit->setLayoutDirection(Qt::LeftToRight);
    // Dates read left to right also inside a right-to-left frame.
    if (auto* line = edit->findChild<QLineEdit*>()) line->setLayoutDirection(Qt::LeftToRight);
    return edit;
  };
  startDP_ = picker("StartDP", 32);
  testDP_ = picker("TestDP", 88);

  auto* okCmp = new TNBitmapComponent(this, QStringLiteral("FollowOkBtnCmp"));
  okCmp->SetManager(manager);
  okCmp->SetFilename(QStringLiteral("prod\\back_btn.bmp"));
  followOkBtn_ = new TNButton(background_, QStringLiteral("FollowOkBtn"));
  followOkBtn_->setGeometry(16, 136, 62, 26);
  followOkBtn_->SetManager(manager);
  followOkBtn_->SetSize(10);
  followOkBtn_->SetAlignment(TAlignment::Center);
  followOkBtn_->SetBitmapComponent(okCmp);

  faceStat_ = new TNStatic(background_, QStringLiteral("FaceStat"));
  faceStat_->setGeometry(59, 8, 67, 63);
  faceStat_->SetManager(manager);
  followLbl1_ = MakeLabel(background_, "FollowLbl1", 48, 69);
  supposeLbl_ = MakeLabel(background_, "SupposeLbl", 35, 70);
  followLbl2_ = MakeLabel(background_, "FollowLbl2", 95, 87);
  amLbl_ = MakeLabel(background_, "AmLbl", 83, 88);
  for (TTntLabel* letter : {supposeLbl_, amLbl_}) letter->setFont(WinFont(QStringLiteral("Arial"), 0, -13, TFontStyle::Bold));
  followSumLbl_ = new TTntLabel(background_, QStringLiteral("FollowSumLbl"));
  followSumLbl_->SetAutoSize(false);
  followSumLbl_->setGeometry(5, 106, 172, 41);
  followSumLbl_->setWordWrap(true);
  followSumLbl_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  changeDatesLbl_ = new TLinkLabel2(background_, QStringLiteral("ChangeDatesLbl"));
  changeDatesLbl_->move(9, 150);
  changeDatesLbl_->SetCaption(QString());
  changeDatesLbl_->SetShowLink(true);
  loading.Finish();
  // The pickers' format is given last, after every other setting of theirs.
  for (QDateEdit* edit : {startDP_, testDP_}) edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  ShowDates(false);

  connect(miniBtn_, &TNBase::OnClick, this, &TFollowFrm::MiniBtnClick);
  connect(changeDatesLbl_, &TTntLabel::OnClick, this, &TFollowFrm::ChangeDatesLblClick);
  connect(followOkBtn_, &TNBase::OnClick, this, &TFollowFrm::FollowOkBtnClick);
  connect(startDP_, &QDateEdit::dateChanged, this, GuardedSlot([this](QDate) { StartDPChange(); }));
  connect(testDP_, &QDateEdit::dateChanged, this, GuardedSlot([this](QDate) { TestDPChange(); }));
}

TDateTime TFollowFrm::StartDate() const { return FromDate(startDP_->date()); }
TDateTime TFollowFrm::TestDate() const { return FromDate(testDP_->date()); }

// Dates set by the program run no change handler, as a picker's own setting does not.
void TFollowFrm::SetStartDate(TDateTime date) {
  const QSignalBlocker blocker(startDP_);
  startDP_->setDate(ToDate(date));
}

void TFollowFrm::SetTestDate(TDateTime date) {
  const QSignalBlocker blocker(testDP_);
  testDP_->setDate(ToDate(date));
}

void TFollowFrm::ShowDates(bool show) {
  for (QWidget* control : {static_cast<QWidget*>(dateLbl1_), static_cast<QWidget*>(dateLbl2_),
                           static_cast<QWidget*>(startDP_), static_cast<QWidget*>(testDP_),
                           static_cast<QWidget*>(followOkBtn_)}) {
    control->setVisible(show);
  }
  for (QWidget* control : {static_cast<QWidget*>(faceStat_), static_cast<QWidget*>(followLbl1_),
                           static_cast<QWidget*>(followLbl2_), static_cast<QWidget*>(supposeLbl_),
                           static_cast<QWidget*>(amLbl_), static_cast<QWidget*>(changeDatesLbl_),
                           static_cast<QWidget*>(followSumLbl_)}) {
    control->setVisible(!show);
  }
  if (OnShowDates) OnShowDates(show);
}

bool TFollowFrm::DatesShown() const { return !followOkBtn_->isHidden(); }

bool TFollowFrm::IsCollapsed() const { return DockPanel(const_cast<TFollowFrm*>(this))->height() == collapsedHeight_; }

TLanguagePack& TFollowFrm::FollowPack() const {
  TZabkolexCentral& central = Central();
  int code = 0;
  switch (central.FollowLanguageMode()) {
    case 0: code = 10; break;
    case 1: code = 100; break;
    case 4: code = 200; break;
    default: throw Exception("Unknown language pack");
  }
  TLanguagePack* pack = central.PackByCode(code);
  if (!pack) throw Exception("Unknown language pack");
  return *pack;
}

void TFollowFrm::Init() {
  TZabkolexCentral& central = Central();
  if (!central.AppType().ShowFollowFaces()) return;
  const QString smiles = QStringLiteral("Follow\\Smiles.bmp");
  manager_->GetDrawer(smiles);
  for (int i = 0; i < 3; ++i) faces_[i] = manager_->GetPartDrawer(0, 63 * i, smiles, 63, 67);

  TRegistryIniFile& settings = central.Settings();
  const TDateTime today = std::floor(host_->FlowClock().Now());
  SetTestDate(settings.ReadDateTime(kMain, QStringLiteral("Test"), today + 90));
  SetStartDate(settings.ReadDateTime(kMain, QStringLiteral("Start"), today));
  if (settings.ReadBool(kMain, QStringLiteral("NoDatesYet"), true)) {
    settings.WriteBool(kMain, QStringLiteral("NoDatesYet"), false);
    ShowDates(true);
  } else {
    ShowDates(false);
  }
  collapsedHeight_ = nStatic1_->height();
  expandedHeight_ = nStatic1_->height() + background_->height();
  if (!settings.ReadBool(kMain, QStringLiteral("ShowFollow"), true)) MiniBtnClick();

  const TLanguagePack& pack = FollowPack();
  const int before = pack.ReadFollowSupposed(settings, -1);
  Recompute();
  const int after = pack.ReadFollowSupposed(settings, 0);
  if (before < after) {
    host_->MessageService().ShowMessageWithLinks(Text(QStringLiteral("LettersCaption")),
                                                 Text(QStringLiteral("TimeToStudyLetter")) + pack.GetLetterLabel(after) +
                                                     QStringLiteral("."),
                                                 {});
  }
}

void TFollowFrm::Recompute() {
  TZabkolexCentral& central = Central();
  TLanguagePack* pack = central.CurrentLanguagePack();
  if (!pack) return;
  QList<TFollowLetter> letters;
  for (int i = 0; i < pack->AlphabetSize(); ++i) {
    letters.push_back({pack->GetCount(i, 2) + pack->GetCount(i, 1), pack->GetLetterTotal(i), pack->GetLetterLabel(i)});
  }
  const int am = FollowAmAt(letters);
  amLbl_->SetCaption(letters.value(am).Label);

  int words = 0;
  const TWordList& list = pack->WordList();
  for (int i = 0; i < list.Count(); ++i) {
    if (!list.GetWord(i)->Known) ++words;
  }
  if (words == 0) return;

  const TDateTime start = StartDate();
  const double span = TestDate() - start - 14;
  const double elapsed = host_->FlowClock().Now() - start;
  const int should = FollowShouldBeAt(letters, span, elapsed, words);
  pack->WriteFollowSupposed(central.Settings(), should);
  supposeLbl_->SetCaption(letters.value(should).Label);

  const TGoOver goOver = FollowGoOver(letters, should);
  if (goOver.Runs.isEmpty()) {
    followSumLbl_->SetCaption(QString());
  } else {
    QString advice = Text(goOver.Runs.size() <= 3 ? QStringLiteral("FollowFrm.IShouldGoOver")
                                                  : QStringLiteral("FollowFrm.IShouldGoOvers")) +
                     QLatin1Char(' ') + goOver.Runs;
    if (goOver.Count > 2) {
      advice += QLatin1Char(' ') + Text(QStringLiteral("FollowFrm.AndFocusOn")) + QLatin1Char(' ') +
                letters.value(goOver.Focus).Label;
    }
    followSumLbl_->SetCaption(advice);
  }

  followState_ = FollowStateOf(supposeLbl_->Caption(), amLbl_->Caption());
  faceStat_->SetDrawerIndex(faces_[followState_]);
  faceStat_->update();
}

void TFollowFrm::WriteDates() {
  TRegistryIniFile& settings = Central().Settings();
  settings.WriteDateTime(kMain, QStringLiteral("Test"), TestDate());
  settings.WriteDateTime(kMain, QStringLiteral("Start"), StartDate());
}

void TFollowFrm::StartDPChange() {
  if (StartDate() > TestDate()) SetTestDate(StartDate());
  Recompute();
  WriteDates();
}

void TFollowFrm::TestDPChange() {
  if (TestDate() < StartDate()) SetStartDate(TestDate());
  Recompute();
  WriteDates();
}

void TFollowFrm::MiniBtnClick() {
  ToggleCollapse(this, miniBtn_, collapsedHeight_, expandedHeight_, QStringLiteral("ShowFollow"), sizeChanged_);
}

void TFollowFrm::ApplyLeftToRight() {
  MirrorTitleBitmap(nStatic1_);
  miniBtn_->move(nStatic1_->x(), miniBtn_->y());
  miniBtn_->SetX(miniBtn_->X() + 50);
  miniBtn_->ReloadAndRepaint();
  QFont okFont = followOkBtn_->font();
  SetWinFontSize(okFont, 9);
  followOkBtn_->setFont(okFont);
  captionLbl_->setLayoutDirection(Qt::LeftToRight);
  QFont captionFont = captionLbl_->font();
  SetWinFontHeight(captionFont, 20);
  captionLbl_->setFont(captionFont);
  captionLbl_->move(captionLbl_->x(), captionLbl_->y() + 3);
  for (QWidget* control : {static_cast<QWidget*>(dateLbl1_), static_cast<QWidget*>(dateLbl2_),
                           static_cast<QWidget*>(startDP_), static_cast<QWidget*>(testDP_),
                           static_cast<QWidget*>(followOkBtn_), static_cast<QWidget*>(faceStat_),
                           static_cast<QWidget*>(followLbl1_), static_cast<QWidget*>(followLbl2_),
                           static_cast<QWidget*>(supposeLbl_), static_cast<QWidget*>(amLbl_),
                           static_cast<QWidget*>(changeDatesLbl_), static_cast<QWidget*>(followSumLbl_)}) {
    MirrorControl(control);
  }
  setLayoutDirection(Qt::LeftToRight);
  leftToRight_ = true;
}

void TFollowFrm::LoadCaptions() {
  const QString prefix = QStringLiteral("FollowFrm");
  ApplyLabelTexts(prefix, {dateLbl1_, followLbl1_, changeDatesLbl_, dateLbl2_, followLbl2_, captionLbl_}, false);
  followOkBtn_->SetCaption(Text(QStringLiteral("OkBtn")));
  miniBtn_->setToolTip(Text(QStringLiteral("FollowFrm.MiniBtn.Hint")));
  if (leftToRight_) {
    const int w = width();
    changeDatesLbl_->move(w - changeDatesLbl_->width() - 5, changeDatesLbl_->y());
    // Captions mirrored while empty grow to the right: each keeps to the frame's width.
    for (TTntLabel* label : {dateLbl1_, dateLbl2_, followLbl1_, followLbl2_})
      label->move(qMin(label->x(), background_->width() - label->width() - 5), label->y());
    // Each caption and its letter share one line of the frame: the caption's font shrinks
    // until both fit, then the letter follows the caption.
    const int right = background_->width() - 5;
    for (const auto& [caption, letter] : {std::pair{followLbl1_, supposeLbl_}, std::pair{followLbl2_, amLbl_}}) {
      const QString text = caption->Caption();
      const int room = right - 5 - 5 - kLetterRoom;
      ShrinkFontUntil(caption, [&](const QFont& font) { return QFontMetrics(font).horizontalAdvance(text) + 4 <= room; });
      caption->move(qMin(caption->x(), right - kLetterRoom - 5 - caption->width()), caption->y());
      letter->move(caption->x() + caption->width() + 5, letter->y());
    }
  }
  Central().AppType().StyleCaptionLabel(captionLbl_);
  // The title strip is fixed; a title longer than its label gets a smaller font.
  FitLabelFont(captionLbl_);
}

}  // namespace zabko
