#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/DataFiles.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace vendalise {

using namespace Qt::Literals::StringLiterals;

// Each test gets a fresh empty folder as the program's current directory
// (the process's own working directory is left alone).
class InScratchDir : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.isValid());
        ASSERT_TRUE(files.setCurrent(scratch_.path()));
    }

    QString pathOf(const QString& name) const { return scratch_.filePath(name); }
    void writeBytes(const QString& name, const QByteArray& bytes) const {
        QFile file(pathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray bytesOf(const QString& name) const {
        QFile file(pathOf(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }
    // Everything in the folder, temporary files included.
    QStringList entries() const {
        return QDir(scratch_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    DataFiles files;

private:
    QTemporaryDir scratch_;
};

} // namespace vendalise
