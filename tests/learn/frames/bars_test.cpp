#include "learn/frames/footer_frame.h"
#include "learn/frames/header_frame.h"

#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/n_base.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"

#include "tests/learn/frame_fixture.h"

namespace zabko::test {
namespace {

TEST(FooterPlacementTest, SpreadsTheVisibleButtons) {
  struct TCase {
    int count;
    QList<int> lefts;
    int rightDots, leftDots, logo;
  } cases[] = {
      {4, {555, 471, 387, 303}, 640, 289, 214},
      {3, {545, 451, 357}, 635, 338, 258},
      {1, {525}, 625, 496, 406},
  };
  for (const auto& c : cases) {
    const TFooterPlacement placement = PlaceFooter(555, 471, c.count, 83, 654, 12, 73);
    EXPECT_EQ(placement.ButtonLefts, c.lefts) << c.count;
    EXPECT_EQ(placement.RightDotsLeft, c.rightDots) << c.count;
    EXPECT_EQ(placement.LeftDotsLeft, c.leftDots) << c.count;
    EXPECT_EQ(placement.LogoLeft, c.logo) << c.count;
  }
}

class BarsTest : public FrameTest {};

TEST_F(BarsTest, FooterWithEveryButtonMovesOnlyTheDotsAndTheLogo) {
  TFotterFrm footer(nullptr, &manager);
  footer.ApplyAppType();
  footer.SetLogo();
  footer.LoadCaptions();
  EXPECT_EQ(footer.PrintBtn()->x(), 555);
  EXPECT_EQ(footer.PlayerBtn()->x(), 471);
  EXPECT_EQ(footer.CDBtn()->x(), 387);
  EXPECT_EQ(footer.MobileBtn()->x(), 303);
  EXPECT_EQ(FindComponent<TNStatic>(&footer, "RightDots")->x(), 640);
  EXPECT_EQ(FindComponent<TNStatic>(&footer, "LeftDots")->x(), 289);
  EXPECT_EQ(FindComponent<TNStatic>(&footer, "ViZoLogo")->x(), 214);
  EXPECT_EQ(footer.ProdBtn()->Caption(), central_->Strings().GetString("FotterFrm.ProdBtn.Caption"));
  EXPECT_EQ(footer.MobileBtn()->toolTip(), central_->Strings().GetString("FotterFrm.MobileBtn.Hint"));
  // The right-hand group stays at the right edge of a wider bar.
  footer.resize(1000, 57);
  ApplyAnchors(&footer);
  ApplyAnchors(FindComponent<QWidget>(&footer, "NStatic1"));
  EXPECT_EQ(footer.ProdBtn()->x(), 654 + 210);
  EXPECT_EQ(footer.ContactBtn()->x(), 66);
}

TEST_F(BarsTest, HeaderHasACompactHomeButtonInBothDirections) {
  THeaderFrm header(nullptr, &manager);
  header.ApplyAppType();
  header.SetLogo();
  header.LoadCaptions();
  EXPECT_EQ(header.HomeBtn()->geometry(), QRect(203, 28, 45, 29));
  EXPECT_EQ(header.HomeBtn()->X(), 140);
  EXPECT_TRUE(header.HelpBtn()->isVisibleTo(&header));
  EXPECT_EQ(header.FilterBtn()->Caption(), central_->Strings().GetString("HeaderFrm.FilterBtn.Caption"));
  EXPECT_EQ(FindComponent<TTntLabel>(&header, "PoweredBy1Lbl")->Caption(),
            central_->Strings().GetString("PoweredByLine"));
  // The compact sprite is painted from the sheet, not left blank.
  header.show();
  const QImage image = header.grab().toImage();
  EXPECT_NE(image.pixelColor(203 + 22, 28 + 14), image.pixelColor(300, 5));

  header.ApplyLeftToRight();
  EXPECT_EQ(header.FilterBtn()->x(), 12);
  EXPECT_EQ(header.ExamBtn()->x(), 780 - 260 - 161);
  EXPECT_EQ(header.TestBtn()->x(), (359 + 12) / 2);
  EXPECT_EQ(header.HelpBtn()->x(), 202 + 475);
  EXPECT_EQ(header.ExitBtn()->x(), 152 + 575);
  EXPECT_EQ(header.HomeBtn()->x(), header.HelpBtn()->x());
  EXPECT_EQ(FindComponent<TNStatic>(&header, "NStatic1")->x(), 12 + 530);
  EXPECT_EQ(header.FilterBtn()->DeltaX(), 55);
  EXPECT_EQ(header.FilterBtn()->Alignment(), TAlignment::LeftJustify);
  EXPECT_EQ(GetAnchors(header.HelpBtn()), TAnchorKind::Top | TAnchorKind::Right);
  EXPECT_EQ(GetAnchors(header.FilterBtn()), TAnchorKind::Left | TAnchorKind::Top);
}

}  // namespace
}  // namespace zabko::test
