// The skin kit's core: TNManager owns the drawers, hands out drawer indices and draws with them
// plain, stretched, tiled and in parts. A drawer is a named picture: a decoded bitmap
// (TNBitmapDrawer), or a view on another drawer (TNPartialBitmapDrawer), either a part of it or
// its left-to-right mirror ("[U]" + name). Controls hold drawer indices, never bitmaps, so all
// the buttons of one sprite sheet share one decoded bitmap.
#pragma once

#include "ui/form_loading.h"

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

class QPainter;

namespace zabko {

class TResManager;

// A rectangle by its edges, right and bottom exclusive. A source rectangle whose Right is left of
// its Left is a reversed horizontal extent: the columns Right + 1 .. Left drawn right to left.
struct TNRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  static TNRect FromSize(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
  }
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TNRect&) const = default;
};

// Where named bitmaps come from: the resource database, or a test's own pictures.
class TNBitmapSource {
 public:
  virtual ~TNBitmapSource() = default;
  // The decoded bitmap of that name; a missing name fails with the source's exception.
  virtual QImage LoadBitmap(const QString& name) = 0;
};

class TNImageDrawer {
 public:
  virtual ~TNImageDrawer() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Copies Source of the drawer's picture into Dest of the canvas, scaling when sizes differ.
  virtual void Draw(QPainter& canvas, const TNRect& source, const TNRect& dest) const = 0;

  QString Name;
  bool Mirrored = false;
};

// Owns one decoded bitmap.
class TNBitmapDrawer : public TNImageDrawer {
 public:
  // Loads the named bitmap from Source; a failure passes on (and no drawer exists).
  TNBitmapDrawer(const QString& name, TNBitmapSource& source);
  int Width() const override { return bitmap_.width(); }
  int Height() const override { return bitmap_.height(); }
  void Draw(QPainter& canvas, const TNRect& source, const TNRect& dest) const override;
  const QImage& Bitmap() const { return bitmap_; }

 private:
  QImage bitmap_;
};

// A view on another drawer of the same manager: a part of it, or its mirror.
class TNPartialBitmapDrawer : public TNImageDrawer {
 public:
  // A part: named Base's name + "x,y,width,height" (e.g. "Main\Btn.bmp10,20,30,40").
  TNPartialBitmapDrawer(const TNImageDrawer* base, int x, int y, int width, int height);
  // The mirror: the full "[U]" name, the base's size, at (0, 0).
  TNPartialBitmapDrawer(const TNImageDrawer* base, const QString& mirroredName);
  int Width() const override { return Width_; }
  int Height() const override { return Height_; }
  // Offsets Source by (X, Y) and lets the base draw it; no clipping to the part's own size.
  void Draw(QPainter& canvas, const TNRect& source, const TNRect& dest) const override;

  static QString PartName(const QString& baseName, int x, int y, int width, int height);

  const TNImageDrawer* Base;
  int X = 0, Y = 0, Width_ = 0, Height_ = 0;
};

class TNManager : public QObject {
  Q_OBJECT

 public:
  explicit TNManager(QObject* owner = nullptr, const QString& name = QString());
  ~TNManager() override;

  // Stored only: nothing in the system runs on the manager's timer.
  int UpdateInterval = 1000;
  bool UpdatedEnabled = true;

  // The resource database: replaces the bitmap source with one over the named file (a relative
  // name is looked up in the program folder). Drawers already made keep their bitmaps.
  const QString& Filename() const { return filename_; }
  void SetFilename(const QString& filename);
  // Replaces the bitmap source directly (tests, the game's own database).
  void SetBitmapSource(std::unique_ptr<TNBitmapSource> source);

  // The index of the drawer of that name (letter case ignored), loading the bitmap on first
  // request; "[U]" + name gives the mirror of name's drawer. A bitmap the source doesn't hold
  // fails with the source's exception, and no drawer is added.
  int GetDrawer(const QString& name);
  // The part drawer of Name at (X, Y) of Width x Height; Name must be loaded already, else
  // "<name> not loaded".
  int GetPartDrawer(int x, int y, const QString& name, int height, int width);

  // The drawer of an index, or none for -1 or an index this manager never gave.
  const TNImageDrawer* Drawer(int index) const;
  int DrawerCount() const { return int(drawers_.size()); }

  // Drawing; each does nothing for index -1.
  void DrawPlain(QPainter& canvas, int x, int drawerIndex, int y) const;
  void DrawStretched(QPainter& canvas, int x, int drawerIndex, int height, int width, int y) const;
  void DrawTiled(QPainter& canvas, int x, int drawerIndex, int height, int width, int y) const;
  void DrawPartTiled(const TNRect& source, QPainter& canvas, int drawerIndex, int height, int width,
                     int top, int left) const;
  void DrawPart(int sourceLeft, int sourceTop, int drawerIndex, int height, int width, int destTop,
                int destLeft, QPainter& canvas) const;

 private:
  int Find(const QString& name) const;
  int Append(std::unique_ptr<TNImageDrawer> drawer);
  void Tile(const TNImageDrawer& drawer, const TNRect& source, QPainter& canvas, const TNRect& dest) const;

  QString filename_;
  std::unique_ptr<TNBitmapSource> source_;
  std::vector<std::unique_ptr<TNImageDrawer>> drawers_;
};

// A named bitmap placed on a form, so that a sprite sheet is loaded before buttons cut part
// drawers from it.
class TNBitmapComponent : public QObject, public INLoadable {
  Q_OBJECT

 public:
  explicit TNBitmapComponent(QObject* owner = nullptr, const QString& name = QString());

  const QString& Filename() const { return filename_; }
  // Outside form loading, asks the manager for the drawer at once (a failure passes on).
  void SetFilename(const QString& filename);
  TNManager* Manager() const { return manager_; }
  void SetManager(TNManager* manager);

  void Loaded() override;

 private:
  void Request();

  QString filename_;
  QPointer<TNManager> manager_;
  bool loading_ = false;
};

}  // namespace zabko
