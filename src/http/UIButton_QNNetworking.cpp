#include "http/UIButton_QNNetworking.h"

#include <string>

#include "foundation/OperationQueue.h"
#include "http/QNHTTPRequestOperation.h"
#include "uikit/UIButton.h"

namespace UIButton_QNNetworking {

namespace {

std::string key(const char* kind, unsigned state) { return std::string(kind) + std::to_string(qn_slotForState(state)); }

constexpr const char* kImageKey = "qn_imageRequestOperationForState";
constexpr const char* kBackgroundImageKey = "qn_backgroundImageRequestOperationForState";

}  // namespace

std::shared_ptr<foundation::OperationQueue> qn_sharedImageRequestOperationQueue() {
    static const auto queue = foundation::OperationQueue::create();
    return queue;
}

int qn_slotForState(unsigned state) {
    switch (state) {
        case uikit::UIControlStateHighlighted: return 1;
        case uikit::UIControlStateDisabled: return 2;
        case uikit::UIControlStateSelected: return 3;
        default: return 0;
    }
}

std::shared_ptr<QNHTTPRequestOperation> qn_imageRequestOperationForState(const uikit::UIButton& button,
                                                                         unsigned state) {
    return std::static_pointer_cast<QNHTTPRequestOperation>(button.attachedObject(key(kImageKey, state)));
}

void qn_setImageRequestOperation(uikit::UIButton& button, std::shared_ptr<QNHTTPRequestOperation> operation,
                                 unsigned state) {
    button.setAttachedObject(key(kImageKey, state), std::move(operation));
}

std::shared_ptr<QNHTTPRequestOperation> qn_backgroundImageRequestOperationForState(const uikit::UIButton& button,
                                                                                   unsigned state) {
    return std::static_pointer_cast<QNHTTPRequestOperation>(button.attachedObject(key(kBackgroundImageKey, state)));
}

void qn_setBackgroundImageRequestOperation(uikit::UIButton& button,
                                           std::shared_ptr<QNHTTPRequestOperation> operation, unsigned state) {
    button.setAttachedObject(key(kBackgroundImageKey, state), std::move(operation));
}

}  // namespace UIButton_QNNetworking
