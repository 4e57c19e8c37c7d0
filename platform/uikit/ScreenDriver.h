// What a person does to the screen, as one set of actions the app mode and
// the tests share. The driver acts on the key window's UIKit objects only:
// it finds the front screen, taps, types, swipes, drags and answers alerts
// there, and settles the main run loop afterwards. Each action answers
// whether its target existed; an action without a target changes nothing.
// While an alert or action sheet is up, only it (and rotating the device)
// can be acted on: what it covers is out of reach, as for a person.
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Date.h"
#include "graphics/Geometry.h"
#include "uikit/UIDevice.h"

namespace uikit {

class UIView;
class UIViewController;
class UIWindow;
class UITableView;
class UITableViewCell;
class UIScrollView;
class UIWebView;
class UISearchBar;

class ScreenDriver {
public:
    // Which side of a split view the actions address.
    enum class Side { Detail, Master };
    // OutOfReach: the front screen is one a person cannot reach (a hidden
    // master pane), so nothing opens over it.
    enum class OpenResult { Opened, UnknownScene, TakesNoObject, NoSuchObject, NoHandOver, OutOfReach };
    enum class HandOver { Taken, TakesNoObject, NoSuchObject };
    enum class SwipeDirection { Left, Right };

    // Hands a stored object (entity name, id) to a controller before its view
    // loads; answers whether that controller takes an object and whether the
    // object is there. The app registers it; the two texts mean nothing here.
    using ObjectHandOver = std::function<HandOver(UIViewController& controller, const std::string& entity,
                                                  const std::string& identifier)>;
    // Answers true while something outside this layer (network requests, for
    // one) still has work in flight that settling must wait for.
    using BusyPredicate = std::function<bool()>;

    ScreenDriver() = default;

    Side side() const { return side_; }
    void setSide(Side side) { side_ = side; }

    // The key window (null when there is none).
    std::shared_ptr<UIWindow> window() const;
    // The top presented controller, else an open popover's content, else a
    // split view's detail (or master, when that side is chosen), else the
    // selected tab's top, else the root; inside each, the navigation
    // controller's top.
    std::shared_ptr<UIViewController> frontViewController() const;

    // Instantiates the scene from the first of the named storyboards that is
    // registered and has it, hands the object over when given, then pushes it
    // on the front screen's navigation controller or presents it over the
    // front screen (inside a navigation controller of its own, unless it is
    // a container itself).
    OpenResult openScene(const std::string& identifier, const std::vector<std::string>& storyboardNames,
                         const std::optional<std::pair<std::string, std::string>>& object = std::nullopt);
    static void setObjectHandOver(ObjectHandOver handOver);
    static const ObjectHandOver& objectHandOver();

    // Scrolls the row into view (position none; a table fixed in place
    // inside a scroll view, by scrolling that), then taps it where it stands.
    bool tapRow(int64_t section, int64_t row);
    // Scrolls the row into view, swipes it and taps its Delete button: the
    // table's data source commits the delete. False when the row offers none.
    bool deleteRow(int64_t section, int64_t row);
    // A button by its current title, on the front screen (or an alert's
    // accessory views); only when exactly one button of that title is
    // within a person's reach: not hidden, not fully transparent, and not
    // wholly covered by another view.
    bool tapButton(const std::string& title);
    // The visible (not hidden) buttons of that title, for a person to pick
    // one when there are several: where a tap reaches the button in window
    // coordinates (its middle, else the uncovered point nearest it) and,
    // inside a table row, its section and row. A button no tap reaches says
    // why instead ("fully transparent", "covered by UITabBar", ...).
    struct ButtonPlace {
        graphics::Point point;
        std::optional<std::pair<int64_t, int64_t>> row;
        std::string outOfReach;
    };
    std::vector<ButtonPlace> buttonsTitled(const std::string& title) const;
    // A bar button item of the front screen's navigation item or toolbar (or
    // of a navigation bar of the screen's own), by title or image name (a
    // custom-view button by its own).
    bool tapItem(const std::string& titleOrImageName);
    bool hasItem(const std::string& titleOrImageName) const;
    // Closes the open-in menu when one is shown, else taps outside the open
    // popover (the pad's way to close one).
    bool dismissPopover();
    // Segment `index` of the segmented control that is, or is inside, the
    // front screen's navigation bar title view, else of the first one on the
    // front screen.
    bool segment(int64_t index);
    bool tapTab(int64_t index);
    // Hit-tests the point (window coordinates) and taps what it finds.
    bool tapAt(graphics::Point point);
    // The cell of row R of section S, scrolled into view: with an outlet
    // name, of the first table on the front screen whose row holds a visible
    // view of that name (a screen may show several tables), else of the
    // front table; null when there is no such row.
    std::shared_ptr<UITableViewCell> cellInView(int64_t section, int64_t row,
                                                const std::optional<std::string>& outlet = std::nullopt);
    // The front alert or action sheet's button by title, else (all digits) by index.
    bool answerAlert(const std::string& titleOrIndex);
    // A link of the front web view: true when the page has a link to that
    // URL, whether or not the page's delegate lets it load.
    bool clickLink(const std::string& url);
    // A text field or text view by placeholder or outlet name; types one
    // character at a time through the delegates.
    bool typeText(const std::string& field, const std::string& text);
    bool clearField(const std::string& field);
    bool pressReturn(const std::string& field);
    bool setSwitch(int64_t section, int64_t row, bool on);
    // Row of the front screen's first picker (component 0).
    bool pickRow(int64_t row);
    // A person's choice of the date on the front screen's first date picker.
    bool pickDate(foundation::Date date);
    // Fires the swipe recognisers under the point (window coordinates; the
    // middle of the front screen when not given).
    bool swipe(SwipeDirection direction, std::optional<graphics::Point> point = std::nullopt);
    // Drags the front table down far enough to trigger a pull to refresh, then releases.
    bool pull();
    // Drags the front screen's table (its search results while they show;
    // else its first table that scrolls, else its first scroll view that
    // does; or the one named by outlet) to the offset, then releases.
    bool scroll(std::optional<double> x, double y, const std::optional<std::string>& outlet = std::nullopt);
    // The navigation bar's back button of the front screen.
    bool back();
    bool rotate(UIDeviceOrientation orientation);

    // Search, on the front screen's search display controller's bar (else
    // the first search bar on the front screen): the bar becomes first
    // responder and the text is typed at the end of its text, one character
    // at a time through its delegate.
    bool search(const std::string& text);
    // A tap on a segment of the bar's scope bar (shown while searching).
    bool scope(int64_t index);
    // The bar's cancel button: the search ends.
    bool endSearch();
    // Scrolls a row of the shown search results table into view and taps it.
    bool tapSearchResultRow(int64_t section, int64_t row);

    // Runs the main run loop until nothing is due now, no busy predicate
    // holds, no web view is loading and no task has run for `quietSeconds`
    // of real time; never moves a virtual clock. Answers false when it gave
    // up after `limitSeconds` of real time.
    bool settle(double quietSeconds = 0.05, double limitSeconds = 30);
    static void addBusyPredicate(BusyPredicate predicate);
    static void clearBusyPredicates();

private:
    // The front screen when a person can reach it: its view in the window
    // and not hidden (a split view's master is out of reach while hidden).
    // The actions act on it only.
    std::shared_ptr<UIViewController> reachableFrontViewController() const;
    std::shared_ptr<UIView> frontView() const;
    std::shared_ptr<UITableView> frontTable() const;
    // The cell of a row of the front table (or of that table) after
    // scrolling it into view; null when there is no such row.
    std::shared_ptr<UITableViewCell> rowInView(int64_t section, int64_t row, std::shared_ptr<UITableView>* table,
                                               std::shared_ptr<UITableView> in = nullptr);
    std::shared_ptr<UIView> findField(const std::string& name) const;
    std::shared_ptr<class UIBarButtonItem> findItem(const std::string& titleOrImageName) const;
    std::vector<std::shared_ptr<class UIButton>> visibleButtonsTitled(const std::string& title) const;
    std::shared_ptr<UISearchBar> frontSearchBar() const;
    // The front screen's results table while it is shown.
    std::shared_ptr<UITableView> frontSearchResultsTable() const;

    Side side_ = Side::Detail;
};

}  // namespace uikit
