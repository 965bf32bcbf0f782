#pragma once

#include "catalogue/Catalogue.h"
#include "core/Window.h"

class QCheckBox;
class QPushButton;

namespace vendalise {

class RecordList;
class TextField;

// The stock window: the products with their stock, adding, relabelling and
// modifying a product, the filter by threshold, the stock value and the
// stock report.
class FrmStock : public Window {
    Q_OBJECT
public:
    explicit FrmStock(App& app);

    // The filter box unticked, which refills the lists by its rule, as the
    // main window's "Stock" opens the window.
    void clearFilter();
    // The filter rule, as a change of the filter box runs it.
    void refillByFilter();

private:
    void showLists(Catalogue::Fill fill);
    void chooseProduct(int row);
    void addProduct();
    void modifyProduct();
    void printReport();

    // The product the last click chose, 0 for none.
    int chosen_ = 0;

    RecordList* ListProduits;
    ClickLabel* Label3;
    ClickLabel* Label5;
    ClickLabel* Valeurstock;
    ClickLabel* Label1;
    ClickLabel* Label2;
    ClickLabel* Label4;
    TextField* TextProduit;
    TextField* TextPU;
    TextField* TextStock;
    QPushButton* AjoutProduit;
    ClickLabel* LabelPasAjout;
    QPushButton* RenomeProduit;
    QPushButton* BtnImprimer;
    QPushButton* Fin;
    QCheckBox* Acommander;
    TextField* TextPlancher;
};

} // namespace vendalise
