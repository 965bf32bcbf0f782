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

// "Compta du 05-12-2007.orv", "es du 05-12-2007 (2).orv", pending or not.
const QRegularExpression& namePattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^(~?)(.+) du (\\d\\d)-(\\d\\d)-(\\d\\d\\d\\d)(?: \\((\\d+)\\))?\\.orv$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

struct NameParts {
    bool pending = false;
    QDate day;
    int n = 1;
};

// The parts of a kept file's name of the kind `base`.
std::optional<NameParts> partsOf(const QString& name, const QString& base) {
    const QRegularExpressionMatch match = namePattern().match(name);
    if (!match.hasMatch() || match.captured(2).compare(base, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    NameParts parts;
    parts.pending = !match.captured(1).isEmpty();
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

// The first name of the day that neither a kept nor a pending file holds.
QString freeName(const QString& folder, const QString& base, QDate day) {
    const QStringList names = namesIn(folder);
    for (int n = 1;; ++n) {
        const QString name = keptName(base, day, n);
        if (!takenIn(names, name))
            return name;
    }
}

// What was made ready for the change goes only once the pending file has
// gone, since what is made ready may be what says the change was not made.
void abandon(const Keeping& keeping) {
    if (keeping.abandon)
        keeping.abandon();
}

} // namespace

QString keptName(const QString& base, QDate day, int n) {
    QString name = base + QStringLiteral(" du ") + day.toString(QStringLiteral("dd-MM-yyyy"));
    if (n > 1)
        name += QStringLiteral(" (%1)").arg(n);
    return name + QStringLiteral(".orv");
}

QString keptStatementName(Register cashRegister, QDate day, int n) {
    return keptName(baseOf(cashRegister), day, n);
}

QList<KeptFile> keptFiles(const DataFiles& files, const QString& base) {
    const QString folder = files.path(kKeptFolder);
    QList<KeptFile> kept;
    for (const QString& name : namesIn(folder)) {
        const std::optional<NameParts> parts = partsOf(name, base);
        if (parts && !parts->pending)
            kept.append({folder + QLatin1Char('/') + name, parts->day, parts->n});
    }
    std::sort(kept.begin(), kept.end(), [](const KeptFile& a, const KeptFile& b) {
        return a.day != b.day ? a.day < b.day : a.n < b.n;
    });
    return kept;
}

QList<KeptStatement> keptStatements(const DataFiles& files, Register cashRegister) {
    return keptFiles(files, baseOf(cashRegister));
}

QString keepWith(const DataFiles& files, const QString& base, QDate today,
                 const Keeping& keeping) {
    QString name;
    QString pending;
    QString kept;
    try {
        const QString folder = files.makeFolder(kKeptFolder);
        name = freeName(folder, base, today);
        pending = folder + QLatin1Char('/') + kPendingMark + name;
        kept = folder + QLatin1Char('/') + name;
        keeping.keep(pending);
    } catch (const FileError& error) {
        // A kept file that reads back otherwise is not kept either.
        takeBackQuietly([&] {
            if (!pending.isEmpty())
                files.removeFile(pending);
            abandon(keeping);
        });
        if (keeping.keepFailure.isEmpty())
            throw;
        throw FileError(error.kind(), error.file(), keeping.keepFailure + error.description());
    }
    try {
        keeping.change();
    } catch (const FileError&) {
        takeBackQuietly([&] {
            files.removeFile(pending);
            abandon(keeping);
        });
        throw;
    }
    try {
        files.renameFile(pending, kept);
    } catch (const FileError&) {
        // The change is undone, so that it did not happen.
        takeBackQuietly([&] {
            keeping.undo();
            files.removeFile(pending);
            abandon(keeping);
        });
        throw;
    }
    return name;
}

bool settlePending(const DataFiles& files, const QString& base,
                   const std::function<bool(const QString& pending)>& changed) {
    const QString folder = files.path(kKeptFolder);
    if (!QFileInfo(folder).isDir())
        return true;
    bool all = true;
    for (const QString& name : namesIn(folder)) {
        const std::optional<NameParts> parts = partsOf(name, base);
        if (!parts || !parts->pending)
            continue;
        bool settled = false;
        takeBackQuietly([&] {
            const QString pending = folder + QLatin1Char('/') + name;
            if (!changed(pending)) {
                files.removeFile(pending);
            } else {
                const QString own = name.mid(kPendingMark.size());
                files.renameFile(pending, folder + QLatin1Char('/') +
                                              (QFileInfo::exists(folder + QLatin1Char('/') + own)
                                                   ? freeName(folder, base, parts->day)
                                                   : own));
            }
            settled = true;
        });
        all = all && settled;
    }
    return all;
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
    // The register stays whole when its copy cannot be kept: the statement
    // is refused, and says why.
    return keepWith(files, baseOf(cashRegister), today,
                    {[&](const QString& pending) { files.copyFile(ledger, pending); },
                     [&] { files.replaceFile(ledger, {}); },
                     [&] { files.replaceFile(ledger, former); },
                     QStringLiteral("Sa copie n'a pas pu être gardée dans le dossier « ") +
                         kKeptFolder + QStringLiteral(" » : ")});
}

void completeStatements(const DataFiles& files) {
    for (const Register cashRegister : {Register::Material, Register::Drinks}) {
        const QString ledger = files.path(ledgerFileOf(cashRegister));
        settlePending(files, baseOf(cashRegister), [&](const QString& pending) {
            const QByteArray copy = files.readText(pending);
            const QByteArray now =
                QFileInfo::exists(ledger) ? files.readText(ledger) : QByteArray();
            return now.isEmpty() || !now.startsWith(copy);
        });
    }
}

} // namespace vendalise
