// The flow's windows on a real X server with a window manager: which window the manager stacks
// over which, which are mapped, and where their frames lie on the screen. Offscreen runs cannot
// see any of that. Run under xvfb-run with a window manager already up (.ci/run).
#include "core/data_packet.h"
#include "core/hasher.h"
#include "platform/stream.h"
#include "tests/net/test_server.h"
#include "tests/ui/dialog_fixture.h"
#include "ui/alpha_blend_form.h"
#include "ui/download_form.h"
#include "ui/flow_windows.h"
#include "ui/message_form.h"
#include "ui/zabko_progress_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zabko {
namespace {

// Processes events until Done holds or Ms milliseconds have passed; returns Done().
bool WaitUntil(const std::function<bool()>& done, int ms = 3000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

QByteArray RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(3000)) return {};
  return process.readAllStandardOutput();
}

// The managed client windows, bottom to top, as the window manager stacks them.
QList<quint64> StackingOrder() {
  const QByteArray text = RunTool(QStringLiteral("xprop"), {"-root", "-notype", "_NET_CLIENT_LIST_STACKING"});
  QList<quint64> ids;
  static const QRegularExpression kId(QStringLiteral("0x[0-9a-fA-F]+"));
  for (const QRegularExpressionMatch& m : kId.globalMatch(QString::fromLatin1(text))) ids << m.captured().toULongLong(nullptr, 16);
  return ids;
}

// Whether the X server shows the window (mapped, with every ancestor mapped).
bool Viewable(const QWidget* window) {
  return RunTool(QStringLiteral("xwininfo"), {"-id", QString::number(window->winId())}).contains("IsViewable");
}

// Index of the window in the stacking order, -1 when the manager does not list it.
int StackIndex(const QList<quint64>& order, const QWidget* window) {
  return static_cast<int>(order.indexOf(static_cast<quint64>(window->winId())));
}

class DisplayTest : public ::testing::Test, protected test::TDialogFixture {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    ASSERT_TRUE(RunTool(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id"))
        << "no window manager runs";
    main.setWindowTitle("Main");
    main.resize(900, 650);
    main.move(40, 40);
    main.show();
    ASSERT_TRUE(WaitUntil([&] { return Viewable(&main) && StackIndex(StackingOrder(), &main) >= 0; }))
        << "the window manager does not list the main window in _NET_CLIENT_LIST_STACKING";
    main.activateWindow();
    WaitUntil([&] { return QApplication::activeWindow() == &main; }, 1000);
  }

  QRect Available() const { return main.screen()->availableGeometry(); }

  QWidget main;
};

// The download dialog during a data update: the always-on-top progress window is hidden while it
// is up, the dialog stands over the main window, nothing covers it, and it lies on the screen;
// afterwards the progress window is back.
TEST_F(DisplayTest, TheDownloadDialogStandsOverTheWindowsOfTheJob) {
  test::TestServer server;
  QTemporaryDir dir;
  TFlowWindows windows(&manager, strings, &main);
  windows.ApplyLeftToRight();
  TDownloadDialog& dialog = windows.Download();
  dialog.ShowFailure = [](const QString&, bool) {};
  dialog.Terminate = [] {};
  TDataPacket list;
  for (const char* name : {"a.dat", "b.dat"}) {
    const QByteArray body = test::ServedBody(20 * 1000);
    TMemoryStream stream(body);
    TDataPacket* file = list.AddNewPacket();
    file->AddString(server.Url("/slow/20/40"));
    file->AddString(name);
    file->AddString(HashStream(stream));
    file->AddInteger(1);
  }

  bool checked = false, progressHidden = false, dialogAbove = false, uncovered = false, onScreen = false;
  bool downloaded = false, progressBack = false;
  QString stacking;
  windows.Progress().RunJob(1, "Updating", [&](IProgress&) {
    // Looked at while the transfer runs, once the manager has mapped and stacked the dialog.
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
      TDownloadForm* form = dialog.Form();
      if (checked || !form || !form->isVisible()) return;
      const QList<quint64> order = StackingOrder();
      const int at = StackIndex(order, form);
      if (at < 0 || !Viewable(form)) return;
      checked = true;
      progressHidden = !Viewable(&windows.Progress());
      dialogAbove = at > StackIndex(order, &main);
      uncovered = true;
      for (QWidget* other : QApplication::topLevelWidgets()) {
        const int index = StackIndex(order, other);
        if (other == form || index <= at || !Viewable(other)) continue;
        if (other->frameGeometry().intersects(form->frameGeometry())) uncovered = false;
      }
      onScreen = Available().contains(form->frameGeometry());
      for (quint64 id : order) stacking += QString::number(id, 16) + ' ';
    });
    probe.start(25);
    downloaded = dialog.DownloadFilesWithProgress(dir.path(), "Index.dat", list, "one", "two", "three", false);
    progressBack = windows.Progress().isVisible();
  });
  EXPECT_TRUE(downloaded);
  ASSERT_TRUE(checked) << "the dialog never showed on the display";
  EXPECT_TRUE(progressHidden) << "the progress window is up while the dialog shows";
  EXPECT_TRUE(dialogAbove) << "stacking " << stacking.toStdString();
  EXPECT_TRUE(uncovered) << "a window lies over the dialog";
  EXPECT_TRUE(onScreen);
  EXPECT_TRUE(progressBack) << "the progress window is back after the download";
}

// Message boxes on a screen 1024 wide: a box of short lines stays narrow, a long text never gets
// wider than the screen, and every box lies wholly on it.
TEST_F(DisplayTest, MessageBoxesFitTheScreen) {
  ASSERT_LE(Available().width(), 1024) << "run on a screen at most 1024 wide";
  TMessageForm box(&manager, strings, &main);
  QStringList hebrew;
  for (int i = 0; i < 60; ++i) hebrew << QString::fromUtf8("שלום");
  const struct {
    const char* name;
    QString text;
    int width;  // the box's client width; 0: only within the screen
  } cases[] = {
      {"four short lines", "~one~\\n~two~\\n~three~\\n~four~", 448},
      {"a long Hebrew text", hebrew.join(' '), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QRect frame, client;
    bool viewable = false;
    test::WhenLoopRuns([&] {
      WaitUntil([&] { return Viewable(&box) && box.frameGeometry() != box.geometry(); }, 2000);
      viewable = Viewable(&box);
      frame = box.frameGeometry();
      client = box.geometry();
      box.SetModalResult(mrOk);
    });
    box.ShowMessageBox("Caption", c.text, kButtonOK, {});
    EXPECT_TRUE(viewable);
    if (c.width > 0) {
      EXPECT_EQ(client.width(), c.width);
    }
    EXPECT_TRUE(Available().contains(frame)) << "frame " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                             << frame.height();
  }
}

// A box right after another: the window system gives activation back late, so no window is
// active when the second opens; its overlay still covers the window the box belongs to.
TEST_F(DisplayTest, ABoxRightAfterAnotherCoversItsWindow) {
  TMessageForm box(&manager, strings, &main);
  QWidget* covered[2] = {nullptr, nullptr};
  bool shown[2] = {false, false};
  for (int i = 0; i < 2; ++i) {
    test::WhenLoopRuns([&, i] {
      TAlphaBlendForm* overlay = box.Overlay();
      covered[i] = overlay ? overlay->Covered() : nullptr;
      shown[i] = overlay && overlay->isVisible() && overlay->geometry() == main.rect();
      box.SetModalResult(mrOk);
    });
    // The first box has just gone and the window manager has not handed activation back yet.
    if (i == 1) QApplication::setActiveWindow(nullptr);
    box.ShowMessageBox("Caption", "Text", kButtonOK, {});
  }
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(covered[i], &main);
    EXPECT_TRUE(shown[i]);
  }
}

}  // namespace
}  // namespace zabko
