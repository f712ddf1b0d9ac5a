// The main window without a server: its size for the screen it finds.
#include "learn/main/zabkolex_main_form.h"

#include <QScrollArea>

#include <gtest/gtest.h>

namespace zabko {
namespace {

TEST(MainFormTest, FitsTheWindowToTheScreen) {
  struct TCase {
    QSize screen;
    QSize window;
    int minimumHeight;
    bool scrollBar;
  } const cases[] = {
      // Smaller than the window's own minimum (800 x 600): the window keeps that minimum.
      {{640, 480}, {800, 600}, 600, true},
      // Without a frame (offscreen) the whole screen height is the room.
      {{1366, 768}, {1024, 768}, 660, false},
      {{1920, 1080}, {1024, 768}, 660, false},
      {{1024, 661}, {1024, 661}, 660, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.screen.width());
    TZabkolexMainForm::TOptions options;
    options.programFolder = ZABKO_DATA_OUT;
    options.screenSize = [&] { return c.screen; };
    TZabkolexMainForm window(options);
    ASSERT_FALSE(window.Closing());
    window.FitWindowToScreen();
    EXPECT_EQ(window.size(), c.window);
    EXPECT_EQ(window.minimumHeight(), c.minimumHeight);
    EXPECT_EQ(window.MainScrollBox()->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff, c.scrollBar);
  }
}

}  // namespace
}  // namespace zabko
