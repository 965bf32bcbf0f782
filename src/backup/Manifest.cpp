#include "backup/Manifest.h"

#include "cash/KeptStatements.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"

#include <QCryptographicHash>
#include <QDir>

namespace vendalise {

namespace {

const QString kHeading = QStringLiteral("Vendalise sauvegarde");
const QString kMadeForm = QStringLiteral("'Faite le' dd/MM/yyyy 'à' HH:mm:ss");

QByteArray checksumOf(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

} // namespace

bool ManifestEntry::matches(const QByteArray& bytes) const {
    return bytes.size() == size && checksumOf(bytes) == checksum;
}

const ManifestEntry* Manifest::find(const QString& name) const {
    for (const ManifestEntry& entry : entries)
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

QStringList Manifest::keptNames() const {
    const QString prefix = kKeptFolder + QLatin1Char('/');
    QStringList names;
    for (const ManifestEntry& entry : entries)
        if (entry.name.startsWith(prefix))
            names.append(entry.name.mid(prefix.size()));
    return names;
}

ManifestEntry manifestEntry(const QString& name, const QByteArray& bytes) {
    return {name, bytes.size(), checksumOf(bytes)};
}

QString keptEntryName(const QString& fileName) {
    return kKeptFolder + QLatin1Char('/') + fileName;
}

QStringList keptFileNames(const QString& folder) {
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (!name.startsWith(QLatin1Char('~')) &&
            name.endsWith(QStringLiteral(".orv"), Qt::CaseInsensitive))
            names.append(name);
    return names;
}

QString manifestText(const Manifest& manifest) {
    QString text = kHeading + QStringLiteral("\r\n") + manifest.made.toString(kMadeForm) +
                   QStringLiteral("\r\n");
    for (const ManifestEntry& entry : manifest.entries)
        text += QString::number(entry.size) + QLatin1Char('\t') +
                QString::fromLatin1(entry.checksum) + QLatin1Char('\t') + entry.name +
                QStringLiteral("\r\n");
    return text;
}

std::optional<Manifest> readManifest(const QByteArray& bytes) {
    QStringList lines;
    DataFiles::forEachLine(bytes, [&](QByteArrayView line) { lines.append(fromCp1252(line)); });
    if (lines.size() < 2 || lines[0] != kHeading)
        return std::nullopt;
    Manifest manifest;
    manifest.made = QDateTime::fromString(lines[1], kMadeForm);
    if (!manifest.made.isValid())
        return std::nullopt;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        bool number = false;
        ManifestEntry entry;
        if (fields.size() == 3)
            entry.size = fields[0].toLongLong(&number);
        if (!number || entry.size < 0 || fields[1].size() != 64 || fields[2].isEmpty())
            return std::nullopt;
        entry.checksum = fields[1].toLatin1();
        entry.name = fields[2];
        manifest.entries.append(entry);
    }
    return manifest;
}

} // namespace vendalise
