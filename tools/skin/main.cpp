// zabko_skin: paints the demo skin and writes it as the resource database the learning program
// opens ("Data.res").
//
//   zabko_skin OUTPUT [PNG-FOLDER]
//   zabko_skin --icon ICON.png
//
// With a PNG folder every bitmap is also written there as a picture, for a person to look at.
// --icon writes the program's icon.
#include "tools/res_db_writer.h"
#include "tools/skin/skin_catalog.h"

#include "platform/exception.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() == 2 && args[0] == "--icon") return zabko::skin::PaintProgramIcon().save(args[1]) ? 0 : 1;
  if (args.isEmpty() || args.size() > 2) {
    std::fputs("usage: zabko_skin OUTPUT [PNG-FOLDER] | --icon ICON.png\n", stderr);
    return 2;
  }
  try {
    zabko::TResDBWriter writer;
    for (const zabko::skin::TSkinBitmap& bitmap : zabko::skin::PaintDemoSkin()) {
      writer.AddImage(bitmap.name, bitmap.image, bitmap.photo ? zabko::BitmapKind::Jpeg : zabko::BitmapKind::RleBmp, 92);
      if (args.size() == 2) {
        QString file = bitmap.name;
        file.replace('\\', '_');
        QDir().mkpath(args[1]);
        bitmap.image.save(QDir(args[1]).filePath(file + ".png"));
      }
    }
    writer.SaveToFile(args[0]);
  } catch (const zabko::Exception& e) {
    std::fprintf(stderr, "zabko_skin: %s\n", e.what());
    return 1;
  }
  return 0;
}
