// The printer seam on Qt: QPrinter on the system's default printer. When no printer is
// installed the operator is told so and may save the same page as a PDF file instead; a
// printer made for a PDF file prints there directly (used by the tests and for the report's
// picture).
#pragma once

#include <QString>
#include <memory>

#include "platform/printer.h"

class QPainter;
class QPrinter;
class QWidget;

namespace sigcond::qt {

class QtPrinter : public Printer {
public:
    // Prints on the default printer; parent is the window the questions are shown over.
    explicit QtPrinter(QWidget* parent = nullptr);
    // Prints into the PDF file, without asking anything.
    static std::unique_ptr<QtPrinter> toPdfFile(const QString& path);
    ~QtPrinter() override;

    bool beginDocument() override;
    void setCurrentX(int twips) override { x_ = twips; }
    int currentY() const override { return y_; }
    void setCurrentY(int twips) override { y_ = twips; }
    void print(const std::string& text, bool stayOnLine = false) override;
    bool endDocument() override;
    std::string errorText() const override { return error_; }

    void setParentWidget(QWidget* parent) { parent_ = parent; }

private:
    // Which printer to use: the default one, or a PDF file the operator names when there is
    // none. False when the operator gave up (error_ stays empty) or nothing can print.
    bool choosePrinter();
    double pixelsPerTwip() const;

    QWidget* parent_ = nullptr;
    QString pdfPath_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    int x_ = 0;
    int y_ = 0;
    int lineHeight_ = 240;  // twips
    std::string error_;
};

}  // namespace sigcond::qt
