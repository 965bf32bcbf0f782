#pragma once

namespace vendalise {

class App;

// The start-up of the whole program, before the main window is shown: reads
// the settings, settles the data directory and makes it current, loads the
// shared tables. A missing data file or folder leads to the data directory
// chooser, then to a retry of the step that failed.
void startUp(App& app);

// Sets the hooks by which a window reaches a floor above its own: the
// member window's "Boutique" shows the purchase window, and a restore reads
// every table again (reloadTables).
void connectHooks(App& app);

// Reads every table and fills every list again, as start-up does, each step
// told when it fails; the inventory is read when its window opens.
void reloadTables(App& app);

// Starts the program and shows its main window until the program ends.
void runProgram(App& app);

} // namespace vendalise
