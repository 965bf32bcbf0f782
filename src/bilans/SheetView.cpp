#include "bilans/SheetView.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QHeaderView>
#include <QTableView>

namespace vendalise {

namespace {

// A sheet shown in a table view: its texts are made when they are shown,
// so that thousands of rows are set in one go.
class SheetModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setSheet(Sheet sheet) {
        beginResetModel();
        sheet_ = std::move(sheet);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(sheet_.rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(sheet_.headers.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const QList<Cell>& row = sheet_.rows[index.row()];
        if (index.column() >= row.size())
            return {};
        const Cell& cell = row[index.column()];
        switch (role) {
        case Qt::DisplayRole:
            return cellText(cell);
        case Qt::TextAlignmentRole:
            return cell.isNumber() ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        case Qt::FontRole:
            if (index.row() >= sheet_.rows.size() - sheet_.totalRows)
                return bold_;
            return {};
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        // Headers of two words on two lines, so that the columns stay narrow.
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole &&
            section < sheet_.headers.size()) {
            QString header = sheet_.headers[section];
            if (const qsizetype blank = header.indexOf(QLatin1Char(' ')); blank > 0)
                header[blank] = QLatin1Char('\n');
            return header;
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    // The totals' font: the table's own, bold.
    void setBoldFont(QFont font) {
        font.setBold(true);
        bold_ = font;
    }

private:
    Sheet sheet_;
    QFont bold_;
};

} // namespace

QTableView* addSheetTable(QWidget* page, const QString& name, const QRect& where) {
    auto* table = new QTableView(page);
    table->setObjectName(name);
    table->setGeometry(where);
    auto* model = new SheetModel(table);
    model->setBoldFont(table->font());
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setHighlightSections(false);
    // Column widths from the rows in view, not from thousands of rows.
    table->horizontalHeader()->setResizeContentsPrecision(50);
    return table;
}

// Shows a sheet in its table, the columns as wide as their texts.
void showSheet(QTableView* table, Sheet sheet) {
    static_cast<SheetModel*>(table->model())->setSheet(std::move(sheet));
    table->resizeColumnsToContents();
}

} // namespace vendalise
