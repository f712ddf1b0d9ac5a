#include "net/web_packet_channel.h"

#include "core/data_packet.h"
#include "net/win_http.h"
#include "platform/exception_handler.h"
#include "platform/stream.h"

#include <algorithm>

namespace zabko {

TWebPacketChannel::TWebPacketChannel() : http_(std::make_unique<TWinHTTP>()) {
  // An empty output-file name keeps reply bodies in memory.
  http_->OutputFileName.clear();
}

TWebPacketChannel::~TWebPacketChannel() = default;

bool TWebPacketChannel::Send(const TDataPacket& request, TDataPacket& reply) {
  try {
    const QByteArray hex = request.SaveToHexString();
    ReplyText.clear();
    if (!Post(BaseURL + "AccessIn.ashx?page=APP", hex)) return false;
    return ParseReplyBody(ReplyText, reply);
  } catch (...) {
    RecordCaughtException(std::current_exception());
    return false;
  }
}

bool TWebPacketChannel::Post(const QByteArray& url, const QByteArray& data) {
  TWinHTTP& h = *http_;
  h.URL = url;
  h.POSTData = data;
  h.OnDone = [this](TCustomWinHTTP&, const QByteArray& contentType, qint64 size, TStream& stream) {
    HttpDone(contentType, &stream, size);
  };
  return h.Read(true);
}

void TWebPacketChannel::HttpDone(const QByteArray&, TStream* body, qint64 size) {
  ReplyText.clear();
  if (!body) return;
  // The given size, but never more than the stream holds.
  const qint64 available = std::max<qint64>(body->Size() - body->Position(), 0);
  QByteArray text(static_cast<qsizetype>(std::clamp<qint64>(size, 0, available)), Qt::Uninitialized);
  text.resize(static_cast<qsizetype>(body->Read(text.data(), text.size())));
  ReplyText = text;
}

}  // namespace zabko
