#pragma once

#include "core/Window.h"

#include <QStringList>

class QCheckBox;
class QFrame;
class QPushButton;

namespace vendalise {

class RecordCombo;
class RecordList;
class TextField;

// The operations window: the sales ledger line by line, all lines or the
// owed ones, for everyone or for one client, and the debtors with the
// amount still to recover.
class FrmES : public Window {
    Q_OBJECT
public:
    explicit FrmES(App& app);
    // Refills the operations list for the state of the check boxes.
    void MajEs();
    // The client view for the member of the current ledger line.
    void MajClient();

private:
    void fillClients();
    // The ledger line texts of every line, or of the owed ones.
    void listLines(bool owedOnly);
    void buildClientView(int member);
    void showBracket();
    void chooseLine(int row);
    void chooseClient(int row);
    void showDebts();
    void fillDebts();
    void backToSales();
    // "Dettes seulement" as a click on it would refresh the list.
    void refreshForDebtsBox();

    // The operations of FrmESOperations.cpp.
    void settleLine();
    void settleDebts();
    void deleteLines();
    void printReport();

    // What the last client view collected, for printing.
    QStringList clientReport_;
    float clientTotal_ = 0;
    int clientOfView_ = 0;

    RecordList* ListES;
    RecordList* ListDettes;
    ClickLabel* Label1;
    TextField* TextDate;
    ClickLabel* Label2;
    TextField* TextNom;
    ClickLabel* ARecouvrer;
    ClickLabel* Label3;
    TextField* TextQté;
    TextField* TextDésignation;
    QPushButton* BtnES;
    QPushButton* BtnDette;
    QCheckBox* CheckPayé;
    QCheckBox* CheckDettes;
    QPushButton* BtnMaj;
    QPushButton* Command1;
    QPushButton* BtnReglement;
    QPushButton* BtnImprimer;
    QPushButton* Sortie;
    QCheckBox* Client;
    RecordCombo* ComboClient;
    QFrame* Line1;
    QFrame* Line2;
};

} // namespace vendalise
