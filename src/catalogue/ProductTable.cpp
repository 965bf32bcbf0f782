#include "catalogue/ProductTable.h"

#include "core/Names.h"
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

qint64 loadProductTable(const DataFiles& files, ProductTable& table) {
    const Records records = files.readRecords(kProductFile, kProductRecordLength, kMaxRecords);
    ProductTable loaded;
    loaded.records.reserve(records.count() + 1);
    for (int n = 1; n <= records.count(); ++n) {
        const QByteArrayView record = records.record(n);
        loaded.records.append({textAt(record, 0, kProductNameWidth),
                               floatAt(record, kProductNameWidth),
                               floatAt(record, kProductNameWidth + 4)});
    }
    table = std::move(loaded);
    return records.fileRecords();
}

int appendProduct(const DataFiles& files, QStringView name, float price, float stock) {
    RecordFile file(files, kProductFile, kProductRecordLength);
    if (file.count() >= kMaxRecords)
        throw TableFull(kProductFile);
    return file.append(productRecord(name, price, stock));
}

void writeProduct(const DataFiles& files, int n, QStringView name, float price, float stock) {
    RecordFile file(files, kProductFile, kProductRecordLength);
    file.write(n, productRecord(name, price, stock));
}

Product readProduct(const DataFiles& files, int n) {
    RecordFile file(files, kProductFile, kProductRecordLength);
    const QByteArray record = file.read(n);
    return {textAt(record, 0, kProductNameWidth), floatAt(record, kProductNameWidth),
            floatAt(record, kProductNameWidth + 4)};
}

bool isUnlabelled(const QString& name) {
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c == QLatin1Char(' '); });
}

float stockValue(const ProductTable& table) {
    float value = 0;
    for (int n = 1; n <= table.count(); ++n) {
        const Product& product = table[n];
        if (!isUnlabelled(product.name))
            value = static_cast<float>(double(value) + double(product.price) * product.stock);
    }
    return value;
}

float productValue(const Product& product) {
    return static_cast<float>(double(product.price) * product.stock);
}

} // namespace vendalise
