// The part of an object that appearance proxies customise (views, and the bar
// items a bar shows): which properties were set on the object itself. Such a
// value wins over every proxy value, whenever it was set, so setters of
// appearance properties call appearancePropertyWasSet(key) with the key their
// proxy registers under; while proxies apply their values the call is ignored.
#pragma once

#include <set>
#include <string>

namespace uikit {

class UIAppearanceCustomizable {
public:
    virtual ~UIAppearanceCustomizable() = default;

    void appearancePropertyWasSet(const std::string& key) {
        if (!applyingAppearance_) ownAppearanceProperties_.insert(key);
    }
    bool isAppearancePropertySet(const std::string& key) const { return ownAppearanceProperties_.count(key) != 0; }

private:
    friend class UIAppearance;
    std::set<std::string> ownAppearanceProperties_;
    bool applyingAppearance_ = false;
};

}  // namespace uikit
