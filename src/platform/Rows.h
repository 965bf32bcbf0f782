#pragma once

#include <QList>
#include <QString>

namespace vendalise {

// A row of a list that stands for a record: its text and the number of the
// record (0 for a row that stands for none).
struct Row {
    QString text;
    int data = 0;
};
using Rows = QList<Row>;

// Sorts rows alphabetically without regard to case or accents, once; rows
// of equal text keep their order.
void sortRows(Rows& rows);
// Puts a row into rows sorted so, after the rows of equal text.
void insertSorted(Rows& rows, Row row);
// Replaces row i of rows sorted so (rows of equal text in the order of their
// numbers, as sortRows leaves rows given in that order) by a row with a new
// text, moved to where sortRows would put it.
void replaceSorted(Rows& rows, qsizetype i, Row row);

} // namespace vendalise
