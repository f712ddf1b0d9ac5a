#include "net/win_http.h"

#include "platform/stream.h"
#include "tests/common/test_util.h"
#include "tests/net/test_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zabko {
namespace {

using test::ServedBody;
using test::TestServer;

QByteArray ReadAll(TStream& stream) {
  QByteArray bytes(static_cast<qsizetype>(stream.Size() - stream.Position()), Qt::Uninitialized);
  stream.ReadBuffer(bytes.data(), bytes.size());
  return bytes;
}

QByteArray FileContents(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Records every event of a component, in order.
struct Recorder {
  std::vector<std::string> events;
  QByteArray body, contentType;
  qint64 fileSize = -1, bytesRead = -1;
  int errorCode = 0;
  std::vector<TTransferProgress> progress;

  void Attach(TCustomWinHTTP& h) {
    h.OnDone = [this](TCustomWinHTTP&, const QByteArray& type, qint64 size, TStream& s) {
      events.push_back("Done");
      contentType = type;
      fileSize = size;
      body = ReadAll(s);
    };
    h.OnProgress = [this](TCustomWinHTTP&, const QByteArray&, const TTransferProgress& p, TStream&) {
      progress.push_back(p);
    };
    h.OnConnLost = [this](TCustomWinHTTP&, const QByteArray&, qint64 size, qint64 read, TStream&) {
      events.push_back("ConnLost");
      fileSize = size;
      bytesRead = read;
    };
    h.OnHostUnreachable = [this](TCustomWinHTTP&) { events.push_back("HostUnreachable"); };
    h.OnHTTPError = [this](TCustomWinHTTP&, int code, TStream& s) {
      events.push_back("HTTPError");
      errorCode = code;
      body = ReadAll(s);
    };
    h.OnOutputFileError = [this](TCustomWinHTTP&) { events.push_back("OutputFileError"); };
    h.OnAnyError = [this](TCustomWinHTTP&) { events.push_back("AnyError"); };
  }
};

using Events = std::vector<std::string>;

class WinHttpTest : public ::testing::Test {
 protected:
  TestServer server;
  QTemporaryDir dir;
  QString Target() const { return dir.filePath("target.dat"); }
  QStringList FilesInDir() const { return QDir(dir.path()).entryList(QDir::Files); }
};

struct OutcomeCase {
  const char* name;
  std::string path;  // on the test server when it starts with "/", else a whole URL
  bool toFile;
  Events events;
  int errorCode;
};

TEST_F(WinHttpTest, EachRequestEndsInExactlyOneOutcome) {
  const OutcomeCase cases[] = {
      {"done", "/size/100000", false, {"Done"}, 0},
      {"done into a file", "/size/100000", true, {"Done"}, 0},
      {"empty body into a file", "/size/0", true, {"Done"}, 0},
      {"404", "/status/404", false, {"HTTPError", "AnyError"}, 404},
      {"500 with an output file", "/status/500", true, {"HTTPError", "AnyError"}, 500},
      {"body cut short", "/cut/5000/1200", false, {"ConnLost", "AnyError"}, 0},
      {"body cut short into a file", "/cut/5000/1200", true, {"ConnLost", "AnyError"}, 0},
      // The claimed length is never allocated up front.
      {"huge length claimed", "/cut/4000000000/100", false, {"ConnLost", "AnyError"}, 0},
      {"no listener", TestServer::DeadUrl().toStdString(), false, {"HostUnreachable", "AnyError"}, 0},
      {"not http", "ftp://127.0.0.1/size/10", false, {"HostUnreachable", "AnyError"}, 0},
      {"redirect followed", "/redirect?to=" + server.Url("/size/10").toStdString(), false, {"Done"}, 0},
      {"redirect off http refused", "/redirect?to=file:///etc/passwd", false, {"HTTPError", "AnyError"}, 302},
  };
  for (const OutcomeCase& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(Target());
    TMemoryStream(QByteArray("previous")).SaveToFile(Target());
    TWinHTTP h;
    Recorder rec;
    rec.Attach(h);
    h.URL = c.path[0] == '/' ? server.Url(c.path.c_str()) : QByteArray(c.path.c_str());
    if (c.toFile) h.OutputFileName = Target();
    EXPECT_TRUE(h.Read(true));
    EXPECT_FALSE(h.Busy());
    EXPECT_EQ(rec.events, c.events);
    EXPECT_EQ(rec.errorCode, c.errorCode);
    // Only a completed transfer replaces the output file; no partial file is left behind.
    const bool replaced = c.toFile && c.events == Events{"Done"};
    EXPECT_EQ(FileContents(Target()), replaced ? rec.body : QByteArray("previous"));
    EXPECT_EQ(FilesInDir(), QStringList{"target.dat"});
  }
}

TEST_F(WinHttpTest, DoneDeliversTheBodyAndProgressFigures) {
  TWinHTTP h;
  Recorder rec;
  rec.Attach(h);
  h.URL = server.Url("/size/100000");
  ASSERT_TRUE(h.Read(true));
  ASSERT_EQ(rec.events, Events{"Done"});
  EXPECT_EQ(rec.body, ServedBody(100000));
  EXPECT_EQ(rec.fileSize, 100000);
  EXPECT_EQ(rec.contentType, "application/octet-stream");
  ASSERT_GE(rec.progress.size(), 100000u / 4096);  // one report per block of TransferBufferSize
  qint64 last = 0;
  for (const TTransferProgress& p : rec.progress) {
    EXPECT_GT(p.BytesRead, last);
    EXPECT_LE(p.BytesRead - last, 4096);
    EXPECT_EQ(p.DataSize, 100000);
    last = p.BytesRead;
  }
  EXPECT_EQ(rec.progress.back().BytesRead, 100000);
  EXPECT_EQ(rec.progress.back().PercentsDone, 100);
}

TEST_F(WinHttpTest, ConnLostReportsWhatArrived) {
  TWinHTTP h;
  Recorder rec;
  rec.Attach(h);
  h.URL = server.Url("/cut/5000/1200");
  ASSERT_TRUE(h.Read(true));
  EXPECT_EQ(rec.bytesRead, 1200);
  EXPECT_EQ(rec.fileSize, 1200);
}

TEST_F(WinHttpTest, PostSendsTheBodyAsAFormAndKeepsTheReplyInMemory) {
  TWinHTTP h;
  Recorder rec;
  rec.Attach(h);
  QByteArray method, type;
  h.URL = server.Url("/echo");
  h.POSTData = "AA99 11EE";
  ASSERT_TRUE(h.Read(true));
  ASSERT_EQ(rec.events, Events{"Done"});
  EXPECT_EQ(rec.body, "AA99 11EE");
  EXPECT_EQ(rec.contentType, "text/plain");
}

TEST_F(WinHttpTest, OutputFileThatCannotBeWrittenGivesOutputFileError) {
  TWinHTTP h;
  Recorder rec;
  rec.Attach(h);
  h.URL = server.Url("/size/5000");
  h.OutputFileName = dir.filePath("no/such/folder/target.dat");
  ASSERT_TRUE(h.Read(true));
  EXPECT_EQ(rec.events, (Events{"OutputFileError", "AnyError"}));
}

TEST_F(WinHttpTest, SecondRequestWhileBusyIsRefusedAndEventsArriveOnTheGuiThread) {
  TWinHTTP h;
  Recorder rec;
  rec.Attach(h);
  h.URL = server.Url("/slow/3/50");
  ASSERT_TRUE(h.Read(false));
  EXPECT_TRUE(h.Busy());
  EXPECT_FALSE(h.Read(false));
  EXPECT_FALSE(h.Read(true));
  EXPECT_TRUE(rec.events.empty());  // nothing is delivered until the GUI thread processes events
  ASSERT_TRUE(test::PumpEventsUntil([&] { return !rec.events.empty(); }));
  EXPECT_EQ(rec.events, Events{"Done"});
  EXPECT_EQ(rec.body, ServedBody(3000));
  // The component is free again, and a new request runs on a new worker.
  h.URL = server.Url("/size/10");
  EXPECT_TRUE(h.Read(true));
  EXPECT_EQ(rec.events, (Events{"Done", "Done"}));
}

TEST_F(WinHttpTest, TimersKeepFiringWhileWaiting) {
  TWinHTTP h;
  Recorder rec;
  rec.Attach(h);
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(10);
  h.URL = server.Url("/slow/5/60");
  ASSERT_TRUE(h.Read(true));
  EXPECT_EQ(rec.events, Events{"Done"});
  EXPECT_GE(ticks, 3);  // the transfer takes at least 240 ms
}

TEST_F(WinHttpTest, AbortEndsTheRequestWithoutAnOutcome) {
  for (bool kill : {true, false}) {
    SCOPED_TRACE(kill ? "kill" : "stop at next check");
    QFile::remove(Target());
    TWinHTTP h;
    Recorder rec;
    rec.Attach(h);
    h.URL = server.Url("/slow/50/50");
    h.OutputFileName = Target();
    h.OnProgress = [&](TCustomWinHTTP& sender, const QByteArray&, const TTransferProgress&, TStream&) {
      sender.Abort(true, kill);
    };
    EXPECT_TRUE(h.Read(true));
    EXPECT_FALSE(h.Busy());
    EXPECT_TRUE(rec.events.empty());
    EXPECT_FALSE(QFile::exists(Target()));
    // No partial file stays once the abandoned worker has gone.
    ASSERT_TRUE(test::PumpEventsUntil([&] { return FilesInDir().isEmpty(); }));
    h.OnProgress = nullptr;
    h.OutputFileName.clear();
    h.URL = server.Url("/size/10");
    EXPECT_TRUE(h.Read(true));
    EXPECT_EQ(rec.events, Events{"Done"});
  }
}

TEST_F(WinHttpTest, WaitTimeout) {
  {
    SCOPED_TRACE("the handler lets it end the request");
    TWinHTTP h;
    Recorder rec;
    rec.Attach(h);
    int fired = 0;
    h.OnWaitTimeoutExpired = [&](TCustomWinHTTP&, bool& terminate) {
      ++fired;
      EXPECT_TRUE(terminate);
    };
    h.URL = server.Url("/slow/50/50");
    h.WaitTimeout = 150;
    EXPECT_FALSE(h.Read(true));
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(h.Busy());
    test::PumpEventsUntil([] { return false; }, 100);
    EXPECT_TRUE(rec.events.empty());
  }
  {
    SCOPED_TRACE("the handler keeps the worker");
    TWinHTTP h;
    Recorder rec;
    rec.Attach(h);
    h.OnWaitTimeoutExpired = [&](TCustomWinHTTP&, bool& terminate) { terminate = false; };
    h.URL = server.Url("/slow/8/100");
    h.WaitTimeout = 50;
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(h.Read(true));
    EXPECT_LT(t.elapsed(), 500);  // returned at the time-out, not at the end (700 ms on)
    EXPECT_TRUE(h.Busy());
    ASSERT_TRUE(test::PumpEventsUntil([&] { return !rec.events.empty(); }));
    EXPECT_EQ(rec.events, Events{"Done"});
  }
}

TEST_F(WinHttpTest, SilentServersEndByTheReceiveTimeout) {
  const struct {
    const char* path;
    Events events;
  } cases[] = {
      {"/nostatus", {"HostUnreachable", "AnyError"}},
      {"/stall", {"ConnLost", "AnyError"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    TWinHTTP h;
    Recorder rec;
    rec.Attach(h);
    h.URL = server.Url(c.path);
    h.Timeouts.ReceiveTimeout = 1000;
    h.Timeouts.SendTimeout = 1000;
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(h.Read(true));
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_EQ(rec.events, c.events);
  }
}

TEST_F(WinHttpTest, ARequestStartedFromTheDoneEventRuns) {
  TWinHTTP h;
  std::vector<QByteArray> bodies;
  h.OnDone = [&](TCustomWinHTTP& sender, const QByteArray&, qint64, TStream& s) {
    bodies.push_back(ReadAll(s));
    if (bodies.size() == 1) {
      sender.URL = server.Url("/size/20");
      EXPECT_TRUE(sender.Read(true));
    }
  };
  h.URL = server.Url("/size/10");
  ASSERT_TRUE(h.Read(true));
  EXPECT_EQ(bodies, (std::vector<QByteArray>{ServedBody(10), ServedBody(20)}));
}

TEST_F(WinHttpTest, DestroyingTheComponentFromItsEventsIsSafe) {
  {
    auto h = std::make_unique<TWinHTTP>();
    h->URL = server.Url("/size/10");
    bool done = false;
    h->OnDone = [&](TCustomWinHTTP&, const QByteArray&, qint64, TStream&) {
      done = true;
      h.reset();
    };
    EXPECT_TRUE(h->Read(false));
    ASSERT_TRUE(test::PumpEventsUntil([&] { return done; }));
    EXPECT_FALSE(h);
  }
  {
    // Destroyed by a timer while the GUI thread waits for it.
    auto h = std::make_unique<TWinHTTP>();
    Recorder rec;
    rec.Attach(*h);
    h->URL = server.Url("/slow/50/50");
    QTimer::singleShot(100, [&] { h.reset(); });
    TWinHTTP* raw = h.get();
    EXPECT_FALSE(raw->Read(true));
    EXPECT_FALSE(h);
    EXPECT_TRUE(rec.events.empty());
  }
}

// A window closed from an HTTP event frees the component while its waiting Read is still inside
// the worker start: the wait must notice without touching the freed component.
TEST_F(WinHttpTest, AWaitingReadSurvivesAnEventThatFreesTheComponent) {
  const struct {
    const char* name;
    const char* path;
    void (*attach)(TWinHTTP& h, std::function<void()> free);
  } cases[] = {
      {"done", "/size/10",
       [](TWinHTTP& h, std::function<void()> free) {
         h.OnDone = [free](TCustomWinHTTP&, const QByteArray&, qint64, TStream&) { free(); };
       }},
      {"error", "/status/404",
       [](TWinHTTP& h, std::function<void()> free) {
         h.OnHTTPError = [free](TCustomWinHTTP&, int, TStream&) { free(); };
       }},
      {"progress", "/size/20000",
       [](TWinHTTP& h, std::function<void()> free) {
         h.OnProgress = [free](TCustomWinHTTP&, const QByteArray&, const TTransferProgress&, TStream&) { free(); };
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto h = std::make_unique<TWinHTTP>();
    h->URL = server.Url(c.path);
    int frees = 0;
    c.attach(*h, [&] {
      ++frees;
      h.reset();
    });
    TWinHTTP* raw = h.get();
    EXPECT_FALSE(raw->Read(true));
    EXPECT_FALSE(h);
    EXPECT_EQ(frees, 1);
  }
}

TEST_F(WinHttpTest, RequestHeadersCredentialsAndRanges) {
  TWinHTTP h;
  Recorder rec;
  rec.Attach(h);
  h.URL = server.Url("/headers");
  h.Username = "user";
  h.Password = "secret";
  h.Agent = "Probe/1";
  h.AddHeaders = {"X-Extra: 1", "  "};
  h.CacheOptions = coAlwaysReload;
  ASSERT_TRUE(h.Read(true));
  EXPECT_EQ(rec.body, "Authorization=Basic dXNlcjpzZWNyZXQ=\nUser-Agent=Probe/1\nAccept=text/html, */*\n"
                      "Pragma=no-cache\nX-Extra=1\n");
  // Credentials in the URL win over the properties.
  h.URL = "http://u:p@127.0.0.1:" + QByteArray::number(server.Port()) + "/headers";
  ASSERT_TRUE(h.Read(true));
  EXPECT_TRUE(rec.body.startsWith("Authorization=Basic dTpw\n")) << rec.body.toStdString();

  h.URL = server.Url("/size/100");
  ASSERT_TRUE(h.ReadRange(10, 19, true));
  EXPECT_EQ(rec.body, ServedBody(100).mid(10, 10));
  EXPECT_EQ(rec.fileSize, 10);
}

TEST_F(WinHttpTest, ProxySettings) {
  const struct {
    const char* name;
    TProxyAccessType type;
    QByteArray bypass;
    Events events;
  } cases[] = {
      {"direct ignores the environment", TProxyAccessType::Direct, "", {"Done"}},
      {"loopback bypasses the proxy", TProxyAccessType::Proxy, "127.0.0.1;", {"Done"}},
      {"through a proxy that is not there", TProxyAccessType::Proxy, "", {"HostUnreachable", "AnyError"}},
  };
  const QByteArray deadPort = TestServer::DeadUrl().split(':').last().split('/').first();
  qputenv("http_proxy", "http://127.0.0.1:" + deadPort);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TWinHTTP h;
    Recorder rec;
    rec.Attach(h);
    h.URL = server.Url("/size/10");
    h.Proxy.AccessType = c.type;
    h.Proxy.ProxyServer = "127.0.0.1";
    h.Proxy.ProxyPort = deadPort.toInt();
    h.Proxy.ProxyBypass = c.bypass;
    ASSERT_TRUE(h.Read(true));
    EXPECT_EQ(rec.events, c.events);
  }
  qunsetenv("http_proxy");
}

TEST(WinHttpUrl, CrackAndEncode) {
  const struct {
    const char* in;
    const char* url;
    const char* user;
    const char* password;
  } cases[] = {
      {"example.org/a b", "http://example.org/a%20b", "", ""},
      {"HTTPS://h:8443", "https://h:8443/", "", ""},
      {"http://u:p@h/x?page=APP", "http://h/x?page=APP", "u", "p"},
      {"http://h/AccessIn.ashx?page=APP&x=a b", "http://h/AccessIn.ashx?page=APP&x=a b", "", ""},
      {"http://h/%41#*+<>", "http://h/%2541%23%2A%2B%3C%3E", "", ""},
      {"http://h/\x01\x7F\xE9", "http://h/%01\x7F%E9", "", ""},
      {"http://h?q=1", "http://h/?q=1", "", ""},
  };
  for (const auto& c : cases) {
    const TCrackedUrl u = CrackUrl(c.in);
    EXPECT_EQ(u.Url(), QByteArray(c.url)) << c.in;
    EXPECT_EQ(u.UserName, QByteArray(c.user)) << c.in;
    EXPECT_EQ(u.Password, QByteArray(c.password)) << c.in;
  }
}

TEST(WinHttpProgress, Figures) {
  const struct {
    qint64 length, offset, read, elapsedMs;
    qint64 dataSize, bytesRead;
    int elapsed, left, percents;
    float rate;
  } cases[] = {
      {10240, 0, 5120, 500, 10240, 5120, 0, 0, 50, 5.0f},       // under a second: the kilobytes
      {10240, 0, 2048, 4000, 10240, 2048, 4, 16, 20, 0.5f},     // 2 KiB in 4 s: 20 s in all
      {3, 0, 2, 0, 3, 2, 0, 0, 67, 2 / 1024.0f},                // rounded percentage
      {-1, 0, 4096, 2500, 0, 4096, 2, 0, 0, 2.0f},              // unknown length
      {1000, 500, 250, 1000, 1500, 750, 1, 3, 50, 250 / 1024.0f},  // with an offset
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0.0f},
  };
  for (const auto& c : cases) {
    const TTransferProgress p = ComputeTransferProgress(c.length, c.offset, c.read, c.elapsedMs);
    SCOPED_TRACE(testing::Message() << c.length << "/" << c.read << "/" << c.elapsedMs);
    EXPECT_EQ(p.DataSize, c.dataSize);
    EXPECT_EQ(p.BytesRead, c.bytesRead);
    EXPECT_EQ(p.ElapsedTime, c.elapsed);
    EXPECT_EQ(p.EstimatedTimeLeft, c.left);
    EXPECT_EQ(p.PercentsDone, c.percents);
    EXPECT_FLOAT_EQ(p.TransferRate, c.rate);
  }
}

}  // namespace
}  // namespace zabko
