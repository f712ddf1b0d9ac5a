// Language packs: alphabets and letter labels, letter indexes of words, the per-letter counts
// and their moves, scores, the letter buttons' click flow, word lists of letters and the sorts.
#include "core/language_pack.h"
#include "platform/exception.h"
#include "platform/registry_ini_file.h"
#include "tests/common/test_util.h"
#include "tests/core/language_fixture.h"

#include <QTemporaryDir>

#include <limits>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using test::FakeButtons;
using test::FixtureWord;

QString W(const char* utf8) { return QString::fromUtf8(utf8); }

QString ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return {};
}

TEST(LanguageClassTest, HebrewAlphabetSkipsTheFinalForms) {
  const TLanguageClass& he = THebrewLanguage::LanguageClass();
  const char16_t expected[22] = {0x5D0, 0x5D1, 0x5D2, 0x5D3, 0x5D4, 0x5D5, 0x5D6, 0x5D7, 0x5D8, 0x5D9, 0x5DB,
                                 0x5DC, 0x5DE, 0x5E0, 0x5E1, 0x5E2, 0x5E4, 0x5E6, 0x5E7, 0x5E8, 0x5E9, 0x5EA};
  for (int i = 0; i < 22; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(he.GetLetter(i), QString(QChar(expected[i])));
    EXPECT_EQ(he.GetLetterLabel(i), QString(QChar(expected[i])) + "'");
  }
  for (int bad : {22, -1, 100}) {
    EXPECT_EQ(ErrorOf([&] { he.GetLetter(bad); }), "Not a unit") << bad;
    EXPECT_EQ(ErrorOf([&] { he.GetLetterLabel(bad); }), "Not a unit") << bad;
  }
}

TEST(LanguageClassTest, EnglishLettersAreCapitalsFromA) {
  const TLanguageClass& en = TEnglishLanguage::LanguageClass();
  EXPECT_EQ(en.GetLetter(0), "A");
  EXPECT_EQ(en.GetLetter(25), "Z");
  EXPECT_EQ(en.GetLetterLabel(6), "G");
  // Outside the alphabet the letter is the word's own first character; none for blanks.
  EXPECT_EQ(en.GetLetter('3' - 'A'), "3");
  EXPECT_EQ(en.GetLetter(' ' - 'A'), "");
  EXPECT_EQ(en.GetLetter(-65), "");
}

TEST(LanguageClassTest, Fonts) {
  const TLanguageClass& he = THebrewLanguage::LanguageClass();
  const TLanguageClass& en = TEnglishLanguage::LanguageClass();
  EXPECT_EQ(he.GetFontName(), "David");
  EXPECT_EQ(he.GetMeaningFontName(), "David");
  EXPECT_EQ(en.GetFontName(), "Times New Roman");
  EXPECT_EQ(en.GetMeaningFontName(), "David");
  EXPECT_EQ(he.GetListFontSize(), 11);
  EXPECT_EQ(en.GetListFontSize(), 11);
}

TEST(LanguageCompareTest, EnglishDropsALeadingToAndIgnoresCase) {
  EXPECT_EQ(CompareEnglishWords("to be", "Be"), 0);
  EXPECT_EQ(CompareEnglishWords("to be", "be"), 0);
  EXPECT_LT(CompareEnglishWords("to act", "be"), 0);
  EXPECT_GT(CompareEnglishWords("to go", "be"), 0);
  // Only the small "to " counts.
  EXPECT_NE(CompareEnglishWords("To be", "be"), 0);
  EXPECT_LT(CompareEnglishWords("toad", "tomato"), 0);
}

TEST(LanguageCompareTest, HebrewComparesOnlyTheLetters) {
  // shalom with and without points, with punctuation and Latin letters around it.
  EXPECT_EQ(CompareHebrewWords(W("שָׁלוֹם"), W("שלום")), 0);
  EXPECT_EQ(CompareHebrewWords(W("שלום!"), W("(שלום) abc")), 0);
  EXPECT_LT(CompareHebrewWords(W("אבא"), W("בית")), 0);
  EXPECT_GT(CompareHebrewWords(W("תפוח"), W("בית")), 0);
  EXPECT_EQ(CompareHebrewWords("abc", "xyz"), 0);
}

// A pack over a database written into a temporary folder.
class LanguagePackTest : public testing::Test {
 protected:
  struct Shown {
    int c0, c1, c2, total;
    bool operator==(const Shown&) const = default;
  };

  std::unique_ptr<TLanguagePack> MakeEnglish(const std::vector<FixtureWord>& words, int buttons = 26) {
    buttons_ = std::make_unique<FakeButtons>(buttons);
    const QString path = dir_.filePath("ClientPsyEnglish.dat");
    test::WriteWordDatabase(path, words);
    return std::make_unique<TEnglishLanguage>(1, 26, path, buttons_->Pointers(), ClickAllowed(), AfterClick(),
                                              Counts(), TFillWord(FillWordTexts));
  }
  std::unique_ptr<TLanguagePack> MakeHebrew(const std::vector<FixtureWord>& words) {
    buttons_ = std::make_unique<FakeButtons>(22);
    const QString path = dir_.filePath("ClientPsyHebrew.dat");
    test::WriteWordDatabase(path, words);
    return std::make_unique<THebrewLanguage>(0, 22, path, buttons_->Pointers(), ClickAllowed(), AfterClick(),
                                             Counts(), TFillWord(FillWordTexts));
  }

  TLanguagePack::TClickAllowed ClickAllowed() {
    return [this](TLanguagePack&, ILetterButton* b) {
      asked_.push_back(b);
      return allow_;
    };
  }
  TLanguagePack::TAfterClick AfterClick() {
    return [this](TLanguagePack&, ILetterButton* b) { clicked_.push_back(b); };
  }
  TLanguagePack::TCountsCallback Counts() {
    return [this](TLanguagePack&, int c0, int c1, int c2, int t) { shown_.push_back({c0, c1, c2, t}); };
  }

  QTemporaryDir dir_;
  std::unique_ptr<FakeButtons> buttons_;
  bool allow_ = true;
  std::vector<ILetterButton*> asked_, clicked_;
  std::vector<Shown> shown_;
};

const std::vector<FixtureWord> kEnglishWords = {
    {1, 0, "apple", nullptr},  {2, 0, "to go", nullptr}, {3, 0, "Gate", nullptr},   {4, 0, "zebra", nullptr},
    {5, 0, "3D", nullptr},     {6, 0, " blank", nullptr}, {7, 0, "", nullptr},      {8, 0, "TO ", nullptr},
    {9, 0, "to be", "to be"},  {10, 0, "Be", "Be"},
};

TEST_F(LanguagePackTest, CreationLoadsTheWordsAndShowsZeroTotals) {
  auto pack = MakeEnglish(kEnglishWords);
  EXPECT_EQ(pack->WordList().Count(), 10);
  EXPECT_EQ(pack->LanguageId(), 1);
  EXPECT_EQ(pack->GetCode(), 20);
  EXPECT_EQ(pack->GetLastLetter(), 25);
  EXPECT_EQ(pack->GetFirstLetter(), 0);
  EXPECT_EQ(shown_, (std::vector<Shown>{{0, 0, 0, 0}}));
  EXPECT_EQ(pack->SelectedLetter(), -1);
}

TEST_F(LanguagePackTest, MissingDatabaseFailsTheCreation) {
  const QString path = dir_.filePath("none.dat");
  EXPECT_EQ(ErrorOf([&] { THebrewLanguage(0, 22, path, {}, {}, {}, {}, {}); }), "Failed to load file " + path);
}

TEST_F(LanguagePackTest, EnglishLetterIndexOfWords) {
  auto pack = MakeEnglish(kEnglishWords);
  const TWordList& list = pack->WordList();
  const struct {
    int id;
    int index;
  } cases[] = {
      {1, 0}, {2, 6}, {3, 6}, {4, 25}, {5, '3' - 'A'}, {6, ' ' - 'A'}, {7, -65}, {8, -65},
  };
  for (const auto& c : cases) {
    const int index = pack->GetLetterIndex(*list.FindById(c.id));
    EXPECT_EQ(index, c.index) << "word " << c.id;
  }
  for (int id : {5, 6, 7, 8}) EXPECT_FALSE(pack->IsLetter(pack->GetLetterIndex(*list.FindById(id))));
}

TEST_F(LanguagePackTest, HebrewLetterIndexCountsFromOne) {
  auto pack = MakeHebrew({{1, 1, "אבא", nullptr}, {2, 22, "תפוח", nullptr}});
  EXPECT_EQ(pack->GetLetterIndex(*pack->WordList().FindById(1)), 0);
  EXPECT_EQ(pack->GetLetterIndex(*pack->WordList().FindById(2)), 21);
  EXPECT_EQ(pack->GetCode(), 10);
  EXPECT_TRUE(pack->IsRightToLeft());
  EXPECT_TRUE(pack->IsMeaningRightToLeft());
  EXPECT_EQ(pack->GetLetterCaption(1), W("ב"));
  EXPECT_EQ(pack->GetLetterLabel(1), W("ב'"));
  EXPECT_EQ(pack->GetCardFontName(), "David");
  EXPECT_EQ(pack->GetCardSecondFontName(), "David");
}

TEST_F(LanguagePackTest, EnglishPackAnswers) {
  auto pack = MakeEnglish({});
  EXPECT_FALSE(pack->IsRightToLeft());
  EXPECT_TRUE(pack->IsMeaningRightToLeft());
  EXPECT_EQ(pack->GetCardFontName(), "Times New Roman");
  EXPECT_EQ(pack->GetCardSecondFontName(), "Times New Roman");
  EXPECT_EQ(pack->GetCardFontSize(), 10);
  EXPECT_EQ(pack->GetCardSecondFontSize(), 12);
  EXPECT_EQ(pack->GetLetterRemark(3), "");
  EXPECT_EQ(pack->GetLetterHint(3), "");
}

TEST_F(LanguagePackTest, FollowSupposedIsKeptPerLanguageCode) {
  auto he = MakeHebrew({});
  auto en = MakeEnglish({});
  TRegistryIniFile settings("Software\\Kestrani\\Zabkolex");
  EXPECT_EQ(he->ReadFollowSupposed(settings, -1), -1);
  he->WriteFollowSupposed(settings, 7);
  en->WriteFollowSupposed(settings, 3);
  EXPECT_EQ(he->ReadFollowSupposed(settings, -1), 7);
  EXPECT_EQ(settings.ReadInteger("Main", "FollowSupposed10", 0), 7);
  EXPECT_EQ(settings.ReadInteger("Main", "FollowSupposed20", 0), 3);
}

TEST_F(LanguagePackTest, AudioFolders) {
  auto he = MakeHebrew({});
  auto en = MakeEnglish({});
  const QStringList h = he->GetAudioFolders(), e = en->GetAudioFolders();
  ASSERT_EQ(h.size(), 22);
  EXPECT_EQ(h.first(), "Data\\Audio1");
  EXPECT_EQ(h.last(), "Data\\Audio22");
  ASSERT_EQ(e.size(), 26);
  EXPECT_EQ(e.first(), "Data\\AudioA");
  EXPECT_EQ(e.last(), "Data\\AudioZ");
}

TEST_F(LanguagePackTest, CountsAndStatusMoves) {
  auto pack = MakeEnglish({});
  for (int s = 0; s < 5; ++s) pack->SetCount(3, s, 10 + s);
  EXPECT_EQ(pack->GetCount(3, 4), 14);
  EXPECT_EQ(pack->GetLetterTotal(3), 10 + 11 + 12);  // statuses 3 and 4 are not summed

  shown_.clear();
  pack->MoveWord(3, 0, 2);
  EXPECT_EQ(pack->GetCount(3, 0), 9);
  EXPECT_EQ(pack->GetCount(3, 2), 13);
  ASSERT_EQ(shown_.size(), 1u);  // nothing selected: the totals of all letters
  EXPECT_EQ(shown_.back(), (Shown{9, 11, 13, 33}));

  // From an empty counter nothing moves and nothing is shown.
  pack->MoveWord(4, 1, 2);
  EXPECT_EQ(pack->GetCount(4, 1), 0);
  EXPECT_EQ(pack->GetCount(4, 2), 0);
  EXPECT_EQ(shown_.size(), 1u);
}

TEST_F(LanguagePackTest, LetterIndexesOutsideTheAlphabetAreChecked) {
  auto pack = MakeEnglish(kEnglishWords);
  pack->SetCount(0, 0, 5);
  for (int letter : {-65, -14, -1, 26, 1000}) {
    SCOPED_TRACE(letter);
    pack->SetCount(letter, 0, 7);
    pack->MoveWord(letter, 0, 1);
    EXPECT_EQ(pack->GetCount(letter, 0), 0);
    EXPECT_EQ(pack->GetLetterTotal(letter), 0);
    EXPECT_EQ(pack->LetterScore(letter), 100);
  }
  for (int status : {-1, 5}) {
    pack->SetCount(0, status, 3);
    EXPECT_EQ(pack->GetCount(0, status), 0);
    pack->MoveWord(0, 0, status);
    pack->MoveWord(0, status, 0);
  }
  EXPECT_EQ(pack->GetCount(0, 0), 5);
  shown_.clear();
  pack->RefreshCounts(26);
  EXPECT_EQ(shown_, (std::vector<Shown>{{0, 0, 0, 0}}));
  pack->SelectLetter(26);  // no such button: nothing happens
  pack->SelectLetter(-5);
  EXPECT_TRUE(asked_.empty());
}

constexpr int kMax = std::numeric_limits<int>::max();

TEST_F(LanguagePackTest, TotalsOfServerCountsDoNotOverflow) {
  auto pack = MakeEnglish({});
  for (int s = 0; s < 3; ++s) pack->SetCount(0, s, kMax);
  pack->SetCount(1, 0, kMax);
  pack->SetCount(2, 0, -kMax);
  pack->SetCount(2, 1, -kMax);
  EXPECT_EQ(pack->GetLetterTotal(0), kMax);
  EXPECT_EQ(pack->GetLetterTotal(2), std::numeric_limits<int>::min());
  shown_.clear();
  pack->RefreshCounts(-1);  // the sums over all letters
  pack->RefreshCounts(0);
  EXPECT_EQ(shown_, (std::vector<Shown>{{kMax, 0, kMax, kMax}, {kMax, kMax, kMax, kMax}}));
  // A word moving into a full counter is not counted twice over the edge.
  pack->MoveWord(0, 0, 1);
  EXPECT_EQ(pack->GetCount(0, 0), kMax);
  EXPECT_EQ(pack->GetCount(0, 1), kMax);
}

TEST_F(LanguagePackTest, Scores) {
  auto pack = MakeEnglish({});
  const struct {
    int c0, c1, c2, score;
  } cases[] = {{0, 0, 0, 100}, {0, 0, 4, 200}, {1, 1, 1, 100}, {3, 1, 0, 25}, {2, 0, 1, 66}, {5, 0, 0, 0},
               // Counts from the server as large as an int holds: the sums do not overflow.
               {kMax, kMax, kMax, 100}, {0, kMax, kMax, 150}, {kMax, 0, 1, 0},
               // Negative counts whose score leaves the range of an int stop at its edge.
               {-kMax, 2, kMax, kMax}};
  qint64 sum = 0;
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    const auto& c = cases[i];
    pack->SetCount(i, 0, c.c0);
    pack->SetCount(i, 1, c.c1);
    pack->SetCount(i, 2, c.c2);
    pack->SetCount(i, 3, 50);  // never part of a score
    EXPECT_EQ(pack->LetterScore(i), c.score) << i;
    sum += c.score;
  }
  sum += 100 * (26 - static_cast<int>(std::size(cases)));
  EXPECT_EQ(pack->AverageScore(), sum / 26);
}

TEST_F(LanguagePackTest, ClickFlowThroughTheButtons) {
  auto pack = MakeEnglish({});
  FakeButtons& b = *buttons_;
  pack->SetCount(2, 0, 1);
  pack->SetCount(2, 1, 2);
  pack->SetCount(2, 2, 3);
  pack->SetCount(5, 2, 7);
  shown_.clear();

  // A refused click changes nothing.
  allow_ = false;
  b[2].onClick();
  EXPECT_EQ(asked_, std::vector<ILetterButton*>{&b[2]});
  EXPECT_EQ(pack->SelectedLetter(), -1);
  EXPECT_TRUE(clicked_.empty());
  EXPECT_TRUE(shown_.empty());

  allow_ = true;
  b[5].down = true;  // a stale selection goes up
  b[2].onClick();
  EXPECT_EQ(pack->SelectedLetter(), 2);
  EXPECT_FALSE(b[5].down);
  EXPECT_EQ(clicked_, std::vector<ILetterButton*>{&b[2]});
  EXPECT_EQ(shown_.back(), (Shown{1, 2, 3, 6}));

  // Hovering shows the letter under the mouse; leaving shows the selected one again.
  b[5].onEnter();
  EXPECT_EQ(shown_.back(), (Shown{0, 0, 7, 7}));
  b[5].onLeave();
  EXPECT_EQ(shown_.back(), (Shown{1, 2, 3, 6}));

  pack->SelectLetter(5);
  EXPECT_EQ(pack->SelectedLetter(), 5);
  EXPECT_EQ(pack->IndexOfButton(&b[5]), 5);
  EXPECT_EQ(pack->IndexOfButton(nullptr), -1);

  pack->SelectLetter(-1);
  EXPECT_EQ(pack->SelectedLetter(), -1);
  EXPECT_EQ(shown_.back(), (Shown{1, 2, 10, 13}));
  b[7].onLeave();  // no selection: the totals
  EXPECT_EQ(shown_.back(), (Shown{1, 2, 10, 13}));

  // Handlers left on the buttons do nothing once the pack is gone.
  pack.reset();
  const std::size_t before = shown_.size();
  b[2].onClick();
  b[2].onEnter();
  b[2].onLeave();
  EXPECT_EQ(shown_.size(), before);
}

TEST_F(LanguagePackTest, AddWordsOfLettersKeepsWordListOrder) {
  auto pack = MakeEnglish(kEnglishWords);
  pack->WordList().FindById(3)->Known = true;
  const auto ids = [](const TWordItemList& list) {
    std::vector<int> out;
    for (const TWordItem& item : list) {
      EXPECT_EQ(item.Text, item.Word->Headword);
      out.push_back(item.Word->Id);
    }
    return out;
  };
  TWordItemList list;
  pack->AddWordsOfLetters(list, 6, 6, false);
  EXPECT_EQ(ids(list), (std::vector<int>{2, 3}));
  pack->AddWordsOfLetters(list, 0, 25, true);  // appends; known "Gate" skipped; no digit words
  EXPECT_EQ(ids(list), (std::vector<int>{2, 3, 1, 2, 4, 9, 10}));
}

TEST_F(LanguagePackTest, SortsAreStableInTheLanguageOrder) {
  auto en = MakeEnglish(kEnglishWords);
  const TWordList& words = en->WordList();
  TWordItemList items = {{"zebra", words.FindById(1)}, {"to be", words.FindById(2)}, {"Be", words.FindById(3)},
                         {"apple", words.FindById(4)}};
  en->SortTexts(items);
  QStringList texts;
  for (const TWordItem& i : items) texts << i.Text;
  EXPECT_EQ(texts, (QStringList{"apple", "to be", "Be", "zebra"}));

  // By headword: "to be" and "Be" tie and keep their order.
  TWordItemList byWord = {{"", words.FindById(10)}, {"", words.FindById(4)}, {"", words.FindById(9)},
                          {"", words.FindById(1)}};
  en->SortWords(byWord);
  std::vector<int> ids;
  for (const TWordItem& i : byWord) ids.push_back(i.Word->Id);
  EXPECT_EQ(ids, (std::vector<int>{1, 10, 9, 4}));

  auto he = MakeHebrew({{1, 2, "בית", nullptr}, {2, 1, "אָב", nullptr}, {3, 1, "אבא", nullptr}});
  TWordItemList heb = {{"", he->WordList().FindById(1)}, {"", he->WordList().FindById(3)},
                       {"", he->WordList().FindById(2)}};
  he->SortWords(heb);
  ids.clear();
  for (const TWordItem& i : heb) ids.push_back(i.Word->Id);
  EXPECT_EQ(ids, (std::vector<int>{2, 3, 1}));
}

}  // namespace
}  // namespace zabko
