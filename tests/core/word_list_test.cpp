// Word databases of both formats through TWordList: loading, lookups by id, index and search
// text, random words, subject names and counts, and the failures of a bad database.
#include "core/word_list.h"
#include "platform/code_page.h"
#include "platform/exception.h"
#include "platform/stream.h"
#include "tests/common/test_util.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace zabko {
namespace {

QString W(const char* utf8) { return QString::fromUtf8(utf8); }

struct WordSpec {
  int id;
  const char* search;
  const char* meanings;
  int subject;
};

const WordSpec kWords[] = {
    {20, "apple", "תפוח", 11}, {9, "banana", "בננה", 12}, {100, "cherry", "דובדבן", 11},
    {-3, "Date", "תמר", 12},   {20, "apple", "שני", 11},
};

// The subject-counts packet: Packets[level] with Integers = subject ids, and per subject an entry
// with Packets[0] = sub-subject ids and Packets[1] = counts.
void AddSubjectCounts(TDataPacket* counts) {
  TDataPacket* level0 = counts->AddNewPacket();
  level0->AddInteger(1);
  TDataPacket* entry = level0->AddNewPacket();
  TDataPacket* ids = entry->AddNewPacket();
  TDataPacket* numbers = entry->AddNewPacket();
  ids->AddInteger(11);
  numbers->AddInteger(14);
  ids->AddInteger(12);
  numbers->AddInteger(3);
  TDataPacket* level1 = counts->AddNewPacket();
  level1->AddInteger(2);
  TDataPacket* entry2 = level1->AddNewPacket();
  entry2->AddNewPacket()->AddInteger(12);
  entry2->AddNewPacket()->AddInteger(40);
}

void AddTexts(TDataPacket* w, const WordSpec& s) {
  w->AddUTFString(W(s.search));
  w->AddUTFString(W(s.meanings));
  w->AddUTFString(W(s.search));
  w->AddUTFString(W(s.search));
  w->AddUTFString(W(s.search));
}

std::unique_ptr<TDataPacket> Database3010() {
  auto db = std::make_unique<TDataPacket>();
  db->AddInteger(3010);
  db->AddNewPacket();
  TDataPacket* subjects = db->AddNewPacket();
  for (auto [id, name, alt] : {std::tuple{11, "טבע", "Nature"}, std::tuple{12, "חברה", "Society"},
                               std::tuple{1, "כללי", "General"}, std::tuple{2, "", ""}}) {
    TDataPacket* s = subjects->AddNewPacket();
    s->AddInteger(id);
    s->AddUTFString(W(name));
    s->AddUTFString(W(alt));
  }
  AddSubjectCounts(db->AddNewPacket());
  TDataPacket* words = db->AddNewPacket();
  for (const WordSpec& s : kWords) {
    TDataPacket* w = words->AddNewPacket();
    w->AddInteger(s.id);
    w->AddInteger(1);
    w->AddNewPacket()->AddInteger(s.subject);
    TDataPacket* files = w->AddNewPacket();
    files->AddString(QByteArray::number(s.id));
    files->AddInteger(1000);
    AddTexts(w, s);
  }
  return db;
}

std::unique_ptr<TDataPacket> Database1000() {
  auto db = std::make_unique<TDataPacket>();
  db->AddInteger(1000);
  TDataPacket* subjects = db->AddNewPacket();
  subjects->AddInteger(11);
  subjects->AddString(test::FromHex("E8 E1 F2"));  // old Hebrew coding
  subjects->AddInteger(12);
  subjects->AddString("Society");
  TDataPacket* alt = db->AddNewPacket();
  alt->AddInteger(11);
  alt->AddString(WideToCp1255(W("טבע")));
  AddSubjectCounts(db->AddNewPacket());
  TDataPacket* words = db->AddNewPacket();
  for (const WordSpec& s : kWords) {
    TDataPacket* w = words->AddNewPacket();
    AddTexts(w, s);
    w->AddInteger(s.id);
    w->AddInteger(500);
    w->AddInteger(50);
    w->AddNewPacket()->AddInteger(s.subject);
  }
  return db;
}

void Load(TWordList& list, const TDataPacket& db) {
  TMemoryStream stream(db.SaveToBytes());
  list.LoadFromStream(stream);
}

QString MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return QStringLiteral("(no exception)");
}

class WordListFormatTest : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    Load(list_, GetParam() == 1000 ? *Database1000() : *Database3010());
  }
  TWordList list_{FillWordWithMp3Names};
};

TEST_P(WordListFormatTest, IndexesAndLookups) {
  ASSERT_EQ(list_.Count(), 5);
  for (int i = 0; i < list_.Count(); ++i) {
    TWord* w = list_.GetWord(i);
    EXPECT_EQ(w->Index, i);
    EXPECT_EQ(w->Id, kWords[i].id);
    if (i != 4) {
      EXPECT_EQ(list_.FindById(w->Id), w);  // 4 shares id 20 with 0
    }
  }
  EXPECT_EQ(list_.FindById(20)->Index, 0);
  EXPECT_EQ(list_.FindById(9)->SearchText, W("banana"));
  EXPECT_EQ(list_.FindById(-3)->SearchText, W("Date"));
  EXPECT_EQ(list_.FindById(10), nullptr);
  EXPECT_EQ(list_.FindById(1), nullptr);
  EXPECT_EQ(list_.FindByText(W("APPLE")), list_.GetWord(0));  // the first in database order
  EXPECT_EQ(list_.FindByText(W("date")), list_.GetWord(3));
  EXPECT_EQ(list_.FindByText(W("dat")), nullptr);
  EXPECT_THROW(list_.GetWord(5), Exception);
  EXPECT_THROW(list_.GetWord(-1), Exception);
  EXPECT_EQ(list_.GetWord(2)->SortKeys.Get(0), 11);
}

TEST_P(WordListFormatTest, SoundNamesFollowTheFormat) {
  const TWord* w = list_.FindById(100);
  EXPECT_EQ(w->MainSound.Name, QByteArray("100.mp3"));
  if (GetParam() == 1000) {
    EXPECT_EQ(w->ExtraSounds.at(0).Name, QByteArray("100a.mp3"));
    EXPECT_EQ(w->MainSound.Length, 500);
  } else {
    EXPECT_TRUE(w->ExtraSounds.empty());
    EXPECT_EQ(w->MainSound.Length, 1000);
  }
}

TEST_P(WordListFormatTest, SubjectNamesAndCounts) {
  EXPECT_EQ(list_.GetSubjectName(11), W("טבע"));
  EXPECT_EQ(list_.GetSubjectAltName(11), GetParam() == 1000 ? W("טבע") : W("Nature"));
  EXPECT_TRUE(list_.HasSubject(12));
  EXPECT_FALSE(list_.HasSubject(17));
  EXPECT_EQ(MessageOf([&] { list_.GetSubjectName(17); }), W("Failed with id 17"));
  EXPECT_EQ(MessageOf([&] { list_.GetSubjectAltName(17); }), W("Failed with id 17"));

  TSubjectCountList counts{{W("kept"), 1}};
  list_.GetSubjectCounts(0, 1, counts);
  EXPECT_EQ(counts, (TSubjectCountList{{W("kept"), 1}, {W("11"), 14}, {W("12"), 3}}));
  counts.clear();
  list_.GetSubjectCounts(1, 2, counts);
  EXPECT_EQ(counts, (TSubjectCountList{{W("12"), 40}}));
  for (auto [level, subject] : {std::pair{-1, 1}, std::pair{2, 1}, std::pair{0, 2}}) {
    counts.clear();
    list_.GetSubjectCounts(level, subject, counts);
    EXPECT_TRUE(counts.isEmpty()) << level << " " << subject;
  }
}

INSTANTIATE_TEST_SUITE_P(BothFormats, WordListFormatTest, testing::Values(1000, 3010));

TEST(WordListTest, Format1000SubjectNamesInOldCoding) {
  TWordList list;
  Load(list, *Database1000());
  EXPECT_EQ(list.GetSubjectName(11), W("טבע"));
  EXPECT_EQ(list.GetSubjectName(12), W("Society"));
  // The second table has no name for 12.
  EXPECT_EQ(MessageOf([&] { list.GetSubjectAltName(12); }), W("Failed with id 12"));
  EXPECT_EQ(list.GetWord(0)->Meanings, TArrOfStrings{W("תפוח")});
}

TEST(WordListTest, Format3010EmptyNamesFail) {
  TWordList list;
  Load(list, *Database3010());
  EXPECT_EQ(MessageOf([&] { list.GetSubjectName(2); }), W("Failed with id 2"));
  EXPECT_EQ(MessageOf([&] { list.GetSubjectAltName(2); }), W("Failed with id 2"));
  EXPECT_TRUE(list.GetWord(0)->Text.isEmpty());  // no filling given
}

TEST(WordListTest, RandomWordReachesEveryWord) {
  TWordList list;
  EXPECT_EQ(list.RandomWord(), nullptr);
  Load(list, *Database3010());
  EXPECT_EQ(list.RandomWord([](int count) { return count - 1; }), list.GetWord(4));
  EXPECT_EQ(list.RandomWord([](int) { return 99; }), list.GetWord(4));  // kept in range
  std::set<int> seen;
  for (int i = 0; i < 500 && seen.size() < 5; ++i) seen.insert(list.RandomWord()->Index);
  EXPECT_EQ(seen.size(), 5u);
}

TEST(WordListTest, BadDatabasesFailAndKeepTheList) {
  TWordList list;
  Load(list, *Database3010());

  auto wrongFormat = Database3010();
  wrongFormat->SetInteger(0, 2000);
  auto noWords = Database3010();
  noWords->DeletePacket(3);
  auto badWord = Database3010();
  badWord->GetPacket(3)->GetPacket(2)->DeletePacket(1);  // files packet missing
  auto badCounts = Database3010();
  badCounts->GetPacket(2)->GetPacket(0)->GetPacket(0)->GetPacket(1)->DeleteInteger(1);
  auto badSubject = Database3010();
  badSubject->GetPacket(1)->GetPacket(0)->DeleteUTFString(1);
  auto old = Database1000();
  old->DeletePackets(2, 2);
  TDataPacket empty;

  struct Case {
    const char* name;
    const TDataPacket* db;
    const char* message;
  } cases[] = {
      {"format 2000", wrongFormat.get(), "Invalid DB format"},
      {"empty packet", &empty, "Invalid DB format"},
      {"no words", noWords.get(), "List index out of bounds (3)"},
      {"word without files", badWord.get(),
       "Invalid word at position 2: List index out of bounds (1)"},
      {"short counts", badCounts.get(), "Invalid subject counts at level 0"},
      {"subject without second name", badSubject.get(), "List index out of bounds (1)"},
      {"1000 without all tables", old.get(), "List index out of bounds (2)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MessageOf([&] { Load(list, *c.db); }), W(c.message)) << c.name;
    EXPECT_EQ(list.Count(), 5) << c.name;
    EXPECT_EQ(list.GetSubjectAltName(11), W("Nature")) << c.name;
  }
  // A broken binary form.
  TMemoryStream garbage(QByteArray("not a packet at all"));
  EXPECT_THROW(list.LoadFromStream(garbage), Exception);
  EXPECT_EQ(list.Count(), 5);
}

TEST(WordListTest, LoadFromFileReplacesEveryFailure) {
  QTemporaryDir dir;
  const QString good = dir.filePath(W("ClientPsyEnglish.dat"));
  Database3010()->SaveToFile(good);
  TWordList list(FillWordTexts);
  list.LoadFromFile(good);
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.GetWord(1)->Text, W("banana"));

  const QString bad = dir.filePath(W("מילים.dat"));
  auto wrongFormat = Database3010();
  wrongFormat->SetInteger(0, 2000);
  wrongFormat->SaveToFile(bad);
  for (const QString& name : {bad, dir.filePath(W("missing.dat"))})
    EXPECT_EQ(MessageOf([&] { list.LoadFromFile(name); }), W("Failed to load file ") + name);
}

}  // namespace
}  // namespace zabko
