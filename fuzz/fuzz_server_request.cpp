// Request bodies reaching the stand-in server: every one gets a reply, none crashes it.
#include "core/data_packet.h"
#include "devserver/dev_server.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zabko::dev::TDevServer* server = [] {
    auto* s = new zabko::dev::TDevServer;
    s->WithState([](zabko::dev::TDevProtocol& p) { p.Words().AddSynthetic(2); });
    s->AddUser("u", "p");
    return s;
  }();
  // The input is a request packet's binary form, sent as the client sends it: as hex text.
  const QByteArray hex = zabko::BytesToHex(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const zabko::dev::THttpReply reply = server->HandlePost("member0", hex);
  if (reply.body.indexOf("<PACKET>") < 0) __builtin_trap();
  server->ClearLog();
  return 0;
}
