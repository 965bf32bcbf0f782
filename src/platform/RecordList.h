#pragma once

#include "platform/Rows.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QListView>

namespace vendalise {

// The rows of a list or combo box, set in one go.
class RowModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    void setRows(Rows rows);
    // Adds rows after the last one, keeping the others.
    void appendRows(const Rows& rows);
    const Rows& rows() const { return rows_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    Rows rows_;
};

// A list of rows, sorted by text or kept in the order given. Rows are set in
// one go (sorting once), so that a refill of 32767 rows stays fast. A row
// chosen by the user's click or keys, or by the program, is told by chosen().
class RecordList : public QListView {
    Q_OBJECT
public:
    RecordList(QWidget* parent, bool sorted);

    void setRows(Rows rows);
    // Rows already in the list's order (sorted by sortRows).
    void setSortedRows(Rows rows);
    // Rows added at the end of an unsorted list.
    void appendRows(const Rows& rows) { model_.appendRows(rows); }
    void clear() { setRows({}); }
    const Rows& rows() const { return model_.rows(); }
    int count() const { return static_cast<int>(model_.rows().size()); }

    // Selects row i as the user's choice would, and tells it.
    void chooseRow(int i);
    // The selected row, -1 for none; and the record number it carries.
    int selectedRow() const;
    int selectedData() const;
    // No row is selected any more.
    void clearChoice();

Q_SIGNALS:
    void chosen(int row);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    RowModel model_;
    bool sorted_;
};

// A drop-down combo box of rows, sorted by text. Choosing a row (the user's
// choice) is told by chosen(); setting the shown row from the program is not.
class RecordCombo : public QComboBox {
    Q_OBJECT
public:
    explicit RecordCombo(QWidget* parent);
    void setRows(Rows rows);
    const Rows& rows() const { return model_->rows(); }

Q_SIGNALS:
    void chosen(int row);

private:
    RowModel* model_;
};

} // namespace vendalise
