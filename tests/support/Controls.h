#pragma once

#include <QWidget>

#include <stdexcept>

namespace vendalise::testing {

// The control of a window with this objectName, as a user finds it by its
// caption. A window without it throws, which fails the test.
template <class Control> Control& control(QWidget& window, const QString& name) {
    auto* found = window.findChild<Control*>(name);
    if (!found)
        throw std::logic_error("no control " + name.toStdString() + " of the right kind in " +
                               window.objectName().toStdString());
    return *found;
}

} // namespace vendalise::testing
