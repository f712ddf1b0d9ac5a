// The transport of the server protocol: one request packet sent, one reply packet received.
#pragma once

#include <QByteArray>

namespace zabko {

class TDataPacket;

class TBasePacketChannel {
 public:
  virtual ~TBasePacketChannel() = default;
  // Sends the request and fills the reply; false when no reply packet arrived.
  virtual bool Send(const TDataPacket& request, TDataPacket& reply) = 0;
};

// The reply packet inside a reply body: the hex text between the first "<PACKET>" and the first
// "</PACKET>". False (the reply untouched) when the markers are missing or out of order or the
// text is not a packet.
bool ParseReplyBody(const QByteArray& body, TDataPacket& reply);

}  // namespace zabko
