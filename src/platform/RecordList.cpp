#include "platform/RecordList.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace vendalise {

void RowModel::setRows(Rows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void RowModel::appendRows(const Rows& rows) {
    if (rows.isEmpty())
        return;
    beginInsertRows({}, static_cast<int>(rows_.size()),
                    static_cast<int>(rows_.size() + rows.size() - 1));
    rows_.append(rows);
    endInsertRows();
}

int RowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant RowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const Row& row = rows_[index.row()];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return row.text;
    if (role == Qt::UserRole)
        return row.data;
    return {};
}

RecordList::RecordList(QWidget* parent, bool sorted) : QListView(parent), sorted_(sorted) {
    setModel(&model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void RecordList::setRows(Rows rows) {
    if (sorted_)
        sortRows(rows);
    model_.setRows(std::move(rows));
}

void RecordList::setSortedRows(Rows rows) {
    model_.setRows(std::move(rows));
}

void RecordList::chooseRow(int i) {
    if (i < 0 || i >= count())
        return;
    const QModelIndex index = model_.index(i);
    setCurrentIndex(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
    Q_EMIT chosen(i);
}

int RecordList::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

int RecordList::selectedData() const {
    const int row = selectedRow();
    return row < 0 ? 0 : rows().value(row).data;
}

void RecordList::clearChoice() {
    selectionModel()->clearSelection();
    setCurrentIndex({});
}

void RecordList::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        Q_EMIT chosen(index.row());
}

void RecordList::keyPressEvent(QKeyEvent* event) {
    const int before = currentIndex().row();
    QListView::keyPressEvent(event);
    const int after = currentIndex().row();
    if (after >= 0 && after != before)
        Q_EMIT chosen(after);
}

RecordCombo::RecordCombo(QWidget* parent) : QComboBox(parent), model_(new RowModel(this)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setModel(model_);
    connect(this, &QComboBox::activated, this, [this](int i) { Q_EMIT chosen(i); });
}

void RecordCombo::setRows(Rows rows) {
    sortRows(rows);
    const QString text = currentText();
    model_->setRows(std::move(rows));
    setCurrentIndex(-1);
    setEditText(text);
}

} // namespace vendalise
