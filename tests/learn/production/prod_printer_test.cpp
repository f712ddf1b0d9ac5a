// Card printing: geometry, wrapping and layout on a recording canvas with a fixed-width measure
// (every character and every line Size pixels), and each layout printed to PDF and read
// back with pdfinfo and pdftotext. The PDFs and pictures of their pages stay in the build folder.
#include "learn/production/prod_printer.h"

#include "core/app_type_specific.h"
#include "core/language_pack.h"
#include "core/zabkolex_app.h"
#include "core/zabkolex_strings.h"
#include "tests/common/window_fakes.h"
#include "tools/word_db_writer.h"
#include "ui/n_manager.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zabko {
namespace {

// Records what is printed: documents, pages and every turned text with where it lies.
class RecordingCanvas : public IPrinterCanvas {
 public:
  struct TextCall {
    QRect box;  // where the turned text lies on the sheet
    QRect clip;
    QString text;
    bool rightToLeft;
    int size;
  };
  struct Page {
    std::vector<TextCall> texts;
    int lines = 0;
    int pictures = 0;
  };
  struct Doc {
    std::vector<Page> pages;
  };

  bool ShowPrintDialog() override { return dialogAnswer; }
  void SetPaper(TPaperOrientation o) override { orientation = o; }
  void BeginDoc() override {
    docs.emplace_back();
    docs.back().pages.emplace_back();
    ++open;
  }
  void NewPage() override { docs.back().pages.emplace_back(); }
  void EndDoc() override { --open, ++ended; }
  int ResolutionX() const override { return 100; }
  int PageWidth() const override { return orientation == TPaperOrientation::Landscape ? 1169 : 827; }
  int PageHeight() const override { return orientation == TPaperOrientation::Landscape ? 827 : 1169; }
  void SetFont(const TPrintFont& f) override { font = f; }
  QSize TextExtent(const QString& text) override { return {static_cast<int>(text.size()) * font.Size, font.Size}; }
  void DrawTurnedText(const QRect& clip, const QPoint& reference, const QString& text, bool rightToLeft) override {
    const QSize e = TextExtent(text);
    docs.back().pages.back().texts.push_back(
        {QRect(reference.x() - e.width(), reference.y() - e.height(), e.width(), e.height()), clip, text, rightToLeft,
         font.Size});
  }
  void SetPenDotted(bool) override {}
  void DrawLine(const QPoint&, const QPoint&) override { ++docs.back().pages.back().lines; }
  void StretchDraw(const QRect&, const QImage&) override { ++docs.back().pages.back().pictures; }

  bool dialogAnswer = true;
  TPaperOrientation orientation = TPaperOrientation::Portrait;
  TPrintFont font;
  std::vector<Doc> docs;
  int open = 0, ended = 0;
};

class PrinterFixture : public ::testing::Test {
 protected:
  // English words "w00".."wNN" (headword), each with the meanings given.
  void MakeWords(int count, const QString& meanings = QStringLiteral("x")) {
    TWordDBWriter writer(WordLanguage::English);
    writer.AddSubject({1, 0, "Top", "Top"});
    writer.AddSubject({11, 1, "Home", "Home"});
    for (int i = 0; i < count; ++i) writer.AddWord(QStringLiteral("w%1").arg(i, 2, 10, QChar(u'0')), meanings, 11);
    const QString path = dir_.filePath("Words.dat");
    writer.SaveToFile(path, 3010);
    pack_ = std::make_unique<TEnglishLanguage>(1, 26, path, std::vector<ILetterButton*>{}, nullptr, nullptr, nullptr,
                                               TFillWord(FillWordTexts));
    items_.clear();
    for (const auto& w : pack_->WordList().Words()) items_.append({w->Headword, w.get()});
  }
  std::unique_ptr<TProdPrinter> Printer(IPrinterCanvas& canvas, bool rightToLeft = false, int rightSpace = 0) {
    if (texts_.Entries().empty()) texts_.LoadLanguage(1);
    TPrintServices s;
    s.Canvas = &canvas;
    s.Progress = &runner_;
    s.Messages = &messages_;
    s.Texts = &texts_;
    s.AppType = &app_;
    s.Pack = pack_.get();
    s.Background = QImage(20, 30, QImage::Format_RGB32);
    s.Background.fill(Qt::yellow);
    auto p = std::make_unique<TProdPrinter>(s, rightToLeft, "Times New Roman", "David", 10, 12);
    p->SetWordList(items_);
    p->SetRightSpace(rightSpace);
    return p;
  }
  static QStringList Words(const RecordingCanvas::Page& page, int size = 10) {
    QStringList words;
    for (const auto& t : page.texts) {
      if (t.size == size) words << t.text.trimmed();
    }
    return words;
  }

  QTemporaryDir dir_;
  std::unique_ptr<TLanguagePack> pack_;
  TWordItemList items_;
  TZabkolexStrings texts_;
  TZabkolexApp app_;
  test::TFakeRunner runner_;
  test::TFakeMessages messages_;
};

TEST_F(PrinterFixture, ColumnGeometryAtOneHundredPixelsAnInch) {
  MakeWords(1);
  RecordingCanvas canvas;
  struct Case {
    int rightSpace;
    int firstWidth;
  } cases[] = {{0, 292}, {10, 253}, {50, 95}, {80, 95}};  // 80 is clamped to 50
  for (const Case& c : cases) {
    auto p = Printer(canvas, false, c.rightSpace);
    p->PrintCards(TProdPrinter::kCards8);
    SCOPED_TRACE(c.rightSpace);
    EXPECT_EQ(p->Margin(), 20);
    EXPECT_EQ(p->ColumnTextWidth(0), c.firstWidth);
    EXPECT_EQ(p->ColumnTextWidth(1), 292);
    EXPECT_EQ(p->ColumnTextWidth(2), 292);
    EXPECT_EQ(p->ColumnTextWidth(3), 252);  // 0.4 inch narrower
    EXPECT_EQ(p->ColumnLeft(1), c.firstWidth);
    EXPECT_EQ(p->ColumnLeft(3), c.firstWidth + 2 * 292);
    EXPECT_EQ(p->ColumnTextPosition(0), std::max(0, c.firstWidth + 20 - 292));
    EXPECT_EQ(p->ColumnTextPosition(2), c.firstWidth + 292 + 20);
    EXPECT_EQ(p->CardHeight(), 413);
    EXPECT_EQ(p->LineHeight(), 20);
  }
  auto half = Printer(canvas);
  half->PrintHalfPages(true);
  EXPECT_EQ(half->CardWidth(), 413);
  EXPECT_EQ(half->CardHeight(), 1169);
  EXPECT_EQ(half->LineHeight(), 1169 / 40);
}

TEST_F(PrinterFixture, WrapsBelowTheWidthAndCutsTooLongTokens) {
  MakeWords(1);
  RecordingCanvas canvas;
  canvas.font = {"x", 1, false};  // one pixel a character
  auto p = Printer(canvas);
  struct Case {
    const char* text;
    int width;
    QStringList lines;
  } cases[] = {
      {"aa bb cc", 7, {" aa bb", " cc"}},
      {"aa bb cc", 9, {" aa bb", " cc"}},  // 9 characters are not below 9
      {"aa bb cc", 10, {" aa bb cc"}},
      {"abcdefgh ij", 4, {"abcd", "efgh", " ij"}},  // a token too wide is cut
      {"a  b", 10, {" a  b"}},           // two blanks make an empty token
      {"", 5, {" "}},
      {"abc", 1, {"a", "b", "c"}},      // narrower than a character still progresses
  };
  for (const Case& c : cases) EXPECT_EQ(p->WrapText(c.text, c.width), c.lines) << c.text << " at " << c.width;
}

TEST_F(PrinterFixture, NineWordsMakeOneSheetOfFrontsThenBacksAfterContinue) {
  MakeWords(9);
  RecordingCanvas canvas;
  auto p = Printer(canvas);
  p->PrintCards(TProdPrinter::kCards8);
  ASSERT_EQ(p->Pages().size(), 1u);
  ASSERT_EQ(p->Pages()[0]->Cards.size(), 2u);
  EXPECT_EQ(p->Pages()[0]->Cards[0]->Words.size(), 6u);
  EXPECT_EQ(p->Pages()[0]->Cards[1]->Words.size(), 3u);
  ASSERT_EQ(canvas.docs.size(), 2u);
  EXPECT_EQ(canvas.orientation, TPaperOrientation::Landscape);
  EXPECT_EQ(canvas.docs[0].pages.size(), 1u);
  EXPECT_EQ(canvas.docs[1].pages.size(), 1u);
  EXPECT_EQ(canvas.ended, 2);
  EXPECT_EQ(canvas.open, 0);
  ASSERT_EQ(messages_.questions.size(), 1u);
  EXPECT_EQ(messages_.questions[0].flags, kButtonContinue | kButtonCancel);
  EXPECT_EQ(messages_.questions[0].text, texts_.GetString("OutputPrintText"));
  // Fronts: headwords and cut lines; backs: headwords and meanings, no cut lines.
  EXPECT_EQ(Words(canvas.docs[0].pages[0], 12).size(), 0);
  EXPECT_EQ(Words(canvas.docs[1].pages[0], 12).size(), 9);
  EXPECT_EQ(canvas.docs[0].pages[0].lines, 4);
  EXPECT_EQ(canvas.docs[1].pages[0].lines, 0);
  ASSERT_EQ(runner_.runs.size(), 2u);
  EXPECT_EQ(runner_.runs[0].steps, 1 + 3);
  EXPECT_EQ(runner_.runs[0].caption, texts_.GetString("OutputPrintProgressCaption"));
}

TEST_F(PrinterFixture, CancelAtTheTurnOverEndsTheFrontsOnceAndPrintsNoBacks) {
  MakeWords(9);
  RecordingCanvas canvas;
  messages_.answers = {false};
  Printer(canvas)->PrintCards(TProdPrinter::kCards8);
  EXPECT_EQ(canvas.docs.size(), 1u);
  EXPECT_EQ(canvas.ended, 1);
  EXPECT_EQ(runner_.runs.size(), 1u);
}

TEST_F(PrinterFixture, ACancelledPrintDialogPrintsNothing) {
  MakeWords(9);
  RecordingCanvas canvas;
  canvas.dialogAnswer = false;
  Printer(canvas)->PrintCards(TProdPrinter::kCards4);
  Printer(canvas)->PrintHalfPages(false);
  EXPECT_TRUE(canvas.docs.empty());
  EXPECT_EQ(canvas.ended, 0);
  EXPECT_TRUE(runner_.runs.empty());
}

TEST_F(PrinterFixture, TwentyCardsMakeThreeSheetsAndTheBacksComeInReverse) {
  MakeWords(20 * 6);
  RecordingCanvas canvas;
  auto p = Printer(canvas);
  p->PrintCards(TProdPrinter::kCards8);
  ASSERT_EQ(p->Pages().size(), 3u);
  EXPECT_EQ(p->Pages()[2]->Cards.size(), 4u);
  ASSERT_EQ(canvas.docs.size(), 2u);
  ASSERT_EQ(canvas.docs[1].pages.size(), 3u);
  // The first sheet of backs carries the words of the last sheet of fronts.
  for (int sheet = 0; sheet < 3; ++sheet) {
    QStringList fronts = Words(canvas.docs[0].pages[static_cast<std::size_t>(sheet)]);
    QStringList backs = Words(canvas.docs[1].pages[static_cast<std::size_t>(2 - sheet)]);
    fronts.sort();
    backs.sort();
    EXPECT_EQ(fronts, backs) << sheet;
    EXPECT_EQ(fronts.size(), sheet < 2 ? 48 : 24);
  }
}

TEST_F(PrinterFixture, LongMeaningsCloseACardEarlyAndAnOversizeWordGetsACardOfItsOwn) {
  MakeWords(4);
  RecordingCanvas canvas;
  // Word 1's meanings wrap to many lines (a card holds 413 - 80 pixels); word 2's never fit.
  pack_->WordList().GetWord(1)->SetMeanings(QString("abc ").repeated(100));
  pack_->WordList().GetWord(2)->SetMeanings(QString("abc ").repeated(400));
  auto p = Printer(canvas);
  p->PrintCards(TProdPrinter::kCards8);
  ASSERT_EQ(p->Pages().size(), 1u);
  std::vector<std::size_t> sizes;
  for (const auto& card : p->Pages()[0]->Cards) sizes.push_back(card->Words.size());
  EXPECT_EQ(sizes, (std::vector<std::size_t>{1, 1, 1, 1}));
  EXPECT_EQ(p->Pages()[0]->Cards[2]->RemainingHeight, 0);
  // The oversize word's lines stop at its card's top edge.
  for (const auto& t : canvas.docs[1].pages[0].texts) EXPECT_GE(t.box.top(), 0);
}

// Every text of every layout, both reading directions and with a right space, lies inside the
// column or half page it is drawn in.
TEST_F(PrinterFixture, TextStaysInsideItsCard) {
  MakeWords(30, QStringLiteral("one two three four five six seven eight nine ten; eleven twelve"));
  // A headword that wraps on a narrow column.
  pack_->WordList().GetWord(0)->Headword = QStringLiteral("averyveryverylongheadword with more words");
  for (int layout = 0; layout < 4; ++layout) {
    for (bool rightToLeft : {false, true}) {
      for (int rightSpace : {0, 30}) {
        SCOPED_TRACE(testing::Message() << "layout " << layout << (rightToLeft ? " rtl" : " ltr") << " space " << rightSpace);
        RecordingCanvas canvas;
        auto p = Printer(canvas, rightToLeft, rightSpace);
        if (layout <= 1) {
          p->PrintCards(layout);
        } else {
          p->PrintHalfPages(layout == 2);
        }
        std::vector<std::pair<int, int>> areas;  // left and right edge of each column or half page
        if (layout <= 1) {
          for (int c = 0; c < 4; ++c) areas.push_back({p->ColumnLeft(c), c < 3 ? p->ColumnLeft(c + 1) : canvas.PageWidth()});
        } else {
          areas = {{0, p->CardWidth()}, {p->CardWidth(), 2 * p->CardWidth()}};
        }
        int texts = 0;
        for (const auto& doc : canvas.docs) {
          for (const auto& page : doc.pages) {
            for (const auto& t : page.texts) {
              ++texts;
              const bool inside = std::any_of(areas.begin(), areas.end(), [&](const std::pair<int, int>& a) {
                return t.box.left() >= a.first && t.box.left() + t.box.width() <= a.second;
              });
              EXPECT_TRUE(inside) << t.text.toStdString() << " at " << t.box.left() << ".." << t.box.left() + t.box.width();
              EXPECT_GE(t.box.top(), 0);
              EXPECT_LE(t.box.top() + t.box.height(), canvas.PageHeight());
            }
          }
        }
        EXPECT_GT(texts, 30);
      }
    }
  }
}

// ---- to PDF

QString RunTool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& file) {
  const QRegularExpressionMatch m = QRegularExpression("Pages:\\s+(\\d+)").match(RunTool("pdfinfo", {file}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

class PrinterPdfTest : public PrinterFixture {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) GTEST_SKIP() << "poppler-utils not installed (scripts/deps)";
    QDir().mkpath(Folder());
  }
  static QString Folder() { return QStringLiteral(ZABKO_BUILD_DIR "/test_output/printing"); }
  // Pictures of the pages beside the PDF, for a person to look at.
  static void Pictures(const QString& pdf) {
    RunTool("pdftoppm", {"-png", "-r", "40", pdf, pdf.left(pdf.size() - 4)});
  }
};

TEST_F(PrinterPdfTest, EachLayoutPrintsItsSheets) {
  MakeWords(20 * 6, QStringLiteral("meaning one; meaning two"));
  struct Case {
    int layout;
    const char* file;
    int pages;
    int backPages;  // pages of the second file, 0 for none
  } cases[] = {
      {0, "cards8.pdf", 3, 3},
      {1, "cards4.pdf", 5, 0},
      {2, "halfpages.pdf", 0, 0},
      {3, "halfpage.pdf", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const QString file = Folder() + "/" + c.file;
    QFile::remove(file);
    QFile::remove(TQtPrinterCanvas::BacksFileName(file));
    auto canvas = TQtPrinterCanvas::ToPdf(file, 150);
    auto p = Printer(*canvas);
    if (c.layout <= 1) {
      p->PrintCards(c.layout);
    } else {
      p->PrintHalfPages(c.layout == 2);
    }
    const int pages = c.pages ? c.pages : static_cast<int>(p->Pages().size());
    EXPECT_GT(pages, 0);
    EXPECT_EQ(PdfPages(file), pages);
    EXPECT_EQ(static_cast<int>(p->Pages().size()), pages);
    if (c.backPages) {
      EXPECT_EQ(PdfPages(TQtPrinterCanvas::BacksFileName(file)), c.backPages);
      Pictures(TQtPrinterCanvas::BacksFileName(file));
    } else {
      EXPECT_FALSE(QFile::exists(TQtPrinterCanvas::BacksFileName(file)));
    }
    Pictures(file);
  }
}

// pdftotext finds every headword of the fronts inside the card it was laid out on.
TEST_F(PrinterPdfTest, HeadwordsLieInsideTheirCards) {
  MakeWords(12, QStringLiteral("x"));
  const QString file = Folder() + "/headwords.pdf";
  auto canvas = TQtPrinterCanvas::ToPdf(file, 150);
  messages_.answers = {false};
  auto p = Printer(*canvas);
  p->PrintCards(TProdPrinter::kCards8);
  const QString bbox = RunTool("pdftotext", {"-bbox", file, "-"});
  // The page in points: A4 landscape, 842 x 595; a card a quarter wide and half high.
  const double cardWidth = 841.89 / 4;
  const double cardHeight = 595.28 / 2;
  const QRegularExpression word("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">(w\\d\\d)</word>");
  int found = 0;
  for (auto it = word.globalMatch(bbox); it.hasNext();) {
    const auto m = it.next();
    const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
    const double x1 = m.captured(3).toDouble(), y1 = m.captured(4).toDouble();
    const int index = m.captured(5).mid(1).toInt();
    // Cards 0 and 1 (words 0-5, 6-11) in the column pair 0: column 3 for left-to-right, card 0
    // in the lower half (offset one card height), card 1 in the upper.
    const int card = index / 6;
    const int column = 3;
    const double top = card == 0 ? cardHeight : 0;
    EXPECT_GE(x0, column * cardWidth - 1) << index;
    EXPECT_LE(x1, (column + 1) * cardWidth + 1) << index;
    EXPECT_GE(y0, top - 1) << index;
    EXPECT_LE(y1, top + cardHeight + 1) << index;
    ++found;
  }
  EXPECT_EQ(found, 12) << bbox.left(2000).toStdString();
  Pictures(file);
}

// Prints to a PDF and remembers where each background picture went, sheet by sheet.
class PictureRecordingCanvas : public IPrinterCanvas {
 public:
  struct Picture {
    int doc = 0, page = 0;
    QRect dest;
  };
  explicit PictureRecordingCanvas(IPrinterCanvas& pdf) : pdf_(pdf) {}
  bool ShowPrintDialog() override { return pdf_.ShowPrintDialog(); }
  void SetPaper(TPaperOrientation o) override { pdf_.SetPaper(o); }
  void BeginDoc() override {
    ++doc_;
    page_ = 0;
    pdf_.BeginDoc();
  }
  void NewPage() override {
    ++page_;
    pdf_.NewPage();
  }
  void EndDoc() override { pdf_.EndDoc(); }
  int ResolutionX() const override { return pdf_.ResolutionX(); }
  int PageWidth() const override { return pdf_.PageWidth(); }
  int PageHeight() const override { return pdf_.PageHeight(); }
  void SetFont(const TPrintFont& f) override { pdf_.SetFont(f); }
  QSize TextExtent(const QString& text) override { return pdf_.TextExtent(text); }
  void DrawTurnedText(const QRect& clip, const QPoint& reference, const QString& text, bool rightToLeft) override {
    pdf_.DrawTurnedText(clip, reference, text, rightToLeft);
  }
  void SetPenDotted(bool dotted) override { pdf_.SetPenDotted(dotted); }
  void DrawLine(const QPoint& from, const QPoint& to) override { pdf_.DrawLine(from, to); }
  void StretchDraw(const QRect& dest, const QImage& picture) override {
    pictures.push_back({doc_, page_, dest});
    pdf_.StretchDraw(dest, picture);
  }
  std::vector<Picture> pictures;

 private:
  IPrinterCanvas& pdf_;
  int doc_ = -1, page_ = 0;
};

struct TextBox {
  int page;
  QRectF box;  // points
  QString text;
};

// The words pdftotext finds, with their boxes, page by page.
std::vector<TextBox> PdfTextBoxes(const QString& file) {
  std::vector<TextBox> boxes;
  const QString bbox = RunTool("pdftotext", {"-bbox", file, "-"});
  const QRegularExpression item("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
  int page = -1;
  for (auto it = item.globalMatch(bbox); it.hasNext();) {
    const auto m = it.next();
    if (m.captured(0).startsWith("<page")) {
      ++page;
      continue;
    }
    boxes.push_back({page, QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                     m.captured(5)});
  }
  return boxes;
}

// The rows of the card picture its separator line is painted on: rows mostly of the line's amber
// (the picture is stored as JPEG, so the colour is only near it).
QList<int> SeparatorRows(const QImage& picture) {
  QList<int> rows;
  for (int y = 0; y < picture.height(); ++y) {
    int amber = 0;
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      if (c.red() > 200 && c.red() - c.blue() > 40) ++amber;  // warm: not the white card or its grey frame
    }
    if (amber > picture.width() / 2) rows << y;
  }
  return rows;
}

// The demo card picture's separator, stretched into every card, crosses no printed text:
// neither the headwords nor the meanings of the backs.
TEST_F(PrinterPdfTest, TheDemoCardSeparatorClearsTheText) {
  TNManager skin;
  skin.SetFilename(QStringLiteral(ZABKO_DATA_OUT "/Data.res"));
  const auto* drawer = dynamic_cast<const TNBitmapDrawer*>(skin.Drawer(skin.GetDrawer(app_.GetCardsPrintBitmap())));
  ASSERT_NE(drawer, nullptr);
  const QImage picture = drawer->Bitmap();
  const QList<int> rows = SeparatorRows(picture);
  ASSERT_FALSE(rows.isEmpty()) << "no separator found in the card picture";

  MakeWords(30, QStringLiteral("first meaning; second meaning; third one"));
  const struct {
    int layout;
    const char* file;
  } cases[] = {{0, "separator_cards8.pdf"}, {1, "separator_cards4.pdf"}, {2, "separator_halfpages.pdf"},
               {3, "separator_halfpage.pdf"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const QString file = Folder() + "/" + c.file;
    QFile::remove(file);
    QFile::remove(TQtPrinterCanvas::BacksFileName(file));
    constexpr int kResolution = 150;
    auto pdf = TQtPrinterCanvas::ToPdf(file, kResolution);
    PictureRecordingCanvas canvas(*pdf);
    texts_.LoadLanguage(1);
    TPrintServices s;
    s.Canvas = &canvas;
    s.Progress = &runner_;
    s.Messages = &messages_;
    s.Texts = &texts_;
    s.AppType = &app_;
    s.Pack = pack_.get();
    s.Background = picture;
    TProdPrinter printer(s, true, "Times New Roman", "David", 10, 12);
    printer.SetWordList(items_);
    if (c.layout <= 1) {
      printer.PrintCards(c.layout);
    } else {
      printer.PrintHalfPages(c.layout == 2);
    }
    pdf.reset();
    const std::vector<TextBox> docs[2] = {PdfTextBoxes(file), PdfTextBoxes(TQtPrinterCanvas::BacksFileName(file))};
    ASSERT_FALSE(docs[0].empty());
    ASSERT_FALSE(canvas.pictures.empty());
    const double points = 72.0 / kResolution;
    int checked = 0;
    for (const auto& placed : canvas.pictures) {
      // A half page stacks two pictures down one listing that runs on from the upper into the
      // lower: the picture read first (printed in the sheet's lower half) must clear its text;
      // the other one's frame and rule stand inside the listing, whatever the picture.
      if (c.layout >= 2 && placed.dest.top() < placed.dest.height()) continue;
      for (int row : rows) {
        // The separator's band on the sheet, in points.
        const double top = (placed.dest.top() + double(row) * placed.dest.height() / picture.height()) * points;
        const double bottom = top + double(placed.dest.height()) / picture.height() * points;
        for (const TextBox& t : docs[placed.doc]) {
          if (t.page != placed.page) continue;
          if (t.box.right() <= placed.dest.left() * points || t.box.left() >= placed.dest.right() * points) continue;
          ++checked;
          EXPECT_TRUE(t.box.bottom() <= top || t.box.top() >= bottom)
              << "\"" << t.text.toStdString() << "\" on sheet " << placed.page << " of document " << placed.doc
              << " from " << t.box.top() << " to " << t.box.bottom() << " pt crosses the separator at " << top << " pt";
        }
      }
    }
    EXPECT_GT(checked, 0);
    Pictures(file);
  }
}

}  // namespace
}  // namespace zabko
