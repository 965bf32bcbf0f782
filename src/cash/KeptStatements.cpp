#include "cash/KeptStatements.h"

#include "platform/DataFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace vendalise {

namespace {

const QString kPendingMark = QStringLiteral("~");

QString baseOf(Register cashRegister) {
    return QFileInfo(ledgerFileOf(cashRegister)).completeBaseName();
}

// "Compta du 05-12-2007.orv", "Compta du 05-12-2007 (2).orv".
const QRegularExpression& namePattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^(~?)(Compta|ComptaBoisson) du (\\d\\d)-(\\d\\d)-(\\d\\d\\d\\d)"
                       "(?: \\((\\d+)\\))?\\.orv$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

struct NameParts {
    bool pending = false;
    Register cashRegister = Register::Material;
    QDate day;
    int n = 1;
};

std::optional<NameParts> partsOf(const QString& name) {
    const QRegularExpressionMatch match = namePattern().match(name);
    if (!match.hasMatch())
        return std::nullopt;
    NameParts parts;
    parts.pending = !match.captured(1).isEmpty();
    parts.cashRegister =
        match.captured(2).compare(baseOf(Register::Drinks), Qt::CaseInsensitive) == 0
            ? Register::Drinks
            : Register::Material;
    parts.day =
        QDate(match.captured(5).toInt(), match.captured(4).toInt(), match.captured(3).toInt());
    parts.n = match.captured(6).isEmpty() ? 1 : match.captured(6).toInt();
    if (!parts.day.isValid() || parts.n < 1)
        return std::nullopt;
    return parts;
}

QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

bool takenIn(const QStringList& names, const QString& name) {
    return names.contains(name, Qt::CaseInsensitive) ||
           names.contains(kPendingMark + name, Qt::CaseInsensitive);
}

// The first name of the day that neither a kept nor a pending copy holds.
QString freeName(const QString& folder, Register cashRegister, QDate day) {
    const QStringList names = namesIn(folder);
    for (int n = 1;; ++n) {
        const QString name = keptStatementName(cashRegister, day, n);
        if (!takenIn(names, name))
            return name;
    }
}

} // namespace

QString keptStatementName(Register cashRegister, QDate day, int n) {
    QString name =
        baseOf(cashRegister) + QStringLiteral(" du ") + day.toString(QStringLiteral("dd-MM-yyyy"));
    if (n > 1)
        name += QStringLiteral(" (%1)").arg(n);
    return name + QStringLiteral(".orv");
}

QList<KeptStatement> keptStatements(const DataFiles& files, Register cashRegister) {
    const QString folder = files.path(kKeptFolder);
    QList<KeptStatement> kept;
    for (const QString& name : namesIn(folder)) {
        const std::optional<NameParts> parts = partsOf(name);
        if (parts && !parts->pending && parts->cashRegister == cashRegister)
            kept.append({folder + QLatin1Char('/') + name, parts->day, parts->n});
    }
    std::sort(kept.begin(), kept.end(), [](const KeptStatement& a, const KeptStatement& b) {
        return a.day != b.day ? a.day < b.day : a.n < b.n;
    });
    return kept;
}

QString keepAndEmpty(const DataFiles& files, Register cashRegister, QDate today) {
    const QString ledger = ledgerFileOf(cashRegister);
    files.checkWritable(ledger);
    // A register without a ledger has nothing to keep: it is made empty.
    if (!QFileInfo::exists(files.path(ledger))) {
        files.replaceFile(ledger, {});
        return {};
    }
    const QByteArray former = files.readText(ledger);
    QString name;
    QString pending;
    QString kept;
    try {
        const QString folder = files.makeFolder(kKeptFolder);
        name = freeName(folder, cashRegister, today);
        pending = folder + QLatin1Char('/') + kPendingMark + name;
        kept = folder + QLatin1Char('/') + name;
        files.copyFile(ledger, pending);
    } catch (const FileError& error) {
        // A copy that reads back otherwise is not kept either.
        if (!pending.isEmpty())
            takeBackQuietly([&] { files.removeFile(pending); });
        // The register stays whole: the statement is refused, and says why.
        throw FileError(error.kind(), error.file(),
                        QStringLiteral("Sa copie n'a pas pu être gardée dans le dossier « ") +
                            kKeptFolder + QStringLiteral(" » : ") + error.description());
    }
    try {
        files.replaceFile(ledger, {});
    } catch (const FileError&) {
        takeBackQuietly([&] { files.removeFile(pending); });
        throw;
    }
    try {
        files.renameFile(pending, kept);
    } catch (const FileError&) {
        // The ledger is put back, so that the statement did not happen.
        takeBackQuietly([&] {
            files.replaceFile(ledger, former);
            files.removeFile(pending);
        });
        throw;
    }
    return name;
}

void completeStatements(const DataFiles& files) {
    const QString folder = files.path(kKeptFolder);
    if (!QFileInfo(folder).isDir())
        return;
    for (const QString& name : namesIn(folder)) {
        const std::optional<NameParts> parts = partsOf(name);
        if (!parts || !parts->pending)
            continue;
        takeBackQuietly([&] {
            const QString pending = folder + QLatin1Char('/') + name;
            const QString ledger = files.path(ledgerFileOf(parts->cashRegister));
            const QByteArray copy = files.readText(pending);
            const QByteArray now =
                QFileInfo::exists(ledger) ? files.readText(ledger) : QByteArray();
            const bool emptied = now.isEmpty() || !now.startsWith(copy);
            if (!emptied) {
                files.removeFile(pending);
                return;
            }
            const QString own = name.mid(kPendingMark.size());
            files.renameFile(pending, folder + QLatin1Char('/') +
                                          (QFileInfo::exists(folder + QLatin1Char('/') + own)
                                               ? freeName(folder, parts->cashRegister, parts->day)
                                               : own));
        });
    }
}

} // namespace vendalise
