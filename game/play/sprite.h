// The sprite engine. TSprite is one animated sheet: a set of frames for each of eight
// directions (kind 0) or one set (kind 1), read from the game's resource database and made
// transparent where they show the sheet's key colour. TCharacter is one moving instance of a
// sheet: it moves one step per game tick, bounces off the play area's margins and draws its
// current frame centred on its position.
//
// Frame n of direction d is the resource Prefix + DirectionSuffix(d) + n in four digits +
// ".bmp" ("Sprites\bating se0003.bmp"); a one-set sheet has no suffix ("Sprites\blowup 0000.bmp",
// whose prefix ends with the blank).
#pragma once

#include "ui/win_color.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QString>

#include <vector>

namespace zabko {

class TResManager;

// Directions 0-7: east, south-east, south, south-west, west, north-west, north, north-east
// (screen y grows downwards, so south moves down).
enum TDirection : quint8 { dirE = 0, dirSE, dirS, dirSW, dirW, dirNW, dirN, dirNE };
inline constexpr int kDirectionCount = 8;
// " e", " se", " s", " sw", " w", " nw", " n", " ne".
const char* DirectionSuffix(int direction);

enum TSpriteKind : quint8 { skDirected = 0, skOneSet = 1 };

class TSprite {
 public:
  // Loads every frame through ResManager (LoadBitmap); a missing frame fails with the
  // manager's "File not found in DB: " + name. Each frame becomes Width x Height, its pixels of
  // exactly TransparentColor (a Windows colour value) transparent.
  TSprite(const QByteArray& prefix, quint8 kind, int frameDelay, TColor transparentColor, int height, int width,
          TResManager& resManager, int framesPerSet);
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  // The resource name of a frame of a direction (ignored for one-set sheets).
  static QString FrameName(const QByteArray& prefix, quint8 kind, int direction, int frame);

  // Kind 0: direction x frames per set + frame; kind 1: frame; any other kind 0.
  int ImageIndex(int direction, int frame) const;
  const QImage& Image(int index) const { return images_[index]; }
  int ImageCount() const { return static_cast<int>(images_.size()); }

  const QByteArray& Prefix() const { return prefix_; }
  quint8 Kind() const { return kind_; }
  int FrameDelay() const { return frameDelay_; }
  int FramesPerSet() const { return framesPerSet_; }
  TColor TransparentColor() const { return transparentColor_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  QByteArray prefix_;
  quint8 kind_;
  int frameDelay_;
  int framesPerSet_;
  TColor transparentColor_;
  int width_;
  int height_;
  std::vector<QImage> images_;  // direction by direction, frame by frame
};

// A picture with the pixels of exactly Key (a Windows colour value) made transparent.
QImage KeyedImage(const QImage& picture, TColor key);

class TCharacter {
 public:
  // Frame 0, the sprite's frame delay left on it. The sprite is not owned.
  TCharacter(int x, TSprite* sprite, quint8 direction, int dy, int dx, int y);

  // One game tick in an area of Width x Height: animation, movement, then the bounces.
  void Move(int areaWidth, int areaHeight);
  // The current frame, its top-left corner at (X - Width div 2, Y - Height div 2).
  void Draw(QPainter& canvas) const;
  // The frame is the last of its set with one tick left on it: the next tick restarts the set.
  bool IsLastFrame() const;
  int ImageIndex() const { return Sprite->ImageIndex(Direction, Frame); }

  int Width() const { return Sprite->Width(); }
  int Height() const { return Sprite->Height(); }

  TSprite* Sprite;
  int Frame = 0;
  int X;
  int Y;
  int Dy;  // pixels per tick, not negative
  int Dx;
  quint8 Direction;
  int TicksLeft;
  int Slot = 0;  // a tag of the game's rules (the question game's answer position)
};

}  // namespace zabko
