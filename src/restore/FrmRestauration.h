#pragma once

#include "core/Window.h"
#include "restore/BackupSets.h"

class QPushButton;
class QTableView;

namespace vendalise {

class BackupSetModel;

// "Restaurer une sauvegarde": the backup sets found, newest first, what
// each file holds, and the restore of the one chosen.
class FrmRestauration : public Window {
    Q_OBJECT
public:
    explicit FrmRestauration(App& app);

    // Lists the sets afresh.
    void refresh();

private:
    void chosen();
    void restore();
    // The set of the current row, read, or null.
    BackupSet* currentSet();

    BackupSetModel* sets_;

    ClickLabel* LabelSauvegardes;
    QTableView* TableSauvegardes;
    ClickLabel* LabelInventaire;
    QPushButton* CmdRestaurer;
    QPushButton* CmdFermer;
};

} // namespace vendalise
