#include "platform/QtSettings.h"

#include <QDir>
#include <QLocale>
#include <QSettings>

#include <memory>

namespace vendalise {

DefaultFolders systemDefaultFolders() {
#ifdef Q_OS_WIN
    return {QStringLiteral("C:\\Vendalise"), QStringLiteral("a:\\")};
#else
    return {QDir::homePath() + QStringLiteral("/Vendalise"), QDir::homePath()};
#endif
}

namespace {

std::unique_ptr<QSettings> openSettings(const QString& iniFile) {
    if (!iniFile.isEmpty())
        return std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       kApplicationName, kApplicationName);
}

// The stored spelling of a name that matches without regard to case.
QString storedSpelling(const QStringList& names, const QString& wanted) {
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

} // namespace

QString QtSettingsStore::value(const QString& section, const QString& key,
                               const QString& defaultValue) {
    const auto settings = openSettings(iniFile_);
    const QString group = storedSpelling(settings->childGroups(), section);
    if (group.isEmpty())
        return defaultValue;
    settings->beginGroup(group);
    const QString name = storedSpelling(settings->childKeys(), key);
    if (name.isEmpty())
        return defaultValue;
    return settings->value(name).toString();
}

bool QtSettingsStore::setValue(const QString& section, const QString& key, const QString& value) {
    const auto settings = openSettings(iniFile_);
    const QString group = storedSpelling(settings->childGroups(), section);
    settings->beginGroup(group.isEmpty() ? section : group);
    const QString name = storedSpelling(settings->childKeys(), key);
    settings->setValue(name.isEmpty() ? key : name, value);
    settings->endGroup();
    settings->sync();
    return settings->status() == QSettings::NoError;
}

QDate SystemClock::today() {
    return QDate::currentDate();
}

QTime SystemClock::time() {
    return QTime::currentTime();
}

QString systemShortDateForm() {
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

} // namespace vendalise
