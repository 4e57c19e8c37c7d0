// The image and background forms run one algorithm over their own slots and
// setter; `Slot` names which.
#include "http/UIButtonQNNetworking.h"

#include "foundation/OperationQueue.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNImageCache.h"
#include "http/QNImageResponseSerializer.h"
#include "http/UIButton_QNNetworking.h"
#include "http/UIImageViewQNNetworking.h"
#include "http/UIImageView_QNNetworking.h"
#include "uikit/UIButton.h"
#include "uikit/UIImage.h"

using foundation::URLRequest;
using uikit::UIButton;
using uikit::UIImagePtr;

namespace UIButtonQNNetworking {

namespace {

constexpr const char* kSerializerKey = "imageResponseSerializer";

enum class Slot { Image, BackgroundImage };

std::shared_ptr<QNHTTPRequestOperation> operationIn(const UIButton& button, Slot slot, unsigned state) {
    return slot == Slot::Image ? UIButton_QNNetworking::qn_imageRequestOperationForState(button, state)
                               : UIButton_QNNetworking::qn_backgroundImageRequestOperationForState(button, state);
}

void setOperationIn(UIButton& button, Slot slot, unsigned state, std::shared_ptr<QNHTTPRequestOperation> operation) {
    if (slot == Slot::Image) UIButton_QNNetworking::qn_setImageRequestOperation(button, std::move(operation), state);
    else UIButton_QNNetworking::qn_setBackgroundImageRequestOperation(button, std::move(operation), state);
}

void show(UIButton& button, Slot slot, unsigned state, const UIImagePtr& image) {
    if (slot == Slot::Image) button.setImage(image, state);
    else button.setBackgroundImage(image, state);
}

void cancel(UIButton& button, Slot slot, unsigned state) {
    if (auto operation = operationIn(button, slot, state)) operation->cancel();
    setOperationIn(button, slot, state, nullptr);
}

std::shared_ptr<QNImageResponseSerializer> defaultSerializer() {
    static const auto serializer = QNImageResponseSerializer::serializer();
    return serializer;
}

URLRequest imageRequest(const foundation::URL& url) {
    URLRequest request(url);
    request.addValue("image/*", "Accept");
    return request;
}

void load(const std::shared_ptr<UIButton>& button, Slot slot, unsigned state, const URLRequest& request,
          const UIImagePtr& placeholderImage, Success success, Failure failure) {
    cancel(*button, slot, state);

    const std::string className = button->className();
    if (UIImagePtr cached = sharedImageCache(className)->cachedImageForRequest(request)) {
        if (success) success(std::nullopt, nullptr, cached);
        else show(*button, slot, state, cached);
        setOperationIn(*button, slot, state, nullptr);
        return;
    }

    if (placeholderImage) show(*button, slot, state, placeholderImage);
    auto operation = QNHTTPRequestOperation::operationWithRequest(request);
    operation->setResponseSerializer(imageResponseSerializer(*button));
    std::weak_ptr<UIButton> weakButton = button;
    // Wanted while the slot still holds a request for the same URL: a newer
    // request in the slot for another address makes this result stale.
    auto wanted = [weakButton, slot, state, request]() {
        auto button = weakButton.lock();
        if (!button) return false;
        auto current = operationIn(*button, slot, state);
        return current && request.url() && current->request().url() &&
               current->request().url()->absoluteString() == request.url()->absoluteString();
    };
    operation->setCompletionBlockWithSuccess(
        [weakButton, slot, state, request, success, className, wanted](const QNHTTPRequestOperationPtr& finished,
                                                                       const foundation::Value& responseObject) {
            auto image = responseObject.objectAs<uikit::UIImage>();
            if (wanted()) {
                if (success) success(finished->request(), finished->response(), image);
                else if (image) show(*weakButton.lock(), slot, state, image);
            }
            sharedImageCache(className)->cacheImage(image, request);
        },
        [failure, wanted](const QNHTTPRequestOperationPtr&, const foundation::ErrorPtr& error) {
            if (wanted() && failure) failure(error);
        });
    setOperationIn(*button, slot, state, operation);
    UIButton_QNNetworking::qn_sharedImageRequestOperationQueue()->addOperation(operation);
}

}  // namespace

std::shared_ptr<QNImageCache> sharedImageCache(const std::string& className) {
    if (auto cache = UIImageView_QNNetworking::qn_imageCacheSetOnClass(className)) return cache;
    return UIImageViewQNNetworking::sharedImageCache();
}

void setSharedImageCache(std::shared_ptr<QNImageCache> cache, const std::string& className) {
    UIImageView_QNNetworking::qn_setImageCacheOnClass(std::move(cache), className);
}

std::shared_ptr<QNImageResponseSerializer> imageResponseSerializer(const UIButton& button) {
    auto own = std::static_pointer_cast<QNImageResponseSerializer>(button.attachedObject(kSerializerKey));
    return own ? own : defaultSerializer();
}

void setImageResponseSerializer(UIButton& button, std::shared_ptr<QNImageResponseSerializer> serializer) {
    button.setAttachedObject(kSerializerKey, std::move(serializer));
}

void setImageForState(const std::shared_ptr<UIButton>& button, unsigned state, const foundation::URL& url) {
    setImageForState(button, state, url, nullptr);
}

void setImageForState(const std::shared_ptr<UIButton>& button, unsigned state, const foundation::URL& url,
                      const UIImagePtr& placeholderImage) {
    setImageForState(button, state, imageRequest(url), placeholderImage, nullptr, nullptr);
}

void setImageForState(const std::shared_ptr<UIButton>& button, unsigned state, const URLRequest& request,
                      const UIImagePtr& placeholderImage, Success success, Failure failure) {
    load(button, Slot::Image, state, request, placeholderImage, std::move(success), std::move(failure));
}

void setBackgroundImageForState(const std::shared_ptr<UIButton>& button, unsigned state, const foundation::URL& url) {
    setBackgroundImageForState(button, state, url, nullptr);
}

void setBackgroundImageForState(const std::shared_ptr<UIButton>& button, unsigned state, const foundation::URL& url,
                                const UIImagePtr& placeholderImage) {
    setBackgroundImageForState(button, state, imageRequest(url), placeholderImage, nullptr, nullptr);
}

void setBackgroundImageForState(const std::shared_ptr<UIButton>& button, unsigned state, const URLRequest& request,
                                const UIImagePtr& placeholderImage, Success success, Failure failure) {
    load(button, Slot::BackgroundImage, state, request, placeholderImage, std::move(success), std::move(failure));
}

void cancelImageRequestOperationForState(UIButton& button, unsigned state) { cancel(button, Slot::Image, state); }

void cancelBackgroundImageRequestOperationForState(UIButton& button, unsigned state) {
    cancel(button, Slot::BackgroundImage, state);
}

}  // namespace UIButtonQNNetworking
