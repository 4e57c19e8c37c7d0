// A point of interest of a floor: a selectable shape of the plan (a room, a
// restroom, stairs) with what the maps show and route to.
#pragma once

#include <optional>
#include <string>

#include "foundation/Object.h"

class PointOfInterestObject : public foundation::Object {
public:
    const std::optional<std::string>& identifier() const { return identifier_; }
    void setIdentifier(std::optional<std::string> value) { identifier_ = std::move(value); }
    const std::optional<std::string>& floorIdentifier() const { return floorIdentifier_; }
    void setFloorIdentifier(std::optional<std::string> value) { floorIdentifier_ = std::move(value); }
    const std::optional<std::string>& type() const { return type_; }
    void setType(std::optional<std::string> value) { type_ = std::move(value); }
    const std::optional<std::string>& idRoom() const { return idRoom_; }
    void setIdRoom(std::optional<std::string> value) { idRoom_ = std::move(value); }
    const std::optional<std::string>& categoryName() const { return categoryName_; }
    void setCategoryName(std::optional<std::string> value) { categoryName_ = std::move(value); }
    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> value) { title_ = std::move(value); }
    bool isSelectable() const { return isSelectable_; }
    void setIsSelectable(bool value) { isSelectable_ = value; }
    bool isInDestinationList() const { return isInDestinationList_; }
    void setIsInDestinationList(bool value) { isInDestinationList_ = value; }
    bool isNavigateable() const { return isNavigateable_; }
    void setIsNavigateable(bool value) { isNavigateable_ = value; }

    std::string className() const override { return "PointOfInterestObject"; }

private:
    std::optional<std::string> identifier_;
    std::optional<std::string> floorIdentifier_;
    std::optional<std::string> type_;
    std::optional<std::string> idRoom_;
    std::optional<std::string> categoryName_;
    std::optional<std::string> title_;
    bool isSelectable_ = false;
    bool isInDestinationList_ = false;
    bool isNavigateable_ = false;
};
