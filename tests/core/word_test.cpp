// Integer lists and word records: meanings split and join, search matching, sort order, and the
// filling of a word from the word packets of both database formats.
#include "core/integer_list.h"
#include "core/word.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"

#include <gtest/gtest.h>

namespace zabko {
namespace {

QString W(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(IntegerListTest, AddGetPutAndAssign) {
  TIntegerList list;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Add(7), 0);
  EXPECT_EQ(list.Add(8), 1);
  EXPECT_EQ(list.Get(0), 7);
  list.Put(1, 9);
  EXPECT_EQ(list.Get(1), 9);

  TDataPacket source;
  for (int v : {3, 1, 2}) source.AddInteger(v);
  source.AddUTFString(W("kept"));
  list.Assign(&source);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Get(0), 3);
  EXPECT_EQ(list.Get(2), 2);
  EXPECT_EQ(list.Packet().GetUTFString(0), W("kept"));  // the whole packet is copied
  source.SetInteger(0, 99);
  EXPECT_EQ(list.Get(0), 3);  // a deep copy

  list.Assign(static_cast<const TAbstractDataPacket*>(nullptr));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.Get(0), Exception);
}

TEST(IntegerListTest, IndexOfFindsTheFirstEqualEntry) {
  TIntegerList list;
  EXPECT_EQ(list.IndexOf(0), -1) << "an empty list holds nothing, not even 0";
  EXPECT_FALSE(list.Contains(0));
  for (int v : {5, -3, 5, 0}) list.Add(v);
  EXPECT_EQ(list.IndexOf(5), 0);
  EXPECT_EQ(list.IndexOf(-3), 1);
  EXPECT_EQ(list.IndexOf(0), 3);
  EXPECT_EQ(list.IndexOf(4), -1);
  EXPECT_TRUE(list.Contains(0));
  EXPECT_FALSE(list.Contains(4));
}

TEST(WordMeaningsTest, SplitTrimsSpacesAndKeepsEmptyParts) {
  struct Case {
    const char* text;
    TArrOfStrings meanings;
  } cases[] = {
      {" a ; b ", {W("a"), W("b")}},
      {"", {W("")}},
      {"a;;b", {W("a"), W(""), W("b")}},
      {"a; b;", {W("a"), W("b"), W("")}},
      {"\ta ;b", {W("\ta"), W("b")}},
      {"לנטוש, לעזוב; זנח", {W("לנטוש, לעזוב"), W("זנח")}},
  };
  for (const Case& c : cases) {
    TWord w;
    w.Meanings = {W("old")};
    w.SetMeanings(W(c.text));
    EXPECT_EQ(w.Meanings, c.meanings) << c.text;
  }
}

TEST(WordMeaningsTest, JoinNumbersOnlySeveralMeanings) {
  struct Case {
    TArrOfStrings meanings;
    bool numbered;
    const char* line;
    const char* text;
  } cases[] = {
      {{W("a"), W("b"), W("c")}, true, "1. a; 2. b; 3. c", "1. a\r\n2. b\r\n3. c"},
      {{W("a"), W("b")}, false, "a; b", "a\r\nb"},
      {{W("a")}, true, "a", "a"},
      {{}, true, "", ""},
  };
  for (const Case& c : cases) {
    TWord w;
    w.Meanings = c.meanings;
    w.NumberMeanings = c.numbered;
    EXPECT_EQ(w.MeaningsLine(), W(c.line));
    EXPECT_EQ(w.MeaningsText(), W(c.text));
  }
  TWord w;
  w.Meanings = {W("x"), W("y")};
  w.JoinChar = u',';
  EXPECT_EQ(w.MeaningsLine(), W("x, y"));
}

TEST(WordMeaningsTest, PickMeaningTakesOnePartOfOneMeaning) {
  TWord w;
  w.SetMeanings(W("big, large ; huge"));
  // First draw picks the meaning, second the part within it.
  std::vector<int> draws{0, 1};
  size_t next = 0;
  auto scripted = [&](int) { return draws[next++ % draws.size()]; };
  EXPECT_EQ(w.PickMeaning(scripted), W("large"));
  draws = {1, 0};
  next = 0;
  EXPECT_EQ(w.PickMeaning(scripted), W("huge"));
  for (int i = 0; i < 50; ++i) {
    const QString picked = w.PickMeaning();
    EXPECT_TRUE(picked == W("big") || picked == W("large") || picked == W("huge")) << picked.toStdString();
  }
  w.PickWholeLine = true;
  EXPECT_EQ(w.PickMeaning(), W("big, large; huge"));
}

TEST(WordMatchTest, SearchTextAndMeaningsIgnoringCase) {
  TWord w;
  w.SearchText = W("apple");
  w.SetMeanings(W("תפוח; Fruit"));
  EXPECT_TRUE(w.Matches(W("APP")));
  EXPECT_TRUE(w.Matches(W("fru")));
  EXPECT_TRUE(w.Matches(W("תפו")));
  EXPECT_FALSE(w.Matches(W("pear")));
  EXPECT_TRUE(w.Matches(QString()));
}

std::unique_ptr<TWord> Keyed(std::initializer_list<int> keys, const char* headword) {
  auto w = std::make_unique<TWord>();
  for (int k : keys) w->SortKeys.Add(k);
  w->Headword = W(headword);
  return w;
}

TEST(WordOrderTest, KeysThenHebrewHeadword) {
  auto none = Keyed({}, "ז");
  auto none2 = Keyed({}, "א");
  auto five = Keyed({5}, "ב");
  auto fiveEarlier = Keyed({5}, "א ב");
  auto seven = Keyed({7}, "א");
  EXPECT_EQ(none->Compare(*none2), 0);
  EXPECT_EQ(none->Compare(*five), -1);
  EXPECT_EQ(five->Compare(*none), 1);
  EXPECT_EQ(five->Compare(*seven), -1);
  EXPECT_EQ(seven->Compare(*five), 1);
  EXPECT_EQ(fiveEarlier->Compare(*five), -1);
  EXPECT_EQ(CompareWordItems(five.get(), fiveEarlier.get()), 1);
  // Headwords without Hebrew letters tie; points and Latin letters do not count.
  EXPECT_EQ(Keyed({5}, "abc")->Compare(*Keyed({5}, "xyz")), 0);
  EXPECT_EQ(Keyed({5}, "שָׁלוֹם")->Compare(*Keyed({5}, "שלום")), 0);
  EXPECT_EQ(CompareItemTexts(W("apple"), W("APPLE")), 0);
  EXPECT_LT(CompareItemTexts(W("apple"), W("banana")), 0);
}

// A word packet of either format with the five texts at UTFStrings[0..4].
TDataPacket* AddTexts(TDataPacket* p, const char* meanings) {
  p->AddUTFString(W("apple"));
  p->AddUTFString(W(meanings));
  p->AddUTFString(W("Apple-alt"));
  p->AddUTFString(W("apple"));
  p->AddUTFString(W("Apple"));
  return p;
}

TEST(WordLoadTest, Format1000) {
  TDataPacket p;
  AddTexts(&p, "תפוח; פרי");
  for (int v : {1234, 5000, 700}) p.AddInteger(v);
  p.AddNewPacket()->AddInteger(12);
  p.AddNewPacket()->AddInteger(99);  // further sub-packets are not read
  TWord w;
  w.LetterNumber = 4;
  w.LoadFromPacket(p);
  EXPECT_EQ(w.Id, 1234);
  EXPECT_EQ(w.Text, W("apple"));
  EXPECT_EQ(w.AltText, W("Apple-alt"));
  EXPECT_EQ(w.Headword, W("Apple"));
  EXPECT_EQ(w.Meanings, (TArrOfStrings{W("תפוח"), W("פרי")}));
  EXPECT_EQ(w.MainSound, (TWordFile{"1234.mp3", 5000}));
  ASSERT_EQ(w.ExtraSounds.size(), 1u);
  EXPECT_EQ(w.ExtraSounds[0], (TWordFile{"1234a.mp3", 700}));
  EXPECT_EQ(w.ExtraAudioTotal(), 700);
  ASSERT_EQ(w.SortKeys.Count(), 1);
  EXPECT_EQ(w.SortKeys.Get(0), 12);
  EXPECT_EQ(w.LetterNumber, 4);  // left as it was
  EXPECT_FALSE(w.NumberMeanings);
}

// A format 3010 word packet with a files packet of the given names and lengths.
std::unique_ptr<TDataPacket> Word3010(std::vector<std::pair<QByteArray, int>> files,
                                      bool examples) {
  auto p = std::make_unique<TDataPacket>();
  p->AddInteger(77);
  p->AddInteger(3);
  p->AddNewPacket()->AddInteger(21);
  TDataPacket* f = p->AddNewPacket();
  for (const auto& [name, length] : files) {
    f->AddString(name);
    f->AddInteger(length);
  }
  if (examples) {
    TDataPacket* g = f->AddNewPacket();
    g->AddString("ex1");
    g->AddInteger(1);
    g->AddString("ex2");
    g->AddInteger(2);
  }
  AddTexts(p.get(), "a; b");
  return p;
}

TEST(WordLoadTest, Format3010FilesAndFilling) {
  auto p = Word3010({{"w", 10}, {"x", 20}, {"y", 30}}, false);
  TWord w;
  w.ExampleSound1.Name = "stale";
  w.NewLoad(*p, {});
  EXPECT_EQ(w.Id, 77);
  EXPECT_EQ(w.LetterNumber, 3);
  EXPECT_EQ(w.MainSound, (TWordFile{"w", 10}));
  EXPECT_EQ(w.ExtraSounds, (std::vector<TWordFile>{{"x", 20}, {"y", 30}}));
  EXPECT_EQ(w.ExtraAudioTotal(), 50);
  EXPECT_TRUE(w.ExampleSound1.Name.isEmpty());
  EXPECT_TRUE(w.ExampleSound2.Name.isEmpty());
  EXPECT_EQ(w.SortKeys.Get(0), 21);
  EXPECT_TRUE(w.Text.isEmpty());  // texts come only from the filling

  TWord filled;
  filled.NewLoad(*Word3010({{"w", 10}, {"x", 20}, {"y", 30}}, true), FillWordWithMp3Names);
  EXPECT_EQ(filled.MainSound.Name, QByteArray("w.mp3"));
  EXPECT_EQ(filled.ExtraSounds[0].Name, QByteArray("x.mp3"));
  EXPECT_EQ(filled.ExtraSounds[1].Name, QByteArray("y.mp3"));
  EXPECT_EQ(filled.ExampleSound1, (TWordFile{"ex1", 1}));  // example sounds keep their names
  EXPECT_EQ(filled.ExampleSound2, (TWordFile{"ex2", 2}));
  EXPECT_EQ(filled.Text, W("apple"));
  EXPECT_TRUE(filled.NumberMeanings);
  EXPECT_FALSE(filled.PickWholeLine);
  EXPECT_EQ(filled.MeaningsLine(), W("1. a; 2. b"));
}

TEST(WordLoadTest, MissingEntriesFailInsteadOfCrashing) {
  auto noFiles = std::make_unique<TDataPacket>();
  noFiles->AddInteger(1);
  noFiles->AddInteger(1);
  noFiles->AddNewPacket();
  TWord w;
  EXPECT_THROW(w.NewLoad(*noFiles, FillWordTexts), Exception);
  // A files packet with more lengths than names.
  auto p = Word3010({{"w", 10}}, false);
  p->GetPacket(1)->AddInteger(5);
  EXPECT_THROW(w.NewLoad(*p, FillWordTexts), Exception);
  TDataPacket short1000;
  short1000.AddUTFString(W("only one text"));
  EXPECT_THROW(w.LoadFromPacket(short1000), Exception);
}

}  // namespace
}  // namespace zabko
