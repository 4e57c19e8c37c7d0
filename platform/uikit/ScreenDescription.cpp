// The dump walks controllers, not views, for the structure of the screen
// (tabs, navigation stacks, split sides, the presented chain, popovers), so
// only what is shown appears: the selected tab, the top of each stack. Inside
// a screen it walks the views and prints the elements a person reads or
// touches; plain container views are transparent, hidden ones are skipped
// unless an outlet names them (then they show as hidden). Numbers are printed
// in their shortest form and texts are quoted with escapes, so the text is
// the same on every run and on every machine.
#include "uikit/ScreenDescription.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "uikit/AlertStack.h"
#include "uikit/AlertStackEntry.h"
#include "uikit/NSAttributedString.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UIControl.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPageControl.h"
#include "uikit/UIPickerView.h"
#include "uikit/UIDocumentInteractionController.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIProgressView.h"
#include "uikit/UIResponder.h"
#include "uikit/UIScrollView.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UISplitViewController.h"
#include "uikit/UISwitch.h"
#include "uikit/UITabBar.h"
#include "uikit/UITabBarController.h"
#include "uikit/UITabBarItem.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITextField.h"
#include "uikit/UITextView.h"
#include "uikit/UIToolbar.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWebView.h"
#include "uikit/UIWindow.h"

namespace uikit {
namespace {

std::string number(double value) { return foundation::NumberParsing::formatDouble(value); }

// Quoted with escapes, so a text never breaks the line structure; "-" for none.
std::string quoted(const std::optional<std::string>& text) {
    if (!text) return "-";
    std::string out = "\"";
    for (char c : *text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

template <class T>
T* as(UIView& view) {
    return dynamic_cast<T*>(&view);
}

std::string imageName(const UIImagePtr& image) {
    if (!image) return "-";
    return image->name() ? *image->name() : "image";
}

bool isStruckThrough(const UILabel& label) {
    const auto& attributed = label.attributedText();
    if (!attributed) return false;
    for (const auto& run : attributed->runs())
        if (run.attributes.strikethroughStyle && *run.attributes.strikethroughStyle != 0) return true;
    return false;
}

class Describer {
public:
    explicit Describer(const UIWindow& window) : window_(window) {}

    std::string run() {
        const auto& root = window_.rootViewController();
        line(0, "window root=" + (root ? root->className() : std::string("-")));
        statusBar();
        if (root) {
            controller(*root, 1);
            presentedChain(*root, 1);
        }
        popovers();
        if (auto menu = UIDocumentInteractionController::shownMenu())
            line(1, "open-in-menu " + quoted(menu->URL().lastPathComponent()));
        if (UIKeyboard::shownFrame()) line(0, "keyboard shown");
        alerts();
        return out_;
    }

private:
    // One line for what differs from a plain status bar: hidden (the
    // details screens hide it), the light style, the network mark.
    void statusBar() {
        auto& application = UIApplication::sharedApplication();
        std::string text;
        if (application.isStatusBarHidden()) text += " hidden";
        if (application.statusBarStyle() == UIStatusBarStyle::LightContent) text += " light";
        if (application.isNetworkActivityIndicatorVisible()) text += " network-activity";
        if (!text.empty()) line(1, "status-bar" + text);
    }

    void line(int depth, const std::string& text) {
        out_.append(static_cast<size_t>(depth) * 2, ' ');
        out_ += text;
        out_ += '\n';
    }

    static std::string barItem(const UIBarButtonItem& item) {
        std::string name;
        bool enabled = item.isEnabled();
        if (auto title = item.displayTitle()) name = *title;
        else if (item.image()) name = imageName(item.image());
        else if (item.customView()) name = customItemName(*item.customView(), enabled);
        else name = "-";
        return "[" + name + (enabled ? " on]" : " off]");
    }

    // A custom-view button by its normal image (or title), a label by its
    // text, anything else by its class; a disabled button turns the item off.
    static std::string customItemName(const UIView& view, bool& enabled) {
        if (auto* button = dynamic_cast<const UIButton*>(&view)) {
            enabled = enabled && button->isEnabled();
            if (auto image = button->imageForState(UIControlStateNormal)) return imageName(image);
            if (button->currentTitle()) return *button->currentTitle();
        }
        if (auto* label = dynamic_cast<const UILabel*>(&view)) return label->text().value_or("");
        return view.className();
    }

    // Each segment by its title, else its image's name; the selected one starred.
    static std::string segmentsText(const UISegmentedControl& segments) {
        std::string text;
        for (size_t i = 0; i < segments.numberOfSegments(); ++i) {
            auto title = segments.titleForSegmentAtIndex(i);
            auto image = segments.imageForSegmentAtIndex(i);
            const std::string name = title ? *title : image ? imageName(image) : std::string();
            const bool chosen = static_cast<int64_t>(i) == segments.selectedSegmentIndex();
            text += " [" + name + (chosen ? "*]" : "]");
        }
        return text;
    }

    static std::string barItems(const std::vector<UIBarButtonItemPtr>& items) {
        std::string text;
        for (const auto& item : items) {
            if (!item || item->isSpace()) continue;
            text += barItem(*item);
        }
        return text;
    }

    static std::string titleOf(const UIViewController& controller) { return quoted(controller.title()); }

    void controller(UIViewController& vc, int depth) {
        if (auto tabs = dynamic_cast<UITabBarController*>(&vc)) return tabBar(*tabs, depth);
        if (auto nav = dynamic_cast<UINavigationController*>(&vc)) return navigation(*nav, depth);
        if (auto split = dynamic_cast<UISplitViewController*>(&vc)) return splitView(*split, depth);
        screen(vc, depth);
    }

    void tabBar(UITabBarController& tabs, int depth) {
        const auto& children = tabs.viewControllers();
        auto selected = tabs.selectedViewController();
        for (size_t i = 0; i < children.size(); ++i) {
            const auto& child = children[i];
            const auto& item = child->tabBarItem();
            std::string text = "tab " + std::to_string(i) + (child == selected ? "* " : " ") + child->className();
            text += " " + quoted(item ? item->title() : std::nullopt);
            text += " badge=" + (item && item->badgeValue() ? *item->badgeValue() : std::string("-"));
            text += (!item || item->isEnabled()) ? " enabled" : " disabled";
            line(depth, text);
            if (child == selected) controller(*child, depth + 1);
        }
    }

    void navigation(UINavigationController& nav, int depth) {
        line(depth, "nav " + nav.className());
        const auto& stack = nav.viewControllers();
        for (size_t i = 0; i < stack.size(); ++i)
            line(depth + 1, "stack " + std::to_string(i) + " " + stack[i]->className() + " " + titleOf(*stack[i]));
        if (const auto& bar = nav.navigationBar(); bar && !bar->isHidden()) navigationBar(*bar, depth + 1);
        if (auto top = nav.topViewController()) controller(*top, depth + 1);
    }

    // The bar's top item: its title (or title view), back button and items.
    void navigationBar(UINavigationBar& bar, int depth) {
        auto item = bar.topItem();
        if (!item) return;
        std::string text = "bar ";
        if (const auto& titleView = item->titleView()) {
            text += "view=" + titleView->className();
            if (auto label = dynamic_cast<UILabel*>(titleView.get())) text += " " + quoted(label->text());
            if (auto segments = dynamic_cast<UISegmentedControl*>(titleView.get())) text += segmentsText(*segments);
        } else {
            text += quoted(item->title());
        }
        auto back = bar.backItem();
        if (back && !item->hidesBackButton()) {
            auto backTitle = back->backBarButtonItem() ? back->backBarButtonItem()->displayTitle() : back->title();
            text += " back=" + quoted(backTitle ? backTitle : std::optional<std::string>("Back"));
        }
        std::string left = barItems(item->leftBarButtonItems());
        std::string right = barItems(item->rightBarButtonItems());
        if (!left.empty()) text += " left=" + left;
        if (!right.empty()) text += " right=" + right;
        line(depth, text);
    }

    void splitView(UISplitViewController& split, int depth) {
        line(depth, "split " + split.className() + (split.isMasterHidden() ? " master-hidden" : ""));
        const auto& sides = split.viewControllers();
        if (auto master = sides.empty() ? nullptr : sides.front(); master && !split.isMasterHidden()) {
            line(depth + 1, "master");
            controller(*master, depth + 2);
        }
        if (auto detail = sides.size() < 2 ? nullptr : sides[1]) {
            line(depth + 1, "detail");
            controller(*detail, depth + 2);
        }
    }

    void screen(UIViewController& vc, int depth) {
        line(depth, "screen " + vc.className() + " " + titleOf(vc));
        for (const auto& [name, text] : vc.screenDescriptionItems()) line(depth + 1, name + "=" + quoted(text));
        if (!vc.isViewLoaded()) return;
        views(*vc.view(), depth + 1, true);
        // A results table shown beside a scrolling screen, not inside it.
        if (const auto& search = vc.searchDisplayController(); search && search->isSearchResultsTableViewShown()) {
            const auto& results = search->searchResultsTableView();
            if (!results->isDescendantOfView(vc.view().get()) && !results->isHidden()) tableView(*results, depth + 1);
        }
    }

    // The controller presented by this one or by any controller inside it.
    static UIViewControllerPtr presentedFrom(const UIViewController& vc) {
        if (vc.presentedViewController()) return vc.presentedViewController();
        for (const auto& child : vc.childViewControllers())
            if (auto found = presentedFrom(*child)) return found;
        return nullptr;
    }

    void presentedChain(const UIViewController& root, int depth) {
        for (auto presented = presentedFrom(root); presented; presented = presentedFrom(*presented)) {
            bool formSheet = presented->modalPresentationStyle() == UIModalPresentationStyle::FormSheet;
            line(depth, std::string("presented ") + presented->className() +
                            (formSheet ? " style=form-sheet" : " style=full-screen"));
            controller(*presented, depth + 1);
        }
    }

    void popovers() {
        for (const auto& view : window_.subviews()) {
            if (view->className() != "UIPopoverView" || view->isHidden()) continue;
            for (const auto& inside : view->subviews()) {
                auto content = std::dynamic_pointer_cast<UIViewController>(inside->viewController());
                if (!content) continue;
                line(1, "popover " + content->className());
                controller(*content, 2);
                presentedChain(*content, 2);
            }
        }
    }

    void alerts() {
        for (const auto& entry : AlertStack::shared().entries()) {
            if (!entry->isVisible()) continue;
            bool sheet = entry->kind() == AlertStackEntry::Kind::ActionSheet;
            std::string text = sheet ? "action-sheet " : "alert ";
            text += quoted(entry->title());
            if (!sheet) text += " " + quoted(entry->message());
            for (int64_t i = 0; i < entry->numberOfButtons(); ++i) {
                auto title = entry->buttonTitleAtIndex(i);
                text += " [" + (title ? *title : std::string()) + "]";
            }
            line(0, text);
        }
    }

    static std::string focus(const UIView& view) {
        auto responder = UIResponder::currentFirstResponder();
        return responder.get() == &view ? " focused" : "";
    }

    // What a person reads in a field: its placeholder and, apart, what was
    // typed (as bullets when secure), and whether it has the keyboard.
    static std::string fieldState(UITextField& field) {
        std::string typed = field.text().value_or(std::string());
        if (field.isSecureTextEntry() && !typed.empty()) typed = field.displayText();
        return " placeholder=" + quoted(field.placeholder()) + " text=" + quoted(typed) +
               (field.isSecureTextEntry() ? " secure" : "") + (field.isEnabled() ? "" : " disabled") + focus(field);
    }

    static std::string named(const UIView& view) {
        return view.outletName() ? " #" + *view.outletName() : std::string();
    }

    // Prints the element the view is, if any; elements a person reads as one
    // (a field, a button, a table) end the walk, other views pass it on to
    // their subviews, one level deeper when they printed a line themselves.
    void views(UIView& view, int depth, bool isRoot = false) {
        if (view.isHidden() && !view.outletName()) return;
        std::string hidden = view.isHidden() ? " hidden" : "";
        if (auto table = as<UITableView>(view)) {
            tableView(*table, depth);
            return;
        }
        if (auto bar = as<UISearchBar>(view)) {
            searchBar(*bar, depth, hidden);
            return;
        }
        if (auto field = as<UITextField>(view)) {
            line(depth, "field" + named(view) + fieldState(*field) + hidden);
            return;
        }
        if (auto text = as<UITextView>(view)) {
            line(depth, "text-view" + named(view) + " " + quoted(text->text()) +
                            (text->isEditable() ? " editable" : "") + focus(view) + hidden);
            return;
        }
        if (auto web = as<UIWebView>(view)) {
            std::string text = "web-view" + named(view);
            if (web->request()) text += " request=" + (web->request()->url() ? web->request()->url()->absoluteString() : std::string("-"));
            else if (web->HTMLString()) text += " html=" + quoted(web->HTMLString());
            if (web->isLoading()) text += " loading";
            line(depth, text + hidden);
            return;
        }
        if (auto button = as<UIButton>(view)) {
            std::string text = "button" + named(view) + " " + quoted(button->currentTitle());
            if (!button->currentTitle() && button->currentImage()) text += " image=" + imageName(button->currentImage());
            if (!button->isEnabled()) text += " disabled";
            if (button->isSelected()) text += " selected";
            line(depth, text + hidden);
            return;
        }
        if (auto toggle = as<UISwitch>(view)) {
            line(depth, "switch" + named(view) + (toggle->isOn() ? " on" : " off") +
                            (toggle->isEnabled() ? "" : " disabled") + hidden);
            return;
        }
        if (auto segments = as<UISegmentedControl>(view)) {
            line(depth, "segmented" + named(view) + segmentsText(*segments) + hidden);
            return;
        }
        if (auto toolbar = as<UIToolbar>(view)) {
            line(depth, "toolbar" + named(view) + " " + barItems(toolbar->items()) + hidden);
            return;
        }
        if (auto label = as<UILabel>(view)) {
            if (label->text() || view.outletName())
                line(depth, "label" + named(view) + " " + quoted(label->text()) +
                                (isStruckThrough(*label) ? " struck" : "") + hidden);
            return;
        }
        if (auto image = as<UIImageView>(view)) {
            if (image->currentImage() || view.outletName())
                line(depth, "image" + named(view) + " " + imageName(image->currentImage()) + hidden);
            return;
        }
        if (auto spinner = as<UIActivityIndicatorView>(view)) {
            line(depth, "spinner" + named(view) + (spinner->isAnimating() ? " animating" : " stopped") + hidden);
            return;
        }
        if (auto progress = as<UIProgressView>(view)) {
            line(depth, "progress" + named(view) + " " + number(progress->progress()) + hidden);
            return;
        }
        if (auto pages = as<UIPageControl>(view)) {
            line(depth, "page-control" + named(view) + " " + std::to_string(pages->currentPage()) + "/" +
                            std::to_string(pages->numberOfPages()) + hidden);
            return;
        }
        if (auto picker = as<UIPickerView>(view)) {
            std::string text = "picker" + named(view);
            for (int64_t c = 0; c < picker->numberOfComponents(); ++c)
                text += " selected=" + std::to_string(picker->selectedRowInComponent(c)) +
                        " rows=" + std::to_string(picker->numberOfRowsInComponent(c));
            line(depth, text + hidden);
            return;
        }
        // A navigation bar of the screen's own (not its navigation
        // controller's, which the controller walk prints).
        if (auto bar = as<UINavigationBar>(view)) {
            if (!view.isHidden()) navigationBar(*bar, depth);
            return;
        }
        if (view.className() == "UITabBar") return;
        // A child controller's view inside this screen shows as that screen.
        if (!isRoot) {
            if (auto vc = std::dynamic_pointer_cast<UIViewController>(view.viewController())) {
                controller(*vc, depth);
                return;
            }
        }
        int inner = depth;
        if (auto scroll = as<UIScrollView>(view)) {
            auto offset = scroll->contentOffset();
            line(depth, "scroll" + named(view) + " offset=" + number(offset.x) + "," + number(offset.y) + hidden);
            inner = depth + 1;
        } else if (std::string detail = view.screenDumpDetail(); view.outletName() || !detail.empty()) {
            line(depth, "view" + named(view) + " " + view.className() + (detail.empty() ? "" : " " + detail) + hidden);
            inner = depth + 1;
        }
        if (view.isHidden()) return;
        for (const auto& subview : view.subviews()) views(*subview, inner);
    }

    // The bar as one element: its placeholder, text, scope titles (the
    // selected one starred), whether its search is active, whether it shows
    // its cancel button and whether it has the keyboard.
    void searchBar(UISearchBar& bar, int depth, const std::string& hidden) {
        std::string text = "search-bar" + named(bar) + " placeholder=" + quoted(bar.placeholder()) +
                           " text=" + quoted(bar.text());
        if (!bar.scopeButtonTitles().empty()) {
            text += " scopes=";
            const auto& titles = bar.scopeButtonTitles();
            for (size_t i = 0; i < titles.size(); ++i)
                text += "[" + titles[i] + (static_cast<int64_t>(i) == bar.selectedScopeButtonIndex() ? "*]" : "]");
        }
        if (auto search = bar.searchDisplayController(); search && search->isActive()) text += " active";
        if (bar.showsCancelButton()) text += " cancel";
        if (bar.isEditing()) text += " focused";
        line(depth, text + hidden);
    }

    void tableView(UITableView& table, int depth);
    void cell(UITableView& table, const NSIndexPath& indexPath, UITableViewCell& cell, int depth);
    void cellParts(UIView& view, UITableViewCell& rowCell, std::string& text, bool isRoot);

    const UIWindow& window_;
    std::string out_;
};

void Describer::tableView(UITableView& table, int depth) {
    auto offset = table.contentOffset();
    int64_t sections = table.numberOfSections();
    line(depth, "table" + named(table) + (table.style() == UITableViewStyle::Grouped ? " grouped" : " plain") +
                    " sections=" + std::to_string(sections) + " offset=" + number(offset.x) + "," + number(offset.y));
    if (const auto& header = table.tableHeaderView(); header && !header->isHidden()) {
        line(depth + 1, "header-view " + header->className());
        views(*header, depth + 2);
    }
    auto inView = table.indexPathsForVisibleRows();
    for (int64_t s = 0; s < sections; ++s) {
        int64_t rows = table.numberOfRowsInSection(s);
        line(depth + 1, "section " + std::to_string(s) + " " + quoted(table.titleForHeaderInSection(s)) +
                            " header=" + number(table.heightForHeaderInSection(s)));
        if (auto headerView = table.headerViewForSection(s)) views(*headerView, depth + 2);
        std::vector<NSIndexPath> shown;
        for (const auto& path : inView)
            if (path.section == s) shown.push_back(path);
        // "rows 12–25 of 40", with an en dash, as a person writes a range.
        std::string range = shown.empty() ? "none"
                                          : std::to_string(shown.front().row) + "\xE2\x80\x93" +
                                                std::to_string(shown.back().row);
        line(depth + 2, "rows " + range + " of " + std::to_string(rows));
        for (const auto& path : shown) {
            auto rowCell = table.cellForRowAtIndexPath(path);
            if (!rowCell) continue;
            cell(table, path, *rowCell, depth + 2);
        }
        if (auto footer = table.titleForFooterInSection(s)) line(depth + 2, "footer " + quoted(footer));
    }
    if (const auto& footer = table.tableFooterView(); footer && !footer->isHidden()) {
        line(depth + 1, "footer-view " + footer->className());
        views(*footer, depth + 2);
    }
}

void Describer::cell(UITableView& table, const NSIndexPath& indexPath, UITableViewCell& rowCell, int depth) {
    std::string text = "row " + std::to_string(indexPath.row) + " " +
                       (rowCell.reuseIdentifier() ? *rowCell.reuseIdentifier() : std::string("-")) +
                       " h=" + number(table.heightForRowAtIndexPath(indexPath));
    if (rowCell.className() != "UITableViewCell") text += " " + rowCell.className();
    if (auto label = rowCell.textLabel(); label && label->text() && !label->isHidden())
        text += " text=" + quoted(label->text());
    if (auto detail = rowCell.detailTextLabel(); detail && detail->text() && !detail->isHidden())
        text += " detail=" + quoted(detail->text());
    if (auto image = rowCell.imageView(); image && image->currentImage() && !image->currentImage()->isEmpty())
        text += " image=" + imageName(image->currentImage());
    switch (rowCell.accessoryType()) {
        case UITableViewCellAccessoryType::None: break;
        case UITableViewCellAccessoryType::DisclosureIndicator: text += " accessory=disclosure"; break;
        case UITableViewCellAccessoryType::DetailDisclosureButton: text += " accessory=detail-disclosure"; break;
        case UITableViewCellAccessoryType::Checkmark: text += " accessory=checkmark"; break;
        case UITableViewCellAccessoryType::DetailButton: text += " accessory=detail"; break;
    }
    if (const auto& accessory = rowCell.accessoryView()) {
        if (auto toggle = as<UISwitch>(*accessory)) {
            text += std::string(" switch=") + (toggle->isOn() ? "on" : "off");
        } else {
            // By what it holds (a field's placeholder and text, a title),
            // its class only when it holds nothing a person reads.
            std::string parts;
            cellParts(*accessory, rowCell, parts, true);
            text += parts.empty() ? " accessory-view=" + accessory->className() : " accessory-view:" + parts;
        }
    }
    if (!rowCell.isUserInteractionEnabled() || (rowCell.textLabel() && !rowCell.textLabel()->isEnabled()))
        text += " disabled";
    if (rowCell.isSelected()) text += " selected";
    cellParts(*rowCell.contentView(), rowCell, text, false);
    line(depth, text);
}

// A cell's parts, inline on its row: the named ones by their outlet (label
// text with hidden and struck, image name, button title, switch state, field
// text, and named constraints), and, named or not, every field, label text and
// button title a person sees in it, so a form's rows say what they hold.
void Describer::cellParts(UIView& view, UITableViewCell& rowCell, std::string& text, bool isRoot) {
    // An accessory view may itself be the field or button: it is looked at
    // as a part first.
    std::vector<UIView*> parts;
    if (isRoot) {
        parts.push_back(&view);
    } else {
        for (const auto& constraint : view.constraints())
            if (constraint->outletName())
                text += " " + *constraint->outletName() + "=" + number(constraint->constant());
        for (const auto& subview : view.subviews()) parts.push_back(subview.get());
    }
    for (UIView* partPointer : parts) {
        UIView& part = *partPointer;
        // The row's own labels and image are printed already.
        if (&part == rowCell.textLabel().get() || &part == rowCell.detailTextLabel().get() ||
            &part == rowCell.imageView().get())
            continue;
        if (part.outletName()) {
            const std::string& name = *part.outletName();
            std::string value;
            if (auto label = as<UILabel>(part)) value = quoted(label->text()) + (isStruckThrough(*label) ? "(struck)" : "");
            else if (auto image = as<UIImageView>(part)) value = "image:" + imageName(image->currentImage());
            else if (auto button = as<UIButton>(part))
                value = button->currentTitle() || !button->currentImage()
                            ? "[" + button->currentTitle().value_or("") + "]"
                            : "[image:" + imageName(button->currentImage()) + "]";
            else if (auto toggle = as<UISwitch>(part)) value = toggle->isOn() ? "on" : "off";
            else if (auto field = as<UITextField>(part)) value = "(field" + fieldState(*field) + ")";
            else if (auto textView = as<UITextView>(part)) value = quoted(textView->text());
            else value = part.className();
            text += " " + name + "=" + value + (part.isHidden() ? "(hidden)" : "");
            // A control's own parts (a button's title label) are its value.
            if (as<UIControl>(part) || as<UILabel>(part) || as<UITextView>(part)) continue;
        } else if (part.isHidden()) {
            continue;
        } else if (auto field = as<UITextField>(part)) {
            text += " field" + fieldState(*field);
            continue;
        } else if (auto button = as<UIButton>(part)) {
            if (auto title = button->currentTitle()) text += " button=[" + *title + "]";
            else if (button->currentImage()) text += " button=image:" + imageName(button->currentImage());
            continue;
        } else if (auto label = as<UILabel>(part)) {
            if (label->text() && !label->text()->empty())
                text += " label=" + quoted(label->text()) + (isStruckThrough(*label) ? "(struck)" : "");
            continue;
        } else if (auto textView = as<UITextView>(part)) {
            text += " text-view=" + quoted(textView->text());
            continue;
        }
        cellParts(part, rowCell, text, false);
    }
}

}  // namespace

std::string describe(const UIWindow& window) { return Describer(window).run(); }

}  // namespace uikit
