#include "people/OrganizationDetailsInfoViewController.h"

#include <charconv>
#include <cmath>

#include "Utils/StringUtility.h"
#include "Utils/Utils.h"
#include "coredata/Predicate.h"
#include "foundation/StringUtils.h"
#include "foundation/URL.h"
#include "lists/KeyValueTableView.h"
#include "model/QVACoreDataOrganization.h"
#include "people/OrganizationDetailsViewController.h"
#include "people/ParticipantsListDelegate.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIApplication.h"
#include "uikit/UIStoryboard.h"

namespace {

bool isBlankOrganizationText(const std::optional<std::string>& text) {
    return !text || foundation::StringUtils::trimWhitespace(*text).empty();
}

}  // namespace

OrganizationDetailsInfoViewController::OrganizationDetailsInfoViewController() {
    setListDelegate(std::make_shared<ParticipantsListDelegate>());
}

void OrganizationDetailsInfoViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<OrganizationDetailsInfoViewController>(); });
}

void OrganizationDetailsInfoViewController::loadView() {
    auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    auto keyValues = std::make_shared<KeyValueTableView>(graphics::Rect(0, 0, 320, 0));
    keyValues->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    keyValues->setScrollEnabled(false);
    keyValues->setOutletName("keyValueTableView");
    root->addSubview(keyValues);
    auto participants = std::make_shared<uikit::UITableView>(graphics::Rect(0, 0, 320, 0));
    participants->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    participants->setOutletName("participantsTableView");
    root->addSubview(participants);
    keyValueTableHeightConstraint_ = uikit::NSLayoutConstraint::constraintWithItem(
        keyValues, uikit::NSLayoutAttribute::Height, uikit::NSLayoutRelation::Equal, nullptr,
        uikit::NSLayoutAttribute::NotAnAttribute, 1, 0);
    keyValues->setTableViewHeightConstraint(keyValueTableHeightConstraint_);
    participantsTableViewHeightConstraint_ = uikit::NSLayoutConstraint::constraintWithItem(
        participants, uikit::NSLayoutAttribute::Height, uikit::NSLayoutRelation::Equal, nullptr,
        uikit::NSLayoutAttribute::NotAnAttribute, 1, 0);
    setView(root);
    setTableView(participants);
    keyValueTableView_ = keyValues;
}

void OrganizationDetailsInfoViewController::viewDidLoad() {
    EmbeddedParticipantsListViewController::viewDidLoad();
    if (auto participants = tableView()) participants->setScrollEnabled(false);
    if (selectionPropertyId()) updateUIContentForObject(currentObject());
}

void OrganizationDetailsInfoViewController::viewDidLayoutSubviews() {
    EmbeddedParticipantsListViewController::viewDidLayoutSubviews();
    layoutTables();
}

// Nothing solves constraints here: the two tables take the heights their
// constraints hold, one under the other, as wide as the page.
void OrganizationDetailsInfoViewController::layoutTables() {
    if (!isViewLoaded()) return;
    const double width = view()->bounds().size.width;
    const double keyValueHeight = keyValueTableHeightConstraint_ ? keyValueTableHeightConstraint_->constant() : 0;
    if (auto keyValues = keyValueTableView()) keyValues->setFrame({0, 0, width, keyValueHeight});
    if (auto participants = tableView())
        participants->setFrame({0, keyValueHeight, width, participantsTableViewHeightConstraint_->constant()});
}

double OrganizationDetailsInfoViewController::contentHeight() const {
    return (keyValueTableHeightConstraint_ ? keyValueTableHeightConstraint_->constant() : 0) +
           (participantsTableViewHeightConstraint_ ? participantsTableViewHeightConstraint_->constant() : 0);
}

void OrganizationDetailsInfoViewController::willAnimateRotationToInterfaceOrientation(
    uikit::UIInterfaceOrientation orientation, double duration) {
    EmbeddedParticipantsListViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (isViewLoaded() && view()->superview()) setupKeyValueTableContentForObject(currentObject());
}

std::shared_ptr<QVACoreDataOrganization> OrganizationDetailsInfoViewController::currentObject() {
    auto entityClass = EntityClass::named(QVACoreDataOrganization::kEntityName);
    auto stack = coreDataStack();
    coredata::ContextPtr context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!entityClass || !context) return nullptr;
    auto& storage = StorageManager::sharedStorageManager();
    auto request = storage.fetchRequestForItemType(
        entityClass, filterPredicateForObservedEntityType(QVACoreDataOrganization::kEntityName), context);
    if (!request) return nullptr;
    request->setFetchLimit(1);
    auto results = storage.executeFetchRequestAndWait(request, context);
    return results.empty() ? nullptr : results.front().objectAs<QVACoreDataOrganization>();
}

std::shared_ptr<const coredata::Predicate> OrganizationDetailsInfoViewController::filterPredicateForObservedEntityType(
    const std::string& entityName) {
    auto entityClass = EntityClass::named(entityName);
    if (!entityClass || !entityClass->comparisonPropertyName) return coredata::Predicate::falsePredicate();
    const foundation::Value key(*entityClass->comparisonPropertyName);
    const auto& id = selectionPropertyId();
    if (id && !id->empty() && id->find_first_not_of("0123456789") == std::string::npos) {
        int64_t number = 0;
        const auto [end, error] = std::from_chars(id->data(), id->data() + id->size(), number);
        // An id too long for an integer is compared as the text it is.
        if (error == std::errc() && end == id->data() + id->size())
            return coredata::Predicate::withFormatArguments("%K = %d", {key, foundation::Value(number)});
    }
    return coredata::Predicate::withFormatArguments("%K = %@", {key, id ? foundation::Value(*id) : foundation::Value()});
}

std::shared_ptr<const coredata::Predicate> OrganizationDetailsInfoViewController::fetchPredicate() {
    auto topLevel = shownOrganization_ ? shownOrganization_->topLevelOrganizationId() : std::nullopt;
    if (!topLevel) return coredata::Predicate::falsePredicate();
    return coredata::Predicate::withFormat("topLevelOrganizationId=%@", *topLevel);
}

void OrganizationDetailsInfoViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    shownOrganization_ = std::dynamic_pointer_cast<QVACoreDataOrganization>(object);
    if (auto keyValues = keyValueTableView()) keyValues->makeInitialAdjustments();
    setupKeyValueTableContentForObject(shownOrganization_);
    refreshFetchedResultsControllersAndTables();
    const auto& controller = fetchedResultsController();
    const size_t count = controller ? controller->fetchedObjects().size() : 0;
    // The list does not scroll: the area holds every row at the cell's own
    // height, so no participant is out of reach and no row overlaps the next.
    participantsTableViewHeightConstraint_->setConstant(
        count > 0 ? kParticipantsHeaderHeight + kRowHeight * static_cast<double>(count) : 0);
    layoutTables();
    if (auto container = std::dynamic_pointer_cast<OrganizationDetailsViewController>(parentViewController()))
        container->layoutInfoContainer();
}

void OrganizationDetailsInfoViewController::setupKeyValueTableContentForObject(
    const std::shared_ptr<QVACoreDataOrganization>& organization) {
    auto table = keyValueTableView();
    if (!table) return;
    table->resetTable();
    const double width = std::floor(view()->frame().size.width);
    table->setAvailableWidth(static_cast<int64_t>(width));
    if (table->frame().size.width != width)
        table->setFrame({0, 0, view()->frame().size.width, view()->frame().size.height});
    if (organization) {
        std::weak_ptr<OrganizationDetailsInfoViewController> weak =
            std::dynamic_pointer_cast<OrganizationDetailsInfoViewController>(shared_from_this());
        table->addRowWithKey(std::string("country"), getNAforNilOrEmptyFor(organization->country()), false, true, {});
        table->addRowWithKey(std::string("sector"), getNAforNilOrEmptyFor(organization->sector()), false, true, {});

        const auto email = organization->email();
        table->addRowWithKey(std::string("email"), getNAforNilOrEmptyFor(email), !isBlankOrganizationText(email), true,
                             [weak, address = email.value_or("")](uikit::UIControl&) {
                                 if (auto page = weak.lock()) page->composeMailTo(address);
                             });

        const auto phone = organization->phone();
        const bool phoneActs = !Utils::isIPad() && !StringUtility::isNilOrEmpty(std::string_view(phone.value_or("")));
        table->addRowWithKey(std::string("phone"), getNAforNilOrEmptyFor(phone), phoneActs, true,
                             [number = phone.value_or("")](uikit::UIControl&) {
                                 std::string digits;
                                 for (char c : number)
                                     if (c != ' ') digits += c;
                                 auto url = foundation::URL::URLWithString("tel:" + digits);
                                 auto& application = uikit::UIApplication::sharedApplication();
                                 if (url && application.canOpenURL(*url)) application.openURL(*url);
                             });

        table->addRowWithKey(std::string("address"),
                             getNAforNilOrEmptyFor(buildOrganizationAddressFromCoreDataObject(*organization)), false, true,
                             {});

        const auto website = organization->website();
        table->addRowWithKey(std::string("website"), getNAforNilOrEmptyFor(website),
                             !StringUtility::isNilOrEmpty(std::string_view(website.value_or(""))), true,
                             [site = website.value_or("")](uikit::UIControl&) {
                                 if (isBlankOrganizationText(site)) return;
                                 if (auto url = foundation::URL::URLWithString(websiteAddress(site)))
                                     uikit::UIApplication::sharedApplication().openURL(*url);
                             });

        if (Utils::isIPad())
            table->addRowWithKey(std::string(kPadProfileKey), getNAforNilOrEmptyFor(organization->profile()), false,
                                 true, {});
        else
            table->addRowWithKey(std::string(), organization->profile(), false, true, true, {});
    }
    table->reloadTable();
    table->updateTableHeight();
    layoutTables();
}

std::string OrganizationDetailsInfoViewController::getNAforNilOrEmptyFor(const Text& text) {
    return !text || text->empty() ? std::string(kNotAvailable) : *text;
}

OrganizationDetailsInfoViewController::Text OrganizationDetailsInfoViewController::buildOrganizationAddressFromCoreDataObject(
    const QVACoreDataOrganization& organization) {
    std::string address;
    for (const auto& part : {organization.address(), organization.city(), organization.zipCode(), organization.poBox(),
                             organization.country()}) {
        if (!part || part->empty()) continue;
        if (!address.empty()) address += ", ";
        address += *part;
    }
    if (address.empty()) return std::nullopt;
    return address;
}

std::string OrganizationDetailsInfoViewController::websiteAddress(const std::string& website) {
    if (website.find("http://") != std::string::npos || website.find("https://") != std::string::npos) return website;
    return "http://" + website;
}

void OrganizationDetailsInfoViewController::composeMailTo(const std::string& address) {
    if (!messageui::MFMailComposeViewController::canSendMail()) return;
    if (mfmcvc_) mfmcvc_->setMailComposeDelegate({});
    mfmcvc_ = std::make_shared<messageui::MFMailComposeViewController>();
    mfmcvc_->setMailComposeDelegate(
        std::dynamic_pointer_cast<OrganizationDetailsInfoViewController>(shared_from_this()));
    mfmcvc_->setToRecipients({address});
    // A page presents through the screen that holds it, as the system does
    // for a child controller.
    uikit::UIViewControllerPtr presenter = std::static_pointer_cast<uikit::UIViewController>(shared_from_this());
    while (auto parent = presenter->parentViewController()) presenter = parent;
    presenter->presentViewController(mfmcvc_, true);
}

void OrganizationDetailsInfoViewController::mailComposeController(messageui::MFMailComposeViewController& controller,
                                                                  messageui::MFMailComposeResult, const foundation::ErrorPtr&) {
    controller.dismissViewControllerAnimated(true);
}
