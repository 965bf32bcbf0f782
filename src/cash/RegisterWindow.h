#pragma once

#include "cash/CashLedger.h"
#include "core/Window.h"

class QPushButton;

namespace vendalise {

// A cash register's window: its ledger as its list shows it, and the
// buttons of its operations.
class RegisterWindow : public Window {
    Q_OBJECT
protected:
    // Positions in twips, as left, top, width, height.
    struct Layout {
        QString name;
        QString title;
        int width;
        int height;
        QString heading;
        QRect headingAt;
        QString listName;
        QRect listAt;
        int printWidth;
        QString exitName;
    };
    RegisterWindow(App& app, Register cashRegister, const Layout& layout);

private:
    void showRows(Register filled);
    void sum();
    void statement();
    void correction();
    void print();

    const Register cashRegister;

    ClickLabel* Label1;
    RecordList* list;
    QPushButton* CmdAjustement;
    QPushButton* CmdSomme;
    QPushButton* CmdReleve;
    QPushButton* BtnImprimer;
    // "Fin" in the material window, "CmdExit" in the drinks window.
    QPushButton* exit;
    ClickLabel* Image1;
};

// The material register, "Compta.orv".
class Compta : public RegisterWindow {
    Q_OBJECT
public:
    explicit Compta(App& app);
};

// The drinks register, "ComptaBoisson.orv".
class ComptaBoisson : public RegisterWindow {
    Q_OBJECT
public:
    explicit ComptaBoisson(App& app);
};

} // namespace vendalise
