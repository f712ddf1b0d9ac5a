// The compiled-in text packs against the keys the programs ask for.
//
// tests/fixtures/text_keys.txt lists every key with the placeholders its caller passes; code that
// asks for a new key adds a line there. The test also reads the sources for literal keys passed
// to GetString/HasString, so a key used in code but never listed fails too.
#include "core/rc_or_file_stream.h"
#include "core/zabkolex_strings.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace zabko {
namespace {

struct KeyLine {
  QString section;  // "learning" or "game"
  QString key;
  QString signature;  // the %s / %d placeholders in order, as "sd"; empty for none
  int line;
};

std::vector<KeyLine> ReadKeyTable() {
  QFile file(test::FixturePath("text_keys.txt"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "text_keys.txt";
  std::vector<KeyLine> keys;
  QString section;
  int number = 0;
  for (const QByteArray& raw : file.readAll().split('\n')) {
    ++number;
    const QString line = QString::fromUtf8(raw).trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    if (line.startsWith('[')) {
      section = line.mid(1, line.size() - 2);
      continue;
    }
    const QStringList parts = line.split(QRegularExpression("\\s+"));
    EXPECT_EQ(parts.size(), 2) << "text_keys.txt line " << number;
    EXPECT_FALSE(section.isEmpty()) << "text_keys.txt line " << number << " before any section";
    if (parts.size() != 2) continue;
    keys.push_back({section, parts[0], parts[1] == "-" ? QString() : parts[1], number});
  }
  return keys;
}

QString Signature(const QString& text) {
  QString signature;
  static const QRegularExpression placeholder("%([sd])");
  for (const auto& m : placeholder.globalMatch(text)) signature += m.captured(1);
  return signature;
}

// Every key that the sources pass literally to GetString or HasString.
QSet<QString> KeysInSources() {
  QSet<QString> keys;
  static const QRegularExpression call(
      R"re((?:GetString|HasString)\s*\(\s*(?:QStringLiteral\s*\(\s*|QString(?:::fromLatin1|::fromUtf8)?\s*\(\s*)?u?"([A-Za-z][A-Za-z0-9_.]*)")re");
  for (const char* folder : {"core", "net", "audio", "ui", "game", "apps"}) {
    QDirIterator it(QStringLiteral(ZABKO_SOURCE_DIR "/") + folder, {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      QFile file(it.next());
      if (!file.open(QIODevice::ReadOnly)) continue;
      const QString text = QString::fromUtf8(file.readAll());
      for (const auto& m : call.globalMatch(text)) keys.insert(m.captured(1));
    }
  }
  return keys;
}

struct Pack {
  const char* name;
  const char* section;
};
constexpr Pack kPacks[] = {
    {kHebrewGuiPack, "learning"}, {kEnglishGuiPack, "learning"}, {kGameHebrewGuiPack, "game"}};

TZabkolexStrings LoadPack(const char* name) {
  TZabkolexStrings table;
  table.Load(QString::fromLatin1(name));
  return table;
}

TEST(TextPacks, AllLoadAndTheLearningPacksHaveTheSameKeys) {
  TZabkolexStrings hebrew, english;
  hebrew.LoadLanguage(0);
  english.LoadLanguage(1);
  EXPECT_EQ(hebrew.GetString("VersionNumber"), QStringLiteral("2.3"));
  const TZabkolexStrings game = LoadPack(kGameHebrewGuiPack);
  EXPECT_GT(game.Entries().size(), 1u);

  const auto keys = [](const TZabkolexStrings& t) {
    QSet<QString> set;
    for (const auto& e : t.Entries()) set.insert(e.key.toLower());
    return set;
  };
  const QSet<QString> he = keys(hebrew), en = keys(english);
  for (const QString& k : he - en) ADD_FAILURE() << "only in the Hebrew pack: " << k.toStdString();
  for (const QString& k : en - he) ADD_FAILURE() << "only in the English pack: " << k.toStdString();
  // Hebrew packs really carry Hebrew text.
  static const QRegularExpression hebrewLetter(QString::fromUtf8("[א-ת]"));
  EXPECT_TRUE(hebrew.GetString("DoYouWantToExit").contains(hebrewLetter));
  EXPECT_FALSE(english.GetString("DoYouWantToExit").contains(hebrewLetter));
}

TEST(TextPacks, EveryKeyAskedForIsThereWithItsPlaceholders) {
  const std::vector<KeyLine> table = ReadKeyTable();
  ASSERT_FALSE(table.empty());
  QSet<QString> listed;
  for (const Pack& pack : kPacks) {
    const TZabkolexStrings strings = LoadPack(pack.name);
    for (const KeyLine& k : table) {
      if (k.section != QLatin1String(pack.section)) continue;
      listed.insert(k.key);
      if (!strings.HasString(k.key)) {
        ADD_FAILURE() << pack.name << " lacks " << k.key.toStdString() << " (text_keys.txt line " << k.line << ")";
        continue;
      }
      QString text;
      try {
        text = strings.GetString(k.key);
      } catch (const Exception& e) {
        ADD_FAILURE() << pack.name << ": " << e.what();
        continue;
      }
      EXPECT_EQ(Signature(text), k.signature)
          << pack.name << " " << k.key.toStdString() << " has placeholders \"" << Signature(text).toStdString()
          << "\", its caller passes \"" << k.signature.toStdString() << "\"";
    }
  }
  for (const QString& key : KeysInSources()) {
    EXPECT_TRUE(listed.contains(key)) << "the code asks for \"" << key.toStdString()
                                      << "\"; list it in tests/fixtures/text_keys.txt";
  }
}

TEST(TextPacks, StoredEncodings) {
  // Hebrew packs are UTF-16LE with the mark, the English pack 8-bit text.
  for (const char* name : {"Hebrew.GUI.txt", "Game.Hebrew.GUI.txt", "English.GUI.txt"}) {
    QFile file(QStringLiteral(":/rcdata/") + TRCOrFileStream::ResourceNameFor(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const QByteArray head = file.read(3);
    if (QByteArray(name).contains("Hebrew"))
      EXPECT_TRUE(head.startsWith("\xFF\xFE")) << name;
    else
      EXPECT_TRUE(!head.startsWith("\xFF\xFE") && !head.startsWith("\xFE\xFF") && !head.startsWith("\xEF\xBB\xBF")) << name;
  }
}

}  // namespace
}  // namespace zabko
