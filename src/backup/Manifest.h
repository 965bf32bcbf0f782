#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The manifest of a backup set: what the set holds, written last, so that a
// set is known whole when its manifest is there and every file matches it.
namespace vendalise {

// Beside the copies of the backup folder and in a folder "Avant
// restauration du ..."; the dated set's is "Sauvegarde.txt du 05-12-07"
// beside its dated copies (the date suffix after it, as theirs).
inline const QString kManifestFile = QStringLiteral("Sauvegarde.txt");

struct ManifestEntry {
    // A copy's name ("es.orv"), or a kept file's ("Relevés/Compta du 05-12-2007.orv").
    QString name;
    qint64 size = 0;
    QByteArray checksum; // SHA-256, in hexadecimal
    bool matches(const QByteArray& bytes) const;
};

struct Manifest {
    QDateTime made;
    QList<ManifestEntry> entries;
    const ManifestEntry* find(const QString& name) const;
    // The kept files it lists, by their names in the folder "Relevés".
    QStringList keptNames() const;
};

ManifestEntry manifestEntry(const QString& name, const QByteArray& bytes);
// The entry name of a file of the folder "Relevés".
QString keptEntryName(const QString& fileName);
// The kept files of a folder "Relevés" (a path), by name: its ".orv" files
// but the pending copies ("~...") that start-up settles (a temporary file
// that a crash left is none); none for a missing folder.
QStringList keptFileNames(const QString& folder);

// As written: cp1252 text, lines ending in CR LF.
QString manifestText(const Manifest& manifest);
// nullopt for a text that is not a manifest.
std::optional<Manifest> readManifest(const QByteArray& bytes);

} // namespace vendalise
