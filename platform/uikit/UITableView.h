// A scroll view of rows in sections, with the platform's viewport: a reload
// asks the data source for the sections and rows and the delegate for the
// height of every row, header and footer, so the content size and every
// row's and header's rect are known; but cells are asked for only for the
// rows whose rects meet the visible bounds (a row partly in view counts).
// When the bounds move or resize, the cells of rows that leave go to the
// reuse queue of their identifier and the rows that come in are asked for
// cells, which dequeueReusableCellWithIdentifier serves from that queue
// (after prepareForReuse) before making new ones from the registrations: a
// nib, a cell factory (a registered class), or a prototype cell of the
// storyboard scene whose view held the table when it loaded. Cells in view
// are subviews at their rows' rects.
//
// Reloads of sections and rows, and batch updates (inserts, deletes and
// reloads between beginUpdates and endUpdates), ask again for every height
// and build cells only for the affected rows in view; the counts the data
// source gives afterwards must agree with the update, or endUpdates raises a
// foundation::Exception naming the section, as the platform does.
//
// Selection by a person (tapRowAtIndexPath) runs will-select, triggers the
// storyboard segue declared for the cell's reuse identifier (should-perform
// is asked), then did-select. Row height from the delegate, else rowHeight
// (44); a header's or footer's from the delegate, else 0 untitled and 22
// titled. The table loads its data when it is first laid out, enters a
// window, or is first asked about its rows. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "uikit/NSIndexPath.h"
#include "uikit/UIScrollView.h"
#include "uikit/UITableViewCell.h"

namespace uikit {

class UITableView;
class UINib;
class UIViewController;

enum class UITableViewStyle { Plain, Grouped };
enum class UITableViewScrollPosition { None, Top, Middle, Bottom };
enum class UITableViewRowAnimation { Fade, Right, Left, Top, Bottom, None, Middle, Automatic = 100 };
enum class UITableViewCellSeparatorStyle { None, SingleLine, SingleLineEtched };
enum class UITableViewCellEditingStyle { None, Delete, Insert };

class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;
    virtual int64_t numberOfSectionsInTableView(UITableView& tableView) {
        (void)tableView;
        return 1;
    }
    virtual int64_t tableViewNumberOfRowsInSection(UITableView& tableView, int64_t section) = 0;
    // Must answer a cell; a null one raises, as on the platform.
    virtual UITableViewCellPtr tableViewCellForRowAtIndexPath(UITableView& tableView, const NSIndexPath& indexPath) = 0;
    virtual std::optional<std::string> tableViewTitleForHeaderInSection(UITableView& tableView, int64_t section) {
        (void)tableView, (void)section;
        return std::nullopt;
    }
    virtual std::optional<std::string> tableViewTitleForFooterInSection(UITableView& tableView, int64_t section) {
        (void)tableView, (void)section;
        return std::nullopt;
    }
    virtual std::vector<std::string> sectionIndexTitlesForTableView(UITableView& tableView) {
        (void)tableView;
        return {};
    }
    // Editing: a row can be edited unless the data source says otherwise,
    // but only a data source that commits edits offers any (both or neither
    // of the commit pair are overridden).
    virtual bool tableViewCanEditRowAtIndexPath(UITableView& tableView, const NSIndexPath& indexPath) {
        (void)tableView, (void)indexPath;
        return true;
    }
    virtual bool implementsCommitEditingStyle() const { return false; }
    virtual void tableViewCommitEditingStyle(UITableView& tableView, UITableViewCellEditingStyle editingStyle,
                                             const NSIndexPath& indexPath) {
        (void)tableView, (void)editingStyle, (void)indexPath;
    }
};

class UITableViewDelegate : public UIScrollViewDelegate {
public:
    // No value: the table's default (see above).
    virtual std::optional<double> tableViewHeightForRowAtIndexPath(UITableView& tableView, const NSIndexPath& indexPath) {
        (void)tableView, (void)indexPath;
        return std::nullopt;
    }
    virtual std::optional<double> tableViewHeightForHeaderInSection(UITableView& tableView, int64_t section) {
        (void)tableView, (void)section;
        return std::nullopt;
    }
    virtual std::optional<double> tableViewHeightForFooterInSection(UITableView& tableView, int64_t section) {
        (void)tableView, (void)section;
        return std::nullopt;
    }
    // Null: the title's stock header (or none).
    virtual std::shared_ptr<UIView> tableViewViewForHeaderInSection(UITableView& tableView, int64_t section) {
        (void)tableView, (void)section;
        return nullptr;
    }
    virtual std::shared_ptr<UIView> tableViewViewForFooterInSection(UITableView& tableView, int64_t section) {
        (void)tableView, (void)section;
        return nullptr;
    }
    // The row to select instead, or none to select nothing.
    virtual std::optional<NSIndexPath> tableViewWillSelectRowAtIndexPath(UITableView& tableView, const NSIndexPath& indexPath) {
        (void)tableView;
        return indexPath;
    }
    virtual void tableViewDidSelectRowAtIndexPath(UITableView& tableView, const NSIndexPath& indexPath) {
        (void)tableView, (void)indexPath;
    }
    virtual void tableViewDidDeselectRowAtIndexPath(UITableView& tableView, const NSIndexPath& indexPath) {
        (void)tableView, (void)indexPath;
    }
    // The edit a row offers: delete unless the delegate says otherwise.
    virtual UITableViewCellEditingStyle tableViewEditingStyleForRowAtIndexPath(UITableView& tableView,
                                                                             const NSIndexPath& indexPath) {
        (void)tableView, (void)indexPath;
        return UITableViewCellEditingStyle::Delete;
    }
};

// One change of a batch update, as recorded.
struct UITableViewUpdate {
    enum class Kind { InsertRows, DeleteRows, ReloadRows, InsertSections, DeleteSections, ReloadSections };
    Kind kind;
    std::vector<NSIndexPath> indexPaths;  // for rows
    std::vector<int64_t> sections;        // for sections
    UITableViewRowAnimation animation;
};

class UITableView : public UIScrollView {
public:
    using CellFactory = std::function<UITableViewCellPtr(const std::string& reuseIdentifier)>;
    static constexpr double kDefaultRowHeight = 44;
    static constexpr double kTitledHeaderHeight = 22;

    explicit UITableView(const graphics::Rect& frame = {}, UITableViewStyle style = UITableViewStyle::Plain);
    ~UITableView() override;

    UITableViewStyle style() const { return style_; }

    // Both kept weak.
    std::shared_ptr<UITableViewDataSource> dataSource() const { return dataSource_.lock(); }
    // A new data source is asked again at the next layout or question.
    void setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource);
    std::shared_ptr<UITableViewDelegate> delegate() const { return tableDelegate_.lock(); }
    // Also the scroll view's delegate.
    void setDelegate(const std::shared_ptr<UITableViewDelegate>& delegate);

    // --- Registration and reuse ---
    // The nib's first top-level UITableViewCell is the cell.
    void registerNib(const std::shared_ptr<UINib>& nib, const std::string& reuseIdentifier);
    // A cell class, as its factory.
    void registerClass(CellFactory factory, const std::string& reuseIdentifier);
    // The prototype cells of the controller's storyboard scene, each under its
    // reuse identifier (what the scene does for its tables as its view loads;
    // a table controller does it for the table it makes).
    void registerPrototypeCells(const UIViewController& controller);
    template <class Cell>
    void registerClass(const std::string& reuseIdentifier) {
        registerClass([](const std::string& identifier) -> UITableViewCellPtr {
            return std::make_shared<Cell>(UITableViewCellStyle::Default, identifier);
        }, reuseIdentifier);
    }
    // A queued cell (after prepareForReuse), else a new one from the
    // registration, else null.
    UITableViewCellPtr dequeueReusableCellWithIdentifier(const std::string& reuseIdentifier);
    // The same, but raises when nothing is registered under the identifier.
    UITableViewCellPtr dequeueReusableCellWithIdentifier(const std::string& reuseIdentifier, const NSIndexPath& indexPath);

    // --- Data ---
    void reloadData();
    bool hasLoadedData() const { return loaded_; }
    int64_t numberOfSections();
    int64_t numberOfRowsInSection(int64_t section);
    // As asked at the last reload or update (for the screen dump).
    std::optional<std::string> titleForHeaderInSection(int64_t section);
    std::optional<std::string> titleForFooterInSection(int64_t section);
    double heightForHeaderInSection(int64_t section);
    double heightForFooterInSection(int64_t section);
    double heightForRowAtIndexPath(const NSIndexPath& indexPath);
    const std::vector<std::string>& sectionIndexTitles() { ensureLoaded(); return sectionIndexTitles_; }

    void reloadSections(const std::vector<int64_t>& sections, UITableViewRowAnimation animation);
    void reloadRowsAtIndexPaths(const std::vector<NSIndexPath>& indexPaths, UITableViewRowAnimation animation);
    void beginUpdates();
    void endUpdates();
    void insertRowsAtIndexPaths(const std::vector<NSIndexPath>& indexPaths, UITableViewRowAnimation animation);
    void deleteRowsAtIndexPaths(const std::vector<NSIndexPath>& indexPaths, UITableViewRowAnimation animation);
    void insertSections(const std::vector<int64_t>& sections, UITableViewRowAnimation animation);
    void deleteSections(const std::vector<int64_t>& sections, UITableViewRowAnimation animation);
    // The changes of the last update that ended (or single reload/insert/delete call).
    const std::vector<UITableViewUpdate>& lastUpdates() const { return lastUpdates_; }

    // --- Geometry and the viewport ---
    graphics::Rect rectForSection(int64_t section);
    graphics::Rect rectForHeaderInSection(int64_t section);
    graphics::Rect rectForFooterInSection(int64_t section);
    graphics::Rect rectForRowAtIndexPath(const NSIndexPath& indexPath);
    // The row under a point of the content, in view or not.
    std::optional<NSIndexPath> indexPathForRowAtPoint(graphics::Point point);
    // The cell of a row in view; null for a row out of view.
    UITableViewCellPtr cellForRowAtIndexPath(const NSIndexPath& indexPath);
    std::optional<NSIndexPath> indexPathForCell(const UITableViewCell& cell) const;
    // In index-path order.
    std::vector<UITableViewCellPtr> visibleCells();
    std::vector<NSIndexPath> indexPathsForVisibleRows();
    // The header (footer) view of a section in view, when the delegate gave one.
    std::shared_ptr<UIView> headerViewForSection(int64_t section);
    std::shared_ptr<UIView> footerViewForSection(int64_t section);
    // Moves the offset so the row stands at the top, middle or bottom of the
    // view (inside the insets), or with None just into view when it is not;
    // clamped to the content. Raises for a row that does not exist.
    void scrollToRowAtIndexPath(const NSIndexPath& indexPath, UITableViewScrollPosition position, bool animated);

    // --- Selection ---
    bool allowsSelection() const { return allowsSelection_; }
    void setAllowsSelection(bool allows) { allowsSelection_ = allows; }
    std::optional<NSIndexPath> indexPathForSelectedRow() const { return selected_; }
    // Without delegate calls, as the platform's; scrolls as asked.
    void selectRowAtIndexPath(const std::optional<NSIndexPath>& indexPath, bool animated,
                              UITableViewScrollPosition scrollPosition);
    void deselectRowAtIndexPath(const NSIndexPath& indexPath, bool animated);
    // A person's tap on a row in view: will-select, deselect of the old row
    // (did-deselect), select, the cell's segue, did-select. False when the row
    // is not in view, its cell takes no touches or selection is off.
    bool tapRowAtIndexPath(const NSIndexPath& indexPath);
    // --- Editing ---
    bool isEditing() const { return editing_; }
    // The editing mode, as the table's own editing switch (no animation here).
    void setEditing(bool editing, bool animated);
    // The edit the row offers: none when its data source commits no edits or
    // says it cannot be edited, else the delegate's editing style.
    UITableViewCellEditingStyle editingStyleForRowAtIndexPath(const NSIndexPath& indexPath);
    // A person's swipe to delete on a row in view and its Delete button: the
    // data source commits the delete style. False (and nothing asked) when
    // the row is not in view or offers no delete.
    bool swipeToDeleteRowAtIndexPath(const NSIndexPath& indexPath);

    // The controller whose view holds the table (the nearest up the superviews).
    std::shared_ptr<UIViewController> owningViewController() const;

    // --- Look ---
    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double height) { rowHeight_ = height; }
    double sectionHeaderHeight() const { return sectionHeaderHeight_; }
    void setSectionHeaderHeight(double height) { sectionHeaderHeight_ = height; }
    double sectionFooterHeight() const { return sectionFooterHeight_; }
    void setSectionFooterHeight(double height) { sectionFooterHeight_ = height; }
    const std::shared_ptr<UIView>& tableHeaderView() const { return tableHeaderView_; }
    void setTableHeaderView(std::shared_ptr<UIView> view);
    const std::shared_ptr<UIView>& tableFooterView() const { return tableFooterView_; }
    void setTableFooterView(std::shared_ptr<UIView> view);
    const UIEdgeInsets& separatorInset() const { return separatorInset_; }
    void setSeparatorInset(const UIEdgeInsets& inset) { separatorInset_ = inset; }
    UITableViewCellSeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(UITableViewCellSeparatorStyle style) { separatorStyle_ = style; }
    const std::optional<graphics::Color>& separatorColor() const { return separatorColor_; }
    void setSeparatorColor(std::optional<graphics::Color> color) { separatorColor_ = std::move(color); }
    // Behind the rows, sized to the bounds.
    const std::shared_ptr<UIView>& backgroundView() const { return backgroundView_; }
    void setBackgroundView(std::shared_ptr<UIView> view);

    void layoutSubviews() override;
    void didMoveToWindow() override;
    // The stock look (grouped background, section header bands and titles).
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UITableView"; }

protected:
    void boundsDidChange() override;

private:
    struct Section {
        int64_t rows = 0;
        std::optional<std::string> headerTitle;
        std::optional<std::string> footerTitle;
        double headerHeight = 0;
        double footerHeight = 0;
        double top = 0;               // the header's top in the content
        std::vector<double> rowTops;  // rows+1 edges, from the first row's top
        double rowsHeight() const { return rowTops.back(); }
        double height() const { return headerHeight + rowsHeight() + footerHeight; }
    };
    struct Registration {
        std::shared_ptr<UINib> nib;
        CellFactory factory;
    };

    void ensureLoaded();
    Section measureSection(UITableViewDataSource* dataSource, UITableViewDelegate* delegate, int64_t section);
    std::vector<Section> measureAll();
    // Places the sections one below the other and sizes the content.
    void stackSections();
    void placeFixedViews();
    // Brings the cells in line with the visible bounds.
    void updateVisibleCells();
    void enqueue(const UITableViewCellPtr& cell);
    UITableViewCellPtr makeCell(const NSIndexPath& indexPath);
    UITableViewCellPtr makeRegisteredCell(const std::string& reuseIdentifier);
    void addUpdate(UITableViewUpdate update);
    void applyUpdates(std::vector<UITableViewUpdate> updates);
    void checkIndexPath(const NSIndexPath& indexPath);
    void checkSection(int64_t section);
    double rowsTop(int64_t section) const;
    void syncHeaderFooterViews(const graphics::Rect& visible);

    UITableViewStyle style_;
    std::weak_ptr<UITableViewDataSource> dataSource_;
    std::weak_ptr<UITableViewDelegate> tableDelegate_;
    std::map<std::string, Registration> registrations_;
    std::map<std::string, std::vector<UITableViewCellPtr>> reuseQueues_;
    bool loaded_ = false;
    bool updatingCells_ = false;
    std::vector<Section> sections_;
    std::vector<std::string> sectionIndexTitles_;
    std::map<NSIndexPath, UITableViewCellPtr> visibleCells_;
    std::map<int64_t, std::shared_ptr<UIView>> headerViews_;
    std::map<int64_t, std::shared_ptr<UIView>> footerViews_;
    int updateDepth_ = 0;
    std::vector<UITableViewUpdate> pendingUpdates_;
    std::vector<UITableViewUpdate> lastUpdates_;
    std::optional<NSIndexPath> selected_;
    bool allowsSelection_ = true;
    bool editing_ = false;
    double rowHeight_ = kDefaultRowHeight;
    double sectionHeaderHeight_ = kTitledHeaderHeight;
    double sectionFooterHeight_ = kTitledHeaderHeight;
    std::shared_ptr<UIView> tableHeaderView_;
    std::shared_ptr<UIView> tableFooterView_;
    UIEdgeInsets separatorInset_{0, 15, 0, 0};
    UITableViewCellSeparatorStyle separatorStyle_ = UITableViewCellSeparatorStyle::SingleLine;
    std::optional<graphics::Color> separatorColor_;
    std::shared_ptr<UIView> backgroundView_;
};

using UITableViewPtr = std::shared_ptr<UITableView>;

}  // namespace uikit
