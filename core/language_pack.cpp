#include "core/language_pack.h"

#include "core/str.h"
#include "platform/exception.h"
#include "platform/registry_ini_file.h"
#include "platform/text_compare.h"

#include <algorithm>
#include <limits>

namespace zabko {

namespace {

QString WithoutLeadingTo(const QString& text) {
  return text.startsWith(QLatin1String("to ")) ? text.mid(3) : text;
}

// The sorts keep the order of items that compare equal.
void SortItems(TWordItemList& list, int (*compare)(const QString&, const QString&), bool byHeadword) {
  const auto key = [byHeadword](const TWordItem& item) -> const QString& {
    static const QString kNone;
    if (!byHeadword) return item.Text;
    return item.Word != nullptr ? item.Word->Headword : kNone;
  };
  std::stable_sort(list.begin(), list.end(),
                   [&](const TWordItem& a, const TWordItem& b) { return compare(key(a), key(b)) < 0; });
}

class THebrewClass : public TLanguageClass {
 public:
  QString GetLetter(int index) const override {
    // The alphabet without the final forms of kaf, mem, nun, pe and tsadi.
    static constexpr char16_t kLetters[] = u"\u05D0\u05D1\u05D2\u05D3\u05D4\u05D5\u05D6\u05D7\u05D8\u05D9"
                                           u"\u05DB\u05DC\u05DE\u05E0\u05E1\u05E2\u05E4\u05E6\u05E7\u05E8"
                                           u"\u05E9\u05EA";
    if (index < 0 || index >= static_cast<int>(std::size(kLetters)) - 1) throw Exception(kNotAUnit);
    return QString(QChar(kLetters[index]));
  }
  QString GetLetterLabel(int index) const override { return GetLetter(index) + u'\''; }
};

class TEnglishClass : public TLanguageClass {
 public:
  QString GetFontName() const override { return QStringLiteral("Times New Roman"); }
  QString GetMeaningFontName() const override { return QStringLiteral("David"); }
  QString GetLetter(int index) const override {
    const qint64 code = qint64{'A'} + index;
    if (code <= ' ' || code > 0xFFFF) return {};
    return QString(QChar(static_cast<char16_t>(code)));
  }
};

QStringList AudioFolders(const QStringList& suffixes) {
  QStringList names;
  for (const QString& s : suffixes) names << QStringLiteral("Data\\Audio") + s;
  return names;
}

}  // namespace

int CompareEnglishWords(const QString& a, const QString& b) {
  return LocaleCompare(WithoutLeadingTo(a), WithoutLeadingTo(b), true);
}

int CompareHebrewWords(const QString& a, const QString& b) {
  return LocaleCompare(HebrewLettersOnly(a), HebrewLettersOnly(b), true);
}

// ---------------------------------------------------------------------------------------------

TLanguagePack::TLanguagePack(quint8 languageId, int alphabetSize, const QString& databasePath,
                             std::vector<ILetterButton*> letterButtons, TClickAllowed clickAllowed,
                             TAfterClick afterClick, TCountsCallback counts, TFillWord fillWord)
    : languageId_(languageId),
      alphabetSize_(std::max(alphabetSize, 0)),
      buttons_(std::move(letterButtons)),
      counts_(static_cast<std::size_t>(alphabetSize_), TCounts{}),
      wordList_(std::make_unique<TWordList>(std::move(fillWord))),
      clickAllowed_(std::move(clickAllowed)),
      afterClick_(std::move(afterClick)),
      counts_callback_(std::move(counts)),
      self_(std::make_shared<TLanguagePack*>(this)) {
  const std::weak_ptr<TLanguagePack*> self = self_;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    ILetterButton* button = buttons_[i];
    if (button == nullptr) continue;
    const int letter = static_cast<int>(i);
    button->SetLetterHandlers(
        [self, button] {
          if (auto pack = self.lock()) (*pack)->LetterClick(button);
        },
        [self, letter] {
          if (auto pack = self.lock()) (*pack)->RefreshCounts(letter);
        },
        [self] {
          if (auto pack = self.lock()) (*pack)->RefreshCounts(-2);
        });
  }
  wordList_->LoadFromFile(databasePath);
  RefreshCounts(-1);
}

TLanguagePack::~TLanguagePack() = default;

int TLanguagePack::SelectedLetter() const {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i] != nullptr && buttons_[i]->IsDown()) return static_cast<int>(i);
  }
  return -1;
}

int TLanguagePack::IndexOfButton(const ILetterButton* button) const {
  const auto it = std::find(buttons_.begin(), buttons_.end(), button);
  return it == buttons_.end() || button == nullptr ? -1 : static_cast<int>(it - buttons_.begin());
}

namespace {

// Counts come from the server and may be anything an int holds: sums are taken in 64 bits and
// shown at the nearest value an int holds.
int Saturate(qint64 value) {
  return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

qint64 Total(const TLanguagePack::TCounts& c) { return qint64{c[0]} + c[1] + c[2]; }

}  // namespace

TLanguagePack::TCounts TLanguagePack::Counts(int letter) const {
  return IsLetter(letter) ? counts_[static_cast<std::size_t>(letter)] : TCounts{};
}

int TLanguagePack::GetCount(int letter, int status) const {
  if (status < 0 || status >= kStatusCount) return 0;
  return Counts(letter)[static_cast<std::size_t>(status)];
}

void TLanguagePack::SetCount(int letter, int status, int value) {
  if (!IsLetter(letter) || status < 0 || status >= kStatusCount) return;
  counts_[static_cast<std::size_t>(letter)][static_cast<std::size_t>(status)] = value;
}

int TLanguagePack::GetLetterTotal(int letter) const {
  return Saturate(Total(Counts(letter)));
}

void TLanguagePack::MoveWord(int letter, int fromStatus, int toStatus) {
  if (!IsLetter(letter) || fromStatus < 0 || fromStatus >= kStatusCount || toStatus < 0 ||
      toStatus >= kStatusCount) {
    return;
  }
  TCounts& c = counts_[static_cast<std::size_t>(letter)];
  if (c[static_cast<std::size_t>(fromStatus)] <= 0) return;
  if (c[static_cast<std::size_t>(toStatus)] == std::numeric_limits<int>::max()) return;
  --c[static_cast<std::size_t>(fromStatus)];
  ++c[static_cast<std::size_t>(toStatus)];
  RefreshCounts(-2);
}

void TLanguagePack::RefreshCounts(int letter) {
  if (letter == -2) letter = SelectedLetter();
  std::array<qint64, 3> c{};
  if (letter < 0) {
    for (const TCounts& l : counts_) {
      for (std::size_t s = 0; s < c.size(); ++s) c[s] += l[s];
    }
  } else {
    const TCounts l = Counts(letter);
    for (std::size_t s = 0; s < c.size(); ++s) c[s] = l[s];
  }
  if (counts_callback_)
    counts_callback_(*this, Saturate(c[0]), Saturate(c[1]), Saturate(c[2]), Saturate(c[0] + c[1] + c[2]));
}

void TLanguagePack::LetterClick(ILetterButton* button) {
  if (clickAllowed_ && !clickAllowed_(*this, button)) return;
  for (ILetterButton* b : buttons_) {
    if (b != nullptr) b->SetDown(false);
  }
  if (button != nullptr) button->SetDown(true);
  RefreshCounts(-2);
  if (afterClick_) afterClick_(*this, button);
}

void TLanguagePack::SelectLetter(int index) {
  if (index == -1) {
    ClearLetter();
  } else if (index >= 0 && index < static_cast<int>(buttons_.size()) && buttons_[index] != nullptr) {
    LetterClick(buttons_[static_cast<std::size_t>(index)]);
  }
}

void TLanguagePack::ClearLetter() {
  const int selected = SelectedLetter();
  if (selected >= 0) buttons_[static_cast<std::size_t>(selected)]->SetDown(false);
  RefreshCounts(-1);
}

void TLanguagePack::AddWordsOfLetters(TWordItemList& list, int first, int last, bool skipKnown) const {
  for (const std::unique_ptr<TWord>& word : wordList_->Words()) {
    const int letter = GetLetterIndex(*word);
    if (letter < first || letter > last) continue;
    if (skipKnown && word->Known) continue;
    list.append({word->Headword, word.get()});
  }
}

int TLanguagePack::LetterScore(int letter) const {
  const TCounts c = Counts(letter);
  const qint64 total = Total(c);
  if (total == 0) return 100;
  return Saturate((qint64{c[1]} + 2 * qint64{c[2]}) * 100 / total);
}

int TLanguagePack::AverageScore() const {
  if (alphabetSize_ == 0) return 0;
  qint64 sum = 0;
  for (int letter = 0; letter < alphabetSize_; ++letter) sum += LetterScore(letter);
  return static_cast<int>(sum / alphabetSize_);
}

QString TLanguagePack::FollowSupposedName() const {
  return QStringLiteral("FollowSupposed") + QString::number(GetCode());
}

int TLanguagePack::ReadFollowSupposed(const TRegistryIniFile& settings, int def) const {
  return settings.ReadInteger(QStringLiteral("Main"), FollowSupposedName(), def);
}

void TLanguagePack::WriteFollowSupposed(TRegistryIniFile& settings, int value) const {
  settings.WriteInteger(QStringLiteral("Main"), FollowSupposedName(), value);
}

// ---------------------------------------------------------------------------------------------

const TLanguageClass& THebrewLanguage::LanguageClass() {
  static const THebrewClass kClass;
  return kClass;
}

void THebrewLanguage::SortWords(TWordItemList& list) const { SortItems(list, CompareHebrewWords, true); }

void THebrewLanguage::SortTexts(TWordItemList& list) const { SortItems(list, CompareHebrewWords, false); }

QStringList THebrewLanguage::GetAudioFolders() const {
  QStringList suffixes;
  for (int i = 1; i <= 22; ++i) suffixes << QString::number(i);
  return AudioFolders(suffixes);
}

const TLanguageClass& TEnglishLanguage::LanguageClass() {
  static const TEnglishClass kClass;
  return kClass;
}

void TEnglishLanguage::SortWords(TWordItemList& list) const { SortItems(list, CompareEnglishWords, true); }

void TEnglishLanguage::SortTexts(TWordItemList& list) const { SortItems(list, CompareEnglishWords, false); }

int TEnglishLanguage::GetLetterIndex(const TWord& word) const {
  QString text = word.SearchText.toUpper();
  if (text.startsWith(QLatin1String("TO "))) text.remove(0, 3);
  const int code = text.isEmpty() ? 0 : text.at(0).unicode();
  return code - 'A';
}

QStringList TEnglishLanguage::GetAudioFolders() const {
  QStringList suffixes;
  for (char c = 'A'; c <= 'Z'; ++c) suffixes << QString(QChar(c));
  return AudioFolders(suffixes);
}

}  // namespace zabko
