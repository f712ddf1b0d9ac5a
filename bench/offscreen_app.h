// What the widget benchmarks share: the offscreen platform, settings and data folders inside a
// temporary folder, and one widget application (none when one exists already).
#pragma once

#include <QApplication>
#include <QString>

#include <memory>

namespace zabko::bench {

inline std::unique_ptr<QApplication> MakeOffscreenApp(const QString& folder) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("XDG_CONFIG_HOME", (folder + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (folder + "/data").toUtf8());
  static int argc = 1;
  static char name[] = "zabko_bench";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance()) return nullptr;
  return std::make_unique<QApplication>(argc, argv);
}

}  // namespace zabko::bench
