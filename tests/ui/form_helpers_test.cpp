#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/mirror.h"
#include "ui/n_base.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"

#include "platform/exception.h"
#include "skin_fixture.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using A = TAnchorKind;

TEST(AnchorsTest, ChildrenKeepTheirMarginsToTheAnchoredEdges) {
  struct Case {
    const char* name;
    TAnchors anchors;
    QRect after;  // the child at (10, 20) 30 x 40 in a 200 x 100 parent, parent grown by 50 x 30
  };
  const Case cases[] = {
      {"left top stays", A::Left | A::Top, QRect(10, 20, 30, 40)},
      {"right moves", A::Top | A::Right, QRect(60, 20, 30, 40)},
      {"left and right stretch", A::Left | A::Top | A::Right, QRect(10, 20, 80, 40)},
      {"bottom moves", A::Left | A::Bottom, QRect(10, 50, 30, 40)},
      {"all four stretch both ways", A::Left | A::Top | A::Right | A::Bottom, QRect(10, 20, 80, 70)},
      {"none keeps the centre", TAnchors(), QRect(35, 35, 30, 40)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget parent;
    parent.resize(200, 100);
    QWidget child(&parent);
    child.setGeometry(10, 20, 30, 40);
    SetAnchors(&child, c.anchors);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    parent.resize(250, 130);
    EXPECT_EQ(child.geometry(), c.after);
    parent.resize(200, 100);
    EXPECT_EQ(child.geometry(), QRect(10, 20, 30, 40)) << "shrinking back restores the design";
  }
}

TEST(AnchorsTest, AHiddenParentMovesItsChildrenOnceWhenShownOrApplied) {
  QWidget parent;
  parent.resize(200, 100);
  QWidget child(&parent);
  child.setGeometry(150, 10, 40, 20);
  SetAnchors(&child, A::Top | A::Right);
  parent.resize(300, 100);
  ApplyAnchors(&parent);
  EXPECT_EQ(child.x(), 250);
  parent.show();  // the resize Qt delivers at the showing must not move it again
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  EXPECT_EQ(child.x(), 250);
}

TEST(AnchorsTest, FinishingAFormLoadTakesTheDesignSizeAsStart) {
  QWidget form;
  TFormLoading loading(&form);
  QWidget child(&form);
  child.setGeometry(560, 10, 30, 30);
  SetAnchors(&child, A::Top | A::Right);  // set before the form got its design size
  form.resize(600, 400);
  loading.Finish();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(child.x(), 560);
  form.resize(700, 400);
  EXPECT_EQ(child.x(), 660);
}

TEST(AnchorsTest, MirroringSwapsOnlyOneSidedAnchors) {
  EXPECT_EQ(MirrorAnchors(A::Left | A::Top), A::Top | A::Right);
  EXPECT_EQ(MirrorAnchors(A::Right | A::Bottom), A::Left | A::Bottom);
  EXPECT_EQ(MirrorAnchors(A::Left | A::Right), A::Left | A::Right);
  EXPECT_EQ(int(A::Left | A::Top), 3) << "anchor sets keep the class library's values";
  EXPECT_EQ(int(A::Top | A::Right), 6);
}

TEST(MirrorTest, MirrorsGeometryReadingOrderAnchorsAndTitleBitmaps) {
  test::TSkinFixture skin;
  skin.source->Add("main\\searchCaption.bmp", test::CodedImage(4, 2));
  QWidget form;
  form.resize(200, 100);
  auto* title = new TNStatic(&form, "NStatic1");
  title->setGeometry(10, 0, 60, 24);
  title->SetManager(&skin.manager);
  title->SetBackgroundName("main\\searchCaption.bmp");
  auto* inner = new TTntLabel(title, "CaptionLbl");
  inner->setGeometry(5, 2, 20, 10);
  auto* edit = new QLineEdit(&form);
  edit->setObjectName("UserNameEdt");
  edit->setGeometry(120, 40, 50, 20);
  SetAnchors(edit, A::Top | A::Right);
  auto* kept = new QWidget(&form);
  kept->setGeometry(0, 0, 200, 100);
  kept->lower();

  MirrorChildren(&form, true, {kept});
  MirrorTitleBitmap(title);
  MirrorTitleBitmap(title);

  EXPECT_EQ(title->geometry(), QRect(130, 0, 60, 24));
  EXPECT_EQ(inner->geometry(), QRect(35, 2, 20, 10)) << "children mirror within their own parent";
  EXPECT_EQ(edit->geometry(), QRect(30, 40, 50, 20));
  EXPECT_EQ(GetAnchors(edit), A::Left | A::Top);
  EXPECT_EQ(GetAnchors(title), A::Top | A::Right);
  EXPECT_EQ(edit->layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(kept->geometry(), QRect(0, 0, 200, 100));
  EXPECT_EQ(title->BackgroundName(), "[U]main\\searchCaption.bmp");
  EXPECT_TRUE(skin.manager.Drawer(title->DrawerIndex())->Mirrored);
  EXPECT_EQ(FindComponent<QLineEdit>(&form, "UserNameEdt"), edit);
}

TEST(MirrorTest, TopCornersOnlyModeKeepsOtherAnchorSets) {
  QWidget row;
  row.resize(100, 30);
  QWidget a(&row), b(&row);
  SetAnchors(&a, A::Left | A::Top);
  SetAnchors(&b, A::Left | A::Bottom);
  MirrorChildren(&row, false, {}, TAnchorMirror::TopCornersOnly);
  EXPECT_EQ(GetAnchors(&a), A::Top | A::Right);
  EXPECT_EQ(GetAnchors(&b), A::Left | A::Bottom);
}

TEST(FormLoadingTest, AButtonCutsItsSpritesOnlyOnceEverythingIsSet) {
  test::TSkinFixture skin;
  skin.source->Add("Main\\Btns.bmp", test::CodedImage(60, 60));
  QWidget form;
  TFormLoading loading(&form);
  auto* sheet = new TNBitmapComponent(&form, "BtnCmp");
  auto* button = new TNButton(&form, "OkBtn");
  button->SetX(20);  // before its sheet, manager and size
  button->SetBitmapComponent(sheet);
  button->SetManager(&skin.manager);
  sheet->SetFilename("Main\\Btns.bmp");
  sheet->SetManager(&skin.manager);
  button->setGeometry(0, 0, 20, 15);
  EXPECT_EQ(skin.manager.DrawerCount(), 0);
  loading.Finish();
  const TNImageDrawer* plain = skin.manager.Drawer(button->PlainDrawer());
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->Name, "Main\\Btns.bmp20,0,20,15");
  EXPECT_EQ(skin.manager.Drawer(button->DownDrawer())->Name, "Main\\Btns.bmp20,30,20,15");
}

TEST(FormLoadingTest, AMissingBitmapFailsTheFormsCreation) {
  test::TSkinFixture skin;
  QWidget form;
  TFormLoading loading(&form);
  auto* panel = new TNStatic(&form);
  panel->SetManager(&skin.manager);
  panel->SetBackgroundName("Main\\Missing.bmp");
  EXPECT_THROW(loading.Finish(), Exception);
}

TEST(EventGuardTest, GuardedSlotsPassTheArgumentsAndHandTheExceptionOn) {
  QStringList messages;
  SetApplicationExceptionHandler([&](const std::exception_ptr& error) { messages << ExceptionMessage(error); });
  int seen = 0;
  auto slot = GuardedSlot([&](int value, const QString& text) {
    seen = value;
    if (!text.isEmpty()) throw Exception(text);
  });
  slot(7, QString());
  slot(8, QStringLiteral("Bad word"));
  SetApplicationExceptionHandler({});
  EXPECT_EQ(seen, 8);
  EXPECT_EQ(messages, QStringList{"Bad word"});
}

TEST(WinColorTest, ConvertsBlueInTheHighByte) {
  struct Case {
    TColor color;
    QColor expected;
  };
  const Case cases[] = {
      {0x9F7829, QColor(0x29, 0x78, 0x9F)},
      {16646144, QColor(0x00, 0x00, 0xFE)},
      {0x0000FF, QColor(255, 0, 0)},
      {clBtnFace, QColor(0xD4, 0xD0, 0xC8)},
      {clWindow, QColor(255, 255, 255)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WinColor(c.color), c.expected) << std::hex << c.color;
  }
  EXPECT_EQ(ToWinColor(QColor(0x29, 0x78, 0x9F)), 0x9F7829);
  EXPECT_EQ(WinColor(clNone).alpha(), 0);
}

TEST(WinFontTest, MapsWindowsFontsToInstalledSubstitutes) {
  struct Case {
    const char* windowsName;
    const char* family;
  };
  for (const Case& c : {Case{"Arial", "Liberation Sans"}, Case{"Times New Roman", "Liberation Serif"},
                        Case{"Tahoma", "DejaVu Sans"}, Case{"MS Sans Serif", "DejaVu Sans"},
                        Case{"David", "David CLM"}, Case{"david", "David CLM"}}) {
    EXPECT_EQ(SubstituteFontFamily(c.windowsName), c.family);
    // The substitute is really installed (the packages of scripts/deps).
    EXPECT_EQ(QFontInfo(WinFont(c.windowsName, 10)).family(), c.family) << c.windowsName;
  }
}

TEST(WinFontTest, SizeAndHeightFollowTheClassLibrarysRules) {
  EXPECT_EQ(MulDiv(11, 96, 72), 15);
  EXPECT_EQ(MulDiv(-13, 96, 72), -17);
  EXPECT_EQ(WinFont("Arial", 11).pixelSize(), 15);
  EXPECT_EQ(WinFont("Arial", 8, -15).pixelSize(), 15) << "a negative height is the character height";
  // A positive height is the cell height: ascent + descent come out at about that height.
  const QFont cell = WinFont("Arial", 8, 17);
  EXPECT_NEAR(QFontMetrics(cell).ascent() + QFontMetrics(cell).descent(), 17, 1);
  EXPECT_LT(cell.pixelSize(), 17);
  const QFont styled = WinFont("Arial", 10, 0, TFontStyle::Bold | TFontStyle::Underline);
  EXPECT_TRUE(styled.bold());
  EXPECT_TRUE(styled.underline());
  EXPECT_EQ(WinFontStyle(styled), TFontStyle::Bold | TFontStyle::Underline);
}

}  // namespace
}  // namespace zabko
