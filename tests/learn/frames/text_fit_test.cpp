#include "learn/frames/text_fit.h"

#include "ui/tnt_label.h"

#include "tests/common/test_util.h"
#include "tests/ui/dialog_fixture.h"

#include <gtest/gtest.h>

namespace zabko::test {
namespace {

// Every character is 10 px wide in the fixed measure.
struct TextFitTest : testing::Test {
  TextFitTest() { SetMeasureCanvas(&measure); }
  ~TextFitTest() override { SetMeasureCanvas(nullptr); }
  TFixedMeasure measure;
};

struct TPrefixCase {
  const char* text;
  bool wordMode;
  int width;
  int expected;
};

TEST_F(TextFitTest, FittingPrefixLength) {
  const TPrefixCase cases[] = {
      {"ab cd", true, 50, 5},           // fits whole
      {"ab cd", true, 49, 0},           // the only blank fits, the whole not: no earlier blank
      {"abcdef", true, 50, 0},          // no blank, too wide
      {"abcdef", true, 60, 6},          // no blank, fits
      {"ab cd ef", true, 70, 3},        // every blank prefix fits, the whole not: next-to-last blank
      {"ab cd efgh ij", true, 80, 6},   // the third blank's prefix is too wide
      {"abcdef", false, 35, 3},         // character mode
      {"abcdef", false, 60, 6},
      {"", true, 0, 0},
      {"", false, 10, 0},
      {"a", false, 5, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FittingPrefixLength(c.text, c.wordMode, TGUIFont{}, c.width), c.expected)
        << c.text << " word " << c.wordMode << " width " << c.width;
  }
}

TEST_F(TextFitTest, FittingPrefixLengthWithoutCanvasFails) {
  SetMeasureCanvas(nullptr);
  EXPECT_THROW(FittingPrefixLength("abc", true, TGUIFont{}, 10), Exception);
}

struct TSplitCase {
  const char* text;
  int width;
  const char* first;
  const char* second;
  const char* third;
};

TEST_F(TextFitTest, SplitTextToThreeLabels) {
  const TSplitCase cases[] = {
      {"one", 100, "one", "", ""},
      {"ab cd efgh ij", 80, "ab cd ", "efgh ij", ""},
      {"ab cd efghij klmnop qr", 80, "ab cd ", "efghij ", "klmno..."},
      {"ab cd ef", 70, "ab ", "cd ef", ""},  // the cut falls at the next-to-last blank
  };
  for (const auto& c : cases) {
    TTntLabel first, second, third;
    for (TTntLabel* label : {&first, &second, &third}) {
      label->SetAutoSize(false);
      label->SetCaption("old");
    }
    for (TTntLabel* label : {&first, &second, &third}) label->resize(c.width, 20);
    SplitTextToLabels(c.text, &first, &third, &second);
    EXPECT_EQ(first.Caption(), c.first) << c.text;
    EXPECT_EQ(second.Caption(), c.second) << c.text;
    EXPECT_EQ(third.Caption(), c.third) << c.text;
  }
}

TEST_F(TextFitTest, SplitTextToTwoLabelsEndsInEllipsis) {
  TTntLabel first, second;
  for (TTntLabel* label : {&first, &second}) {
    label->SetAutoSize(false);
    label->resize(60, 20);
  }
  SplitTextToLabels("abc defghijk lmnop", &first, nullptr, &second);
  EXPECT_EQ(first.Caption(), "abc ");
  EXPECT_EQ(second.Caption(), "def...");
}

// One label given three times keeps what does not fit in two lines; fewer than three fitting
// characters give the ellipsis alone rather than a negative cut.
TEST_F(TextFitTest, OneLabelKeepsWhatDoesNotFitInTwoLines) {
  struct TCase {
    const char* text;
    int width;
    const char* left;
  } cases[] = {
      {"abc", 30, ""},
      {"ab cde fg", 60, ""},
      {"ab cde fghijkl", 60, "cde..."},
      {"abcdefgh ij kl", 20, "..."},
      {"abcdefgh ij kl", 30, "..."},
  };
  for (const auto& c : cases) {
    TTntLabel label;
    label.SetAutoSize(false);
    label.resize(c.width, 20);
    SplitTextToLabels(c.text, &label, &label, &label);
    EXPECT_EQ(label.Caption(), c.left) << c.text << " in " << c.width;
  }
}

}  // namespace
}  // namespace zabko::test
