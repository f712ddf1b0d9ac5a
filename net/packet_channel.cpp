#include "net/packet_channel.h"

#include "core/data_packet.h"
#include "platform/exception.h"

namespace zabko {

bool ParseReplyBody(const QByteArray& body, TDataPacket& reply) {
  static const QByteArray kOpen = "<PACKET>";
  static const QByteArray kClose = "</PACKET>";
  const qsizetype a = body.indexOf(kOpen);
  const qsizetype b = body.indexOf(kClose);
  if (a < 0 || b < 0 || a >= b) return false;
  const qsizetype start = a + kOpen.size();
  if (start > b) return false;  // "<PACKET" overlapping "</PACKET>" cannot hold a packet
  try {
    TDataPacket parsed;
    parsed.LoadFromHexString(body.mid(start, b - start));
    reply.Assign(parsed);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace zabko
