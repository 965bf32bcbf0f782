#pragma once

#include "core/Window.h"

class QPushButton;

namespace vendalise {

// The main window: a menu from which every other window is opened modally.
class FrmORV : public Window {
    Q_OBJECT
public:
    explicit FrmORV(App& app);

    // The data directory of this run, in LblDir (shown by a click on Label2).
    void showDataDirectory(const QString& directory);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void clearAccess();
    void openMembers();
    void openStock();
    void openOperations();
    void openBilans();
    void openRestore();
    void chooseDirectory();

    ClickLabel* Label1;
    QPushButton* NewAdh;
    QPushButton* BtnStock;
    QPushButton* BtnSorties;
    QPushButton* CmdCaisseBoisson;
    QPushButton* SommeCaisses;
    QPushButton* CmdCompta;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* CmdBilans;
    QPushButton* CmdRestauration;
    QPushButton* Fin;
    ClickLabel* Image1;
    ClickLabel* Image2;
    ClickLabel* LblDir;
    ClickLabel* CeJour;
    ClickLabel* Label2;
    ClickLabel* ActiverPsw;
};

} // namespace vendalise
