#include "ui/gui_text_builder.h"

#include "platform/exception.h"
#include "ui/component.h"
#include "ui/tnt_label.h"

#include "../common/test_util.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace zabko {
namespace {

// Every character is 10 pixels wide (12 when bold); a line is twice the size high, or the height
// when one is set.
class TFixedMeasure : public TTextMeasure {
 public:
  int TextWidth(const TGUIFont& font, const QString& text) override {
    return int(text.size()) * (font.Style.testFlag(TFontStyle::Bold) ? 12 : 10);
  }
  int TextHeight(const TGUIFont& font, const QString&) override {
    return font.Height != 0 ? std::abs(font.Height) : std::abs(font.Size) * 2;
  }
  QFont LabelFont(const TGUIFont& font) override {
    QFont result;
    SetWinFontStyle(result, font.Style);
    return result;
  }
};

class GUITextBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { SetMeasureCanvas(&measure); }
  void TearDown() override { SetMeasureCanvas(nullptr); }

  TFixedMeasure measure;
  QWidget parent;
};

struct TPlaced {
  QString text;
  int left, top;
  bool operator==(const TPlaced&) const = default;
};
void PrintTo(const TPlaced& p, std::ostream* os) { *os << "\"" << p.text.toStdString() << "\"@" << p.left << "," << p.top; }

std::vector<TPlaced> Placed(const TGUITextBuilder& builder) {
  std::vector<TPlaced> placed;
  for (const TTntLabel* label : builder.CreatedLabels()) placed.push_back({label->text(), label->x(), label->y()});
  return placed;
}

TEST_F(GUITextBuilderTest, LaysOutRunsIntoLines) {
  struct Case {
    const char* name;
    const char* text;
    int width;
    bool rightToLeft;
    std::vector<TPlaced> expected;
  };
  // The rectangle starts at (5, 3); a default line is 22 high.
  const Case cases[] = {
      {"wraps at spaces", "one two three", 75, false, {{"one two", 5, 3}, {"three", 5, 25}}},
      {"runs side by side", "~a~bb~", 100, false, {{"a", 5, 3}, {"bb", 15, 3}}},
      {"right to left from the right edge", "~a~bb~", 100, true, {{"a", 95, 3}, {"bb", 75, 3}}},
      {"a break ends the line", "~a~\\n~b~", 100, false, {{"a", 5, 3}, {"", 15, 3}, {"b", 5, 25}}},
      {"two breaks give an empty line", "~a~\\n~\\n~b~", 100, false,
       {{"a", 5, 3}, {"", 15, 3}, {"", 5, 25}, {"b", 5, 47}}},
      {"a link too wide stands alone", "~x~[,,255]<3>abcdefghijkl~", 100, false, {{"x", 5, 3}, {"abcdefghijkl", 5, 25}}},
      {"a first word too wide is placed whole", "~abcdefghijklmno pq~", 100, false, {{"abcdefghijklmno pq", 5, 3}}},
      {"runs of one line align at their bottoms", "~[,20,]big~[,10,]sm~", 100, false, {{"big", 5, 3}, {"sm", 35, 23}}},
      {"inner blanks collapse when wrapped", "a  b c", 45, false, {{"a b", 5, 3}, {"c", 5, 25}}},
      {"trailing blanks stay a word", "aa bb   ", 65, false, {{"aa bb", 5, 3}, {"   ", 5, 25}}},
      {"a run that fits once blanks collapse leaves nothing", "a  b", 40, false, {{"a b", 5, 3}}},
      {"the bold run moves down a pixel", "[,-13:17,10450985]^Bold", 100, false, {{"Bold", 5, 4}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGUITextBuilder builder;
    builder.RightToLeft = c.rightToLeft;
    builder.Parse(c.text);
    builder.LayoutInRect(&parent, {5, 3, 5 + c.width, 500});
    EXPECT_EQ(Placed(builder), c.expected);
    EXPECT_FALSE(builder.Overflow);
    EXPECT_TRUE(builder.Runs().empty());
  }
}

TEST_F(GUITextBuilderTest, ParsesAttributesLinksAndBreaks) {
  struct Case {
    const char* piece;
    QString text;
    QString fontName;
    int size, height;
    bool bold;
    TColor colour;
    int link;  // -1: a plain run
    bool isBreak;
  };
  const Case cases[] = {
      {"word", "word", "Arial", 11, 0, false, 0, -1, false},
      {"^word", "^word", "Arial", 11, 0, false, 0, -1, false},
      {"[,,16646144]<0>Open the page", "Open the page", "Arial", 11, 0, false, 16646144, 0, false},
      {"[,-13:17,10450985]^Bold", "Bold", "Arial", -13, 17, true, 10450985, -1, false},
      {"[,11,]", "", "Arial", 11, 0, false, 0, -1, false},
      {"[David,14,255,extra]text", "text", "David", 14, 0, false, 255, -1, false},
      {"[,,$FF00]<12>x", "x", "Arial", 11, 0, false, 0xFF00, 12, false},
      {"\\n", "", "Arial", 11, 0, false, 0, -1, true},
      {"[,9,]\\n", "", "Arial", 9, 0, false, 0, -1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.piece);
    TGUITextBuilder builder;
    builder.ParseRun(c.piece);
    ASSERT_EQ(builder.Runs().size(), 1u);
    const auto* run = dynamic_cast<const TGUILabel*>(builder.Runs().front().get());
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->Text, c.text);
    EXPECT_EQ(run->Font.Name, c.fontName);
    EXPECT_EQ(run->Font.Size, c.size);
    EXPECT_EQ(run->Font.Height, c.height);
    EXPECT_EQ(run->Font.Style.testFlag(TFontStyle::Bold), c.bold);
    EXPECT_EQ(run->Color, c.colour);
    EXPECT_EQ(dynamic_cast<const TGUILink*>(run) != nullptr, c.link >= 0);
    if (c.link >= 0) {
      EXPECT_EQ(run->LinkNumber, c.link);
    }
    EXPECT_EQ(run->IsBreak(), c.isBreak);
  }
}

TEST_F(GUITextBuilderTest, SplitsAtTildesAndDropsEmptyPieces) {
  TGUITextBuilder builder;
  builder.Parse("one~~two");
  builder.Parse("~\\n~");
  ASSERT_EQ(builder.Runs().size(), 3u);
  EXPECT_EQ(static_cast<const TGUILabel&>(*builder.Runs()[0]).Text, "one");
  EXPECT_EQ(static_cast<const TGUILabel&>(*builder.Runs()[1]).Text, "two");
  EXPECT_TRUE(builder.Runs()[2]->IsBreak());
  builder.ParseRun("a~b");
  EXPECT_EQ(static_cast<const TGUILabel&>(*builder.Runs()[3]).Text, "a~b");
}

TEST_F(GUITextBuilderTest, MalformedMarkupFailsClearly) {
  struct Case {
    const char* piece;
    const char* message;
  };
  const Case cases[] = {
      {"[,,5 no end", "Invalid text markup: [,,5 no end"},
      {"[a,b]x", "Invalid text markup: [a,b]x"},
      {"[]x", "Invalid text markup: []x"},
      {"[,big,]x", "'big' is not a valid integer value"},
      {"[,1:2:3,]x", "'2:3' is not a valid integer value"},
      {"[,,red]x", "'red' is not a valid integer value"},
      {"<1a>x", "'1a' is not a valid integer value"},
      {"<>x", "'' is not a valid integer value"},
      {"[,,]<2 no end", "Invalid text markup: [,,]<2 no end"},
      {"<-1>x", "Invalid text markup: <-1>x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.piece);
    TGUITextBuilder builder;
    try {
      builder.ParseRun(c.piece);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_TRUE(builder.Runs().empty());
  }
}

TEST_F(GUITextBuilderTest, BoldStaysOnEveryWrappedLineAndLinksMeasureWithoutIt) {
  TGUITextBuilder builder;
  builder.Parse("~[,,]^aaa bbb ccc~[,,]^<1>link~");
  builder.LayoutInRect(&parent, {0, 0, 80, 500});
  // Bold is 12 per character: "aaa bbb" (84) does not fit in 80; the link measures 40, not 48.
  const QList<TTntLabel*> labels = builder.CreatedLabels();
  ASSERT_EQ(labels.size(), 4);
  EXPECT_EQ(labels[0]->text(), "aaa");
  EXPECT_EQ(labels[1]->text(), "bbb");
  EXPECT_EQ(labels[2]->text(), "ccc");
  EXPECT_EQ(labels[3]->text(), "link");
  EXPECT_EQ(labels[3]->y(), labels[2]->y()) << "ccc (36) + link (40) fit in 80 only when the link ignores bold";
  for (const TTntLabel* label : labels.first(3)) EXPECT_TRUE(label->font().bold()) << label->text().toStdString();
}

TEST_F(GUITextBuilderTest, StopsAtTheBottomAndContinuesOnTheNextCall) {
  TGUITextBuilder builder;
  builder.Parse("~a~\\n~b~\\n~c~");
  builder.LayoutInRect(&parent, {0, 0, 100, 30});
  // The test is made before a line: the second line starts at 22 < 30 and reaches 44.
  EXPECT_EQ(Placed(builder), (std::vector<TPlaced>{{"a", 0, 0}, {"", 10, 0}, {"b", 0, 22}, {"", 10, 22}}));
  EXPECT_TRUE(builder.Overflow);
  EXPECT_EQ(builder.LastY, 44);
  builder.LayoutInRect(&parent, {0, 100, 100, 200});
  EXPECT_EQ(Placed(builder), (std::vector<TPlaced>{{"c", 0, 100}}));
  EXPECT_FALSE(builder.Overflow);
  EXPECT_EQ(builder.LastY, 122);
}

TEST_F(GUITextBuilderTest, NoWidthPlacesNothingAndEnds) {
  TGUITextBuilder builder;
  builder.Parse("some text");
  builder.LayoutInRect(&parent, {10, 0, 10, 1000000});
  EXPECT_TRUE(builder.CreatedLabels().isEmpty());
  EXPECT_TRUE(builder.Overflow);
}

TEST_F(GUITextBuilderTest, LabelsCarryLinkNumberDirectionAnchorsAndColour) {
  TGUITextBuilder builder;
  builder.RightToLeft = true;
  builder.Anchors = TAnchorKind::Top | TAnchorKind::Right;
  QObject* clicked = nullptr;
  builder.LinkHandler = [&](QObject* sender) { clicked = sender; };
  builder.Parse("~plain~[,,16646144]<7>link~");
  parent.resize(300, 100);
  builder.LayoutInPanel(&parent);
  const QList<TTntLabel*> labels = builder.CreatedLabels();
  ASSERT_EQ(labels.size(), 2);
  auto* link = qobject_cast<TLinkLabel2*>(labels[1]);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(qobject_cast<TLinkLabel2*>(labels[0]), nullptr);
  EXPECT_EQ(Tag(link), 7);
  EXPECT_TRUE(link->ShowLink());
  EXPECT_EQ(link->LinkColor(), 16646144);
  EXPECT_EQ(FontColor(link), 16646144);
  for (TTntLabel* label : labels) {
    EXPECT_EQ(label->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(GetAnchors(label), TAnchorKind::Top | TAnchorKind::Right);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
  }

  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  QTest::mouseClick(labels[0], Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(clicked, nullptr);
  QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(clicked, link);
}

TEST_F(GUITextBuilderTest, MeasuringWithoutACanvasFails) {
  SetMeasureCanvas(nullptr);
  TGUITextBuilder builder;
  builder.Parse("text");
  try {
    builder.LayoutInRect(&parent, {0, 0, 100, 100});
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Missing Canvas object");
  }
}

TEST(CanvasTextMeasureTest, MeasuresWithTheRunsFont) {
  TCanvasTextMeasure measure(QFont("DejaVu Sans"));
  TGUIFont plain;
  TGUIFont bold = plain;
  bold.Style = TFontStyle::Bold;
  EXPECT_GT(measure.TextWidth(plain, "wide text"), measure.TextWidth(plain, "text"));
  EXPECT_GE(measure.TextWidth(bold, "wide text"), measure.TextWidth(plain, "wide text"));
  TGUIFont tall = plain;
  tall.Height = -40;
  EXPECT_GT(measure.TextHeight(tall, "x"), measure.TextHeight(plain, "x"));
  EXPECT_EQ(measure.LabelFont(tall).pixelSize(), 40);
  EXPECT_EQ(measure.LabelFont(plain).family(), "Liberation Sans");
}

}  // namespace
}  // namespace zabko
