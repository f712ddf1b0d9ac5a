// A channel that answers from a script of reply packets and keeps every request it was given.
#pragma once

#include "core/data_packet.h"
#include "net/packet_channel.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace zabko::test {

class TScriptedChannel : public TBasePacketChannel {
 public:
  // A reply that the next Send hands out; none (nullptr) makes Send fail.
  void Queue(std::unique_ptr<TDataPacket> reply) { replies_.push_back(std::move(reply)); }
  void QueueFailure() { replies_.push_back(nullptr); }

  bool Send(const TDataPacket& request, TDataPacket& reply) override {
    auto copy = std::make_unique<TDataPacket>();
    copy->Assign(request);
    Requests.push_back(std::move(copy));
    if (replies_.empty()) return false;
    std::unique_ptr<TDataPacket> next = std::move(replies_.front());
    replies_.pop_front();
    if (!next) return false;
    reply.Assign(*next);
    return true;
  }

  std::vector<std::unique_ptr<TDataPacket>> Requests;

 private:
  std::deque<std::unique_ptr<TDataPacket>> replies_;
};

// A reply with a status and, for "Success", a payload filled by the callback.
inline std::unique_ptr<TDataPacket> Reply(const QByteArray& status,
                                          const std::function<void(TDataPacket&)>& fill = {}) {
  auto reply = std::make_unique<TDataPacket>();
  reply->AddString(status);
  TDataPacket* payload = reply->AddNewPacket();
  if (fill) fill(*payload);
  return reply;
}

}  // namespace zabko::test
