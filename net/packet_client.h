// The call discipline of the server protocol: envelopes, status check, re-logon on
// "Not Logged", and the "Server-side error (ERR-...)" exception for every other status.
#pragma once

#include <QByteArray>

namespace zabko {

class TBasePacketChannel;
class TDataPacket;

class TBasePacketClient {
 public:
  TBasePacketClient(TBasePacketChannel* channel, bool ownsChannel);
  virtual ~TBasePacketClient();
  TBasePacketClient(const TBasePacketClient&) = delete;
  TBasePacketClient& operator=(const TBasePacketClient&) = delete;

  TBasePacketChannel* Channel;
  bool OwnsChannel;

  // Writes the plain envelope (method name, false, argument packet) into the empty request and
  // returns the argument packet.
  TDataPacket* BeginRequest(const QByteArray& methodName, TDataPacket& request);
  bool ChannelSend(const TDataPacket& request, TDataPacket& reply);
  // Sends the request. "Success": the reply becomes its payload (Packets[0]) and the result is
  // true. "Not Logged": re-logs on and sends again while tries remain. A transport failure, no
  // tries left or a failed re-logon: false. Any other status raises
  // "Server-side error (ERR-<number + 1000>)" or "Server-side error (ERR-UNKNOWN)".
  bool Call(TDataPacket& request, TDataPacket& reply, int tries);

  // The base asks to retry without a new log-on.
  virtual bool Relogon();

 protected:
  // Called before a request is sent again after a re-logon: a session request gets the new
  // session. The base changes nothing.
  virtual void RefreshRequest(TDataPacket& request);
};

// The text of a server failure's exception for a reply packet.
QString ServerErrorText(const TDataPacket& reply);

}  // namespace zabko
