#include "ui/gui_text_builder.h"

#include "platform/exception.h"
#include "ui/component.h"
#include "ui/event_guard.h"
#include "ui/tnt_label.h"

#include <QWidget>

#include <algorithm>

namespace zabko {

namespace {

// The class library's string-to-integer rule: optional blanks and sign, decimal or "$" hex.
int ParseInteger(const QString& text) {
  const QString t = text.trimmed();
  bool ok = false;
  int value = 0;
  if (t.startsWith('$')) {
    value = t.mid(1).toInt(&ok, 16);
  } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    value = t.mid(2).toInt(&ok, 16);
  } else {
    value = t.toInt(&ok, 10);
  }
  if (!ok) throw Exception("'" + text + "' is not a valid integer value");
  return value;
}

[[noreturn]] void Malformed(const QString& piece) { throw Exception("Invalid text markup: " + piece); }

TGUIFont UnderlineOnly(TGUIFont font) {
  font.Style = TFontStyle::Underline;
  return font;
}

}  // namespace

// ---- TGUILabel -------------------------------------------------------------------------------

int TGUILabel::TextWidth(const QString& text) { return MeasureCanvas().TextWidth(Font, text); }

int TGUILabel::TextHeight(const QString& text) { return MeasureCanvas().TextHeight(Font, text); }

QString TGUILabel::FitPrefix(int width, QStringList* rest) {
  QStringList words = Text.split(' ', Qt::SkipEmptyParts);
  if (Text.size() > 1 && Text.endsWith(' ')) {
    const qsizetype end = Text.size();
    qsizetype start = end;
    while (start > 0 && Text[start - 1] == ' ') --start;
    words.append(Text.mid(start));
  }
  QString part;
  while (!words.isEmpty()) {
    const QString candidate = part.isEmpty() ? words.first() : part + ' ' + words.first();
    if (TextWidth(candidate) > width) break;
    part = candidate;
    words.removeFirst();
  }
  if (rest) *rest = words;
  return part;
}

bool TGUILabel::CanSplit(int width) { return !FitPrefix(width, nullptr).isEmpty(); }

std::unique_ptr<TGUITextItem> TGUILabel::Split(int width) {
  QStringList rest;
  const QString part = FitPrefix(width, &rest);
  if (rest.size() >= 2 && rest.last().trimmed().isEmpty()) {
    const QString spaces = rest.takeLast();
    rest.last() += spaces;
  }
  std::unique_ptr<TGUILabel> head = Clone();
  head->Text = part;
  Text = rest.join(' ');
  return head;
}

TTntLabel* TGUILabel::MakeControl(QWidget* owner) { return new TTntLabel(owner); }

TTntLabel* TGUILabel::CreateControl(QWidget* parent, int bottom, int left) {
  TTntLabel* label = MakeControl(parent);
  TTextMeasure& measure = MeasureCanvas();
  label->SetAutoSize(false);
  label->SetCaption(Text);
  label->setFont(measure.LabelFont(Font));
  SetFontColor(label, Color);
  // The label's own size is its caption's, in its own font.
  const int labelHeight = measure.TextHeight(Font, Text);
  label->resize(measure.TextWidth(Font, Text), labelHeight);
  int top = bottom - labelHeight;
  if (Font.Style.testFlag(TFontStyle::Bold)) ++top;
  label->move(left, top);
  label->SetTransparent(true);
  SetTag(label, LinkNumber);
  label->setLayoutDirection(Builder->RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
  label->show();
  return label;
}

// ---- TGUILink --------------------------------------------------------------------------------

TGUILink::TGUILink(TGUITextBuilder* builder) : TGUILabel(builder), LinkHandler(builder->LinkHandler) {}

int TGUILink::TextWidth(const QString& text) { return MeasureCanvas().TextWidth(UnderlineOnly(Font), text); }

int TGUILink::TextHeight(const QString& text) { return MeasureCanvas().TextHeight(UnderlineOnly(Font), text); }

TTntLabel* TGUILink::MakeControl(QWidget* owner) { return new TLinkLabel2(owner); }

TTntLabel* TGUILink::CreateControl(QWidget* parent, int bottom, int left) {
  auto* label = static_cast<TLinkLabel2*>(TGUILabel::CreateControl(parent, bottom, left));
  if (LinkHandler) {
    QObject::connect(label, &TTntLabel::OnClick, label, [handler = LinkHandler, label] { handler(label); });
  }
  label->SetShowLink(true);
  label->SetLinkColor(Color);
  return label;
}

// ---- TGUITextBuilder -------------------------------------------------------------------------

void TGUITextBuilder::Parse(const QString& text) {
  for (const QString& piece : text.split('~', Qt::SkipEmptyParts)) ParseRun(piece);
}

void TGUITextBuilder::ParseRun(const QString& piece) {
  TFontStyles style = DefaultStyle;
  QStringList fields{QString(), QString(), QString()};
  QString runText = piece;
  if (piece.startsWith('[')) {
    const qsizetype close = piece.indexOf(']');
    if (close < 0) Malformed(piece);
    fields = piece.mid(1, close - 1).split(',', Qt::KeepEmptyParts);
    if (fields.size() < 3) Malformed(piece);
    runText = piece.mid(close + 1);
    if (runText.startsWith('^')) {
      runText.remove(0, 1);
      style |= TFontStyle::Bold;
    }
  }

  TGUIFont font;
  font.Name = fields[0].isEmpty() ? DefaultFontName : fields[0];
  font.Style = style;
  const QString& size = fields[1];
  if (size.isEmpty()) {
    font.Size = DefaultFontSize;
  } else if (const qsizetype colon = size.indexOf(':'); colon >= 0) {
    font.Size = ParseInteger(size.left(colon));
    font.Height = ParseInteger(size.mid(colon + 1));
  } else {
    font.Size = ParseInteger(size);
  }
  const TColor color = fields[2].isEmpty() ? DefaultColor : TColor(ParseInteger(fields[2]));

  std::unique_ptr<TGUILabel> run;
  if (runText.startsWith('<')) {
    const qsizetype close = runText.indexOf('>');
    if (close < 0) Malformed(piece);
    const int number = ParseInteger(runText.mid(1, close - 1));
    // Link numbers index their owner's list of links.
    if (number < 0) Malformed(piece);
    run = std::make_unique<TGUILink>(this);
    run->LinkNumber = number;
    run->Text = runText.mid(close + 1);
  } else {
    run = std::make_unique<TGUILabel>(this);
    if (runText == QLatin1String("\\n")) {
      run->Break = true;
    } else {
      run->Text = runText;
    }
  }
  run->Font = font;
  run->Color = color;
  runs_.push_back(std::move(run));
}

std::unique_ptr<TGUITextItem> TGUITextBuilder::TakeNext(int remaining, bool force, bool& endOfLine) {
  endOfLine = false;
  if (runs_.empty()) return nullptr;
  TGUITextItem& first = *runs_.front();
  const auto takeWhole = [this] {
    std::unique_ptr<TGUITextItem> run = std::move(runs_.front());
    runs_.pop_front();
    return run;
  };
  if (first.Width() < remaining) {
    endOfLine = first.IsBreak();
    return takeWhole();
  }
  endOfLine = true;
  if (first.CanSplit(remaining)) {
    std::unique_ptr<TGUITextItem> head = first.Split(remaining);
    // Everything fitted once blanks were collapsed: nothing is left to place.
    if (auto* rest = dynamic_cast<TGUILabel*>(&first); rest && rest->Text.isEmpty()) runs_.pop_front();
    return head;
  }
  if (force) return takeWhole();
  return nullptr;
}

int TGUITextBuilder::PlaceLine(QWidget* parent, std::vector<std::unique_ptr<TGUITextItem>>& line, int y, int left,
                               int width) {
  int lineHeight = 0;
  for (const auto& run : line) lineHeight = std::max(lineHeight, run->Height());
  int sum = 0;
  for (const auto& run : line) {
    const int w = run->Width();
    const int x = RightToLeft ? left + width - sum - w : left + sum;
    created_.append(run->CreateControl(parent, y + lineHeight, x));
    sum += w;
  }
  return std::max(lineHeight, MinLineHeight);
}

void TGUITextBuilder::LayoutInRect(QWidget* parent, const TNRect& rect) {
  created_.clear();
  const int width = rect.Right - rect.Left;
  int y = rect.Top;
  // No width: nothing can be placed, and no line would ever take a run.
  while (width > 0 && y < rect.Bottom && !runs_.empty()) {
    std::vector<std::unique_ptr<TGUITextItem>> line;
    int remaining = width;
    while (remaining > 0) {
      bool endOfLine = false;
      std::unique_ptr<TGUITextItem> run = TakeNext(remaining, false, endOfLine);
      if (!run && line.empty()) {
        run = TakeNext(remaining, true, endOfLine);
        endOfLine = true;
      }
      if (!run) break;
      remaining -= run->Width();
      line.push_back(std::move(run));
      if (endOfLine) break;
    }
    y += PlaceLine(parent, line, y, rect.Left, width);
  }
  LastY = y;
  Overflow = !runs_.empty();
  for (TTntLabel* label : CreatedLabels()) SetAnchors(label, Anchors);
}

void TGUITextBuilder::LayoutInPanel(QWidget* panel) { LayoutInRect(panel, {0, 0, panel->width(), panel->height()}); }

QList<TTntLabel*> TGUITextBuilder::CreatedLabels() const {
  QList<TTntLabel*> labels;
  for (const QPointer<TTntLabel>& label : created_) {
    if (label) labels.append(label);
  }
  return labels;
}

}  // namespace zabko
