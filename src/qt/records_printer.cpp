#include "qt/records_printer.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "qt/cp1252.h"

namespace sigcond::qt {

QtPrinter::QtPrinter(QWidget* parent) : parent_(parent) {}

QtPrinter::~QtPrinter() {
    if (painter_ && painter_->isActive()) painter_->end();
}

std::unique_ptr<QtPrinter> QtPrinter::toPdfFile(const QString& path) {
    auto printer = std::make_unique<QtPrinter>();
    printer->pdfPath_ = path;
    return printer;
}

bool QtPrinter::choosePrinter() {
    if (!pdfPath_.isEmpty()) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfPath_);
        return true;
    }
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (!defaultPrinter.isNull()) {
        printer_ = std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution);
        return true;
    }
    const auto answer = QMessageBox::question(
        parent_, QStringLiteral(" "),
        QStringLiteral("No printer is installed.\nDo you want to save the report as a PDF file?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) return false;
    QString path = QFileDialog::getSaveFileName(parent_, QStringLiteral("Save the report"),
                                                QStringLiteral("report.pdf"),
                                                QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(path);
    return true;
}

double QtPrinter::pixelsPerTwip() const { return printer_->resolution() / 1440.0; }

bool QtPrinter::beginDocument() {
    error_.clear();
    x_ = 0;
    y_ = 0;
    painter_.reset();
    printer_.reset();
    if (!choosePrinter()) return false;
    printer_->setDocName(QStringLiteral("Configuration report"));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        error_ = "The printer could not be started.";
        painter_.reset();
        return false;
    }
    painter_->setPen(Qt::black);
    const QFontMetricsF metrics(painter_->font(), printer_.get());
    lineHeight_ = std::max(1, static_cast<int>(metrics.lineSpacing() / pixelsPerTwip() + 0.5));
    return true;
}

void QtPrinter::print(const std::string& text, bool stayOnLine) {
    if (!painter_ || !painter_->isActive()) return;
    const double scale = pixelsPerTwip();
    // The page is full: the line goes to the top of a new page, as a printer's page length gives.
    const double pageHeight = printer_->pageRect(QPrinter::DevicePixel).height();
    if ((y_ + lineHeight_) * scale > pageHeight && y_ > 0) {
        printer_->newPage();
        y_ = 0;
    }
    const QString line = fromCp1252(text);
    const QFontMetricsF metrics(painter_->font(), printer_.get());
    if (!line.isEmpty()) {
        painter_->drawText(QPointF(x_ * scale, y_ * scale + metrics.ascent()), line);
    }
    if (stayOnLine) {
        x_ += static_cast<int>(metrics.horizontalAdvance(line) / scale + 0.5);
    } else {
        x_ = 0;
        y_ += lineHeight_;
    }
}

bool QtPrinter::endDocument() {
    if (!painter_) {
        error_ = "The printer was not started.";
        return false;
    }
    const bool ended = painter_->end();
    painter_.reset();
    if (!ended || printer_->printerState() == QPrinter::Error) {
        error_ = "The page could not be sent to the printer.";
        return false;
    }
    if (printer_->outputFormat() == QPrinter::PdfFormat &&
        !QFileInfo::exists(printer_->outputFileName())) {
        error_ = "The PDF file could not be written.";
        return false;
    }
    return true;
}

}  // namespace sigcond::qt
