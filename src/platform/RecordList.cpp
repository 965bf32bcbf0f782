#include "platform/RecordList.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>

namespace vendalise {

namespace {

// The text without accents and in one case: the primary key of the order.
QString sortKey(const QString& text) {
    QString key = text.normalized(QString::NormalizationForm_D);
    key.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return key.toCaseFolded();
}

} // namespace

void sortRows(Rows& rows) {
    struct Keyed {
        QString key;
        QString folded;
        qsizetype at;
    };
    std::vector<Keyed> keys;
    keys.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        keys.push_back({sortKey(rows[i].text), rows[i].text.toCaseFolded(), i});
    std::stable_sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) {
        if (const int c = a.key.compare(b.key); c != 0)
            return c < 0;
        return a.folded < b.folded;
    });
    Rows sorted;
    sorted.reserve(rows.size());
    for (const Keyed& k : keys)
        sorted.append(std::move(rows[k.at]));
    rows = std::move(sorted);
}

void RowModel::setRows(Rows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
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

int RecordList::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
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

void RecordList::clearSelection() {
    selectionModel()->clear();
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

void RecordCombo::chooseRow(int i) {
    if (i < 0 || i >= count())
        return;
    setCurrentIndex(i);
    Q_EMIT activated(i);
}

} // namespace vendalise
