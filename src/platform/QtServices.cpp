#include "platform/QtServices.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace vendalise {

DefaultFolders systemDefaultFolders() {
#ifdef Q_OS_WIN
    return {QStringLiteral("C:\\Vendalise"), QStringLiteral("a:\\")};
#else
    return {QDir::homePath() + QStringLiteral("/Vendalise"), QDir::homePath()};
#endif
}

Answer QtMessages::message(const QString& text, const QString& title, Icon icon, Buttons buttons) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? kApplicationName : title);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (buttons == Buttons::Ok) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return Answer::Ok;
    }
    QPushButton* yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

QString QtMessages::input(const QString& prompt, const QString& title, const QString& proposed) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title.isEmpty() ? kApplicationName : title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(proposed);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
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

void QtWindowSystem::showModal(QDialog& window) {
    window.exec();
}

void QtWindowSystem::end() {
    // Every file is closed and every setting written when an operation ends,
    // so the process may stop here, even from inside a modal window.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace vendalise
