#pragma once

#include "platform/DataFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

// The fuzzed bytes as a data file in a folder of its own, for the readers
// that read files.
inline vendalise::DataFiles& filesHolding(const QString& name, const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    static vendalise::DataFiles files;
    if (files.current().isEmpty() && (!folder.isValid() || !files.setCurrent(folder.path())))
        std::abort();
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    return files;
}
