#include "learn/frames/search_frame.h"

#include "core/app_type_specific.h"
#include "core/word.h"
#include "core/word_list.h"
#include "core/zabkolex_strings.h"
#include "learn/frames/frame_host.h"
#include "learn/frames/text_fit.h"
#include "net/zabkolex_central.h"
#include "platform/exception_handler.h"
#include "platform/registry_ini_file.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/text_measure.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"
#include "ui/zabkolex_utils.h"

#include <QAbstractItemView>
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>

namespace zabko {

namespace {

QString Text(const QString& key) { return Central().Strings().GetString(key); }

// The most lines the translation shows without a scroll bar.
constexpr int kMemoLines = 5;
// The search frame's full height under its title bar, and the least the translation box keeps
// in a low window.
constexpr int kFrameHeight = 204;
constexpr int kMinMemoHeight = 54;

}  // namespace

TSearchFrm::TSearchFrm(QWidget* parent, TNManager* manager, IFrameHost* host) : QWidget(parent), host_(host) {
  setObjectName(QStringLiteral("SearchFrm"));
  resize(186, 228);
  setLayoutDirection(Qt::RightToLeft);

  TFormLoading loading(this);
  title_ = BuildTitleBar(this, manager);
  nFrameStatic1_ = new TNFrameStatic(this, QStringLiteral("NFrameStatic1"));
  nFrameStatic1_->setGeometry(0, 24, 186, kFrameHeight);
  nFrameStatic1_->SetManager(manager);
  nFrameStatic1_->SetSize(8);
  nFrameStatic1_->SetColor(15985881);
  nFrameStatic1_->SetBackgroundName(QStringLiteral("main\\BlueBkg.bmp"));

  auto* searchBtnCmp = new TNBitmapComponent(this, QStringLiteral("SearchBtnCmp"));
  searchBtnCmp->SetManager(manager);
  searchBtnCmp->SetFilename(QStringLiteral("Main\\SearchBtn.bmp"));
  qSearchBtn_ = new TNButton(nFrameStatic1_, QStringLiteral("QSearchBtn"));
  qSearchBtn_->setGeometry(11, 7, 26, 26);
  qSearchBtn_->SetManager(manager);
  qSearchBtn_->SetBitmapComponent(searchBtnCmp);

  for (int i = 0; i < 3; ++i) {
    quickSearch_[i] = new QComboBox(nFrameStatic1_);
    quickSearch_[i]->setObjectName(QStringLiteral("QuickSearch%1").arg(i + 1));
    quickSearch_[i]->setGeometry(42, 9, 136, 23);
    quickSearch_[i]->setEditable(true);
    quickSearch_[i]->setInsertPolicy(QComboBox::NoInsert);
    quickSearch_[i]->setCompleter(nullptr);
    quickSearch_[i]->setFont(WinFont(QStringLiteral("Arial"), 0, 15));
    // Typed keys reach the combo box (its line edit takes the focus through it), which hands
    // them to the line edit directly: Enter and Escape are caught on the combo box.
    quickSearch_[i]->installEventFilter(this);
    connect(quickSearch_[i], &QComboBox::editTextChanged, this, GuardedSlot([this](const QString&) { QuickSearch1Change(); }));
    connect(quickSearch_[i], &QComboBox::activated, this, GuardedSlot([this](int) { QuickSearch1Change(); }));
  }

  explainMemo_ = new QPlainTextEdit(nFrameStatic1_);
  explainMemo_->setObjectName(QStringLiteral("ExplainMemo"));
  explainMemo_->setGeometry(8, 32, 169, 169);
  explainMemo_->setReadOnly(true);
  explainMemo_->setFrameShape(QFrame::NoFrame);
  explainMemo_->setFont(WinFont(QStringLiteral("Arial"), 0, 16));
  explainMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  explainMemo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  explainMemo_->installEventFilter(this);
  loading.Finish();

  connect(qSearchBtn_, &TNBase::OnClick, this, &TSearchFrm::QSearchBtnClick);
  connect(title_.MiniBtn, &TNBase::OnClick, this, &TSearchFrm::MiniBtnClick);
}

void TSearchFrm::Setup(int screenHeight) {
  for (int n = 2;; ++n) {
    auto* box = findChild<QComboBox*>(QStringLiteral("QuickSearch%1").arg(n));
    if (!box) break;
    box->hide();
  }
  boxes_.clear();
  const size_t packs = Central().LanguagePacks().size();
  for (size_t i = 0; i < packs; ++i) {
    auto* box = findChild<QComboBox*>(QStringLiteral("QuickSearch%1").arg(i + 1));
    if (!box) break;
    boxes_.push_back(box);
  }
  items_.assign(boxes_.size(), {});
  dropWidths_.assign(boxes_.size(), 0);
  collapsedHeight_ = title_.Bar->height();
  expandedHeight_ = title_.Bar->height() + kFrameHeight;
  if (!Central().Settings().ReadBool(QStringLiteral("Main"), QStringLiteral("ShowSearch"), screenHeight > 660)) {
    MiniBtnClick();
  }
}

void TSearchFrm::FillPacks() {
  TZabkolexCentral& central = Central();
  const QList<int> ids = central.AppType().GetLanguageIds();
  const auto& packs = central.LanguagePacks();
  for (size_t i = 0; i < boxes_.size() && i < packs.size(); ++i) {
    boxes_[i]->setProperty("Tag", int(i));
    FillBox(int(i), *packs[i]);
    const bool leftToRight = qsizetype(i) < ids.size() && ids[qsizetype(i)] != 0;
    boxes_[i]->setLayoutDirection(leftToRight ? Qt::LeftToRight : Qt::RightToLeft);
  }
}

void TSearchFrm::FillBox(int index, TLanguagePack& pack) {
  QComboBox* box = boxes_[size_t(index)];
  TWordItemList& items = items_[size_t(index)];
  items.clear();
  const TWordList& words = pack.WordList();
  items.reserve(words.Count());
  for (int i = 0; i < words.Count(); ++i) {
    TWord* word = words.GetWord(i);
    items.push_back({word->Headword, word});
  }
  pack.SortTexts(items);
  QStringList texts;
  texts.reserve(items.size());
  for (const TWordItem& item : items) texts << item.Text;
  const QSignalBlocker blocker(box);
  box->clear();
  box->addItems(texts);
  box->setCurrentIndex(-1);
  box->setEditText(QString());

  QFont font = box->font();
  SetWinFontName(font, pack.GetFontName());
  SetWinFontSize(font, pack.GetListFontSize());
  Central().AppType().StyleWordFont(font);
  box->setFont(font);

  TTextMeasure& measure = MeasureCanvas();
  const TGUIFont guiFont = GUIFontOf(font);
  int widest = 0;
  for (const QString& text : texts) widest = qMax(widest, measure.TextWidth(guiFont, text));
  const int scrollBar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  dropWidths_[size_t(index)] = int(qMin<qint64>(qint64(scrollBar) + widest + 10, Central().AppType().MaxListWidth()));
}

int TSearchFrm::BoxIndex(const QComboBox* box) const {
  for (size_t i = 0; i < boxes_.size(); ++i) {
    if (boxes_[i] == box) return int(i);
  }
  return -1;
}

QComboBox* TSearchFrm::CurrentBox() const {
  const TLanguagePack* current = Central().CurrentLanguagePack();
  if (!current) return nullptr;
  const auto& packs = Central().LanguagePacks();
  QComboBox* result = nullptr;
  for (size_t i = 0; i < boxes_.size() && i < packs.size(); ++i) {
    if (packs[i]->GetCode() == current->GetCode()) result = boxes_[i];
  }
  return result;
}

void TSearchFrm::ShowPack(int languageCode) {
  const auto& packs = Central().LanguagePacks();
  for (size_t i = 0; i < boxes_.size() && i < packs.size(); ++i) {
    boxes_[i]->setVisible(packs[i]->GetCode() == languageCode);
  }
  QuickSearch1Change();
  QComboBox* box = CurrentBox();
  if (!box) return;
  const int index = BoxIndex(box);
  box->view()->setMinimumWidth(dropWidths_[size_t(index)]);
  PlaceMemo();
}

void TSearchFrm::PlaceMemo() {
  // Under the search box, down to the frame's lower edge.
  QComboBox* box = CurrentBox();
  const int top = box ? box->geometry().bottom() + 1 : explainMemo_->y();
  explainMemo_->setGeometry(explainMemo_->x(), top, explainMemo_->width(), qMax(0, nFrameStatic1_->height() - top - 3));
  UpdateMemoScrollBar();
}

void TSearchFrm::FitToHeight(int height) {
  const int bar = title_.Bar->height();
  const int lowest = bar + qSearchBtn_->geometry().bottom() + 1 + kMinMemoHeight + 3;
  const int full = bar + kFrameHeight;
  height = qBound(qMin(lowest, full), height, full);
  resize(width(), height);
  nFrameStatic1_->resize(nFrameStatic1_->width(), height - bar);
  PlaceMemo();
}

TWord* TSearchFrm::FindCurrentWord(bool select) {
  QComboBox* box = CurrentBox();
  if (!box) return nullptr;
  const int index = BoxIndex(box);
  const TWordItemList& items = items_[size_t(index)];
  const QString typed = box->currentText();
  const int picked = box->currentIndex();
  if (picked >= 0 && picked < items.size() && box->itemText(picked) == typed) return items[picked].Word;
  const TWordList* words = Central().CurrentWordList();
  TWord* word = words ? words->FindByText(typed) : nullptr;
  if (word && select) {
    const int item = box->findText(word->Headword);
    if (item >= 0) {
      const QSignalBlocker blocker(box);
      box->setCurrentIndex(item);
    }
  }
  return word;
}

void TSearchFrm::ShowTranslation(const TWord* word) {
  QString text;
  if (word) {
    text = word->MeaningsLine();
  } else if (QComboBox* box = CurrentBox(); box && !box->currentText().isEmpty()) {
    text = Text(QStringLiteral("NoSearchItem"));
  }
  explainMemo_->setPlainText(text);
  UpdateMemoScrollBar();
}

void TSearchFrm::UpdateMemoScrollBar() {
  // A scroll bar once the translation has more lines than the box shows.
  const qreal lines = explainMemo_->document()->documentLayout()->documentSize().height();
  const int shown = qMax(1, explainMemo_->height() / qMax(1, explainMemo_->fontMetrics().lineSpacing()));
  explainMemo_->setVerticalScrollBarPolicy(lines > qMin(kMemoLines, shown) ? Qt::ScrollBarAlwaysOn
                                                                           : Qt::ScrollBarAlwaysOff);
}

void TSearchFrm::QuickSearch1Change() { ShowTranslation(FindCurrentWord(false)); }

void TSearchFrm::QSearchBtnClick() {
  TWord* word = FindCurrentWord(true);
  ShowTranslation(word);
  if (word) return;
  QComboBox* box = CurrentBox();
  const TWordList* words = Central().CurrentWordList();
  if (!box || !words) return;
  const QString typed = box->currentText();
  TWordItemList found;
  for (int i = 0; i < words->Count(); ++i) {
    TWord* w = words->GetWord(i);
    if (w->Matches(typed)) found.push_back({w->Headword, w});
  }
  host_->ShowWords(Text(QStringLiteral("SearchFrm.SearchResultCaption")), found);
}

void TSearchFrm::MiniBtnClick() {
  ToggleCollapse(this, title_.MiniBtn, collapsedHeight_, expandedHeight_, QStringLiteral("ShowSearch"), sizeChanged_);
}

void TSearchFrm::LoadCaptions() {
  ApplyPanelText(QStringLiteral("SearchFrm"), qSearchBtn_, false);
  ApplyLabelText(QStringLiteral("SearchFrm"), title_.Caption, false);
  title_.MiniBtn->setToolTip(Text(QStringLiteral("SearchFrm.MiniBtn.Hint")));
  Central().AppType().StyleCaptionLabel(title_.Caption);
}

void TSearchFrm::ApplyLeftToRight() {
  MirrorTitleBar(title_.Bar, title_.MiniBtn, title_.Caption);
  explainMemo_->setLayoutDirection(Qt::LeftToRight);
  const int searchLeft = qSearchBtn_->x();
  for (QComboBox* box : quickSearch_) box->move(searchLeft, box->y());
  qSearchBtn_->move(quickSearch_[0]->x() + quickSearch_[0]->width() + 7, qSearchBtn_->y());
}

bool TSearchFrm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == explainMemo_ && event->type() == QEvent::FocusIn) {
    // The translation never keeps the focus.
    Guarded([this] { qSearchBtn_->setFocus(); });
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Guarded([this] { QSearchBtnClick(); });
      return true;
    }
    if (key == Qt::Key_Escape) {
      Guarded([this] { host_->FocusCurrentView(); });
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zabko
