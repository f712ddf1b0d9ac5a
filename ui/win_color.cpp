#include "ui/win_color.h"

namespace zabko {

namespace {

// GetSysColor values of the classic Windows scheme, by COLOR_* index.
constexpr std::uint32_t kSystemColors[] = {
    0xC8D0D4,  // 0 scroll bar
    0xA56E3A,  // 1 background
    0x6A240A,  // 2 active caption
    0x808080,  // 3 inactive caption
    0xC8D0D4,  // 4 menu
    0xFFFFFF,  // 5 window
    0x000000,  // 6 window frame
    0x000000,  // 7 menu text
    0x000000,  // 8 window text
    0xFFFFFF,  // 9 caption text
    0xC8D0D4,  // 10 active border
    0xC8D0D4,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x6A240A,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xC8D0D4,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC8D0D4,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x404040,  // 21 3-D dark shadow
    0xC8D0D4,  // 22 3-D light
    0x000000,  // 23 info text
    0xE1FFFF,  // 24 info background
};

QColor FromBgr(std::uint32_t bgr) {
  return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

}  // namespace

QColor WinColor(TColor color) {
  const auto value = static_cast<std::uint32_t>(color);
  if (color == clNone || color == clDefault) return QColor(Qt::transparent);
  if ((value & 0xFF000000u) == 0x80000000u) {
    const std::uint32_t index = value & 0xFFu;
    if (index < std::size(kSystemColors)) return FromBgr(kSystemColors[index]);
    return QColor(Qt::black);
  }
  return FromBgr(value & 0xFFFFFFu);
}

TColor ToWinColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return TColor(rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16));
}

}  // namespace zabko
