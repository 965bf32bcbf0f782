#include "bilans/SheetView.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

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
    const Sheet& sheet() const { return sheet_; }
    bool isTotal(int row) const { return row >= sheet_.rows.size() - sheet_.totalRows; }

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
        case Qt::ToolTipRole:
            // A name may be cut: the tooltip holds it whole.
            return index.column() == sheet_.nameColumn ? QVariant(cellText(cell)) : QVariant();
        case Qt::TextAlignmentRole:
            return cell.isNumber() ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        case Qt::FontRole:
            return isTotal(index.row()) ? QVariant(bold_) : QVariant();
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
    const QFont& boldFont() const { return bold_; }

private:
    Sheet sheet_;
    QFont bold_;
};

// The total rows of a sheet, and only them.
class TotalsModel : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        return !parent.isValid() && static_cast<const SheetModel*>(sourceModel())->isTotal(row);
    }
};

// The frame of a table: the rows that scroll, the total rows under them,
// and the columns' widths shared out whenever the frame's size changes.
class SheetFrame : public QWidget {
public:
    SheetFrame(QWidget* page, const QString& name) : QWidget(page) {
        setObjectName(name + QStringLiteral("Cadre"));
        rows_ = new QTableView(this);
        rows_->setObjectName(name);
        model_ = new SheetModel(rows_);
        model_->setBoldFont(rows_->font());
        rows_->setModel(model_);
        totals_ = new QTableView(this);
        totals_->setObjectName(name + QStringLiteral("Totaux"));
        auto* totals = new TotalsModel(totals_);
        totals->setSourceModel(model_);
        totals_->setModel(totals);
        for (QTableView* view : {rows_, totals_}) {
            view->setEditTriggers(QAbstractItemView::NoEditTriggers);
            view->setSelectionBehavior(QAbstractItemView::SelectRows);
            view->verticalHeader()->setVisible(false);
            view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
            view->verticalHeader()->setDefaultSectionSize(rowHeight());
            view->horizontalHeader()->setHighlightSections(false);
            view->horizontalHeader()->setMinimumSectionSize(1);
        }
        totals_->horizontalHeader()->setVisible(false);
        totals_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        totals_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        totals_->setFocusPolicy(Qt::NoFocus);
        // Should the rows scroll sideways, their totals follow.
        connect(rows_->horizontalScrollBar(), &QScrollBar::valueChanged,
                totals_->horizontalScrollBar(), &QScrollBar::setValue);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(rows_, 1);
        layout->addWidget(totals_);
        totals_->hide();
    }

    QTableView* rows() const { return rows_; }
    QTableView* totals() const { return totals_; }

    void showSheet(Sheet sheet) {
        model_->setSheet(std::move(sheet));
        const Sheet& shown = model_->sheet();
        for (int r = 0; r < shown.rows.size(); ++r)
            rows_->setRowHidden(r, model_->isTotal(r));
        totals_->setVisible(shown.totalRows > 0);
        // The rows' own height, which a style may make taller than asked.
        totals_->setFixedHeight(totals_->verticalHeader()->length() + 2 * totals_->frameWidth());
        measure();
        updateGeometry();
        fitColumns();
    }

    QSize sizeHint() const override { return {chrome() + sum(needed_), 200}; }
    QSize minimumSizeHint() const override {
        const int name = model_->sheet().nameColumn;
        int width = sum(needed_);
        if (name >= 0 && name < needed_.size())
            width -= needed_[name] - std::min(needed_[name], shortestName());
        return {chrome() + width, rows_->horizontalHeader()->sizeHint().height() +
                                      4 * rowHeight() + totals_->height()};
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        fitColumns();
    }

private:
    int rowHeight() const { return rows_->fontMetrics().height() + 6; }
    static int sum(const QList<int>& widths) {
        return std::accumulate(widths.cbegin(), widths.cend(), 0);
    }
    // The width of the frames and of the scroll bar, besides the columns'.
    int chrome() const {
        return 2 * rows_->frameWidth() +
               rows_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, rows_);
    }
    // A name is cut no shorter than a dozen letters.
    int shortestName() const { return rows_->fontMetrics().horizontalAdvance(QString(12, 'n')); }

    // The width each column needs to show its header and every cell whole:
    // the text, the margins the style draws around it, the grid line.
    void measure() {
        const Sheet& sheet = model_->sheet();
        QHeaderView* header = rows_->horizontalHeader();
        const int margin =
            2 * (rows_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, rows_) + 1) +
            2;
        const QFontMetricsF plain(rows_->font(), rows_);
        const QFontMetricsF bold(model_->boldFont(), rows_);
        needed_ = QList<int>(sheet.headers.size(), 0);
        for (int c = 0; c < needed_.size(); ++c) {
            const qreal cells = std::max(widestCell(plain, sheet, c, false),
                                         widestCell(bold, sheet, c, true));
            needed_[c] = std::max(header->sectionSizeHint(c), int(std::ceil(cells)) + margin);
        }
    }

    // The columns share the width shown: the room left over goes to the
    // column of names, or to every column alike; when there is too little,
    // only the names are cut.
    void fitColumns() {
        if (needed_.isEmpty())
            return;
        const int rowsHeight =
            int(model_->sheet().rows.size() - model_->sheet().totalRows) * rowHeight();
        const bool scrolls = rowsHeight > rows_->height() - 2 * rows_->frameWidth() -
                                              rows_->horizontalHeader()->height();
        const int scrollBar =
            scrolls ? rows_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, rows_) : 0;
        const int room = rows_->width() - 2 * rows_->frameWidth() - scrollBar;
        QList<int> widths = needed_;
        const int name = model_->sheet().nameColumn;
        const int spare = room - sum(needed_);
        if (name >= 0 && name < widths.size()) {
            widths[name] = std::max(needed_[name] + spare, std::min(needed_[name], shortestName()));
        } else if (spare > 0) {
            for (int c = 0; c < widths.size(); ++c)
                widths[c] += spare / int(widths.size()) + (c < spare % widths.size() ? 1 : 0);
        }
        for (int c = 0; c < widths.size(); ++c)
            rows_->horizontalHeader()->resizeSection(c, widths[c]);
        // The totals have no scroll bar: their last column reaches under it.
        widths.last() += scrollBar;
        for (int c = 0; c < widths.size(); ++c)
            totals_->horizontalHeader()->resizeSection(c, widths[c]);
    }

    QTableView* rows_;
    QTableView* totals_;
    SheetModel* model_;
    QList<int> needed_;
};

SheetFrame* frameOf(const QTableView* table) {
    return static_cast<SheetFrame*>(table->parentWidget());
}

} // namespace

QTableView* addSheetTable(QWidget* page, const QString& name) {
    return (new SheetFrame(page, name))->rows();
}

void showSheet(QTableView* table, Sheet sheet) {
    frameOf(table)->showSheet(std::move(sheet));
}

QTableView* totalsOf(const QTableView* table) {
    return frameOf(table)->totals();
}

qreal widestCell(const QFontMetricsF& metrics, const Sheet& sheet, int column, bool totals) {
    const qsizetype firstTotal = sheet.rows.size() - sheet.totalRows;
    // Each text's sum of its characters' advances, which shaping (kerning,
    // ligatures) can only make narrower: the texts are measured widest sum
    // first, until no sum left could pass the widest measured.
    std::array<qreal, 256> latin;
    latin.fill(-1);
    QHash<char16_t, qreal> others;
    const auto advance = [&](QChar c) {
        if (c.unicode() < latin.size()) {
            qreal& known = latin[c.unicode()];
            if (known < 0)
                known = metrics.horizontalAdvance(c);
            return known;
        }
        auto found = others.constFind(c.unicode());
        if (found == others.cend())
            found = others.insert(c.unicode(), metrics.horizontalAdvance(c));
        return *found;
    };
    // Each row's sum, kept with its row rather than its text: the texts are
    // made again for the few that are shaped.
    std::vector<std::pair<qreal, qsizetype>> sums;
    for (qsizetype r = totals ? firstTotal : 0; r < (totals ? sheet.rows.size() : firstTotal);
         ++r) {
        if (column >= sheet.rows[r].size())
            continue;
        qreal sum = 0;
        for (const QChar c : cellText(sheet.rows[r][column]))
            sum += advance(c);
        sums.emplace_back(sum, r);
    }
    std::sort(sums.begin(), sums.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    qreal widest = 0;
    for (const auto& [sum, r] : sums) {
        if (sum <= widest)
            break;
        widest = std::max(widest, metrics.horizontalAdvance(cellText(sheet.rows[r][column])));
    }
    return widest;
}

} // namespace vendalise
