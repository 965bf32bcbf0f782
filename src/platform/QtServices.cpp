#include "platform/QtServices.h"

#include "platform/QtSettings.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

namespace vendalise {

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

QString QtMessages::saveFileName(const QString& title, const QString& proposed,
                                 const QString& filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, proposed, filter);
}

QString QtMessages::folderName(const QString& title, const QString& proposed) {
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, proposed);
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
