// Files of fixed-length records opened for one operation that writes:
// single records read and rewritten, appended, and an append taken back.
// Its part of the contract with the write-point roads: a rewrite that
// fails puts the former record back, an append that fails is cut back to
// where it began (a partial record it wrote over put back), and a
// take-back is put on the disk, so that after a failed step the file is
// byte for byte as before it; every step that wrote is on the disk before
// the next.

#include "platform/DataFiles.h"
#include "platform/FileSteps.h"

#include <algorithm>
#include <climits>

namespace vendalise {

Records::Records(QByteArray bytes, int recordLength, qint64 fileRecords)
    : bytes_(std::move(bytes)), recordLength_(recordLength),
      count_(static_cast<int>(bytes_.size() / recordLength)), fileRecords_(fileRecords) {}

QByteArrayView Records::record(int n) const {
    Q_ASSERT(n >= 1 && n <= count_);
    return QByteArrayView(bytes_).sliced(qsizetype(n - 1) * recordLength_, recordLength_);
}

RecordFile::RecordFile(const DataFiles& files, const QString& name, int recordLength)
    : files_(files), recordLength_(recordLength) {
    files.checkWritable(name);
    file_.setFileName(files.path(name));
    files.checkFault(FileOp::OpenWrite, file_.fileName());
    // Unbuffered, so that a write that fails is seen at once and cannot
    // reach the disk later, when the file is closed.
    openCreating(files, file_, QIODevice::ReadWrite | QIODevice::Unbuffered);
}

int RecordFile::count() const {
    return static_cast<int>(std::min<qint64>(file_.size() / recordLength_, INT_MAX));
}

QByteArray RecordFile::read(int n) {
    if (n < 1 || n > count())
        throw FileError(FileError::Kind::Other, file_.fileName(),
                        QStringLiteral("Enregistrement %1 absent").arg(n));
    if (!file_.seek(qint64(n - 1) * recordLength_))
        throwIoError(file_);
    QByteArray record = file_.read(recordLength_);
    if (record.size() != recordLength_)
        throwIoError(file_);
    return record;
}

void RecordFile::write(int n, QByteArrayView record) {
    Q_ASSERT(record.size() == recordLength_);
    const qint64 at = qint64(n - 1) * recordLength_;
    if (n < 1 || !file_.seek(at))
        throwIoError(file_);
    // A rewrite that fails puts the former record back: it must be read
    // whole first (all of it that the file holds, for a record at or past
    // its end), or a failed write would cut the file there.
    const qint64 held = std::clamp<qint64>(file_.size() - at, 0, recordLength_);
    files_.checkFault(FileOp::ReadBack, file_.fileName());
    const QByteArray former = file_.read(recordLength_);
    if (former.size() != held)
        throwIoError(file_);
    try {
        writeAt(files_, file_, at, record);
    } catch (const FileError&) {
        if (file_.seek(at) && file_.write(former) == former.size())
            file_.flush();
        if (former.size() < recordLength_)
            file_.resize(at + former.size());
        syncQuietly(file_);
        throw;
    }
}

int RecordFile::append(QByteArrayView record) {
    Q_ASSERT(record.size() == recordLength_);
    const int n = count() + 1;
    const qint64 at = qint64(n - 1) * recordLength_;
    // A partial record at the end is written over; a failure puts it back.
    QByteArray tail;
    if (file_.size() > at && file_.seek(at))
        tail = file_.readAll();
    try {
        writeAtEnd(files_, file_, at, record);
    } catch (const FileError&) {
        if (!tail.isEmpty() && file_.seek(at) && file_.write(tail) == tail.size()) {
            file_.flush();
            syncQuietly(file_);
        }
        throw;
    }
    appendedAt_ = at;
    tail_ = std::move(tail);
    return n;
}

void RecordFile::takeBack() {
    if (appendedAt_ < 0)
        return;
    files_.checkFault(FileOp::Resize, file_.fileName());
    if (!file_.resize(appendedAt_))
        throwIoError(file_);
    if (!tail_.isEmpty()) {
        if (!file_.seek(appendedAt_))
            throwIoError(file_);
        writeAll(file_, tail_);
    }
    syncWritten(files_, file_);
    appendedAt_ = -1;
    tail_.clear();
}

} // namespace vendalise
