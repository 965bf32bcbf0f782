#include "catalogue/ProductTable.h"

#include "core/Names.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "platform/RecordFields.h"

namespace vendalise {

QByteArray productRecord(QStringView name, float price, float stock) {
    QByteArray record = textField(name, kProductNameWidth);
    appendFloat(record, price);
    appendFloat(record, stock);
    return record;
}

qint64 loadProductTable(const DataFiles& files, ProductTable& table) {
    const Records records = files.readRecords(kProductFile, kProductRecordLength, kMaxRecords);
    ProductTable loaded;
    loaded.products.reserve(records.count() + 1);
    for (int n = 1; n <= records.count(); ++n) {
        const QByteArrayView record = records.record(n);
        loaded.products.append({textAt(record, 0, kProductNameWidth),
                                floatAt(record, kProductNameWidth),
                                floatAt(record, kProductNameWidth + 4)});
    }
    table = std::move(loaded);
    return records.fileRecords();
}

} // namespace vendalise
