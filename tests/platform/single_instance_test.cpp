// One instance per user and product: a second start finds the first and asks it to come
// forward, a lock left by a killed process is taken over, and a lock that cannot be made is a
// failure rather than "already running".
#include "platform/single_instance.h"
#include "tests/common/test_util.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

namespace zabko {
namespace {

using TResult = TSingleInstance::TResult;

class SingleInstanceTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", dir_.path().toUtf8());
  }
  void TearDown() override { qputenv("XDG_RUNTIME_DIR", saved_); }

  QTemporaryDir dir_;
  QByteArray saved_;
};

TEST_F(SingleInstanceTest, SecondStartRaisesTheFirstAndOtherProductsStayApart) {
  TSingleInstance first("Zabkolex");
  int raised = 0;
  first.OnRaise = [&] { ++raised; };
  ASSERT_EQ(first.Start(), TResult::First);
  EXPECT_TRUE(first.LockPath().startsWith(dir_.path() + "/Zabkolex-"));
  EXPECT_TRUE(QFileInfo::exists(first.LockPath()));

  TSingleInstance second("Zabkolex");
  EXPECT_EQ(second.Start(), TResult::Running);
  EXPECT_TRUE(test::PumpEventsUntil([&] { return raised == 1; }, 3000));

  TSingleInstance game("Zabkoplay");
  EXPECT_EQ(game.Start(), TResult::First);
  EXPECT_EQ(raised, 1);
}

TEST_F(SingleInstanceTest, EndedInstanceFreesTheName) {
  {
    TSingleInstance first("Zabkolex");
    ASSERT_EQ(first.Start(), TResult::First);
  }
  TSingleInstance next("Zabkolex");
  EXPECT_EQ(next.Start(), TResult::First);
}

TEST_F(SingleInstanceTest, LockThatCannotBeMadeIsAFailure) {
  QFile file(dir_.filePath("not-a-folder"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  qputenv("XDG_RUNTIME_DIR", file.fileName().toUtf8());
  TSingleInstance instance("Zabkolex");
  EXPECT_EQ(instance.Start(), TResult::Failed);
  EXPECT_TRUE(instance.Error().contains("not-a-folder"));
}

// Run in a child process by the test below: holds the lock, answers "raise" on its output.
TEST_F(SingleInstanceTest, DISABLED_HolderProcess) {
  qputenv("XDG_RUNTIME_DIR", qgetenv("ZABKO_HOLDER_DIR"));
  TSingleInstance holder("Zabkolex");
  holder.OnRaise = [] {
    std::printf("raised\n");
    std::fflush(stdout);
  };
  ASSERT_EQ(holder.Start(), TResult::First);
  std::printf("locked\n");
  std::fflush(stdout);
  QTimer::singleShot(30000, [] { QCoreApplication::exit(); });
  QCoreApplication::exec();
}

TEST_F(SingleInstanceTest, OtherProcessIsRaisedAndItsLockTakenOverOnceKilled) {
  QProcess holder;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ZABKO_HOLDER_DIR", dir_.path());
  holder.setProcessEnvironment(env);
  holder.start(QCoreApplication::applicationFilePath(),
               {"--gtest_also_run_disabled_tests", "--gtest_filter=SingleInstanceTest.DISABLED_HolderProcess"});
  QByteArray output;
  ASSERT_TRUE(test::PumpEventsUntil([&] {
    holder.waitForReadyRead(50);
    output += holder.readAllStandardOutput();
    return output.contains("locked\n");
  }));

  {
    TSingleInstance second("Zabkolex");
    EXPECT_EQ(second.Start(), TResult::Running);
  }
  EXPECT_TRUE(test::PumpEventsUntil([&] {
    holder.waitForReadyRead(50);
    output += holder.readAllStandardOutput();
    return output.contains("raised\n");
  }));

  holder.kill();  // SIGKILL: the lock file and the socket stay behind
  ASSERT_TRUE(holder.waitForFinished(5000));
  TSingleInstance next("Zabkolex");
  int raised = 0;
  next.OnRaise = [&] { ++raised; };
  ASSERT_EQ(next.Start(), TResult::First);
  TSingleInstance after("Zabkolex");
  EXPECT_EQ(after.Start(), TResult::Running);
  EXPECT_TRUE(test::PumpEventsUntil([&] { return raised == 1; }, 3000));
}

}  // namespace
}  // namespace zabko
