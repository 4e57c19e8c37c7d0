// The live part of the session detail screen: the session status with its
// agenda button, and the invitation's status with its replies. Every service
// completion holds the screen, so a screen left before the answer still
// stores what came back; the bar buttons' own actions hold it weakly, since
// the screen owns them.
#include "programme/ProgrammeDetailsViewController.h"

#include <algorithm>

#include "Utils/ErrorUtility.h"
#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManager.h"
#include "coredata/ManagedObject.h"
#include "coredata/Predicate.h"
#include "foundation/Format.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataAgendaSelection.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVAError.h"
#include "model/QVAInvitationConflictResponse.h"
#include "model/QVASessionStatusMessage.h"
#include "programme/AddPersonalEntryViewController.h"
#include "programme/InvitationDelegatesViewController.h"
#include "programme/InvitationObjectModel.h"
#include "programme/InvitationStatusCell.h"
#include "programme/QVASessionStatusCell.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableView.h"

namespace {

using Text = std::optional<std::string>;

Text statusIdText(const foundation::Value& value) {
    if (const auto* text = value.string(); text && !text->empty()) return *text;
    if (value.isInteger()) return std::to_string(value.integerValue());
    return std::nullopt;
}

// Compared exactly: a level differing only in case is black.
graphics::Color statusLevelColor(const Text& level) {
    if (level == "Positive") return uikit::UIColor::colorWithRed(0, 1, 0, 1);
    if (level == "Warning") return uikit::UIColor::colorWithRed(1, 165.0 / 255, 0, 1);
    if (level == "Negative") return uikit::UIColor::colorWithRed(1, 0, 0, 1);
    return uikit::UIColor::blackColor();
}

bool statusTextIsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

foundation::ValueDictionary statusSessionEventData(const Text& name, const Text& id) {
    foundation::ValueDictionary data;
    data["Session name"] = foundation::Value(name);
    data["Session id"] = foundation::Value(id);
    return data;
}

void statusReplaceTaggedRightItems(uikit::UINavigationItem& item, int64_t tag, const uikit::UIBarButtonItemPtr& replacement) {
    auto items = item.rightBarButtonItems();
    items.erase(std::remove_if(items.begin(), items.end(),
                               [tag](const uikit::UIBarButtonItemPtr& button) { return button && button->tag() == tag; }),
                items.end());
    if (replacement) items.push_back(replacement);
    item.setRightBarButtonItems(items);
}

// The white icons take the button's tint, as the bar draws its icons.
uikit::UIImagePtr statusBarIcon(const char* name) {
    auto image = uikit::UIImage::imageNamed(name);
    return image ? image->imageWithRenderingMode(uikit::UIImageRenderingMode::AlwaysTemplate) : nullptr;
}

const char* statusInvitationEventName(const std::string& action) {
    if (action == InvitationObjectModel::kAcceptTitle) return "Accept invitation";
    if (action == InvitationObjectModel::kAcceptWithSpouseTitle) return "Accept invitation with spouse";
    if (action == InvitationObjectModel::kDeclineTitle) return "Decline invitation";
    return "Delegate invitation";
}

}  // namespace

// --- The session status ---

void ProgrammeDetailsViewController::getStatusMessageForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    if (!object || !object->isKindOfEntity(QVACoreDataBaseSession::kEntityName)) return;
    const Text sessionId = statusIdText(object->valueForKey("itemId"));
    if (!sessionId) return;
    const auto& items = navigationItem()->rightBarButtonItems();
    const bool spinning = std::any_of(items.begin(), items.end(), [](const uikit::UIBarButtonItemPtr& item) {
        return item && item->tag() == kStatusIndicatorButtonTag;
    });
    if (!spinning) {
        auto wheel = Utils::createActivityIndicatorWithStyle(uikit::UIActivityIndicatorViewStyle::White);
        wheel->setTranslatesAutoresizingMaskIntoConstraints(true);
        auto item = uikit::UIBarButtonItem::withCustomView(wheel);
        item->setTag(kStatusIndicatorButtonTag);
        auto withWheel = items;
        withWheel.push_back(item);
        navigationItem()->setRightBarButtonItems(withWheel);
    }
    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto me = self();
    QVAApiManager::sharedApiManager().getSessionStatusMessageForSubactivityId(
        sessionId, settings.currentEventId(), settings.currentAuthToken(),
        [me, object](const foundation::ErrorPtr& error, const foundation::Value& result) {
            me->removeStatusIndicator();
            auto status = std::dynamic_pointer_cast<QVASessionStatusMessage>(result.object());
            if (error || !status) {
                me->processStatusMessage(nullptr, object);
                return;
            }
            me->processStatusMessage(status, object);
            if (object->isKindOfEntity(QVACoreDataAgendaInvitation::kEntityName))
                me->configureInvitationViewWithSessionStatusMessage(*status);
            else
                me->showRightBarButtonItemWithActionFromStatus(*status, object);
        });
}

void ProgrammeDetailsViewController::refreshStatusMessage() { getStatusMessageForObject(currentObject()); }

void ProgrammeDetailsViewController::removeStatusIndicator() {
    for (const auto& item : navigationItem()->rightBarButtonItems())
        if (item && item->tag() == kStatusIndicatorButtonTag)
            if (auto wheel = std::dynamic_pointer_cast<uikit::UIActivityIndicatorView>(item->customView()))
                wheel->stopAnimating();
    statusReplaceTaggedRightItems(*navigationItem(), kStatusIndicatorButtonTag, nullptr);
}

void ProgrammeDetailsViewController::processStatusMessage(const std::shared_ptr<QVASessionStatusMessage>& status,
                                                          const std::shared_ptr<coredata::ManagedObject>&) {
    const auto font = uikit::UIFont::fontWithName("HelveticaNeue", 14);
    const uikit::TextAttributes firstLine{font, statusLevelColor(status ? status->alertLevel() : std::nullopt), {}, {}};
    auto text = uikit::NSAttributedString::make(
        status && !status->shortMessage().empty() ? status->shortMessage() : std::string(kStatusNotAvailable), firstLine);
    text->appendString("\n", firstLine);
    std::string secondLine = status ? status->longMessage() : std::string();
    if (statusTextIsBlank(secondLine)) secondLine = Utils::isInternetReachable() ? kStatusNotRetrieved : kStatusOffline;
    text->appendString(std::move(secondLine),
                       {font, uikit::UIColor::colorWithRed(170.0 / 255, 170.0 / 255, 170.0 / 255, 1), {}, {}});
    sessionStatusAttributedString_ = text;
    if (table_)
        if (auto cell = std::dynamic_pointer_cast<QVASessionStatusCell>(
                table_->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(0, statusSection_))))
            cell->loadAttributedStringStatus(text);
    remeasureRows();
}

void ProgrammeDetailsViewController::showRightBarButtonItemWithActionFromStatus(
    const QVASessionStatusMessage& status, const std::shared_ptr<coredata::ManagedObject>&) {
    const auto* actions = status.actions().array();
    if (!actions || actions->empty()) return;
    const std::string first = actions->front().string() ? *actions->front().string() : std::string();
    std::weak_ptr<ProgrammeDetailsViewController> weak = self();
    uikit::UIBarButtonItemPtr button;
    if (first == "add_to_agenda") {
        button = uikit::UIBarButtonItem::withImage(statusBarIcon(kAddToAgendaImage),
                                                   uikit::UIBarButtonItemStyle::Bordered,
                                                   [weak](uikit::UIBarButtonItem& sender) {
                                                       if (auto screen = weak.lock()) screen->addToAgenda(sender);
                                                   });
        button->setBackgroundImage(nullptr, uikit::UIControlStateNormal, uikit::UIBarMetrics::Default);
        button->setTintColor(uikit::UIColor::colorWithRed(64.0 / 255, 158.0 / 255, 210.0 / 255, 1));
    } else if (first == "remove_from_agenda") {
        button = uikit::UIBarButtonItem::withImage(statusBarIcon(kRemoveFromAgendaImage),
                                                   uikit::UIBarButtonItemStyle::Bordered,
                                                   [weak](uikit::UIBarButtonItem& sender) {
                                                       if (auto screen = weak.lock()) screen->removeFromAgenda(sender);
                                                   });
        button->setTintColor(uikit::UIColor::redColor());
    } else {
        return;
    }
    button->setTag(kAgendaActionButtonTag);
    statusReplaceTaggedRightItems(*navigationItem(), kAgendaActionButtonTag, button);
}

void ProgrammeDetailsViewController::remeasureRows() {
    if (!table_) return;
    // The shown object can go while a status or a note is on its way (removed
    // from the agenda, say): it then has no sections, and an update that
    // changes nothing would find the table's layout changed under it.
    bool sameLayout = numberOfSectionsInTableView(*table_) == table_->numberOfSections();
    for (int64_t section = 0; sameLayout && section < table_->numberOfSections(); ++section)
        sameLayout = tableViewNumberOfRowsInSection(*table_, section) == table_->numberOfRowsInSection(section);
    if (!sameLayout) {
        table_->reloadData();
        return;
    }
    table_->beginUpdates();
    table_->endUpdates();
}

uikit::UITableViewCellPtr ProgrammeDetailsViewController::statusCell(uikit::UITableView& tableView) {
    auto cell = std::dynamic_pointer_cast<QVASessionStatusCell>(
        tableView.dequeueReusableCellWithIdentifier(QVASessionStatusCell::cellIdentifier()));
    if (!cell) cell = QVASessionStatusCell::loadFromNib();
    if (cell && sessionStatusAttributedString_) cell->loadAttributedStringStatus(sessionStatusAttributedString_);
    return cell;
}

// --- The agenda actions ---

void ProgrammeDetailsViewController::addToAgenda(uikit::UIBarButtonItem& sender) {
    sender.setEnabled(false);
    auto object = currentObject();
    const Text sessionId = object ? statusIdText(object->valueForKey("itemId")) : std::nullopt;
    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    const Text token = settings.currentAuthToken();
    const Text eventId = settings.currentEventId();
    auto me = self();
    QVAApiManager::sharedApiManager().addToAgendaSessionWithSessionId(
        sessionId, token, eventId,
        [me, sessionId, token, eventId](const foundation::ErrorPtr& error, const foundation::Value& result) {
            auto role = std::dynamic_pointer_cast<QVAAgendaRole>(result.object());
            if (!error && role) {
                me->refreshStatusMessage();
                StorageManager::sharedStorageManager().addItemsToCoreData(
                    {role}, EntityClass::of<QVACoreDataAgendaSelection>(), token, eventId,
                    [token, eventId](const foundation::ErrorPtr&, const foundation::Value&) {
                        AddPersonalEntryViewController::mirrorAgendaIfSynced(token, eventId);
                    });
                AnalyticsUtils::trackEventWithNameAndData("Add session to agenda",
                                                          statusSessionEventData(me->sessionName_, sessionId));
                return;
            }
            if (auto serviceError = std::dynamic_pointer_cast<const QVAError>(error)) {
                const auto& message = serviceError->QVAServiceErrorMessage();
                if (ErrorUtility::HTTPErrorCode(error) == 409 && message && !message->empty())
                    Utils::displayAlertViewWithMessage(message, std::nullopt);
                else
                    me->handleError(error, kAddFailedTitle, std::nullopt);
                return;
            }
            Utils::displayAlertViewWithMessage(std::string(kAddFailedTitle), std::nullopt);
        });
}

void ProgrammeDetailsViewController::removeFromAgenda(uikit::UIBarButtonItem& sender) {
    auto object = currentObject();
    const bool fromAgenda = object && object->isKindOfEntity(QVACoreDataAgendaRole::kEntityName);
    sender.setEnabled(false);
    const Text sessionId = object ? statusIdText(object->valueForKey("itemId")) : std::nullopt;
    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    const Text token = settings.currentAuthToken();
    const Text eventId = settings.currentEventId();
    auto me = self();
    QVAApiManager::sharedApiManager().removeFromAgendaSessionWithSessionId(
        sessionId, token, eventId,
        [me, fromAgenda, sessionId, token, eventId](const foundation::ErrorPtr& error, const foundation::Value& result) {
            if (error || !result.isNothing()) {
                me->handleError(error, kRemoveFromAgendaFailedTitle, std::nullopt);
                return;
            }
            me->refreshStatusMessage();
            StorageManager::sharedStorageManager().deleteItemsFromCoreDataForItemType(
                EntityClass::of<QVACoreDataAgendaRole>(), token, eventId,
                coredata::Predicate::withFormat("itemId = %@", foundation::Value(sessionId)), true,
                dispatch::Queue::main(), [token, eventId](const foundation::ErrorPtr&, const foundation::Value&) {
                    AddPersonalEntryViewController::mirrorAgendaIfSynced(token, eventId);
                });
            if (fromAgenda) {
                me->stopProgress();
                me->goBack();
            }
            AnalyticsUtils::trackEventWithNameAndData("Remove session from agenda",
                                                      statusSessionEventData(me->sessionName_, sessionId));
        });
}

// --- The invitation ---

void ProgrammeDetailsViewController::configureInvitationViewWithSessionStatusMessage(const QVASessionStatusMessage& status) {
    auto model = std::make_shared<InvitationObjectModel>();
    model->setStatusTextColor(InvitationObjectModel::colorForAlertLevel(status.invitationAlertLevel()));
    if (const auto* actions = status.actions().array())
        for (const auto& action : *actions)
            if (const auto* name = action.string())
                if (auto title = InvitationObjectModel::replyTitleForAction(*name))
                    model->invitationActions().push_back(*title);
    model->setStatusText(status.invitationMessage());
    invitationObjectModel_ = model;
    if (table_)
        if (auto cell = std::dynamic_pointer_cast<InvitationStatusCell>(
                table_->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(0, invitationSection_))))
            cell->configureWithInvitationObject(model);
    remeasureRows();
}

uikit::UITableViewCellPtr ProgrammeDetailsViewController::invitationCell(uikit::UITableView& tableView) {
    auto cell = std::dynamic_pointer_cast<InvitationStatusCell>(
        tableView.dequeueReusableCellWithIdentifier(InvitationStatusCell::cellIdentifier()));
    if (!cell) cell = InvitationStatusCell::loadFromNib();
    if (cell) cell->configureWithInvitationObject(invitationObjectModel_);
    return cell;
}

bool ProgrammeDetailsViewController::shouldOpenInvitationOptions() {
    if (!invitationObjectModel_ || invitationObjectModel_->invitationActions().empty()) return false;
    if (!Utils::isInternetReachable()) {
        Utils::displayAlertViewWithMessage(std::string(kInvitationOfflineMessage), std::string(kInvitationOfflineTitle));
        return false;
    }
    return true;
}

void ProgrammeDetailsViewController::unwindOnSelectInvitationOption(uikit::UIStoryboardSegue& segue) {
    if (!invitationObjectModel_) return;
    if (auto picker = std::dynamic_pointer_cast<InvitationDelegatesViewController>(segue.sourceViewController())) {
        invitationObjectModel_->setSelectedValue(picker->delegateName());
        sendInvitationReply(InvitationObjectModel::kDelegateTitle, picker->delegateName());
        return;
    }
    if (const auto& reply = invitationObjectModel_->selectedValue()) sendInvitationReply(*reply, std::nullopt);
}

void ProgrammeDetailsViewController::unwindOnCancelInvitationOptions(uikit::UIStoryboardSegue&) {}

void ProgrammeDetailsViewController::sendInvitationReply(const std::string& action, const Text& delegateName) {
    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    const Text token = settings.currentAuthToken();
    const Text eventId = settings.currentEventId();
    auto me = self();
    auto done = [me, action, delegateName](const foundation::ErrorPtr& error, const foundation::Value& result) {
        me->inviteActionExecutedWithResult(result, error, action, delegateName);
    };
    auto& api = QVAApiManager::sharedApiManager();
    if (action == InvitationObjectModel::kAcceptTitle)
        api.acceptInvitedSessionForAuthCode(token, eventId, agendaItemId_, std::move(done));
    else if (action == InvitationObjectModel::kAcceptWithSpouseTitle)
        api.acceptInvitedSessionWithSpouseForAuthCode(token, eventId, agendaItemId_, std::move(done));
    else if (action == InvitationObjectModel::kDeclineTitle)
        api.declineInvitedSessionForAuthCode(token, eventId, agendaItemId_, std::move(done));
    else if (action == InvitationObjectModel::kDelegateTitle && delegateName)
        api.delegateInvitedSessionForAuthCode(token, eventId, agendaItemId_, delegateName, std::move(done));
}

void ProgrammeDetailsViewController::inviteActionExecutedWithResult(const foundation::Value& result,
                                                                    const foundation::ErrorPtr& error,
                                                                    const std::string& action, const Text& delegateName) {
    auto stack = coreDataStack();
    const auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    auto inOfficial = [&context](const Text& sessionId) {
        return context && sessionId && FetchRequestUtils::isSessionInOfficial(*sessionId, context);
    };
    auto role = std::dynamic_pointer_cast<QVAAgendaRole>(result.object());
    if (error || !role) {
        auto serviceError = std::dynamic_pointer_cast<const QVAError>(error);
        auto conflict = serviceError
                            ? std::dynamic_pointer_cast<QVAInvitationConflictResponse>(serviceError->errorResponseObject())
                            : nullptr;
        // Every refused accept with a JSON body comes typed as a conflict; one
        // naming neither a message nor a resource (a server failure's
        // {"error": ...}) is no conflict and says which reply failed.
        if (conflict && !conflict->message() && !conflict->conflictingResource()) conflict = nullptr;
        if (!conflict) {
            handleError(error, foundation::Format(kInvitationFailedFormat, action), std::nullopt);
            return;
        }
        const auto& resource = conflict->conflictingResource();
        if (!resource) {
            Utils::displayAlertViewWithMessage(conflict->message(), std::string(kConflictTitle));
            return;
        }
        const std::string message = foundation::Format(kConflictFormat, resource->title());
        if (inOfficial(resource->itemId())) {
            Utils::displayAlertViewWithMessage(message, std::string(kConflictTitle));
            return;
        }
        conflictingInvitationId_ = resource->agendaItemId();
        auto alert = UIBlockAlertView::initWithTitle(std::string(kConflictTitle), message);
        alert->addButtonWithTitle("OK", nullptr);
        std::weak_ptr<ProgrammeDetailsViewController> weak = self();
        alert->addButtonWithTitle(kGoToSessionTitle, [weak](uikit::UIAlertView&) {
            if (auto screen = weak.lock()) screen->openConflictingInvitation();
        });
        alert->show();
        return;
    }

    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    const Text token = settings.currentAuthToken();
    const Text eventId = settings.currentEventId();
    auto mirrorWhenStored = [token, eventId](const foundation::ErrorPtr& storeError, const foundation::Value&) {
        if (!storeError) AddPersonalEntryViewController::mirrorAgendaIfSynced(token, eventId);
    };
    auto& storage = StorageManager::sharedStorageManager();
    if (action == InvitationObjectModel::kDeclineTitle && std::dynamic_pointer_cast<QVAAgendaInvitation>(role) &&
        inOfficial(role->itemId())) {
        storage.deleteItemsFromCoreDataForItemType(
            EntityClass::of<QVACoreDataAgendaInvitation>(), token, eventId,
            coredata::Predicate::withFormat("itemId == %@", foundation::Value(role->itemId())), true,
            dispatch::Queue::main(), mirrorWhenStored);
        goAtHomeHome(false);
    } else {
        storage.updateItemToCoreData(role, token, eventId, true, mirrorWhenStored);
    }
    if (role->status() == oldAgendaItemStatus_ && std::dynamic_pointer_cast<ProgrammeDetailsViewController>(parentController()))
        refreshStatusMessage();
    auto data = statusSessionEventData(sessionName_, selectionPropertyId());
    if (action == InvitationObjectModel::kDelegateTitle) data["Delegate name"] = foundation::Value(delegateName);
    AnalyticsUtils::trackEventWithNameAndData(statusInvitationEventName(action), data);
}

void ProgrammeDetailsViewController::openConflictingInvitation() {
    if (!conflictingInvitationId_) return;
    auto details = BaseViewController::instantiateViewController<ProgrammeDetailsViewController>();
    auto navigation = navigationController();
    if (!details || !navigation) return;
    details->setEntityName(std::string(QVACoreDataAgendaRole::kEntityName));
    details->setSelectionPropertyId(conflictingInvitationId_);
    details->setIsSwipeEnabled(false);
    navigation->pushViewController(details, true);
}
