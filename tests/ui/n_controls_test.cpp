#include "ui/component.h"
#include "ui/event_guard.h"
#include "ui/my_shape.h"
#include "ui/n_base.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"

#include "skin_fixture.h"

#include <QCursor>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using test::CodedImage;
using test::FirstMismatch;
using test::TSample;

constexpr TColor kRed = 0x0000FF;  // the panels' own colour: red (blue in the high byte)
constexpr TSample kRedSample{255, 0, 0};

QImage Grab(QWidget& control) { return control.grab().toImage().convertToFormat(QImage::Format_RGB32); }

class SkinControlsTest : public ::testing::Test, public test::TSkinFixture {
 protected:
  void SetUp() override {
    window.resize(300, 200);
    window.move(0, 0);
    // The pointer is the process's, left wherever an earlier case put it: each case starts
    // with it off the window, so that its first move onto a control is a move.
    QCursor::setPos(400, 300);
  }
  // A sprite sheet placed on the window, loaded.
  TNBitmapComponent* Sheet(const QString& name, const QImage& image) {
    source->Add(name, image);
    auto* component = new TNBitmapComponent(&window);
    component->SetManager(&manager);
    component->SetFilename(name);
    return component;
  }

  QWidget window;
};

// ---- panels ------------------------------------------------------------------------------------

TEST_F(SkinControlsTest, StaticDrawsPlainTiledOrStretched) {
  source->Add("bkg", CodedImage(8, 4, 9));
  TNStatic panel(&window, "Bkg");
  panel.setGeometry(0, 0, 20, 6);
  panel.SetColor(kRed);
  panel.SetManager(&manager);
  panel.SetBackgroundName("bkg");

  EXPECT_EQ(FirstMismatch(Grab(panel), [](int x, int y) -> std::optional<TSample> {
              if (x < 8 && y < 4) return TSample{x, y, 9};
              return kRedSample;
            }),
            "");
  panel.SetTile(true);
  EXPECT_EQ(FirstMismatch(Grab(panel), [](int x, int y) -> std::optional<TSample> { return TSample{x % 8, y % 4, 9}; }),
            "");
  panel.SetStretchDraw(true);
  panel.resize(16, 8);
  EXPECT_EQ(FirstMismatch(Grab(panel), [](int x, int y) -> std::optional<TSample> { return TSample{x / 2, y / 2, 9}; }),
            "");
}

TEST_F(SkinControlsTest, StaticMirrorsAUBitmapAndClearingTheNameLeavesItUnpainted) {
  source->Add("title", CodedImage(5, 2));
  TNStatic panel(&window);
  panel.setGeometry(0, 0, 5, 2);
  panel.SetColor(kRed);
  panel.SetManager(&manager);
  panel.SetBackgroundName("[U]title");
  EXPECT_EQ(FirstMismatch(Grab(panel), [](int x, int y) -> std::optional<TSample> { return TSample{4 - x, y, 0}; }), "");

  panel.SetBackgroundName("");
  EXPECT_EQ(panel.DrawerIndex(), -1);
  EXPECT_EQ(FirstMismatch(Grab(panel), [](int, int) -> std::optional<TSample> { return kRedSample; }), "");
}

TEST_F(SkinControlsTest, StaticTakesItsDrawerWhenTheFormHasLoaded) {
  source->Add("bkg", CodedImage(4, 4));
  TFormLoading loading(&window);
  TNStatic panel(&window);
  panel.SetBackgroundName("bkg");  // before the manager: nothing can be loaded yet
  panel.SetManager(&manager);
  EXPECT_EQ(panel.DrawerIndex(), -1);
  loading.Finish();
  EXPECT_EQ(panel.DrawerIndex(), 0);
  EXPECT_FALSE(panel.IsLoading());
}

TEST_F(SkinControlsTest, FrameStaticIsANineSliceAroundItsColour) {
  constexpr int S = 4;
  source->Add("frame", CodedImage(3 * S, 3 * S, 5));
  TNFrameStatic frame(&window);
  frame.setGeometry(0, 0, 22, 17);
  frame.SetColor(kRed);
  frame.SetManager(&manager);
  frame.SetBackgroundName("frame");
  frame.SetSize(S);
  const int w = 22, h = 17;
  // Source column (row) for a destination column (row) along an axis of length n.
  const auto slice = [](int d, int n) {
    if (d < S) return d;
    if (d >= n - S) return 2 * S + (d - (n - S));
    return S + (d - S) % S;
  };
  EXPECT_EQ(FirstMismatch(Grab(frame),
                          [&](int x, int y) -> std::optional<TSample> {
                            const bool edgeX = x < S || x >= w - S;
                            const bool edgeY = y < S || y >= h - S;
                            if (!edgeX && !edgeY) return kRedSample;
                            return TSample{slice(x, w), slice(y, h), 5};
                          }),
            "");

  frame.SetSize(0);
  EXPECT_EQ(FirstMismatch(Grab(frame), [](int, int) -> std::optional<TSample> { return kRedSample; }), "");
}

// ---- sprite buttons ----------------------------------------------------------------------------

class SpriteButtonTest : public SkinControlsTest {
 protected:
  static constexpr int W = 30, H = 10;

  void SetUp() override {
    SkinControlsTest::SetUp();
    // Three rows of the button's height, starting at (40, 5) of the sheet.
    sheet = Sheet("Main\\Btns.bmp", CodedImage(80, 40, 2));
    TFormLoading loading(&window);
    button = new TNButton(&window, "OkBtn");
    button->SetX(40);
    button->SetY(5);
    button->SetBitmapComponent(sheet);
    button->SetManager(&manager);
    button->setGeometry(50, 50, W, H);
    loading.Finish();
    QObject::connect(button, &TNBase::OnClick, [this] { ++clicks; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  // The sprite row the button shows (0 plain, 1 hover, 2 down), read from its pixels.
  int ShownRow() {
    const QImage image = Grab(*button);
    const TSample top = test::Sample(image, 0, 0);
    EXPECT_EQ(top.x, 40);
    EXPECT_EQ((top.y - 5) % H, 0);
    return (top.y - 5) / H;
  }

  QPoint Inside() const { return QPoint(W / 2, H / 2); }
  QPoint Outside() const { return QPoint(W + 20, H + 20); }

  TNBitmapComponent* sheet = nullptr;
  TNButton* button = nullptr;
  int clicks = 0;
};

TEST_F(SpriteButtonTest, HoverPressAndReleaseShowTheThreeRowsAndClickOnce) {
  EXPECT_EQ(ShownRow(), 0);
  QTest::mouseMove(button, Inside());
  EXPECT_TRUE(button->Hovered());
  EXPECT_EQ(ShownRow(), 1);
  QTest::mousePress(button, Qt::LeftButton, {}, Inside());
  EXPECT_EQ(ShownRow(), 2);
  QTest::mouseRelease(button, Qt::LeftButton, {}, Inside());
  EXPECT_EQ(ShownRow(), 1);
  EXPECT_EQ(clicks, 1);
  QTest::mouseMove(&window, QPoint(5, 5));
  EXPECT_FALSE(button->Hovered());
  EXPECT_EQ(ShownRow(), 0);
}

TEST_F(SpriteButtonTest, DraggingOffShowsPlainOnlyForACanBeDownButton) {
  struct Case {
    bool canBeDown;
    int rowWhileOff;
  };
  for (const Case c : {Case{true, 0}, Case{false, 2}}) {
    SCOPED_TRACE(c.canBeDown ? "CanBeDown" : "plain button");
    button->SetCanBeDown(c.canBeDown);
    QTest::mouseMove(button, Inside());
    QTest::mousePress(button, Qt::LeftButton, {}, Inside());
    QTest::mouseMove(button, Outside());
    EXPECT_FALSE(button->Hovered());
    EXPECT_EQ(ShownRow(), c.rowWhileOff);
    QTest::mouseRelease(button, Qt::LeftButton, {}, Outside());
    QTest::mouseMove(&window, QPoint(5, 5));
    EXPECT_EQ(ShownRow(), 0);
  }
  EXPECT_EQ(clicks, 0) << "a release outside is no click";
}

TEST_F(SpriteButtonTest, DownButtonClicksOnlyWhenClickableWhenDown) {
  button->SetDown(true);
  EXPECT_EQ(ShownRow(), 2);
  QTest::mouseClick(button, Qt::LeftButton, {}, Inside());
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(button->Pressed());
  button->SetClickableWhenDown(true);
  QTest::mouseClick(button, Qt::LeftButton, {}, Inside());
  EXPECT_EQ(clicks, 1);
  button->SetDown(false);
  // The pointer moves over the button and then off it (clicks alone do not move it).
  QTest::mouseMove(button, Inside());
  QTest::mouseMove(&window, QPoint(5, 5));
  EXPECT_EQ(ShownRow(), 0);
}

TEST_F(SpriteButtonTest, MiddleAndRightButtonsDoNothing) {
  int parentClicks = 0;
  for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
    QTest::mouseMove(button, Inside());
    QTest::mousePress(button, b, {}, Inside());
    EXPECT_EQ(ShownRow(), 1);
    QTest::mouseRelease(button, b, {}, Inside());
  }
  EXPECT_EQ(clicks + parentClicks, 0);
}

TEST_F(SpriteButtonTest, AHandlerThatThrowsReachesTheApplicationHandler) {
  QStringList handled;
  SetApplicationExceptionHandler([&](const std::exception_ptr& error) { handled << ExceptionMessage(error); });
  QObject::connect(button, &TNBase::OnClick, [] { throw Exception("Button failed"); });
  QTest::mouseClick(button, Qt::LeftButton, {}, Inside());
  SetApplicationExceptionHandler({});
  EXPECT_EQ(handled, QStringList{"Button failed"});
  EXPECT_EQ(clicks, 1);
}

TEST_F(SpriteButtonTest, ThreeSliceButtonTilesTheMiddleBetweenItsCaps) {
  constexpr int S = 10;
  TNBitmapComponent* bar = Sheet("Main\\Bar.bmp", CodedImage(3 * S, 3 * 12, 4));
  TNButton wide(&window);
  wide.setGeometry(0, 0, 100, 12);
  wide.SetManager(&manager);
  wide.SetBitmapComponent(bar);
  wide.SetSize(S);
  const auto expected = [](int row) {
    return [row](int x, int y) -> std::optional<TSample> {
      int sx = S + (x - S) % S;
      if (x < S) sx = x;
      if (x >= 90) sx = 2 * S + (x - 90);
      return TSample{sx, row * 12 + y, 4};
    };
  };
  EXPECT_EQ(FirstMismatch(Grab(wide), expected(0)), "");
  wide.SetDown(true);
  EXPECT_EQ(wide.Row(), 2);
  EXPECT_EQ(FirstMismatch(Grab(wide), expected(2)), "");
}

TEST_F(SpriteButtonTest, ThreeSliceCaptionIsPlacedByAlignmentAndRowDelta) {
  // A plain white sheet, so that the caption's black pixels stand out.
  QImage white(30, 60, QImage::Format_RGB32);
  white.fill(Qt::white);
  TNBitmapComponent* cmp = Sheet("white", white);
  TNButton captioned(&window);
  captioned.setGeometry(0, 0, 120, 20);
  captioned.SetManager(&manager);
  captioned.SetBitmapComponent(cmp);
  captioned.SetSize(10);
  captioned.SetCaption("III");
  SetFontColor(&captioned, clBlack);
  const auto inkColumns = [&] {
    const QImage image = Grab(captioned);
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x) {
      for (int y = 0; y < image.height(); ++y) {
        if (qRed(image.pixel(x, y)) < 128) {
          if (first < 0) first = x;
          last = x;
        }
      }
    }
    return std::pair(first, last);
  };
  const auto [centreFirst, centreLast] = inkColumns();
  ASSERT_GE(centreFirst, 0) << "the caption is drawn";
  EXPECT_NEAR((centreFirst + centreLast) / 2.0, 60, 3);
  captioned.SetAlignment(TAlignment::LeftJustify);
  captioned.SetDeltaX(7);
  EXPECT_NEAR(inkColumns().first, 7, 2);
  captioned.SetAlignment(TAlignment::RightJustify);
  captioned.SetDeltaX(0);
  EXPECT_NEAR(inkColumns().second, 119, 2);
}

// ---- labels and shapes -------------------------------------------------------------------------

TEST_F(SkinControlsTest, LabelsShowMarkupAsPlainText) {
  TTntLabel label(&window);
  label.SetCaption("<b>bold</b> &amp;");
  EXPECT_EQ(label.textFormat(), Qt::PlainText);
  EXPECT_NEAR(label.width(), label.fontMetrics().horizontalAdvance("<b>bold</b> &amp;"), 2);
}

TEST_F(SkinControlsTest, Label2HoverColoursItselfAndItsOther) {
  auto* main = new TLabel2(&window);
  auto* other = new TLabel2(&window);
  main->SetCaption("word");
  main->setGeometry(0, 0, 60, 20);
  main->SetOther(other);
  other->move(100, 100);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::mouseMove(main, QPoint(5, 5));
  EXPECT_EQ(FontColor(main), TLabel2::kHoverColor);
  EXPECT_EQ(FontColor(other), TLabel2::kHoverColor);
  QTest::mouseMove(&window, QPoint(200, 150));
  EXPECT_EQ(FontColor(main), clBlack);
  EXPECT_EQ(FontColor(other), clBlack);

  SetFontColor(main, 0x123456);
  main->SetWork(false);
  EXPECT_EQ(FontColor(main), clBlack) << "switching Work off makes the font black";
  SetFontColor(main, 0x123456);
  QTest::mouseMove(main, QPoint(5, 5));
  EXPECT_EQ(FontColor(main), 0x123456);
}

TEST_F(SkinControlsTest, LinkLabelHoverUnderlinesInLinkColourAndRestores) {
  auto* link = new TLinkLabel2(&window);
  link->SetCaption("link");
  link->setGeometry(0, 0, 60, 20);
  SetFontColor(link, 0x00AA00);
  link->SetLinkColor(0xFF0000);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  QTest::mouseMove(link, QPoint(5, 5));
  EXPECT_EQ(FontColor(link), 0x00AA00) << "no link look without ShowLink";
  QTest::mouseMove(&window, QPoint(200, 150));

  link->SetShowLink(true);
  QTest::mouseMove(link, QPoint(5, 5));
  EXPECT_EQ(FontColor(link), 0xFF0000);
  EXPECT_TRUE(link->font().underline());
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(&window, QPoint(200, 150));
  EXPECT_EQ(FontColor(link), 0x00AA00);
  EXPECT_FALSE(link->font().underline());

  // Entered while disabled: no link look, and leaving does not paint over its colour.
  link->setEnabled(false);
  QTest::mouseMove(link, QPoint(5, 5));
  SetFontColor(link, 0x0000AA);
  link->setEnabled(true);
  QTest::mouseMove(&window, QPoint(200, 150));
  EXPECT_EQ(FontColor(link), 0x0000AA);
}

TEST(MyShapeTest, ShapeRectFollowsPenWidthAndKind) {
  struct Case {
    TShapeType shape;
    int pen, width, height;
    QRect expected;
  };
  const Case cases[] = {
      {TShapeType::Rectangle, 1, 40, 20, QRect(0, 0, 40, 20)},
      {TShapeType::Rectangle, 0, 40, 20, QRect(0, 0, 40, 20)},
      {TShapeType::Rectangle, 4, 40, 20, QRect(2, 2, 37, 17)},
      {TShapeType::Square, 1, 40, 20, QRect(10, 0, 20, 20)},
      {TShapeType::Circle, 3, 20, 41, QRect(1, 11, 18, 18)},
      {TShapeType::RoundRect, 2, 30, 30, QRect(1, 1, 29, 29)},
  };
  for (const Case& c : cases) {
    TMyShape shape;
    shape.resize(c.width, c.height);
    shape.SetShape(c.shape);
    shape.SetPenWidth(c.pen);
    EXPECT_EQ(shape.ShapeRect(), c.expected) << "shape " << int(c.shape) << " pen " << c.pen;
  }
}

TEST(RoundedPanelTest, PaintsItsColourOnTheBackground) {
  TRoundedPanel panel;
  panel.resize(40, 30);
  panel.SetBackgroundColor(0xFFFFFF);
  panel.SetColor(0x0000FF);
  panel.SetRadiusX(20);
  panel.SetRadiusY(20);
  const QImage image = Grab(panel);
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255)) << "the rounded corner shows the background";
  EXPECT_EQ(image.pixel(20, 15), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(20, 0), qRgb(255, 0, 0)) << "the straight edge reaches the border";
}

}  // namespace
}  // namespace zabko
