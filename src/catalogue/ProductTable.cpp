#include "catalogue/ProductTable.h"

#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "platform/RecordFields.h"

#include <algorithm>

namespace vendalise {

QByteArray productRecord(QStringView name, float price, float stock) {
    QByteArray record = textField(name, kProductNameWidth);
    appendFloat(record, price);
    appendFloat(record, stock);
    return record;
}

int loadProductTable(ProductTable& table) {
    const Records records = readRecords(kProductFile, kProductRecordLength);
    const int count = std::min(records.count(), kMaxRecords);
    ProductTable loaded;
    loaded.names.reserve(count + 1);
    loaded.prices.reserve(count + 1);
    loaded.stocks.reserve(count + 1);
    for (int n = 1; n <= count; ++n) {
        const QByteArrayView record = records.record(n);
        loaded.names.append(textAt(record, 0, kProductNameWidth));
        loaded.prices.append(floatAt(record, kProductNameWidth));
        loaded.stocks.append(floatAt(record, kProductNameWidth + 4));
    }
    loaded.count = count;
    table = std::move(loaded);
    return records.count();
}

} // namespace vendalise
