#include "learn/frames/letter_frame.h"

#include "core/file.h"
#include "core/language_pack.h"
#include "core/str.h"
#include "core/word_list.h"
#include "core/zabkolex_strings.h"
#include "learn/frames/frame_host.h"
#include "learn/frames/letter_placement.h"
#include "learn/frames/text_fit.h"
#include "net/answer_holder.h"
#include "net/flow_hooks.h"
#include "net/flow_ui.h"
#include "net/zabkolex_central.h"
#include "net/zabkolex_client.h"
#include "net/zabkolex_flow.h"
#include "platform/exception_handler.h"
#include "ui/anchors.h"
#include "ui/form_loading.h"
#include "ui/my_shape.h"
#include "ui/n_manager.h"
#include "ui/text_measure.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"
#include "ui/zabkolex_utils.h"

#include <QEvent>

namespace zabko {

namespace {

QString Text(const QString& key) { return Central().Strings().GetString(key); }

const QString kLetterSheet = QStringLiteral("Main\\SingleLetter2.bmp");
const QString kShortLetterSheet = QStringLiteral("Main\\SingleLetterShort.bmp");

}  // namespace

// ---- TLetterButton ----------------------------------------------------------------------------

TLetterButton::TLetterButton(QWidget* parent, const QString& name) : TNButton(parent, name) {
  connect(this, &TNBase::OnClick, this, [this] {
    if (onClick_) onClick_();
  });
  connect(this, &TNButton::OnMouseEnter, this, [this] {
    if (onEnter_) onEnter_();
  });
  connect(this, &TNButton::OnMouseLeave, this, [this] {
    if (onLeave_) onLeave_();
  });
}

void TLetterButton::SetLetterHandlers(std::function<void()> onClick, std::function<void()> onEnter,
                                      std::function<void()> onLeave) {
  onClick_ = std::move(onClick);
  onEnter_ = std::move(onEnter);
  onLeave_ = std::move(onLeave);
}

void TLetterButton::ApplyStyle(const TButtonStyle& style) {
  SetDeltaX(style.DeltaX);
  SetDeltaYPlain(style.DeltaYPlain);
  SetDeltaYDown(style.DeltaYDown);
  SetDeltaYOver(style.DeltaYOver);
  QFont f = font();
  if (!style.FontName.isEmpty()) SetWinFontName(f, style.FontName);
  if (style.FontSize != 0) SetWinFontSize(f, style.FontSize);
  setFont(f);
}

// ---- TLetterFrm -------------------------------------------------------------------------------

TLetterFrm::TLetterFrm(QWidget* parent, TNManager* manager, IFrameHost* host)
    : QWidget(parent), manager_(manager), host_(host) {
  setObjectName(QStringLiteral("LetterFrm"));
  resize(790, 53);
  setLayoutDirection(Qt::RightToLeft);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, WinColor(0xB1B1B1));
  setPalette(palette);

  TFormLoading loading(this);
  const int shapeTops[] = {0, 1, 51, 52};
  const TColor shapeColors[] = {0x808080, clWhite, 0x808080, clWhite};
  for (int i = 0; i < 4; ++i) {
    shapes_[i] = new TMyShape(this, QStringLiteral("TntShape%1").arg(i + 1));
    shapes_[i]->setGeometry(0, shapeTops[i], 790, 1);
    shapes_[i]->SetPenColor(shapeColors[i]);
    shapes_[i]->SetBrushColor(shapeColors[i]);
    SetAnchors(shapes_[i], TAnchorKind::Left | TAnchorKind::Right |
                               (i < 2 ? TAnchorKind::Top : TAnchorKind::Bottom));
  }

  infoCmp_ = new TNBitmapComponent(this, QStringLiteral("InfoCmp"));
  infoCmp_->SetManager(manager);
  infoCmp_->SetFilename(QStringLiteral("Main\\InfoBtn.bmp"));
  infoBtn_ = new TNButton(this, QStringLiteral("InfoBtn"));
  infoBtn_->setGeometry(16, 10, 27, 33);
  infoBtn_->SetManager(manager);
  infoBtn_->SetBitmapComponent(infoCmp_);

  numberBox_ = new TNStatic(this, QStringLiteral("NumberBox"));
  numberBox_->setGeometry(44, 2, 129, 49);
  numberBox_->SetManager(manager);
  numberBox_->SetBackgroundName(QStringLiteral("main\\scoreBox.bmp"));
  struct TCountLabel {
    TLinkLabel2*& label;
    const char* name;
    int left, top;
    TColor color;
  } counts[] = {
      {noLbl_, "NoLbl", 10, 9, 0x001BEA},
      {partialLbl_, "PartialLbl", 51, 9, 0x0CA5FF},
      {yesLbl_, "YesLbl", 92, 9, 0x12CC5C},
      {totalLbl_, "TotalLbl", 51, 27, clBlack},
  };
  for (const TCountLabel& c : counts) {
    c.label = new TLinkLabel2(numberBox_, QString::fromLatin1(c.name));
    c.label->SetAutoSize(false);
    c.label->setGeometry(c.left, c.top, 28, 16);
    c.label->setAlignment(Qt::AlignCenter);
    c.label->setFont(WinFont(QStringLiteral("Arial"), 0, -16, TFontStyle::Bold));
    c.label->setLayoutDirection(Qt::LeftToRight);
    QPalette p = c.label->palette();
    p.setColor(QPalette::WindowText, WinColor(c.color));
    c.label->setPalette(p);
    c.label->SetLinkColor(c.color);
    c.label->SetShowLink(true);
  }

  for (int i = 0; i < 3; ++i) {
    panels_[i] = new QWidget(this);
    panels_[i]->setObjectName(QStringLiteral("LettersPnl%1").arg(i + 1));
    panels_[i]->setGeometry(174, 1, 572, 51);
    SetAnchors(panels_[i], TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
    panels_[i]->installEventFilter(this);
    letterCmps_[i] = new TNBitmapComponent(this, i == 0 ? QStringLiteral("LetterCmp")
                                                        : QStringLiteral("LetterCmp%1").arg(i + 1));
    letterCmps_[i]->SetManager(manager);
    letterCmps_[i]->SetFilename(kLetterSheet);
  }

  switchCmp_ = new TNBitmapComponent(this, QStringLiteral("SwitchCmp"));
  switchCmp_->SetManager(manager);
  switchCmp_->SetFilename(QStringLiteral("Main\\SwitchBtn.bmp"));
  switchBtn_ = new TNButton(this, QStringLiteral("SwitchBtn"));
  switchBtn_->setGeometry(752, 10, 24, 32);
  switchBtn_->SetManager(manager);
  switchBtn_->SetCanBeDown(true);
  switchBtn_->SetClickableWhenDown(true);
  switchBtn_->SetX(24);
  switchBtn_->SetBitmapComponent(switchCmp_);
  SetAnchors(switchBtn_, TAnchorKind::Top | TAnchorKind::Right);
  loading.Finish();

  connect(noLbl_, &TTntLabel::OnClick, this, &TLetterFrm::NoLblClick);
  connect(partialLbl_, &TTntLabel::OnClick, this, &TLetterFrm::PartialLblClick);
  connect(yesLbl_, &TTntLabel::OnClick, this, &TLetterFrm::YesLblClick);
  connect(totalLbl_, &TTntLabel::OnClick, this, &TLetterFrm::TotalLblClick);
  connect(infoBtn_, &TNBase::OnClick, this, &TLetterFrm::InfoBtnClick);
  connect(switchBtn_, &TNBase::OnClick, this, &TLetterFrm::SwitchBtnClick);
}

void TLetterFrm::SetupPanels() {
  for (int n = 2;; ++n) {
    auto* panel = findChild<QWidget*>(QStringLiteral("LettersPnl%1").arg(n), Qt::FindDirectChildrenOnly);
    if (!panel) break;
    panel->hide();
  }
  letterPanels_.clear();
  const QList<int> ids = Central().AppType().GetLanguageIds();
  for (qsizetype i = 0; i < ids.size(); ++i) {
    auto* panel = findChild<QWidget*>(QStringLiteral("LettersPnl%1").arg(i + 1), Qt::FindDirectChildrenOnly);
    if (!panel) break;
    letterPanels_.push_back(panel);
    panel->setVisible(i == 0);
  }
  switchBtn_->setToolTip(Text(QStringLiteral("LetterFrm.SwitchTo0Hint")));
  if (letterPanels_.size() == 3) {
    switchCmp_->SetFilename(QStringLiteral("Main\\Switch3Btn.bmp"));
    switchBtn_->SetX(0);
    switchBtn_->ReloadAndRepaint();
  }
}

void TLetterFrm::ShowInfoButton() { infoBtn_->setVisible(Central().AppType().ShowInfoButton()); }

void TLetterFrm::SetupLetters() {
  TZabkolexCentral& central = Central();
  const TAppTypeSpecific& appType = central.AppType();
  const QList<int> sizes = appType.GetAlphabetSizes();
  const QList<int> ids = appType.GetLanguageIds();
  letterButtons_.assign(letterPanels_.size(), {});
  std::vector<std::vector<ILetterButton*>> buttons(letterPanels_.size());
  for (size_t p = 0; p < letterPanels_.size(); ++p) {
    QWidget* panel = letterPanels_[p];
    const int size = p < size_t(sizes.size()) ? sizes[p] : 0;
    const bool leftToRight = p < size_t(ids.size()) && ids[p] != 0;
    TFormLoading loading(panel);
    for (int i = 0; i < size; ++i) {
      auto* button = new TLetterButton(panel, QStringLiteral("Letter%1").arg(i));
      button->SetSize(8);
      const int left = leftToRight ? (i + 1) * 26 : panel->width() - (i + 1) * 26;
      button->setGeometry(left, 0, 26, 30);
      button->SetManager(manager_);
      button->SetBitmapComponent(letterCmps_[p]);
      button->Tag = i;
      appType.StyleButton(*button);
      letterButtons_[p].push_back(button);
      buttons[p].push_back(button);
    }
    loading.Finish();
  }

  IFrameHost* host = host_;
  central.CreateLanguagePacks(
      buttons, [host](TLanguagePack& pack, ILetterButton* button) { return host->CanChangeLetter(pack, button); },
      [host](TLanguagePack& pack, ILetterButton* button) { host->LetterChosen(pack, button); },
      [this](TLanguagePack&, int s0, int s1, int s2, int total) { ShowCounts(s0, s1, s2, total); });

  TTextMeasure& measure = MeasureCanvas();
  const auto& packs = central.LanguagePacks();
  for (size_t p = 0; p < letterButtons_.size() && p < packs.size(); ++p) {
    for (TLetterButton* button : letterButtons_[p]) {
      const QString caption = packs[p]->GetLetterCaption(button->Tag);
      button->SetCaption(caption);
      const QString hint = packs[p]->GetLetterHint(button->Tag);
      button->setToolTip(hint);
      button->setToolTipDuration(hint.isEmpty() ? 0 : -1);
      const int width = qMax(measure.TextWidth(GUIFontOf(button->font()), caption) + 12, button->width());
      button->resize(width, button->height());
    }
  }
  switchBtn_->setVisible(packs.size() > 1);
  if (packs.size() <= 1) panels_[0]->resize(width() - panels_[0]->x() - 5, panels_[0]->height());
  for (QWidget* panel : letterPanels_) LettersPnl1Resize(panel);
}

void TLetterFrm::ShowCounts(int status0, int status1, int status2, int total) {
  noLbl_->SetCaption(QString::number(status0));
  partialLbl_->SetCaption(QString::number(status1));
  yesLbl_->SetCaption(QString::number(status2));
  totalLbl_->SetCaption(QString::number(total));
}

int TLetterFrm::MinimumWidth() const {
  int result = 0;
  for (const auto& buttons : letterButtons_) {
    int sum = 0;
    for (const TLetterButton* button : buttons) sum += button->width() + 2;
    result = qMax(result, sum / 2);
  }
  return result;
}

void TLetterFrm::ApplyLeftToRight() {
  const int w = width();
  numberBox_->move(w - numberBox_->x() - numberBox_->width(), numberBox_->y());
  infoBtn_->move(w - infoBtn_->x() - infoBtn_->width() + 10, infoBtn_->y());
  SetAnchors(numberBox_, TAnchorKind::Top | TAnchorKind::Right);
  SetAnchors(infoBtn_, TAnchorKind::Top | TAnchorKind::Right);
  // With more than one pack the switch button stands at the reading start, so it goes to the
  // left edge and the letters start where its mirror image ends; with one pack the letters
  // reach from 5 px off the left edge.
  const bool switching = letterPanels_.size() > 1;
  if (switching) {
    switchBtn_->move(w - switchBtn_->x() - switchBtn_->width(), switchBtn_->y());
    SetAnchors(switchBtn_, TAnchorKind::Left | TAnchorKind::Top);
  }
  for (QWidget* panel : panels_) {
    panel->move(switching ? w - panel->x() - panel->width() : 5, panel->y());
    SetAnchors(panel, GetAnchors(panel));
  }
}

void TLetterFrm::LoadCaptions() {
  const QString prefix = QStringLiteral("LetterFrm");
  ApplyPanelTexts(prefix, {infoBtn_, switchBtn_}, false);
  ApplyLabelTexts(prefix, {noLbl_, partialLbl_, yesLbl_, totalLbl_}, false);
}

int TLetterFrm::PackOfPanel(const QWidget* panel) const {
  for (size_t p = 0; p < letterPanels_.size(); ++p) {
    if (letterPanels_[p] == panel) return int(p);
  }
  return -1;
}

void TLetterFrm::LettersPnl1Resize(QWidget* panel) {
  const int pack = PackOfPanel(panel);
  if (pack < 0 || size_t(pack) >= letterButtons_.size() || letterButtons_[pack].empty()) return;
  const auto& buttons = letterButtons_[pack];
  QList<int> widths;
  for (const TLetterButton* button : buttons) widths << button->width();
  const QList<int> ids = Central().AppType().GetLanguageIds();
  const bool leftToRight = pack < ids.size() && ids[pack] != 0;
  const TLetterPlacement placement = PlaceLetters(panel->width(), panel->height(), widths, leftToRight);
  TNBitmapComponent* sheet = letterCmps_[pack];
  const QString file = placement.TwoRows ? kShortLetterSheet : kLetterSheet;
  if (sheet->Filename() != file) sheet->SetFilename(file);
  for (size_t i = 0; i < buttons.size(); ++i) {
    const TLetterSpot& spot = placement.Spots[qsizetype(i)];
    buttons[i]->setGeometry(spot.Left, spot.Top, buttons[i]->width(), spot.Height);
    buttons[i]->ReloadAndRepaint();
  }
}

bool TLetterFrm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (auto* panel = qobject_cast<QWidget*>(watched)) Guarded([&] { LettersPnl1Resize(panel); });
  }
  return QWidget::eventFilter(watched, event);
}

void TLetterFrm::SwitchBtnClick() {
  if (!host_->LeaveViewForSwitch()) return;
  TZabkolexCentral& central = Central();
  const int n = int(central.LanguagePacks().size());
  if (n == 0) return;
  const int i = (switchBtn_->X() / switchBtn_->width() + 1) % n;
  switchBtn_->SetX(i * switchBtn_->width());
  switchBtn_->ReloadAndRepaint();
  switchBtn_->setToolTip(Text(QStringLiteral("LetterFrm.SwitchTo%1Hint").arg(i)));
  const int pack = central.AppType().MapLanguageIndex(i);
  for (size_t p = 0; p < letterPanels_.size(); ++p) letterPanels_[p]->setVisible(int(p) == pack);
  host_->SelectLanguagePack(central.LanguagePacks().at(size_t(pack))->GetCode());
  host_->RefreshView();
}

void TLetterFrm::CountClick(const char* titleKey, int lowest, int highest) {
  host_->FocusCurrentView();
  ShowWordList(Text(QString::fromLatin1(titleKey)), lowest, highest);
}

void TLetterFrm::NoLblClick() { CountClick("LetterFrm.WordsIDontKnow", 0, 0); }
void TLetterFrm::PartialLblClick() { CountClick("LetterFrm.WordsIPartialKnow", 1, 1); }
void TLetterFrm::YesLblClick() { CountClick("LetterFrm.WordsIKnow", 2, 2); }
void TLetterFrm::TotalLblClick() { CountClick("LetterFrm.AllWords", 0, 2); }

void TLetterFrm::ShowWordList(const QString& title, int lowestLevel, int highestLevel) {
  TZabkolexCentral& central = Central();
  TLanguagePack* pack = central.CurrentLanguagePack();
  if (!pack) return;
  QString fullTitle = title;
  int first, last;
  const int selected = pack->SelectedLetter();
  if (selected < 0) {
    first = 0;
    last = pack->AlphabetSize() - 1;
    fullTitle += Text(QStringLiteral("LetterFrm.FromAllLetterCaption"));
  } else {
    first = last = selected;
    fullTitle += Text(QStringLiteral("LetterFrm.FromLetterCaption")) + pack->GetLetterLabel(selected);
  }
  const int code = pack->GetCode();
  fullTitle += Text(code == 10 ? QStringLiteral("LetterFrm.HebrewCaption") : QStringLiteral("LetterFrm.EnglishCaption"));

  QStringList list;
  TZabkolexFlow& flow = host_->Flow();
  const QString caption = TWStr::Format(Text(QStringLiteral("LetterFrm.CalculatingCaption")), {fullTitle});
  host_->ProgressRunner().RunJob(central.AnswerHolder().Count() + 1, caption, [&](IProgress& progress) {
    progress.Step();
    // The answers reach the server before it counts.
    flow.UploadAnswers(progress);
    progress.Step();
    central.Client().GetFilterList2(list, quint8(first), quint8(last), quint8(lowestLevel), quint8(highestLevel), code);
  });

  // Lines naming no word of the current list are left out: the summary shows words only.
  TWordItemList items;
  const TWordList& words = pack->WordList();
  for (const QString& line : list) {
    bool ok = false;
    const qint32 id = line.toInt(&ok);
    if (TWord* word = ok ? words.FindById(id) : nullptr) items.push_back({line, word});
  }
  host_->ShowStringList(fullTitle, items);
}

void TLetterFrm::InfoBtnClick() {
  if (host_->MessageService().AskYesNo(Text(QStringLiteral("InfoCaption")), Text(QStringLiteral("InfoContent")),
                                       kButtonCancel | kButtonContinue)) {
    TFile::ShellOpen(Text(QStringLiteral("StatsLink")));
  }
}

}  // namespace zabko
