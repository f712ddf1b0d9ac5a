// CD production: packing words into tracks and tracks into discs, as a table of word sets, and
// one run that writes its tracks.
#include "tests/audio/prod_fixture.h"

#include <QList>

namespace zabko {
namespace {

// A word of the splitting table: its first letter, its subject (0 for none) and its cost.
struct W {
  const char* search;
  int subject;
  qint64 cost;
};

struct SplitCase {
  const char* name;
  int tracksBy;
  int sortKind;
  std::vector<W> words;
  QStringList names;           // the tracks' names
  QList<int> wordsPerTrack;    // the words of each track
};

std::vector<W> Many(int n, const char* search = "a", qint64 cost = 10000, int subject = 1) {
  return std::vector<W>(static_cast<std::size_t>(n), W{search, subject, cost});
}

QStringList Tracks(int n, const QString& folder = QString()) {
  QStringList names;
  for (int k = 1; k <= n; ++k) names << folder + QStringLiteral("Track %1.mp3").arg(k, 2, 10, QChar(u'0'));
  return names;
}

std::vector<SplitCase> SplitCases() {
  std::vector<SplitCase> cases;
  cases.push_back({"five words a track", 1, 0, Many(12), Tracks(3), {5, 5, 2}});
  cases.push_back({"forty words a track", 5, 0, Many(41), Tracks(2), {40, 1}});
  cases.push_back({"a and A are one letter", 0, 0,
                   {{"apple", 1, 10000}, {"Ant", 1, 10000}, {"bee", 1, 10000}, {"", 1, 10000}, {"", 1, 10000}},
                   Tracks(3), {2, 1, 2}});
  cases.push_back({"words without subject stay together", 0, 1,
                   {{"a", 0, 10000}, {"b", 0, 10000}, {"c", 7, 10000}, {"d", 7, 10000}, {"e", 8, 10000}},
                   Tracks(3), {2, 2, 1}});
  // 2,000,000 + 2,379,999 fill one disc; the next word starts a track on a new disc.
  cases.push_back({"a full disc", 0, 0, {{"a", 1, 2000000}, {"a", 1, 2379999}}, Tracks(1), {2}});
  cases.push_back({"one word more than a full disc", 0, 0, {{"a", 1, 2000000}, {"a", 1, 2379999}, {"a", 1, 4573}},
                   {"CD 1/Track 01.mp3", "CD 2/Track 01.mp3"}, {2, 1}});
  // Filled as two discs, but 4,380,000 together still fit one when tracks are dealt.
  cases.push_back({"exactly 4,380,000", 0, 0, {{"a", 1, 4375000}, {"a", 1, 5000}}, Tracks(2), {1, 1}});
  cases.push_back({"4,380,001", 0, 0, {{"a", 1, 4375000}, {"a", 1, 5001}},
                   {"CD 1/Track 01.mp3", "CD 2/Track 01.mp3"}, {1, 1}});
  cases.push_back({"a word bigger than a disc", 0, 0, {{"a", 1, 10000}, {"a", 1, 5000000}, {"a", 1, 10000}},
                   {"CD 1/Track 01.mp3", "CD 2/Track 01.mp3", "CD 3/Track 01.mp3"}, {1, 1, 1}});
  {
    // 100 small tracks fit one disc by size, not by count.
    SplitCase c{"100 tracks", 0, 1, {}, Tracks(99, "CD 1/") + Tracks(1, "CD 2/"), {}};
    for (int i = 0; i < 100; ++i) {
      c.words.push_back({"a", i + 1, 10000});
      c.wordsPerTrack << 1;
    }
    cases.push_back(c);
  }
  return cases;
}

TEST(ProdCDSplit, WordsIntoTracksAndTracksIntoDiscs) {
  for (const SplitCase& c : SplitCases()) {
    SCOPED_TRACE(c.name);
    std::vector<std::unique_ptr<TWord>> words;
    TWordItemList items;
    for (const W& w : c.words) {
      auto word = std::make_unique<TWord>();
      word->SearchText = QString::fromUtf8(w.search);
      if (w.subject) word->SortKeys.Add(w.subject);
      // The main sound carries the cost less the silences, split with one extra sound.
      word->MainSound.Length = static_cast<qint32>(w.cost - kWordSilenceCost - 1);
      word->ExtraSounds.push_back({"x", 1});
      EXPECT_EQ(TProdCD::WordCost(*word), w.cost);
      items.append({word->SearchText, word.get()});
      words.push_back(std::move(word));
    }
    TProdCD cd{TProdServices{}};
    cd.SetTracksBy(c.tracksBy);
    cd.SetSortKind(c.sortKind);
    cd.BuildTracks(items);
    QStringList names;
    QList<int> counts;
    qint64 total = 0;
    for (const auto& track : cd.Files()) {
      names << track->Name;
      counts << static_cast<int>(track->Words.size());
      total += TProdCD::TrackCost(*track);
    }
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(counts, c.wordsPerTrack);
    qint64 expected = 0;
    for (const W& w : c.words) expected += w.cost;
    EXPECT_EQ(total, expected);
    // Every word once, in order.
    std::size_t at = 0;
    for (const auto& track : cd.Files()) {
      for (const TWord* w : track->Words) EXPECT_EQ(w, words[at++].get());
    }
    EXPECT_EQ(at, words.size());
  }
}

TEST(ProdCDSplit, TracksByChoicesAndUnknownValues) {
  const std::pair<int, int> cases[] = {{1, 5}, {2, 10}, {3, 20}, {4, 30}, {5, 40}, {0, INT_MAX}, {6, INT_MAX}};
  for (const auto& [choice, words] : cases) {
    TProdCD cd{TProdServices{}};
    cd.SetTracksBy(choice);
    EXPECT_EQ(cd.WordsPerTrack(), words) << choice;
  }
}

using ProdCDTest = test::ProdFixture;

TEST_F(ProdCDTest, TracksHoldTheirWordsOneAfterAnotherAndNoPlayLists) {
  WriteWords({{"ant", "x", 11}, {"bat", "", 11}, {"bee", "y", 11}});
  Word("bat").ExtraSounds.clear();
  WriteSounds();
  TProdCD cd(Services());
  cd.SetWordList(Items());
  cd.SetTracksBy(0);
  cd.SetOutputFolder(Out());
  cd.Produce();

  EXPECT_EQ(Tree(Dated()), (QStringList{"Track 01.mp3", "Track 02.mp3"}));
  const QByteArray ant = QByteArray::number(Word("ant").Id);
  const QByteArray bat = QByteArray::number(Word("bat").Id);
  const QByteArray bee = QByteArray::number(Word("bee").Id);
  EXPECT_EQ(Read(Dated() + "Track 01.mp3"), "[m" + ant + "]<S>[e" + ant + ".0]<L>");
  EXPECT_EQ(Read(Dated() + "Track 02.mp3"), "[m" + bat + "]<S><L>[m" + bee + "]<S>[e" + bee + ".0]<L>");
  ASSERT_EQ(runner_.runs.size(), 1u);
  EXPECT_EQ(runner_.runs[0].caption, texts_.GetString("Audio.Mp3Caption"));
  EXPECT_EQ(runner_.runs[0].steps, 3 + 5);
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].caption, texts_.GetString("OutputDiscCaption"));
  EXPECT_EQ(opened_, QStringList{Dated()});
}

TEST_F(ProdCDTest, DiscFoldersAreMadeBeforeTheTracksAreWritten) {
  WriteWords({{"ant", "x", 11}, {"bat", "x", 11}});
  for (const char* w : {"ant", "bat"}) Word(w).MainSound.Length = 3000000;
  WriteSounds();
  TProdCD cd(Services());
  cd.SetWordList(Items());
  cd.SetOutputFolder(Out());
  cd.Produce();
  EXPECT_EQ(Tree(Dated()), (QStringList{"CD 1/Track 01.mp3", "CD 2/Track 01.mp3"}));
}

}  // namespace
}  // namespace zabko
