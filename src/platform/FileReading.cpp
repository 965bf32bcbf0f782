// Whole files read in one go: a record file's records, a text and its
// lines. Its part of the contract with the write-point roads: reading is
// no write point (the roads count none here), but each opening asks the
// fault seam (OpenRead), so that a scenario can fail it; a record file
// that is missing is created empty, its folder synced, as any creation.

#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/FileSteps.h"

namespace vendalise {

void DataFiles::checkReadable(const QString& name) const {
    QFile file(path(name));
    checkFault(FileOp::OpenRead, file.fileName());
    openOrThrow(file, QIODevice::ReadOnly);
}

void DataFiles::ensureFile(const QString& name) const {
    QFile file(path(name));
    openForReading(*this, file);
}

Records DataFiles::readRecords(const QString& name, int recordLength, int maxRecords,
                               QByteArray storage) const {
    QFile file(path(name));
    openForReading(*this, file);
    const qint64 fileRecords = file.size() / recordLength;
    const qint64 wanted = std::min<qint64>(fileRecords, maxRecords) * recordLength;
    QByteArray bytes = std::move(storage);
    bytes.resize(wanted);
    qint64 got = 0;
    while (got < wanted) {
        const qint64 n = file.read(bytes.data() + got, wanted - got);
        if (n <= 0)
            break;
        got += n;
    }
    QByteArray partial;
    if (got == wanted && fileRecords <= maxRecords)
        partial = file.read(recordLength);
    if (file.error() != QFileDevice::NoError)
        throwIoError(file);
    bytes.truncate(got);
    Records records(std::move(bytes), recordLength, fileRecords);
    records.setPartial(std::move(partial));
    return records;
}

QByteArray DataFiles::readText(const QString& name) const {
    QFile file(path(name));
    checkFault(FileOp::OpenRead, file.fileName());
    openOrThrow(file, QIODevice::ReadOnly);
    if (file.size() > kMaxTextBytes)
        throw FileError(FileError::Kind::Other, file.fileName(),
                        QStringLiteral("Le fichier est trop volumineux (%1 octets) pour être lu")
                            .arg(file.size()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throwIoError(file);
    return bytes;
}

QStringList DataFiles::readLines(const QString& name, qint64* bytesRead) const {
    const QByteArray bytes = readText(name);
    QStringList lines;
    forEachLine(bytes, [&](QByteArrayView line) { lines.append(fromCp1252(line)); });
    if (bytesRead)
        *bytesRead = bytes.isEmpty() || bytes.endsWith("\r\n") ? bytes.size() : -1;
    return lines;
}

} // namespace vendalise
