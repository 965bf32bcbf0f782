#pragma once

#include "platform/Services.h"

namespace vendalise {

// Qt's message and input boxes, in French.
class QtMessages : public Messages {
public:
    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    QString input(const QString& prompt, const QString& title, const QString& proposed) override;
    QString saveFileName(const QString& title, const QString& proposed,
                         const QString& filter) override;
    QString folderName(const QString& title, const QString& proposed) override;
};

class QtWindowSystem : public WindowSystem {
public:
    void showModal(QDialog& window) override;

protected:
    void end() override;
};

} // namespace vendalise
