#pragma once

#include "platform/RecordTable.h"
#include "platform/Rows.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace vendalise {

class App;
class DataFiles;
struct MemberTable;
struct Product;
struct ProductTable;

// "es.orv": 20-byte records: the date as 10 cp1252 characters padded with
// blanks, the product and member numbers as 16-bit integers, the quantity
// as a single-precision value, and the paid flag (-1 paid, 0 owed), all
// little-endian. A line's number is the number of its record.
inline constexpr int kLedgerRecordLength = 20;
inline constexpr int kLedgerDateWidth = 10;
// Where a record holds its paid flag.
inline constexpr int kLedgerPaidAt = 18;
inline constexpr qint16 kPaid = -1;
inline constexpr qint16 kOwed = 0;

struct LedgerLine {
    QString date; // the 10-character field with its trailing blanks
    qint16 product = 0;
    qint16 member = 0;
    float quantity = 0;
    qint16 paid = kOwed;
    bool isPaid() const { return paid == kPaid; }
};

// The ledger table, indexed by line number.
struct LedgerTable : RecordTable<LedgerLine> {
    // Line n, or an empty line for a number the table does not hold.
    const LedgerLine& line(int n) const { return entry(n); }
};

// The sales' part of the shared state: the ledger table and the line
// chosen in the operations window. ChargeVentes also sets every member's
// debt, which the members' part holds for the member window.
class Sales : public QObject {
    Q_OBJECT
public:
    LedgerTable ledger;
    // The records the table was decoded from: a reload decodes only the
    // records that changed. The records read before those are kept as the
    // room the next reload reads into.
    QByteArray ledgerBytes;
    QByteArray spareBytes;

    // The operations list's text of every line, as last built, with what
    // the texts were made from (every line, product name and member name):
    // a refill after a purchase only adds the new line's text.
    struct LineRows {
        Rows rows;
        QList<LedgerLine> lines;
        QStringList products;
        QStringList members;
    } lineRows;
    // The ledger line chosen in the operations window, 0 for none.
    qint16 currentLine = 0;

Q_SIGNALS:
    // MajVentes: the operations list is to show every line again.
    void salesListed();
};

QByteArray ledgerRecord(const LedgerLine& line);
LedgerLine ledgerLineOf(QByteArrayView record);

// Sets the paid flag of line n in the table and in the records it was
// decoded from, after the file was written so.
void setLinePaid(Sales& sales, int n, qint16 paid);
// The records of the table as the file held them, or an empty array when
// they are not known.
QByteArrayView tableRecords(const Sales& sales);

// Reads the ledger (at most as many lines as a table holds) into the table
// and returns the whole records the file holds. When the table was decoded
// from `decoded`, only the records that differ from it are decoded again;
// decoded becomes what was read.
// `spare`, when given, is the room the records are read into, and gets the
// records decoded before.
qint64 loadLedger(const DataFiles& files, LedgerTable& ledger, QByteArray* decoded = nullptr,
                  QByteArray* spare = nullptr);

// What a ledger line is worth: its quantity at the product's current unit
// price, in double precision rounded to single.
float lineValue(const LedgerLine& line, const Product& product);

// Every member's debt: the owed lines at the products' unit prices, in file
// order, each product and sum in double precision rounded to single. A line
// naming no product or member of the tables counts for nothing.
QList<float> memberDebts(const LedgerTable& ledger, const ProductTable& products, int memberCount);
// The same into `debts`, whose room is used again.
void fillMemberDebts(QList<float>& debts, const LedgerTable& ledger, const ProductTable& products,
                     int memberCount);

// Reloads the ledger and recomputes the debts; a failure keeps the previous
// table. Returns the whole records the file holds.
qint64 ChargeVentes(App& app);

// The rows of the operations list for every ledger line, each carrying its
// line number.
const Rows& allLineRows(App& app);

// Sets the current ledger line to 0 and has the operations list show every
// line, whatever its check boxes say.
void MajVentes(App& app);

// The texts of line n: in the operations list, and in a client's view with
// its amount.
QString ledgerLineText(App& app, int n);
QString clientLineText(App& app, int n);
// The amount of line n: unit price × quantity (0 for an unknown product).
float lineAmount(App& app, int n);

} // namespace vendalise
