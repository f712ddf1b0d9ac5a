// The text markup layouter. A text is a list of runs separated by "~"; a run may start with an
// attribute part "[name,size,colour]" (size may be "size:height"; "^" right after it makes the
// run bold), then "<n>" makes it link number n, and the run "\n" is a line break:
//
//   "~[,,16646144]<0>Open the page~ then~\n~[,-13:17,10450985]^Bold words"
//
// LayoutInRect flows the runs into lines inside a rectangle, making one label per placed run:
// plain runs wrap at spaces, links never wrap; right to left, the first run of a line stands at
// the right edge. Texts come from the text packs and the server, so malformed markup fails with a
// clear exception rather than reading past anything, and labels show their text as plain text.
#pragma once

#include "ui/anchors.h"
#include "ui/n_manager.h"
#include "ui/text_measure.h"
#include "ui/win_color.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>

class QWidget;

namespace zabko {

class TGUITextBuilder;
class TTntLabel;

// A click handler of the class library's kind: it gets the control (whose Tag is the link number).
using TNotifyEvent = std::function<void(QObject* sender)>;

class TGUITextItem {
 public:
  explicit TGUITextItem(TGUITextBuilder* builder) : Builder(builder) {}
  virtual ~TGUITextItem() = default;

  // A new run with the longest leading part that fits in Width; this run keeps the rest.
  virtual std::unique_ptr<TGUITextItem> Split(int width) = 0;
  virtual int Width() = 0;
  virtual int Height() = 0;
  virtual bool CanSplit(int width) = 0;
  virtual bool IsBreak() const { return false; }
  // Places the run's label on Parent with its bottom at Bottom.
  virtual TTntLabel* CreateControl(QWidget* parent, int bottom, int left) = 0;

  TGUITextBuilder* Builder;
};

class TGUILabel : public TGUITextItem {
 public:
  explicit TGUILabel(TGUITextBuilder* builder) : TGUITextItem(builder) {}

  std::unique_ptr<TGUITextItem> Split(int width) override;
  int Width() override { return TextWidth(Text); }
  int Height() override { return TextHeight(Text); }
  bool CanSplit(int width) override;
  bool IsBreak() const override { return Break; }
  TTntLabel* CreateControl(QWidget* parent, int bottom, int left) override;

  virtual int TextWidth(const QString& text);
  virtual int TextHeight(const QString& text);
  virtual TTntLabel* MakeControl(QWidget* owner);

  QString Text;
  TGUIFont Font;
  TColor Color = clBlack;
  bool Break = false;
  int LinkNumber = 0;

 protected:
  // The leading words that fit in Width; Rest gets the words left over.
  QString FitPrefix(int width, QStringList* rest);
  virtual std::unique_ptr<TGUILabel> Clone() const { return std::make_unique<TGUILabel>(*this); }
};

class TGUILink : public TGUILabel {
 public:
  explicit TGUILink(TGUITextBuilder* builder);

  bool CanSplit(int) override { return false; }
  TTntLabel* CreateControl(QWidget* parent, int bottom, int left) override;
  // Measured with the underline style alone, whatever the run's own style.
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  TTntLabel* MakeControl(QWidget* owner) override;

  TNotifyEvent LinkHandler;

 protected:
  std::unique_ptr<TGUILabel> Clone() const override { return std::make_unique<TGUILink>(*this); }
};

class TGUITextBuilder {
 public:
  TGUITextBuilder() = default;
  TGUITextBuilder(const TGUITextBuilder&) = delete;
  TGUITextBuilder& operator=(const TGUITextBuilder&) = delete;

  // Splits at every "~", drops empty pieces and appends one run per piece; runs accumulate.
  void Parse(const QString& text);
  // Appends the piece as one run, without splitting at "~". Malformed markup fails with
  // "Invalid text markup: " + piece, a number that isn't one with the integer conversion message.
  void ParseRun(const QString& piece);
  // Places as many queued runs as fit in Rect on Parent; placed runs leave the queue, so a
  // second call goes on where this one stopped. Sets LastY and Overflow.
  void LayoutInRect(QWidget* parent, const TNRect& rect);
  // LayoutInRect over the whole panel.
  void LayoutInPanel(QWidget* panel);

  // The runs not placed yet, in text order.
  const std::deque<std::unique_ptr<TGUITextItem>>& Runs() const { return runs_; }
  // The labels of the last layout (owned by their parent).
  QList<TTntLabel*> CreatedLabels() const;

  bool RightToLeft = false;
  int LastY = 0;
  bool Overflow = false;
  int DefaultFontSize = 11;
  TColor DefaultColor = clBlack;
  QString DefaultFontName = QStringLiteral("Arial");
  TFontStyles DefaultStyle;
  TNotifyEvent LinkHandler;
  TAnchors Anchors = kDefaultAnchors;
  int MinLineHeight = 10;

 private:
  std::unique_ptr<TGUITextItem> TakeNext(int remaining, bool force, bool& endOfLine);
  int PlaceLine(QWidget* parent, std::vector<std::unique_ptr<TGUITextItem>>& line, int y, int left, int width);

  std::deque<std::unique_ptr<TGUITextItem>> runs_;
  QList<QPointer<TTntLabel>> created_;
};

}  // namespace zabko
