// One session row of the home screen, made from any stored session, agenda
// item or personal entry. The home screen fills the end time, the status and
// the occupancy itself where it needs them.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Value.h"
#include "model/QVABaseItemModel.h"

class QVACoreDataBaseSession;
class QVASessionOccupancy;

class SpotlightSessionModel : public QVABaseItemModel {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kClassName = "SpotlightSessionModel";
    // The kinds of row `sessionType` tells apart (2 is not used).
    static constexpr int kOfficialSession = 0;
    static constexpr int kPersonalEntry = 1;
    static constexpr int kOtherAgendaItem = 3;

    SpotlightSessionModel() = default;
    static std::shared_ptr<SpotlightSessionModel> initWithId(Text itemId);

    // The row of a stored base session or any of its sub-entities, its
    // location looked up among the room and venue models.
    static std::shared_ptr<SpotlightSessionModel> getSpotlightSessionModelFromBaseSession(
        const QVACoreDataBaseSession& session, const foundation::Value::Array& venuesArray,
        const foundation::Value::Array& roomsArray);

    const Text& agendaItemId() const { return agendaItemId_; }
    void setAgendaItemId(Text value) { agendaItemId_ = std::move(value); }
    const Text& displayTime() const { return displayTime_; }
    void setDisplayTime(Text value) { displayTime_ = std::move(value); }
    const Text& title() const { return title_; }
    void setTitle(Text value) { title_ = std::move(value); }
    int sessionType() const { return sessionType_; }
    void setSessionType(int value) { sessionType_ = value; }
    const Text& startDatetime() const { return startDatetime_; }
    void setStartDatetime(Text value) { startDatetime_ = std::move(value); }
    const Text& endDatetime() const { return endDatetime_; }
    void setEndDatetime(Text value) { endDatetime_ = std::move(value); }
    const Text& locationName() const { return locationName_; }
    void setLocationName(Text value) { locationName_ = std::move(value); }
    const Text& status() const { return status_; }
    void setStatus(Text value) { status_ = std::move(value); }
    bool isCancelled() const { return isCancelled_; }
    void setIsCancelled(bool value) { isCancelled_ = value; }
    const Text& roomId() const { return roomId_; }
    void setRoomId(Text value) { roomId_ = std::move(value); }
    const Text& keyword() const { return keyword_; }
    void setKeyword(Text value) { keyword_ = std::move(value); }
    const std::shared_ptr<QVASessionOccupancy>& sessionOccupancy() const { return sessionOccupancy_; }
    void setSessionOccupancy(std::shared_ptr<QVASessionOccupancy> value) { sessionOccupancy_ = std::move(value); }

    std::string className() const override { return kClassName; }
    // The row's texts by name besides the base's keys, so that rows sort
    // with the session lists' sort descriptors.
    foundation::Value valueForKey(const std::string& key) const override;

private:
    Text agendaItemId_;
    Text displayTime_;
    Text title_;
    int sessionType_ = kOfficialSession;
    Text startDatetime_;
    Text endDatetime_;
    Text locationName_;
    Text status_;
    bool isCancelled_ = false;
    Text roomId_;
    Text keyword_;
    std::shared_ptr<QVASessionOccupancy> sessionOccupancy_;
};
