// The application's single first responder.
#include "uikit/UIResponder.h"

#include "foundation/MainThreadChecker.h"

namespace uikit {
namespace {

std::weak_ptr<UIResponder>& firstResponder() {
    static std::weak_ptr<UIResponder> responder;
    return responder;
}

void requireMainForResponder() { foundation::requireMainThread("UIResponder is used from the main thread only"); }

}  // namespace

UIResponder::~UIResponder() = default;

UIResponderPtr UIResponder::currentFirstResponder() {
    requireMainForResponder();
    return firstResponder().lock();
}

bool UIResponder::isFirstResponder() const {
    requireMainForResponder();
    return firstResponder().lock().get() == this;
}

bool UIResponder::becomeFirstResponder() {
    requireMainForResponder();
    if (isFirstResponder()) return true;
    if (!canBecomeFirstResponder()) return false;
    if (auto current = firstResponder().lock()) {
        if (!current->resignFirstResponder()) return false;
    }
    firstResponder() = std::static_pointer_cast<UIResponder>(shared_from_this());
    didBecomeFirstResponder();
    return true;
}

bool UIResponder::resignFirstResponder() {
    requireMainForResponder();
    if (!isFirstResponder()) return true;
    if (!canResignFirstResponder()) return false;
    firstResponder().reset();
    didResignFirstResponder();
    return true;
}

void UIResponder::forceResignFirstResponder() {
    requireMainForResponder();
    if (!isFirstResponder()) return;
    firstResponder().reset();
    didResignFirstResponder();
}

}  // namespace uikit
