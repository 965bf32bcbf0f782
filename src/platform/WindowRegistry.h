#pragma once

#include "platform/Form.h"

#include <QPointer>

#include <functional>
#include <typeindex>
#include <unordered_map>

namespace vendalise {

// Keeps one instance of each window: created on first use, kept while it is
// only hidden, forgotten when its close box discards it, so that the next
// use creates it afresh with its controls as designed.
class WindowRegistry {
public:
    WindowRegistry() = default;
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;
    ~WindowRegistry();

    template <class W> W& get(const std::function<W*()>& make) {
        QPointer<Form>& slot = windows_[std::type_index(typeid(W))];
        if (!slot)
            slot = adopt(make());
        return static_cast<W&>(*slot);
    }

    // The existing window whose objectName (its class name) is given.
    Form* find(const QString& name) const;
    // Every existing window.
    QList<Form*> all() const;

private:
    Form* adopt(Form* window);
    std::unordered_map<std::type_index, QPointer<Form>> windows_;
};

} // namespace vendalise
