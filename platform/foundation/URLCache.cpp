// The in-memory URL cache: a least-recently-used list bounded by body size.
#include "foundation/URLCache.h"
#include "foundation/URLSessionConfiguration.h"

#include "foundation/Clock.h"
#include "foundation/StringUtils.h"
#include "foundation/Value.h"

namespace foundation {

namespace {

// The directives of a "Cache-Control" value, lower-cased and trimmed.
std::vector<std::string> cacheDirectives(const HTTPHeaders& headers) {
    std::vector<std::string> directives;
    auto value = headers.get("Cache-Control");
    if (!value) return directives;
    for (const auto& part : StringUtils::split(*value, ",")) {
        std::string directive = StringUtils::lowercase(StringUtils::trim(part));
        if (!directive.empty()) directives.push_back(std::move(directive));
    }
    return directives;
}

bool isFresh(const CachedURLResponse& cached, double age) {
    auto response = std::dynamic_pointer_cast<HTTPURLResponse>(cached.response());
    if (!response) return false;
    std::optional<double> maxAge;
    for (const auto& directive : cacheDirectives(response->allHeaderFields())) {
        if (directive == "no-cache") return false;
        if (directive.starts_with("max-age=")) maxAge = NumberParsing::doubleValue(directive.substr(8));
    }
    return maxAge && age < *maxAge;
}

}  // namespace

bool URLCache::allowsStoring(const URLRequest& request, const HTTPURLResponse& response) {
    if (request.httpMethod() != "GET" || response.statusCode() != 200) return false;
    for (const auto& directive : cacheDirectives(response.allHeaderFields()))
        if (directive == "no-store") return false;
    for (const auto& directive : cacheDirectives(request.allHTTPHeaderFields()))
        if (directive == "no-store") return false;
    return true;
}

CachedURLResponsePtr URLCache::usableResponseForRequest(const URLRequest& request) const {
    URLRequest::CachePolicy policy = request.cachePolicy();
    if (policy == URLRequest::CachePolicy::ReloadIgnoringLocalCacheData) return nullptr;
    double age = 0;
    CachedURLResponsePtr cached = cachedResponseForRequest(request, &age);
    if (!cached || !std::dynamic_pointer_cast<HTTPURLResponse>(cached->response())) return nullptr;
    if (policy == URLRequest::CachePolicy::UseProtocolCachePolicy && !isFresh(*cached, age)) return nullptr;
    return cached;
}

const URLCachePtr& URLCache::sharedURLCache() {
    static const auto* cache = new URLCachePtr(std::make_shared<URLCache>());
    return *cache;
}

size_t URLCache::memoryCapacity() const {
    std::lock_guard lock(mutex_);
    return capacity_;
}

void URLCache::setMemoryCapacity(size_t bytes) {
    std::lock_guard lock(mutex_);
    capacity_ = bytes;
    evictTo(capacity_);
}

size_t URLCache::currentMemoryUsage() const {
    std::lock_guard lock(mutex_);
    return usage_;
}

std::string URLCache::keyFor(const URLRequest& request) {
    if (!request.url() || request.httpMethod() != "GET") return {};
    return request.url()->absoluteString();
}

CachedURLResponsePtr URLCache::cachedResponseForRequest(const URLRequest& request, double* age) const {
    std::string key = keyFor(request);
    if (key.empty()) return nullptr;
    std::lock_guard lock(mutex_);
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, it->second);
    if (age) *age = Clock::now() - it->second->storedAt;
    return it->second->response;
}

void URLCache::storeCachedResponse(CachedURLResponsePtr cachedResponse, const URLRequest& request) {
    std::string key = keyFor(request);
    if (key.empty() || !cachedResponse) return;
    size_t size = cachedResponse->data().length();
    std::lock_guard lock(mutex_);
    if (auto it = index_.find(key); it != index_.end()) {
        usage_ -= it->second->response->data().length();
        entries_.erase(it->second);
        index_.erase(it);
    }
    if (size > capacity_ / 20) return;
    evictTo(capacity_ - size);
    entries_.push_front(Entry{key, std::move(cachedResponse), Clock::now()});
    index_[key] = entries_.begin();
    usage_ += size;
}

void URLCache::removeCachedResponseForRequest(const URLRequest& request) {
    std::string key = keyFor(request);
    std::lock_guard lock(mutex_);
    auto it = index_.find(key);
    if (it == index_.end()) return;
    usage_ -= it->second->response->data().length();
    entries_.erase(it->second);
    index_.erase(it);
}

void URLCache::removeAllCachedResponses() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    index_.clear();
    usage_ = 0;
}

void URLCache::evictTo(size_t limit) {
    while (usage_ > limit && !entries_.empty()) {
        usage_ -= entries_.back().response->data().length();
        index_.erase(entries_.back().key);
        entries_.pop_back();
    }
}

}  // namespace foundation

namespace foundation {

std::shared_ptr<URLCache> URLSessionConfiguration::urlCache() const {
    return cache_ ? *cache_ : URLCache::sharedURLCache();
}

}  // namespace foundation
