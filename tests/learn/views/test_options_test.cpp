#include "learn/views/test_options.h"

#include "platform/registry_ini_file.h"
#include "tests/common/test_util.h"

#include <gtest/gtest.h>

namespace zabko {
namespace {

class OptionsValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const QString& s : settings.ReadSections()) settings.EraseSection(s);
  }
  TRegistryIniFile settings{QStringLiteral("Software\\Kestrani\\Zabkolex")};
};

TEST_F(OptionsValuesTest, FreshDefaultsInEveryMode) {
  for (int mode : {kModeTest, kModeExam, kModeProd}) {
    const TOptionValues v = ReadOptionValues(settings, mode, 20, 26);
    EXPECT_EQ(v.Range, kRangeAll);
    EXPECT_EQ(v.Sivug, -1);
    EXPECT_EQ(v.Order, 0);
    EXPECT_EQ(v.QCount, 10);
    EXPECT_EQ(v.QuestionKind, 0);
    EXPECT_EQ(v.Time, 20);
    EXPECT_EQ(v.Know, 3);
    EXPECT_EQ(v.FromLetter(0), 0);
    EXPECT_EQ(v.ToLetter(25), 25);
  }
}

TEST_F(OptionsValuesTest, SectionsPerModeAndLanguageInTableOrder) {
  TOptionValues v;
  v.Range = kRangeSpan;
  v.From = 2;
  v.To = 5;
  v.QCount = 15;
  settings.WriteInteger("Main", "X", 1);
  {
    test::RewriteCounter rewrites(settings.FileName());
    WriteOptionValues(settings, kModeTest, 20, v);
    EXPECT_EQ(rewrites.Count(), 1) << "the section is written as one batch";
  }
  EXPECT_EQ(settings.ReadSection("Test\\20"),
            (QStringList{"LanguageId", "Range", "Unit", "From", "To", "Sivug", "TatSivug", "Order", "QCount",
                         "QuestionKind", "Time", "Know"}));
  EXPECT_EQ(settings.ReadInteger("Test\\20", "LanguageId", 0), 20);
  EXPECT_FALSE(settings.SectionExists("Test\\10"));
  EXPECT_EQ(ReadOptionValues(settings, kModeTest, 10, 22).QCount, 10);
  const TOptionValues back = ReadOptionValues(settings, kModeTest, 20, 26);
  EXPECT_EQ(back.FromLetter(0), 2);
  EXPECT_EQ(back.ToLetter(25), 5);
  EXPECT_EQ(back.QCount, 15);
}

TEST_F(OptionsValuesTest, StoredLettersAreClampedIntoThePack) {
  settings.WriteInteger("Exam\\10", "Unit", 40);
  settings.WriteInteger("Exam\\10", "From", 30);
  settings.WriteInteger("Exam\\10", "To", -3);
  const TOptionValues v = ReadOptionValues(settings, kModeExam, 10, 22);
  EXPECT_EQ(v.Unit, 21);
  EXPECT_EQ(v.From, 21);
  EXPECT_EQ(v.To, 21) << "To never below From";
}

TEST(OptionsRules, QuestionCountTimeAndCoupling) {
  struct Case {
    const char* text;
    int count;
  };
  for (const Case c : {Case{"10", 10}, Case{"5", 5}, Case{"200", 200}, Case{"4", 4}, Case{"201", 4}, Case{"", 4},
                       Case{"1a", 4}, Case{"-7", 4}}) {
    EXPECT_EQ(ParseQuestionCount(QString::fromLatin1(c.text)), c.count) << c.text;
  }
  EXPECT_EQ(TimeItemIndex(20), 3);
  EXPECT_EQ(TimeItemIndex(7), 0) << "a time not in the list selects 5";

  int from = 3, to = 5;
  FromLetterChanged(from = 7, to);
  EXPECT_EQ(to, 7);
  to = 2;
  ToLetterChanged(from, to);
  EXPECT_EQ(from, 2);
  from = 1;
  to = 4;
  ToLetterChanged(from, to);
  EXPECT_EQ(from, 1);
}

}  // namespace
}  // namespace zabko
