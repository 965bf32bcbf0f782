// The figures on any bytes: the cash entries and their dates read from a
// ledger's text, the sales ledger's records, the tables and the CSV made of
// them. The entries' amounts must add up to the register total.
#include "bilans/Export.h"
#include "bilans/Figures.h"
#include "platform/NumberForm.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vendalise;
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    BilanSources sources;
    sources.today = QDate(2007, 12, 5);
    for (const Register r : {Register::Material, Register::Drinks}) {
        float sum = 0;
        for (ReadEntry& entry : readCashEntries(text, r)) {
            for (const double value : entry.amounts)
                sum = addAmount(sum, value);
            const std::optional<QDate> date = readDateText(entry.date, QStringLiteral("M/d/yy"));
            sources.entries[int(r)].append({std::move(entry), date, false});
        }
        const float total = registerTotal(text, r);
        if (sum != total && !(sum != sum && total != total))
            std::abort();
    }
    for (qsizetype at = 0; at + kLedgerRecordLength <= text.size() && at < 2000;
         at += kLedgerRecordLength) {
        const LedgerLine line = ledgerLineOf(QByteArrayView(text).sliced(at, kLedgerRecordLength));
        sources.ledger.records.append(line);
    }
    sources.lineDates.resize(sources.ledger.count() + 1);
    for (int n = 1; n <= sources.ledger.count(); ++n)
        sources.lineDates[n] = readDateText(sources.ledger[n].date, QStringLiteral("d.M.yyyy"));
    const Bilan bilan = makeBilan(sources, Period::season(sources.today));
    for (const Sheet& sheet : bilanSheets(bilan))
        (void)csvText(sheet);
    return 0;
}
