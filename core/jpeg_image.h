// JPEG decoding with libjpeg, for skin and game bitmaps.
#pragma once

#include <QByteArray>
#include <QImage>

namespace zabko {

// Decodes a JPEG file into an RGB32 image; a null image when the data is not a JPEG that can be
// read or the picture is larger than kMaxJpegPixels.
QImage DecodeJpeg(const QByteArray& data);

inline constexpr qint64 kMaxJpegPixels = qint64(1) << 26;
// The memory libjpeg may take for its own buffers while decoding.
inline constexpr long kMaxJpegDecoderBytes = 128L << 20;

}  // namespace zabko
