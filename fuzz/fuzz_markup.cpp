// The text markup from the text packs and the server: parsing and laying out any text either
// fails with the system's exception or places labels, and never reads out of range.
#include "platform/exception.h"
#include "ui/gui_text_builder.h"

#include <QApplication>
#include <QWidget>

#include <cstddef>
#include <cstdint>

namespace {

class TFixedMeasure : public zabko::TTextMeasure {
 public:
  int TextWidth(const zabko::TGUIFont& font, const QString& text) override {
    return int(text.size()) * (font.Style.testFlag(zabko::TFontStyle::Bold) ? 9 : 7);
  }
  int TextHeight(const zabko::TGUIFont& font, const QString&) override {
    return font.Height != 0 ? std::abs(font.Height % 200) : std::abs(font.Size % 100) * 2;
  }
  QFont LabelFont(const zabko::TGUIFont&) override { return QFont(); }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(*argc, *argv);
  static TFixedMeasure measure;
  zabko::SetMeasureCanvas(&measure);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the rectangle; the rest is the text.
  const int width = data[0];
  const int height = data[1] * 4;
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
  QWidget parent;
  zabko::TGUITextBuilder builder;
  builder.RightToLeft = (data[0] & 1) != 0;
  try {
    builder.Parse(text);
    builder.LayoutInRect(&parent, {3, 2, 3 + width, 2 + height});
    builder.LayoutInRect(&parent, {0, 0, 40, 4000});
  } catch (const zabko::Exception&) {
  }
  return 0;
}
