// zabko_game_graphics: paints the demo game graphics and writes them as the resource database
// the game opens beside itself ("Graphics.dat").
//
//   zabko_game_graphics OUTPUT [PNG-FOLDER]
//
// With a PNG folder every bitmap is also written there as a picture, for a person to look at.
#include "tools/game/game_graphics.h"
#include "tools/res_db_writer.h"

#include "platform/exception.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.isEmpty() || args.size() > 2) {
    std::fputs("usage: zabko_game_graphics OUTPUT [PNG-FOLDER]\n", stderr);
    return 2;
  }
  try {
    zabko::TResDBWriter writer;
    if (args.size() == 2) QDir().mkpath(args[1]);
    for (const zabko::skin::TSkinBitmap& bitmap : zabko::game_art::PaintGameGraphics()) {
      writer.AddImage(bitmap.name, bitmap.image, bitmap.photo ? zabko::BitmapKind::Jpeg : zabko::BitmapKind::RleBmp, 90);
      if (args.size() == 2) {
        QString file = bitmap.name;
        file.replace('\\', '_');
        if (file.endsWith(".bmp", Qt::CaseInsensitive)) file.chop(4);
        bitmap.image.save(QDir(args[1]).filePath(file + ".png"));
      }
    }
    QDir().mkpath(QFileInfo(args[0]).absolutePath());
    writer.SaveToFile(args[0]);
  } catch (const zabko::Exception& e) {
    std::fprintf(stderr, "zabko_game_graphics: %s\n", e.what());
    return 1;
  }
  return 0;
}
