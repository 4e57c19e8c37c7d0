// Remote images for buttons (the UIButton(QNNetworking) category), per
// control state: the highlighted, disabled and selected states each have a
// slot, every other state (normal and any combination) the normal slot; the
// image and the background image have separate slots. A new request cancels
// the one in its slot; a result the slot no longer wants is cached but not
// shown. Main thread only.
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
class UIButton;
class UIImage;
}  // namespace uikit
class QNImageCache;
class QNImageResponseSerializer;

namespace UIButtonQNNetworking {

// Request and response absent on a cache hit; when given, the caller sets the image.
using Success = std::function<void(const std::optional<foundation::URLRequest>& request,
                                   const std::shared_ptr<foundation::HTTPURLResponse>& response,
                                   const std::shared_ptr<uikit::UIImage>& image)>;
using Failure = std::function<void(const foundation::ErrorPtr& error)>;

// The cache set on the class, else the image views' shared cache.
std::shared_ptr<QNImageCache> sharedImageCache(const std::string& className = "UIButton");
void setSharedImageCache(std::shared_ptr<QNImageCache> cache, const std::string& className = "UIButton");

// The button's serializer, else a shared default made once.
std::shared_ptr<QNImageResponseSerializer> imageResponseSerializer(const uikit::UIButton& button);
void setImageResponseSerializer(uikit::UIButton& button, std::shared_ptr<QNImageResponseSerializer> serializer);

void setImageForState(const std::shared_ptr<uikit::UIButton>& button, unsigned state, const foundation::URL& url);
void setImageForState(const std::shared_ptr<uikit::UIButton>& button, unsigned state, const foundation::URL& url,
                      const std::shared_ptr<uikit::UIImage>& placeholderImage);
void setImageForState(const std::shared_ptr<uikit::UIButton>& button, unsigned state,
                      const foundation::URLRequest& request, const std::shared_ptr<uikit::UIImage>& placeholderImage,
                      Success success, Failure failure);

void setBackgroundImageForState(const std::shared_ptr<uikit::UIButton>& button, unsigned state,
                                const foundation::URL& url);
void setBackgroundImageForState(const std::shared_ptr<uikit::UIButton>& button, unsigned state,
                                const foundation::URL& url, const std::shared_ptr<uikit::UIImage>& placeholderImage);
void setBackgroundImageForState(const std::shared_ptr<uikit::UIButton>& button, unsigned state,
                                const foundation::URLRequest& request,
                                const std::shared_ptr<uikit::UIImage>& placeholderImage, Success success,
                                Failure failure);

void cancelImageRequestOperationForState(uikit::UIButton& button, unsigned state);
void cancelBackgroundImageRequestOperationForState(uikit::UIButton& button, unsigned state);

}  // namespace UIButtonQNNetworking
