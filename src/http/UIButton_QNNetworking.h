// The buttons' private side of remote images (the UIButton(_QNNetworking)
// category): the shared image operation queue and the operation in each
// state slot, kept among the button's attached objects.
#pragma once

#include <memory>

namespace foundation {
class OperationQueue;
}
namespace uikit {
class UIButton;
}
class QNHTTPRequestOperation;

namespace UIButton_QNNetworking {

// Made once, of the platform's default width.
std::shared_ptr<foundation::OperationQueue> qn_sharedImageRequestOperationQueue();

// The slot of a state: 1 for highlighted, 2 for disabled, 3 for selected,
// 0 (normal) for every other state.
int qn_slotForState(unsigned state);

std::shared_ptr<QNHTTPRequestOperation> qn_imageRequestOperationForState(const uikit::UIButton& button,
                                                                         unsigned state);
void qn_setImageRequestOperation(uikit::UIButton& button, std::shared_ptr<QNHTTPRequestOperation> operation,
                                 unsigned state);
std::shared_ptr<QNHTTPRequestOperation> qn_backgroundImageRequestOperationForState(const uikit::UIButton& button,
                                                                                   unsigned state);
void qn_setBackgroundImageRequestOperation(uikit::UIButton& button,
                                           std::shared_ptr<QNHTTPRequestOperation> operation, unsigned state);

}  // namespace UIButton_QNNetworking
