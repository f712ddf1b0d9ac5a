#ifdef ZABKO_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

namespace {

// Each test case gets settings and data folders of its own, removed when it ends, so that no
// case sees what another wrote, whatever order the cases run in and however often.
class FreshFolders : public testing::EmptyTestEventListener {
 public:
  explicit FreshFolders(QString root) : root_(std::move(root)) {}

  void OnTestStart(const testing::TestInfo&) override {
    current_ = root_ + "/case" + QString::number(++cases_);
    QDir().mkpath(current_ + "/config");
    QDir().mkpath(current_ + "/data");
    qputenv("XDG_CONFIG_HOME", (current_ + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (current_ + "/data").toUtf8());
  }
  void OnTestEnd(const testing::TestInfo&) override {
    QDir(current_).removeRecursively();
  }

 private:
  QString root_;
  QString current_;
  int cases_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  // Settings and per-user data go to a throw-away folder, never to the real home.
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
  // The home folder too, where the programs' default output folders lie; the X server's key
  // stays where it was.
  const QByteArray realHome = qgetenv("HOME");
  if (qEnvironmentVariableIsEmpty("XAUTHORITY") && !realHome.isEmpty()) {
    qputenv("XAUTHORITY", realHome + "/.Xauthority");
  }
  QDir().mkpath(home.path() + "/home");
  qputenv("HOME", (home.path() + "/home").toUtf8());
  // Single-instance locks and sockets too: test processes running side by side never meet.
  const QString runtime = home.path() + "/runtime";
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
#ifdef ZABKO_TEST_ON_DISPLAY
  // Windows on the X server of DISPLAY, stacked by its window manager.
  qputenv("QT_QPA_PLATFORM", "xcb");
#else
  // Offscreen, unless a run on a real X server asks for another platform (scripts/view-screenshots).
  const QByteArray platform = qgetenv("ZABKO_TEST_PLATFORM");
  qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
#endif
  // Sound goes to ALSA's null device: tests never need a sound card.
  if (qEnvironmentVariableIsEmpty("ZABKO_ALSA_DEVICE")) qputenv("ZABKO_ALSA_DEVICE", "null");

  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new FreshFolders(home.path()));
  TestApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
