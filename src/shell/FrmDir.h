#pragma once

#include "core/Window.h"

class QLineEdit;
class QPushButton;

namespace vendalise {

class FolderList;

// The data directory chooser: the folder the user enters becomes the
// current directory at once; "OK" saves it for the next starts; "Création
// des fichiers" creates the data files a new installation needs.
class FrmDir : public Window {
    Q_OBJECT
public:
    explicit FrmDir(App& app);

private:
    void enterShownFolder();
    void openTypedFolder();
    void saveAndHide();
    void createFiles();

    ClickLabel* Label1;
    ClickLabel* Label2;
    ClickLabel* Label3;
    QLineEdit* TextChemin;
    FolderList* Dir1;
    QPushButton* OK;
    QPushButton* Command1;
    QPushButton* Creation;
};

} // namespace vendalise
