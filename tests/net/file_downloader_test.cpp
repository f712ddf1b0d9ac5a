#include "net/file_downloader.h"

#include "core/data_packet.h"
#include "core/hasher.h"
#include "platform/stream.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <httplib.h>

#include <map>
#include <mutex>
#include <thread>

namespace zabko {
namespace {

// Serves named files from memory on 127.0.0.1 and counts the requests for each.
class FileServer {
 public:
  FileServer() {
    server_.Get(R"(/files/(.+))", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex_);
      const std::string name = req.matches[1];
      ++requests_[name];
      const auto it = files_.find(name);
      if (it == files_.end()) {
        res.status = 404;
        return;
      }
      res.set_content(it->second.toStdString(), "application/octet-stream");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::yield();
  }
  ~FileServer() {
    server_.stop();
    thread_.join();
  }
  void Put(const std::string& name, const QByteArray& body) {
    std::lock_guard lock(mutex_);
    files_[name] = body;
  }
  int Requests(const std::string& name) {
    std::lock_guard lock(mutex_);
    return requests_[name];
  }
  QByteArray Url(const std::string& name) const {
    return QByteArray("http://127.0.0.1:") + QByteArray::number(port_) + "/files/" + name.c_str();
  }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::map<std::string, QByteArray> files_;
  std::map<std::string, int> requests_;
};

QByteArray Digest(const QByteArray& body) {
  TMemoryStream stream(body);
  return HashStream(stream);
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class FileDownloaderTest : public testing::Test {
 protected:
  // A file-list entry: URL, name, hash, version.
  void AddToList(const std::string& name, const QByteArray& hash, int version = 1) {
    TDataPacket* f = list_.AddNewPacket();
    f->AddString(server_.Url(name));
    f->AddString(QByteArray::fromStdString(name));
    f->AddString(hash);
    f->AddInteger(version);
  }
  QString Path(const char* name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
  FileServer server_;
  TDataPacket list_;
};

TEST_F(FileDownloaderTest, FetchesRecordsAndThenSkipsCurrentFiles) {
  server_.Put("a.dat", "alpha");
  server_.Put("b.dat", QByteArray(30000, 'b'));
  AddToList("a.dat", Digest("alpha"), 3);
  AddToList("b.dat", Digest(QByteArray(30000, 'b')));
  TFileDownloader d(dir_.path(), "Index.dat");
  int progressEvents = 0;
  d.OnProgress = [&](TFileDownloader& sender) { ++progressEvents; };
  ASSERT_TRUE(d.DownloadAll(list_));
  EXPECT_EQ(ReadFile(Path("a.dat")), QByteArray("alpha"));
  EXPECT_EQ(d.FileNumber, 2);
  EXPECT_GT(progressEvents, 0);

  TDataPacket index;
  index.LoadFromFile(Path("Index.dat"), true);
  ASSERT_EQ(index.PacketCount(), 2);
  const TDataPacket* entry = index.FindPacketByString("a.dat", 0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->GetString(1), server_.Url("a.dat"));
  EXPECT_EQ(entry->GetString(2), Digest("alpha"));
  EXPECT_EQ(entry->GetInteger(0), 3);

  // Current files are not fetched again; a deleted one is.
  const QByteArray indexBefore = ReadFile(Path("Index.dat"));
  ASSERT_TRUE(QFile::remove(Path("b.dat")));
  TFileDownloader again(dir_.path(), "Index.dat");
  ASSERT_TRUE(again.DownloadAll(list_));
  EXPECT_EQ(server_.Requests("a.dat"), 1);
  EXPECT_EQ(server_.Requests("b.dat"), 2);
  EXPECT_EQ(ReadFile(Path("Index.dat")).size(), indexBefore.size());
}

TEST_F(FileDownloaderTest, AWrongHashIsTriedThreeTimesAndKeepsTheOldFile) {
  QFile old(Path("a.dat"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old good copy");
  old.close();
  server_.Put("a.dat", "corrupt");
  server_.Put("c.dat", "never asked");
  // A lower-case hash never matches the upper-case digest.
  AddToList("a.dat", Digest("corrupt").toLower());
  AddToList("c.dat", Digest("never asked"));
  TFileDownloader d(dir_.path(), "Index.dat");
  EXPECT_FALSE(d.DownloadAll(list_));
  EXPECT_EQ(server_.Requests("a.dat"), 3);
  EXPECT_EQ(server_.Requests("c.dat"), 0);
  EXPECT_EQ(ReadFile(Path("a.dat")), QByteArray("old good copy"));
  EXPECT_FALSE(QFile::exists(Path("Index.dat")));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no leftovers
}

TEST_F(FileDownloaderTest, MissingFileOnTheServerFailsAfterThreeAttempts) {
  AddToList("gone.dat", Digest("x"));
  TFileDownloader d(dir_.path(), "Index.dat");
  EXPECT_FALSE(d.DownloadAll(list_));
  EXPECT_EQ(server_.Requests("gone.dat"), 3);
  EXPECT_EQ(d.FileNumber, 1);
}

// Any exception on the way is one failed attempt, logged like the others; the next attempt and
// the rest of the list go on.
TEST_F(FileDownloaderTest, AnyExceptionIsOneFailedAttempt) {
  struct Failing : TFileDownloader {
    using TFileDownloader::TFileDownloader;
    void DownloadFile(const QByteArray& url, const QString& path) override {
      if (CurrentName == "a.dat" && failures > 0) {
        if (failures-- == 2) throw std::runtime_error("out of something");
        throw 42;
      }
      TFileDownloader::DownloadFile(url, path);
    }
    int failures = 2;
  };
  server_.Put("a.dat", "alpha");
  server_.Put("b.dat", "beta");
  AddToList("a.dat", Digest("alpha"));
  AddToList("b.dat", Digest("beta"));
  Failing d(dir_.path(), "Index.dat");
  EXPECT_TRUE(d.DownloadAll(list_));
  EXPECT_EQ(d.failures, 0);
  EXPECT_EQ(ReadFile(Path("a.dat")), QByteArray("alpha"));
  EXPECT_EQ(ReadFile(Path("b.dat")), QByteArray("beta"));
}

TEST_F(FileDownloaderTest, HostileNamesAreRefusedWithoutARequest) {
  for (const char* name : {"../escape.dat", "/etc/passwd", "sub/x.dat", "..", "", "a\\b", "index.DAT", "a.dat.download"}) {
    TFileDownloader d(dir_.path(), "Index.dat");
    EXPECT_FALSE(d.DownloadFileWithRetries(name, server_.Url("x"), 1, Digest("x"))) << name;
  }
  EXPECT_EQ(server_.Requests("x"), 0);
}

TEST_F(FileDownloaderTest, AnUnreadableIndexCountsAsEmpty) {
  QFile bad(Path("Index.dat"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("not a packet");
  bad.close();
  server_.Put("a.dat", "alpha");
  AddToList("a.dat", Digest("alpha"));
  TFileDownloader d(dir_.path(), "Index.dat");
  ASSERT_TRUE(d.DownloadAll(list_));
  TDataPacket index;
  index.LoadFromFile(Path("Index.dat"), false);
  EXPECT_EQ(index.PacketCount(), 1);
}

TEST_F(FileDownloaderTest, ShortListEntriesFailTheList) {
  list_.AddNewPacket()->AddString("http://127.0.0.1:1/x");
  TFileDownloader d(dir_.path(), "Index.dat");
  EXPECT_FALSE(d.DownloadAll(list_));
  TDataPacket empty;
  EXPECT_TRUE(d.DownloadAll(empty));
}

}  // namespace
}  // namespace zabko
