// Shell and process calls: which targets the document opener gets and in what form, program
// start with arguments and working folder, the desktop trash, and unique temporary files.
#include "platform/exception.h"
#include "platform/shell.h"
#include "tests/common/test_util.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <set>

namespace zabko {
namespace {

QString W(const char* utf8) { return QString::fromUtf8(utf8); }

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program that writes its working folder and its arguments, one a line, to a file.
class RecorderTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    script_ = dir_.filePath(W("recorder"));
    output_ = dir_.filePath(W("recorded.txt"));
    QFile f(script_);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"" +
            QFile::encodeName(output_) + ".part\"\nmv \"" + QFile::encodeName(output_) +
            ".part\" \"" + QFile::encodeName(output_) + "\"\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    previousOpener_ = DocumentOpener();
    SetDocumentOpener(script_);
  }
  void TearDown() override { SetDocumentOpener(previousOpener_); }

  // The recorded lines, or an empty list when the recorder did not run within a few seconds.
  QList<QByteArray> Recorded() {
    QDeadlineTimer deadline(5000);
    while (!QFileInfo::exists(output_) && !deadline.hasExpired()) QThread::msleep(10);
    QList<QByteArray> lines = ReadAll(output_).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    QFile::remove(output_);
    return lines;
  }

  QTemporaryDir dir_;
  QString script_, output_, previousOpener_;
};

TEST_F(RecorderTest, OpensFilesAndWebLinksOnly) {
  const QString doc = dir_.filePath(W("-מסמך 1.txt"));
  QFile(doc).open(QIODevice::WriteOnly);
  struct Case {
    QString target;
    QByteArray argument;  // empty: refused
  } cases[] = {
      {W("https://example.com/a b?x=1"), "https://example.com/a%20b?x=1"},
      {W("HTTP://example.com/"), "http://example.com/"},
      {doc, QUrl::fromLocalFile(doc).toString(QUrl::FullyEncoded).toUtf8()},
      {QUrl::fromLocalFile(doc).toString(), QUrl::fromLocalFile(doc).toString(QUrl::FullyEncoded).toUtf8()},
      {W("javascript:alert(1)"), {}},
      {W("mailto:a@b.c"), {}},
      {W("file:///no/such/file"), {}},
      {W("http:///nohost"), {}},
      {dir_.filePath(W("missing.txt")), {}},
      {W("https://x.y/\"; rm -rf ~; \""), "https://x.y/%22;%20rm%20-rf%20~;%20%22"},
      {QString(), {}},
  };
  for (const Case& c : cases) {
    const bool started = OpenDocumentOrLink(c.target);
    EXPECT_EQ(started, !c.argument.isEmpty()) << c.target.toStdString();
    if (!started) continue;
    const auto lines = Recorded();
    ASSERT_EQ(lines.size(), 2) << c.target.toStdString();
    EXPECT_EQ(lines[1], c.argument);
    EXPECT_TRUE(lines[1].startsWith("file:") || lines[1].startsWith("http")) << lines[1].data();
  }
}

TEST_F(RecorderTest, StartProgramPassesArgumentsAndFolder) {
  const QString folder = dir_.filePath(W("תיקייה with space"));
  ASSERT_TRUE(QDir().mkpath(folder));
  ASSERT_TRUE(StartProgram(script_, {W("http://127.0.0.1:8080/"), W("20"), W("a b; echo x"), QString()},
                           folder));
  const auto lines = Recorded();
  ASSERT_EQ(lines.size(), 5);
  EXPECT_EQ(QFile::decodeName(lines[0]), QFileInfo(folder).canonicalFilePath());
  EXPECT_EQ(lines[1], "http://127.0.0.1:8080/");
  EXPECT_EQ(lines[2], "20");
  EXPECT_EQ(lines[3], "a b; echo x");
  EXPECT_EQ(lines[4], "");

  EXPECT_FALSE(StartProgram(dir_.filePath(W("no-such-program")), {}, QString()));
  EXPECT_FALSE(StartProgram(script_, {}, dir_.filePath(W("no-such-folder"))));
  EXPECT_FALSE(StartProgram(QString(), {}, QString()));
}

TEST(TrashTest, MovesFoldersWithInfoFiles) {
  QTemporaryDir dir;
  const QString trash =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + W("/Trash");
  std::set<QString> names;
  for (int i = 0; i < 2; ++i) {
    const QString folder = dir.filePath(W("ישן 100%"));
    ASSERT_TRUE(QDir().mkpath(folder + W("/sub")));
    QFile(folder + W("/sub/a.txt")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(MoveToTrash(folder));
    EXPECT_FALSE(QFileInfo::exists(folder));
    names.insert(i == 0 ? W("ישן 100%") : W("ישן 100%.2"));
  }
  for (const QString& name : names) {
    EXPECT_TRUE(QFileInfo::exists(trash + W("/files/") + name + W("/sub/a.txt"))) << name.toStdString();
    const QByteArray info = ReadAll(trash + W("/info/") + name + W(".trashinfo"));
    EXPECT_TRUE(info.startsWith("[Trash Info]\nPath=")) << info.data();
    EXPECT_TRUE(info.contains("Path=" + QUrl::toPercentEncoding(dir.filePath(W("ישן 100%")), "/") +
                              "\n"))
        << info.data();
    EXPECT_TRUE(info.contains("\nDeletionDate=20")) << info.data();
  }
  EXPECT_FALSE(MoveToTrash(dir.filePath(W("missing"))));
  EXPECT_FALSE(MoveToTrash(QString()));
  EXPECT_FALSE(MoveToTrash(W("/")));
  EXPECT_FALSE(MoveToTrash(trash));
}

TEST(UniqueFileTest, CreatedAtOnceWithNonAsciiNames) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(W("זמני"));
  ASSERT_TRUE(QDir().mkpath(folder));
  std::set<QString> seen;
  for (int i = 0; i < 20; ++i) {
    const QString name = CreateUniqueFile(folder, W("TMP"), W(".קול.mp3"));
    EXPECT_TRUE(seen.insert(name).second);
    const QFileInfo info(name);
    EXPECT_TRUE(info.isFile());
    EXPECT_EQ(info.size(), 0);
    EXPECT_EQ(info.absolutePath(), folder);
    EXPECT_TRUE(info.fileName().startsWith(W("TMP")));
    EXPECT_TRUE(info.fileName().endsWith(W(".קול.mp3")));
    EXPECT_EQ(info.fileName().size(), 3 + 6 + 8);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(name).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
  }
  EXPECT_THROW(CreateUniqueFile(dir.filePath(W("missing")), W("TMP"), W(".x")), Exception);
  EXPECT_THROW(CreateUniqueFile(folder, W("TMP"), W("/../x")), Exception);
}

}  // namespace
}  // namespace zabko
