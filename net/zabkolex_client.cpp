#include "net/zabkolex_client.h"

#include "core/cube_management.h"
#include "core/exception_log.h"

#include "core/data_packet.h"
#include "net/web_packet_channel.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"

namespace zabko {

namespace {

constexpr int kTries = 3;

// Sets a flag for the length of a scope and restores it after.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = saved_; }

 private:
  bool& flag_;
  bool saved_;
};

TWebPacketChannel* WebChannel(TBasePacketChannel* channel) {
  auto* web = dynamic_cast<TWebPacketChannel*>(channel);
  if (web == nullptr) throw Exception("Invalid class typecast");
  return web;
}

void AppendIntegers(const TDataPacket& payload, QStringList& list) {
  for (int i = 0; i < payload.IntegerCount(); ++i) list.append(QString::number(payload.GetInteger(i)));
}

}  // namespace

TZabkolexClient::TZabkolexClient(TBasePacketChannel* channel, bool ownsChannel)
    : TBasePacketClient(channel, ownsChannel) {}

TDataPacket* TZabkolexClient::BeginSessionRequest(const QByteArray& methodName,
                                                  TDataPacket& request) {
  request.AddString(methodName);
  request.AddBoolean(true);
  TDataPacket* session = request.AddNewPacket();
  session->AddInteger(SessionId);
  session->AddString(UserName);
  return session->AddNewPacket();
}

void TZabkolexClient::RefreshRequest(TDataPacket& request) {
  if (request.BooleanCount() < 1 || !request.GetBoolean(0) || request.PacketCount() < 1) return;
  TDataPacket* session = request.GetPacket(0);
  if (session->IntegerCount() > 0) session->SetInteger(0, SessionId);
  if (session->StringCount() > 0) session->SetString(0, UserName);
}

bool TZabkolexClient::Relogon() {
  if (noRelogon_) return false;
  return LogOn(LastDataCount, false, nullptr);
}

bool TZabkolexClient::CallWithoutRelogon(TDataPacket& request, TDataPacket& reply) {
  TFlagScope scope(noRelogon_);
  return Call(request, reply, 1);
}

QByteArray TZabkolexClient::SetBaseURL(const QByteArray& url) {
  TWebPacketChannel* web = WebChannel(Channel);
  QByteArray previous = web->BaseURL;
  web->BaseURL = url;
  return previous;
}

QByteArray TZabkolexClient::GetBaseURL() const { return WebChannel(Channel)->BaseURL; }

void TZabkolexClient::CheckVersion(bool flag, qint32& version, QByteArray& answerText,
                                   QByteArray& link, QByteArray& exitPage1, QByteArray& exitPage2,
                                   qint32& serverType, TDataPacket* messages) {
  version = 0;
  answerText.clear();
  link.clear();
  exitPage1.clear();
  exitPage2.clear();
  serverType = 0;
  if (messages) messages->Clear();
  try {
    TDataPacket request, reply;
    BeginRequest("CheckVersion", request)->AddBoolean(flag);
    if (!Call(request, reply, kTries)) return;
    if (reply.IntegerCount() < 1 || reply.StringCount() < 2 || reply.PacketCount() < 1) return;
    version = reply.GetInteger(0);
    answerText = reply.GetString(0);
    link = reply.GetString(1);
    if (reply.StringCount() >= 4) {
      exitPage1 = reply.GetString(2);
      exitPage2 = reply.GetString(3);
    }
    if (messages) messages->Assign(*reply.GetPacket(0));
    serverType = reply.IntegerCount() >= 2 ? reply.GetInteger(1) : -1;
  } catch (...) {
    // A version check that fails leaves the outputs as far as they got.
    RecordCaughtException(std::current_exception());
  }
}

bool TZabkolexClient::LogOn(qint32 localDataCount, bool flag, TDataPacket* result) {
  LogOnRefused = false;
  SessionId = -1;
  LastDataCount = localDataCount;
  {
    TDataPacket request, reply;
    TDataPacket* args = BeginRequest("LogOn", request);
    args->AddString(UserName);
    args->AddString(Password);
    args->AddInteger(localDataCount);
    args->AddBoolean(flag);
    if (CallWithoutRelogon(request, reply) && reply.BooleanCount() >= 1) {
      LogOnRefused = !reply.GetBoolean(0);
      const bool complete = reply.IntegerCount() >= 2 && reply.BooleanCount() >= 3 &&
                            reply.StringCount() >= 1 && (!result || reply.PacketCount() >= 1);
      // The key names the user's files: a log-on that hands out a key unfit for that fails.
      const bool safeKey = complete && TCubeManagement::IsSafeUserKey(reply.GetString(0));
      if (complete && !safeKey) LogLine("LogOn: the server gave a user key that cannot name the user's files");
      if (!LogOnRefused && safeKey) {
        SessionId = reply.GetInteger(0);
        LogOnValue = reply.GetInteger(1);
        LogOnFlag1 = reply.GetBoolean(1);
        UserKey = reply.GetString(0);
        LogOnFlag2 = reply.GetBoolean(2);
        if (result) result->Assign(*reply.GetPacket(0));
      }
    }
  }
  const bool ok = SessionId > 0;
  if (ok && OnLogOn) OnLogOn(*this);
  return ok;
}

bool TZabkolexClient::GetFilterList(QStringList& list, quint8 firstLetter, quint8 lastLetter,
                                    quint8 wordChoice, qint32 languageCode, qint32 subjectId,
                                    qint32 subSubjectId) {
  TDataPacket request, reply;
  TDataPacket* args = BeginSessionRequest("GetFilterList", request);
  args->AddByte(firstLetter);
  args->AddByte(lastLetter);
  args->AddByte(wordChoice);
  args->AddInteger(languageCode);
  args->AddInteger(subjectId);
  args->AddInteger(subSubjectId);
  if (!Call(request, reply, kTries)) return false;
  AppendIntegers(reply, list);
  return true;
}

bool TZabkolexClient::GetFilterList2(QStringList& list, quint8 firstLetter, quint8 lastLetter,
                                     quint8 selector1, quint8 selector2, qint32 languageCode) {
  TDataPacket request, reply;
  TDataPacket* args = BeginSessionRequest("GetFilterList2", request);
  args->AddByte(firstLetter);
  args->AddByte(lastLetter);
  args->AddByte(selector1);
  args->AddByte(selector2);
  args->AddInteger(languageCode);
  if (!Call(request, reply, kTries)) return false;
  AppendIntegers(reply, list);
  return true;
}

bool TZabkolexClient::GetWordsStatus(TDataPacket& result) {
  TDataPacket request, reply;
  BeginSessionRequest("GetWordsStatus", request);
  if (!Call(request, reply, kTries)) return false;
  result.Assign(reply);
  return true;
}

bool TZabkolexClient::GetHotWordsData(TDataPacket& result) {
  TDataPacket request, reply;
  BeginSessionRequest("GetHotWordsData", request);
  if (!Call(request, reply, kTries)) return false;
  result.Assign(reply);
  return true;
}

bool TZabkolexClient::UnpackQuestions(const TDataPacket& payload,
                                      std::vector<TTestQuestion>& questions) {
  questions.clear();
  questions.reserve(static_cast<size_t>(payload.PacketCount()));
  for (int i = 0; i < payload.PacketCount(); ++i) {
    const TDataPacket& p = *payload.GetPacket(i);
    if (p.IntegerCount() < 5 || p.ByteCount() < 3) {
      questions.clear();
      return false;
    }
    TTestQuestion q;
    q.Answer1 = p.GetInteger(0);
    q.Answer2 = p.GetInteger(1);
    q.Answer3 = p.GetInteger(2);
    q.Answer4 = p.GetInteger(3);
    q.WordId = p.GetInteger(4);
    q.CurrentStatus = p.GetByte(0);
    q.StatusIfRight = p.GetByte(1);
    q.StatusIfWrong = p.GetByte(2);
    questions.push_back(q);
  }
  return true;
}

bool TZabkolexClient::GetQuestions(quint8 from, quint8 to, qint32 languageCode, qint32 subject,
                                   qint32 subSubject, qint32 count, bool order, bool game,
                                   std::vector<TTestQuestion>& questions) {
  questions.clear();
  TDataPacket request, reply;
  TDataPacket* args = BeginSessionRequest(game ? "Game.GetQuestions" : "GetQuestions", request);
  args->AddByte(from);
  args->AddByte(to);
  args->AddInteger(languageCode);
  if (!game) {
    args->AddInteger(subject);
    args->AddInteger(subSubject);
  }
  args->AddInteger(count);
  args->AddBoolean(order);
  if (!Call(request, reply, kTries)) return false;
  return UnpackQuestions(reply, questions);
}

void TZabkolexClient::LogOff(const std::vector<qint32>& values, TDataPacket* result) {
  try {
    TDataPacket request, reply;
    TDataPacket* args = BeginSessionRequest("LogOff", request);
    for (qint32 v : values) args->AddInteger(v);
    args->AddBoolean(result != nullptr);
    if (CallWithoutRelogon(request, reply)) SessionId = -1;
    if (result) result->Assign(reply);
  } catch (...) {
    // Log-off failures are silent; an error status leaves the result untouched.
    RecordCaughtException(std::current_exception());
  }
}

bool TZabkolexClient::GetDownloadFiles(qint32 version, bool flag1, bool flag2,
                                       TDataPacket& result) {
  TDataPacket request, reply;
  TDataPacket* args = BeginRequest("GetDownloadFiles", request);
  args->AddInteger(version);
  args->AddBoolean(flag1);
  args->AddBoolean(flag2);
  if (!Call(request, reply, kTries)) return false;
  result.Assign(reply);
  return true;
}

bool TZabkolexClient::GetPreDownloadFiles(qint32 version, const QByteArray& url,
                                          TDataPacket& result) {
  TDataPacket request, reply;
  TDataPacket* args = BeginRequest("GetPreDownloadFiles", request);
  args->AddInteger(version);
  args->AddString(url);
  if (!Call(request, reply, kTries)) return false;
  result.Assign(reply);
  return true;
}

bool TZabkolexClient::FindUserCube(TDataPacket& result) {
  try {
    TDataPacket request, reply;
    TDataPacket* args = BeginRequest("FindUserCube", request);
    args->AddString(UserName);
    args->AddString(Password);
    if (!Call(request, reply, kTries) || reply.BooleanCount() < 1) return false;
    result.Assign(reply);
    return true;
  } catch (...) {
    RecordCaughtException(std::current_exception());
    return false;
  }
}

void TZabkolexClient::UpdateDataCount() {
  TDataPacket request, reply;
  BeginRequest("UpdateDataCount", request)->AddString(UserKey);
  Call(request, reply, kTries);
}

void TZabkolexClient::SetDataMetaData(qint32 count, const QByteArray& url) {
  TDataPacket request, reply;
  TDataPacket* args = BeginRequest("SetDataMetaData", request);
  args->AddString(UserKey);
  args->AddInteger(count);
  args->AddString(url);
  Call(request, reply, kTries);
}

bool TZabkolexClient::GetDataMetaData(qint32& count, QByteArray& url) {
  TDataPacket request, reply;
  TDataPacket* args = BeginRequest("GetDataMetaData", request);
  args->AddString(UserKey);
  args->AddBoolean(false);
  if (!Call(request, reply, kTries)) return false;
  if (reply.IntegerCount() < 1 || reply.StringCount() < 2) return false;
  count = reply.GetInteger(0);
  url = reply.GetString(1);
  return true;
}

bool TZabkolexClient::HasDataMetaData(bool& hasMetaData) {
  TDataPacket request, reply;
  TDataPacket* args = BeginRequest("GetDataMetaData", request);
  args->AddString(UserKey);
  args->AddBoolean(true);
  if (!Call(request, reply, kTries)) return false;
  hasMetaData = reply.IntegerCount() >= 1;
  return true;
}

bool TZabkolexClient::GetDataCount(qint32& count) {
  TDataPacket request, reply;
  BeginRequest("GetDataCount", request)->AddString(UserKey);
  if (!Call(request, reply, kTries) || reply.IntegerCount() < 1) return false;
  count = reply.GetInteger(0);
  return true;
}

std::unique_ptr<TZabkolexClient> CreateServerClient(const QByteArray& userName,
                                                    const QByteArray& password) {
  auto client = std::make_unique<TZabkolexClient>(new TWebPacketChannel, true);
  client->UserName = userName;
  client->Password = password;
  return client;
}

}  // namespace zabko
