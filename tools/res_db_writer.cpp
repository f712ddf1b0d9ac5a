#include "tools/res_db_writer.h"

#include "core/rle_stream.h"
#include "platform/code_page.h"
#include "platform/exception.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace zabko {
namespace {

void AppendInt32(QByteArray& out, qint64 value) {
  const qint32 le = qToLittleEndian(static_cast<qint32>(value));
  out.append(reinterpret_cast<const char*>(&le), 4);
}

bool IsJpeg(const QByteArray& bytes) { return bytes.startsWith("\xFF\xD8\xFF"); }
bool IsBmp(const QByteArray& bytes) { return bytes.startsWith("BM"); }

struct JpegErrors {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

// Plain data only in this frame: libjpeg's error handler jumps back here. Rgb holds the
// image as packed 8-bit RGB rows.
bool Compress(const unsigned char* rgb, int width, int height, int quality, unsigned char** out,
              unsigned long* outSize) {
  jpeg_compress_struct info;
  JpegErrors errors;
  info.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = JpegErrorExit;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, outSize);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row[1] = {const_cast<unsigned char*>(rgb) + static_cast<size_t>(info.next_scanline) * width * 3};
    jpeg_write_scanlines(&info, row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

QByteArray EncodeJpeg(const QImage& image, int quality) {
  if (image.isNull()) throw Exception("Cannot encode an empty image");
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  QByteArray packed;
  packed.reserve(qsizetype(rgb.width()) * rgb.height() * 3);
  for (int y = 0; y < rgb.height(); ++y)
    packed.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), qsizetype(rgb.width()) * 3);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  const bool ok = Compress(reinterpret_cast<const unsigned char*>(packed.constData()), rgb.width(), rgb.height(),
                           std::clamp(quality, 1, 100), &out, &outSize);
  QByteArray jpeg;
  if (ok) jpeg = QByteArray(reinterpret_cast<const char*>(out), static_cast<qsizetype>(outSize));
  std::free(out);
  if (!ok) throw Exception("JPEG encoding failed");
  return jpeg;
}

QByteArray EncodeBmp(const QImage& image) {
  if (image.isNull()) throw Exception("Cannot encode an empty image");
  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  if (!image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP")) throw Exception("BMP encoding failed");
  return bmp;
}

QByteArray BitmapBlob(const QByteArray& picture, BitmapKind kind) {
  QByteArray blob(1, static_cast<char>(kind));
  if (kind == BitmapKind::RleBmp) {
    TRLEStream rle;
    rle.Write(picture.constData(), picture.size());
    AppendInt32(blob, rle.CodedData().size());
    blob.append(rle.CodedData());
  } else {
    blob.append(picture);
  }
  return blob;
}

void TResDBWriter::AddData(const QString& name, const QByteArray& bytes) {
  const QByteArray upper = ResourceKey(name);
  if (keys_.contains(upper)) throw Exception(QStringLiteral("Duplicate resource: ") + name);
  keys_.insert(upper);
  entries_.push_back({WideToSystemCodePage(name), bytes});
}

void TResDBWriter::AddFile(const QString& name, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw Exception(QStringLiteral("Cannot open file ") + path);
  AddData(name, file.readAll());
}

void TResDBWriter::AddBitmap(const QString& name, const QByteArray& picture, BitmapKind kind) {
  AddData(name, BitmapBlob(picture, kind));
}

void TResDBWriter::AddImage(const QString& name, const QImage& image, BitmapKind kind, int jpegQuality) {
  AddBitmap(name, kind == BitmapKind::Jpeg ? EncodeJpeg(image, jpegQuality) : EncodeBmp(image), kind);
}

void TResDBWriter::AddBitmapFile(const QString& name, const QString& path, BitmapKind kind) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw Exception(QStringLiteral("Cannot open file ") + path);
  const QByteArray bytes = file.readAll();
  if (kind == BitmapKind::Jpeg ? IsJpeg(bytes) : IsBmp(bytes)) {
    AddBitmap(name, bytes, kind);
    return;
  }
  QImage image;
  if (!image.loadFromData(bytes)) throw Exception(QStringLiteral("Cannot read image ") + path);
  AddImage(name, image, kind);
}

QByteArray TResDBWriter::ToBytes() const {
  QByteArray out;
  AppendInt32(out, static_cast<qint64>(entries_.size()));
  for (const Entry& e : entries_) {
    AppendInt32(out, e.name.size());
    out.append(e.name);
    AppendInt32(out, e.blob.size());
  }
  for (const Entry& e : entries_) out.append(e.blob);
  return out;
}

void TResDBWriter::SaveToFile(const QString& fileName) const {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) throw Exception(QStringLiteral("Cannot create file ") + fileName);
  const QByteArray bytes = ToBytes();
  if (file.write(bytes) != bytes.size() || !file.commit())
    throw Exception(QStringLiteral("Cannot write file ") + fileName);
}

}  // namespace zabko
