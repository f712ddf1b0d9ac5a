#include "core/zabkolex_strings.h"
#include "platform/code_page.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using test::MessageOf;

TZabkolexStrings FromBytes(const QByteArray& bytes, const QString& name = "Test.GUI.txt") {
  TZabkolexStrings table;
  TMemoryStream stream(bytes);
  table.LoadFromStream(stream, name);
  return table;
}

QByteArray Utf16Le(const QString& text) {
  QByteArray out("\xFF\xFE", 2);
  for (const QChar c : text) {
    out.append(static_cast<char>(c.unicode() & 0xFF));
    out.append(static_cast<char>(c.unicode() >> 8));
  }
  return out;
}

TEST(TextPackLine, ParsesKeysAndJoinsQuotedPieces) {
  struct Case {
    const char* line;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"UpdateError: 'System settings update failed.' + '~\\n~%s...~\\n~' + 'Please contact customer service for support.'",
       "UpdateError", "System settings update failed.~\\n~%s...~\\n~Please contact customer service for support."},
      {"Font: '[,-13:17,10450985]^'", "Font", "[,-13:17,10450985]^"},  // colons after the first stay
      {"Quote: 'it's' + \"a \"\"test\"", "Quote", "it'sa \"\"test"},  // only one outer quote per end goes
      {"Bare:  plain text  ", "Bare", "plain text"},
      {"Tabs:\t'x'\t", "Tabs", "\t'x'\t"},  // only blanks are trimmed
      {" Spaced key :'v'", " Spaced key ", "v"},
      {"Empty:", "Empty", ""},
      {"Pieces: '' + + ' a ' + '", "Pieces", " a "},
      {"Plus: 'one+two'", "Plus", "onetwo"},  // a "+" inside quotes splits too
  };
  for (const Case& c : cases) {
    const auto entry = TZabkolexStrings::ParseLine(QString::fromUtf8(c.line));
    EXPECT_EQ(entry.key, QString::fromUtf8(c.key)) << c.line;
    EXPECT_EQ(entry.value, QString::fromUtf8(c.value)) << c.line;
  }
  EXPECT_EQ(MessageOf([] { TZabkolexStrings::ParseLine("no colon here"); }),
            QStringLiteral("Missing \":\" in: no colon here"));
}

TEST(TextPack, CommentsBlocksAndLineEnds) {
  const QByteArray pack =
      "# a comment\r\n"
      "   \t\r\n"
      "  # not a comment: 'x'\r"
      "{Block: 'first'\n"
      "'second'\n"
      "# joined as text\n"
      "\n"
      "}ignored\n"
      "After: 'done'";
  const TZabkolexStrings table = FromBytes(pack);
  ASSERT_EQ(table.Entries().size(), 3u);
  EXPECT_EQ(table.Entries()[0].key, QStringLiteral("  # not a comment"));
  EXPECT_EQ(table.GetString("Block"), QStringLiteral("firstsecond# joined as text"));
  EXPECT_EQ(table.GetString("After"), QStringLiteral("done"));
}

TEST(TextPack, EncodingByMark) {
  const QString hebrew = QString::fromUtf8("שלום: '%s עולם'");
  const QString expected = QString::fromUtf8("%s עולם");
  QByteArray be("\xFE\xFF", 2);
  for (const QChar c : hebrew) {
    be.append(static_cast<char>(c.unicode() >> 8));
    be.append(static_cast<char>(c.unicode() & 0xFF));
  }
  const std::pair<const char*, QByteArray> cases[] = {
      {"UTF-16LE", Utf16Le(hebrew)},
      {"UTF-16BE", be},
      {"UTF-8", QByteArray("\xEF\xBB\xBF") + hebrew.toUtf8()},
      {"code page 1255", WideToCp1255(hebrew)},
  };
  for (const auto& [label, bytes] : cases) {
    const TZabkolexStrings table = FromBytes(bytes);
    EXPECT_EQ(table.GetString(QString::fromUtf8("שלום")), expected) << label;
  }
}

TEST(TextPack, LookupsAndFailures) {
  const TZabkolexStrings table = FromBytes("yesbtn: 'Yes'\nYesBtn: 'Second'\nBlank:\n");
  EXPECT_EQ(table.GetString("YESBTN"), QStringLiteral("Yes")) << "first entry, any case";
  EXPECT_TRUE(table.HasString("blank"));
  EXPECT_EQ(MessageOf([&] { table.GetString("Blank"); }), QStringLiteral("Invalid string for: Blank"));
  EXPECT_FALSE(table.HasString("Nope"));
  EXPECT_EQ(MessageOf([&] { table.GetString("Nope"); }), QStringLiteral("Invalid string for: Nope"));

  EXPECT_EQ(MessageOf([] { FromBytes("Good: 'x'\n{Open: 'never closed'\n'more'\n", "Broken.GUI.txt"); }),
            QStringLiteral("Unclosed block in text pack Broken.GUI.txt (opened on line 2)"));
  EXPECT_EQ(MessageOf([] { FromBytes("Good: 'x'\nbad line\n"); }), QStringLiteral("Missing \":\" in: bad line"));
}

// Loose packs in a folder stand in for the program folder.
class LoosePackTest : public testing::Test {
 protected:
  void Write(const QString& name, const QByteArray& bytes) {
    QFile f(dir_.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QTemporaryDir dir_;
};

TEST_F(LoosePackTest, MergeReplacesAppendsAndRemoves) {
  Write("Base.GUI.txt", "A: 'a1'\nB: 'b'\nA: 'a2'\nGone: 'here'\n");
  Write("Extra.GUI.txt", "a: 'merged'\nNew: 'n'\nGone:\nMissing:\n");
  TZabkolexStrings table(true, dir_.path());
  table.Load("Base.GUI.txt");
  EXPECT_EQ(table.GetString("VersionNumber"), QStringLiteral("2.3"));
  table.MergeFile("Extra.GUI.txt");

  std::vector<std::pair<QString, QString>> entries;
  for (const auto& e : table.Entries()) entries.emplace_back(e.key, e.value);
  const std::vector<std::pair<QString, QString>> expected = {
      {"A", "merged"}, {"B", "b"}, {"A", "a2"}, {"VersionNumber", "2.3"}, {"New", "n"}};
  EXPECT_EQ(entries, expected);
}

TEST_F(LoosePackTest, LoadLanguageWrapsEveryFailure) {
  Write("Hebrew.GUI.txt", "Fine: 'x'\n{Open: 'x'\n");
  TZabkolexStrings table(true, dir_.path());
  EXPECT_EQ(MessageOf([&] { table.LoadLanguage(2); }),
            QStringLiteral("Failed loading strings file. Reason: Unknown GUI Language"));
  EXPECT_EQ(MessageOf([&] { table.LoadLanguage(0); }),
            QStringLiteral("Failed loading strings file. Reason: Unclosed block in text pack Hebrew.GUI.txt (opened on line 2)"));
  EXPECT_TRUE(MessageOf([&] { table.MergeFile("No.Such.Pack.txt"); }).contains("NO_SUCH_PACK"));
}

}  // namespace
}  // namespace zabko
