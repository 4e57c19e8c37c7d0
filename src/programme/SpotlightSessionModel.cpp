#include "programme/SpotlightSessionModel.h"

#include "Utils/Utils.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "model/ModelReading.h"
#include "model/QVASessionOccupancy.h"

std::shared_ptr<SpotlightSessionModel> SpotlightSessionModel::initWithId(Text itemId) {
    auto model = std::make_shared<SpotlightSessionModel>();
    model->setItemId(std::move(itemId));
    return model;
}

std::shared_ptr<SpotlightSessionModel> SpotlightSessionModel::getSpotlightSessionModelFromBaseSession(
    const QVACoreDataBaseSession& session, const foundation::Value::Array& venuesArray,
    const foundation::Value::Array& roomsArray) {
    auto model = initWithId(session.itemId());
    // An agenda row is identified by its own entry id; the session id is shared
    // by every row of the same session.
    const bool isAgendaRole = session.isKindOfEntity(QVACoreDataAgendaRole::kEntityName);
    if (isAgendaRole) {
        const foundation::Value entryId = session.valueForKey("agendaItemId");
        model->agendaItemId_ = entryId.isString() ? Text(*entryId.string()) : std::nullopt;
    } else {
        model->agendaItemId_ = session.itemId();
    }
    model->startDatetime_ = session.startDatetime();
    model->displayTime_ = session.displayTime();
    model->title_ = session.title();
    if (session.isKindOfEntity(QVACoreDataPersonalEntry::kEntityName)) model->sessionType_ = kPersonalEntry;
    else if (isAgendaRole) model->sessionType_ = kOtherAgendaItem;
    else model->sessionType_ = kOfficialSession;
    model->locationName_ = Utils::getLocationStringForRoomId(session.valueForKey("roomId"), venuesArray, roomsArray);
    model->isCancelled_ = session.cancelled();
    model->roomId_ = session.roomId();
    model->keyword_ = session.keyword();
    return model;
}

foundation::Value SpotlightSessionModel::valueForKey(const std::string& key) const {
    using ModelReading::valueOf;
    if (key == "agendaItemId") return valueOf(agendaItemId_);
    if (key == "displayTime") return valueOf(displayTime_);
    if (key == "title") return valueOf(title_);
    if (key == "sessionType") return foundation::Value(static_cast<int64_t>(sessionType_));
    if (key == "startDatetime") return valueOf(startDatetime_);
    if (key == "endDatetime") return valueOf(endDatetime_);
    if (key == "locationName") return valueOf(locationName_);
    if (key == "isCancelled") return foundation::Value(isCancelled_);
    if (key == "roomId") return valueOf(roomId_);
    if (key == "keyword") return valueOf(keyword_);
    return QVABaseItemModel::valueForKey(key);
}
