// What a page of a details screen may answer to its container: the shown
// object after a save, and named actions the container forwards to the page
// shown at an index. A page answers only what it implements.
#pragma once

#include <memory>
#include <string>

#include "foundation/Object.h"

namespace coredata {
class ManagedObject;
}

class DetailsPageProtocol {
public:
    virtual ~DetailsPageProtocol() = default;

    // Whether the page fills itself from the container's object.
    virtual bool implementsUpdateUIContentForObject() const { return false; }
    virtual void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) { (void)object; }

    // Whether the page answers the named action.
    virtual bool respondsToPageSelector(const std::string& selector) const {
        (void)selector;
        return false;
    }
    virtual void performPageSelector(const std::string& selector, const foundation::ObjectPtr& object) {
        (void)selector;
        (void)object;
    }
};
