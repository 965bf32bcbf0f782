// Text appended at the end of a file (the cash ledgers, the inventory),
// and cut back. Its part of the contract with the write-point roads: an
// append is one write, put on the disk; one that fails is cut back to the
// file's former length before its failure is thrown; a cut-back, the
// take-back of an operation that failed later, is itself put on the disk.

#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/FileSteps.h"

namespace vendalise {

qint64 DataFiles::appendText(const QString& name, QStringView text) const {
    checkWritable(name);
    QFile file(path(name));
    checkFault(FileOp::OpenWrite, file.fileName());
    openCreating(*this, file, QIODevice::ReadWrite | QIODevice::Unbuffered);
    const qint64 before = file.size();
    writeAtEnd(*this, file, before, toCp1252(text));
    return before;
}

void DataFiles::cutBack(const QString& name, qint64 length) const {
    checkWritable(name);
    QFile file(path(name));
    checkFault(FileOp::Resize, file.fileName());
    openOrThrow(file, QIODevice::ReadWrite | QIODevice::Unbuffered);
    if (!file.resize(length))
        throwIoError(file);
    syncWritten(*this, file);
}

} // namespace vendalise
