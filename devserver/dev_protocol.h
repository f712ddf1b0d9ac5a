// The requests of the stand-in server: reads one request packet (plain or session envelope),
// answers it from the store, the word catalogue and the file lists, and writes the reply packet
// (Strings[0] status, Integers[0] error number of a failure, Packets[0] payload). Every request
// is outside input: a missing argument gives a failure reply, never a crash.
#pragma once

#include "core/data_packet.h"
#include "devserver/dev_files.h"
#include "devserver/dev_store.h"
#include "devserver/dev_words.h"

#include <QByteArray>

#include <functional>
#include <map>
#include <random>
#include <vector>

namespace zabko::dev {

// Reply values that a test or the demo may change.
struct TDevConfig {
  qint32 versionNumber = 30;  // the newest program version the server knows
  qint32 serverType = 7001;
  QByteArray answerText = "Zabko development server";
  QByteArray link = "http://127.0.0.1/";
  QByteArray exitPage1;
  QByteArray exitPage2;
  qint32 logOnValue = 1;
  bool autoRegister = false;  // an unknown user name becomes a new user with that password
  int hotWordsLimit = 10;
  qint64 hotWordsWindowMs = 24LL * 3600 * 1000;
  // Not empty: "Game.HandShake" refuses the game with this message (result false, no session).
  QString handShakeRefusal;
};

// One virtual server as the protocol sees it.
struct TServerInfo {
  QByteArray name;     // "default", "cube", "member0", ...
  QByteArray baseUrl;  // "http://127.0.0.1:<port>/app/"
};

// Status texts of the replies.
inline constexpr const char* kSuccess = "Success";
inline constexpr const char* kNotLogged = "Not Logged";

// What the parsed request said, for the request log.
struct TRequestSummary {
  QByteArray method;
  bool session = false;
  qint32 sessionId = -1;
  QByteArray userName;
  std::shared_ptr<const TDataPacket> arguments;
};

class TDevProtocol {
 public:
  TDevProtocol(TDevStore& store, TDevWords& words, TDevFiles& files,
               std::function<qint64()> clock, quint32 seed);

  TDevConfig& Config() { return config_; }
  TDevStore& Store() { return store_; }
  TDevWords& Words() { return words_; }
  TDevFiles& Files() { return files_; }
  // The message list of "CheckVersion" (its Packets[0]) and of "GetWordsStatus" (the last packet).
  TDataPacket& VersionMessages() { return versionMessages_; }
  TDataPacket& StatusMessages() { return statusMessages_; }

  // Wrong answers to the first words of each language, now, and counts of questions and
  // answers: a new user sees hot words at once.
  void SeedDemoHotWords();

  // The group every user belongs to: its server and its members, in order.
  void SetGroup(const TServerInfo& cube, const std::vector<TServerInfo>& members);

  // Reads the envelope of a request; false when it is not one.
  static bool Summarise(const TDataPacket& request, TRequestSummary& summary);
  // Answers one request arriving at a server. wrongHash lists file hashes that do not match.
  void Handle(const TServerInfo& server, const TDataPacket& request, TDataPacket& reply,
              bool wrongHash);

 private:
  struct TCall;
  using THandler = void (TDevProtocol::*)(TCall&);

  void CheckVersion(TCall& call);
  void LogOn(TCall& call);
  void FindUserCube(TCall& call);
  void GetFilterList(TCall& call);
  void GetFilterList2(TCall& call);
  void GetWordsStatus(TCall& call);
  void GetHotWordsData(TCall& call);
  void GetQuestions(TCall& call);
  void GameGetQuestions(TCall& call);
  void LogOff(TCall& call);
  void GetDownloadFiles(TCall& call);
  void GetPreDownloadFiles(TCall& call);
  void UpdateDataCount(TCall& call);
  void GetDataMetaData(TCall& call);
  void GetDataCount(TCall& call);
  void SetDataMetaData(TCall& call);
  void UpdateWords(TCall& call);
  void GameHandShake(TCall& call);
  void GameGetDownloadFiles(TCall& call);
  void GameGetTop10(TCall& call);
  void GameSendStats(TCall& call);

  void AddQuestions(TCall& call, int from, int to, int languageCode, int subject, int subSubject,
                    int count, bool inOrder);
  std::optional<TDevUser> CheckUser(const QByteArray& name, const QByteArray& password);
  QByteArray ServerNameOfUrl(const QByteArray& url) const;

  TDevStore& store_;
  TDevWords& words_;
  TDevFiles& files_;
  std::function<qint64()> clock_;
  std::mt19937 random_;
  TDevConfig config_;
  TDataPacket versionMessages_;
  TDataPacket statusMessages_;
  TServerInfo cube_;
  std::vector<TServerInfo> members_;
  struct TMethod {
    THandler handler;
    bool needsSession;
  };
  std::map<QByteArray, TMethod> methods_;
};

}  // namespace zabko::dev
