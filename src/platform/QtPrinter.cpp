#include "platform/QtPrinter.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextOption>
#include <QUrl>

namespace vendalise {

namespace {

// Print zones of 14 characters, as tabs advance on the printer.
constexpr int kTabZoneCharacters = 14;

QString freePdfName(const QDir& folder) {
    const QString stem =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QString name = stem + QStringLiteral(".pdf");
    for (int n = 2; folder.exists(name); ++n)
        name = stem + QStringLiteral(" (%1).pdf").arg(n);
    return folder.filePath(name);
}

} // namespace

QtPrinter::QtPrinter(PdfOpener openPdf) : openPdf_(std::move(openPdf)) {
    if (!openPdf_)
        openPdf_ = [](const QString& path) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        };
}

QtPrinter::~QtPrinter() {
    if (painter_ && painter_->isActive())
        painter_->end();
}

std::optional<QStringList> QtPrinter::fonts() {
    return QFontDatabase::families();
}

std::optional<Printer::Failure> QtPrinter::setFont(const QString& name, bool bold) {
    family_ = name;
    bold_ = bold;
    return std::nullopt;
}

std::optional<Printer::Failure> QtPrinter::begin() {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdfPath_.clear();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        QDir folder(folder_ ? folder_() : QDir::currentPath());
        if (!folder.mkpath(QStringLiteral("Impressions")) ||
            !folder.cd(QStringLiteral("Impressions")))
            return Failure{
                false, QStringLiteral("Le dossier Impressions n'a pas pu être créé dans ") +
                           QDir::toNativeSeparators(folder.absolutePath()) + QStringLiteral(".")};
        pdfPath_ = freePdfName(folder);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfPath_);
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        const bool printerError = printer_->printerState() == QPrinter::Error ||
                                  printer_->printerState() == QPrinter::Aborted;
        const QString target = pdfPath_.isEmpty() ? printer_->printerName() : pdfPath_;
        painter_.reset();
        printer_.reset();
        return Failure{printerError, QStringLiteral("L'impression n'a pas pu commencer sur ") +
                                         target + QStringLiteral(".")};
    }
    y_ = 0;
    return std::nullopt;
}

std::optional<Printer::Failure> QtPrinter::printLine(const QString& text, double size, bool bold,
                                                     bool underline) {
    if (!painter_) {
        if (auto failure = begin())
            return failure;
    }
    QFont font(family_);
    font.setPointSizeF(size > 0 ? size : 10);
    font.setBold(bold);
    font.setUnderline(underline);
    painter_->setFont(font);
    // The text may hold line breaks of its own; each starts a new line.
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : text.split(breaks))
        drawLine(line);
    if (printer_->printerState() == QPrinter::Aborted ||
        printer_->printerState() == QPrinter::Error)
        return Failure{true, QStringLiteral("L'imprimante a interrompu l'impression.")};
    return std::nullopt;
}

void QtPrinter::drawLine(const QString& line) {
    const QFontMetricsF metrics(painter_->font(), printer_.get());
    const QRect page = painter_->viewport();
    if (y_ > 0 && y_ + metrics.height() > page.height()) {
        printer_->newPage();
        y_ = 0;
    }
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(metrics.averageCharWidth() * kTabZoneCharacters);
    painter_->drawText(QRectF(0, y_, page.width(), metrics.height()), line, option);
    y_ += metrics.lineSpacing();
}

std::optional<Printer::Failure> QtPrinter::printDrawing(const QString&, double aspect,
                                                        const Drawing& draw) {
    if (!painter_) {
        if (auto failure = begin())
            return failure;
    }
    const QRect page = painter_->viewport();
    const double height = std::min<double>(page.width() * aspect, page.height());
    if (y_ > 0 && y_ + height > page.height()) {
        printer_->newPage();
        y_ = 0;
    }
    painter_->save();
    draw(*painter_, QRectF(0, y_, page.width(), height));
    painter_->restore();
    y_ += height;
    if (printer_->printerState() == QPrinter::Aborted ||
        printer_->printerState() == QPrinter::Error)
        return Failure{true, QStringLiteral("L'imprimante a interrompu l'impression.")};
    return std::nullopt;
}

std::optional<Printer::Failure> QtPrinter::endDocument() {
    if (!painter_)
        return std::nullopt; // nothing was printed
    const bool ended = painter_->end();
    painter_.reset();
    const bool aborted = printer_->printerState() == QPrinter::Aborted;
    printer_.reset();
    if (!ended || aborted)
        return Failure{aborted, QStringLiteral("Le document n'a pas pu être terminé.")};
    if (!pdfPath_.isEmpty())
        openPdf_(pdfPath_);
    return std::nullopt;
}

} // namespace vendalise
