#include "app/SelectActivityViewController.h"

#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManager.h"
#include "app/LoadingViewController.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/SortDescriptor.h"
#include "lists/ListsDataSourceProtocol.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVACoreDataEvent.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/StorageManager.h"
#include "uikit/UILabel.h"
#include "lists/NamedRowsListDefinition.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableViewCell.h"

void SelectActivityViewController::addScene(uikit::UIStoryboard& storyboard) {
    NamedRowsListDefinition::addScene<SelectActivityViewController>(storyboard, kStoryboardIdentifier, kTableOutlet,
        kCellIdentifier);
}

// Every stored meeting, one section, latest start first: "startDate" is the
// service's date text, whose text order is its time order.
SelectActivityViewController::SelectActivityViewController()
    : listDefinition_(std::make_shared<NamedRowsListDefinition>(
          QVACoreDataEvent::kEntityName, coredata::SortDescriptor("startDate", false), kCellIdentifier,
          [](const coredata::ManagedObject& row) {
              auto* typed = dynamic_cast<const QVACoreDataEvent*>(&row);
              return typed ? typed->eventName() : std::nullopt;
          },
          kNameLines)) {}

SelectActivityViewController::~SelectActivityViewController() = default;

void SelectActivityViewController::awakeFromNib() {
    ListBaseViewController::awakeFromNib();
    setListDelegate(listDefinition_);
}

void SelectActivityViewController::viewDidLoad() {
    ListBaseViewController::viewDidLoad();
    if (auto table = tableView()) {
        auto self = std::static_pointer_cast<SelectActivityViewController>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
    }
}

void SelectActivityViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                    const uikit::NSIndexPath& indexPath) {
    (void)tableView;
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto account = settings.currentAccount();
    const auto& controller = fetchedResultsController();
    if (!controller) return;
    auto row = controller
                   ->objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                   .objectAs<QVACoreDataEvent>();
    if (!row) return;
    const auto eventName = row->eventName();
    const auto eventId = row->itemId();

    foundation::ValueDictionary data;
    if (eventName) data[kNewEventNameKey] = foundation::Value(*eventName);
    if (eventId) data[kNewEventIdKey] = foundation::Value(*eventId);
    AnalyticsUtils::trackEventWithNameAndData(kChangeEventAnalyticsName, data);

    InteractiveMapsServices::instance().clearInMemoryResourcesOnMeetingChange();
    // Whatever the old meeting still has in flight ends as cancelled and
    // writes nothing into the new meeting's store.
    QVAApiManager::sharedApiManager().cancelAllHTTPOperationTasks();

    auto event = QVAEvent::initWithCoreDataDictionary(row->toDicionary());
    // A store not recorded complete is downloaded again from empty; a complete
    // one stays and is brought up to date.
    const auto validity = settings.persistentStoresValidity();
    const auto entry = validity.find(settings.getKeyForAccount(account, event));
    const bool complete = entry != validity.end() && entry->second.boolValue();
    if (!complete && account)
        StorageManager::sharedStorageManager().removePersistentStoreForAuthToken(account->authenticationCode(), eventId);

    auto loading = LoadingViewController::instantiateViewControllerWithAccount(account, eventId);
    presentViewController(loading, true);
    AnalyticsUtils::registerSuperProperties();
}
