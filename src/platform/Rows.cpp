#include "platform/Rows.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vendalise {

namespace {

// The base letter of each character of the Latin blocks, in small letters:
// "É" and "é" give "e".
const std::array<char16_t, 0x250>& latinBases() {
    static const std::array<char16_t, 0x250> bases = [] {
        std::array<char16_t, 0x250> table{};
        for (char16_t c = 0; c < table.size(); ++c) {
            const QString decomposed = QString(QChar(c)).normalized(QString::NormalizationForm_D);
            table[c] = decomposed.isEmpty() ? c : decomposed[0].toCaseFolded().unicode();
        }
        return table;
    }();
    return bases;
}

// The primary key of the order: the text without accents, in small letters.
QString sortKey(const QString& text) {
    const auto& bases = latinBases();
    QString key(text.size(), Qt::Uninitialized);
    QChar* out = key.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        *out++ = QChar(u < bases.size() ? bases[u] : c.toCaseFolded().unicode());
    }
    return key;
}

struct Keyed {
    QString key;
    qsizetype at;
};

bool before(const Keyed& a, const QString& aText, const Keyed& b, const QString& bText) {
    if (const int c = a.key.compare(b.key); c != 0)
        return c < 0;
    return QString::compare(aText, bText, Qt::CaseInsensitive) < 0;
}

} // namespace

void sortRows(Rows& rows) {
    std::vector<Keyed> keys;
    keys.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        keys.push_back({sortKey(rows[i].text), i});
    std::stable_sort(keys.begin(), keys.end(), [&rows](const Keyed& a, const Keyed& b) {
        return before(a, rows[a.at].text, b, rows[b.at].text);
    });
    Rows sorted;
    sorted.reserve(rows.size());
    for (const Keyed& k : keys)
        sorted.append(std::move(rows[k.at]));
    rows = std::move(sorted);
}

void insertSorted(Rows& rows, Row row) {
    const Keyed key{sortKey(row.text), 0};
    // After the rows it does not come before, as a stable sort would put it.
    const auto at = std::partition_point(rows.begin(), rows.end(), [&](const Row& other) {
        return !before(key, row.text, Keyed{sortKey(other.text), 0}, other.text);
    });
    rows.insert(at, std::move(row));
}

void replaceSorted(Rows& rows, qsizetype i, Row row) {
    rows.removeAt(i);
    const Keyed key{sortKey(row.text), 0};
    const auto at = std::partition_point(rows.begin(), rows.end(), [&](const Row& other) {
        const Keyed otherKey{sortKey(other.text), 0};
        if (before(otherKey, other.text, key, row.text))
            return true;
        return !before(key, row.text, otherKey, other.text) && other.data < row.data;
    });
    rows.insert(at, std::move(row));
}

} // namespace vendalise
