// The HTTP form of the packet channel: the request's hex text is POSTed to BaseURL +
// "AccessIn.ashx?page=APP" and the reply packet is read from the body.
#pragma once

#include "net/packet_channel.h"

#include <QByteArray>

#include <memory>

namespace zabko {

class TStream;
class TWinHTTP;

class TWebPacketChannel : public TBasePacketChannel {
 public:
  TWebPacketChannel();
  ~TWebPacketChannel() override;

  // Never raises: every failure (transfer, markers, packet format) gives false. The calling
  // (GUI) thread goes on processing events until the transfer ends.
  bool Send(const TDataPacket& request, TDataPacket& reply) override;

  QByteArray BaseURL;    // the server base URL, ending in "/"
  QByteArray ReplyText;  // the last reply body

  // The HTTP component, for its time-outs and proxy settings.
  TWinHTTP& Http() { return *http_; }

 protected:
  // One POST, waiting until it ends; fills ReplyText from the body of a successful transfer.
  // Tests replace it to reach a server without HTTP.
  virtual bool Post(const QByteArray& url, const QByteArray& data);
  // The OnDone handler of the HTTP component: the body into ReplyText.
  void HttpDone(const QByteArray& contentType, TStream* body, qint64 size);

 private:
  std::unique_ptr<TWinHTTP> http_;
};

}  // namespace zabko
