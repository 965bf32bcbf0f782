#include "platform/QtPrinter.h"

#include "TestHelpers.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinterInfo>

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

} // namespace
} // namespace vendalise
