// Reply bodies from a server, read by every request method of the client: no crash, no read
// out of range, whatever the body holds.
#include "core/data_packet.h"
#include "net/answer_holder.h"
#include "net/packet_channel.h"
#include "net/zabkolex_client.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

using namespace zabko;

// Answers every request with the same reply body.
class TFixedReplyChannel : public TBasePacketChannel {
 public:
  QByteArray Body;
  bool Send(const TDataPacket&, TDataPacket& reply) override { return ParseReplyBody(Body, reply); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto* channel = new TFixedReplyChannel;
  // The input is the packet's binary form; wrap it as a server would.
  channel->Body = "<PACKET>" + BytesToHex(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)) +
                  "</PACKET>";
  TZabkolexClient client(channel, true);
  auto run = [](auto&& f) {
    try {
      f();
    } catch (const std::exception&) {
    }
  };
  qint32 n = 0;
  QByteArray a, b, c, d;
  bool flag = false;
  QStringList list;
  TDataPacket result;
  std::vector<TTestQuestion> questions;
  run([&] { client.CheckVersion(true, n, a, b, c, d, n, &result); });
  run([&] { client.LogOn(1, true, &result); });
  run([&] { client.GetFilterList(list, 0, 1, 0, 10, -2, -2); });
  run([&] { client.GetQuestions(0, 1, 10, -2, -2, 20, true, false, questions); });
  run([&] { client.GetDataMetaData(n, a); });
  run([&] { client.HasDataMetaData(flag); });
  run([&] { client.GetDataCount(n); });
  run([&] { client.FindUserCube(result); });
  run([&] { client.LogOff({1, 2}, &result); });
  TAnswerHolder holder;
  holder.AddAnswer(10, 1, nullptr, kAnswerMarkedKnown);
  holder.AddAnswer(10, 2, nullptr, kAnswerRight);
  holder.OnMarkResult = [](qint32, qint32, quint8, bool) {};
  run([&] { holder.Upload(client); });
  return 0;
}
