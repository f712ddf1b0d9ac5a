#include "net/packet_client.h"

#include "core/data_packet.h"
#include "net/packet_channel.h"
#include "platform/exception.h"

namespace zabko {

namespace {
constexpr const char* kSuccess = "Success";
constexpr const char* kNotLogged = "Not Logged";
}  // namespace

TBasePacketClient::TBasePacketClient(TBasePacketChannel* channel, bool ownsChannel)
    : Channel(channel), OwnsChannel(ownsChannel) {}

TBasePacketClient::~TBasePacketClient() {
  if (OwnsChannel) delete Channel;
}

TDataPacket* TBasePacketClient::BeginRequest(const QByteArray& methodName, TDataPacket& request) {
  request.AddString(methodName);
  request.AddBoolean(false);
  return request.AddNewPacket();
}

bool TBasePacketClient::ChannelSend(const TDataPacket& request, TDataPacket& reply) {
  return Channel != nullptr && Channel->Send(request, reply);
}

bool TBasePacketClient::Relogon() { return true; }

void TBasePacketClient::RefreshRequest(TDataPacket&) {}

QString ServerErrorText(const TDataPacket& reply) {
  // The number is widened first, so a number near the 32-bit limit cannot overflow.
  const QString code = reply.IntegerCount() > 0
                           ? "ERR-" + QString::number(qint64(reply.GetInteger(0)) + 1000)
                           : QString("ERR-UNKNOWN");
  return "Server-side error (" + code + ")";
}

bool TBasePacketClient::Call(TDataPacket& request, TDataPacket& reply, int tries) {
  for (; tries > 0; --tries) {
    reply.Clear();
    if (!ChannelSend(request, reply)) return false;
    if (reply.StringCount() < 1) return false;  // no status: not a reply of the protocol
    const QByteArray status = reply.GetString(0);
    if (status == kNotLogged) {
      if (!Relogon()) return false;
      RefreshRequest(request);
      continue;
    }
    if (status != kSuccess) throw Exception(ServerErrorText(reply));
    // "Success" without a payload carries nothing to read: a reply the caller cannot use.
    if (reply.PacketCount() < 1) return false;
    TDataPacket payload;
    payload.Assign(*reply.GetPacket(0));
    reply.Assign(payload);
    return true;
  }
  return false;
}

}  // namespace zabko
