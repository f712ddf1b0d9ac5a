#include "net/http_file_download.h"
#include "net/nice_http.h"

#include "platform/exception.h"
#include "tests/common/test_util.h"
#include "tests/net/test_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

namespace zabko {
namespace {

using test::ServedBody;
using test::TestServer;

class NiceHttpTest : public ::testing::Test {
 protected:
  TestServer server;
  QTemporaryDir dir;
};

TEST_F(NiceHttpTest, FailuresBecomeOneFlagWithAKind) {
  const struct {
    const char* name;
    QByteArray url;
    QString output;
    quint8 kind;
    int status;
  } cases[] = {
      {"404", server.Url("/status/404"), "", kHttpStatusError, 404},
      {"500", server.Url("/status/500"), "", kHttpStatusError, 500},
      {"no listener", TestServer::DeadUrl(), "", kHttpHostUnreachable, 0},
      {"cut short", server.Url("/cut/3000/100"), "", kHttpConnLost, 0},
      {"unwritable file", server.Url("/size/10"), dir.filePath("missing/x.dat"), kHttpOutputFileError, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TNiceHttp n(true);
    int errors = 0;
    n.OnError = [&](TNiceHttp& sender) {
      EXPECT_EQ(&sender, &n);
      ++errors;
    };
    n.Http().URL = c.url;
    n.Http().OutputFileName = c.output;
    EXPECT_TRUE(n.Http().Read());
    EXPECT_TRUE(n.Failed);
    EXPECT_EQ(n.ErrorKind, c.kind);
    EXPECT_EQ(n.HTTPStatus, c.status);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(n.GetErrorText(), "General HTTP error");
    // Cleared, the flag stays down through a request that succeeds.
    n.ClearError();
    n.Http().URL = server.Url("/size/10");
    n.Http().OutputFileName.clear();
    EXPECT_TRUE(n.Http().Read());
    EXPECT_FALSE(n.Failed);
    EXPECT_EQ(n.GetErrorText(), "No Error");
  }
}

TEST_F(NiceHttpTest, KeepBodyAndProgress) {
  TNiceHttp n(true);
  int progressEvents = 0;
  n.OnProgress = [&](TNiceHttp&) { ++progressEvents; };
  n.Http().URL = server.Url("/size/20000");
  ASSERT_TRUE(n.Http().Read());
  EXPECT_TRUE(n.Body.isEmpty());  // not kept unless asked
  n.KeepBody = true;
  ASSERT_TRUE(n.Http().Read());
  EXPECT_EQ(n.Body, ServedBody(20000));
  EXPECT_GE(progressEvents, 2 * (20000 / 4096));
  EXPECT_EQ(n.Progress.BytesRead, 20000);
  EXPECT_EQ(n.Progress.DataSize, 20000);
  EXPECT_EQ(n.Progress.PercentsDone, 100);
}

TEST_F(NiceHttpTest, PostWaitsAndReturnsTheReply) {
  TNiceHttp n(false);  // Post always waits
  QByteArray reply = "stale";
  ASSERT_TRUE(n.Post(server.Url("/echo"), "0123ABCD", reply, true));
  EXPECT_EQ(reply, "0123ABCD");
  EXPECT_FALSE(n.Http().Busy());

  EXPECT_FALSE(n.Post(server.Url("/status/500"), "x", reply, false));
  EXPECT_TRUE(reply.isEmpty());
  EXPECT_EQ(test::MessageOf([&] { n.Post(TestServer::DeadUrl(), "x", reply, true); }), "General HTTP error");
  // The flag is reset by the next post.
  EXPECT_TRUE(n.Post(server.Url("/echo"), "y", reply, true));
  EXPECT_FALSE(n.Failed);
}

// A post started from an event handler during another's wait finds the component busy and
// fails on its own; the outer post keeps its reply and its success.
TEST_F(NiceHttpTest, APostInsideAnotherPostsWaitKeepsEachResult) {
  TNiceHttp n(true);
  // Two blocks of reply (the server takes form bodies up to 8192 bytes): a progress report between.
  const QByteArray outerData = QByteArray("AB").repeated(4000);
  int inner = 0;
  bool innerResult = true;
  QByteArray innerReply = "stale";
  n.OnProgress = [&](TNiceHttp& sender) {
    if (inner++ > 0) return;
    innerResult = sender.Post(server.Url("/echo"), "inner", innerReply, false);
  };
  QByteArray reply;
  EXPECT_TRUE(n.Post(server.Url("/echo"), outerData, reply, false));
  EXPECT_EQ(reply, outerData);
  EXPECT_FALSE(n.Failed);
  EXPECT_GE(inner, 1);
  EXPECT_FALSE(innerResult);
  EXPECT_TRUE(innerReply.isEmpty());
}

TEST_F(NiceHttpTest, FileDownloadWritesTheFileAndReportsProgressAsItself) {
  THttpFileDownload d;
  const QString target = dir.filePath("Words.dat");
  int progressEvents = 0;
  d.OnProgress = [&](THttpFileDownload& sender) {
    EXPECT_EQ(&sender, &d);
    ++progressEvents;
  };
  for (bool resume : {false, true}) {
    SCOPED_TRACE(resume ? "resume" : "fresh");
    d.Download(server.Url("/size/50000"), target, resume);
    EXPECT_FALSE(d.Http().Failed);
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), ServedBody(50000));
    EXPECT_EQ(d.GetProgress().BytesRead, 50000);
  }
  EXPECT_GT(progressEvents, 0);

  // A failed download keeps the previous file and says why.
  d.Download(server.Url("/status/404"), target, false);
  EXPECT_TRUE(d.Http().Failed);
  EXPECT_EQ(d.Http().ErrorKind, kHttpStatusError);
  EXPECT_EQ(QFileInfo(target).size(), 50000);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Words.dat"});
}

}  // namespace
// The program quits (its event loops are told to end) during a download: Download returns
// failed, and the transfer does not go on behind it.
TEST_F(NiceHttpTest, ADownloadEndedByQuittingFailsAndStops) {
  THttpFileDownload d;
  const QString target = dir.filePath("Words.dat");
  bool quit = false;
  d.OnProgress = [&](THttpFileDownload&) {
    if (!std::exchange(quit, true)) QCoreApplication::exit(0);
  };
  QElapsedTimer clock;
  clock.start();
  d.Download(server.Url("/slow/50/40"), target, false);
  test::ResumeAfterQuit();
  EXPECT_TRUE(quit);
  EXPECT_LT(clock.elapsed(), 1500) << "returned with the quit, not at the end of the transfer";
  EXPECT_TRUE(d.Http().Failed);
  EXPECT_EQ(d.Http().ErrorKind, kHttpHostUnreachable);
  EXPECT_FALSE(d.Http().Http().Busy());
  test::PumpEventsUntil([] { return false; }, 100);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{}) << "no file, nor a partial one";

  // The downloader works again afterwards.
  d.Http().ClearError();
  d.OnProgress = nullptr;
  d.Download(server.Url("/size/100"), target, false);
  EXPECT_FALSE(d.Http().Failed);
  EXPECT_EQ(QFileInfo(target).size(), 100);
}

}  // namespace zabko
