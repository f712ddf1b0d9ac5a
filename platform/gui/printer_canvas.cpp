#include "platform/gui/printer_canvas.h"

#include "platform/exception.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextOption>

namespace zabko {

TQtPrinterCanvas::TQtPrinterCanvas(QWidget* owner, TDialog dialog)
    : owner_(owner), dialog_(std::move(dialog)), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      painter_(std::make_unique<QPainter>()) {}

TQtPrinterCanvas::~TQtPrinterCanvas() {
  if (painter_->isActive()) painter_->end();
}

std::unique_ptr<TQtPrinterCanvas> TQtPrinterCanvas::ToPdf(const QString& fileName, int resolution) {
  auto canvas = std::make_unique<TQtPrinterCanvas>(nullptr, [](QPrinter&) { return true; });
  QPrinter& printer = *canvas->printer_;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(fileName);
  printer.setResolution(resolution);
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  return canvas;
}

QString TQtPrinterCanvas::BacksFileName(const QString& fileName) {
  const QFileInfo info(fileName);
  const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
  return fileName.left(fileName.size() - suffix.size()) + QStringLiteral(" backs") + suffix;
}

bool TQtPrinterCanvas::ShowPrintDialog() {
  if (dialog_) return dialog_(*printer_);
  QPrintDialog dialog(printer_.get(), owner_);
  return dialog.exec() == QDialog::Accepted;
}

void TQtPrinterCanvas::SetPaper(TPaperOrientation orientation) {
  printer_->setPageSize(QPageSize(QPageSize::A4));
  printer_->setPageOrientation(orientation == TPaperOrientation::Landscape ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
}

void TQtPrinterCanvas::BeginDoc() {
  if (documents_++ == 0) {
    fileName_ = printer_->outputFileName();
  } else if (!fileName_.isEmpty()) {
    printer_->setOutputFileName(BacksFileName(fileName_));
  }
  if (!painter_->begin(printer_.get())) throw Exception("Cannot start printing on " + printer_->printerName());
}

void TQtPrinterCanvas::NewPage() { printer_->newPage(); }

void TQtPrinterCanvas::EndDoc() {
  if (painter_->isActive()) painter_->end();
}

int TQtPrinterCanvas::ResolutionX() const { return printer_->resolution(); }

int TQtPrinterCanvas::PageWidth() const { return printer_->pageLayout().paintRectPixels(printer_->resolution()).width(); }

int TQtPrinterCanvas::PageHeight() const {
  return printer_->pageLayout().paintRectPixels(printer_->resolution()).height();
}

void TQtPrinterCanvas::SetFont(const TPrintFont& font) {
  QFont f(font.Family);
  f.setPointSize(font.Size);
  f.setBold(font.Bold);
  if (painter_->isActive()) painter_->setFont(f);
  font_ = f;
}

QSize TQtPrinterCanvas::TextExtent(const QString& text) {
  const QFontMetrics metrics(font_, printer_.get());
  return {metrics.horizontalAdvance(text), metrics.height()};
}

void TQtPrinterCanvas::DrawTurnedText(const QRect& clip, const QPoint& reference, const QString& text, bool rightToLeft) {
  painter_->save();
  painter_->setFont(font_);
  painter_->setClipRect(clip);
  painter_->translate(reference);
  painter_->rotate(180);
  QTextOption option(Qt::AlignAbsolute | Qt::AlignLeft | Qt::AlignTop);
  option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
  option.setWrapMode(QTextOption::NoWrap);
  const QSize extent = TextExtent(text);
  painter_->drawText(QRectF(0, 0, extent.width() + 1, extent.height()), text, option);
  painter_->restore();
}

void TQtPrinterCanvas::SetPenDotted(bool dotted) { dotted_ = dotted; }

void TQtPrinterCanvas::DrawLine(const QPoint& from, const QPoint& to) {
  QPen pen(Qt::black, 0, dotted_ ? Qt::DotLine : Qt::SolidLine);
  painter_->setPen(pen);
  painter_->drawLine(from, to);
}

void TQtPrinterCanvas::StretchDraw(const QRect& dest, const QImage& picture) {
  painter_->drawImage(dest, picture);
}

}  // namespace zabko
