#include "platform/QtPrinter.h"

#include "TestHelpers.h"

#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QPainter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>

namespace vendalise {
namespace {

using PdfPrinter = InScratchDir;

::testing::AssertionResult done(const std::optional<Printer::Failure>& failure) {
    if (failure)
        return ::testing::AssertionFailure() << failure->description.toStdString();
    return ::testing::AssertionSuccess();
}

TEST_F(PdfPrinter, WithoutAPrinterEachDocumentBecomesAPdfInImpressions) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed: documents go to paper";
    QStringList opened;
    QtPrinter printer([&opened](const QString& path) { opened.append(path); });
    printer.setFolder([this] { return files.current(); });
    const QString folder = pathOf(u"Impressions"_s);

    for (int document = 1; document <= 2; ++document) {
        SCOPED_TRACE(document);
        ASSERT_TRUE(done(printer.setFont(u"Arial"_s, false)));
        ASSERT_TRUE(done(printer.printLine(u"Ventes du 05/12/2007"_s, 14, true, true)));
        ASSERT_TRUE(done(printer.printLine(u"Café\t2,5 €"_s, 10, false, false)));
        ASSERT_TRUE(done(printer.printLine(u"Total\r\n12,5"_s, 10, true, false)));
        EXPECT_TRUE(opened.size() == document - 1) << "opened before the end of the document";
        ASSERT_TRUE(done(printer.endDocument()));

        ASSERT_EQ(opened.size(), document);
        const QFileInfo pdf(opened.last());
        EXPECT_EQ(pdf.canonicalPath(), QFileInfo(folder).canonicalFilePath());
        QFile file(pdf.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(4) == "%PDF");
    }
    EXPECT_NE(opened.at(0), opened.at(1));
    EXPECT_TRUE(QFileInfo::exists(opened.at(0)));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
}

// A drawing takes the page's width and its aspect, below the lines, on a
// new page when it does not fit; it is drawn into the page as vectors.
TEST_F(PdfPrinter, ADrawingGoesBelowTheLinesAcrossThePage) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed: documents go to paper";
    QStringList opened;
    QtPrinter printer([&opened](const QString& path) { opened.append(path); });
    printer.setFolder([this] { return files.current(); });
    QList<QRectF> areas;
    const auto draw = [&areas](QPainter& painter, const QRectF& area) {
        areas.append(area);
        painter.drawRect(area);
    };
    ASSERT_TRUE(done(printer.printLine(u"Bilans"_s, 12, true, false)));
    ASSERT_TRUE(done(printer.printDrawing(u"Ventes"_s, 0.5, draw)));
    ASSERT_TRUE(done(printer.printDrawing(u"Produits"_s, 1.2, draw)));
    ASSERT_TRUE(done(printer.endDocument()));
    ASSERT_EQ(areas.size(), 2);
    EXPECT_GT(areas[0].top(), 0);                              // below the line
    EXPECT_DOUBLE_EQ(areas[0].height(), areas[0].width() / 2); // its aspect
    EXPECT_EQ(areas[1].top(), 0);                              // a new page
    ASSERT_EQ(opened.size(), 1);
    QFile file(opened.last());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_EQ(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), 2);
}

// A whole document: paged on A4 in the orientation asked, as many pages in
// the PDF as the document's layout counts once printed, the PDF named.
TEST_F(PdfPrinter, ADocumentIsLaidOutOnThePagesItIsPrintedOn) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed: documents go to paper";
    QStringList opened;
    QtPrinter printer([&opened](const QString& path) { opened.append(path); });
    printer.setFolder([this] { return files.current(); });
    for (const auto orientation :
         {Printer::Orientation::Portrait, Printer::Orientation::Landscape}) {
        QTextDocument document;
        QTextCursor cursor(&document);
        // 120 lines of 10 points: more than one page, fewer than four.
        for (int line = 1; line <= 120; ++line)
            cursor.insertText(u"Ligne %1\n"_s.arg(line));
        const Printer::Printed printed = printer.printDocument(u"Essai"_s, document, orientation);
        ASSERT_FALSE(printed.failure) << printed.failure->description.toStdString();
        ASSERT_FALSE(opened.isEmpty());
        EXPECT_EQ(printed.pdf, opened.last());
        EXPECT_EQ(QFileInfo(printed.pdf).dir().dirName(), u"Impressions"_s);
        QFile file(printed.pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        const int pages = int(pdf.count("/Type /Page") - pdf.count("/Type /Pages"));
        EXPECT_GT(pages, 1);
        EXPECT_LT(pages, 4);
        EXPECT_EQ(document.pageCount(), pages);
        // A4: 595 x 842 points, turned in landscape.
        const QRegularExpressionMatch box =
            QRegularExpression(u"/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"_s)
                .match(QString::fromLatin1(pdf));
        ASSERT_TRUE(box.hasMatch());
        const double width = box.captured(1).toDouble();
        const double height = box.captured(2).toDouble();
        EXPECT_NEAR(std::min(width, height), 595, 1);
        EXPECT_NEAR(std::max(width, height), 842, 1);
        EXPECT_EQ(width > height, orientation == Printer::Orientation::Landscape);
    }
}

// "Arial" is offered where the system draws it with a face of its metrics,
// once, and never where another face stands in.
TEST(QtPrinterFonts, ArialWhereAFaceOfItsMetricsStandsForIt) {
    const std::optional<QStringList> fonts = QtPrinter().fonts();
    ASSERT_TRUE(fonts);
    const QString face = QFontInfo(QFont(u"Arial"_s)).family();
    const bool arialMetrics = QStringList{u"Arial"_s, u"Liberation Sans"_s, u"Arimo"_s}.contains(
        face, Qt::CaseInsensitive);
    EXPECT_EQ(
        fonts->filter(QRegularExpression(u"^arial$"_s, QRegularExpression::CaseInsensitiveOption))
            .size(),
        arialMetrics ? 1 : 0)
        << "Arial drawn with " << face.toStdString();
}

} // namespace
} // namespace vendalise
