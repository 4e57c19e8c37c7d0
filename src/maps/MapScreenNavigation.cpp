#include "maps/MapScreenNavigation.h"

#include "Utils/Utils.h"
#include "lists/DetailsNavigationController.h"
#include "uikit/UINavigationController.h"

namespace MapScreenNavigation {

void present(const std::shared_ptr<uikit::UIViewController>& source, int navType,
             const std::shared_ptr<uikit::UIViewController>& screen) {
    if (!screen) return;
    if (navType == kPush) {
        if (auto navigation = source ? source->navigationController() : nullptr)
            navigation->pushViewController(screen, true);
    } else if (navType == kSplitViewDetail) {
        DetailsNavigationController::showInSplitViewDetail(screen);
    }
}

int navTypeForDevice() { return Utils::isIPad() ? kSplitViewDetail : kPush; }

}  // namespace MapScreenNavigation
