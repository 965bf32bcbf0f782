#pragma once

#include <QIcon>
#include <QPixmap>

namespace vendalise {

// The pictures of the picture buttons, drawn by the program itself so that
// they look the same on every desktop.
QIcon stockPicture();
QIcon drinksRegisterPicture();
QIcon materialRegisterPicture();
QIcon backupPicture();
QIcon inventoryPicture();
QIcon bilansPicture();
QIcon restorePicture();
QIcon exitPicture();
QIcon printerPicture();
// The register windows' correction, sum and statement buttons.
QIcon correctionPicture();
QIcon sumPicture();
QIcon statementPicture();
// The buy button of the purchase window.
QIcon basketPicture();
// The program's own icon: a basket and a coin on a blue square.
QIcon programPicture();
// The two pictures under the register buttons.
QPixmap bottlePicture(int size);
QPixmap shirtPicture(int size);

} // namespace vendalise
