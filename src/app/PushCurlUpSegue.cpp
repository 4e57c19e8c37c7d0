#include "app/PushCurlUpSegue.h"

PushCurlUpSegue::PushCurlUpSegue(std::string identifier, uikit::UIViewControllerPtr source,
                                 uikit::UIViewControllerPtr destination)
    : CustomReplaceCurlSegue(std::move(identifier), std::move(source), std::move(destination)) {
    setAnimationType(uikit::UIViewAnimationOptionTransitionCurlUp);
}
