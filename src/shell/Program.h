#pragma once

namespace vendalise {

// Runs Vendalise on the real platform: Qt's message boxes, the user's
// settings store, the system printer and clock. Needs a QApplication.
int runVendalise();

} // namespace vendalise
