// A node of the walkable graph: a distinct edge end on one floor. Its index
// is its row in the distance matrix; its room id links it to the point of
// interest or beacon the first edge reaching it named.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "graphics/Geometry.h"

class IntersectionPoint : public foundation::Object {
public:
    graphics::Point thePoint() const { return thePoint_; }
    void setThePoint(graphics::Point value) { thePoint_ = value; }
    const std::optional<std::string>& floorIdentifier() const { return floorIdentifier_; }
    void setFloorIdentifier(std::optional<std::string> value) { floorIdentifier_ = std::move(value); }
    const std::optional<std::string>& pointIdentifier() const { return pointIdentifier_; }
    void setPointIdentifier(std::optional<std::string> value) { pointIdentifier_ = std::move(value); }
    const std::optional<std::string>& roomIdentifier() const { return roomIdentifier_; }
    void setRoomIdentifier(std::optional<std::string> value) { roomIdentifier_ = std::move(value); }
    int32_t indexInGraph() const { return indexInGraph_; }
    void setIndexInGraph(int32_t value) { indexInGraph_ = value; }

    std::string className() const override { return "IntersectionPoint"; }

private:
    graphics::Point thePoint_;
    std::optional<std::string> floorIdentifier_;
    std::optional<std::string> pointIdentifier_;
    std::optional<std::string> roomIdentifier_;
    int32_t indexInGraph_ = 0;
};
