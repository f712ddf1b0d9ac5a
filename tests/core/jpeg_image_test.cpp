#include "core/jpeg_image.h"

#include <QImage>

#include <cstdio>
#include <jpeglib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zabko {
namespace {

// A small progressive JPEG of a grey picture.
QByteArray ProgressiveJpeg(int width, int height) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width) * 3, 128);
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
  free(out);
  return bytes;
}

// The same file claiming another size in its frame header.
QByteArray ClaimSize(QByteArray jpeg, int width, int height) {
  const qsizetype sof = jpeg.indexOf("\xFF\xC2");
  EXPECT_GT(sof, 0);
  jpeg[sof + 5] = char(height >> 8);
  jpeg[sof + 6] = char(height);
  jpeg[sof + 7] = char(width >> 8);
  jpeg[sof + 8] = char(width);
  return jpeg;
}

// The peak memory, in MB, of decoding Data in a child process, or -1 when the decode did not
// give a null image.
long PeakMegabytesOfRefusal(const QByteArray& data) {
  const pid_t child = ::fork();
  if (child == 0) _exit(DecodeJpeg(data).isNull() ? 0 : 1);
  int status = 0;
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1;
  return usage.ru_maxrss / 1024;
}

TEST(JpegImage, DecodesAProgressivePicture) {
  const QImage image = DecodeJpeg(ProgressiveJpeg(16, 8));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(16, 8));
  EXPECT_NEAR(qGray(image.pixel(3, 3)), 128, 3);
  EXPECT_TRUE(DecodeJpeg(QByteArray("\xFF\xD8\xFF\xE0 not a jpeg")).isNull());
}

// A few hundred bytes claiming a huge picture are refused before libjpeg allocates for it:
// over the pixel cap by the header alone, under it by libjpeg's own memory cap.
TEST(JpegImage, AHugeClaimedSizeIsRefusedWithoutTheMemory) {
  const QByteArray small = ProgressiveJpeg(16, 16);
  ASSERT_LT(small.size(), 1000);
  // What a child process takes anyway (more under the sanitizers).
  const long base = PeakMegabytesOfRefusal(QByteArray("not a jpeg"));
  ASSERT_GE(base, 0);
  for (const auto& [width, height] : {std::pair{20000, 20000}, std::pair{8000, 8000}}) {
    SCOPED_TRACE(width);
    const long peak = PeakMegabytesOfRefusal(ClaimSize(small, width, height));
    EXPECT_GE(peak, 0);
    EXPECT_LT(peak, base + 150);
  }
}

}  // namespace
}  // namespace zabko
