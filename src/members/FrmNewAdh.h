#pragma once

#include "core/Window.h"

class QPushButton;

namespace vendalise {

class RecordList;
class TextField;

// The member window: the members with their debts, a new member, a member
// renamed, and the way into the shop for the chosen member.
class FrmNewAdh : public Window {
    Q_OBJECT
public:
    explicit FrmNewAdh(App& app);

    // The fields emptied and every member listed, as the main window's
    // "Achats" opens the window.
    void showMembers();

private:
    void chooseMember(int row);
    void addMember();
    void renameMember();
    void enterShop();

    RecordList* ListAdhérents;
    ClickLabel* Label3;
    ClickLabel* Label1;
    TextField* TextNom;
    ClickLabel* Label2;
    TextField* TextPrénom;
    ClickLabel* Label4;
    // The hint, on two lines.
    ClickLabel* Label5[2];
    TextField* TextSolde;
    QPushButton* AjoutAdh;
    QPushButton* SupAdh;
    QPushButton* Achat;
    QPushButton* Fin;
};

} // namespace vendalise
