// Remote images for image views (the UIImageView(QNNetworking) category): a
// view shows the image of a URL, from the shared image cache when it is there,
// else through an HTTP request operation on the shared image queue. A view
// has at most one request running; a newer one cancels the older, and a
// result the view no longer wants is cached but not shown. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Error.h"
#include "foundation/URLRequest.h"

namespace foundation {
class HTTPURLResponse;
class URL;
}  // namespace foundation
namespace uikit {
class UIImage;
class UIImageView;
}  // namespace uikit
class QNImageCache;
class QNImageResponseSerializer;

namespace UIImageViewQNNetworking {

// The request is absent and the response null on a cache hit. When given, the
// caller sets the image itself.
using Success = std::function<void(const std::optional<foundation::URLRequest>& request,
                                   const std::shared_ptr<foundation::HTTPURLResponse>& response,
                                   const std::shared_ptr<uikit::UIImage>& image)>;
using Failure = std::function<void(const foundation::URLRequest& request,
                                   const std::shared_ptr<foundation::HTTPURLResponse>& response,
                                   const foundation::ErrorPtr& error)>;

// The cache set on the class of that name, else the default cache (emptied on
// a memory warning). Loading asks the view's own class.
std::shared_ptr<QNImageCache> sharedImageCache(const std::string& className = "UIImageView");
void setSharedImageCache(std::shared_ptr<QNImageCache> cache, const std::string& className = "UIImageView");

// The view's serializer, else a default image response serializer made once.
std::shared_ptr<QNImageResponseSerializer> imageResponseSerializer(const uikit::UIImageView& view);
void setImageResponseSerializer(uikit::UIImageView& view, std::shared_ptr<QNImageResponseSerializer> serializer);

void setImageWithURL(const std::shared_ptr<uikit::UIImageView>& view, const foundation::URL& url);
// A GET for the URL accepting "image/*", without success or failure block.
void setImageWithURL(const std::shared_ptr<uikit::UIImageView>& view, const foundation::URL& url,
                     const std::shared_ptr<uikit::UIImage>& placeholderImage);
void setImageWithURLRequest(const std::shared_ptr<uikit::UIImageView>& view, const foundation::URLRequest& request,
                            const std::shared_ptr<uikit::UIImage>& placeholderImage, Success success,
                            Failure failure);
void cancelImageRequestOperation(uikit::UIImageView& view);

}  // namespace UIImageViewQNNetworking
