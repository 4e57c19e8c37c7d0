// An in-memory cache of responses to GET requests, keyed by the request's
// absolute URL. Sessions store what they may keep and answer later requests
// from it when the request's cache policy allows. Entries go, oldest use
// first, when the bodies together would exceed the memory capacity; a body
// larger than a twentieth of the capacity is never kept, so one big download
// cannot empty the cache.
// Thread-safe: sessions read and write it from the network thread and from
// their delegates' answers.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "foundation/CachedURLResponse.h"
#include "foundation/URLRequest.h"

namespace foundation {

class URLCache;
using URLCachePtr = std::shared_ptr<URLCache>;

class URLCache {
public:
    static constexpr size_t kDefaultMemoryCapacity = 4 * 1024 * 1024;

    explicit URLCache(size_t memoryCapacity = kDefaultMemoryCapacity) : capacity_(memoryCapacity) {}
    // The cache sessions use unless their configuration names another.
    static const URLCachePtr& sharedURLCache();

    size_t memoryCapacity() const;
    void setMemoryCapacity(size_t bytes);
    size_t currentMemoryUsage() const;

    // Null when nothing is kept for the request (or it is not a GET); `age`
    // receives the seconds since it was stored (on the one clock).
    CachedURLResponsePtr cachedResponseForRequest(const URLRequest& request, double* age = nullptr) const;
    void storeCachedResponse(CachedURLResponsePtr cachedResponse, const URLRequest& request);
    // What may answer the request under its cache policy: nothing when it
    // ignores the cache; under the default policy only a response still
    // fresh by its "max-age"; under the return-cache-data policies anything kept.
    CachedURLResponsePtr usableResponseForRequest(const URLRequest& request) const;
    // Whether a loaded response may be kept: a GET answered 200, and neither
    // side's "Cache-Control" says "no-store".
    static bool allowsStoring(const URLRequest& request, const HTTPURLResponse& response);
    void removeCachedResponseForRequest(const URLRequest& request);
    void removeAllCachedResponses();

private:
    struct Entry {
        std::string key;
        CachedURLResponsePtr response;
        double storedAt = 0;
    };
    static std::string keyFor(const URLRequest& request);
    void evictTo(size_t limit);  // under mutex_

    mutable std::mutex mutex_;
    size_t capacity_;
    size_t usage_ = 0;
    // Most recently used first; lookups move an entry to the front.
    mutable std::list<Entry> entries_;
    mutable std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};

}  // namespace foundation
