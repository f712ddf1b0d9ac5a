#include "learn/production/prod_printer.h"

#include "core/app_type_specific.h"
#include "core/str.h"
#include "core/window_services.h"
#include "core/word.h"
#include "core/zabkolex_strings.h"
#include "ui/win_font.h"

#include <algorithm>
#include <cmath>

namespace zabko {

namespace {

// Rounded to the nearest integer, halves to even.
int RoundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

constexpr double kA4LongSideInches = 11.693;
constexpr double kFiveMillimetresInches = 0.197;

}  // namespace

TProdPrinter::TProdPrinter(TPrintServices services, bool rightToLeft, const QString& wordFontName,
                           const QString& meaningsFontName, int wordFontSize, int meaningsFontSize)
    : services_(std::move(services)), canvas_(*services_.Canvas), rightToLeft_(rightToLeft) {
  wordFont_ = {SubstituteFontFamily(wordFontName), wordFontSize, services_.AppType->CardWordFontBold()};
  meaningsFont_ = {SubstituteFontFamily(meaningsFontName), meaningsFontSize, false};
}

TProdPrinter::~TProdPrinter() = default;

QString TProdPrinter::Text(const QString& key) const { return services_.Texts->GetString(key); }

void TProdPrinter::SetRightSpace(int millimetres) { rightSpace_ = Clamp(millimetres, 0, kMaxRightSpace); }

// ---- geometry

void TProdPrinter::ComputeGeometry() {
  const double x = resolution_;
  columnWidth_ = RoundEven(x * kA4LongSideInches / 4);
  firstColumnWidth_ = RoundEven(columnWidth_ - rightSpace_ / 5.0 * kFiveMillimetresInches * x);
  margin_ = RoundEven(x * kFiveMillimetresInches);
}

int TProdPrinter::ColumnLeft(int column) const {
  if (column <= 0) return 0;
  return firstColumnWidth_ + (column - 1) * columnWidth_;
}

int TProdPrinter::ColumnTextPosition(int column) const {
  if (column <= 0) return std::max(0, firstColumnWidth_ + margin_ - columnWidth_);
  return ColumnLeft(column) + margin_;
}

int TProdPrinter::ColumnTextWidth(int column) const {
  int width = column <= 0 ? firstColumnWidth_ : columnWidth_;
  if (column == 3) width -= RoundEven(0.4 * resolution_);
  return width;
}

int TProdPrinter::CardTextWidth(int index) const {
  switch (layout_) {
    case kCards8: {
      // Fronts and backs of a card lie in mirrored columns: it fits the narrower of the two.
      const int pair = index / 2;
      return std::min(ColumnTextWidth(pair), ColumnTextWidth(3 - pair)) - 2 * margin_;
    }
    case kCards4:
      return ColumnTextWidth(rightToLeft_ ? index : 3 - index) - 2 * margin_;
    default:
      return cardWidth_ - 2 * margin_;
  }
}

// ---- runs

bool TProdPrinter::BeginPrinting(TPaperOrientation orientation) {
  if (!canvas_.ShowPrintDialog()) return false;
  canvas_.SetPaper(orientation);
  pages_.clear();
  canvas_.BeginDoc();
  begun_ = true;
  resolution_ = canvas_.ResolutionX();
  ComputeGeometry();
  return true;
}

void TProdPrinter::EndPrinting() {
  if (begun_) canvas_.EndDoc();
  begun_ = false;
}

void TProdPrinter::PrintCards(int layout) {
  if (!BeginPrinting(TPaperOrientation::Landscape)) return;
  try {
    layout_ = layout == kCards4 ? kCards4 : kCards8;
    maxWordsPerCard_ = 6;
    cardWidth_ = canvas_.PageWidth() / 4;
    cardHeight_ = canvas_.PageHeight() / 2;
    lineHeight_ = cardHeight_ / 20;
    LayOut(layout_ == kCards8 ? 8 : 4);
    front_ = true;
    if (PrintPagesInProgress() && layout_ == kCards8) {
      EndPrinting();
      if (services_.Messages->AskYesNo(Text("OutputPrintCaption"), Text("OutputPrintText"),
                                       kButtonContinue | kButtonCancel)) {
        front_ = false;
        canvas_.BeginDoc();
        begun_ = true;
        PrintPagesInProgress();
      }
    }
  } catch (...) {
    EndPrinting();
    throw;
  }
  EndPrinting();
}

void TProdPrinter::PrintHalfPages(bool twoAreas) {
  if (!BeginPrinting(TPaperOrientation::Portrait)) return;
  try {
    layout_ = twoAreas ? kHalfPagesBoth : kHalfPageOne;
    maxWordsPerCard_ = 20;
    cardWidth_ = canvas_.PageWidth() / 2;
    cardHeight_ = canvas_.PageHeight();
    lineHeight_ = cardHeight_ / 40;
    LayOut(twoAreas ? 2 : 1);
    front_ = true;
    PrintPagesInProgress();
  } catch (...) {
    EndPrinting();
    throw;
  }
  EndPrinting();
}

bool TProdPrinter::PrintPagesInProgress() {
  return services_.Progress->RunJob(static_cast<int>(pages_.size()) + 3, Text("OutputPrintProgressCaption"),
                                    [this](IProgress& progress) {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      if (i > 0) canvas_.NewPage();
      DrawPage(front_ ? *pages_[i] : *pages_[pages_.size() - 1 - i], front_);
      progress.Step();
    }
  });
}

// ---- layout

void TProdPrinter::LayOut(int cardsPerPage) {
  TWordItemList words = wordList_;
  qsizetype next = 0;
  while (next < words.size()) FillPage(words, next, cardsPerPage);
}

int TProdPrinter::WrappedHeight(const QString& text, int width) {
  int height = 0;
  for (const QString& line : WrapText(text, width)) height += canvas_.TextExtent(line).height();
  return height;
}

void TProdPrinter::FillPage(TWordItemList& words, qsizetype& next, int cardsPerPage) {
  TPage& page = *pages_.emplace_back(std::make_unique<TPage>());
  for (int i = 0; i < cardsPerPage && next < words.size(); ++i) {
    TCard& card = page.NewCard();
    int used = 4 * lineHeight_;
    const int width = CardTextWidth(i);
    while (static_cast<int>(card.Words.size()) < maxWordsPerCard_ && next < words.size() && used < cardHeight_) {
      TWord* word = words[next].Word;
      UseMeaningsFont();
      int needed = WrappedHeight(word->MeaningsLine(), width);
      UseWordFont();
      needed += WrappedHeight(word->Headword, width) + lineHeight_;
      // A word too big for an empty card gets the card to itself, cut where the card ends.
      if (used + needed >= cardHeight_ && !card.Words.empty()) break;
      used += needed;
      card.Words.push_back(word);
      card.RemainingHeight = std::max(0, cardHeight_ - used);
      ++next;
    }
  }
}

QStringList TProdPrinter::WrapText(const QString& text, int width) {
  QStringList tokens = text.split(u' ');
  QStringList lines;
  qsizetype first = 0;
  while (first < tokens.size()) {
    QString line;
    bool taken = false;
    while (first < tokens.size() && canvas_.TextExtent(line + u' ' + tokens[first]).width() < width) {
      line += u' ' + tokens[first++];
      taken = true;
    }
    if (!taken) {
      // The token alone is too wide: as much of it as fits (one character at least), the rest
      // starts the next line.
      const QString& token = tokens[first];
      line = token;
      while (line.size() > 1 && canvas_.TextExtent(line).width() > width) line.chop(1);
      tokens[first] = token.mid(line.size());
      if (tokens[first].isEmpty()) ++first;
    }
    lines.append(line);
  }
  return lines;
}

// ---- drawing

void TProdPrinter::UseWordFont() { canvas_.SetFont(wordFont_); }

void TProdPrinter::UseMeaningsFont() { canvas_.SetFont(meaningsFont_); }

void TProdPrinter::DrawPage(const TPage& page, bool front) {
  const int w = cardWidth_;
  const int h = cardHeight_;
  if (front) {
    canvas_.SetPenDotted(true);
    if (layout_ >= kHalfPagesBoth) {
      canvas_.DrawLine({w, canvas_.PageHeight()}, {w, 0});
    } else {
      canvas_.DrawLine({0, h}, {canvas_.PageWidth(), h});
      for (int column = 1; column <= 3; ++column) canvas_.DrawLine({ColumnLeft(column), 0}, {ColumnLeft(column), 2 * h});
    }
  }
  const auto card = [&](std::size_t index) -> const TCard* {
    return index < page.Cards.size() ? page.Cards[index].get() : nullptr;
  };
  switch (layout_) {
    case kCards8:
      for (int i = 0; i < 4; ++i) {
        const int d = front ? i : 3 - i;
        const int column = rightToLeft_ ? d : 3 - d;
        for (int k = 0; k < 2; ++k) {
          if (const TCard* c = card(2 * i + k)) {
            DrawCard(*c, ColumnTextPosition(column), front, CardTextWidth(2 * i + k), k == 0 ? h : 0);
          }
        }
      }
      break;
    case kCards4:
      for (int i = 0; i < 4; ++i) {
        const TCard* c = card(i);
        if (!c) continue;
        const int column = rightToLeft_ ? i : 3 - i;
        DrawCard(*c, ColumnTextPosition(column), true, CardTextWidth(i), h);
        DrawCard(*c, ColumnTextPosition(column), false, CardTextWidth(i), 0);
      }
      break;
    case kHalfPagesBoth:
      for (int i = 0; i < 2; ++i) {
        if (const TCard* c = card(i)) DrawCard(*c, (rightToLeft_ ? i : 1 - i) * w + margin_, false, w - 2 * margin_, 0);
      }
      break;
    default:
      if (const TCard* c = card(0)) {
        DrawCard(*c, (rightToLeft_ ? 0 : w) + margin_, true, w - 2 * margin_, 0);
        DrawCard(*c, (rightToLeft_ ? w : 0) + margin_, false, w - 2 * margin_, 0);
      }
      break;
  }
}

void TProdPrinter::DrawCard(const TCard& card, int x, bool front, int width, int verticalOffset) {
  const int l = lineHeight_;
  const int h = cardHeight_;
  const int v = verticalOffset;
  canvas_.SetPenDotted(false);
  if (services_.AppType->PrintCardBackground() && !services_.Background.isNull()) {
    if (layout_ <= kCards4) {
      canvas_.StretchDraw(QRect(x + 1, v + l, width - 2, h - 2 * l), services_.Background);
    } else {
      for (int top : {v + l, v + l + h / 2}) canvas_.StretchDraw(QRect(x + 1, top, width - 2, h / 2 - 2 * l), services_.Background);
    }
  }
  if (card.Words.empty()) return;
  cardTop_ = v;
  // The headwords, measured with the font that draws them.
  UseWordFont();
  std::vector<int> head;
  int sum = 0;
  for (const TWord* word : card.Words) head.push_back(sum += WrappedHeight(word->Headword, width));
  const int count = static_cast<int>(card.Words.size());
  const int spread = (h - head.back()) / count;
  const bool layoutHasMeaningsOnFront = layout_ == kHalfPageOne;
  const int offset = services_.AppType->PrintWordOffset(h, layout_ >= kHalfPagesBoth);
  int y = v + h - 2 * l - head[0];
  for (int k = 0; k < count; ++k) {
    const TWord& word = *card.Words[static_cast<std::size_t>(k)];
    if (front && layout_ <= kCards4) y = v + h - k * spread - 2 * l - head[static_cast<std::size_t>(k)];
    UseWordFont();
    DrawWrapped(x, width, services_.Pack->IsRightToLeft(), y, word.Headword, false);
    if (!front || layoutHasMeaningsOnFront) {
      y += offset;
      UseMeaningsFont();
      DrawWrapped(x, width, services_.Pack->IsMeaningRightToLeft(), y, word.MeaningsLine(), front);
      y -= offset;
    }
    y -= l + std::min(card.RemainingHeight, 2 * l) / std::max(count - 1, 1);
  }
}

void TProdPrinter::DrawWrapped(int x, int width, bool rightToLeft, int& y, const QString& text, bool measureOnly) {
  for (const QString& line : WrapText(text, width)) {
    const QSize extent = canvas_.TextExtent(line);
    const int h = extent.height();
    const int referenceX = rightToLeft ? x + extent.width() + 1 : x + width;
    // Lines of a word too big for its card are cut at the card's edge.
    if (!measureOnly && y >= cardTop_) {
      canvas_.DrawTurnedText(QRect(x, y, width, h + 1), QPoint(referenceX, y + h + 1), line, rightToLeft);
    }
    y -= h;
  }
}

}  // namespace zabko
