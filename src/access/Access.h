#pragma once

#include <QString>

namespace vendalise {

// The reserved access's part of the shared state.
struct Access {
    // Data entry has been granted; several events clear it again.
    bool granted = false;
    // Copy of the stored password.
    QString password;
};

} // namespace vendalise
