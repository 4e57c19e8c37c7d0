#include "uikit/UITableView.h"

#include <algorithm>

#include "foundation/Exception.h"
#include "foundation/MainThreadChecker.h"
#include "uikit/UINib.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIViewController.h"

namespace uikit {

namespace {

void requireMainForTableView() { foundation::requireMainThread("UITableView is used from the main thread only"); }

bool meets(double top, double bottom, double visibleTop, double visibleBottom) {
    return top < visibleBottom && bottom > visibleTop;
}

template <class T>
bool contains(const std::vector<T>& values, const T& value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

template <class T>
int64_t countBelow(const std::vector<T>& values, const T& value) {
    return std::count_if(values.begin(), values.end(), [&](const T& v) { return v < value; });
}

// Where an index of the old layout lands: past the deleted ones before it,
// then moved down by each insertion (given in the new layout) at or above it.
int64_t mapIndex(int64_t index, const std::vector<int64_t>& deleted, std::vector<int64_t> inserted) {
    int64_t mapped = index - countBelow(deleted, index);
    std::sort(inserted.begin(), inserted.end());
    for (int64_t at : inserted)
        if (at <= mapped) ++mapped;
    return mapped;
}

}  // namespace

UITableView::UITableView(const graphics::Rect& frame, UITableViewStyle style) : UIScrollView(frame), style_(style) {
    setAlwaysBounceVertical(true);
}

UITableView::~UITableView() = default;

void UITableView::setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource) {
    requireMainForTableView();
    dataSource_ = dataSource;
    if (!loaded_) return;
    loaded_ = false;
    setNeedsLayout();
}

void UITableView::setDelegate(const std::shared_ptr<UITableViewDelegate>& delegate) {
    tableDelegate_ = delegate;
    UIScrollView::setDelegate(delegate);
}

// --- Registration and reuse ---

void UITableView::registerNib(const std::shared_ptr<UINib>& nib, const std::string& reuseIdentifier) {
    requireMainForTableView();
    if (nib) registrations_[reuseIdentifier] = {nib, {}};
    else registrations_.erase(reuseIdentifier);
}

void UITableView::registerClass(CellFactory factory, const std::string& reuseIdentifier) {
    requireMainForTableView();
    if (factory) registrations_[reuseIdentifier] = {nullptr, std::move(factory)};
    else registrations_.erase(reuseIdentifier);
}

std::shared_ptr<UIViewController> UITableView::owningViewController() const {
    for (const UIView* view = this; view; ) {
        if (auto controller = std::dynamic_pointer_cast<UIViewController>(view->viewController())) return controller;
        auto super = view->superview();
        view = super.get();
    }
    return nullptr;
}

void UITableView::registerPrototypeCells(const UIViewController& controller) {
    requireMainForTableView();
    auto storyboard = controller.storyboard();
    if (!storyboard) return;
    std::weak_ptr<UIStoryboard> weakStoryboard = storyboard;
    std::weak_ptr<const UIViewController> weakController =
        std::dynamic_pointer_cast<const UIViewController>(controller.weak_from_this().lock());
    for (const auto& identifier : storyboard->prototypeCellIdentifiers(controller)) {
        if (registrations_.count(identifier)) continue;
        registerClass([weakStoryboard, weakController](const std::string& id) -> UITableViewCellPtr {
            auto board = weakStoryboard.lock();
            auto owner = weakController.lock();
            if (!board || !owner) return nullptr;
            return std::dynamic_pointer_cast<UITableViewCell>(board->makePrototypeCell(*owner, id));
        }, identifier);
    }
}

UITableViewCellPtr UITableView::makeRegisteredCell(const std::string& reuseIdentifier) {
    UITableViewCellPtr cell;
    auto it = registrations_.find(reuseIdentifier);
    if (it == registrations_.end()) return nullptr;
    if (it->second.nib) {
        for (const auto& object : it->second.nib->instantiateWithOwner(nullptr))
            if ((cell = std::dynamic_pointer_cast<UITableViewCell>(object))) break;
    } else {
        cell = it->second.factory(reuseIdentifier);
    }
    if (cell && !cell->reuseIdentifier()) cell->setReuseIdentifier(reuseIdentifier);
    return cell;
}

UITableViewCellPtr UITableView::dequeueReusableCellWithIdentifier(const std::string& reuseIdentifier) {
    requireMainForTableView();
    auto queue = reuseQueues_.find(reuseIdentifier);
    if (queue != reuseQueues_.end() && !queue->second.empty()) {
        UITableViewCellPtr cell = std::move(queue->second.back());
        queue->second.pop_back();
        cell->prepareForReuse();
        return cell;
    }
    return makeRegisteredCell(reuseIdentifier);
}

UITableViewCellPtr UITableView::dequeueReusableCellWithIdentifier(const std::string& reuseIdentifier,
                                                                 const NSIndexPath& indexPath) {
    (void)indexPath;
    auto cell = dequeueReusableCellWithIdentifier(reuseIdentifier);
    if (!cell)
        foundation::raise(foundation::kInternalInconsistencyException,
                          "no cell can be dequeued with identifier " + reuseIdentifier +
                              ": register a nib or a cell class under it, or give the scene a prototype cell of it");
    return cell;
}

void UITableView::enqueue(const UITableViewCellPtr& cell) {
    cell->removeFromSuperview();
    cell->setSelected(false, false);
    if (cell->reuseIdentifier()) reuseQueues_[*cell->reuseIdentifier()].push_back(cell);
}

// --- Data ---

void UITableView::ensureLoaded() {
    if (!loaded_) reloadData();
}

UITableView::Section UITableView::measureSection(UITableViewDataSource* dataSource, UITableViewDelegate* delegate,
                                                 int64_t section) {
    Section s;
    s.rows = std::max<int64_t>(0, dataSource->tableViewNumberOfRowsInSection(*this, section));
    s.headerTitle = dataSource->tableViewTitleForHeaderInSection(*this, section);
    s.footerTitle = dataSource->tableViewTitleForFooterInSection(*this, section);
    std::optional<double> header = delegate ? delegate->tableViewHeightForHeaderInSection(*this, section) : std::nullopt;
    std::optional<double> footer = delegate ? delegate->tableViewHeightForFooterInSection(*this, section) : std::nullopt;
    s.headerHeight = header ? std::max(0.0, *header) : (s.headerTitle ? sectionHeaderHeight_ : 0);
    s.footerHeight = footer ? std::max(0.0, *footer) : (s.footerTitle ? sectionFooterHeight_ : 0);
    s.rowTops.reserve(size_t(s.rows) + 1);
    s.rowTops.push_back(0);
    double y = 0;
    for (int64_t row = 0; row < s.rows; ++row) {
        std::optional<double> height =
            delegate ? delegate->tableViewHeightForRowAtIndexPath(*this, {section, row}) : std::nullopt;
        y += height ? std::max(0.0, *height) : rowHeight_;
        s.rowTops.push_back(y);
    }
    return s;
}

std::vector<UITableView::Section> UITableView::measureAll() {
    std::vector<Section> sections;
    auto dataSource = this->dataSource();
    if (!dataSource) return sections;
    auto delegate = this->delegate();
    int64_t count = std::max<int64_t>(0, dataSource->numberOfSectionsInTableView(*this));
    sections.reserve(size_t(count));
    for (int64_t section = 0; section < count; ++section)
        sections.push_back(measureSection(dataSource.get(), delegate.get(), section));
    sectionIndexTitles_ = dataSource->sectionIndexTitlesForTableView(*this);
    return sections;
}

void UITableView::stackSections() {
    double y = tableHeaderView_ ? tableHeaderView_->frame().size.height : 0;
    for (auto& section : sections_) {
        section.top = y;
        y += section.height();
    }
    if (tableFooterView_) y += tableFooterView_->frame().size.height;
    setContentSize({bounds().size.width, y});
    placeFixedViews();
}

void UITableView::placeFixedViews() {
    double width = bounds().size.width;
    if (tableHeaderView_) tableHeaderView_->setFrame({{0, 0}, {width, tableHeaderView_->frame().size.height}});
    if (tableFooterView_) {
        double height = tableFooterView_->frame().size.height;
        tableFooterView_->setFrame({{0, contentSize().height - height}, {width, height}});
    }
    if (backgroundView_) backgroundView_->setFrame(bounds());
}

void UITableView::reloadData() {
    requireMainForTableView();
    loaded_ = true;
    auto self = weak_from_this().lock();
    for (auto& [indexPath, cell] : visibleCells_) enqueue(cell);
    visibleCells_.clear();
    for (auto& [section, view] : headerViews_) view->removeFromSuperview();
    for (auto& [section, view] : footerViews_) view->removeFromSuperview();
    headerViews_.clear();
    footerViews_.clear();
    selected_.reset();
    pendingUpdates_.clear();
    sections_ = measureAll();
    stackSections();
    updateVisibleCells();
}

int64_t UITableView::numberOfSections() {
    ensureLoaded();
    return int64_t(sections_.size());
}

void UITableView::checkSection(int64_t section) {
    ensureLoaded();
    if (section < 0 || section >= int64_t(sections_.size()))
        foundation::raise(foundation::kRangeException, "the table has no section " + std::to_string(section));
}

void UITableView::checkIndexPath(const NSIndexPath& indexPath) {
    checkSection(indexPath.section);
    if (indexPath.row < 0 || indexPath.row >= sections_[size_t(indexPath.section)].rows)
        foundation::raise(foundation::kRangeException, "the table has no row " + std::to_string(indexPath.row) +
                                                           " in section " + std::to_string(indexPath.section));
}

int64_t UITableView::numberOfRowsInSection(int64_t section) {
    checkSection(section);
    return sections_[size_t(section)].rows;
}

std::optional<std::string> UITableView::titleForHeaderInSection(int64_t section) {
    checkSection(section);
    return sections_[size_t(section)].headerTitle;
}

std::optional<std::string> UITableView::titleForFooterInSection(int64_t section) {
    checkSection(section);
    return sections_[size_t(section)].footerTitle;
}

double UITableView::heightForHeaderInSection(int64_t section) {
    checkSection(section);
    return sections_[size_t(section)].headerHeight;
}

double UITableView::heightForFooterInSection(int64_t section) {
    checkSection(section);
    return sections_[size_t(section)].footerHeight;
}

double UITableView::heightForRowAtIndexPath(const NSIndexPath& indexPath) {
    checkIndexPath(indexPath);
    const auto& tops = sections_[size_t(indexPath.section)].rowTops;
    return tops[size_t(indexPath.row) + 1] - tops[size_t(indexPath.row)];
}

// --- Updates ---

void UITableView::reloadSections(const std::vector<int64_t>& sections, UITableViewRowAnimation animation) {
    addUpdate({UITableViewUpdate::Kind::ReloadSections, {}, sections, animation});
}

void UITableView::reloadRowsAtIndexPaths(const std::vector<NSIndexPath>& indexPaths, UITableViewRowAnimation animation) {
    addUpdate({UITableViewUpdate::Kind::ReloadRows, indexPaths, {}, animation});
}

void UITableView::insertRowsAtIndexPaths(const std::vector<NSIndexPath>& indexPaths, UITableViewRowAnimation animation) {
    addUpdate({UITableViewUpdate::Kind::InsertRows, indexPaths, {}, animation});
}

void UITableView::deleteRowsAtIndexPaths(const std::vector<NSIndexPath>& indexPaths, UITableViewRowAnimation animation) {
    addUpdate({UITableViewUpdate::Kind::DeleteRows, indexPaths, {}, animation});
}

void UITableView::insertSections(const std::vector<int64_t>& sections, UITableViewRowAnimation animation) {
    addUpdate({UITableViewUpdate::Kind::InsertSections, {}, sections, animation});
}

void UITableView::deleteSections(const std::vector<int64_t>& sections, UITableViewRowAnimation animation) {
    addUpdate({UITableViewUpdate::Kind::DeleteSections, {}, sections, animation});
}

void UITableView::beginUpdates() {
    requireMainForTableView();
    // The counts before the update are those of the data loaded now.
    ensureLoaded();
    ++updateDepth_;
}

void UITableView::endUpdates() {
    requireMainForTableView();
    if (updateDepth_ == 0) return;
    if (--updateDepth_ > 0) return;
    std::vector<UITableViewUpdate> updates;
    updates.swap(pendingUpdates_);
    applyUpdates(std::move(updates));
}

void UITableView::addUpdate(UITableViewUpdate update) {
    requireMainForTableView();
    if (updateDepth_ > 0) {
        pendingUpdates_.push_back(std::move(update));
        return;
    }
    if (!loaded_) {
        // Nothing was shown yet, so there is nothing to update from.
        reloadData();
        lastUpdates_ = {std::move(update)};
        return;
    }
    applyUpdates({std::move(update)});
}

void UITableView::applyUpdates(std::vector<UITableViewUpdate> updates) {
    auto self = weak_from_this().lock();
    using Kind = UITableViewUpdate::Kind;
    // Sections deleted and reloaded are in the old layout, inserted ones in
    // the new; so are the rows.
    std::vector<int64_t> deletedSections, insertedSections, reloadedSections;
    std::vector<NSIndexPath> deletedRows, insertedRows, reloadedRows;
    for (const auto& update : updates) {
        switch (update.kind) {
        case Kind::InsertRows: insertedRows.insert(insertedRows.end(), update.indexPaths.begin(), update.indexPaths.end()); break;
        case Kind::DeleteRows: deletedRows.insert(deletedRows.end(), update.indexPaths.begin(), update.indexPaths.end()); break;
        case Kind::ReloadRows: reloadedRows.insert(reloadedRows.end(), update.indexPaths.begin(), update.indexPaths.end()); break;
        case Kind::InsertSections: insertedSections.insert(insertedSections.end(), update.sections.begin(), update.sections.end()); break;
        case Kind::DeleteSections: deletedSections.insert(deletedSections.end(), update.sections.begin(), update.sections.end()); break;
        case Kind::ReloadSections: reloadedSections.insert(reloadedSections.end(), update.sections.begin(), update.sections.end()); break;
        }
    }
    int64_t oldCount = int64_t(sections_.size());
    for (int64_t section : deletedSections) checkSection(section);
    for (int64_t section : reloadedSections) checkSection(section);
    for (const auto& indexPath : deletedRows) checkIndexPath(indexPath);
    for (const auto& indexPath : reloadedRows) checkIndexPath(indexPath);

    std::vector<Section> measured = measureAll();
    int64_t newCount = int64_t(measured.size());
    int64_t expected = oldCount - int64_t(deletedSections.size()) + int64_t(insertedSections.size());
    if (newCount != expected)
        foundation::raise(foundation::kInternalInconsistencyException,
                          "Invalid update: invalid number of sections. The table has " + std::to_string(newCount) +
                              " sections after the update, but had " + std::to_string(oldCount) + " before it, with " +
                              std::to_string(insertedSections.size()) + " inserted and " +
                              std::to_string(deletedSections.size()) + " deleted.");
    // Each old section that stays, by its new index.
    std::vector<int64_t> oldOfNew(size_t(newCount), -1);
    for (int64_t old = 0; old < oldCount; ++old)
        if (!contains(deletedSections, old)) {
            int64_t mapped = mapIndex(old, deletedSections, insertedSections);
            if (mapped >= 0 && mapped < newCount) oldOfNew[size_t(mapped)] = old;
        }
    auto rowsIn = [](const std::vector<NSIndexPath>& paths, int64_t section) {
        std::vector<int64_t> rows;
        for (const auto& path : paths)
            if (path.section == section) rows.push_back(path.row);
        return rows;
    };
    for (int64_t section = 0; section < newCount; ++section) {
        int64_t old = oldOfNew[size_t(section)];
        if (old < 0 || contains(insertedSections, section) || contains(reloadedSections, old)) continue;
        int64_t before = sections_[size_t(old)].rows;
        int64_t inserted = int64_t(rowsIn(insertedRows, section).size());
        int64_t deleted = int64_t(rowsIn(deletedRows, old).size());
        int64_t after = measured[size_t(section)].rows;
        if (after != before + inserted - deleted)
            foundation::raise(foundation::kInternalInconsistencyException,
                              "Invalid update: invalid number of rows in section " + std::to_string(section) +
                                  ". The section has " + std::to_string(after) + " rows after the update, but had " +
                                  std::to_string(before) + " before it, with " + std::to_string(inserted) +
                                  " inserted and " + std::to_string(deleted) + " deleted.");
    }

    // Where an old row lands, if it stays and is not reloaded.
    auto remap = [&](const NSIndexPath& path) -> std::optional<NSIndexPath> {
        if (contains(deletedSections, path.section) || contains(reloadedSections, path.section)) return std::nullopt;
        if (contains(deletedRows, path) || contains(reloadedRows, path)) return std::nullopt;
        int64_t section = mapIndex(path.section, deletedSections, insertedSections);
        int64_t row = mapIndex(path.row, rowsIn(deletedRows, path.section), rowsIn(insertedRows, section));
        return NSIndexPath{section, row};
    };
    std::map<NSIndexPath, UITableViewCellPtr> kept;
    std::vector<UITableViewCellPtr> leaving;
    for (auto& [path, cell] : visibleCells_) {
        if (auto to = remap(path)) kept[*to] = cell;
        else leaving.push_back(cell);
    }
    if (selected_) selected_ = remap(*selected_);
    sections_ = std::move(measured);
    visibleCells_ = std::move(kept);
    for (const auto& cell : leaving) enqueue(cell);
    for (auto& [section, view] : headerViews_) view->removeFromSuperview();
    for (auto& [section, view] : footerViews_) view->removeFromSuperview();
    headerViews_.clear();
    footerViews_.clear();
    lastUpdates_ = std::move(updates);
    stackSections();
    updateVisibleCells();
}

// --- Geometry and the viewport ---

double UITableView::rowsTop(int64_t section) const {
    const auto& s = sections_[size_t(section)];
    return s.top + s.headerHeight;
}

graphics::Rect UITableView::rectForSection(int64_t section) {
    checkSection(section);
    const auto& s = sections_[size_t(section)];
    return {{0, s.top}, {bounds().size.width, s.height()}};
}

graphics::Rect UITableView::rectForHeaderInSection(int64_t section) {
    checkSection(section);
    const auto& s = sections_[size_t(section)];
    return {{0, s.top}, {bounds().size.width, s.headerHeight}};
}

graphics::Rect UITableView::rectForFooterInSection(int64_t section) {
    checkSection(section);
    const auto& s = sections_[size_t(section)];
    return {{0, rowsTop(section) + s.rowsHeight()}, {bounds().size.width, s.footerHeight}};
}

graphics::Rect UITableView::rectForRowAtIndexPath(const NSIndexPath& indexPath) {
    checkIndexPath(indexPath);
    const auto& tops = sections_[size_t(indexPath.section)].rowTops;
    double top = tops[size_t(indexPath.row)];
    return {{0, rowsTop(indexPath.section) + top}, {bounds().size.width, tops[size_t(indexPath.row) + 1] - top}};
}

std::optional<NSIndexPath> UITableView::indexPathForRowAtPoint(graphics::Point point) {
    ensureLoaded();
    if (point.x < 0 || point.x >= bounds().size.width) return std::nullopt;
    for (size_t section = 0; section < sections_.size(); ++section) {
        const auto& s = sections_[section];
        double y = point.y - rowsTop(int64_t(section));
        if (y < 0 || y >= s.rowsHeight()) continue;
        auto it = std::upper_bound(s.rowTops.begin() + 1, s.rowTops.end(), y);
        return NSIndexPath{int64_t(section), int64_t(it - (s.rowTops.begin() + 1))};
    }
    return std::nullopt;
}

UITableViewCellPtr UITableView::cellForRowAtIndexPath(const NSIndexPath& indexPath) {
    ensureLoaded();
    auto it = visibleCells_.find(indexPath);
    return it == visibleCells_.end() ? nullptr : it->second;
}

std::optional<NSIndexPath> UITableView::indexPathForCell(const UITableViewCell& cell) const {
    for (const auto& [path, visible] : visibleCells_)
        if (visible.get() == &cell) return path;
    return std::nullopt;
}

std::vector<UITableViewCellPtr> UITableView::visibleCells() {
    ensureLoaded();
    std::vector<UITableViewCellPtr> cells;
    for (const auto& [path, cell] : visibleCells_) cells.push_back(cell);
    return cells;
}

std::vector<NSIndexPath> UITableView::indexPathsForVisibleRows() {
    ensureLoaded();
    std::vector<NSIndexPath> paths;
    for (const auto& [path, cell] : visibleCells_) paths.push_back(path);
    return paths;
}

std::shared_ptr<UIView> UITableView::headerViewForSection(int64_t section) {
    ensureLoaded();
    auto it = headerViews_.find(section);
    return it == headerViews_.end() ? nullptr : it->second;
}

std::shared_ptr<UIView> UITableView::footerViewForSection(int64_t section) {
    ensureLoaded();
    auto it = footerViews_.find(section);
    return it == footerViews_.end() ? nullptr : it->second;
}

UITableViewCellPtr UITableView::makeCell(const NSIndexPath& indexPath) {
    auto dataSource = this->dataSource();
    UITableViewCellPtr cell = dataSource ? dataSource->tableViewCellForRowAtIndexPath(*this, indexPath) : nullptr;
    if (!cell)
        foundation::raise(foundation::kInternalInconsistencyException,
                          "the table's data source gave no cell for row " + std::to_string(indexPath.row) +
                              " in section " + std::to_string(indexPath.section));
    return cell;
}

void UITableView::updateVisibleCells() {
    if (!loaded_ || updatingCells_ || weak_from_this().expired()) return;
    updatingCells_ = true;
    auto self = weak_from_this().lock();
    graphics::Rect visible = bounds();
    double visibleTop = visible.origin.y, visibleBottom = visible.origin.y + visible.size.height;

    std::vector<NSIndexPath> inView;
    if (visible.size.height > 0)
        for (size_t section = 0; section < sections_.size(); ++section) {
            const auto& s = sections_[section];
            double base = rowsTop(int64_t(section));
            if (s.rows == 0 || !meets(base, base + s.rowsHeight(), visibleTop, visibleBottom)) continue;
            auto first = std::upper_bound(s.rowTops.begin() + 1, s.rowTops.end(), visibleTop - base);
            auto last = std::lower_bound(s.rowTops.begin(), s.rowTops.end() - 1, visibleBottom - base);
            for (int64_t row = int64_t(first - (s.rowTops.begin() + 1)); row < int64_t(last - s.rowTops.begin()); ++row)
                inView.push_back({int64_t(section), row});
        }

    // Cells of rows that left go to their queues before new rows ask for cells.
    for (auto it = visibleCells_.begin(); it != visibleCells_.end();) {
        if (std::binary_search(inView.begin(), inView.end(), it->first)) {
            ++it;
        } else {
            enqueue(it->second);
            it = visibleCells_.erase(it);
        }
    }
    size_t cellIndex = backgroundView_ && backgroundView_->superview().get() == this ? 1 : 0;
    try {
        for (const auto& path : inView) {
            auto found = visibleCells_.find(path);
            UITableViewCellPtr cell = found == visibleCells_.end() ? makeCell(path) : found->second;
            visibleCells_[path] = cell;
            cell->setFrame(rectForRowAtIndexPath(path));
            if (cell->isSelected() != (selected_ == path)) cell->setSelected(selected_ == path, false);
            if (cell->superview().get() != this) insertSubviewAtIndex(cell, cellIndex);
            cell->setNeedsLayout();
        }
    } catch (...) {
        updatingCells_ = false;
        throw;
    }
    syncHeaderFooterViews(visible);
    if (backgroundView_) backgroundView_->setFrame(visible);
    updatingCells_ = false;
}

void UITableView::syncHeaderFooterViews(const graphics::Rect& visible) {
    double visibleTop = visible.origin.y, visibleBottom = visible.origin.y + visible.size.height;
    auto delegate = this->delegate();
    auto sync = [&](std::map<int64_t, std::shared_ptr<UIView>>& views, bool header) {
        for (auto it = views.begin(); it != views.end();) {
            graphics::Rect rect = header ? rectForHeaderInSection(it->first) : rectForFooterInSection(it->first);
            if (rect.size.height > 0 && meets(rect.origin.y, rect.origin.y + rect.size.height, visibleTop, visibleBottom)) {
                it->second->setFrame(rect);
                ++it;
            } else {
                it->second->removeFromSuperview();
                it = views.erase(it);
            }
        }
        if (!delegate) return;
        for (size_t section = 0; section < sections_.size(); ++section) {
            int64_t s = int64_t(section);
            if (views.count(s)) continue;
            graphics::Rect rect = header ? rectForHeaderInSection(s) : rectForFooterInSection(s);
            if (rect.size.height <= 0 || !meets(rect.origin.y, rect.origin.y + rect.size.height, visibleTop, visibleBottom))
                continue;
            auto view = header ? delegate->tableViewViewForHeaderInSection(*this, s)
                               : delegate->tableViewViewForFooterInSection(*this, s);
            if (!view) continue;
            view->setFrame(rect);
            addSubview(view);
            views[s] = view;
        }
    };
    sync(headerViews_, true);
    sync(footerViews_, false);
}

void UITableView::scrollToRowAtIndexPath(const NSIndexPath& indexPath, UITableViewScrollPosition position, bool animated) {
    requireMainForTableView();
    graphics::Rect row = rectForRowAtIndexPath(indexPath);
    const UIEdgeInsets& inset = contentInset();
    double height = bounds().size.height;
    double top = contentOffset().y + inset.top;
    double shown = height - inset.top - inset.bottom;
    double rowTop = row.origin.y, rowBottom = row.origin.y + row.size.height;
    if (position == UITableViewScrollPosition::None) {
        if (rowTop >= top && rowBottom <= top + shown) return;
        position = rowTop < top ? UITableViewScrollPosition::Top : UITableViewScrollPosition::Bottom;
    }
    double y = 0;
    switch (position) {
    case UITableViewScrollPosition::Top: y = rowTop - inset.top; break;
    case UITableViewScrollPosition::Middle: y = (rowTop + rowBottom) / 2 - inset.top - shown / 2; break;
    case UITableViewScrollPosition::Bottom:
    case UITableViewScrollPosition::None: y = rowBottom - height + inset.bottom; break;
    }
    y = std::clamp(y, minimumContentOffset().y, maximumContentOffset().y);
    setContentOffset({contentOffset().x, y}, animated);
}

// --- Selection ---

void UITableView::selectRowAtIndexPath(const std::optional<NSIndexPath>& indexPath, bool animated,
                                       UITableViewScrollPosition scrollPosition) {
    requireMainForTableView();
    if (indexPath) checkIndexPath(*indexPath);
    if (selected_ && selected_ != indexPath)
        if (auto cell = cellForRowAtIndexPath(*selected_)) cell->setSelected(false, animated);
    selected_ = indexPath;
    if (!indexPath) return;
    if (auto cell = cellForRowAtIndexPath(*indexPath)) cell->setSelected(true, animated);
    if (scrollPosition != UITableViewScrollPosition::None) scrollToRowAtIndexPath(*indexPath, scrollPosition, animated);
}

void UITableView::deselectRowAtIndexPath(const NSIndexPath& indexPath, bool animated) {
    requireMainForTableView();
    if (selected_ != indexPath) return;
    selected_.reset();
    if (auto cell = cellForRowAtIndexPath(indexPath)) cell->setSelected(false, animated);
}

bool UITableView::tapRowAtIndexPath(const NSIndexPath& indexPath) {
    requireMainForTableView();
    auto self = weak_from_this().lock();
    auto cell = cellForRowAtIndexPath(indexPath);
    if (!cell || !allowsSelection_ || !cell->isUserInteractionEnabled() || cell->isHidden() || !isUserInteractionEnabled())
        return false;
    auto delegate = this->delegate();
    std::optional<NSIndexPath> target = delegate ? delegate->tableViewWillSelectRowAtIndexPath(*this, indexPath) : indexPath;
    if (!target) return true;
    checkIndexPath(*target);
    if (selected_ && *selected_ != *target) {
        NSIndexPath old = *selected_;
        deselectRowAtIndexPath(old, false);
        if (delegate) delegate->tableViewDidDeselectRowAtIndexPath(*this, old);
    }
    selectRowAtIndexPath(target, false, UITableViewScrollPosition::None);
    // As on the platform, the cell's segue runs before did-select.
    auto selectedCell = cellForRowAtIndexPath(*target);
    if (selectedCell && selectedCell->reuseIdentifier())
        if (auto controller = owningViewController())
            UIStoryboard::triggerSegueForCell(*controller, *selectedCell->reuseIdentifier(), selectedCell);
    if (delegate) delegate->tableViewDidSelectRowAtIndexPath(*this, *target);
    return true;
}

// --- Editing ---

void UITableView::setEditing(bool editing, bool animated) {
    (void)animated;
    requireMainForTableView();
    editing_ = editing;
}

UITableViewCellEditingStyle UITableView::editingStyleForRowAtIndexPath(const NSIndexPath& indexPath) {
    requireMainForTableView();
    auto dataSource = this->dataSource();
    if (!dataSource || !dataSource->implementsCommitEditingStyle() ||
        !dataSource->tableViewCanEditRowAtIndexPath(*this, indexPath))
        return UITableViewCellEditingStyle::None;
    auto delegate = this->delegate();
    return delegate ? delegate->tableViewEditingStyleForRowAtIndexPath(*this, indexPath)
                    : UITableViewCellEditingStyle::Delete;
}

bool UITableView::swipeToDeleteRowAtIndexPath(const NSIndexPath& indexPath) {
    requireMainForTableView();
    auto self = weak_from_this().lock();
    auto cell = cellForRowAtIndexPath(indexPath);
    if (!cell || cell->isHidden() || !isUserInteractionEnabled()) return false;
    if (editingStyleForRowAtIndexPath(indexPath) != UITableViewCellEditingStyle::Delete) return false;
    dataSource()->tableViewCommitEditingStyle(*this, UITableViewCellEditingStyle::Delete, indexPath);
    return true;
}

// --- Look ---

void UITableView::setTableHeaderView(std::shared_ptr<UIView> view) {
    requireMainForTableView();
    // Assigning the same header again is how a screen tells the table that
    // the header's height changed: the sections move to its new bottom.
    if (tableHeaderView_ != view) {
        if (tableHeaderView_) tableHeaderView_->removeFromSuperview();
        tableHeaderView_ = std::move(view);
        if (tableHeaderView_) addSubview(tableHeaderView_);
    }
    stackSections();
    updateVisibleCells();
}

void UITableView::setTableFooterView(std::shared_ptr<UIView> view) {
    requireMainForTableView();
    if (tableFooterView_ == view) return;
    if (tableFooterView_) tableFooterView_->removeFromSuperview();
    tableFooterView_ = std::move(view);
    if (tableFooterView_) addSubview(tableFooterView_);
    stackSections();
    updateVisibleCells();
}

void UITableView::setBackgroundView(std::shared_ptr<UIView> view) {
    requireMainForTableView();
    if (backgroundView_ == view) return;
    if (backgroundView_) backgroundView_->removeFromSuperview();
    backgroundView_ = std::move(view);
    if (backgroundView_) {
        backgroundView_->setFrame(bounds());
        insertSubviewAtIndex(backgroundView_, 0);
    }
}

void UITableView::layoutSubviews() {
    ensureLoaded();
    placeFixedViews();
    updateVisibleCells();
}

void UITableView::didMoveToWindow() {
    if (window() && !loaded_ && dataSource()) reloadData();
}

void UITableView::boundsDidChange() {
    if (!loaded_) return;
    if (!(contentSize().width == bounds().size.width)) setContentSize({bounds().size.width, contentSize().height});
    updateVisibleCells();
}

}  // namespace uikit
