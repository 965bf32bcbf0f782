#include "backup/BackupNames.h"

#include "catalogue/ProductTable.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "platform/NumberForm.h"
#include "sales/Ledger.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace vendalise {

namespace {

// In the order of the backup; the messages spell the two ledgers otherwise.
const std::array<BackedUpFile, kBackedUpCount> kFiles{{
    {kLedgerFile, QStringLiteral("es.orv"), QStringLiteral("es.orv"), kLedgerRecordLength},
    {kProductFile, QStringLiteral("Produits.orv"), QStringLiteral("Produits.orv"),
     kProductRecordLength},
    {kMemberFile, QStringLiteral("Adhérents.orv"), QStringLiteral("Adhérents.orv"),
     kMemberRecordLength},
    {kMaterialLedgerFile, QStringLiteral("compta.orv"), QStringLiteral("Compta.orv"), 0},
    {kDrinksLedgerFile, QStringLiteral("ComptaBoisson.orv"), QStringLiteral("comptaBoisson.orv"),
     0},
}};

const QString kBeforeRestore = QStringLiteral("Avant restauration du ");
const QString kBeforeRestoreTime = QStringLiteral("dd-MM-yyyy HH'h'mm");

} // namespace

const std::array<BackedUpFile, kBackedUpCount>& backedUpFiles() {
    return kFiles;
}

const BackedUpFile& backedUp(BackedUp file) {
    return kFiles[size_t(file)];
}

int backedUpIndex(QStringView copyName) {
    for (int f = 0; f < kBackedUpCount; ++f)
        if (copyName.compare(kFiles[size_t(f)].copy, Qt::CaseInsensitive) == 0)
            return f;
    return -1;
}

QString DateMF(QDate today) {
    const QString date = dateText(today);
    return QStringLiteral(" du ") + date.mid(0, 2) + QLatin1Char('-') + date.mid(3, 2) +
           QLatin1Char('-') + date.right(2);
}

std::optional<Dated> readDatedName(QStringView name) {
    // Most names of a data directory are dated copies: told apart without
    // a pattern. " du dd-mm-yy" is 12 characters.
    constexpr qsizetype kLength = 12;
    if (name.size() <= kLength)
        return std::nullopt;
    const QStringView suffix = name.right(kLength);
    if (!suffix.startsWith(u" du ") || suffix[6] != u'-' || suffix[9] != u'-')
        return std::nullopt;
    const auto number = [&](int at) {
        const char16_t tens = suffix[at].unicode(), units = suffix[at + 1].unicode();
        if (tens < u'0' || tens > u'9' || units < u'0' || units > u'9')
            return -1;
        return (tens - u'0') * 10 + (units - u'0');
    };
    const int year = number(10);
    const QDate day(year < 70 ? 2000 + year : 1900 + year, number(7), number(4));
    if (year < 0 || !day.isValid())
        return std::nullopt;
    return Dated{day, name.size() - kLength};
}

QString beforeRestoreName(const QDateTime& when, int n) {
    const QString name = kBeforeRestore + when.toString(kBeforeRestoreTime);
    return n > 1 ? name + QStringLiteral(" (%1)").arg(n) : name;
}

QString freeBeforeRestoreName(const QString& dataFolder, const QDateTime& when) {
    for (int n = 1;; ++n) {
        const QString name = beforeRestoreName(when, n);
        if (!QFileInfo::exists(dataFolder + QLatin1Char('/') + name))
            return name;
    }
}

std::optional<QDateTime> readBeforeRestoreName(const QString& name) {
    static const QRegularExpression form(
        QStringLiteral("^Avant restauration du (\\d\\d)-(\\d\\d)-(\\d\\d\\d\\d) "
                       "(\\d\\d)h(\\d\\d)(?: \\(\\d+\\))?$"));
    if (!name.startsWith(kBeforeRestore))
        return std::nullopt;
    const QRegularExpressionMatch match = form.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime when(
        QDate(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt()),
        QTime(match.captured(4).toInt(), match.captured(5).toInt()));
    if (!when.isValid())
        return std::nullopt;
    return when;
}

RestoreState restoreState(const DataFiles& files) {
    // Always this spelling: no other is looked for, so that a start finds in
    // one look that there is nothing to do.
    const QString work = files.current() + QLatin1Char('/') + kRestoreWorkFolder;
    if (!QFileInfo(work).isDir())
        return RestoreState::None;
    if (QFileInfo::exists(files.current() + QLatin1Char('/') + kRestoreJournal))
        return RestoreState::Pending;
    return RestoreState::Leftovers;
}

} // namespace vendalise
