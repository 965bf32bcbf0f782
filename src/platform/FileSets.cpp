// Files replaced together. Its part of the contract with the write-point
// roads: every new file is written and put on the disk under a temporary
// name of its own before any file of the set is touched; then the former
// files are moved aside and the new ones renamed into place, their folder
// put on the disk, and only then the former ones removed. A failure undoes
// the renames and removes the temporary files; a crash leaves every file
// of one set or the other, which the next replacement of those names
// sweeps.

#include "platform/DataFiles.h"
#include "platform/Disk.h"
#include "platform/FileSteps.h"

#include <QFileInfo>

namespace vendalise {

namespace {

// "~Bilans - Ventes.csv", the new file until it takes its name, and
// "~Bilans - Ventes.csv.ancien", the former one until the set is in place.
QString temporaryOf(const QString& path) {
    const QFileInfo info(path);
    return info.path() + QStringLiteral("/~") + info.fileName();
}

QString asideOf(const QString& path) {
    return temporaryOf(path) + QStringLiteral(".ancien");
}

bool exists(const QString& path) {
    return QFileInfo::exists(path);
}

// What a crash left of an earlier replacement of the name: its temporary
// file goes; the former file set aside takes its name back when the name
// is free, and goes otherwise (the name holds a whole file of one set).
void sweep(const DataFiles& files, const QString& path) {
    files.removeFile(temporaryOf(path));
    const QString aside = asideOf(path);
    if (!exists(aside))
        return;
    if (exists(path))
        files.removeFile(aside);
    else
        files.renameFile(aside, path);
}

} // namespace

void DataFiles::replaceTogether(const QList<NewFile>& newFiles) const {
    struct Step {
        QString target;
        QString temporary;
        QString aside;
        bool movedAside = false;
        bool placed = false;
    };
    QList<Step> steps;
    for (const NewFile& file : newFiles) {
        const QString target = path(file.path);
        checkRegular(target);
        sweep(*this, target);
        steps.append({target, temporaryOf(target), asideOf(target)});
    }
    try {
        for (qsizetype i = 0; i < steps.size(); ++i)
            writeSynced(*this, steps[i].temporary, newFiles[i].bytes);
        if (!steps.isEmpty())
            syncFolderOf(*this, steps.first().temporary);
        for (Step& step : steps) {
            if (!exists(step.target))
                continue;
            checkFault(FileOp::Rename, step.aside);
            renameOver(step.target, step.aside);
            step.movedAside = true;
        }
        for (Step& step : steps) {
            checkFault(FileOp::Rename, step.target);
            renameOver(step.temporary, step.target);
            step.placed = true;
        }
        if (!steps.isEmpty())
            syncFolderOf(*this, steps.first().target);
    } catch (const FileError&) {
        // The former files back under their names, no new one left.
        for (const Step& step : steps) {
            takeBackQuietly([&] {
                if (step.movedAside)
                    renameOver(step.aside, step.target);
                else if (step.placed)
                    removeFile(step.target);
            });
            takeBackQuietly([&] { removeFile(step.temporary); });
        }
        if (!steps.isEmpty())
            takeBackQuietly([&] { syncFolderOf(*this, steps.first().target); });
        throw;
    }
    // The new set is in place: a former file that cannot be removed is
    // swept by the next replacement.
    for (const Step& step : steps)
        if (step.movedAside)
            takeBackQuietly([&] { removeFile(step.aside); });
}

} // namespace vendalise
