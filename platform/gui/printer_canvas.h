// The printer as card printing sees it: the print dialog, A4 paper in either orientation,
// documents of pages, the resolution, fonts that draw text turned by 180 degrees, dotted and
// solid lines and stretched pictures. Coordinates are printer pixels from the top left corner of
// the printable page. TQtPrinterCanvas prints through QPrinter and QPainter (to a printer or a
// PDF file); tests record the calls on a canvas of their own.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace zabko {

enum class TPaperOrientation { Portrait, Landscape };

struct TPrintFont {
  QString Family;  // an installed font family
  int Size = 10;  // points
  bool Bold = false;
};

class IPrinterCanvas {
 public:
  virtual ~IPrinterCanvas() = default;
  // Shows the print dialog; false when the user cancelled.
  virtual bool ShowPrintDialog() = 0;
  // A4 in the orientation, for the documents that follow.
  virtual void SetPaper(TPaperOrientation orientation) = 0;
  // A document: its first page starts with it, NewPage starts the next.
  virtual void BeginDoc() = 0;
  virtual void NewPage() = 0;
  virtual void EndDoc() = 0;
  // Pixels per inch across the page.
  virtual int ResolutionX() const = 0;
  // The printable page in pixels.
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;

  // The font of the text calls that follow.
  virtual void SetFont(const TPrintFont& font) = 0;
  // Width and height of one line of text in the current font.
  virtual QSize TextExtent(const QString& text) = 0;
  // One line of text turned by 180 degrees about Reference: it lies left of and above the
  // reference point, reading right to left across the sheet (so that it reads normally once the
  // sheet is turned round). Only what falls inside Clip is drawn. RightToLeft sets the reading
  // order of Hebrew text.
  virtual void DrawTurnedText(const QRect& clip, const QPoint& reference, const QString& text, bool rightToLeft) = 0;
  // Lines one pixel wide, dotted or solid.
  virtual void SetPenDotted(bool dotted) = 0;
  virtual void DrawLine(const QPoint& from, const QPoint& to) = 0;
  virtual void StretchDraw(const QRect& dest, const QImage& picture) = 0;
};

// Prints through a QPrinter. When the printer writes a file, a second document goes to a file of
// the first one's name with " backs" before the extension, so that the fronts are kept.
class TQtPrinterCanvas : public IPrinterCanvas {
 public:
  // Dialog shows the print dialog for the printer; empty, the system's QPrintDialog over Owner.
  using TDialog = std::function<bool(QPrinter& printer)>;
  explicit TQtPrinterCanvas(QWidget* owner = nullptr, TDialog dialog = {});
  // A canvas that prints to a PDF file without a dialog, at the resolution given.
  static std::unique_ptr<TQtPrinterCanvas> ToPdf(const QString& fileName, int resolution = 300);
  ~TQtPrinterCanvas() override;

  bool ShowPrintDialog() override;
  void SetPaper(TPaperOrientation orientation) override;
  void BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;
  int ResolutionX() const override;
  int PageWidth() const override;
  int PageHeight() const override;
  void SetFont(const TPrintFont& font) override;
  QSize TextExtent(const QString& text) override;
  void DrawTurnedText(const QRect& clip, const QPoint& reference, const QString& text, bool rightToLeft) override;
  void SetPenDotted(bool dotted) override;
  void DrawLine(const QPoint& from, const QPoint& to) override;
  void StretchDraw(const QRect& dest, const QImage& picture) override;

  QPrinter& Printer() { return *printer_; }
  // The file name a second document of a file goes to.
  static QString BacksFileName(const QString& fileName);

 private:
  QWidget* owner_;
  TDialog dialog_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  int documents_ = 0;
  QString fileName_;  // the first document's file, when printing to one
  bool dotted_ = false;
  QFont font_;
};

}  // namespace zabko
