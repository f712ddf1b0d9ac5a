// The game's server client: the learning program's client (log-on, log-off, base URL, answer
// upload) with the game's own "Game." requests, and the mail to a friend, which goes outside the
// packet protocol as a form POST to a web page.
#pragma once

#include "net/zabkolex_client.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace zabko {

class TDataPacket;

// Every UTF-8 byte of the text as "%" and two upper-case hex digits, letters and digits
// included ("abc" is "%61%62%63", a space "%20").
QByteArray UrlEncodeWide(const QString& text);

class TGameClient : public TZabkolexClient {
 public:
  TGameClient(TBasePacketChannel* channel, bool ownsChannel);

  // Set when the game's log-on succeeded: question requests then go in the session envelope,
  // and answers may be uploaded.
  bool Authenticated = false;
  // Reported as the handshake's message when the call fails.
  QString FailureText;

  // "Game.HandShake". The message is cleared first. A call that fails, or a reply without its
  // four fields, gives the failure text and false and keeps UId and session; otherwise the
  // reply's UId, message and session are taken and its result is returned.
  bool HandShake(qint32 kind, QByteArray& uid, qint32& session, QString& message);
  // "Game.GetDownloadFiles": the file list of the game's music into Result.
  bool GetDownloadFiles(TDataPacket& result);
  // "Game.GetQuestions" in the game's form (no subject, no order flag); the session envelope
  // when authenticated. A failed request leaves Questions empty. Hides the learning program's
  // form, which stays reachable as TZabkolexClient::GetQuestions.
  bool GetQuestions(qint32 languageCode, quint8 firstLetter, quint8 lastLetter, qint32 count,
                    std::vector<TTestQuestion>& questions);
  // "Game.GetTop10": the rows of the table into Result.
  bool GetTop10(TDataPacket& result);
  // "Game.SendStats": a player's points.
  bool SendStats(qint32 kind, const QString& name, qint32 points);
  // POSTs the form "address=...&subject=...&content=..." to MailLink when the address holds an
  // "@"; never raises and ignores the reply.
  void SendMail(const QString& address, const QString& subject, const QString& content,
                const QByteArray& mailLink);
};

// A client over a new TWebPacketChannel that it owns, with empty user name and password.
std::unique_ptr<TGameClient> NewGameClient();

}  // namespace zabko
