// What the dialog tests share: the skin pictures the windows name, a fixed-width measuring
// surface (every character 10 pixels, a default line 22 high), the English texts, a recorder of
// the application's exception handler, and a way to act inside a modal window's loop.
#pragma once

#include "core/zabkolex_strings.h"
#include "platform/exception_handler.h"
#include "ui/text_measure.h"

#include "skin_fixture.h"

#include <QStringList>
#include <QTimer>

#include <functional>

namespace zabko::test {

class TFixedMeasure : public TTextMeasure {
 public:
  int TextWidth(const TGUIFont&, const QString& text) override { return int(text.size()) * 10; }
  int TextHeight(const TGUIFont& font, const QString&) override {
    return font.Height != 0 ? std::abs(font.Height) : std::abs(font.Size) * 2;
  }
  QFont LabelFont(const TGUIFont&) override { return QFont(); }
};

struct TDialogFixture : TSkinFixture {
  TDialogFixture() {
    source->Add("Progress\\Bkg.bmp", CodedImage(471, 99, 1));
    source->Add("Popup\\Background.bmp", CodedImage(16, 16, 2));
    source->Add("Popup\\Mark.bmp", CodedImage(98, 107, 3));
    source->Add("Popup\\PopupBtns.bmp", CodedImage(400, 96, 4));
    strings.LoadLanguage(1);
    SetMeasureCanvas(&measure);
    SetApplicationExceptionHandler([this](const std::exception_ptr& error) { errors << ExceptionMessage(error); });
  }
  ~TDialogFixture() {
    SetApplicationExceptionHandler(nullptr);
    SetMeasureCanvas(nullptr);
  }

  TFixedMeasure measure;
  TZabkolexStrings strings;
  QStringList errors;  // what reached the application's exception handler
};

// Runs Action once from the event loop that is running when it is due (a modal window's).
inline void WhenLoopRuns(std::function<void()> action, int delayMs = 0) {
  QTimer::singleShot(delayMs, [action = std::move(action)] { Guarded(action); });
}

}  // namespace zabko::test
