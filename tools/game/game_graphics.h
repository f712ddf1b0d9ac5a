// The demo game graphics: every bitmap the game edition names in "Graphics.dat", painted here in
// the demo skin's style (tools/skin/skin_painter.h): the animal sprite sheets and the explosion,
// the start screen and its buttons, the stage backgrounds, the status bar and its strips, the
// aim, and the stage, comment and game-over pictures.
#pragma once

#include "tools/skin/skin_catalog.h"

#include <QByteArray>
#include <QImage>

#include <vector>

namespace zabko::game_art {

// One sprite sheet of the shooting game.
struct TSheet {
  const char* prefix;  // "Sprites\bating"
  bool directed;       // eight direction sets, or one set
  int frames;          // per set
  int key;             // transparent colour, 0x00BBGGRR
  int width;
  int height;
};
// In the game's index order; the explosion is last.
const std::vector<TSheet>& Sheets();
// The resource name of a frame ("Sprites\bating se0003.bmp").
QString FrameName(const TSheet& sheet, int direction, int frame);

// The background colour of the stage, comment and game-over pictures (their bottom-left pixel).
inline constexpr QRgb kTextKey = 0xFFFF00FF;
// The key colour of the start screen's button sheets ("EnterBtns.bmp", "tryBtn.bmp",
// "SwitchBtn.bmp"): the pixels outside each rounded face, which the start screen leaves out.
inline constexpr QRgb kButtonKey = 0xFFFF00FF;
// The praise comments; the others are for wrong answers.
bool IsPraise(int comment);
inline constexpr int kComments = 23;

// A frame of a sheet: the animal facing Direction at animation step Frame, on the sheet's key
// colour, no other pixel of that colour.
QImage PaintFrame(const TSheet& sheet, int sheetIndex, int direction, int frame);

// Every bitmap; backgrounds are marked photo (stored as JPEG), the rest run-length coded BMP.
std::vector<skin::TSkinBitmap> PaintGameGraphics();

}  // namespace zabko::game_art
