#pragma once

#include <QtGlobal>

namespace vendalise {

// The sales ledger's part of the shared state.
struct Sales {
    // The ledger line chosen in the operations window, 0 for none.
    qint16 currentLine = 0;
};

} // namespace vendalise
