// The image views' private side of remote images (the UIImageView(_QNNetworking)
// category): the shared image operation queue and each view's current
// operation, which it keeps among its attached objects.
#pragma once

#include <memory>
#include <string>

namespace foundation {
class OperationQueue;
}
namespace uikit {
class UIImageView;
}
class QNHTTPRequestOperation;
class QNImageCache;

namespace UIImageView_QNNetworking {

// Made once, of the platform's default width; buttons share it.
std::shared_ptr<foundation::OperationQueue> qn_sharedImageRequestOperationQueue();

// The cache set on the class of that name (image views, buttons), or null.
std::shared_ptr<QNImageCache> qn_imageCacheSetOnClass(const std::string& className);
void qn_setImageCacheOnClass(std::shared_ptr<QNImageCache> cache, const std::string& className);

std::shared_ptr<QNHTTPRequestOperation> qn_imageRequestOperation(const uikit::UIImageView& view);
void qn_setImageRequestOperation(uikit::UIImageView& view, std::shared_ptr<QNHTTPRequestOperation> operation);

}  // namespace UIImageView_QNNetworking
