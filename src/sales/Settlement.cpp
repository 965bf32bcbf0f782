#include "sales/Settlement.h"

#include "cash/CashLedger.h"
#include "catalogue/Catalogue.h"
#include "core/App.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "platform/DataFiles.h"
#include "platform/NumberForm.h"
#include "platform/RecordFields.h"
#include "sales/KeptDeletions.h"
#include "sales/Ledger.h"

#include <QFileInfo>

#include <climits>

namespace vendalise {

namespace {

const Product& productOfLine(App& app, const LedgerLine& line) {
    return app.part<Catalogue>().table.product(line.product);
}

// The entry of line n settled on the day `today`.
QString settlementEntryOn(App& app, int n, const QString& today) {
    const LedgerLine& line = app.part<Sales>().ledger[n];
    const Member& member = app.part<Members>().table.member(line.member);
    const Product& product = productOfLine(app, line);
    return settlementEntry(today, blanksTrimmed(member.firstName), blanksTrimmed(member.name),
                           blanksTrimmed(numberForm(line.quantity)), blanksTrimmed(product.name),
                           product.price, lineValue(line, product));
}

} // namespace

QString settlementEntryOf(App& app, int n) {
    return settlementEntryOn(app, n, dateText(app.sys.clock.today()));
}

qint64 writeLineFlag(App& app, int n, qint16 paid, const QString& entry,
                     const std::function<void()>& shown) {
    RecordFile ledger(app.files, kLedgerFile, kLedgerRecordLength);
    QByteArray record = ledger.read(n);
    record[kLedgerPaidAt] = static_cast<char>(paid & 0xFF);
    record[kLedgerPaidAt + 1] = static_cast<char>((paid >> 8) & 0xFF);
    qint64 at = -1;
    Register cashRegister = Register::Material;
    if (!entry.isEmpty()) {
        cashRegister = registerOf(productOfLine(app, app.part<Sales>().ledger[n]).name);
        at = appendCashEntry(app, cashRegister, entry);
        if (shown)
            shown();
    }
    try {
        ledger.write(n, record);
    } catch (...) {
        if (at >= 0)
            takeBackQuietly([&] { app.files.cutBack(ledgerFileOf(cashRegister), at); });
        throw;
    }
    setLinePaid(app.part<Sales>(), n, paid);
    return at;
}

Settled settleMember(App& app, int m) {
    Sales& sales = app.part<Sales>();
    const LedgerTable& table = sales.ledger;
    // Read into the room the next reload reads into, and given back to it.
    Records records =
        app.files.readRecords(kLedgerFile, kLedgerRecordLength, INT_MAX / kLedgerRecordLength,
                              std::move(sales.spareBytes));
    const int count = records.count();
    const QByteArray partial = records.partial();
    QByteArray bytes = std::move(records).takeBytes();
    Settled settled;
    QString* entries = settled.texts;
    bool changed = false;
    const QString today = dateText(app.sys.clock.today());
    for (int r = 1; r <= count; ++r) {
        char* record = bytes.data() + qsizetype(r - 1) * kLedgerRecordLength;
        if (int16At(QByteArrayView(record, kLedgerRecordLength), 12) != m)
            continue;
        if (int16At(QByteArrayView(record, kLedgerRecordLength), kLedgerPaidAt) != kPaid) {
            record[kLedgerPaidAt] = record[kLedgerPaidAt + 1] = char(0xFF);
            changed = true;
        }
        if (r <= table.count() && table[r].paid == kOwed) {
            const Register cashRegister = registerOf(productOfLine(app, table[r]).name);
            entries[int(cashRegister)] += settlementEntryOn(app, r, today) + QStringLiteral("\r\n");
        }
    }
    qint64* at = settled.at;
    try {
        for (const Register cashRegister : {Register::Material, Register::Drinks}) {
            const QString& text = entries[int(cashRegister)];
            if (!text.isEmpty())
                at[int(cashRegister)] = app.files.appendText(ledgerFileOf(cashRegister), text);
        }
        // Every other byte stays, a partial record at the end included.
        if (changed)
            app.files.replaceFile(kLedgerFile, partial.isEmpty() ? bytes : bytes + partial);
    } catch (...) {
        for (const Register cashRegister : {Register::Material, Register::Drinks}) {
            if (at[int(cashRegister)] >= 0)
                takeBackQuietly(
                    [&] { app.files.cutBack(ledgerFileOf(cashRegister), at[int(cashRegister)]); });
        }
        throw;
    }
    for (int r = 1; r <= sales.ledger.count(); ++r) {
        if (sales.ledger[r].member == m)
            setLinePaid(sales, r, kPaid);
    }
    sales.spareBytes = std::move(bytes);
    return settled;
}

void keepLines(App& app, const QList<int>& kept) {
    const LedgerTable& table = app.part<Sales>().ledger;
    const QFileInfo file(app.files.path(kLedgerFile));
    if (file.exists() && file.size() / kLedgerRecordLength > table.count())
        throw LedgerBeyondTable();
    // The records as the file held them, where they are known.
    const QByteArrayView records = tableRecords(app.part<Sales>());
    const auto recordOf = [&](int i) {
        return records.isEmpty()
                   ? ledgerRecord(table[i])
                   : records.sliced(qsizetype(i - 1) * kLedgerRecordLength, kLedgerRecordLength)
                         .toByteArray();
    };
    QByteArray bytes;
    QByteArray removed;
    bytes.reserve(qsizetype(kept.size()) * kLedgerRecordLength);
    // The kept numbers are in order: the lines between them are removed.
    qsizetype next = 0;
    for (int i = 1; i <= table.count(); ++i) {
        if (next < kept.size() && kept[next] == i) {
            bytes += recordOf(i);
            ++next;
        } else {
            removed += recordOf(i);
        }
    }
    replaceLedgerKeeping(app.files, bytes, removed, app.sys.clock.today());
}

} // namespace vendalise
