// What the benchmarks share. The whole run has one widget application on the offscreen platform,
// made by main() before any benchmark runs (bench/main.cpp), so that widget benchmarks and the
// ones that only need an event loop run together in any order and any selection. A benchmark
// that writes settings or data points them into its own temporary folder.
#pragma once

#include <QString>
#include <QtGlobal>

namespace zabko::bench {

// Settings and per-user data of what runs from now on go below Folder.
inline void UseFolders(const QString& folder) {
  qputenv("XDG_CONFIG_HOME", (folder + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (folder + "/data").toUtf8());
}

}  // namespace zabko::bench
