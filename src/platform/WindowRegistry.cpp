#include "platform/WindowRegistry.h"

namespace vendalise {

WindowRegistry::~WindowRegistry() {
    for (auto& [type, window] : windows_)
        delete window.data();
}

Form* WindowRegistry::adopt(Form* window) {
    window->fitCaptions();
    QObject::connect(window, &Form::discarded, window, [this, window] {
        for (auto& [type, slot] : windows_) {
            if (slot == window)
                slot.clear();
        }
        // Deleted once control is back in the event loop: the window may
        // still be on the call stack.
        window->deleteLater();
    });
    return window;
}

Form* WindowRegistry::find(const QString& name) const {
    for (const auto& [type, window] : windows_) {
        if (window && window->objectName() == name)
            return window.data();
    }
    return nullptr;
}

QList<Form*> WindowRegistry::all() const {
    QList<Form*> list;
    for (const auto& [type, window] : windows_) {
        if (window)
            list.append(window.data());
    }
    return list;
}

} // namespace vendalise
