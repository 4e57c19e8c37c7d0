// The map-file links of a meeting, from the floor levels of its primary
// venue as the store keeps them.
#include "maps/InteractiveMapsServices.h"

#include "model/QVAFloorLevel.h"
#include "model/QVAImapsLinksModel.h"
#include "model/QVAVenue.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"

namespace {

std::vector<std::shared_ptr<QVAFloorLevel>> primaryVenueFloorLevels(const std::optional<std::string>& authCode,
                                                                    const std::optional<std::string>& eventId) {
    auto stack = StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(authCode, eventId);
    if (!stack) return {};
    for (const auto& venue : FetchRequestUtils::getVenuesModelArrayInContext(stack->managedObjectContextMainQueue())) {
        if (venue && venue->primary()) return venue->floorLevels();
    }
    return {};
}

}  // namespace

std::vector<std::shared_ptr<QVAImapsLinksModel>> InteractiveMapsServices::getAllImapsLinksModelArrayForAuthCode(
    const std::optional<std::string>& authCode, const std::optional<std::string>& eventId) const {
    std::vector<std::shared_ptr<QVAImapsLinksModel>> links;
    for (const auto& level : primaryVenueFloorLevels(authCode, eventId)) {
        if (!level) continue;
        for (const auto& link : level->interactiveMaps())
            if (link) links.push_back(link);
    }
    return links;
}

std::vector<InteractiveMapsServices::FloorPlanFile> InteractiveMapsServices::floorPlanFilesForAuthCode(
    const std::optional<std::string>& authCode, const std::optional<std::string>& eventId) const {
    std::vector<FloorPlanFile> floors;
    for (const auto& level : primaryVenueFloorLevels(authCode, eventId)) {
        if (!level) continue;
        for (const auto& link : level->interactiveMaps())
            if (link && link->relString()) floors.push_back({std::to_string(level->levelNumber()), *link->relString()});
    }
    return floors;
}

bool InteractiveMapsServices::hasInteractiveMapsForAuthCode(const std::optional<std::string>& authCode,
                                                            const std::optional<std::string>& eventId) const {
    return !getAllImapsLinksModelArrayForAuthCode(authCode, eventId).empty();
}
