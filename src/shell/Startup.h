#pragma once

namespace vendalise {

class App;

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
