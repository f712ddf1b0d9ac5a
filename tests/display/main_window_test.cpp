// The learning program's main window on a real X server with a window manager: on a small screen
// (scripts/display-test runs 1024 x 768; 1366 x 768 with its size given) the whole window, the
// manager's frame included, lies on the screen and every footer button can be seen.
#include "learn/frames/footer_frame.h"
#include "learn/main/zabkolex_main_form.h"
#include "core/zabkolex_strings.h"
#include "net/zabkolex_central.h"
#include "tests/display/wait_until.h"
#include "ui/n_button.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <functional>

namespace zabko {
namespace {

using test::WaitUntil;

void Settle(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

std::string Text(const QRect& r) {
  return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

TEST(MainWindowOnScreen, TheFramedWindowAndEveryFooterButtonLieOnTheScreen) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  TZabkolexMainForm::TOptions options;
  options.programFolder = QStringLiteral(ZABKO_DATA_OUT);
  TZabkolexMainForm window(options);
  ASSERT_FALSE(window.Closing());
  window.AppCentral().Strings().LoadLanguage(0);
  window.SplashStep(0);  // the bars and side panels
  window.FitWindowToScreen();
  window.show();
  ASSERT_TRUE(WaitUntil([&] { return window.frameGeometry() != window.geometry(); }, 5000)) << "the window was never framed";
  // The fit once the frame is known, and the manager's answer to it.
  Settle(1000);

  const QRect area = window.screen()->availableGeometry();
  const QRect frame = window.frameGeometry();
  SCOPED_TRACE("screen area " + Text(area) + ", frame " + Text(frame) + ", client " + Text(window.geometry()));
  EXPECT_TRUE(area.contains(frame));
  EXPECT_GE(window.height(), std::min(660, area.height() - (frame.height() - window.height())));

  auto* footer = window.findChild<TFotterFrm*>();
  ASSERT_NE(footer, nullptr);
  int buttons = 0;
  for (TNButton* button : footer->findChildren<TNButton*>()) {
    if (!button->isVisibleTo(&window)) continue;
    ++buttons;
    const QRect onScreen(button->mapToGlobal(QPoint(0, 0)), button->size());
    EXPECT_TRUE(area.contains(onScreen)) << button->objectName().toStdString() << " at " << Text(onScreen);
    EXPECT_TRUE(window.geometry().contains(onScreen)) << button->objectName().toStdString() << " at " << Text(onScreen);
  }
  EXPECT_GE(buttons, 5);
}

}  // namespace
}  // namespace zabko
