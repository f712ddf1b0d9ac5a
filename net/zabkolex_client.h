// The learning program's server client: one method per server request, and the log-on state.
// A reply that lacks a field a method reads makes the method fail as a transport failure does;
// only "CheckVersion", "HasDataMetaData" and the list requests give short replies a meaning.
#pragma once

#include "net/packet_client.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace zabko {

class TDataPacket;

// One question of a "GetQuestions" reply (24 bytes, as the game keeps them).
struct TTestQuestion {
  qint32 Answer1 = 0;
  qint32 Answer2 = 0;
  qint32 Answer3 = 0;
  qint32 Answer4 = 0;
  qint32 WordId = 0;
  quint8 StatusIfRight = 0;
  quint8 StatusIfWrong = 0;
  quint8 CurrentStatus = 0;
  quint8 Pad = 0;
};
static_assert(sizeof(TTestQuestion) == 24);

class TZabkolexClient : public TBasePacketClient {
 public:
  TZabkolexClient(TBasePacketChannel* channel, bool ownsChannel);

  QByteArray UserName;
  QByteArray Password;
  QByteArray UserKey;
  qint32 SessionId = -1;
  std::function<void(TZabkolexClient&)> OnLogOn;
  bool LogOnRefused = false;
  bool LogOnFlag1 = false;
  qint32 LogOnValue = 0;
  qint32 LastDataCount = 0;
  bool LogOnFlag2 = false;

  // Writes the session envelope (current session id and user name) and returns the argument
  // packet.
  TDataPacket* BeginSessionRequest(const QByteArray& methodName, TDataPacket& request);
  bool IsLoggedOn() const { return SessionId >= 0; }
  // Logs on again with the data count of the last log-on. A re-logon never starts another one:
  // while "LogOn" or "LogOff" is under way it answers false.
  bool Relogon() override;

  // The channel's base URL; both raise "Invalid class typecast" unless the channel is a
  // TWebPacketChannel. SetBaseURL returns the previous URL.
  QByteArray SetBaseURL(const QByteArray& url);
  QByteArray GetBaseURL() const;

  // Every output is cleared first; failures are swallowed.
  void CheckVersion(bool flag, qint32& version, QByteArray& answerText, QByteArray& link,
                    QByteArray& exitPage1, QByteArray& exitPage2, qint32& serverType,
                    TDataPacket* messages);
  bool LogOn(qint32 localDataCount, bool flag, TDataPacket* result = nullptr);
  bool GetFilterList(QStringList& list, quint8 firstLetter, quint8 lastLetter, quint8 wordChoice,
                     qint32 languageCode, qint32 subjectId, qint32 subSubjectId);
  bool GetFilterList2(QStringList& list, quint8 firstLetter, quint8 lastLetter, quint8 selector1,
                      quint8 selector2, qint32 languageCode);
  bool GetWordsStatus(TDataPacket& result);
  bool GetHotWordsData(TDataPacket& result);
  // "Game.GetQuestions" without subject and sub-subject when game is set.
  bool GetQuestions(quint8 from, quint8 to, qint32 languageCode, qint32 subject,
                    qint32 subSubject, qint32 count, bool order, bool game,
                    std::vector<TTestQuestion>& questions);
  void LogOff(const std::vector<qint32>& values, TDataPacket* result = nullptr);
  bool GetDownloadFiles(qint32 version, bool flag1, bool flag2, TDataPacket& result);
  bool GetPreDownloadFiles(qint32 version, const QByteArray& url, TDataPacket& result);
  bool FindUserCube(TDataPacket& result);
  void UpdateDataCount();
  void SetDataMetaData(qint32 count, const QByteArray& url);
  bool GetDataMetaData(qint32& count, QByteArray& url);
  bool HasDataMetaData(bool& hasMetaData);
  bool GetDataCount(qint32& count);

  // The question records of a reply payload, one per sub-packet; false (and no records) when a
  // sub-packet is too short.
  static bool UnpackQuestions(const TDataPacket& payload, std::vector<TTestQuestion>& questions);

 protected:
  void RefreshRequest(TDataPacket& request) override;

 private:
  // Runs a call during which a "Not Logged" reply does not log on again.
  bool CallWithoutRelogon(TDataPacket& request, TDataPacket& reply);
  bool noRelogon_ = false;
};

// A client over a new TWebPacketChannel that it owns.
std::unique_ptr<TZabkolexClient> CreateServerClient(const QByteArray& userName,
                                                    const QByteArray& password);

}  // namespace zabko
