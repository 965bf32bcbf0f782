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

    // Lists the sets afresh, with the last backup's folder.
    void refresh();

private:
    // Lists the sets of the data folder and of the backup folder.
    void list();
    void showSets(QList<BackupSet> sets);
    // Another folder, such as a key brought from another PC, looked in
    // for a set.
    void chooseFolder();
    void chosen();
    void restore();
    // The set of the current row, read, or null.
    BackupSet* currentSet();

    BackupSetModel* sets_;
    QString backupFolder_;

    ClickLabel* LabelSauvegardes;
    QTableView* TableSauvegardes;
    ClickLabel* LabelInventaire;
    QPushButton* CmdDossier;
    QPushButton* CmdRestaurer;
    QPushButton* CmdFermer;
};

} // namespace vendalise
