// The default cache watches for memory warnings from its creation on; a cache
// set on a class is the setter's to manage and is left alone.
#include "http/UIImageViewQNNetworking.h"

#include "foundation/NotificationCenter.h"
#include "foundation/OperationQueue.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNImageCache.h"
#include "http/QNImageResponseSerializer.h"
#include "http/UIImageView_QNNetworking.h"
#include "uikit/UIApplication.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"

using foundation::URLRequest;
using uikit::UIImagePtr;
using uikit::UIImageView;

namespace UIImageViewQNNetworking {

namespace {

constexpr const char* kSerializerKey = "imageResponseSerializer";

std::shared_ptr<QNImageCache> defaultImageCache() {
    static const auto cache = [] {
        auto made = std::make_shared<QNImageCache>();
        std::weak_ptr<QNImageCache> weak = made;
        foundation::NotificationCenter::defaultCenter().addObserverForName(
            uikit::UIApplicationDidReceiveMemoryWarningNotification, foundation::Value(),
            foundation::OperationQueue::mainQueue(), [weak](const foundation::Notification&) {
                if (auto cache = weak.lock()) cache->removeAllObjects();
            });
        return made;
    }();
    return cache;
}

std::shared_ptr<QNImageResponseSerializer> defaultSerializer() {
    static const auto serializer = QNImageResponseSerializer::serializer();
    return serializer;
}

bool sameURL(const URLRequest& request, const std::shared_ptr<QNHTTPRequestOperation>& operation) {
    return operation && request.url() && operation->request().url() &&
           request.url()->absoluteString() == operation->request().url()->absoluteString();
}

}  // namespace

std::shared_ptr<QNImageCache> sharedImageCache(const std::string& className) {
    if (auto cache = UIImageView_QNNetworking::qn_imageCacheSetOnClass(className)) return cache;
    return defaultImageCache();
}

void setSharedImageCache(std::shared_ptr<QNImageCache> cache, const std::string& className) {
    UIImageView_QNNetworking::qn_setImageCacheOnClass(std::move(cache), className);
}

std::shared_ptr<QNImageResponseSerializer> imageResponseSerializer(const UIImageView& view) {
    auto own = std::static_pointer_cast<QNImageResponseSerializer>(view.attachedObject(kSerializerKey));
    return own ? own : defaultSerializer();
}

void setImageResponseSerializer(UIImageView& view, std::shared_ptr<QNImageResponseSerializer> serializer) {
    view.setAttachedObject(kSerializerKey, std::move(serializer));
}

void setImageWithURL(const std::shared_ptr<UIImageView>& view, const foundation::URL& url) {
    setImageWithURL(view, url, nullptr);
}

void setImageWithURL(const std::shared_ptr<UIImageView>& view, const foundation::URL& url,
                     const UIImagePtr& placeholderImage) {
    URLRequest request(url);
    request.addValue("image/*", "Accept");
    setImageWithURLRequest(view, request, placeholderImage, nullptr, nullptr);
}

void setImageWithURLRequest(const std::shared_ptr<UIImageView>& view, const URLRequest& request,
                            const UIImagePtr& placeholderImage, Success success, Failure failure) {
    cancelImageRequestOperation(*view);

    const std::string className = view->className();
    if (UIImagePtr cached = sharedImageCache(className)->cachedImageForRequest(request)) {
        if (success) success(std::nullopt, nullptr, cached);
        else view->setImage(cached);
        UIImageView_QNNetworking::qn_setImageRequestOperation(*view, nullptr);
        return;
    }

    if (placeholderImage) view->setImage(placeholderImage);
    auto operation = QNHTTPRequestOperation::operationWithRequest(request);
    UIImageView_QNNetworking::qn_setImageRequestOperation(*view, operation);
    operation->setResponseSerializer(imageResponseSerializer(*view));
    std::weak_ptr<UIImageView> weakView = view;
    operation->setCompletionBlockWithSuccess(
        [weakView, request, success, className](const QNHTTPRequestOperationPtr& finished,
                                                const foundation::Value& responseObject) {
            auto view = weakView.lock();
            if (!view) return;
            auto image = responseObject.objectAs<uikit::UIImage>();
            auto current = UIImageView_QNNetworking::qn_imageRequestOperation(*view);
            if (sameURL(request, current)) {
                if (success) success(request, finished->response(), image);
                else if (image) view->setImage(image);
                if (current == finished) UIImageView_QNNetworking::qn_setImageRequestOperation(*view, nullptr);
            }
            sharedImageCache(className)->cacheImage(image, request);
        },
        [weakView, request, failure](const QNHTTPRequestOperationPtr& failed, const foundation::ErrorPtr& error) {
            auto view = weakView.lock();
            if (!view) return;
            auto current = UIImageView_QNNetworking::qn_imageRequestOperation(*view);
            if (sameURL(request, current)) {
                if (failure) failure(request, failed->response(), error);
                if (current == failed) UIImageView_QNNetworking::qn_setImageRequestOperation(*view, nullptr);
            }
        });
    UIImageView_QNNetworking::qn_sharedImageRequestOperationQueue()->addOperation(operation);
}

void cancelImageRequestOperation(UIImageView& view) {
    if (auto operation = UIImageView_QNNetworking::qn_imageRequestOperation(view)) operation->cancel();
    UIImageView_QNNetworking::qn_setImageRequestOperation(view, nullptr);
}

}  // namespace UIImageViewQNNetworking
