// Labels. TTntLabel is the plain Unicode label of the forms: it shows its caption as plain text
// (never as markup or HTML, whatever the text holds), sizes itself to it unless AutoSize is off,
// and reports clicks and the mouse entering and leaving. TLabel2 and TLinkLabel2 add the kit's
// hover colours.
#pragma once

#include "ui/component.h"
#include "ui/win_color.h"

#include <QLabel>
#include <QPointer>

namespace zabko {

class TTntLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TTntLabel(QWidget* parent = nullptr, const QString& name = QString());

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  // Transparent labels (the default) show their parent through; opaque ones fill with Color.
  void SetTransparent(bool transparent);

 signals:
  void OnClick();
  void OnMouseEnter();
  void OnMouseLeave();

 protected:
  void changeEvent(QEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Hover behaviour of the derived labels, run before the signals.
  virtual void MouseEntered() {}
  virtual void MouseLeft() {}

 private:
  void FitToCaption();
  bool autoSize_ = true;
  TClickTracker click_;
};

// A label that turns 0x9F7829 under the mouse while Work is on, together with Other.
class TLabel2 : public TTntLabel {
  Q_OBJECT

 public:
  static constexpr TColor kHoverColor = 0x9F7829;

  explicit TLabel2(QWidget* parent = nullptr, const QString& name = QString());

  TLabel2* Other() const { return other_; }
  void SetOther(TLabel2* other) { other_ = other; }
  bool Work() const { return work_; }
  // Switching it off makes the font black.
  void SetWork(bool work);

 protected:
  void MouseEntered() override;
  void MouseLeft() override;

 private:
  void Paint(TColor color);
  QPointer<TLabel2> other_;
  bool work_ = true;
};

// A label that looks like a link under the mouse while ShowLink is on: LinkColor, underlined,
// hand cursor; leaving restores the colour it had.
class TLinkLabel2 : public TTntLabel {
  Q_OBJECT

 public:
  explicit TLinkLabel2(QWidget* parent = nullptr, const QString& name = QString());

  TColor LinkColor() const { return linkColor_; }
  void SetLinkColor(TColor color) { linkColor_ = color; }
  bool ShowLink() const { return showLink_; }
  void SetShowLink(bool show) { showLink_ = show; }

 protected:
  void MouseEntered() override;
  void MouseLeft() override;

 private:
  TColor linkColor_ = 0xFF0000;
  bool showLink_ = false;
  TColor savedColor_ = clBlack;
  bool linkLook_ = false;
};

}  // namespace zabko
