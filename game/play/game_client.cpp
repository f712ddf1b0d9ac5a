#include "game/play/game_client.h"

#include "core/data_packet.h"
#include "core/exception_log.h"
#include "core/str.h"
#include "net/nice_http.h"
#include "net/web_packet_channel.h"
#include "platform/exception_handler.h"

namespace zabko {

namespace {

constexpr int kTries = 3;

}  // namespace

QByteArray UrlEncodeWide(const QString& text) {
  static const char kHex[] = "0123456789ABCDEF";
  TStringBuilder builder;
  for (const char byte : text.toUtf8()) {
    const auto b = static_cast<quint8>(byte);
    const char escape[3] = {'%', kHex[b >> 4], kHex[b & 0x0F]};
    builder.Append(QByteArray(escape, 3));
  }
  return builder.GetText();
}

TGameClient::TGameClient(TBasePacketChannel* channel, bool ownsChannel)
    : TZabkolexClient(channel, ownsChannel) {}

bool TGameClient::HandShake(qint32 kind, QByteArray& uid, qint32& session, QString& message) {
  message.clear();
  TDataPacket request, reply;
  TDataPacket* args = BeginRequest("Game.HandShake", request);
  args->AddInteger(kind);
  if (!uid.isEmpty()) args->AddString(uid);
  if (session != -1) args->AddInteger(session);
  const bool called = Call(request, reply, kTries);
  if (!called || reply.StringCount() < 1 || reply.UTFStringCount() < 1 || reply.BooleanCount() < 1 ||
      reply.IntegerCount() < 1) {
    if (called) LogLine("Game.HandShake: the reply lacks a field");
    message = FailureText;
    return false;
  }
  uid = reply.GetString(0);
  message = reply.GetUTFString(0);
  session = reply.GetInteger(0);
  return reply.GetBoolean(0);
}

bool TGameClient::GetDownloadFiles(TDataPacket& result) {
  TDataPacket request, reply;
  BeginRequest("Game.GetDownloadFiles", request);
  if (!Call(request, reply, kTries)) return false;
  result.Assign(reply);
  return true;
}

bool TGameClient::GetQuestions(qint32 languageCode, quint8 firstLetter, quint8 lastLetter,
                               qint32 count, std::vector<TTestQuestion>& questions) {
  questions.clear();
  TDataPacket request, reply;
  TDataPacket* args = Authenticated ? BeginSessionRequest("Game.GetQuestions", request)
                                    : BeginRequest("Game.GetQuestions", request);
  args->AddByte(firstLetter);
  args->AddByte(lastLetter);
  args->AddInteger(languageCode);
  args->AddInteger(count);
  if (!Call(request, reply, kTries)) return false;
  return UnpackQuestions(reply, questions);
}

bool TGameClient::GetTop10(TDataPacket& result) {
  TDataPacket request, reply;
  BeginRequest("Game.GetTop10", request);
  if (!Call(request, reply, kTries)) return false;
  result.Assign(reply);
  return true;
}

bool TGameClient::SendStats(qint32 kind, const QString& name, qint32 points) {
  TDataPacket request, reply;
  TDataPacket* args = BeginRequest("Game.SendStats", request);
  args->AddInteger(kind);
  args->AddUTFString(name);
  args->AddInteger(points);
  return Call(request, reply, kTries);
}

void TGameClient::SendMail(const QString& address, const QString& subject, const QString& content,
                           const QByteArray& mailLink) {
  if (!address.contains(u'@')) return;
  TStringBuilder body;
  body.Append("address=");
  body.Append(UrlEncodeWide(address));
  body.Append("&subject=");
  body.Append(UrlEncodeWide(subject));
  body.Append("&content=");
  body.Append(UrlEncodeWide(content));
  try {
    TNiceHttp http(true);
    QByteArray reply;
    http.Post(mailLink, body.GetText(), reply, false);
  } catch (...) {
    // The mail is sent on a best-effort basis: nothing is reported.
    RecordCaughtException(std::current_exception());
  }
}

std::unique_ptr<TGameClient> NewGameClient() {
  return std::make_unique<TGameClient>(new TWebPacketChannel, true);
}

}  // namespace zabko
