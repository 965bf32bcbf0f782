#include "platform/QtPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextOption>
#include <QUrl>

#include <algorithm>

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

// A painter that could not begin on the printer (or the PDF).
Printer::Failure notBegun(const QPrinter& printer, const QString& pdf) {
    const bool printerError =
        printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted;
    return {printerError, QStringLiteral("L'impression n'a pas pu commencer sur ") +
                              (pdf.isEmpty() ? printer.printerName() : pdf) + QStringLiteral(".")};
}

// A document is laid out at this resolution, whatever the printer's, on a
// device that lives as long as the program (a document keeps its layout's
// device), with the font's design metrics, so that its pages are the same
// on any printer and in a PDF, and stay known after the print.
constexpr int kLayoutDpi = 1200;

QPaintDevice* layoutDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(kLayoutDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

// The page number at the foot of a document's page, in the document's
// font at 8 points.
QFont footFont(const QTextDocument& document) {
    QFont font = document.defaultFont();
    font.setPointSizeF(8);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
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

// The system's font families; and "Arial" where the system draws it with a
// face of the same metrics (Debian's Liberation Sans, by fontconfig's
// alias), which the families do not list. Another face standing in (a
// fallback such as DejaVu Sans) offers nothing.
std::optional<QStringList> QtPrinter::fonts() {
    QStringList families = QFontDatabase::families();
    const QString arial = QStringLiteral("Arial");
    static const QStringList arialFaces{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
    if (!families.contains(arial, Qt::CaseInsensitive) &&
        arialFaces.contains(QFontInfo(QFont(arial)).family(), Qt::CaseInsensitive)) {
        const auto at = std::find_if(families.begin(), families.end(), [&](const QString& family) {
            return QString::compare(family, arial, Qt::CaseInsensitive) > 0;
        });
        families.insert(at, arial);
    }
    return families;
}

std::optional<Printer::Failure> QtPrinter::setFont(const QString& name, bool bold) {
    family_ = name;
    bold_ = bold;
    return std::nullopt;
}

std::optional<Printer::Failure> QtPrinter::aim(QPrinter& printer, QString& pdf) {
    pdf.clear();
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        return std::nullopt;
    QDir folder(folder_ ? folder_() : QDir::currentPath());
    if (!folder.mkpath(QStringLiteral("Impressions")) || !folder.cd(QStringLiteral("Impressions")))
        return Failure{false, QStringLiteral("Le dossier Impressions n'a pas pu être créé dans ") +
                                  QDir::toNativeSeparators(folder.absolutePath()) +
                                  QStringLiteral(".")};
    pdf = freePdfName(folder);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return std::nullopt;
}

std::optional<Printer::Failure> QtPrinter::begin() {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (auto failure = aim(*printer_, pdfPath_))
        return failure;
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        const Failure failure = notBegun(*printer_, pdfPath_);
        painter_.reset();
        printer_.reset();
        return failure;
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

Printer::Printed QtPrinter::printDocument(const QString& title, QTextDocument& document,
                                          Orientation orientation) {
    // A null page size holds the layout back until the page is known: each
    // change below would otherwise lay the whole document out again, which
    // takes a second on a table of a few thousand rows.
    document.setPageSize(QSizeF(0, 0));
    QPrinter printer(QPrinter::HighResolution);
    QString pdf;
    if (auto failure = aim(printer, pdf))
        return {failure, {}};
    printer.setDocName(title);
    if (!pdf.isEmpty())
        printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                     : QPageLayout::Portrait);
    printer.setPageMargins(
        QMarginsF(kDocumentMarginMm, kDocumentMarginMm, kDocumentMarginMm, kDocumentMarginMm),
        QPageLayout::Millimeter);
    if (!family_.isEmpty()) {
        QFont font = document.defaultFont();
        font.setFamily(family_);
        document.setDefaultFont(font);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return {notBegun(printer, pdf), {}};

    // The page's printable area less the foot, in the layout's units.
    const double scale = double(printer.resolution()) / kLayoutDpi;
    const QFont foot = footFont(document);
    const QFontMetricsF footMetrics(foot, &printer);
    const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
    const QSizeF body(area.width() / scale, (area.height() - 2 * footMetrics.height()) / scale);
    QTextOption option = document.defaultTextOption();
    option.setUseDesignMetrics(true);
    document.setDefaultTextOption(option);
    document.documentLayout()->setPaintDevice(layoutDevice());
    document.setPageSize(body);
    const int pages = document.pageCount();

    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            printer.newPage();
        painter.save();
        painter.scale(scale, scale);
        painter.translate(0, -page * body.height());
        const QRectF view(0, page * body.height(), body.width(), body.height());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(foot);
        painter.setPen(Qt::black);
        painter.drawText(
            QRectF(0, area.height() - footMetrics.height(), area.width(), footMetrics.height()),
            Qt::AlignRight | Qt::AlignBottom,
            QStringLiteral("Page %1 / %2").arg(page + 1).arg(pages));
    }
    const bool ended = painter.end();
    const bool aborted = printer.printerState() == QPrinter::Aborted;
    if (!ended || aborted || printer.printerState() == QPrinter::Error)
        return {Failure{aborted, QStringLiteral("Le document n'a pas pu être terminé.")}, {}};
    if (!pdf.isEmpty())
        openPdf_(pdf);
    return {std::nullopt, pdf};
}

} // namespace vendalise
