// What bar button items and tab bar items share: a title, an image, a tag,
// whether they are enabled, and title text attributes per control state. A
// bar shows an item through a view of its own; the item asks that view (the
// host) to lay out again when something it shows changes.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "uikit/NSAttributedString.h"
#include "uikit/UIAppearanceCustomizable.h"
#include "uikit/UIControl.h"
#include "uikit/UIImage.h"

namespace uikit {

// Which bar height an appearance value is for.
enum class UIBarMetrics { Default = 0, Compact = 1, DefaultPrompt = 101, CompactPrompt = 102 };

class UIBarItem : public foundation::Object, public UIAppearanceCustomizable {
public:
    // The appearance key of the title text attributes for a state.
    static std::string titleTextAttributesKey(UIControlState state);

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title);
    const UIImagePtr& image() const { return image_; }
    void setImage(UIImagePtr image);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int64_t tag() const { return tag_; }
    void setTag(int64_t tag) { tag_ = tag; }

    // Nothing set for a state reads as empty attributes.
    void setTitleTextAttributes(const TextAttributes& attributes, UIControlState state);
    TextAttributes titleTextAttributesForState(UIControlState state) const;

    // The bar's view showing the item, told to lay out again on changes.
    void setHostView(const std::shared_ptr<UIView>& view) { host_ = view; }
    std::shared_ptr<UIView> hostView() const { return host_.lock(); }

    std::string className() const override { return "UIBarItem"; }

protected:
    void changed();

private:
    std::optional<std::string> title_;
    UIImagePtr image_;
    bool enabled_ = true;
    int64_t tag_ = 0;
    std::map<UIControlState, TextAttributes> titleTextAttributes_;
    std::weak_ptr<UIView> host_;
};

}  // namespace uikit
