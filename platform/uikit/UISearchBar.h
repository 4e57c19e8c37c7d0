// A search bar: a text field in a grey band, with an optional cancel button
// on its right and an optional scope bar (a row of segments) below it. The
// bar is 44 points high, 88 with the scope bar. Its parts sit in one
// container view, its first subview; the text field is the first text field
// in that container, as code that restyles the field finds it.
//
// A person's editing goes through the field, and the bar tells its delegate
// in the bar's own terms: may editing begin, did it begin and end, may this
// range change (each typed character), did the text change, the search key,
// the cancel button, a tap on a scope segment. Setting the text or the
// selected scope in code tells nobody. A search display controller that
// owns the bar hears the same events after the delegate.
//
// Appearance: the background image, the search field's background image per
// control state, the search icon per state and the search text position
// adjustment are appearance-settable, under the keys the static functions
// below give. Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "uikit/NSAttributedString.h"
#include "uikit/UIControl.h"
#include "uikit/UIImage.h"
#include "uikit/UIOffset.h"
#include "uikit/UIView.h"

namespace uikit {

class UISearchBar;
class UISearchDisplayController;
class UITextField;
class UIButton;
class UISegmentedControl;

enum class UISearchBarIcon { Search = 0, Clear = 1, Bookmark = 2, ResultsList = 3 };

class UISearchBarDelegate {
public:
    virtual ~UISearchBarDelegate() = default;
    virtual bool searchBarShouldBeginEditing(UISearchBar& searchBar) {
        (void)searchBar;
        return true;
    }
    virtual void searchBarTextDidBeginEditing(UISearchBar& searchBar) { (void)searchBar; }
    virtual void searchBarTextDidEndEditing(UISearchBar& searchBar) { (void)searchBar; }
    // The range counts UTF-16 units of the present text.
    virtual bool searchBarShouldChangeTextInRange(UISearchBar& searchBar, NSRange range, const std::string& replacement) {
        (void)searchBar, (void)range, (void)replacement;
        return true;
    }
    virtual void searchBarTextDidChange(UISearchBar& searchBar, const std::string& searchText) {
        (void)searchBar, (void)searchText;
    }
    virtual void searchBarSearchButtonClicked(UISearchBar& searchBar) { (void)searchBar; }
    virtual void searchBarCancelButtonClicked(UISearchBar& searchBar) { (void)searchBar; }
    virtual void searchBarSelectedScopeButtonIndexDidChange(UISearchBar& searchBar, int64_t selectedScope) {
        (void)searchBar, (void)selectedScope;
    }
};

class UISearchBar : public UIView {
public:
    static constexpr double kBarHeight = 44;
    static constexpr double kScopeBarHeight = 44;

    explicit UISearchBar(const graphics::Rect& frame = {});
    ~UISearchBar() override;

    // The field's text: never nil, as the field's.
    std::string text() const;
    void setText(std::optional<std::string> text);
    std::optional<std::string> placeholder() const;
    virtual void setPlaceholder(std::optional<std::string> placeholder);

    const std::vector<std::string>& scopeButtonTitles() const { return scopeButtonTitles_; }
    void setScopeButtonTitles(std::vector<std::string> titles);
    int64_t selectedScopeButtonIndex() const { return selectedScope_; }
    // Out of range is ignored. Tells nobody.
    void setSelectedScopeButtonIndex(int64_t index);
    bool showsScopeBar() const { return showsScopeBar_; }
    // The bar's height follows at the next sizeToFit.
    void setShowsScopeBar(bool shows);
    bool showsCancelButton() const { return showsCancelButton_; }
    void setShowsCancelButton(bool shows, bool animated = false);

    // Kept weak.
    std::shared_ptr<UISearchBarDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UISearchBarDelegate>& delegate) { delegate_ = delegate; }

    // --- Look (appearance-settable) ---
    const UIImagePtr& backgroundImage() const { return backgroundImage_; }
    void setBackgroundImage(UIImagePtr image);
    UIImagePtr searchFieldBackgroundImageForState(UIControlState state) const;
    void setSearchFieldBackgroundImage(UIImagePtr image, UIControlState state);
    UIImagePtr imageForSearchBarIcon(UISearchBarIcon icon, UIControlState state) const;
    void setImage(UIImagePtr image, UISearchBarIcon icon, UIControlState state);
    const UIOffset& searchTextPositionAdjustment() const { return searchTextPositionAdjustment_; }
    void setSearchTextPositionAdjustment(const UIOffset& offset);
    static std::string backgroundImageKey() { return "backgroundImage"; }
    static std::string searchFieldBackgroundImageKey(UIControlState state);
    static std::string imageKey(UISearchBarIcon icon, UIControlState state);
    static std::string searchTextPositionAdjustmentKey() { return "searchTextPositionAdjustment"; }

    // --- Editing ---
    bool canBecomeFirstResponder() const override;
    // Hands the role to the field.
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    // The field is first responder.
    bool isEditing() const;

    // --- A person's actions ---
    // Types at the end of the text, one character at a time (the field
    // becomes first responder first). False when the bar cannot take input.
    bool typeText(const std::string& text);
    // A tap on a scope segment: selects it and tells the delegate. False for
    // an index out of range or a bar without a shown scope bar.
    bool tapScopeButton(int64_t index);
    // False when the cancel button is not shown.
    bool tapCancelButton();
    bool tapSearchButton();

    // The parts, for drawing and the screen dump.
    const std::shared_ptr<UIButton>& cancelButton() const { return cancelButton_; }
    const std::shared_ptr<UISegmentedControl>& scopeBar() const { return scopeBar_; }

    // The controller that owns the bar, set by it (kept weak).
    std::shared_ptr<UISearchDisplayController> searchDisplayController() const { return displayController_.lock(); }
    void setSearchDisplayController(const std::shared_ptr<UISearchDisplayController>& controller) {
        displayController_ = controller;
    }

    graphics::Size sizeThatFits(graphics::Size size) const override;
    void layoutSubviews() override;
    void setFrame(const graphics::Rect& frame) override;
    void willMoveToSuperview(UIView* newSuperview) override;
    // The band: the background image, or grey.
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UISearchBar"; }

protected:
    // The field the bar edits (the first text field in the container).
    std::shared_ptr<UITextField> searchField() const;
    // Puts the container in as the first subview once the bar is owned by a
    // shared_ptr (a view cannot be a superview before); every entry point
    // calls it.
    void attachParts() const;

private:
    class FieldDelegate;
    friend class FieldDelegate;

    void fieldTextChanged();
    void scopeChangedByPerson();
    void cancelTapped();

    std::weak_ptr<UISearchBarDelegate> delegate_;
    std::weak_ptr<UISearchDisplayController> displayController_;
    std::shared_ptr<UIView> container_;
    std::shared_ptr<UITextField> field_;
    std::shared_ptr<FieldDelegate> fieldDelegate_;
    std::shared_ptr<UIButton> cancelButton_;
    std::shared_ptr<UISegmentedControl> scopeBar_;
    std::vector<std::string> scopeButtonTitles_;
    int64_t selectedScope_ = 0;
    bool showsScopeBar_ = false;
    bool showsCancelButton_ = false;
    UIImagePtr backgroundImage_;
    std::map<UIControlState, UIImagePtr> searchFieldBackgrounds_;
    std::map<std::pair<UISearchBarIcon, UIControlState>, UIImagePtr> icons_;
    UIOffset searchTextPositionAdjustment_;
};

using UISearchBarPtr = std::shared_ptr<UISearchBar>;

}  // namespace uikit
