#include "programme/ListSessionsBaseViewController.h"

#include "lists/FilterModel.h"
#include "lists/ListBaseViewController.h"
#include "programme/ProgrammeListDelegate.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIView.h"

void ListSessionsBaseViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<ListSessionsBaseViewController>(); });
}

std::optional<std::string> ListSessionsBaseViewController::filterCaption() const {
    return ListBaseViewController::buildFilterCaptionTextForFilters(filtersArray_);
}

std::string ListSessionsBaseViewController::listDelegateClassName() const {
    const auto& delegate = listDelegate();
    if (!delegate) return "nil";
    if (auto* programme = dynamic_cast<const ProgrammeListDelegate*>(delegate.get())) return programme->className();
    if (dynamic_cast<const ListSessionsBaseDelegate*>(delegate.get())) return "ListSessionsBaseDelegate";
    return "ListsDataSourceProtocol";
}

void ListSessionsBaseViewController::loadView() {
    auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    root->setBackgroundColor(graphics::Color::white());
    table_ = std::make_shared<uikit::UITableView>(root->bounds());
    table_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    root->addSubview(table_);
    setView(root);
    setTableView(table_);
}

void ListSessionsBaseViewController::viewDidLoad() {
    LiteListBaseViewController::viewDidLoad();
    auto self = std::dynamic_pointer_cast<ListSessionsBaseViewController>(shared_from_this());
    table_->setDataSource(self);
    table_->setDelegate(self);
    if (isFilteredInitially_)
        table_->setTableHeaderView(ListBaseViewController::makeFilterHeaderView(
            table_->frame().size.width, filterCaption(), [](const foundation::ObjectPtr&) {}));
    table_->reloadData();
}

std::string ListSessionsBaseViewController::cellIdentifier() {
    return listDelegate() ? listDelegate()->cellIdentifier() : std::string("sessionCell");
}

int64_t ListSessionsBaseViewController::tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) {
    (void)tableView;
    (void)section;
    return 0;
}

std::vector<std::pair<std::string, std::string>> ListSessionsBaseViewController::screenDescriptionItems() const {
    auto items = stubDescriptionItems(className());
    items.emplace_back("listDelegate", listDelegateClassName());
    items.emplace_back("isPullToRefreshEnabled", isPullToRefreshEnabled() ? "YES" : "NO");
    items.emplace_back("isFilteredInitially", isFilteredInitially_ ? "YES" : "NO");
    std::string filters;
    for (const auto& filter : filtersArray_) {
        if (!filters.empty()) filters += "; ";
        const auto value = filter->selectedValue();
        filters += filter->displayName() + ": " + value.stringValue();
    }
    items.emplace_back("filtersArray", filters);
    if (auto caption = filterCaption()) items.emplace_back("filter", *caption);
    return items;
}
