// Base of the objects with identity that travel inside a Value (models, HTTP
// responses, managed objects). Objects are reference counted through
// std::shared_ptr; equality is identity unless a class says otherwise.
#pragma once

#include <memory>
#include <string>

namespace foundation {

class Object : public std::enable_shared_from_this<Object> {
public:
    virtual ~Object() = default;
    // The name the class is known by in archives, logs and class registries.
    virtual std::string className() const { return "NSObject"; }
    // The text that "%@" prints for this object.
    virtual std::string description() const;
    virtual bool isEqual(const Object& other) const { return this == &other; }
};

using ObjectPtr = std::shared_ptr<Object>;

}  // namespace foundation
