#pragma once

#include <QList>

namespace vendalise {

// The records of a file of fixed-length records, indexed by record number
// from 1. Entry 0 is an empty record: it stands for any number the table
// does not hold, such as one that a record of a file not written by this
// program names.
template <class Record> struct RecordTable {
    QList<Record> records{Record{}};

    int count() const { return static_cast<int>(records.size()) - 1; }
    // Whether n is the number of a record of the table.
    bool holds(int n) const { return n >= 1 && n <= count(); }
    const Record& operator[](int n) const { return records[n]; }
    Record& operator[](int n) { return records[n]; }

protected:
    // Record n, or the empty entry 0 when the table does not hold n.
    const Record& entry(int n) const { return records[holds(n) ? n : 0]; }
};

} // namespace vendalise
