#pragma once

#include <QString>

#include <optional>

namespace vendalise {

class App;

// The settings' values as start-up reads them: "True" or a number other
// than 0 is true; a whole number of 16 bits, rounded half to even, or
// nullopt when the text is no number or out of range.
bool readBoolean(const QString& text);
std::optional<qint16> readInteger16(const QString& text);

// The start-up of the whole program, before the main window is shown: reads
// the settings, settles the data directory and makes it current, loads the
// shared tables. A missing data file or folder leads to the data directory
// chooser, then to a retry of the step that failed.
void startUp(App& app);

// Lets the member window's "Boutique" show the purchase window.
void connectShop(App& app);

// Starts the program and shows its main window until the program ends.
void runProgram(App& app);

} // namespace vendalise
