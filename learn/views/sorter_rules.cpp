#include "learn/views/sorter_rules.h"

#include "core/word.h"
#include "net/answer_holder.h"
#include "platform/registry_ini_file.h"

#include <cmath>

namespace zabko {

namespace {

const QString kFilterSection = QStringLiteral("Filter");

QString PackPageKey(int packCode, int letter) {
  return u'L' + QString::number(packCode) + u'_' + QString::number(letter);
}

}  // namespace

int RoundHalfEven(double value) {
  const double down = std::floor(value);
  const double diff = value - down;
  if (diff > 0.5) return static_cast<int>(down) + 1;
  if (diff < 0.5) return static_cast<int>(down);
  const int d = static_cast<int>(down);
  return d % 2 == 0 ? d : d + 1;
}

int SorterPageCount(int wordCount) {
  return wordCount / kSorterRows + (wordCount % kSorterRows > 0 ? 1 : 0);
}

TPageButtons SorterPageButtons(int page, int pageCount, bool leftToRight) {
  const bool hasBefore = page > 0;
  const bool hasAfter = page < pageCount - 1;
  TPageButtons b{};
  b.PrevEnabled = leftToRight ? hasAfter : hasBefore;
  b.NextEnabled = leftToRight ? hasBefore : hasAfter;
  b.PrevY = b.PrevEnabled ? kPageButtonEnabledY : kPageButtonDisabledY;
  b.NextY = b.NextEnabled ? kPageButtonEnabledY : kPageButtonDisabledY;
  return b;
}

int ReadSorterPage(const TRegistryIniFile& settings, int packCode, int letter) {
  const QString key = PackPageKey(packCode, letter);
  if (settings.ValueExists(kFilterSection, key)) return settings.ReadInteger(kFilterSection, key, 0);
  return settings.ReadInteger(kFilterSection, u'L' + QString::number(letter), 0);
}

void WriteSorterPage(TRegistryIniFile& settings, int packCode, int letter, int page) {
  settings.WriteInteger(kFilterSection, PackPageKey(packCode, letter), page);
}

void TPendingMarks::Add(TWord* word) {
  if (word) items_.emplace(QByteArray::number(word->Id), word);
}

void TPendingMarks::Flush(const std::function<void(qint32, quint8)>& report) {
  while (!items_.empty()) {
    const auto first = items_.begin();
    TWord* word = first->second;
    items_.erase(first);
    report(word->Id, word->Known ? kAnswerMarkedKnown : kAnswerMarkRemoved);
  }
}

TSorterLayout SorterLayout(int clientHeight, int shape1Top, int shape2Top, bool summary) {
  TSorterLayout l{};
  const double h = summary ? (clientHeight - shape2Top - 10) / 8.0 : (clientHeight - shape1Top - 50) / 8.0;
  for (int k = 0; k < 9; ++k) l.ShapeTops[k] = shape1Top + RoundHalfEven(k * h);
  for (int i = 0; i < kSorterRows; ++i) l.RowTops[i] = l.ShapeTops[summary ? i + 1 : i] + 1;
  l.RowHeight = RoundHalfEven(h - 2);
  l.ScrollTop = l.ShapeTops[1];
  l.ScrollHeight = RoundHalfEven(8 * h);
  return l;
}

void TSorterModel::LoadLetter(int letter, QList<TWord*> words, int savedPage) {
  summary_ = false;
  letter_ = letter;
  hasLetter_ = true;
  words_ = std::move(words);
  page_ = savedPage >= 0 && savedPage < PageCount() ? savedPage : 0;
}

void TSorterModel::CloseLetter() {
  SetSummary(false);
  hasLetter_ = false;
}

QList<TWord*> TSorterModel::RowWords() const {
  const QList<TWord*>& source = summary_ ? marked_ : words_;
  const int first = summary_ ? summaryScroll_ : page_ * kSorterRows;
  if (first < 0 || first >= source.size()) return {};
  return source.mid(first, kSorterRows);
}

bool TSorterModel::Next() {
  if (page_ >= PageCount() - 1) return false;
  ++page_;
  return true;
}

bool TSorterModel::Prev() {
  if (page_ <= 0) return false;
  --page_;
  return true;
}

void TSorterModel::SetWordKnown(TWord* word, bool known) {
  if (word == nullptr) return;
  word->Known = known;
  pending_.Add(word);
}

bool TSorterModel::SetSummary(bool on) {
  if (summary_ == on) return false;
  summary_ = on;
  summaryScroll_ = 0;
  if (on) {
    marked_.clear();
    for (TWord* w : words_) {
      if (w->Known) marked_.append(w);
    }
  }
  return true;
}

}  // namespace zabko
