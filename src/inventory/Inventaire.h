#pragma once

#include "core/Window.h"
#include "inventory/Inventory.h"

#include <functional>

class QPushButton;

namespace vendalise {

class RecordList;

// The free inventory: its lines in alphabetical order, adding, removing,
// the count and the print.
class Inventaire : public Window {
    Q_OBJECT
public:
    explicit Inventaire(App& app);

    // Loads the file the first time the window is shown.
    void loadOnce();

private:
    void load();
    void add();
    void remove(const QString& text);
    void print();
    // Runs a write of the file; a failure is told and gives false.
    bool writeInventory(const std::function<void()>& write);

    Inventory table_;
    bool loaded_ = false;

    ClickLabel* LblTitre;
    ClickLabel* LabelNbElements;
    RecordList* ListInventaire;
    TextField* TextArticle;
    QPushButton* BtnImprimer;
    QPushButton* FinInventaire;
    QPushButton* Ajout;
    QPushButton* Sup;
};

} // namespace vendalise
