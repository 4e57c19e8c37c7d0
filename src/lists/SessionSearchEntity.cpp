#include "lists/SessionSearchEntity.h"

#include <cmath>
#include <map>

#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "coredata/ManagedObject.h"
#include "lists/SearchAdditionalDataSources.h"
#include "model/QVACoreDataBaseSession.h"
#include "programme/SubactivityCell.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UITableView.h"

std::string SessionSearchEntity::nibName() const { return SubactivityCell::cellNibName(); }

std::string SessionSearchEntity::cellIdentifier() const { return SubactivityCell::cellIdentifier(); }

std::vector<coredata::SortDescriptor> SessionSearchEntity::sortDescriptors() const {
    return FetchRequestUtils::getSimpleSessionsListSortDescriptos();
}

void SessionSearchEntity::configureCell(uikit::UITableViewCell& cell, uikit::UITableView&, const ViewControllerPtr&,
                                        const foundation::Value& object,
                                        const SearchAdditionalDataSources& additionalDataSources) {
    auto* sessionCell = dynamic_cast<SubactivityCell*>(&cell);
    auto session = object.objectAs<QVACoreDataBaseSession>();
    if (!sessionCell || !session) return;
    configureSessionCell(*sessionCell, *session, additionalDataSources);
}

double SessionSearchEntity::rowHeightForCoreDataObject(const foundation::Value& object, uikit::UITableView& tableView,
                                                       const ViewControllerPtr& controller,
                                                       const SearchAdditionalDataSources& additionalDataSources) {
    auto prototype = prototypeCell(tableView);
    if (!prototype) return SearchEntity::rowHeightForCoreDataObject(object, tableView, controller, additionalDataSources);
    configureCell(*prototype, tableView, controller, object, additionalDataSources);
    return std::trunc(prototype->getCellHeightInTableView(tableView));
}

void SessionSearchEntity::configureSessionCell(SubactivityCell& cell, const QVACoreDataBaseSession& session,
                                               const SearchAdditionalDataSources& additionalDataSources) {
    const std::string itemId = session.itemId().value_or("");
    cell.configureWithQVACoreDataSession(
        session, locationString(session, additionalDataSources), displayTime(session),
        FetchRequestUtils::subactivityIsInAgendaWithId(itemId, additionalDataSources.agendaIds),
        FetchRequestUtils::subactivityIsAPrivateSessionWithId(itemId, additionalDataSources.officialIds),
        FetchRequestUtils::subactivityHasPersonalNotes(itemId, additionalDataSources.noteIds));
}

std::optional<std::string> SessionSearchEntity::locationString(const QVACoreDataBaseSession& session,
                                                               const SearchAdditionalDataSources& additionalDataSources) {
    return Utils::getLocationStringForRoomId(session.valueForKey("roomId"), additionalDataSources.venues,
                                             additionalDataSources.rooms);
}

std::optional<std::string> SessionSearchEntity::displayTime(const QVACoreDataBaseSession& session) {
    return DateHelper::programmeDayAndTimeForTimeInterval(session.startDatetime().value_or(""),
                                                          session.displayTime().value_or(""));
}

std::shared_ptr<SubactivityCell> SessionSearchEntity::prototypeCell(uikit::UITableView& tableView) const {
    // Kept for the process's life, one per kind, as the results tables of
    // later searches have the same cells; never destroyed, so no exit-time
    // teardown of a view outlives the view machinery.
    static auto* prototypes = new std::map<std::string, std::shared_ptr<SubactivityCell>>();
    auto& prototype = (*prototypes)[className()];
    if (!prototype) prototype = std::dynamic_pointer_cast<SubactivityCell>(tableView.dequeueReusableCellWithIdentifier(cellIdentifier()));
    return prototype;
}
