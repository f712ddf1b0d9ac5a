#include "ui/zabkolex_utils.h"

#include "core/zabkolex_strings.h"
#include "platform/exception.h"
#include "platform/stream.h"
#include "ui/n_base.h"
#include "ui/tnt_label.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace zabko {
namespace {

TZabkolexStrings Pack(const char* text) {
  TZabkolexStrings strings;
  TMemoryStream stream{QByteArray(text)};
  strings.LoadFromStream(stream, "Test.GUI.txt");
  return strings;
}

TEST(CaptionRoutines, CaptionAndHintByComponentName) {
  const TZabkolexStrings strings = Pack(
      "Form.OkBtn.Caption: 'OK'\n"
      "Form.OkBtn.Hint: 'Accept'\n"
      "Form.Title.Caption: 'Title'\n");
  QWidget form;
  TNBase ok(&form, "OkBtn");
  TTntLabel title(&form, "Title");
  title.setToolTip("kept");
  ApplyPanelText("Form", &ok, false, &strings);
  ApplyLabelText("Form", &title, false, &strings);
  EXPECT_EQ(ok.Caption(), "OK");
  EXPECT_EQ(ok.toolTip(), "Accept");
  EXPECT_EQ(title.Caption(), "Title");
  EXPECT_EQ(title.toolTip(), "kept");  // no hint key and none required: the hint stays

  // A required hint that the pack lacks fails with the pack's message.
  try {
    ApplyLabelTexts("Form", {&title}, true, &strings);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid string for: Form.Title.Hint");
  }
}

struct RowCase {
  const char* name;
  QList<QRect> before;
  QList<int> lefts;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class ArrangeRow : public testing::TestWithParam<RowCase> {};

TEST_P(ArrangeRow, PlacesControlsWithoutGaps) {
  QWidget parent;
  parent.resize(500, 100);
  QList<QWidget*> controls;
  for (const QRect& r : GetParam().before) {
    auto* w = new QWidget(&parent);
    w->setGeometry(r);
    controls << w;
  }
  ArrangeInRow(controls);
  QList<int> lefts;
  for (QWidget* w : controls) lefts << w->x();
  EXPECT_EQ(lefts, GetParam().lefts);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ArrangeRow,
    testing::Values(RowCase{"LeftToRight", {{10, 5, 30, 10}, {100, 5, 20, 10}, {0, 5, 40, 10}}, {10, 40, 60}},
                    RowCase{"RightToLeft", {{400, 5, 30, 10}, {300, 5, 20, 10}, {0, 5, 40, 10}}, {400, 380, 340}},
                    RowCase{"OneIsLeftAlone", {{77, 5, 30, 10}}, {77}}),
    [](const testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zabko
