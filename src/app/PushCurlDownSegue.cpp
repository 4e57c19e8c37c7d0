#include "app/PushCurlDownSegue.h"

PushCurlDownSegue::PushCurlDownSegue(std::string identifier, uikit::UIViewControllerPtr source,
                                     uikit::UIViewControllerPtr destination)
    : CustomReplaceCurlSegue(std::move(identifier), std::move(source), std::move(destination)) {
    setAnimationType(uikit::UIViewAnimationOptionTransitionCurlDown);
}
