// Writes resource database files (see core/res_manager.h for the layout): named blobs taken
// from files or memory, bitmaps with their kind byte.
#pragma once

#include "core/res_manager.h"

#include <QByteArray>
#include <QImage>
#include <QSet>
#include <QString>

#include <vector>

namespace zabko {

class TResDBWriter {
 public:
  // A blob stored as it is (sounds, streams, anything). Names are 8-bit text in the system code
  // page and unique without regard to case; a repeated name fails with "Duplicate resource: ".
  void AddData(const QString& name, const QByteArray& bytes);
  void AddFile(const QString& name, const QString& path);

  // A bitmap: Picture is a JPEG file for BitmapKind::Jpeg and a BMP file for the other two
  // kinds; RleBmp stores it run-length coded, after its coded length.
  void AddBitmap(const QString& name, const QByteArray& picture, BitmapKind kind);
  // A bitmap from an image, encoded as the kind wants.
  void AddImage(const QString& name, const QImage& image, BitmapKind kind, int jpegQuality = 90);
  // A bitmap from an image file: stored as it is when it already has the kind's format, else
  // decoded and encoded again. Fails with "Cannot read image " + Path.
  void AddBitmapFile(const QString& name, const QString& path, BitmapKind kind);

  int Count() const { return static_cast<int>(entries_.size()); }
  // The whole database file.
  QByteArray ToBytes() const;
  // Writes the database through a temporary file renamed over FileName.
  void SaveToFile(const QString& fileName) const;

 private:
  struct Entry {
    QByteArray name;
    QByteArray blob;
  };
  std::vector<Entry> entries_;
  QSet<QByteArray> keys_;  // upper-cased names
};

// A JPEG file of the image (libjpeg, baseline, quality 1..100).
QByteArray EncodeJpeg(const QImage& image, int quality = 90);
// A BMP file of the image, 24 bits per pixel.
QByteArray EncodeBmp(const QImage& image);
// The bitmap blob of a picture: its kind byte, then the picture (coded for RleBmp).
QByteArray BitmapBlob(const QByteArray& picture, BitmapKind kind);

}  // namespace zabko
