#include "learn/frames/word_frame.h"

#include "core/word.h"
#include "ui/component.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"

#include "tests/learn/frame_fixture.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace zabko::test {
namespace {

class WordFrameTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    LoadPacks();
    word.Headword = "abc";
    word.SetMeanings("first; second");
  }
  QRect Geometry(TWordFrm& frame, const char* name) { return FindComponent<QWidget>(&frame, name)->geometry(); }
  TWord word;
};

TEST_F(WordFrameTest, LayoutFollowsTheRowSize) {
  struct TCase {
    int width, height;
    QRect box, big, explain;
    int radius, explainFont;
  } cases[] = {
      {538, 38, {400, 7, 137, 23}, {406, 9, 125, 19}, {1, 4, 370, 30}, 4, 16},
      {1000, 150, {749, 32, 250, 85}, {761, 37, 226, 75}, {1, 7, 719, 136}, 18, 25},
  };
  for (const auto& c : cases) {
    TWordFrm frame(nullptr, &manager);
    frame.resize(c.width, c.height);
    frame.SetWord(&word);
    EXPECT_EQ(Geometry(frame, "LblBckg"), c.box) << c.width;
    EXPECT_EQ(Geometry(frame, "BigWordLbl"), c.big) << c.width;
    EXPECT_EQ(Geometry(frame, "ExplainLbl"), c.explain) << c.width;
    EXPECT_EQ(FindComponent<TMyShape>(&frame, "LblBckg")->RadiusX(), c.radius);
    EXPECT_EQ(frame.ExplainFont().Height, c.explainFont);
    EXPECT_EQ(Geometry(frame, "Btn").topLeft(), QPoint(c.box.left() - 25, (c.height - 23) / 2));
  }
}

TEST_F(WordFrameTest, MirroredRowStartsAtTheLeft) {
  TWordFrm frame(nullptr, &manager);
  frame.MirrorForLeftToRight();
  frame.resize(538, 38);
  frame.SetWord(&word);
  EXPECT_FALSE(frame.RightToLeft());
  EXPECT_EQ(Geometry(frame, "LblBckg").left(), 1);
  EXPECT_EQ(Geometry(frame, "Btn").left(), 142);
  EXPECT_EQ(Geometry(frame, "ExplainLbl"), QRect(168, 4, 369, 30));
  EXPECT_EQ(FindComponent<QWidget>(&frame, "BckgStatic")->geometry(), QRect(0, 0, 538, 38));
}

// With fonts whose text narrows as they shrink, a short word stays in one line and a long one
// takes the two-line label; a word that fits at no size stops at the smallest font.
TEST_F(WordFrameTest, ChoosesOneOrTwoLines) {
  TScaledMeasure scaled;
  SetMeasureCanvas(&scaled);
  struct TCase {
    const char* text;
    bool twoLines;
    int big, small;
    QRect box;
  } cases[] = {
      {"abc", false, 18, 16, {400, 7, 137, 23}},
      {"abcd efgh ijkl mnop", true, 13, 16, {400, 1, 137, 36}},
  };
  for (const auto& c : cases) {
    TWord w;
    w.Headword = c.text;
    TWordFrm frame(nullptr, &manager);
    frame.SetWord(&w);
    EXPECT_EQ(FindComponent<TLabel2>(&frame, "SmallWord")->isVisibleTo(&frame), c.twoLines) << c.text;
    EXPECT_EQ(FindComponent<TLabel2>(&frame, "BigWordLbl")->isVisibleTo(&frame), !c.twoLines) << c.text;
    EXPECT_EQ(frame.BigWordFont().Height, c.big) << c.text;
    EXPECT_EQ(frame.SmallWordFont().Height, c.small) << c.text;
    EXPECT_EQ(FindComponent<TLabel2>(&frame, "SmallWord")->Caption(), c.text);
    EXPECT_EQ(Geometry(frame, "LblBckg"), c.box) << c.text;
  }
  TWord endless;
  endless.Headword = QString(60, QChar('w'));
  endless.SetMeanings(QString(200, QChar('m')));
  TWordFrm frame(nullptr, &manager);
  frame.SetWord(&endless);
  EXPECT_EQ(frame.BigWordFont().Height, kMinWordFontHeight);
  EXPECT_EQ(frame.SmallWordFont().Height, kMinWordFontHeight);
  EXPECT_EQ(frame.ExplainFont().Height, kMinWordFontHeight);
  EXPECT_EQ(FindComponent<TTntLabel>(&frame, "ExplainLbl")->Caption(), endless.MeaningsLine());
}

TEST_F(WordFrameTest, FitFontToLabelNeverGoesBelowTheFloor) {
  TGUIFont font;
  font.Height = 10;
  FitFontToLabel(font, QSize(5, 5), "wide text", 1);
  EXPECT_EQ(font.Height, kMinWordFontHeight);
  font.Height = -13;
  FitFontToLabel(font, QSize(200, 40), "ab", 1);
  EXPECT_EQ(font.Height, 39);  // the fixed measure's line is the font height: just inside 40
}

TEST_F(WordFrameTest, SetWordIgnoresNoneAndTheSameWord) {
  TWordFrm frame(nullptr, &manager);
  auto* big = FindComponent<TLabel2>(&frame, "BigWordLbl");
  auto* explain = FindComponent<TTntLabel>(&frame, "ExplainLbl");
  EXPECT_FALSE(explain->isVisibleTo(&frame));
  frame.SetWord(&word);
  EXPECT_EQ(big->Caption(), "abc");
  EXPECT_EQ(explain->Caption(), "first; second");
  EXPECT_EQ(explain->toolTip(), "first\r\nsecond");
  EXPECT_TRUE(explain->isVisibleTo(&frame));
  big->SetCaption("changed");
  frame.SetWord(&word);
  frame.SetWord(nullptr);
  EXPECT_EQ(big->Caption(), "changed");
  EXPECT_EQ(frame.Word(), &word);
  frame.SetShowExplanation(false);
  EXPECT_FALSE(explain->isVisibleTo(&frame));
}

TEST_F(WordFrameTest, MarkingStrikesOutAndTheButtonStillClicks) {
  TWordFrm frame(nullptr, &manager);
  frame.SetWord(&word);
  QSignalSpy marks(&frame, &TWordFrm::OnMarkClick);
  QSignalSpy words(&frame, &TWordFrm::OnWordClick);
  frame.SetMarked(true);
  auto* btn = FindComponent<TNButton>(&frame, "Btn");
  EXPECT_TRUE(btn->Down());
  EXPECT_TRUE(FindComponent<TLabel2>(&frame, "BigWordLbl")->font().strikeOut());
  EXPECT_TRUE(FindComponent<TLabel2>(&frame, "SmallWord")->font().strikeOut());
  frame.show();
  QTest::mouseClick(btn, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(marks.count(), 1);
  QTest::mouseClick(FindComponent<TLabel2>(&frame, "BigWordLbl"), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(words.count(), 1);
  frame.SetMarked(false);
  EXPECT_FALSE(btn->Down());
  EXPECT_FALSE(FindComponent<TLabel2>(&frame, "BigWordLbl")->font().strikeOut());
}

TEST_F(WordFrameTest, HoverSetsTheWordHintAndItsFont) {
  TWordFrm frame(nullptr, &manager);
  frame.SetWord(&word);
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QCoreApplication::sendEvent(&frame, &enter);
  EXPECT_TRUE(central_->WordHint);
  auto* explain = FindComponent<TTntLabel>(&frame, "ExplainLbl");
  QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(explain, &move);
  EXPECT_EQ(central_->HintFont().family(), explain->font().family());
  EXPECT_EQ(central_->HintFont().pixelSize(), explain->font().pixelSize());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&frame, &leave);
  EXPECT_FALSE(central_->WordHint);
}

}  // namespace
}  // namespace zabko::test
