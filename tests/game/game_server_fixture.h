// The game against the stand-in server: tiny word databases on disk that the server also serves
// its questions from, a game client over HTTP or the in-process channel, a words center over
// them with the shared progress runner fake, and a log-on that counts.
#pragma once

#include "devserver/dev_server.h"
#include "game/play/game_client.h"
#include "game/play/words_center.h"
#include "tests/net/dev_fixture.h"
#include "tests/common/window_fakes.h"
#include "tools/word_db_writer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zabko::test {

class GameServerTest : public ::testing::TestWithParam<bool> {
 protected:
  static constexpr const char* kUser = "dana";
  static constexpr const char* kPassword = "secret";
  static constexpr qint32 kHebrew = 10, kEnglish = 20;

  // English words a-h (ids 20001-20008) with Hebrew meanings; Hebrew words of four letters
  // (10001-10004) with English ones.
  static QList<std::pair<QString, QString>> EnglishWords() {
    return {{"apple", "תפוח"}, {"book", "ספר"},  {"cat", "חתול"},  {"dog", "כלב"},
            {"egg", "ביצה"},   {"fish", "דג"},   {"goat", "עז"},   {"hat", "כובע"}};
  }
  static QList<std::pair<QString, QString>> HebrewWords() {
    return {{"אבא", "father"}, {"בית", "house"}, {"גמל", "camel"}, {"דג", "fish"}};
  }

  void SetUp() override {
    WriteDatabases();
    dev::TDevServerOptions options;
    options.memberCount = 1;
    options.clock = [this] { return now_; };
    server_ = std::make_unique<dev::TDevServer>(options);
    server_->WithState([this](dev::TDevProtocol& p) {
      p.Words().LoadDatabase(HebrewPath(), kHebrew);
      p.Words().LoadDatabase(EnglishPath(), kEnglish);
    });
    server_->AddUser(kUser, kPassword);
    server_->Start();
    if (GetParam()) {
      client_ = NewGameClient();
      dynamic_cast<TWebPacketChannel*>(client_->Channel)->Http().Timeouts.ReceiveTimeout = 2000;
    } else {
      client_ = std::make_unique<TGameClient>(new TInProcessChannel(*server_), true);
    }
    client_->UserName = kUser;
    client_->Password = kPassword;
    client_->SetBaseURL(server_->BaseUrl(dev::TDevServer::MemberName(0)));
  }

  void TearDown() override { server_->Stop(); }

  QString HebrewPath() const { return dir_.filePath("ClientPsyHebrew.dat"); }
  QString EnglishPath() const { return dir_.filePath("ClientPsyEnglish.dat"); }

  void WriteDatabases() {
    const auto write = [](WordLanguage language, const QList<std::pair<QString, QString>>& words,
                          const QString& file) {
      TWordDBWriter db(language);
      db.AddSubject({1, 0, QString::fromUtf8("כללי"), "General"});
      db.AddSubject({2, 1, QString::fromUtf8("בית"), "Home"});
      for (const auto& [word, meaning] : words) db.AddWord(word, meaning, 2);
      db.SaveToFile(file, 3010);
    };
    write(WordLanguage::Hebrew, HebrewWords(), HebrewPath());
    write(WordLanguage::English, EnglishWords(), EnglishPath());
  }

  // The words center as the play screen sets it up; the log-on stands for the main window's.
  TWordsCenter& MakeCenter() {
    center_ = std::make_unique<TWordsCenter>(HebrewPath(), EnglishPath());
    center_->Client = client_.get();
    center_->Progress = &runner_;
    center_->LogOn = [this] {
      ++logOns_;
      client_->LogOn(-1, false);
    };
    return *center_;
  }

  // The game's log-on: authenticated from here on.
  void LogOn() {
    ASSERT_TRUE(client_->LogOn(-1, false));
    client_->Authenticated = true;
    server_->ClearLog();
  }

  void Fault(const QByteArray& method, dev::TFaultKind kind, int times = -1) {
    dev::TFault fault;
    fault.kind = kind;
    fault.times = times;
    server_->SetFault({}, method, fault);
  }

  std::vector<QByteArray> Methods() const {
    std::vector<QByteArray> methods;
    for (const auto& e : server_->Log()) methods.push_back(e.method);
    return methods;
  }

  QTemporaryDir dir_;
  qint64 now_ = 1'800'000'000'000;
  std::unique_ptr<dev::TDevServer> server_;
  std::unique_ptr<TGameClient> client_;
  TFakeRunner runner_;
  std::unique_ptr<TWordsCenter> center_;
  int logOns_ = 0;
};

}  // namespace zabko::test
