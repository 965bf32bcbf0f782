#pragma once

#include "catalogue/Catalogue.h"
#include "core/Window.h"

class QCheckBox;
class QPushButton;

namespace vendalise {

class RecordList;
class TextField;

// The purchase window: a member buys a product.
class FrmAchat : public Window {
    Q_OBJECT
public:
    explicit FrmAchat(App& app);

    // The buyer's name, shown above the products.
    void setBuyer(const QString& buyer);

private:
    void showList(Catalogue::Fill fill);
    void resetChoice();
    void chooseProduct(int row);
    void buy();

    ClickLabel* Label1;
    ClickLabel* Acheteur;
    RecordList* ListProduits;
    ClickLabel* LabelProduit;
    ClickLabel* Label4;
    ClickLabel* LabelStock;
    ClickLabel* Label2;
    ClickLabel* LabelPU;
    ClickLabel* Label3;
    TextField* TextQté;
    QCheckBox* CheckPayé;
    QPushButton* Achat;
    QPushButton* Abandon;
};

} // namespace vendalise
