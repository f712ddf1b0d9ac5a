// zabko_resdb: writes a resource database from files.
//
//   zabko_resdb OUTPUT [-j|-b|-r|-f] [NAME=]PATH ...
//
// -j stores the following files as JPEG bitmaps, -b as BMP bitmaps, -r as run-length coded BMP
// bitmaps (pictures in other formats are converted), -f as they are (the default). NAME is the
// resource name; without it the file's own name is used.
#include "tools/res_db_writer.h"

#include "platform/exception.h"

#include <QFileInfo>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int Usage() {
  std::fputs("usage: zabko_resdb OUTPUT [-j|-b|-r|-f] [NAME=]PATH ...\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() < 1) return Usage();
  try {
    zabko::TResDBWriter writer;
    bool bitmap = false;
    zabko::BitmapKind kind = zabko::BitmapKind::Bmp;
    for (const QString& arg : args.mid(1)) {
      if (arg == "-j" || arg == "-b" || arg == "-r") {
        bitmap = true;
        kind = arg == "-j" ? zabko::BitmapKind::Jpeg : arg == "-b" ? zabko::BitmapKind::Bmp : zabko::BitmapKind::RleBmp;
        continue;
      }
      if (arg == "-f") {
        bitmap = false;
        continue;
      }
      if (arg.startsWith('-')) return Usage();
      const qsizetype eq = arg.indexOf('=');
      const QString path = eq >= 0 ? arg.mid(eq + 1) : arg;
      const QString name = eq >= 0 ? arg.left(eq) : QFileInfo(path).fileName();
      if (bitmap)
        writer.AddBitmapFile(name, path, kind);
      else
        writer.AddFile(name, path);
    }
    writer.SaveToFile(args.first());
  } catch (const zabko::Exception& e) {
    std::fprintf(stderr, "zabko_resdb: %s\n", e.what());
    return 1;
  }
  return 0;
}
