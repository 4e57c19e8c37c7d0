#include "people/DocumentsListViewController.h"

#include <algorithm>

#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "app/AppDelegate.h"
#include "app/EventsSplitViewController.h"
#include "app/MoreScenes.h"
#include "coredata/Predicate.h"
#include "foundation/Exception.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/StringUtils.h"
#include "model/QVACoreDataDocumentInfo.h"
#include "people/DocumentDetailViewController.h"
#include "people/InformationListDelegate.h"
#include "people/ReportsListDelegate.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableViewCell.h"

void DocumentsListViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<DocumentsListViewController>(); });
    DocumentDetailViewController::addScene(storyboard);
    // Pushed on both idioms: on the pad the list already is the detail pane's
    // screen, and the viewer comes over it with a way back to the list.
    MoreScenes::addDestination(storyboard, kStoryboardIdentifier, kDetailsSegue,
                               DocumentDetailViewController::kStoryboardIdentifier, false);
}

DocumentsListViewController::DocumentsListViewController() = default;
DocumentsListViewController::~DocumentsListViewController() = default;

void DocumentsListViewController::loadView() {
    auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    root->setBackgroundColor(graphics::Color::white());
    listTable_ = std::make_shared<uikit::UITableView>(root->bounds());
    listTable_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    root->addSubview(listTable_);
    setView(root);
    setTableView(listTable_);
}

void DocumentsListViewController::viewDidLoad() {
    // Opened on its own, not from the More tab that hands it its list.
    if (!listDelegate()) setListDelegate(std::make_shared<InformationListDelegate>());
    auto self = std::dynamic_pointer_cast<DocumentsListViewController>(shared_from_this());
    listTable_->setDataSource(self);
    listTable_->setDelegate(self);
    ListBaseViewController::viewDidLoad();
    listTable_->reloadData();
    if (const auto& delegate = listDelegate())
        if (auto event = delegate->getAnalyticsEventName()) AnalyticsUtils::trackEventWithName(*event);
}

void DocumentsListViewController::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread("", kOffMainThreadUpdateException);
    refreshFetchedResultsControllersAndTables();
}

std::shared_ptr<const coredata::Predicate> DocumentsListViewController::fetchPredicate() {
    if (const auto& delegate = listDelegate())
        if (auto predicate = delegate->fetchPredicate()) return *predicate;
    return coredata::Predicate::truePredicate();
}

ListBaseViewController::Filters DocumentsListViewController::getFilterCollection() {
    if (const auto& delegate = listDelegate())
        if (auto filters = delegate->filtersCollection()) return *filters;
    return {};
}

std::vector<std::string> DocumentsListViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    if (const auto& delegate = listDelegate())
        if (auto entities = delegate->entitiesArrayToObserveForFilteringUIUpdates()) return *entities;
    return {};
}

uikit::UITableViewCellPtr DocumentsListViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                                                     const uikit::NSIndexPath& indexPath) {
    // Always a new cell: the rows are few and plain.
    auto cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, std::string(kCellIdentifier));
    auto* controller = fetchedResultsControllerForTableView(table);
    if (const auto& delegate = listDelegate(); delegate && controller)
        delegate->fetchedResultController(*controller, *cell, indexPath, *this);
    if (const auto& label = cell->textLabel()) label->setFont(uikit::UIFont::systemFontOfSize(kFontSize));
    return cell;
}

std::optional<double> DocumentsListViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                   const uikit::NSIndexPath&) {
    return kRowHeight;
}

std::vector<std::string> DocumentsListViewController::sectionIndexTitlesForTableView(uikit::UITableView& table) {
    std::vector<std::string> titles;
    auto* controller = fetchedResultsControllerForTableView(table);
    if (!controller) return titles;
    for (const auto& section : controller->sections()) {
        if (section.name.empty()) continue;
        const std::string title = foundation::StringUtils::uppercase(foundation::StringUtils::substring16(section.name, 0, 1));
        if (std::find(titles.begin(), titles.end(), title) == titles.end()) titles.push_back(title);
    }
    return titles;
}

void DocumentsListViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table,
                                                                   const uikit::NSIndexPath& indexPath) {
    table.deselectRowAtIndexPath(indexPath, true);
    auto* controller = fetchedResultsControllerForTableView(table);
    if (!controller || indexPath.section < 0 || indexPath.row < 0) return;
    const coredata::IndexPath path{static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)};
    if (path.section >= controller->sections().size() ||
        path.row >= controller->sections()[path.section].numberOfObjects())
        return;
    selectedDocumentInfo_ = controller->objectAtIndexPath(path).objectAs<QVACoreDataDocumentInfo>();
    performSegueWithIdentifier(kDetailsSegue, shared_from_this());
}

void DocumentsListViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    ListBaseViewController::prepareForSegue(segue, sender);
    if (segue.identifier() != kDetailsSegue) return;
    if (Utils::isIPad()) {
        auto delegate = AppDelegate::sharedAppDelegate();
        if (auto split = delegate ? delegate->eventsSplitVC() : nullptr) split->hideLeftPopoverMenu();
    }
    auto viewer = std::dynamic_pointer_cast<DocumentDetailViewController>(
        MoreScenes::screenOfDestination(segue.destinationViewController()));
    if (!viewer || !selectedDocumentInfo_) return;
    const std::string listTitle = title().value_or("");
    if (listTitle.find("Report") != std::string::npos)
        viewer->setTitle(std::string(kReportTitle));
    else if (listTitle.find("Inform") != std::string::npos)
        viewer->setTitle(std::string(kInformationTitle));
    else
        viewer->setTitle(selectedDocumentInfo_->title());
    viewer->setDocumentURL(selectedDocumentInfo_->url());
    viewer->setFileExtension(selectedDocumentInfo_->extension());
    viewer->setFilename(selectedDocumentInfo_->filename());
    viewer->setWebViewOnly(displayDocumentsInWebViewOnly_);
    const auto* delegate = listDelegate().get();
    if (dynamic_cast<const ReportsListDelegate*>(delegate))
        AnalyticsUtils::trackEventWithName(kReportEvent);
    else if (dynamic_cast<const InformationListDelegate*>(delegate))
        AnalyticsUtils::trackEventWithName(kInformationEvent);
}
