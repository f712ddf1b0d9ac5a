#include "core/exception_log.h"
#include "platform/call_chain.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>
#include <vector>

namespace zabko {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QByteArray> Lines(const QByteArray& text) {
  QList<QByteArray> lines = text.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (QByteArray& l : lines) {
    EXPECT_TRUE(l.endsWith('\r')) << "line without CR LF: " << l.toStdString();
    l.chop(1);
  }
  return lines;
}

// The address lines of the first exception record: the raising address and the return addresses.
QList<QByteArray> FirstRecord(const QList<QByteArray>& lines) {
  QList<QByteArray> record;
  const qsizetype at = lines.indexOf("Exception:");
  if (at < 0) return record;
  static const QRegularExpression kAddress("^[0-9A-F]{8,16}$");
  for (qsizetype i = at + 1; i < lines.size() && kAddress.match(QString::fromLatin1(lines[i])).hasMatch(); ++i) {
    record << lines[i];
  }
  return record;
}

class ExceptionLogTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("MainLog.txt");
    SetApplicationExceptionHandler([](const std::exception_ptr&) {});
  }
  void TearDown() override {
    CloseLog();
    SetTraceLevel(0);
    SetApplicationExceptionHandler(nullptr);
    // The production log lives in the data folder that every case of the process shares.
    QFile::remove(QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath("KestraniLog.txt"));
  }

  QTemporaryDir dir_;
  QString path_;
};

TEST_F(ExceptionLogTest, NothingIsWrittenWithoutAnInstalledLog) {
  SetLogFileName(path_);
  SetTraceLevel(1);
  EXPECT_FALSE(WriteLogRaw("x"));
  LogLine("a line");
  TraceLog("  Creating client");
  Guarded([] { throw Exception("not logged"); });
  EXPECT_FALSE(QFile::exists(path_));
  EXPECT_FALSE(QFile::exists(QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath("KestraniLog.txt")));
}

TEST_F(ExceptionLogTest, ASecondRunAppendsWithItsOwnOpeningLine) {
  SetLogFileName(path_);
  ASSERT_TRUE(InstallLogger());
  LogLine("first run");
  CloseLog();
  EXPECT_FALSE(WriteLogRaw("after close"));
  ASSERT_TRUE(InstallLogger());
  LogLine("second run");
  CloseLog();

  const QList<QByteArray> lines = Lines(ReadAll(path_));
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[0].startsWith("Initializing logging.... [")) << lines[0].toStdString();
  EXPECT_TRUE(lines[0].endsWith("]"));
  EXPECT_EQ(lines[1], "first run");
  EXPECT_TRUE(lines[2].startsWith("Initializing logging.... ["));
  EXPECT_EQ(lines[3], "second run");
}

TEST_F(ExceptionLogTest, TraceLinesFollowTheTraceLevel) {
  SetLogFileName(path_);
  ASSERT_TRUE(InstallLogger());
  TraceLog("  Creating saver");
  SetTraceLevel(1);
  TraceLog("  Creating client");
  TraceLog("deeper", 2);
  const QList<QByteArray> lines = Lines(ReadAll(path_));
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines[1], "  Creating client");
}

TEST_F(ExceptionLogTest, AFileThatCannotBeOpenedFailsTheInstall) {
  SetLogFileName(dir_.filePath("missing/folder/MainLog.txt"));
  EXPECT_FALSE(InstallLogger());
  EXPECT_FALSE(IsLogOpen());
  try {
    InstallProductionLog(dir_.filePath("missing/MainLog.txt"));
    FAIL() << "no failure";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Failed to install logger");
  }
}

int OpenDescriptors() { return static_cast<int>(QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size()); }

TEST_F(ExceptionLogTest, DeveloperThenProductionLogMovesTheLinesWithoutLeaks) {
  const QString devPath = QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath("KestraniLog.txt");
  QFile::remove(devPath);
  const int before = OpenDescriptors();
  InstallDevLog({"/opt/zabkolex/Zabkolex", "Log", "my file"});
  const CatchAllHook hook = GetCatchAllHook();
  InstallProductionLog(path_);
  InstallProductionLog(path_);
  EXPECT_EQ(GetCatchAllHook(), hook);
  EXPECT_EQ(OpenDescriptors(), before + 1);
  LogLine("to production");
  CloseLog();
  EXPECT_EQ(OpenDescriptors(), before);

  const QList<QByteArray> dev = Lines(ReadAll(devPath));
  ASSERT_EQ(dev.size(), 3);
  EXPECT_EQ(dev[1], "Running with build 204 [developement]");
  EXPECT_EQ(dev[2], "CMD Line: /opt/zabkolex/Zabkolex Log \"my file\"");

  const QList<QByteArray> prod = Lines(ReadAll(path_));
  ASSERT_EQ(prod.size(), 5);
  EXPECT_EQ(prod[1], "Running with build 204 [production]");
  EXPECT_EQ(prod[3], "Running with build 204 [production]");
  EXPECT_EQ(prod[4], "to production");
}

// A call chain deeper than the record holds; the volatile pointer keeps every level a real call.
int (*volatile g_descend)(int);
__attribute__((noinline)) int Descend(int depth) {
  if (depth == 0) throw Exception("deep failure");
  return g_descend(depth - 1) + 1;
}

TEST_F(ExceptionLogTest, DeepChainRecordsExactly31ReturnAddresses) {
  SetLogFileName(path_);
  ASSERT_TRUE(InstallLogger());
  g_descend = Descend;
  EXPECT_FALSE(Guarded([] { Descend(60); }));
  CloseLog();

  const QList<QByteArray> record = FirstRecord(Lines(ReadAll(path_)));
  ASSERT_EQ(record.size(), 1 + 31);
  // The raising address and the levels of the recursion lie in the program's own code, at its
  // start-relative offsets; the levels above the bottom one return to the same place.
  const CodeRange code = ComputeProgramCodeRange();
  for (const QByteArray& line : record) {
    EXPECT_EQ(line.size(), 8) << line.toStdString();
    EXPECT_LT(line.toULongLong(nullptr, 16), code.end - code.start) << line.toStdString();
  }
  for (int i = 2; i < 31; ++i) EXPECT_EQ(record[i], record[1]);
}

TEST_F(ExceptionLogTest, EveryCatchAllHandlingIsRecordedInOneBlock) {
  SetLogFileName(path_);
  ASSERT_TRUE(InstallLogger());
  EXPECT_FALSE(Guarded([] {
    try {
      throw Exception("inner");
    } catch (...) {
      HandleException(std::current_exception());
      throw;
    }
  }));
  EXPECT_FALSE(Guarded([] { throw std::runtime_error("not ours"); }));
  // A handler that selects by type records nothing.
  try {
    throw Exception("selected");
  } catch (const Exception&) {
  }
  CloseLog();
  const QList<QByteArray> lines = Lines(ReadAll(path_));
  EXPECT_EQ(lines.count("Exception:"), 3);
  const QList<QByteArray> first = FirstRecord(lines);
  EXPECT_GE(first.size(), 2);
}

TEST_F(ExceptionLogTest, WorkerThreadLinesNeverInterleave) {
  SetLogFileName(path_);
  ASSERT_TRUE(InstallLogger());
  constexpr int kThreads = 4, kLines = 200;
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) LogLine(QByteArray(100, char('a' + t)) + QByteArray::number(i));
    });
  }
  for (std::thread& w : workers) w.join();
  CloseLog();
  const QList<QByteArray> lines = Lines(ReadAll(path_));
  ASSERT_EQ(lines.size(), 1 + kThreads * kLines);
  static const QRegularExpression kWhole("^(a{100}|b{100}|c{100}|d{100})\\d+$");
  for (qsizetype i = 1; i < lines.size(); ++i) {
    ASSERT_TRUE(kWhole.match(QString::fromLatin1(lines[i])).hasMatch()) << lines[i].toStdString();
  }
}

TEST_F(ExceptionLogTest, FatalSignalWritesARecordAndEndsTheProcess) {
  for (int sig : {SIGABRT, SIGSEGV}) {
    SCOPED_TRACE(sig);
    QFile::remove(path_);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SetLogFileName(path_);
      if (!InstallLogger()) _exit(3);
      raise(sig);
      _exit(4);  // not reached: the signal ends the process
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << status;
    EXPECT_EQ(WTERMSIG(status), sig);
    const QList<QByteArray> record = FirstRecord(Lines(ReadAll(path_)));
    EXPECT_GE(record.size(), 2);
  }
}

}  // namespace
}  // namespace zabko
