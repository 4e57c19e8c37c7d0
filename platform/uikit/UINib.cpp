// The nib registry and instantiation with awakeFromNib.
#include "uikit/UINib.h"

#include <map>

#include "foundation/Exception.h"
#include "foundation/MainThreadChecker.h"
#include "uikit/UIView.h"
#include "uikit/UIViewController.h"

namespace uikit {
namespace {

void requireMainForNib() { foundation::requireMainThread("UINib is used from the main thread only"); }

std::map<std::string, UINib::Factory>& registry() {
    static std::map<std::string, UINib::Factory> nibs;
    return nibs;
}

}  // namespace

void UINib::awakeViewTree(const std::shared_ptr<UIView>& view) {
    if (!view) return;
    // Copied: an awakeFromNib may add or remove subviews.
    const auto subviews = view->subviews();
    for (const auto& subview : subviews) awakeViewTree(subview);
    view->awakeFromNib();
}

void UINib::registerNib(const std::string& name, Factory factory) {
    requireMainForNib();
    registry()[name] = std::move(factory);
}

void UINib::unregisterNib(const std::string& name) {
    requireMainForNib();
    registry().erase(name);
}

bool UINib::hasNibNamed(const std::string& name) {
    requireMainForNib();
    return registry().count(name) != 0;
}

std::shared_ptr<UINib> UINib::nibWithNibName(const std::string& name) {
    requireMainForNib();
    auto found = registry().find(name);
    if (found == registry().end() || !found->second)
        foundation::raise(foundation::kInternalInconsistencyException,
                          "Could not load NIB in bundle with name '" + name + "'");
    return std::make_shared<UINib>(name, found->second);
}

std::vector<foundation::ObjectPtr> UINib::loadNibNamed(const std::string& name, const foundation::ObjectPtr& owner) {
    return nibWithNibName(name)->instantiateWithOwner(owner);
}

std::vector<foundation::ObjectPtr> UINib::instantiateWithOwner(const foundation::ObjectPtr& owner) const {
    requireMainForNib();
    auto objects = factory_(owner);
    for (const auto& object : objects) {
        if (auto controller = std::dynamic_pointer_cast<UIViewController>(object)) {
            if (controller->isMadeFromInterfaceFile()) continue;
            controller->markMadeFromInterfaceFile();
            controller->awakeFromNib();
        } else if (auto view = std::dynamic_pointer_cast<UIView>(object)) {
            awakeViewTree(view);
        }
    }
    return objects;
}

}  // namespace uikit
