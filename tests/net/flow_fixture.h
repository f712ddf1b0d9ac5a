// The connection flow against the stand-in server over loopback HTTP, with fakes for every
// window: a progress runner that runs the job inline and records its steps and exceptions, a
// message service that records the boxes, a download dialog that fetches with TFileDownloader,
// a main window and a log-on dialog that answer from the test, and an instant clock.
#pragma once

#include "core/cube_management.h"
#include "core/exception_log.h"
#include "core/zabkolex_strings.h"
#include "devserver/dev_server.h"
#include "net/answer_holder.h"
#include "net/db_handler.h"
#include "net/file_downloader.h"
#include "net/flow_hooks.h"
#include "net/flow_ui.h"
#include "net/web_packet_channel.h"
#include "net/zabkolex_central.h"
#include "net/zabkolex_client.h"
#include "net/zabkolex_flow.h"
#include "platform/exception.h"
#include "platform/registry_ini_file.h"
#include "tools/res_db_writer.h"
#include "tools/word_db_writer.h"
#include "tests/common/test_util.h"
#include "tests/common/window_fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace zabko::test {

class TFakeDownload : public IFileListDownload {
 public:
  struct TCall {
    QString folder, indexName, line1;
    int files = 0;
    bool hebrew = false;
  };
  bool DownloadFilesWithProgress(const QString& folder, const QString& indexName, const TDataPacket& fileList,
                                 const QString& line1, const QString&, const QString&, bool hebrew) override {
    calls.push_back({folder, indexName, line1, fileList.PacketCount(), hebrew});
    return TFileDownloader(folder, indexName).DownloadAll(fileList);
  }
  std::vector<TCall> calls;
};

class TFakeMainWindow : public IMainWindowHooks {
 public:
  explicit TFakeMainWindow(TZabkolexCentral*& central) : central_(central) {}
  QString GetAnswersFileName() override { return UserFile(".answers"); }
  QString GetUserDataFileName() override { return UserFile(".data"); }
  std::vector<qint32> GetFollowStates() override { return {1, 2}; }
  void SetHotWords(const TDataPacket& packet) override {
    ++hotWordCalls;
    hotWords.Assign(packet);
  }
  void ShowConnectionError() override { ++connectionErrors; }
  void ShowInvalidServer() override { ++invalidServer; }

  QString UserFile(const char* ext) const {
    return central_->ResolveAppDataPath("Users\\" + QString::fromLatin1(central_->Client().UserKey) + ext);
  }

  int hotWordCalls = 0, connectionErrors = 0, invalidServer = 0;
  TDataPacket hotWords;

 private:
  TZabkolexCentral*& central_;
};

// Tries the scripted name and password pairs in turn, as a learner would, and closes the
// dialog (without OK) when none logs on.
class TFakeLoginDialog : public ILoginDialog {
 public:
  bool RunLoginDialog(TZabkolexFlow& flow) override {
    for (const auto& [name, password] : attempts)
      if (flow.LogOnWithProgress(name, password)) return true;
    return false;
  }
  std::vector<std::pair<QByteArray, QByteArray>> attempts;
};

class TFakeClock : public IFlowClock {
 public:
  TDateTime Now() override { return now; }
  void Wait(int ms) override { waited += ms; }
  TDateTime now = EncodeDateTime({2026, 12, 10, 10, 0, 0, 0});
  int waited = 0;
};

class FlowTest : public testing::Test {
 protected:
  static constexpr const char* kUser = "dana";
  static constexpr const char* kPassword = "secret";
  static constexpr int kHebrew = 10, kEnglish = 20;

  virtual int MemberCount() const { return 2; }

  void SetUp() override {
    savedConfig_ = qgetenv("XDG_CONFIG_HOME");
    savedData_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_CONFIG_HOME", (dir_.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (dir_.path() + "/data").toUtf8());

    dev::TDevServerOptions options;
    options.memberCount = MemberCount();
    server_ = std::make_unique<dev::TDevServer>(options);
    WriteWordDatabases();
    server_->WithState([this](dev::TDevProtocol& p) {
      p.Words().LoadDatabase(dir_.path() + "/ClientPsyHebrew.dat", kHebrew);
      p.Words().LoadDatabase(dir_.path() + "/ClientPsyEnglish.dat", kEnglish);
      p.Files().AddFromDisk(dev::TFileList::PreDownload, dir_.path() + "/ClientPsyHebrew.dat");
      p.Files().AddFromDisk(dev::TFileList::PreDownload, dir_.path() + "/ClientPsyEnglish.dat");
      for (const QString& name : AudioNames()) {
        TResDBWriter db;
        db.AddData("1.mp3", name.toLatin1());
        p.Files().Add(dev::TFileList::Download, name.toLatin1(), db.ToBytes());
      }
    });
    userKey_ = server_->AddUser(kUser, kPassword);
    server_->Start();
    TRegistryIniFile("Software\\Kestrani\\Zabkolex").WriteString("Main", "ConnectionURL", Url("default"));
    StartRun();
  }

  void TearDown() override {
    EndRun();
    server_->Stop();
    qputenv("XDG_CONFIG_HOME", savedConfig_);
    qputenv("XDG_DATA_HOME", savedData_);
  }

  // A start of the program: a new central object and flow over the same settings and folder.
  void StartRun() {
    EndRun();
    TZabkolexCentral::THooks hooks;
    hooks.makePlayer = [this](TResManager*, int, int) {
      ++playersMade_;
      return TZabkolexCentral::TPlayerPtr(reinterpret_cast<TResPlayer*>(this), [](TResPlayer*) {});
    };
    central_ = new TZabkolexCentral(hooks);
    SetCentral(central_);
    central_->Strings().LoadLanguage(1);
    dynamic_cast<TWebPacketChannel*>(central_->Client().Channel)->Http().Timeouts.ReceiveTimeout = 5000;
    runner_ = {};
    messages_ = {};
    download_ = {};
    window_ = std::make_unique<TFakeMainWindow>(central_);
    login_.attempts = {{kUser, kPassword}};
    TFlowServices services{&runner_, &messages_, &download_, window_.get(), &login_, &clock_};
    flow_ = std::make_unique<TZabkolexFlow>(*central_, services);
  }

  // The end of a run without log-off, as after a crash.
  void EndRun() {
    flow_.reset();
    SetCentral(nullptr);
    delete central_;
    central_ = nullptr;
  }

  void LoadPacks() {
    if (central_->LanguagePacks().empty()) central_->CreateLanguagePacks({}, {}, {}, {});
  }

  // The start-up up to a finished log-on: language files, word lists, version check, log-on.
  void StartAndLogOn() {
    ASSERT_TRUE(flow_->UpdateLanguageFiles());
    LoadPacks();
    flow_->ConnectToServer();
    ASSERT_FALSE(flow_->MustClose);
    flow_->RunLoginDialog();
    ASSERT_FALSE(flow_->MustClose) << runner_.exceptions.join("; ").toStdString();
    server_->ClearLog();
  }

  static QStringList AudioNames() {
    QStringList names{"BaseAudio"};
    for (int i = 1; i <= 22; ++i) names << "Audio" + QString::number(i);
    for (char c = 'A'; c <= 'Z'; ++c) names << "Audio" + QString(QChar(c));
    return names;
  }

  // The Hebrew word list the server and the program share; a test that needs more words
  // (a whole practice) adds them.
  virtual QStringList HebrewWords() const {
    return {QString::fromUtf8("אבא"), QString::fromUtf8("בית"), QString::fromUtf8("גמל")};
  }

  void WriteWordDatabases() {
    const auto write = [this](WordLanguage language, const QStringList& words, const char* file) {
      TWordDBWriter db(language);
      db.AddSubject({1, 0, QString::fromUtf8("כללי"), "General"});
      db.AddSubject({2, 1, QString::fromUtf8("בית"), "Home"});
      for (const QString& w : words) db.AddWord(w, "m", 2);
      db.SaveToFile(dir_.path() + "/" + file, 3010);
    };
    write(WordLanguage::Hebrew, HebrewWords(), "ClientPsyHebrew.dat");
    write(WordLanguage::English, {"apple", "book", "cat"}, "ClientPsyEnglish.dat");
  }

  QByteArray Url(const QByteArray& server) const { return server_->BaseUrl(server); }
  TZabkolexClient& Client() { return central_->Client(); }
  TCubeManagement& Cube() { return central_->CubeManagement(); }
  std::vector<dev::TLoggedRequest> Requests(const QByteArray& method) const { return server_->LogOf(method); }
  std::vector<QByteArray> ServersOf(const QByteArray& method) const {
    std::vector<QByteArray> names;
    for (const auto& e : server_->LogOf(method)) names.push_back(e.server);
    return names;
  }
  void WithStore(const std::function<void(dev::TDevStore&)>& f) {
    server_->WithState([&](dev::TDevProtocol& p) { f(p.Store()); });
  }
  void Fault(const QByteArray& server, const QByteArray& method, dev::TFaultKind kind, int times = -1) {
    dev::TFault fault;
    fault.kind = kind;
    fault.times = times;
    server_->SetFault(server, method, fault);
  }
  void AddAnswers(int n) {
    for (int i = 0; i < n; ++i) central_->AnswerHolder().AddAnswer(kEnglish, 20001 + i % 3, nullptr, kAnswerRight);
  }
  QString DataPath(const QString& name) const { return central_->ResolveAppDataPath(name); }

  QTemporaryDir dir_;
  QByteArray savedConfig_, savedData_;
  std::unique_ptr<dev::TDevServer> server_;
  QByteArray userKey_;
  TZabkolexCentral* central_ = nullptr;
  TFakeRunner runner_;
  TFakeMessages messages_;
  TFakeDownload download_;
  std::unique_ptr<TFakeMainWindow> window_;
  TFakeLoginDialog login_;
  TFakeClock clock_;
  std::unique_ptr<TZabkolexFlow> flow_;
  int playersMade_ = 0;
};

}  // namespace zabko::test
