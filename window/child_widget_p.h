#pragma once

#include <QString>

#include <memory>
#include <utility>

namespace pictarium {

// A child object made with Qt's usual constructor (arguments, then the
// parent), owned by that parent and named so that tests and people can
// find it.
template <typename Child, typename Parent, typename... Args>
Child* createChild(Parent* parent, const QString& name, Args&&... args) {
    auto child = std::make_unique<Child>(std::forward<Args>(args)..., parent);
    child->setObjectName(name);
    return child.release();  // the parent deletes it
}

}  // namespace pictarium
