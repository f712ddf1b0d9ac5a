#include "core/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace zabko {
namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void NoMessage(j_common_ptr) {}

// Only plain data lives in this frame, so the jump back from libjpeg's error handler skips no
// destructor; the image belongs to the caller.
bool Decode(const unsigned char* data, unsigned long size, QImage* image) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = ErrorExit;
  errors.pub.output_message = NoMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  // libjpeg's own buffers (a progressive file keeps every coefficient of the picture, 3 to 6
  // bytes a pixel) have a cap of their own; past it the decode fails instead of allocating.
  // Progressive pictures of 20 million pixels and more are refused, far above any bitmap the
  // programs show.
  info.mem->max_memory_to_use = kMaxJpegDecoderBytes;
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  // The size the header claims is checked before libjpeg allocates anything for the picture:
  // a few hundred bytes may claim gigabytes.
  if (info.image_width == 0 || info.image_height == 0 ||
      qint64(info.image_width) * info.image_height > kMaxJpegPixels) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);
  const qint64 width = info.output_width;
  const qint64 height = info.output_height;
  const int components = info.output_components;
  if (width <= 0 || height <= 0 || width * height > kMaxJpegPixels ||
      components != (cmyk ? 4 : 3)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  *image = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  if (image->isNull()) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  // Decode each row into the end of its own scan line, then widen it in place from the left.
  while (info.output_scanline < info.output_height) {
    const int y = static_cast<int>(info.output_scanline);
    auto* line = reinterpret_cast<QRgb*>(image->scanLine(y));
    unsigned char* row = reinterpret_cast<unsigned char*>(line) + width * (4 - components);
    JSAMPROW rows[1] = {row};
    jpeg_read_scanlines(&info, rows, 1);
    for (qint64 x = 0; x < width; ++x) {
      const unsigned char* p = row + x * components;
      if (cmyk) {
        // Adobe writes CMYK inverted: each value is already 255 minus the ink.
        const int k = p[3];
        line[x] = qRgb(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
      } else {
        line[x] = qRgb(p[0], p[1], p[2]);
      }
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& data) {
  QImage image;
  if (data.isEmpty()) return image;
  if (!Decode(reinterpret_cast<const unsigned char*>(data.constData()),
              static_cast<unsigned long>(data.size()), &image)) {
    return QImage();
  }
  return image;
}

}  // namespace zabko
