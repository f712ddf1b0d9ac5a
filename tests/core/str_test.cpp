// The string routines: trimming, quoting, splitting, padding, the formatter and the Hebrew
// mappings between code page 1255 and Unicode.
#include "core/str.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"

#include <gtest/gtest.h>

namespace zabko {
namespace {

QString W(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(WideStringTest, TrimOnlySpaces) {
  EXPECT_EQ(TWStr::Trim(W("  a b  ")), W("a b"));
  EXPECT_EQ(TWStr::Trim(W("\ta\t")), W("\ta\t"));
  EXPECT_EQ(TWStr::Trim(W("   ")), QString());
  EXPECT_TRUE(TWStr::IsBlank(W("   ")));
  EXPECT_TRUE(TWStr::IsBlank(QString()));
  EXPECT_FALSE(TWStr::IsBlank(W(" \t ")));
  EXPECT_TRUE(TWStr::HasText(W(" x ")));
}

TEST(WideStringTest, UnquoteEachEndOnItsOwn) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"'abc\"", "abc"}, {"\"abc\"", "abc"}, {"\"", ""}, {"''", ""},
      {"abc'", "abc"},   {"\"\"x\"\"", "\"x\""}, {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TWStr::Unquote(W(c.in)), W(c.out)) << c.in;
}

TEST(WideStringTest, SafeFileNameAndReplaceAll) {
  EXPECT_EQ(TWStr::SafeFileName(W("a/b:c?.mp3")), W("abc.mp3"));
  EXPECT_EQ(TWStr::SafeFileName(W("\\*\"<>|x")), W("x"));
  EXPECT_EQ(TWStr::ReplaceAll(W("aaa"), W("aa"), W("b")), W("ba"));
  EXPECT_EQ(TWStr::ReplaceAll(W("abab"), W("b"), W("bb")), W("abbabb"));  // not re-scanned
  EXPECT_EQ(TWStr::ReplaceAll(W("abc"), QString(), W("x")), W("abc"));
  EXPECT_EQ(TWStr::ReplaceAll(W("aBc"), W("b"), W("x")), W("aBc"));  // case-sensitive
}

TEST(WideStringTest, CaseInsensitiveTests) {
  EXPECT_TRUE(TWStr::SameText(W("Apple"), W("aPPLE")));
  EXPECT_FALSE(TWStr::SameText(W("apple"), W("apples")));
  EXPECT_TRUE(TWStr::Contains(W("PP"), W("apple")));
  const TArrOfStrings items{W("one"), W("Two"), W("three")};
  EXPECT_EQ(TWStr::IndexOf(items, W("two"), true), 1);
  EXPECT_EQ(TWStr::IndexOf(items, W("two"), false), -1);  // containment is case-sensitive
  EXPECT_EQ(TWStr::IndexOf(items, W("hre"), false), 2);
  EXPECT_EQ(TWStr::IndexOf(items, W("hre"), true), -1);
}

TEST(WideStringTest, FormatFillsInOrder) {
  EXPECT_EQ(TWStr::Format(W("Found %d words in %s"), {12, W("Hebrew")}),
            W("Found 12 words in Hebrew"));
  EXPECT_EQ(TWStr::Format(W("100%"), {}), W("100%"));
  EXPECT_EQ(TWStr::Format(W("%d%%"), {-5}), W("-5%%"));
  // An unknown directive stays as it is and takes no argument.
  EXPECT_EQ(TWStr::Format(W("%x and %s"), {W("y")}), W("%x and y"));
  EXPECT_EQ(TWStr::Format(W("no directives"), {W("spare")}), W("no directives"));
}

TEST(WideStringTest, FormatFailures) {
  struct Case {
    const char* pattern;
    QList<TFormatArg> args;
    const char* message;
  } cases[] = {
      {"%s", {7}, "Invalid String in Format"},
      {"%d", {W("7")}, "Invalid Integer in Format"},
      {"%s and %s", {W("one")}, "Too few arguments in Format"},
      {"%d", {}, "Too few arguments in Format"},
  };
  for (const Case& c : cases) {
    try {
      TWStr::Format(W(c.pattern), c.args);
      ADD_FAILURE() << c.pattern;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), W(c.message)) << c.pattern;
    }
  }
}

TEST(WideStringTest, SplitKeepsOrSkipsEmptyParts) {
  TArrOfStrings list{W("kept")};
  SplitW(W("a,,b"), u',', list, false);
  EXPECT_EQ(list, (TArrOfStrings{W("kept"), W("a"), W("b")}));
  list.clear();
  SplitW(W("a,,b"), u',', list, true);
  EXPECT_EQ(list, (TArrOfStrings{W("a"), W(""), W("b")}));
  list.clear();
  SplitW(W(" a ,"), u',', list, true);
  EXPECT_EQ(list, (TArrOfStrings{W(" a "), W("")}));
  list.clear();
  SplitW(QString(), u',', list, false);
  EXPECT_TRUE(list.isEmpty());
}

TEST(PlainRoutinesTest, PaddingQuotingAndBackslashes) {
  EXPECT_EQ(PadLeftW(W("7"), u'0', 4), W("0007"));
  EXPECT_EQ(PadLeft("12345", '0', 4), QByteArray("12345"));
  EXPECT_EQ(QuoteText(W("a b")), W("\"a b\""));
  EXPECT_EQ(QuoteText(W("\"a b\"")), W("\"a b\""));
  EXPECT_EQ(QuoteText(W("\"a")), W("\"a\""));
  EXPECT_EQ(QuoteText(QString()), QString());
  EXPECT_EQ(AddTrailingBackslashW(W("Data")), W("Data\\"));
  EXPECT_EQ(AddTrailingBackslashW(W("Data\\")), W("Data\\"));
  EXPECT_EQ(AddTrailingBackslashW(QString()), QString());
  EXPECT_EQ(AddTrailingBackslash(QByteArray("Users")), QByteArray("Users\\"));
  EXPECT_EQ(RemoveTrailingBackslashW(W("a\\\\")), W("a\\"));
  EXPECT_EQ(TStr::ReplaceChar("a\\b\\c", '\\', '/'), QByteArray("a/b/c"));
  EXPECT_EQ(Clamp(5, 1, 3), 3);
  EXPECT_EQ(Clamp(-5, 1, 3), 1);
  EXPECT_EQ(CompareInt(2, 9), -1);
}

TEST(PlainRoutinesTest, DateAndTimeTexts) {
  EXPECT_EQ(FormatDateDMY(EncodeDate(2010, 3, 5)), W("5-03-2010"));
  EXPECT_EQ(FormatDateDMY(EncodeDate(1999, 12, 31) + 0.75), W("31-12-1999"));
  EXPECT_EQ(SecondsToTimeText(3725), W("1:02:05"));
  EXPECT_EQ(SecondsToTimeText(86400 + 59), W("0:00:59"));
  EXPECT_EQ(SecondsToTimeText(0), W("0:00:00"));
}

TEST(WideStringBuilderTest, JoinsPartsAndSeparators) {
  TWideStringBuilder b;
  b.Append(W("a"));
  b.AppendWithSeparator(W("bc"), W(", "), true);
  b.AppendWithSeparator(W("d"), W(", "), false);
  EXPECT_EQ(b.GetLength(), 6);
  EXPECT_EQ(b.GetText(), W("abc, d"));
}

TEST(HebrewTextTest, AnsiToHebrewChar) {
  struct Case {
    quint8 byte;
    char16_t unit;
  } cases[] = {
      {0xE0, 0x05D0}, {0xFA, 0x05EA}, {0xC0, 0x05B0}, {0xD3, 0x05C3},  // letters and points
      {' ', u' '},    {'\'', u'\''},  {',', u','},    {';', u';'},
      {'7', u'7'},    {'-', u'-'},    {'(', u'('},    {'"', u'"'},      // ASCII stays itself
      {0x80, 0x20AC}, {0xA4, 0x20AA}, {0xFD, 0x200E},                   // the code page table
  };
  for (const Case& c : cases)
    EXPECT_EQ(TWStr::AnsiToHebrewChar(c.byte).unicode(), c.unit) << int(c.byte);
  EXPECT_EQ(TWStr::HebrewToAnsiChar(QChar(0x05D0)), 0xE0);
  EXPECT_EQ(TWStr::HebrewToAnsiChar(QChar(0x05EA)), 0xFA);
}

TEST(HebrewTextTest, HebrewAnsiToWide) {
  EXPECT_EQ(HebrewAnsiToWide(test::FromHex("E0 20 E1")), W("א ב"));
  EXPECT_EQ(HebrewAnsiToWide("abc"), W("abc"));
  EXPECT_EQ(HebrewAnsiToWide(QByteArray()), QString());
  // Old coding with digits and punctuation after a Hebrew first byte.
  EXPECT_EQ(HebrewAnsiToWide(test::FromHex("F9 EC E5 ED 2D 31")), W("שלום-1"));
  // A printable first byte: the whole text is code page 1255.
  EXPECT_EQ(HebrewAnsiToWide(test::FromHex("31 E0")), W("1א"));
}

TEST(HebrewTextTest, LettersOnlyAndLetterNames) {
  // Latin, Cyrillic and other scripts whose low byte falls in 0xD0..0xEA are not Hebrew.
  EXPECT_EQ(HebrewLettersOnly(W("שָׁלוֹם, ÐÞ Ъ Ъ!")), W("שלום"));
  EXPECT_EQ(HebrewLettersOnly(W("\u00E0\u04D0\u05D0")), W("א"));
  struct Case {
    char16_t ch;
    const char* name;
  } cases[] = {
      {0x05D0, "Alef"}, {0x05DA, "Kaf"},  {0x05DB, "Kaf"},   {0x05DD, "Mem"},  {0x05E0, "Nun"},
      {0x05E2, "Ain"},  {0x05E3, "Peh"},  {0x05E6, "Tzadik"}, {0x05EA, "Taf"},
      {0x00D0, ""},     {0x04E0, ""},     {u'a', ""},        {0x05B0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(HebrewLetterName(QChar(c.ch)), W(c.name)) << int(c.ch);
}

TEST(HebrewTextTest, FilterHebrewLettersAndCompareText8) {
  const QByteArray mixed = test::FromHex("E0 2C 20 61 3B 27 FA F0 C4");
  EXPECT_EQ(FilterHebrewLetters(mixed, false), test::FromHex("E0 20 27 FA F0"));
  EXPECT_EQ(FilterHebrewLetters(mixed, true), test::FromHex("E0 2C 20 3B 27 FA F0"));
  EXPECT_LT(CompareText8("abc", "ABD"), 0);
  EXPECT_EQ(CompareText8("abc", "ABC"), 0);
  EXPECT_LT(CompareText8("ab", "abc"), 0);
  EXPECT_GT(CompareText8(test::FromHex("E1"), test::FromHex("E0 E0")), 0);
}

}  // namespace
}  // namespace zabko
