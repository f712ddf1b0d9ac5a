// Colours as the forms give them: Windows colour integers, red in the low byte and blue in the
// high byte, with the class library's system colours (0x80000000 + index) and "none".
#pragma once

#include <QColor>

#include <cstdint>

namespace zabko {

// A colour integer of a form layout, e.g. 0x9F7829 (red 0x29, green 0x78, blue 0x9F).
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008);

// The QColor of a colour integer. System colours take the classic Windows values (so a skin
// looks the same on every desktop theme); clNone and clDefault give a transparent colour.
QColor WinColor(TColor color);

// The colour integer of an opaque QColor (alpha is dropped).
TColor ToWinColor(const QColor& color);

}  // namespace zabko
