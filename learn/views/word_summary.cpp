#include "learn/views/word_summary.h"

#include "audio/res_player.h"
#include "core/app_type_specific.h"
#include "core/window_services.h"
#include "core/word.h"
#include "learn/views/sorter_rules.h"
#include "learn/views/sub_test_form.h"
#include "learn/frames/text_fit.h"
#include "learn/views/view_host.h"
#include "learn/frames/word_frame.h"
#include "net/zabkolex_central.h"
#include "platform/exception_handler.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/form_loading.h"
#include "ui/mirror.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"

#include <QScrollBar>

namespace zabko {

TSummaryLayout SummaryLayout(int clientHeight, int shape1Top) {
  TSummaryLayout l{};
  const double h = (clientHeight - shape1Top) / double(kSummaryRows);
  for (int k = 0; k < kSummaryRows; ++k) l.ShapeTops[k] = shape1Top + RoundHalfEven(k * h);
  l.RowHeight = RoundHalfEven(h - 2);
  return l;
}

TWordSummary::TWordSummary(QWidget* parent, IViewHost& host, TNManager* manager)
    : TModalForm(parent, QStringLiteral("WordSummary")), host_(host), manager_(manager) {
  resize(589, 438);
  setMinimumSize(589, 438);
  setLayoutDirection(Qt::RightToLeft);
  SetBackgroundColor(this, 0xF3ECD9);
  setAutoFillBackground(true);
  TFormLoading loading(this);
  for (int k = 0; k < kSummaryRows; ++k) {
    auto* s = new TMyShape(this, QStringLiteral("Shape%1").arg(k + 1));
    s->setGeometry(16, 42 + 40 * k, 548, 1);
    s->SetPenColor(0xC9B89A);
    SetAnchors(s, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
    shapes_[k] = s;
  }
  // The title reaches from the reading-direction edge of the separators to the production
  // button, and reads from its reading-direction end.
  sumLbl_ = new TTntLabel(this, QStringLiteral("SumLbl"));
  sumLbl_->setGeometry(kTitleLeft, 12, 564 - kTitleLeft, 22);
  sumLbl_->SetAutoSize(false);
  sumLbl_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  sumLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -17, TFontStyle::Bold));
  titleFont_ = sumLbl_->font();
  SetFontColor(sumLbl_, 0x9F7829);
  SetAnchors(sumLbl_, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
  scrollBar_ = new QScrollBar(Qt::Vertical, this);
  scrollBar_->setObjectName(QStringLiteral("ScrollBar"));
  scrollBar_->setGeometry(width() - 17, 0, 17, height());
  prodCmd_ = new TNBitmapComponent(this, QStringLiteral("ProdCmd"));
  prodCmd_->SetManager(manager);
  prodCmd_->SetFilename(QStringLiteral("prod\\prod_btns.bmp"));
  prodBtn_ = new TNButton(this, QStringLiteral("ProdBtn"));
  prodBtn_->setGeometry(16, 4, 83, 35);
  prodBtn_->SetManager(manager);
  prodBtn_->SetBitmapComponent(prodCmd_);
  prodBtn_->SetSize(15);
  prodBtn_->hide();
  connect(prodBtn_, &TNBase::OnClick, this, [this] { Guarded([this] { ProdBtnClick(); }); });
  loading.Finish();
  connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int v) { Guarded([this, v] { ShowRows(v); }); });
  OpenCard = [this](TWord* word) {
    ShowWordCard(word, [this](int code) { OnCardEvent(code); }, host_, manager_);
  };
}

void TWordSummary::ShowStringList(const QString& title, const TWordItemList& list) {
  TWordItemList copy;
  for (const TWordItem& item : list) {
    if (item.Word) copy.append({QString(), item.Word});
  }
  ShowWords(title, copy);
}

void TWordSummary::ShowWords(const QString& title, const TWordItemList& words) {
  if (words.isEmpty()) {
    QString name = title;
    if (!name.isEmpty()) name[0] = name[0].toLower();
    host_.MessageService().ShowMessageWithLinks(ViewText(QStringLiteral("Summary")),
                                                ViewText(QStringLiteral("NoWordsInShow")) + name, {});
    return;
  }
  setWindowTitle(title);
  sumLbl_->SetCaption(title);
  FitTitle();
  words_ = words;
  if (const TLanguagePack* pack = Central().CurrentLanguagePack()) pack->SortWords(words_);
  for (TWordItem& item : words_) item.Text = QString::number(item.Word->Id);
  const bool scrolls = words_.size() > kSummaryRows;
  scrollBar_->setEnabled(scrolls);
  scrollBar_->setRange(0, scrolls ? int(words_.size()) - kSummaryRows : 0);
  scrollBar_->setValue(0);
  prodBtn_->setVisible(bool(OnProduce));
  produce_ = false;
  if (NoModalLoop) {
    show();
    return;
  }
  ShowModal();
  if (produce_) HandToProduction();
}

void TWordSummary::ProdBtnClick() {
  if (!OnProduce) return;
  produce_ = true;
  if (NoModalLoop) {
    hide();
    HandToProduction();
  } else {
    SetModalResult(mrOk);
  }
}

void TWordSummary::HandToProduction() {
  produce_ = false;
  QStringList ids;
  for (const TWordItem& item : words_) ids << item.Text;
  OnProduce(ids, windowTitle());
}

void TWordSummary::CreateRows() {
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  for (int i = 0; i < kSummaryRows; ++i) {
    auto* row = new TWordFrm(this, manager_, QStringLiteral("WFrm%1").arg(i));
    Central().AppType().SetupWordFrame(row, pack);
    row->hide();
    if (QWidget* btn = row->findChild<QWidget*>(QStringLiteral("Btn"))) btn->hide();
    row->move(10, (row->height() + 2) * i + 43);
    row->resize(width() - 10 - scrollBar_->width() - 4, row->height());
    connect(row, &TWordFrm::OnWordClick, this, [this](TWordFrm* r) { Guarded([this, r] { OnWordClick(r); }); });
    SetAnchors(row, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
    if (host_.IsLeftToRight()) {
      Flip(row);
      row->MirrorForLeftToRight();
    }
    rows_[i] = row;
  }
  LayoutRows();
}

void TWordSummary::showEvent(QShowEvent* event) {
  TModalForm::showEvent(event);
  Guarded([this] {
    if (firstShow_) {
      firstShow_ = false;
      CreateRows();
    }
    resize(Central().AppType().SummaryWidth(), Central().AppType().SummaryHeight());
    FitTitle();
    if (QWidget* main = parentWidget() ? parentWidget()->window() : nullptr) {
      move(main->x() + (main->width() - width()) / 2, main->y() + (main->height() - height()) / 2);
    }
    ShowRows(0);
  });
}

void TWordSummary::FitTitle() {
  sumLbl_->setFont(titleFont_);
  FitLabelFont(sumLbl_);
}

void TWordSummary::ShowRows(int first) {
  for (int i = 0; i < kSummaryRows; ++i) {
    if (!rows_[i]) continue;
    const int index = first + i;
    if (index >= 0 && index < words_.size()) {
      rows_[i]->SetWord(words_[index].Word);
      rows_[i]->show();
    } else {
      rows_[i]->hide();
    }
  }
}

void TWordSummary::resizeEvent(QResizeEvent* event) {
  TModalForm::resizeEvent(event);
  scrollBar_->setGeometry(host_.IsLeftToRight() ? 0 : width() - 17, 0, 17, height());
  Guarded([this] { LayoutRows(); });
}

void TWordSummary::LayoutRows() {
  const TSummaryLayout l = SummaryLayout(height(), shapes_[0]->y());
  for (int k = 0; k < kSummaryRows; ++k) {
    shapes_[k]->move(shapes_[k]->x(), l.ShapeTops[k]);
    if (rows_[k]) rows_[k]->setGeometry(rows_[k]->x(), l.ShapeTops[k] + 1, rows_[k]->width(), l.RowHeight);
  }
}

void TWordSummary::OnWordClick(TWordFrm* row) {
  if (!row || !row->isVisible() || !row->Word()) return;
  cardWord_ = row->Word();
  if (OpenCard) OpenCard(cardWord_);
}

void TWordSummary::OnCardEvent(int code) {
  if (!cardWord_) return;
  QByteArray name;
  if (code == kEventPlayWord) name = cardWord_->MainSound.Name;
  else if (code == kEventPlayExample) name = cardWord_->ExampleSound1.Name;
  else if (code == kEventPlayExplanation) name = cardWord_->ExampleSound2.Name;
  if (name.isEmpty()) return;
  try {
    if (TResPlayer* player = Central().ResPlayer()) player->PlayFile(name);
  } catch (...) {
    // Playback failures never reach the learner.
    RecordCaughtException(std::current_exception());
  }
}

void TWordSummary::Flip(QWidget* control) {
  control->setLayoutDirection(Qt::LeftToRight);
  control->move(control->parentWidget()->width() - control->x() - control->width(), control->y());
  const TAnchors a = GetAnchors(control);
  if (a == (TAnchorKind::Top | TAnchorKind::Right)) SetAnchors(control, TAnchorKind::Left | TAnchorKind::Top);
  else if (a == (TAnchorKind::Left | TAnchorKind::Top)) SetAnchors(control, TAnchorKind::Top | TAnchorKind::Right);
}

void TWordSummary::ApplyLeftToRight() {
  scrollBar_->move(0, 0);
  prodBtn_->SetCaption(ViewText(QStringLiteral("WordSummary.ProdBtn.Caption")));
  QFont f = prodBtn_->font();
  SetWinFontSize(f, 11);
  prodBtn_->setFont(f);
  // The caption is centred in the room right of the note in the button's left cap.
  prodBtn_->SetDeltaX(kProdIconEnd / 2);
  FitButtonFont(prodBtn_, prodBtn_->width() - kProdIconEnd - 4);
  Flip(prodBtn_);
  Flip(sumLbl_);
  for (TMyShape* s : shapes_) Flip(s);
  setLayoutDirection(Qt::LeftToRight);
}

}  // namespace zabko
