// The skinned panels: TNBase (a panel that knows its TNManager), TNStatic (a panel painted with
// one bitmap of the manager: once, tiled or stretched) and TNFrameStatic (a nine-slice frame).
// Geometry is absolute; Color fills what no bitmap covers.
#pragma once

#include "ui/component.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/n_manager.h"
#include "ui/win_color.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace zabko {

enum class TAlignment { LeftJustify, RightJustify, Center };

class TNBase : public QWidget, public INLoadable {
  Q_OBJECT

 public:
  explicit TNBase(QWidget* parent = nullptr, const QString& name = QString());

  TNManager* Manager() const { return manager_; }
  void SetManager(TNManager* manager);

  // The panel's colour (default the button face), painted under everything else.
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // The Unicode caption; panels keep it, sprite buttons draw it.
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // True while the form that made this control is still loading.
  bool IsLoading() const { return loading_; }
  void Loaded() override;

 signals:
  void OnClick();
  void OnDblClick();

 protected:
  virtual void ManagerChanged() {}
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // Emits a signal guarded: an exception in a handler goes to the application's handler.
  template <class Self, class Signal>
  static void Fire(Self* self, Signal signal) {
    Guarded([self, signal] { (self->*signal)(); });
  }

 private:
  QPointer<TNManager> manager_;
  TColor color_ = clBtnFace;
  QString caption_;
  TAlignment alignment_ = TAlignment::Center;
  bool loading_ = false;
  TClickTracker click_;
};

class TNStatic : public TNBase {
  Q_OBJECT

 public:
  explicit TNStatic(QWidget* parent = nullptr, const QString& name = QString());

  const QString& BackgroundName() const { return backgroundName_; }
  // A bitmap name of the manager ("[U]" allowed). Empty: no drawer. Outside loading the drawer
  // is taken at once (a missing bitmap fails here) and the panel repaints.
  virtual void SetBackgroundName(const QString& name);
  bool Tile() const { return tile_; }
  void SetTile(bool tile);
  bool StretchDraw() const { return stretchDraw_; }
  void SetStretchDraw(bool stretch);

  int DrawerIndex() const { return drawerIndex_; }
  void SetDrawerIndex(int index);

  void Loaded() override;

 protected:
  void ManagerChanged() override;
  void paintEvent(QPaintEvent* event) override;
  // Plain, tiled or stretched drawing of the current drawer over the client area.
  void PaintBackground(QPainter& canvas);

 private:
  QString backgroundName_;
  bool tile_ = false;
  bool stretchDraw_ = false;
  int drawerIndex_ = -1;
};

class TNFrameStatic : public TNStatic {
  Q_OBJECT

 public:
  explicit TNFrameStatic(QWidget* parent = nullptr, const QString& name = QString());

  // The slice size S of a 3S x 3S frame picture; 0 paints nothing.
  int Size() const { return size_; }
  void SetSize(int size);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int size_ = 0;
};

}  // namespace zabko
