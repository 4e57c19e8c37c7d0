#include "app/MoreViewController.h"

#include "app/AppDelegate.h"
#include "app/EventsSplitViewController.h"
#include "app/MoreCellDataModel.h"
#include "app/MoreScenes.h"
#include "app/WebViewController.h"
#include "coredata/FetchRequest.h"
#include "coredata/ManagedObjectContext.h"
#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "model/QVACoreDataInformationDocument.h"
#include "model/QVAEvent.h"
#include "people/DocumentsListViewController.h"
#include "people/InformationListDelegate.h"
#include "people/ReportsListDelegate.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIStoryboardSegue.h"
#include "Utils/AppearanceUtils.h"
#include "Utils/Utils.h"

namespace {

std::shared_ptr<QVAEvent> currentMeeting() {
    return ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
}

}  // namespace

MoreViewController::MoreViewController() = default;
MoreViewController::~MoreViewController() = default;

bool MoreViewController::meetingHasInformationDocuments() const {
    auto stack = coreDataStack();
    const auto& context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!context) return false;
    coredata::FetchRequest request(QVACoreDataInformationDocument::kEntityName);
    size_t count = 0;
    foundation::ErrorPtr error;
    context->performBlockAndWait([&] { count = context->countForFetchRequest(request, &error); });
    return !error && count > 0;
}

void MoreViewController::displaySettings() { performSegueWithIdentifier(kSettingsSegue, shared_from_this()); }

void MoreViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    Utils::changeEdgesForController(*this, 0);
    buildDataSource();
    if (moreTableView_) {
        auto self = std::static_pointer_cast<MoreViewController>(shared_from_this());
        moreTableView_->setDataSource(self);
        moreTableView_->setDelegate(self);
        moreTableView_->reloadData();
    }
}

void MoreViewController::buildDataSource() {
    dataSourceArray_.clear();
    auto add = [this](const char* title, const char* image, bool disableOffline, const char* segue) {
        dataSourceArray_.push_back(std::make_shared<MoreCellDataModel>(title, image, disableOffline, segue));
    };
    add(kMapsTitle, "maps_icon.png", false, kMapsSegue);
    if (meetingHasInformationDocuments()) add(kInformationTitle, "information_icon.png", false, kDocumentsListSegue);
    auto meeting = currentMeeting();
    if (meeting && meeting->feedbackFormUrl() && !meeting->feedbackFormUrl()->empty())
        add(kEventFeedbackTitle, "event_feedback.png", true, kFeedbackDocumentSegue);
    add(kReportsTitle, "reports.png", false, kDocumentsListSegue);
    add(kPartnersTitle, "partners.png", false, kPartnersListSegue);
    add(kHelpTitle, "legend.png", false, kHelpSegue);
    add(kSettingsTitle, "settings_icon.png", false, kSettingsSegue);
    hasDataLoaded_ = true;
}

void MoreViewController::onNetworkStatusChanged(bool online) {
    (void)online;
    if (hasDataLoaded_ && moreTableView_) moreTableView_->reloadData();
}

int64_t MoreViewController::tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) {
    (void)tableView, (void)section;
    return static_cast<int64_t>(dataSourceArray_.size());
}

uikit::UITableViewCellPtr MoreViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                             const uikit::NSIndexPath& indexPath) {
    (void)tableView;
    auto cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kCellIdentifier);
    if (indexPath.row < 0 || indexPath.row >= static_cast<int64_t>(dataSourceArray_.size())) return cell;
    const auto& model = *dataSourceArray_[static_cast<size_t>(indexPath.row)];
    auto& label = *cell->textLabel();
    label.setText(model.moreSectionTitle());
    AppearanceUtils::setMenuItemLabelAppearance(label);
    cell->imageView()->setImage(uikit::UIImage::imageNamed(model.moreSectionImage()));
    if (model.disableOnNetConnClosed()) {
        const bool reachable = Utils::isInternetReachable();
        cell->setSelectionStyle(reachable ? uikit::UITableViewCellSelectionStyle::Blue
                                          : uikit::UITableViewCellSelectionStyle::None);
        label.setEnabled(reachable);
        cell->setUserInteractionEnabled(reachable);
    }
    return cell;
}

void MoreViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                          const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (indexPath.row < 0 || indexPath.row >= static_cast<int64_t>(dataSourceArray_.size())) return;
    const auto model = dataSourceArray_[static_cast<size_t>(indexPath.row)];
    const auto& title = model->moreSectionTitle();
    if (title == kInformationTitle) {
        documentsListDelegate_ = std::make_shared<InformationListDelegate>();
        documentsListTitle_ = std::string(kInformationTitle);
    } else if (title == kReportsTitle) {
        documentsListDelegate_ = std::make_shared<ReportsListDelegate>();
        documentsListTitle_ = std::string(kReportsTitle);
    } else if (title != kEventFeedbackTitle) {
        documentsListDelegate_.reset();
    }
    chosenRowTitle_ = title;
    performSegueWithIdentifier(model->moreSectionSeg(), shared_from_this());
}

void MoreViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    BaseViewController::prepareForSegue(segue, sender);
    // On the pad the destination is a pane of its own, whose bar would
    // otherwise stay blank.
    if (auto screen = MoreScenes::screenOfDestination(segue.destinationViewController()); screen && !screen->title())
        screen->setTitle(chosenRowTitle_);
    if (segue.identifier() == kFeedbackDocumentSegue) {
        if (Utils::isIPad()) {
            auto delegate = AppDelegate::sharedAppDelegate();
            if (auto split = delegate ? delegate->eventsSplitVC() : nullptr) split->hideLeftPopoverMenu();
        }
        auto web = std::dynamic_pointer_cast<WebViewController>(MoreScenes::screenOfDestination(segue.destinationViewController()));
        if (!web) return;
        web->setTitle(std::string(kEventFeedbackTitle));
        auto meeting = currentMeeting();
        web->setSiteUrl(meeting ? meeting->feedbackFormUrl() : std::nullopt);
    } else if (segue.identifier() == kDocumentsListSegue) {
        if (!documentsListDelegate_)
            foundation::raise(kNilDelegateExceptionName, foundation::Format(kNilDelegateReasonFormat, className()));
        auto list = std::dynamic_pointer_cast<DocumentsListViewController>(
            MoreScenes::screenOfDestination(segue.destinationViewController()));
        if (!list) return;
        list->setListDelegate(documentsListDelegate_);
        list->setDisplayDocumentsInWebViewOnly(false);
        list->setTitle(documentsListTitle_);
    }
}
