#pragma once

#include "platform/Services.h"

#include <functional>
#include <memory>

class QPainter;
class QPrinter;

namespace vendalise {

// The system's default printer through Qt Print Support. When the system
// has no printer at all, each document becomes a PDF file in the folder
// "Impressions" of the current (data) directory, named after the date and
// time, and is opened with the desktop's PDF viewer.
class QtPrinter : public Printer {
public:
    using PdfOpener = std::function<void(const QString& path)>;
    // openPdf receives each finished PDF; by default the desktop opens it.
    explicit QtPrinter(PdfOpener openPdf = {});
    ~QtPrinter() override;

    std::optional<QStringList> fonts() override;
    std::optional<Failure> setFont(const QString& name, bool bold) override;
    std::optional<Failure> printLine(const QString& text, double size, bool bold,
                                     bool underline) override;
    std::optional<Failure> printDrawing(const QString& title, double aspect,
                                        const Drawing& draw) override;
    std::optional<Failure> endDocument() override;
    Printed printDocument(const QString& title, QTextDocument& document,
                          Orientation orientation) override;

    // The folder in which "Impressions" is made: the program's current
    // directory, which the printer asks for at each document.
    void setFolder(std::function<QString()> folder) { folder_ = std::move(folder); }

    // The PDF file of the document under way or last ended ("" on paper).
    QString pdfPath() const { return pdfPath_; }

private:
    std::optional<Failure> begin();
    // Sends the printer's output to the system's default printer, or,
    // without one, to a new PDF in "Impressions", whose path `pdf` gets.
    std::optional<Failure> aim(QPrinter& printer, QString& pdf);
    void drawLine(const QString& line);

    PdfOpener openPdf_;
    std::function<QString()> folder_;
    QString family_;
    bool bold_ = false;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    double y_ = 0;
    QString pdfPath_;
};

} // namespace vendalise
