#include "cash/CashEntries.h"

#include "platform/Cp1252.h"
#include "platform/DataFiles.h"

namespace vendalise {

namespace {

// The date follows " le "; a sale or settlement goes on with " par : ".
void readFirstLine(ReadEntry& entry, const QString& line) {
    static const QString sale = QStringLiteral("Achat effectué le ");
    static const QString settlement = QStringLiteral("Achat réglé le ");
    static const QString correction = QStringLiteral("Correction de caisse");
    static const QString by = QStringLiteral(" par : ");
    qsizetype dateAt = -1;
    if (line.startsWith(sale)) {
        entry.kind = ReadEntry::Kind::Sale;
        dateAt = sale.size();
    } else if (line.startsWith(settlement)) {
        entry.kind = ReadEntry::Kind::Settlement;
        dateAt = settlement.size();
    } else if (line.startsWith(correction)) {
        static const QString done = QStringLiteral(" effectué le ");
        const qsizetype le = line.indexOf(done);
        if (le >= 0) {
            entry.kind = ReadEntry::Kind::Correction;
            entry.date = line.mid(le + done.size()).trimmed();
        }
        return;
    } else {
        return;
    }
    const qsizetype byAt = line.indexOf(by, dateAt);
    entry.date = line.mid(dateAt, byAt < 0 ? -1 : byAt - dateAt).trimmed();
    if (byAt >= 0)
        entry.who = line.mid(byAt + by.size()).trimmed();
}

} // namespace

float ReadEntry::amount() const {
    float sum = 0;
    for (const double value : amounts)
        sum = addAmount(sum, value);
    return sum;
}

QList<ReadEntry> readCashEntries(const QByteArray& ledgerText, Register cashRegister) {
    static const QString designation = QStringLiteral("Nombre et désignation : ");
    QList<ReadEntry> entries;
    entries.reserve(ledgerText.size() / 150 + 1);
    int lineInEntry = 0;
    DataFiles::forEachLine(ledgerText, [&](QByteArrayView bytes) {
        if (bytes.isEmpty()) {
            // A correction's label may be empty: its line is the entry's second.
            if (lineInEntry == 1 && entries.last().kind == ReadEntry::Kind::Correction)
                lineInEntry = 2;
            else
                lineInEntry = 0;
            return;
        }
        if (lineInEntry == 0) {
            entries.append(ReadEntry{});
            readFirstLine(entries.last(), fromCp1252(bytes));
        }
        ReadEntry& entry = entries.last();
        if (lineInEntry == 1) {
            const QString line = fromCp1252(bytes);
            if (entry.kind == ReadEntry::Kind::Correction)
                entry.who = line;
            else if (line.startsWith(designation))
                entry.product = line.mid(designation.size()).trimmed();
        }
        const LineAmounts amounts = amountsOfLine(bytes, cashRegister);
        for (int i = 0; i < amounts.count; ++i)
            entry.amounts.append(amounts.values[i]);
        ++lineInEntry;
    });
    return entries;
}

} // namespace vendalise
