#pragma once

#include "platform/Services.h"

#include <QString>

namespace vendalise {

// The application's name: the settings store's, and the title of a message
// given none.
inline const QString kApplicationName = QStringLiteral("Vendalise");

// The folder of the data files when none has been chosen: C:\Vendalise on
// Windows, the folder Vendalise in the user's home folder elsewhere. The
// backup folder proposed when none is stored: the floppy drive a:\ on
// Windows, the user's home folder elsewhere. Both in the system's form.
DefaultFolders systemDefaultFolders();

// The native per-user store (the registry on Windows, an INI file in the
// user's configuration folder elsewhere), or a given INI file.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore() = default;
    explicit QtSettingsStore(const QString& iniFile) : iniFile_(iniFile) {}
    QString value(const QString& section, const QString& key, const QString& defaultValue) override;
    bool setValue(const QString& section, const QString& key, const QString& value) override;

private:
    QString iniFile_;
};

class SystemClock : public Clock {
public:
    QDate today() override;
    QTime time() override;
};

// The system's short date form, as QDate writes it ("dd/MM/yyyy" on a French
// PC): the form in which the PC wrote the dates of the data files.
QString systemShortDateForm();

} // namespace vendalise
