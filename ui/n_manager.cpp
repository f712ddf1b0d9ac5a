#include "ui/n_manager.h"

#include "platform/exception.h"
#include "ui/res_bitmap_source.h"

#include <QPainter>

#include <algorithm>

namespace zabko {

// ---- drawers ---------------------------------------------------------------------------------

TNBitmapDrawer::TNBitmapDrawer(const QString& name, TNBitmapSource& source) : bitmap_(source.LoadBitmap(name)) {
  Name = name;
}

void TNBitmapDrawer::Draw(QPainter& canvas, const TNRect& source, const TNRect& dest) const {
  const int destWidth = dest.Width();
  const int destHeight = dest.Height();
  if (destWidth <= 0 || destHeight <= 0 || source.Height() <= 0 || source.Width() == 0) return;
  if (source.Right >= source.Left) {
    canvas.drawImage(QRect(dest.Left, dest.Top, destWidth, destHeight), bitmap_,
                     QRect(source.Left, source.Top, source.Width(), source.Height()));
    return;
  }
  // A reversed extent: columns Right + 1 .. Left, drawn right to left.
  const QRect columns(source.Right + 1, source.Top, source.Left - source.Right, source.Height());
  canvas.save();
  canvas.translate(dest.Left + destWidth, dest.Top);
  canvas.scale(-1, 1);
  canvas.drawImage(QRect(0, 0, destWidth, destHeight), bitmap_, columns);
  canvas.restore();
}

TNPartialBitmapDrawer::TNPartialBitmapDrawer(const TNImageDrawer* base, int x, int y, int width, int height)
    : Base(base), X(x), Y(y), Width_(width), Height_(height) {
  Name = PartName(base->Name, x, y, width, height);
}

TNPartialBitmapDrawer::TNPartialBitmapDrawer(const TNImageDrawer* base, const QString& mirroredName)
    : Base(base), Width_(base->Width()), Height_(base->Height()) {
  Name = mirroredName;
  Mirrored = true;
}

void TNPartialBitmapDrawer::Draw(QPainter& canvas, const TNRect& source, const TNRect& dest) const {
  Base->Draw(canvas, {source.Left + X, source.Top + Y, source.Right + X, source.Bottom + Y}, dest);
}

QString TNPartialBitmapDrawer::PartName(const QString& baseName, int x, int y, int width, int height) {
  return baseName + QStringLiteral("%1,%2,%3,%4").arg(x).arg(y).arg(width).arg(height);
}

// ---- manager ---------------------------------------------------------------------------------

TNManager::TNManager(QObject* owner, const QString& name) : QObject(owner) { setObjectName(name); }

TNManager::~TNManager() = default;

void TNManager::SetFilename(const QString& filename) {
  source_.reset();
  filename_ = filename;
  source_ = CreateResBitmapSource(filename);
}

void TNManager::SetBitmapSource(std::unique_ptr<TNBitmapSource> source) { source_ = std::move(source); }

int TNManager::Find(const QString& name) const {
  for (size_t i = 0; i < drawers_.size(); ++i) {
    if (drawers_[i]->Name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
  }
  return -1;
}

int TNManager::Append(std::unique_ptr<TNImageDrawer> drawer) {
  drawers_.push_back(std::move(drawer));
  return int(drawers_.size()) - 1;
}

int TNManager::GetDrawer(const QString& name) {
  if (const int found = Find(name); found >= 0) return found;
  if (name.startsWith(QLatin1String("[U]"))) {
    const int plain = GetDrawer(name.mid(3));
    return Append(std::make_unique<TNPartialBitmapDrawer>(drawers_[plain].get(), name));
  }
  if (!source_) throw Exception("File not found in DB: " + name);
  return Append(std::make_unique<TNBitmapDrawer>(name, *source_));
}

int TNManager::GetPartDrawer(int x, int y, const QString& name, int height, int width) {
  if (const int found = Find(TNPartialBitmapDrawer::PartName(name, x, y, width, height)); found >= 0) return found;
  const int base = Find(name);
  if (base < 0) throw Exception(name + " not loaded");
  return Append(std::make_unique<TNPartialBitmapDrawer>(drawers_[base].get(), x, y, width, height));
}

const TNImageDrawer* TNManager::Drawer(int index) const {
  if (index < 0 || index >= int(drawers_.size())) return nullptr;
  return drawers_[index].get();
}

void TNManager::Tile(const TNImageDrawer& drawer, const TNRect& source, QPainter& canvas, const TNRect& dest) const {
  const int sourceWidth = source.Width();
  const int sourceHeight = source.Height();
  const int drawerWidth = drawer.Width();
  for (int y = dest.Top;;) {
    const int h = std::min(sourceHeight, dest.Bottom - y);
    if (h <= 0) break;
    for (int x = dest.Left;;) {
      const int w = std::min(sourceWidth, dest.Right - x);
      if (w <= 0) break;
      TNRect tile{source.Left, source.Top, source.Left + w, source.Top + h};
      if (drawer.Mirrored) {
        tile.Left = drawerWidth - tile.Left - 1;
        tile.Right = drawerWidth - tile.Right - 1;
      }
      drawer.Draw(canvas, tile, {x, y, x + w, y + h});
      x += w;
    }
    y += h;
  }
}

void TNManager::DrawPlain(QPainter& canvas, int x, int drawerIndex, int y) const {
  if (const TNImageDrawer* drawer = Drawer(drawerIndex)) {
    Tile(*drawer, {0, 0, drawer->Width(), drawer->Height()}, canvas,
         TNRect::FromSize(x, y, drawer->Width(), drawer->Height()));
  }
}

void TNManager::DrawStretched(QPainter& canvas, int x, int drawerIndex, int height, int width, int y) const {
  if (const TNImageDrawer* drawer = Drawer(drawerIndex)) {
    drawer->Draw(canvas, {0, 0, drawer->Width(), drawer->Height()}, TNRect::FromSize(x, y, width, height));
  }
}

void TNManager::DrawTiled(QPainter& canvas, int x, int drawerIndex, int height, int width, int y) const {
  if (const TNImageDrawer* drawer = Drawer(drawerIndex)) {
    Tile(*drawer, {0, 0, drawer->Width(), drawer->Height()}, canvas, TNRect::FromSize(x, y, width, height));
  }
}

void TNManager::DrawPartTiled(const TNRect& source, QPainter& canvas, int drawerIndex, int height, int width,
                              int top, int left) const {
  if (const TNImageDrawer* drawer = Drawer(drawerIndex)) {
    Tile(*drawer, source, canvas, TNRect::FromSize(left, top, width, height));
  }
}

void TNManager::DrawPart(int sourceLeft, int sourceTop, int drawerIndex, int height, int width, int destTop,
                         int destLeft, QPainter& canvas) const {
  DrawPartTiled(TNRect::FromSize(sourceLeft, sourceTop, width, height), canvas, drawerIndex, height, width,
                destTop, destLeft);
}

// ---- bitmap component ------------------------------------------------------------------------

TNBitmapComponent::TNBitmapComponent(QObject* owner, const QString& name) : QObject(owner) {
  setObjectName(name);
  loading_ = TFormLoading::Register(this, this);
}

void TNBitmapComponent::SetFilename(const QString& filename) {
  if (filename == filename_) return;
  filename_ = filename;
  if (!loading_) Request();
}

void TNBitmapComponent::SetManager(TNManager* manager) {
  if (manager == manager_) return;
  manager_ = manager;
  if (!loading_) Request();
}

void TNBitmapComponent::Loaded() {
  loading_ = false;
  Request();
}

void TNBitmapComponent::Request() {
  if (manager_ && !filename_.isEmpty()) manager_->GetDrawer(filename_);
}

}  // namespace zabko
