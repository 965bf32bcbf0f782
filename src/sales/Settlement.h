#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <stdexcept>

namespace vendalise {

class App;

// The settlement entry of ledger line n: today's date, the member, the
// quantity, the product at its price of today.
QString settlementEntryOf(App& app, int n);

// Writes the paid flag of ledger line n. With an entry (a settlement), the
// entry is appended to the register of the line's product first and `shown`
// is called once it is; when the record cannot be written the entry is
// taken back. The table changes only once the record is written. Returns
// where the entry was appended (-1 without one).
qint64 writeLineFlag(App& app, int n, qint16 paid, const QString& entry,
                     const std::function<void()>& shown);

// Marks every line of member m paid, all or nothing: the settlement entries
// of the owed lines, in ledger order, go to their registers (one append per
// register), then the ledger is replaced in one step. When a write fails the
// appends already made are taken back and nothing changes.
struct Settled {
    // What was appended to each register, and where (-1 for nothing).
    QString texts[2];
    qint64 at[2] = {-1, -1};
};
Settled settleMember(App& app, int m);

// The ledger holds more lines than its table: a deletion is refused.
class LedgerBeyondTable : public std::runtime_error {
public:
    LedgerBeyondTable() : std::runtime_error("ledger beyond table") {}
};

// Replaces the ledger by the lines of the table kept (their numbers, in
// order), through "~ES.orv" renamed over "es.orv" in one step, the lines
// removed kept first in "Relevés" (replaceLedgerKeeping).
void keepLines(App& app, const QList<int>& kept);

} // namespace vendalise
