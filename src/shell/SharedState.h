#pragma once

#include "catalogue/ProductTable.h"
#include "members/MemberTable.h"

#include <QString>

namespace vendalise {

// What every window shares for the whole run.
struct SharedState {
    // Data entry has been granted; several events clear it again.
    bool accessGranted = false;
    // Copy of the stored password.
    QString password;
    // The folder of the data files for this run, as start-up settled it.
    QString dataDirectory;
    // Stock level at or below which a product is to be ordered.
    qint16 threshold = 0;
    // Answer code of the last yes/no question: 6 yes, 7 no (0 before any).
    quint8 lastAnswer = 0;
    // The data directory chooser has created the empty data files.
    bool filesCreated = false;
    // The sales ledger line chosen in the operations window, 0 for none.
    qint16 currentLine = 0;

    MemberTable members;
    ProductTable products;
};

} // namespace vendalise
