#include "learn/views/sorter_rules.h"

#include "core/word.h"
#include "platform/registry_ini_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zabko {
namespace {

std::vector<std::unique_ptr<TWord>> MakeWords(int n) {
  std::vector<std::unique_ptr<TWord>> words;
  for (int i = 0; i < n; ++i) {
    words.push_back(std::make_unique<TWord>());
    words.back()->Id = i + 1;
  }
  return words;
}

QList<TWord*> Pointers(const std::vector<std::unique_ptr<TWord>>& words) {
  QList<TWord*> list;
  for (const auto& w : words) list.append(w.get());
  return list;
}

TEST(SorterRules, PagesByWordCount) {
  struct Case {
    int words, pages, lastPageRows;
  };
  for (const Case c : {Case{0, 0, 0}, Case{8, 1, 8}, Case{9, 2, 1}, Case{17, 3, 1}}) {
    auto words = MakeWords(c.words);
    TSorterModel m;
    m.LoadLetter(0, Pointers(words), 99);
    EXPECT_EQ(m.PageCount(), c.pages) << c.words;
    EXPECT_EQ(m.Page(), 0) << "a saved page beyond the letter restarts at 0";
    while (m.Next()) {
    }
    EXPECT_EQ(m.RowWords().size(), c.lastPageRows) << c.words;
    const int last = m.Page();
    EXPECT_FALSE(m.Next());
    EXPECT_EQ(m.Page(), last);
    const TPageButtons b = SorterPageButtons(m.Page(), m.PageCount(), false);
    EXPECT_FALSE(b.NextEnabled) << c.words;
    EXPECT_EQ(b.NextY, kPageButtonDisabledY);
    EXPECT_EQ(b.PrevEnabled, c.pages > 1);
  }
}

TEST(SorterRules, PageButtonsTradeInLeftToRight) {
  const TPageButtons rtl = SorterPageButtons(0, 3, false);
  EXPECT_FALSE(rtl.PrevEnabled);
  EXPECT_TRUE(rtl.NextEnabled);
  EXPECT_EQ(rtl.PrevY, 51);
  EXPECT_EQ(rtl.NextY, 0);
  const TPageButtons ltr = SorterPageButtons(0, 3, true);
  EXPECT_TRUE(ltr.PrevEnabled);
  EXPECT_FALSE(ltr.NextEnabled);
  const TPageButtons none = SorterPageButtons(0, 0, false);
  EXPECT_FALSE(none.PrevEnabled || none.NextEnabled);
}

TEST(SorterRules, PendingListOrderAndFlushKinds) {
  auto words = MakeWords(12);
  TSorterModel m;
  m.LoadLetter(0, Pointers(words), 0);
  m.SetWordKnown(words[8].get(), true);   // id 9
  m.SetWordKnown(words[9].get(), true);   // id 10
  m.SetWordKnown(words[1].get(), true);   // id 2
  m.SetWordKnown(words[1].get(), false);  // id 2 again: one entry, its mark now clear
  m.SetWordKnown(nullptr, true);
  EXPECT_EQ(m.Pending().Count(), 3);
  std::vector<std::pair<qint32, quint8>> flushed;
  m.Pending().Flush([&](qint32 id, quint8 kind) { flushed.emplace_back(id, kind); });
  EXPECT_EQ(flushed, (std::vector<std::pair<qint32, quint8>>{{10, 3}, {2, 4}, {9, 3}}));
  EXPECT_EQ(m.Pending().Count(), 0);
}

TEST(SorterRules, SummaryCollectsMarkedWords) {
  auto words = MakeWords(20);
  for (int i : {1, 3, 4, 6, 8, 10, 12, 14, 16}) words[i]->Known = true;
  TSorterModel m;
  m.LoadLetter(0, Pointers(words), 1);
  EXPECT_TRUE(m.SetSummary(true));
  EXPECT_FALSE(m.SetSummary(true));
  EXPECT_EQ(m.Marked().size(), 9);
  EXPECT_TRUE(m.SummaryScrolls());
  EXPECT_EQ(m.SummaryScrollMax(), 1);
  m.SetSummaryScroll(1);
  EXPECT_EQ(m.RowWords().first()->Id, 4);
  words[16]->Known = false;
  m.SetSummary(false);
  m.SetSummary(true);
  EXPECT_FALSE(m.SummaryScrolls()) << "eight marked words fit one page";
}

TEST(SorterRules, LayoutRoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  // (370 - 30 - 50) / 8 = 36.25: tops 30, 66.25 -> 66, 102.5 -> 102, 138.75 -> 139 ...
  const TSorterLayout l = SorterLayout(370, 30, 0, false);
  EXPECT_EQ(l.ShapeTops[0], 30);
  EXPECT_EQ(l.ShapeTops[1], 66);
  EXPECT_EQ(l.ShapeTops[2], 102);
  EXPECT_EQ(l.ShapeTops[3], 139);
  EXPECT_EQ(l.RowTops[0], 31);
  EXPECT_EQ(l.RowHeight, 34);
  EXPECT_EQ(l.ScrollTop, 66);
  EXPECT_EQ(l.ScrollHeight, 290);
  // Summary: measured from the second separator, rows one separator lower.
  const TSorterLayout s = SorterLayout(370, 30, 66, true);
  EXPECT_EQ(s.ShapeTops[1], 30 + RoundHalfEven(294 / 8.0));
  EXPECT_EQ(s.RowTops[0], s.ShapeTops[1] + 1);
}

TEST(SorterRules, SavedPagePerPackWithOldKeyFallback) {
  TRegistryIniFile settings(QStringLiteral("Software\\Kestrani\\Zabkolex"));
  settings.EraseSection("Filter");
  settings.WriteInteger("Filter", "L3", 2);
  EXPECT_EQ(ReadSorterPage(settings, 20, 3), 2);
  EXPECT_EQ(ReadSorterPage(settings, 10, 3), 2);
  WriteSorterPage(settings, 20, 3, 1);
  EXPECT_EQ(settings.ReadInteger("Filter", "L20_3", -1), 1);
  EXPECT_EQ(ReadSorterPage(settings, 20, 3), 1);
  EXPECT_EQ(ReadSorterPage(settings, 10, 3), 2) << "the other pack keeps its own";
}

}  // namespace
}  // namespace zabko
