#include "platform/code_page.h"
#include "platform/exception.h"
#include "platform/stream.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

TEST(MemoryStream, ReadWriteSeekAndSize) {
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  EXPECT_EQ(m.Size(), 5);
  EXPECT_EQ(m.Position(), 5);
  m.SetPosition(1);
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 8), 4);
  EXPECT_STREQ(buf, "ello");
  m.SetSize(2);
  EXPECT_EQ(m.Position(), 2);
  EXPECT_EQ(m.ToByteArray(), QByteArray("he"));
  m.SetSize(4);
  EXPECT_EQ(m.ToByteArray(), QByteArray("he\0\0", 4));
  m.SetPosition(0);
  EXPECT_THROW(m.ReadBuffer(buf, 5), Exception);
  EXPECT_EQ(m.Seek(-2, SeekOrigin::End), 2);

  // Writing past the end leaves zeros in the gap, never old bytes.
  TMemoryStream g;
  g.WriteBuffer("abcdefgh", 8);
  g.SetSize(2);
  g.SetPosition(6);
  g.WriteBuffer("x", 1);
  EXPECT_EQ(g.ToByteArray(), QByteArray("ab\0\0\0\0x", 7));
}

TEST(FileStream, CreateOpenAndErrors) {
  QTemporaryDir dir;
  const QString name = dir.filePath("f.bin");
  {
    TFileStream f(name, FileMode::Create);
    f.WriteBuffer("abcdef", 6);
    f.SetSize(4);
    EXPECT_EQ(f.Size(), 4);
  }
  TFileStream f(name, FileMode::OpenRead);
  EXPECT_EQ(f.Size(), 4);
  char buf[4];
  f.ReadBuffer(buf, 4);
  EXPECT_EQ(QByteArray(buf, 4), QByteArray("abcd"));
  EXPECT_THROW(f.ReadBuffer(buf, 1), Exception);
  EXPECT_THROW(f.WriteBuffer("x", 1), Exception);

  try {
    TFileStream missing(dir.filePath("none.bin"), FileMode::OpenRead);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_TRUE(e.Message().startsWith("Cannot open file \"")) << e.what();
  }
  EXPECT_THROW(TFileStream(dir.filePath("no/dir/x"), FileMode::Create), Exception);
}

TEST(ResourceStream, MissingResourceFails) {
  try {
    TResourceStream r("NO_SUCH_RESOURCE");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Resource NO_SUCH_RESOURCE not found");
  }
}

TEST(CodePage1255, HebrewLettersPointsAndRoundTrip) {
  EXPECT_EQ(Cp1255ToUnicode(0xE0), u'\u05D0');  // alef
  EXPECT_EQ(Cp1255ToUnicode(0xFA), u'\u05EA');  // tav
  EXPECT_EQ(Cp1255ToUnicode(0xC0), u'\u05B0');  // sheva stays a separate point
  EXPECT_EQ(Cp1255ToUnicode(0xA4), u'\u20AA');  // new sheqel sign
  EXPECT_EQ(Cp1255ToUnicode(0x80), u'\u20AC');
  EXPECT_EQ(UnicodeToCp1255(u'\u05D0'), 0xE0);
  EXPECT_EQ(UnicodeToCp1255(u'\u0416'), '?');  // Cyrillic has no byte here
  QByteArray all;
  for (int i = 0; i < 256; ++i) all.append(static_cast<char>(i));
  EXPECT_EQ(WideToCp1255(Cp1255ToWide(all)), all);
}

}  // namespace
}  // namespace zabko
