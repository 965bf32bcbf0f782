#pragma once

#include <QString>

namespace vendalise {

// The shell's part of the shared state.
struct ShellState {
    // The folder of the data files for this run, as start-up settled it.
    QString dataDirectory;
    // The data directory chooser has created the empty data files.
    bool filesCreated = false;
};

} // namespace vendalise
