#include "programme/SessionSearchEntity.h"

#include <cmath>

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

namespace {

// What a session row's height depends on besides the rooms and venues:
// title, start (the time line shows when it reads as a date), room and
// cancellation.
std::string sessionSearchHeightSources(const QVACoreDataBaseSession& session, bool invitationLine) {
    std::string sources = session.title().value_or("");
    sources += '\x1f';
    sources += session.startDatetime().value_or("");
    sources += '\x1f';
    sources += session.valueForKey("roomId").description();
    sources += '\x1f';
    sources += session.cancelled() ? '1' : '0';
    sources += invitationLine ? '1' : '0';
    return sources;
}

}  // namespace

double SessionSearchEntity::rowHeightForCoreDataObject(const foundation::Value& object, uikit::UITableView& tableView,
                                                       const ViewControllerPtr& controller,
                                                       const SearchAdditionalDataSources& additionalDataSources) {
    auto session = object.objectAs<QVACoreDataBaseSession>();
    if (!session) return SearchEntity::rowHeightForCoreDataObject(object, tableView, controller, additionalDataSources);
    const double width = tableView.frame().size.width;
    const bool invitationLine = showsInvitationLine(*session);
    std::string sources = sessionSearchHeightSources(*session, invitationLine);
    auto& kept = keptHeights_[session.get()];
    if (kept.object.lock() == session && kept.width == width && kept.sources == sources) return kept.height;
    // The time line is one line whatever it reads, so only whether it shows
    // matters; the date is not formatted for it.
    const bool showsTime = DateHelper::dateFromServer(session->valueForKey("startDatetime"), false).has_value();
    const double height = SubactivityCell::sessionRowHeightForTexts(
        session->title(), showsTime, locationString(*session, additionalDataSources), invitationLine, width);
    kept = {session, std::move(sources), width, std::trunc(height)};
    return kept.height;
}

void SessionSearchEntity::forgetRowHeights() { keptHeights_.clear(); }

bool SessionSearchEntity::showsInvitationLine(const QVACoreDataBaseSession&) const { return false; }

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
