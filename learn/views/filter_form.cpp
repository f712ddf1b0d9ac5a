#include "learn/views/filter_form.h"

#include "core/app_type_specific.h"
#include "core/language_pack.h"
#include "core/str.h"
#include "core/word.h"
#include "learn/views/view_host.h"
#include "learn/frames/word_frame.h"
#include "net/zabkolex_central.h"
#include "net/zabkolex_flow.h"
#include "platform/exception_handler.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/form_loading.h"
#include "ui/gui_text_builder.h"
#include "ui/mirror.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"

#include <QEvent>
#include <QScrollBar>
#include <QStackedWidget>

namespace zabko {

namespace {

constexpr int kShape1Top = 32;
constexpr int kSummaryShift = 40;
constexpr int kLtrSummaryShift = 13;

}  // namespace

TFilterForm::TFilterForm(QWidget* parent, IViewHost& host, TNManager* manager)
    : QWidget(parent), host_(host), manager_(manager) {
  setObjectName(QStringLiteral("FilterForm"));
  resize(568, 453);
  setLayoutDirection(Qt::RightToLeft);
  TFormLoading loading(this);
  sinunBtns_ = new TNBitmapComponent(this, QStringLiteral("SinunBtns"));
  sinunBtns_->SetManager(manager);
  sinunBtns_->SetFilename(QStringLiteral("sinun\\SinunBtns.bmp"));
  nextPrevBtns_ = new TNBitmapComponent(this, QStringLiteral("NextPrevBtns"));
  nextPrevBtns_->SetManager(manager);
  nextPrevBtns_->SetFilename(QStringLiteral("sinun\\NextPrevBtns.bmp"));

  notebook_ = new QStackedWidget(this);
  notebook_->setObjectName(QStringLiteral("Notebook"));
  notebook_->setGeometry(rect());
  openPanel_ = new QWidget(notebook_);
  openPanel_->setObjectName(QStringLiteral("OpenPanel"));
  mainPanel_ = new QWidget(notebook_);
  mainPanel_->setObjectName(QStringLiteral("MainPanel"));
  for (QWidget* p : {openPanel_, mainPanel_}) {
    p->setAttribute(Qt::WA_OpaquePaintEvent, false);
    SetBackgroundColor(p, 0xF3ECD9);
    p->setAutoFillBackground(true);
    p->resize(size());
    notebook_->addWidget(p);
  }
  image1_ = new TNStatic(openPanel_, QStringLiteral("Image1"));
  image1_->setGeometry(20, 453 - 140, 120, 120);
  image1_->SetManager(manager);
  image1_->SetBackgroundName(QStringLiteral("sinun\\OpenImage.bmp"));
  SetAnchors(image1_, TAnchorKind::Left | TAnchorKind::Bottom);

  for (int k = 0; k < 9; ++k) {
    auto* s = new TMyShape(mainPanel_, QStringLiteral("Shape%1").arg(k + 1));
    s->setGeometry(5, kShape1Top + 40 * k, 558, 1);
    s->SetPenColor(0xC9B89A);
    SetAnchors(s, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
    shapes_[k] = s;
  }
  locationLbl_ = new TTntLabel(mainPanel_, QStringLiteral("LocationLbl"));
  locationLbl_->setGeometry(239, 7, 90, 18);
  locationLbl_->SetAutoSize(false);
  locationLbl_->setAlignment(Qt::AlignCenter);
  locationLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -13, TFontStyle::Bold));
  SetFontColor(locationLbl_, 0x9F7829);
  sumLbl_ = new TTntLabel(mainPanel_, QStringLiteral("SumLbl"));
  sumLbl_->setGeometry(230, 7, 330, 20);
  sumLbl_->SetAutoSize(false);
  sumLbl_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  sumLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -15, TFontStyle::Bold));
  SetFontColor(sumLbl_, 0x9F7829);
  sumLbl_->hide();
  SetAnchors(sumLbl_, TAnchorKind::Top | TAnchorKind::Right);
  scrool_ = new QScrollBar(Qt::Vertical, mainPanel_);
  scrool_->setObjectName(QStringLiteral("Scrool"));
  scrool_->setGeometry(568 - 17, kShape1Top + 40, 17, 320);
  scrool_->hide();
  SetAnchors(scrool_, TAnchorKind::Top | TAnchorKind::Right);

  const auto button = [&](const char* name, TNBitmapComponent* sheet, int x, int left, int width, int height,
                          int size, TAnchors anchors) {
    auto* b = new TNButton(mainPanel_, QString::fromLatin1(name));
    b->setGeometry(left, 3, width, height);
    b->SetManager(manager);
    b->SetBitmapComponent(sheet);
    b->SetX(x);
    b->SetSize(size);
    b->setFont(WinFont(QStringLiteral("Arial"), 0, -12, TFontStyle::Bold));
    SetFontColor(b, clWhite);
    SetAnchors(b, anchors);
    return b;
  };
  const TAnchors right = TAnchorKind::Top | TAnchorKind::Right;
  const TAnchors left = TAnchorKind::Left | TAnchorKind::Top;
  showAllBtn_ = button("ShowAllBtn", sinunBtns_, 30, 480, 80, 26, 10, right);
  markAllBtn_ = button("MarkAllBtn", sinunBtns_, 30, 396, 80, 26, 10, right);
  for (TNButton* b : {showAllBtn_, markAllBtn_}) b->SetCanBeDown(true), b->SetClickableWhenDown(true);
  firstPageBtn_ = button("FirstPageBtn", sinunBtns_, 0, 8, 80, 26, 10, left);
  continueLaterBtn_ = button("ContinueLaterBtn", sinunBtns_, 0, 92, 100, 26, 10, left);
  showFilterBtn_ = button("ShowFilterBtn", sinunBtns_, 30, 8, 110, 26, 10, left);
  showFilterBtn_->SetCanBeDown(true);
  showFilterBtn_->SetClickableWhenDown(true);
  doneBtn_ = button("DoneBtn", sinunBtns_, 0, 124, 90, 26, 10, left);
  for (TNButton* b : {showFilterBtn_, doneBtn_}) b->hide();
  prevBtn_ = button("PrevBtn", nextPrevBtns_, 0, 349, 17, 17, 0, left);
  nextBtn_ = button("NextBtn", nextPrevBtns_, 17, 219, 17, 17, 0, left);
  prevBtn_->move(prevBtn_->x(), 7);
  nextBtn_->move(nextBtn_->x(), 7);
  loading.Finish();
  notebook_->setCurrentWidget(openPanel_);
  mainPanel_->installEventFilter(this);

  // In a left-to-right layout the two page buttons trade handlers.
  connect(nextBtn_, &TNBase::OnClick, this, [this] { LeftToRight() ? PrevBtnClick() : NextBtnClick(); });
  connect(prevBtn_, &TNBase::OnClick, this, [this] { LeftToRight() ? NextBtnClick() : PrevBtnClick(); });
  connect(firstPageBtn_, &TNBase::OnClick, this, &TFilterForm::FirstPageBtnClick);
  connect(continueLaterBtn_, &TNBase::OnClick, this, &TFilterForm::ContinueLaterBtnClick);
  connect(showAllBtn_, &TNBase::OnClick, this, &TFilterForm::ShowAllBtnClick);
  connect(markAllBtn_, &TNBase::OnClick, this, &TFilterForm::MarkAllBtnClick);
  connect(showFilterBtn_, &TNBase::OnClick, this, &TFilterForm::ShowFilterBtnClick);
  connect(doneBtn_, &TNBase::OnClick, this, &TFilterForm::DoneBtnClick);
  connect(scrool_, &QScrollBar::valueChanged, this, [this](int v) { Guarded([this, v] { ScroolScroll(v); }); });
}

bool TFilterForm::LeftToRight() const { return host_.IsLeftToRight(); }

int TFilterForm::PackCode() const {
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  return pack ? pack->GetCode() : 0;
}

bool TFilterForm::OnOpenPage() const { return notebook_->currentWidget() == openPanel_; }

void TFilterForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Guarded([this] {
    BuildRows();
    if (!captionsLoaded_) LoadCaptions();
  });
}

void TFilterForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The page takes its new size from the notebook later (at once when shown, else when it next
  // shows): the rows are laid out when MainPanel itself is resized.
  notebook_->setGeometry(rect());
}

bool TFilterForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mainPanel_ && event->type() == QEvent::Resize) Guarded([this] { MainPanelResize(); });
  return QWidget::eventFilter(watched, event);
}

void TFilterForm::BuildRows() {
  if (rowsBuilt_) return;
  rowsBuilt_ = true;
  if (Central().AppType().LeftToRightLists()) locationLbl_->setLayoutDirection(Qt::LeftToRight);
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  for (int i = 0; i < kSorterRows; ++i) {
    auto* panel = new QWidget(mainPanel_);
    panel->setObjectName(QStringLiteral("RowPnl%1").arg(i));
    SetBackgroundColor(panel, 0xF0EBDC);
    panel->setAutoFillBackground(true);
    panel->setGeometry(5, 35 + 40 * i, width() - 5, 38);
    auto* row = new TWordFrm(panel, manager_, QStringLiteral("WFrm%1").arg(i));
    Central().AppType().SetupWordFrame(row, pack);
    row->hide();
    row->setGeometry(panel->rect());
    SetAnchors(row, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right | TAnchorKind::Bottom);
    connect(row, &TWordFrm::OnMarkClick, this, [this](TWordFrm* r) { Guarded([this, r] { MarkClicked(r); }); });
    connect(row, &TWordFrm::OnWordClick, this,
            [this](TWordFrm* r) { Guarded([this, r] { TranslationClicked(r); }); });
    if (LeftToRight()) row->MirrorForLeftToRight();
    panel->show();
    rowPanels_[i] = panel;
    rows_[i] = row;
  }
  MainPanelResize();
  if (!OnOpenPage()) ShowPage();
}

void TFilterForm::ShowOpenPage() {
  SetSummaryMode(false);
  model_.CloseLetter();
  notebook_->setCurrentWidget(openPanel_);
}

void TFilterForm::ShowLetter(int letter) {
  SetSummaryMode(false);
  notebook_->setCurrentWidget(mainPanel_);
  TWordItemList items;
  host_.AddWordsOfLetters(items, letter, letter, false);
  if (const TLanguagePack* pack = Central().CurrentLanguagePack()) pack->SortTexts(items);
  QList<TWord*> words;
  for (const TWordItem& item : items) words.append(item.Word);
  model_.LoadLetter(letter, words, ReadSorterPage(Central().Settings(), PackCode(), letter));
  ShowPage();
}

void TFilterForm::SavePage() {
  if (!model_.HasLetter()) return;
  WriteSorterPage(Central().Settings(), PackCode(), model_.Letter(), model_.Page());
}

void TFilterForm::ShowPage() {
  locationLbl_->SetCaption(TWStr::Format(ViewText(QStringLiteral("FilterFormPageOutOfPages")),
                                         {model_.Page() + 1, model_.PageCount()}));
  const TPageButtons b = SorterPageButtons(model_.Page(), model_.PageCount(), LeftToRight());
  prevBtn_->setEnabled(b.PrevEnabled);
  nextBtn_->setEnabled(b.NextEnabled);
  prevBtn_->SetY(b.PrevY);
  nextBtn_->SetY(b.NextY);
  markAllBtn_->SetDown(false);
  showAllBtn_->SetDown(false);
  const QList<TWord*> words = model_.RowWords();
  for (int i = 0; i < kSorterRows; ++i) {
    TWordFrm* row = rows_[i];
    if (!row) continue;
    if (i < words.size()) {
      row->SetWord(words[i]);
      row->SetMarked(words[i]->Known);
      row->SetShowExplanation(words[i]->Known);
      row->show();
    } else {
      row->hide();
    }
  }
  UpdateGroupButtons();
}

void TFilterForm::UpdateGroupButtons() {
  bool allMarked = true, allShown = true;
  for (TWordFrm* row : rows_) {
    if (!row || row->isHidden()) continue;
    allMarked = allMarked && row->Marked();
    allShown = allShown && row->ShowExplanation();
  }
  markAllBtn_->SetDown(allMarked);
  showAllBtn_->SetDown(allShown);
}

void TFilterForm::MarkClicked(TWordFrm* row) {
  const bool marked = !row->Marked();
  row->SetMarked(marked);
  row->SetShowExplanation(marked);
  model_.SetWordKnown(row->Word(), marked);
  UpdateGroupButtons();
}

void TFilterForm::TranslationClicked(TWordFrm* row) {
  row->SetShowExplanation(!row->ShowExplanation());
  UpdateGroupButtons();
}

void TFilterForm::MarkAllBtnClick() {
  markAllBtn_->SetDown(!markAllBtn_->Down());
  for (TWordFrm* row : rows_) {
    if (!row || row->isHidden()) continue;
    row->SetMarked(markAllBtn_->Down());
    model_.SetWordKnown(row->Word(), markAllBtn_->Down());
  }
  if (markAllBtn_->Down() && !showAllBtn_->Down()) ShowAllBtnClick();
}

void TFilterForm::ShowAllBtnClick() {
  showAllBtn_->SetDown(!showAllBtn_->Down());
  for (TWordFrm* row : rows_) {
    if (row) row->SetShowExplanation(showAllBtn_->Down());
  }
}

void TFilterForm::FlushChanges() {
  model_.Pending().Flush([this](qint32 id, quint8 kind) { host_.AddAnswer(id, kind, nullptr); });
}

void TFilterForm::NextBtnClick() {
  if (model_.Next()) ShowPage();
  FlushChanges();
}

void TFilterForm::PrevBtnClick() {
  if (model_.Prev()) ShowPage();
  FlushChanges();
}

void TFilterForm::FirstPageBtnClick() {
  model_.First();
  ShowPage();
  FlushChanges();
}

void TFilterForm::ContinueLaterBtnClick() {
  SavePage();
  SetSummaryMode(true);
  FlushChanges();
}

void TFilterForm::DoneBtnClick() {
  FlushChanges();
  host_.ClearLetter();
  ShowOpenPage();
  host_.Flow().UploadAnswersWithProgress();
}

void TFilterForm::SetSummaryMode(bool on) {
  if (model_.Summary() == on) return;
  for (QWidget* w : {static_cast<QWidget*>(showAllBtn_), static_cast<QWidget*>(markAllBtn_),
                     static_cast<QWidget*>(prevBtn_), static_cast<QWidget*>(nextBtn_),
                     static_cast<QWidget*>(locationLbl_), static_cast<QWidget*>(continueLaterBtn_),
                     static_cast<QWidget*>(firstPageBtn_), static_cast<QWidget*>(shapes_[0])})
    w->setVisible(!on);
  showFilterBtn_->SetDown(false);
  for (QWidget* p : rowPanels_) {
    if (p) p->setVisible(!on);
  }
  for (int k = 1; k < 9; ++k) shapes_[k]->setVisible(!on);
  scrool_->hide();
  const int shift = on ? kSummaryShift : -kSummaryShift;
  const int ltrShift = LeftToRight() ? (on ? kLtrSummaryShift : -kLtrSummaryShift) : 0;
  for (QWidget* p : rowPanels_) {
    if (p) p->move(p->x() + ltrShift, p->y() + shift);
  }
  model_.SetSummary(on);
  MainPanelResize();
  if (on) {
    const TLanguagePack* pack = Central().CurrentLanguagePack();
    sumLbl_->SetCaption(TWStr::Format(ViewText(QStringLiteral("FilterFormSummary")),
                                      {pack ? pack->GetLetterLabel(model_.Letter()) : QString(),
                                       static_cast<qint32>(model_.Marked().size()),
                                       static_cast<qint32>(model_.Words().size())}));
  }
  for (QWidget* w : {static_cast<QWidget*>(sumLbl_), static_cast<QWidget*>(showFilterBtn_),
                     static_cast<QWidget*>(doneBtn_)})
    w->setVisible(on);
}

void TFilterForm::ShowFilterBtnClick() {
  showFilterBtn_->SetDown(!showFilterBtn_->Down());
  const bool down = showFilterBtn_->Down();
  for (QWidget* p : rowPanels_) {
    if (p) p->setVisible(down);
  }
  for (int k = 1; k < 9; ++k) shapes_[k]->setVisible(down);
  model_.SetSummaryScroll(0);
  scrool_->setVisible(down);
  scrool_->setEnabled(model_.SummaryScrolls());
  scrool_->setRange(0, model_.SummaryScrollMax());
  MainPanelResize();
  if (down) {
    QSignalBlocker block(scrool_);
    scrool_->setValue(0);
    ShowPage();
  }
}

void TFilterForm::ScroolScroll(int position) {
  model_.SetSummaryScroll(position);
  ShowPage();
}

void TFilterForm::MainPanelResize() {
  const int w = mainPanel_->width();
  locationLbl_->move((w - locationLbl_->width()) / 2, locationLbl_->y());
  nextBtn_->move(locationLbl_->x() - 20, nextBtn_->y());
  prevBtn_->move(locationLbl_->x() + 110, prevBtn_->y());
  const TSorterLayout l = SorterLayout(mainPanel_->height(), shapes_[0]->y(), shapes_[1]->y(), model_.Summary());
  for (int k = 0; k < 9; ++k) shapes_[k]->move(shapes_[k]->x(), l.ShapeTops[k]);
  for (int i = 0; i < kSorterRows; ++i) {
    QWidget* p = rowPanels_[i];
    if (!p) continue;
    int width = w - p->x();
    if (scrool_->isVisible() && !LeftToRight()) width -= scrool_->width();
    p->setGeometry(p->x(), l.RowTops[i], width, l.RowHeight);
  }
  scrool_->setGeometry(scrool_->x(), l.ScrollTop, scrool_->width(), l.ScrollHeight);
}

void TFilterForm::LoadCaptions() {
  captionsLoaded_ = true;
  for (QObject* old : openPanel_->findChildren<TTntLabel*>(QString(), Qt::FindDirectChildrenOnly)) delete old;
  TGUITextBuilder builder;
  builder.RightToLeft = !LeftToRight();
  builder.Anchors = LeftToRight() ? TAnchors(TAnchorKind::Left | TAnchorKind::Top)
                                  : TAnchors(TAnchorKind::Top | TAnchorKind::Right);
  builder.Parse(ViewText(QStringLiteral("FilterFormOpenPage")));
  builder.LayoutInRect(openPanel_, TNRect{10, 10, openPanel_->width() - 10, openPanel_->height()});
  firstPageBtn_->SetCaption(ViewText(QStringLiteral("FilterForm.FirstPageBtn.Caption")));
  markAllBtn_->SetCaption(ViewText(QStringLiteral("FilterForm.MarkAllBtn.Caption")));
  markAllBtn_->setToolTip(ViewText(QStringLiteral("FilterForm.MarkAllBtn.Hint")));
  for (TNButton* b : {showAllBtn_, continueLaterBtn_, doneBtn_, showFilterBtn_}) {
    b->SetCaption(ViewText(QStringLiteral("FilterForm.") + b->objectName() + QStringLiteral(".Caption")));
  }
  for (TNButton* b : {showAllBtn_, continueLaterBtn_}) {
    b->setToolTip(ViewText(QStringLiteral("FilterForm.") + b->objectName() + QStringLiteral(".Hint")));
  }
}

void TFilterForm::ApplyLeftToRight() {
  for (TNButton* b : {showAllBtn_, markAllBtn_, firstPageBtn_, continueLaterBtn_, doneBtn_, showFilterBtn_}) {
    const QString prefix = QStringLiteral("FilterForm.") + b->objectName();
    b->SetCaption(ViewText(prefix + QStringLiteral(".Caption")));
    if (b == showAllBtn_ || b == markAllBtn_ || b == continueLaterBtn_) b->setToolTip(ViewText(prefix + QStringLiteral(".Hint")));
    QFont f = b->font();
    SetWinFontSize(f, 9);
    b->setFont(f);
    MirrorControl(b);
  }
  scrool_->move(0, scrool_->y());
  SetAnchors(scrool_, TAnchorKind::Left | TAnchorKind::Top);
  MirrorControl(sumLbl_);
  SetAnchors(sumLbl_, TAnchorKind::Left | TAnchorKind::Top);
  sumLbl_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (TMyShape* s : shapes_) MirrorControl(s);
  MirrorControl(image1_);
  SetAnchors(image1_, TAnchorKind::Right | TAnchorKind::Bottom);
  openPanel_->setLayoutDirection(Qt::LeftToRight);
  setLayoutDirection(Qt::LeftToRight);
}

}  // namespace zabko
