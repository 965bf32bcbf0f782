// The fault seam. Its part of the contract with the write-point roads:
// every operation on a data file names itself here (FileOp and the path)
// before it is made, which is how a road counts the write operations of an
// operation, fails the k-th, kills the program right after it, or leaves
// the folder as a power cut would; the opening of a file for reading names
// itself too, so that a reading can be failed but is not counted.

#include "platform/DataFiles.h"

namespace vendalise {

std::optional<QString> DataFiles::fault(FileOp op, const QString& path) const {
    // A write may change the names of a folder: a listing kept is listed
    // again.
    if (op != FileOp::OpenRead && op != FileOp::ReadBack)
        listing_.reset();
    if (!faults_)
        return std::nullopt;
    return faults_(op, path);
}

void DataFiles::checkFault(FileOp op, const QString& path) const {
    if (const std::optional<QString> description = fault(op, path))
        throw FileError(FileError::Kind::Other, path, *description);
}

} // namespace vendalise
