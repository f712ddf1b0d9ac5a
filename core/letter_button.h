// What a language pack needs of a letter button of the letters bar. The skin kit's buttons
// implement it (ui/); core never sees a widget.
#pragma once

#include <QString>

#include <functional>

namespace zabko {

// The look the application type gives letter buttons: sprite offsets and the caption font.
struct TButtonStyle {
  int DeltaX = 0;
  int DeltaYPlain = 0;
  int DeltaYDown = 0;
  int DeltaYOver = 0;
  QString FontName;
  int FontSize = 0;
  bool operator==(const TButtonStyle&) const = default;
};

class ILetterButton {
 public:
  virtual ~ILetterButton() = default;

  virtual bool IsDown() const = 0;
  virtual void SetDown(bool down) = 0;

  // The language pack's handlers: the button calls onClick when clicked, onEnter and onLeave
  // when the mouse enters and leaves it. Empty functions remove them.
  virtual void SetLetterHandlers(std::function<void()> onClick, std::function<void()> onEnter,
                                 std::function<void()> onLeave) = 0;

  virtual void ApplyStyle(const TButtonStyle& style) = 0;
};

}  // namespace zabko
