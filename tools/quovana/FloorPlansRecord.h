// What the last "load" found of a meeting's floor plans, kept in the home
// (Library/floor-plans.json) for the commands that read the meeting later:
// the store's validity map records the content only, so a load that got the
// content whole but not its plans would otherwise leave no trace.
#pragma once

#include <memory>
#include <optional>
#include <string>

class QVAEvent;
class QVAUserAccount;

namespace quovana {

// Records why the meeting's floor plans are not all there, or, with no
// reason, that they are; false when the home could not keep it.
bool recordFloorPlansOutcome(const std::shared_ptr<QVAUserAccount>& account, const std::shared_ptr<QVAEvent>& event,
                             const std::optional<std::string>& missing);

// Why the last load of this meeting did not get all its floor plans;
// nothing when it did or none was recorded.
std::optional<std::string> recordedMissingFloorPlans(const std::shared_ptr<QVAUserAccount>& account,
                                                     const std::shared_ptr<QVAEvent>& event);

}  // namespace quovana
