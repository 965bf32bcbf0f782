#include "bilans/FrmBilans.h"

#include "RealisticClub.h"
#include "WindowTestProgram.h"

#include "TestHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>

namespace vendalise {
namespace {

using testing::control;

// The Bilans window on the realistic club, at its size, shown.
class BilansTables : public testing::WindowTestProgram {
protected:
    void SetUp() override {
        testing::WindowTestProgram::SetUp();
        const testing::RealisticClub club = testing::realisticClub();
        ASSERT_TRUE(testing::writeClub(club, folder.path()));
        clock.date = club.today;
        window = &app.window<FrmBilans>();
        window->refresh();
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override { window->hide(); }

    // What a table does not show whole, in the tab shown: a header, or a
    // cell that is not a name, narrower than Qt's own measure of it; a name
    // cut without its whole text in the tooltip; a table wider than its
    // frame, or leaving part of its frame blank.
    QStringList cutTexts(const QString& view) {
        QStringList cut;
        QApplication::processEvents();
        for (QTableView* table : window->findChildren<QTableView*>()) {
            if (!table->isVisible())
                continue;
            const QString where = view + QLatin1Char('/') + table->objectName();
            const QAbstractItemModel* model = table->model();
            QHeaderView* header = table->horizontalHeader();
            if (table->horizontalScrollBar()->isVisible())
                cut.append(where + QStringLiteral(": scrolls sideways"));
            int widths = 0;
            for (int c = 0; c < model->columnCount(); ++c)
                widths += header->sectionSize(c);
            if (widths < table->viewport()->width() - 1)
                cut.append(where + QStringLiteral(": blank beside the columns"));
            for (int c = 0; c < model->columnCount(); ++c) {
                if (header->isVisible() && header->sectionSizeHint(c) > header->sectionSize(c))
                    cut.append(where + QStringLiteral(": header ") +
                               model->headerData(c, Qt::Horizontal).toString());
                for (int r = 0; r < model->rowCount(); ++r) {
                    if (table->isRowHidden(r))
                        continue;
                    const QModelIndex index = model->index(r, c);
                    QStyleOptionViewItem option;
                    option.initFrom(table->viewport());
                    option.font = table->font();
                    option.fontMetrics = table->fontMetrics();
                    // The grid line takes a pixel of the column.
                    const int room = table->columnWidth(c) - (table->showGrid() ? 1 : 0);
                    if (table->itemDelegateForIndex(index)->sizeHint(option, index).width() <=
                        room)
                        continue;
                    const QString text = index.data().toString();
                    if (index.data(Qt::ToolTipRole).toString() != text)
                        cut.append(where + QStringLiteral(": ") + text);
                    else if (table->fontMetrics().horizontalAdvance(QString(10, u'n')) > room)
                        cut.append(where + QStringLiteral(": name too short: ") + text);
                }
            }
        }
        return cut;
    }

    // The total rows of each table of the tab shown that are not in view.
    QStringList totalsOutOfView(const QString& view) {
        QStringList hidden;
        for (QTableView* table : window->findChildren<QTableView*>()) {
            if (!table->isVisible() || table->objectName().endsWith(u"Totaux"_s))
                continue;
            const auto* totals = window->findChild<QTableView*>(table->objectName() + u"Totaux"_s);
            const QAbstractItemModel* model = table->model();
            for (int r = 0; r < model->rowCount(); ++r) {
                const QString first = model->index(r, 0).data().toString();
                if (!first.startsWith(u"Total"_s))
                    continue;
                bool shown = false;
                if (totals && totals->isVisible()) {
                    const QAbstractItemModel* held = totals->model();
                    for (int t = 0; t < held->rowCount(); ++t) {
                        const QModelIndex cell = held->index(t, 0);
                        const QRect place = totals->visualRect(cell);
                        shown = shown || (cell.data().toString() == first &&
                                          totals->viewport()->rect().contains(place) &&
                                          window->rect().contains(QRect(
                                              totals->viewport()->mapTo(window, place.topLeft()),
                                              place.size())));
                    }
                }
                if (!shown)
                    hidden.append(view + QLatin1Char('/') + table->objectName() +
                                  QStringLiteral(": ") + first);
            }
        }
        return hidden;
    }

    // Each view of the period in turn.
    void lookAtEveryView(const QString& period) {
        auto& tabs = control<QTabWidget>(*window, u"TabVues"_s);
        for (int i = 0; i < tabs.count(); ++i) {
            tabs.setCurrentIndex(i);
            const QString view = period + QLatin1Char('/') + tabs.tabText(i);
            EXPECT_EQ(cutTexts(view), QStringList());
            EXPECT_EQ(totalsOutOfView(view), QStringList());
        }
    }

    FrmBilans* window = nullptr;
};

// At the window's size, on a season, two seasons compared and every date: headers, amounts,
// numbers and dates whole, without scrolling sideways; names cut only at
// their end with the whole name in the tooltip; the totals in view.
TEST_F(BilansTables, ShowEveryFigureWholeAndTheirTotals) {
    control<QPushButton>(*window, u"CmdSaison"_s).click();
    lookAtEveryView(u"Saison"_s);
    control<QPushButton>(*window, u"CmdSaisonPrecedente"_s).click();
    control<QCheckBox>(*window, u"CheckComparer"_s).click();
    lookAtEveryView(u"Comparaison"_s);
    control<QPushButton>(*window, u"CmdTout"_s).click();
    lookAtEveryView(u"Tout"_s);
}

// The window alone may be resized and maximised; its tables then take the
// room, and still show every figure whole in a smaller window.
TEST_F(BilansTables, FollowTheWindowsSize) {
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    const QSize designed = window->size();
    control<QPushButton>(*window, u"CmdTout"_s).click();
    window->resize(designed + QSize(300, 200));
    lookAtEveryView(u"Grande"_s);
    window->resize(window->minimumSizeHint());
    lookAtEveryView(u"Petite"_s);
}

} // namespace
} // namespace vendalise
