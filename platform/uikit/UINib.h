// Interface files, in C++: a registry of nibs by name, each a factory that
// makes the file's top-level objects (views, table cells, or a controller's
// views with the outlets set on the owner it is given). Per-idiom files are
// simply separate names ("TutorialPage" / "TutorialPage_iPhone"); the caller
// picks the name. Every object the file made hears awakeFromNib once it is
// whole — subviews before the views holding them — and controllers among them
// count as made from an interface file; the owner is not one of them.
// Asking for an unknown nib raises a foundation::Exception naming it. Main
// thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Object.h"

namespace uikit {

class UIView;

class UINib : public foundation::Object {
public:
    // Makes the top-level objects, in the file's order; the owner may be null.
    using Factory = std::function<std::vector<foundation::ObjectPtr>(const foundation::ObjectPtr& owner)>;

    // Registers (or replaces) the nib of that name.
    static void registerNib(const std::string& name, Factory factory);
    static void unregisterNib(const std::string& name);
    static bool hasNibNamed(const std::string& name);
    // Raises when no nib of that name is registered.
    static std::shared_ptr<UINib> nibWithNibName(const std::string& name);
    // The same as nibWithNibName(name)->instantiateWithOwner(owner).
    static std::vector<foundation::ObjectPtr> loadNibNamed(const std::string& name, const foundation::ObjectPtr& owner);

    // Sends awakeFromNib to a view an interface file made and to every view
    // below it, subviews before the views holding them (storyboards share it
    // for their scenes' views and prototype cells).
    static void awakeViewTree(const std::shared_ptr<UIView>& view);

    const std::string& name() const { return name_; }
    // Fresh objects on every call.
    std::vector<foundation::ObjectPtr> instantiateWithOwner(const foundation::ObjectPtr& owner) const;

    std::string className() const override { return "UINib"; }

    UINib(std::string name, Factory factory) : name_(std::move(name)), factory_(std::move(factory)) {}

private:
    std::string name_;
    Factory factory_;
};

using UINibPtr = std::shared_ptr<UINib>;

}  // namespace uikit
