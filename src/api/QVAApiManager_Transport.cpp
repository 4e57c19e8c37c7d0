// The transport of the API client: the shared instance on the configured
// service root, the bearer header, the request method with its result and
// error mapping, the verb wrappers, the "Link" pagination, the merged GET
// and the generic absolute-URL request.
//
// Invariants: the bearer token goes to every address of the service root's
// origin (its API, its feeds, its files) and to no other origin; a
// paginated walk never reads the same absolute page twice; every started
// request ends in exactly one call of its completion, on the main queue.
#include "api/QVAApiManager.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <limits>
#include <mutex>
#include <string_view>

#include "Utils/Utils.h"
#include "api/ModelPageSerializer.h"
#include "api/ServiceFailureRecorder.h"
#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/URL.h"
#include "foundation/URLErrors.h"
#include "http/QNJSONRequestSerializer.h"
#include "http/QNJSONResponseSerializer.h"
#include "model/ModelReading.h"
#include "model/QVAError.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"

using foundation::ErrorPtr;
using foundation::Format;
using foundation::Value;

namespace {

constexpr const char* kAuthorizationHeader = "Authorization";

std::atomic<int> deliveriesInFlight{0};

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}
std::optional<std::string>& rootOverride() {
    static std::optional<std::string> root;
    return root;
}
std::shared_ptr<QVAApiManager>& sharedInstance() {
    static std::shared_ptr<QVAApiManager> instance;
    return instance;
}
// Instances replaced by setServiceRoot stay alive while a call of theirs is
// in flight: callers may still hold a reference, and their running calls
// finish on them. Each is let go once its session has ended its last task.
std::vector<std::shared_ptr<QVAApiManager>>& retiredInstances() {
    static std::vector<std::shared_ptr<QVAApiManager>> retired;
    return retired;
}

void releaseRetiredInstance(const QVAApiManager* manager) {
    std::shared_ptr<QVAApiManager> released;
    {
        std::lock_guard lock(sharedMutex());
        auto& retired = retiredInstances();
        auto found = std::find_if(retired.begin(), retired.end(),
                                  [manager](const auto& instance) { return instance.get() == manager; });
        if (found == retired.end()) return;
        released = std::move(*found);
        retired.erase(found);
    }
    // Destroyed here, outside the lock; a completion still queued keeps its
    // own reference.
}

std::string serviceRootLocked() {
    if (rootOverride()) return *rootOverride();
    const char* fromEnvironment = std::getenv("QVA_SERVICE_ROOT");
    if (fromEnvironment && *fromEnvironment) return fromEnvironment;
    return QVAApiManager::kDefaultServiceRoot;
}

std::shared_ptr<QVAApiManager> makeManager(const std::string& root) {
    std::string base = root;
    while (!base.empty() && base.back() == '/') base.pop_back();
    auto url = foundation::URL::URLWithString(Format("%@/%@", base, QVAApiManager::kAPIVersion));
    auto manager = QNURLSessionManager::make<QVAApiManager>(url);
    auto responseSerializer = QNJSONResponseSerializer::serializer();
    // Any content type is parsed as JSON: the service's error bodies come
    // with whatever type its front sends.
    responseSerializer->setAcceptableContentTypes(std::nullopt);
    manager->setResponseSerializer(responseSerializer);
    auto requestSerializer = std::make_shared<QNJSONRequestSerializer>();
    requestSerializer->setValue(std::string("application/json"), "Content-Type");
    requestSerializer->setValue(std::string("gzip,deflate"), "Accept-Encoding");
    manager->setRequestSerializer(requestSerializer);
    return manager;
}

// A request that could not take its parameters still goes out, as the
// serializer's caller never examines that failure.
foundation::URLRequest requestWithoutParameters(const std::string& urlString) {
    auto url = foundation::URL::URLWithString(urlString);
    return url ? foundation::URLRequest(*url) : foundation::URLRequest();
}


// The first "<...>" address of a "Link" value; nothing when the value does
// not start that way.
std::optional<std::string> nextPageAddress(const std::string& link) {
    if (link.size() < 2 || link.front() != '<') return std::nullopt;
    const auto close = link.find('>');
    if (close == std::string::npos) return std::nullopt;
    std::string address = link.substr(1, close - 1);
    if (address.empty()) return std::nullopt;
    return address;
}

// A JSON object as one model, an array as a model per object; a page read
// straight into models as its models.
Value modelsOf(const Value& body, const QVAApiManager::ModelClassPtr& returnTypeClass) {
    if (auto page = body.objectAs<ModelPage>()) return Value(page->models);
    return body.dictionary() ? Value(returnTypeClass->initWithDictionary(body))
                             : Value(Utils::initItemsArray(body, returnTypeClass));
}

// The failure of a list request whose page is not a JSON array.
ErrorPtr notAListError(const std::string& service) {
    ErrorPtr error = QVAError::initWithDescription(
        Format("An error occured when calling service:%@, Error: the answer is not a list", service));
    Utils::handleError(error, Format("An error occured when calling service:%@.", service), std::nullopt, false);
    ServiceFailureRecorder::record(error);
    return error;
}

}  // namespace

int QVAApiManager::deliveriesInProgress() { return deliveriesInFlight.load(); }

// ---- shared instance --------------------------------------------------------

QVAApiManager::QVAApiManager(std::optional<foundation::URL> baseURL) : QNHTTPSessionManager(std::move(baseURL)) {}

QVAApiManager& QVAApiManager::sharedApiManager() {
    std::lock_guard lock(sharedMutex());
    auto& instance = sharedInstance();
    if (!instance) instance = makeManager(serviceRootLocked());
    return *instance;
}

std::string QVAApiManager::serviceRoot() {
    std::lock_guard lock(sharedMutex());
    return serviceRootLocked();
}

void QVAApiManager::setServiceRoot(const Text& root) {
    std::lock_guard lock(sharedMutex());
    rootOverride() = root;
    if (auto retired = std::move(sharedInstance())) {
        // Running calls finish; the session then lets its connections go and
        // reports on its delegate queue, from where the release moves to the
        // main queue, so nothing is destroyed inside its own callback.
        const QVAApiManager* key = retired.get();
        retired->setSessionDidBecomeInvalidBlock([key](const foundation::URLSessionPtr&, const ErrorPtr&) {
            dispatch::Queue::main()->async([key] { releaseRetiredInstance(key); });
        });
        retired->invalidateSessionCancelingTasks(false);
        retiredInstances().push_back(std::move(retired));
    }
    sharedInstance().reset();
}

std::shared_ptr<QVAApiManager> QVAApiManager::selfPtr() {
    return std::static_pointer_cast<QVAApiManager>(shared_from_this());
}

std::shared_ptr<QNURLResponseSerialization> QVAApiManager::modelPageSerializer(const ModelClassPtr& modelClass) const {
    return ModelPageSerializer::forClass(modelClass,
                                         std::dynamic_pointer_cast<const QNJSONResponseSerializer>(responseSerializer()));
}

void QVAApiManager::clearAuthorizationHeader() { requestSerializer()->clearAuthorizationHeader(); }

void QVAApiManager::setAuthorizationHeaderWithCode(const Text& authCode) {
    requestSerializer()->setValue(Format("Bearer %@", authCode), kAuthorizationHeader);
}

void QVAApiManager::authorizeForServiceOrigin(foundation::URLRequest& request) const {
    if (!request.url() || !baseURL() || !request.url()->isSameOriginAs(*baseURL())) {
        request.setValue(std::nullopt, kAuthorizationHeader);
        return;
    }
    if (request.valueForHTTPHeaderField(kAuthorizationHeader)) return;
    if (auto inForce = requestSerializer()->valueForHTTPHeaderField(kAuthorizationHeader)) {
        request.setValue(*inForce, kAuthorizationHeader);
        return;
    }
    auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount();
    const Text token = account ? account->authenticationCode() : std::nullopt;
    if (token && !token->empty()) request.setValue(Format("Bearer %@", *token), kAuthorizationHeader);
}

std::optional<foundation::URLRequest> QVAApiManager::imageRequestForAddress(const Text& address) const {
    if (!address || address->empty()) return std::nullopt;
    auto url = foundation::URL::URLWithString(*address);
    if (!url) return std::nullopt;
    foundation::URLRequest request(*url);
    request.setValue(std::string("image/*"), "Accept");
    authorizeForServiceOrigin(request);
    return request;
}

// ---- addresses --------------------------------------------------------------

std::string QVAApiManager::resolvedURLString(const std::string& service) const {
    if (baseURL()) {
        if (auto resolved = foundation::URL::URLWithString(service, *baseURL())) return resolved->absoluteString();
    }
    return service;
}

bool QVAApiManager::isOnServiceOrigin(const std::string& absoluteURL) const {
    if (!baseURL()) return false;
    auto url = foundation::URL::URLWithString(absoluteURL);
    return url && url->isSameOriginAs(*baseURL());
}

std::optional<foundation::URLRequest> QVAApiManager::requestForAbsoluteURL(const std::string& method,
                                                                           const std::string& urlString,
                                                                           const Value& parameters) const {
    ErrorPtr error;
    auto request = requestSerializer()->requestWithMethod(method, urlString, parameters, &error);
    if (request && !isOnServiceOrigin(urlString)) request->setValue(std::nullopt, kAuthorizationHeader);
    return request;
}

// ---- ids in addresses -----------------------------------------------------------

std::string QVAApiManager::encodedId(std::string_view id) {
    // A segment of dots alone would be read as this level or the one above,
    // whatever encoding the rest of the id needs.
    if (id == "." || id == "..") return id.size() == 1 ? "%2E" : "%2E%2E";
    static const auto kIdCharacters = foundation::AllowedCharacters::unreserved();
    return foundation::percentEncode(id, kIdCharacters);
}

QVAApiManager::Text QVAApiManager::pathWithIds(std::string_view pattern, std::initializer_list<Text> ids) {
    std::string path;
    auto next = ids.begin();
    for (size_t at = 0;;) {
        const size_t mark = pattern.find("%@", at);
        path.append(pattern.substr(at, mark - at));
        if (mark == std::string_view::npos) return path;
        if (next == ids.end() || !*next || !ModelReading::isUsableIdText(**next)) return std::nullopt;
        path += encodedId(**next++);
        at = mark + 2;
    }
}

void QVAApiManager::refuseMissingId(std::string_view pattern, CallCompletion completion) {
    const std::string text = Format("Refused to call service:%@, its path names a missing id", std::string(pattern));
    foundation::Log("%@", text);
    // Refused as a failure is reported: later, on the completion queue.
    deliveryQueue()->async([error = QVAError::initWithDescription(text), completion = std::move(completion)] {
        if (completion) completion(error, Value());
    });
}

QVAApiManager::Text QVAApiManager::pathWithIdsOrRefuse(std::string_view pattern, std::initializer_list<Text> ids,
                                                       CallCompletion& completion) {
    Text path = pathWithIds(pattern, ids);
    if (!path) refuseMissingId(pattern, std::move(completion));
    return path;
}

// ---- failure mapping ----------------------------------------------------------

ErrorPtr QVAApiManager::mapFailure(const ErrorPtr& taskError, const std::shared_ptr<foundation::URLResponse>& response,
                                   const Value& body, const std::string& service, bool typedBody,
                                   const ModelClassPtr& errorResponseObjectType) const {
    ErrorPtr error = taskError;
    if (error->domain() == foundation::kURLErrorDomain && error->code() == foundation::URLError::NotConnectedToInternet) {
        error = NoInternetConnectionError::make(error->domain(), error->code(), error->userInfo());
    }
    if (auto http = std::dynamic_pointer_cast<foundation::HTTPURLResponse>(response)) {
        Value::Dictionary userInfo = taskError->userInfo();
        userInfo[kErrorResponseObjectKey] = Value(http);
        if (body.dictionary()) {
            error = QVAError::initWithDomain(taskError->domain(), taskError->code(), std::move(userInfo), body,
                                             typedBody ? errorResponseObjectType.get() : nullptr);
        } else {
            error = foundation::Error::make(taskError->domain(), taskError->code(), std::move(userInfo));
        }
    }
    Utils::handleError(error, Format("An error occured when calling service:%@.", service), std::nullopt, false);
    ServiceFailureRecorder::record(error);
    return error;
}

// ---- request method -----------------------------------------------------------

void QVAApiManager::requestForService(const std::string& service, const std::string& method,
                                      const Value& parameters, const ModelClassPtr& returnTypeClass, double timeout,
                                      RequestCompletion completion) {
    requestForService(service, method, parameters, returnTypeClass, timeout, nullptr, std::move(completion));
}

void QVAApiManager::requestForService(const std::string& service, const std::string& method,
                                      const Value& parameters, const ModelClassPtr& returnTypeClass, double /*timeout*/,
                                      const ModelClassPtr& errorResponseObjectType, RequestCompletion completion) {
    startRequest(service, method, parameters, returnTypeClass, errorResponseObjectType, nullptr, std::move(completion));
}

void QVAApiManager::startRequest(const std::string& service, const std::string& method, const Value& parameters,
                                 const ModelClassPtr& returnTypeClass, const ModelClassPtr& errorResponseObjectType,
                                 ResponseHandler didReceiveResponse, RequestCompletion completion,
                                 const std::optional<std::pair<std::string, std::string>>& headerField) {
    const std::string urlString = resolvedURLString(service);
    auto request = requestForAbsoluteURL(method, urlString, parameters);
    if (!request) request = requestWithoutParameters(urlString);
    if (headerField) request->setValue(headerField->second, headerField->first);
    startBuiltRequest(*request, service, returnTypeClass, errorResponseObjectType, std::move(didReceiveResponse),
                      std::move(completion));
}

bool QVAApiManager::startBuiltRequest(const foundation::URLRequest& request, const std::string& service,
                                      const ModelClassPtr& returnTypeClass,
                                      const ModelClassPtr& errorResponseObjectType, ResponseHandler didReceiveResponse,
                                      RequestCompletion completion, bool onlyIfValid, bool completesWhereMade,
                                      std::shared_ptr<QNURLResponseSerialization> serializer) {
    auto self = selfPtr();
    auto handler =
        [self, service, returnTypeClass, errorResponseObjectType, completion = std::move(completion),
         completesWhereMade](const std::shared_ptr<foundation::URLResponse>& response, const Value& body,
                             const ErrorPtr& taskError) {
            auto http = std::dynamic_pointer_cast<foundation::HTTPURLResponse>(response);
            // A failure is reported (and recorded) on the completion queue,
            // also for a request that completes where its result is made.
            auto report = [&](std::function<void()> failure) {
                if (completesWhereMade) self->deliveryQueue()->async(std::move(failure));
                else failure();
            };
            if (taskError) {
                report([self, taskError, response, body, service, errorResponseObjectType, completion, http] {
                    ErrorPtr error =
                        self->mapFailure(taskError, response, body, service, true, errorResponseObjectType);
                    if (completion) completion(error, Value(), http);
                });
                return;
            }
            if (!returnTypeClass) {
                if (completion) completion(nullptr, body, http);
            } else if (!body.dictionary() && !body.array() && !body.objectAs<ModelPage>()) {
                if (completion) report([completion, service, body, http] {
                    completion(QVAError::initWithDescription(Format(
                                   "An error occured when calling service:%@, Error: Unexpected response type %@",
                                   service, body.description())),
                               Value(), http);
                });
            } else if (completesWhereMade) {
                // Already on the processing queue.
                Value result = modelsOf(body, returnTypeClass);
                if (completion) completion(nullptr, result, http);
            } else {
                // The models are made on the processing queue; the caller
                // hears back where it would have.
                dispatch::QueuePtr queue = self->deliveryQueue();
                ++deliveriesInFlight;
                QNURLSessionManager::processingQueue()->async([body, returnTypeClass, http, queue, completion] {
                    queue->async([completion, result = modelsOf(body, returnTypeClass), http] {
                        if (completion) completion(nullptr, result, http);
                        --deliveriesInFlight;
                    });
                });
            }
        };
    dispatch::QueuePtr completionQueue = completesWhereMade ? QNURLSessionManager::processingQueue() : nullptr;
    auto task = onlyIfValid ? dataTaskIfValidWithRequest(request, std::move(didReceiveResponse), std::move(handler),
                                                         std::move(completionQueue))
                            : dataTaskWithRequest(request, std::move(didReceiveResponse), std::move(handler),
                                                  std::move(completionQueue));
    if (!task) return false;
    if (serializer) setResponseSerializerForTask(task, std::move(serializer));
    task->resume();
    return true;
}

// ---- verb wrappers ------------------------------------------------------------

namespace {

QVAApiManager::RequestCompletion dropResponse(QVAApiManager::CallCompletion completion) {
    return [completion = std::move(completion)](const ErrorPtr& error, const Value& result,
                                                const std::shared_ptr<foundation::HTTPURLResponse>&) {
        if (completion) completion(error, result);
    };
}

}  // namespace

void QVAApiManager::GET(const std::string& service, const Value& parameters, bool paginatedCall,
                        const ModelClassPtr& returnTypeClass, CallCompletion completion) {
    if (!paginatedCall) {
        requestForService(service, "GET", parameters, returnTypeClass, kDefaultTimeout,
                          dropResponse(std::move(completion)));
        return;
    }
    auto items = std::make_shared<Value::Array>();
    paginatedRequestForService(
        service, parameters, returnTypeClass, items,
        [items, service, parameters, returnTypeClass, completion = std::move(completion)](const ErrorPtr& error) {
            if (completion) {
                completion(error, Value(std::move(*items)));
                return;
            }
            foundation::Log("URLString = %@ \n URLString = %@ \n parameters = %@ \n returnTypeClass = %@", service,
                            parameters, returnTypeClass ? returnTypeClass->name : std::string("(null)"),
                            Value(*items));
        });
}

void QVAApiManager::GETWithAuthentication(const std::string& service, const Text& authCode, bool paginatedCall,
                                          int32_t /*itemsPerPage*/, const Value& parameters,
                                          const ModelClassPtr& returnTypeClass, CallCompletion completion) {
    setAuthorizationHeaderWithCode(authCode);
    GET(service, parameters, paginatedCall, returnTypeClass, std::move(completion));
}

void QVAApiManager::GETWithAuthentication(const std::string& service, const Text& authCode, bool paginatedCall,
                                          const Value& parameters, const ModelClassPtr& returnTypeClass,
                                          CallCompletion completion) {
    GETWithAuthentication(service, authCode, paginatedCall, paginatedCall ? kItemsPerPage : 0, parameters,
                          returnTypeClass, std::move(completion));
}

void QVAApiManager::GETWithAuthentication(const std::string& service, const Text& authCode, const Value& parameters,
                                          const ModelClassPtr& returnTypeClass, CallCompletion completion) {
    GETWithAuthentication(service, authCode, true, kItemsPerPage, parameters, returnTypeClass, std::move(completion));
}

void QVAApiManager::POST(const std::string& service, const Value& parameters, const ModelClassPtr& returnTypeClass,
                         CallCompletion completion) {
    requestForService(service, "POST", parameters, returnTypeClass, kDefaultTimeout, dropResponse(std::move(completion)));
}

void QVAApiManager::POSTWithIdempotencyKey(const std::string& service, const Value& parameters, const Text& key,
                                           const ModelClassPtr& returnTypeClass, CallCompletion completion) {
    std::optional<std::pair<std::string, std::string>> field;
    if (key) field.emplace("Idempotency-Key", *key);
    startRequest(service, "POST", parameters, returnTypeClass, nullptr, nullptr, dropResponse(std::move(completion)),
                 field);
}

void QVAApiManager::POSTWithAuthenticationCode(const std::string& service, const Text& authCode,
                                               const Value& parameters, const ModelClassPtr& returnTypeClass,
                                               CallCompletion completion) {
    if (authCode && !authCode->empty()) setAuthorizationHeaderWithCode(authCode);
    POST(service, parameters, returnTypeClass, std::move(completion));
}

void QVAApiManager::PUT(const std::string& service, const Value& parameters, const ModelClassPtr& returnTypeClass,
                        CallCompletion completion) {
    requestForService(service, "PUT", parameters, returnTypeClass, kDefaultTimeout, dropResponse(std::move(completion)));
}

void QVAApiManager::PUTWithAuthentication(const std::string& service, const Text& authCode, const Value& parameters,
                                          const ModelClassPtr& returnTypeClass, CallCompletion completion) {
    setAuthorizationHeaderWithCode(authCode);
    PUT(service, parameters, returnTypeClass, std::move(completion));
}

void QVAApiManager::PATCHWithAuthentication(const std::string& service, const Text& authCode, const Value& parameters,
                                            const ModelClassPtr& returnTypeClass, CallCompletion completion) {
    PATCHWithAuthentication(service, authCode, parameters, returnTypeClass, nullptr, std::move(completion));
}

void QVAApiManager::PATCHWithAuthentication(const std::string& service, const Text& authCode, const Value& parameters,
                                            const ModelClassPtr& returnTypeClass,
                                            const ModelClassPtr& errorResponseObjectType, CallCompletion completion) {
    setAuthorizationHeaderWithCode(authCode);
    requestForService(service, "PATCH", parameters, returnTypeClass, kDefaultTimeout, errorResponseObjectType,
                      dropResponse(std::move(completion)));
}

void QVAApiManager::DELETEWithAuthentication(const std::string& service, const Text& authCode,
                                             const Value& parameters, const ModelClassPtr& returnTypeClass,
                                             CallCompletion completion) {
    setAuthorizationHeaderWithCode(authCode);
    requestForService(service, "DELETE", parameters, returnTypeClass, kDefaultTimeout,
                      dropResponse(std::move(completion)));
}

// ---- pagination and merging -------------------------------------------------

// Shared by the session's network thread, where each page's head is read and
// the next page asked for as soon as it arrives, and the processing queue,
// where each page's items come (a failing page's on the completion queue):
// all of it under `mutex`.
struct QVAApiManager::PageWalk {
    struct Page {
        bool done = false;      // its result (or failure) has come
        bool followed = false;  // its "Link" has been looked at
        Value items;
        foundation::URLRequest request;  // what asked for it: the next page's is made from it
    };
    std::mutex mutex;
    Value parameters;
    ModelClassPtr returnTypeClass;
    std::shared_ptr<Value::Array> dataArray;
    // When set, the pages go here one by one instead of into `dataArray`.
    PageResultHandler eachPage;
    // Reads each page straight into models of `returnTypeClass`, where the
    // class can; the manager's serializer otherwise.
    std::shared_ptr<QNURLResponseSerialization> modelReading;
    // Reads each page's body instead of the manager's serializer.
    std::shared_ptr<QNURLResponseSerialization> serializer;
    size_t handedOver = 0;  // the pages before this one went to `eachPage`
    bool handing = false;   // a thread is handing a page over
    PageHandler handler;
    std::shared_ptr<std::set<std::string>> visited;
    std::deque<Page> pages;
    // The listing is the pages before this one, once it is known.
    size_t end = std::numeric_limits<size_t>::max();
    ErrorPtr error;
    bool finished = false;

    void endAt(size_t index, ErrorPtr failure) {
        if (index >= end) return;
        end = index;
        error = std::move(failure);
    }
    // Once every page of the listing has come: its items in page order into
    // `dataArray`, and true (once); the caller then hands it over, outside
    // the lock.
    bool takeCompleted() {
        if (finished || end == std::numeric_limits<size_t>::max()) return false;
        if (eachPage && (handing || handedOver < end)) return false;
        for (size_t i = 0; i < end; ++i)
            if (!pages[i].done) return false;
        finished = true;
        if (dataArray) {
            size_t total = dataArray->size();
            for (size_t i = 0; i < end; ++i) total += pages[i].items.count();
            dataArray->reserve(total);
            for (size_t i = 0; i < end; ++i) {
                Value::Array* items = pages[i].items.array();
                if (items) dataArray->insert(dataArray->end(), std::make_move_iterator(items->begin()),
                                             std::make_move_iterator(items->end()));
            }
        }
        pages.clear();
        return true;
    }
    void handOver() {
        if (handler) handler(error);
    }
    // Hands the pages that are next in order to `eachPage`, outside the
    // lock, unless another thread is at it (it takes these too); then
    // whether the listing is complete, as takeCompleted. Called with `lock`
    // held.
    bool handPagesOver(std::unique_lock<std::mutex>& lock) {
        if (eachPage && !handing) {
            handing = true;
            while (!finished && handedOver < end && handedOver < pages.size() && pages[handedOver].done) {
                Value page = std::move(pages[handedOver].items);
                pages[handedOver].items = Value();
                lock.unlock();
                eachPage(std::move(page));
                lock.lock();
                ++handedOver;
            }
            handing = false;
        }
        return takeCompleted();
    }
};

namespace {

// The request of the page after `current`, made from it without the
// serializer (whose headers the main thread may be changing for another
// call): the listing keeps the headers it began with. Only for a listing
// without parameters and a next page on the same origin, where the
// serializer would have built the same request; nothing otherwise.
std::optional<foundation::URLRequest> pageWalkNextRequest(foundation::URLRequest current, const Value& parameters,
                                                          const std::string& nextURL) {
    if (!parameters.isAbsent() || !current.url()) return std::nullopt;
    auto url = foundation::URL::URLWithString(nextURL);
    if (!url || !url->isSameOriginAs(*current.url())) return std::nullopt;
    current.setURL(std::move(url));
    return current;
}

}  // namespace

void QVAApiManager::paginatedRequestForService(const std::string& service, const Value& parameters,
                                               const ModelClassPtr& returnTypeClass,
                                               const std::shared_ptr<Value::Array>& dataArray,
                                               PageHandler completionHandler,
                                               std::shared_ptr<std::set<std::string>> visited) {
    auto walk = std::make_shared<PageWalk>();
    walk->parameters = parameters;
    walk->returnTypeClass = returnTypeClass;
    walk->dataArray = dataArray;
    walk->handler = std::move(completionHandler);
    walk->modelReading = modelPageSerializer(returnTypeClass);
    walk->visited = visited ? std::move(visited) : std::make_shared<std::set<std::string>>();
    walk->pages.emplace_back();
    walk->visited->insert(resolvedURLString(service));
    requestPage(walk, 0, service, std::nullopt);
}

void QVAApiManager::paginatedPagesWithAuthentication(const std::string& service, const Text& authCode,
                                                     PageItemsHandler eachPage, PageHandler completionHandler) {
    paginatedPagesWithAuthentication(service, authCode, Value(), nullptr, std::move(eachPage),
                                     std::move(completionHandler));
}

void QVAApiManager::paginatedPagesWithAuthentication(const std::string& service, const Text& authCode,
                                                     const Value& parameters, const ModelClassPtr& returnTypeClass,
                                                     PageItemsHandler eachPage, PageHandler completionHandler) {
    setAuthorizationHeaderWithCode(authCode);
    auto walk = std::make_shared<PageWalk>();
    walk->parameters = parameters;
    walk->returnTypeClass = returnTypeClass;
    walk->modelReading = modelPageSerializer(returnTypeClass);
    walk->eachPage = [eachPage = std::move(eachPage)](Value page) {
        Value::Array items;
        if (Value::Array* list = page.array()) items = std::move(*list);
        eachPage(std::move(items));
    };
    walk->handler = std::move(completionHandler);
    startPageWalk(walk, service);
}

void QVAApiManager::paginatedPagesWithAuthentication(const std::string& service, const Text& authCode,
                                                     std::shared_ptr<QNURLResponseSerialization> serializer,
                                                     PageResultHandler eachPage, PageHandler completionHandler) {
    setAuthorizationHeaderWithCode(authCode);
    auto walk = std::make_shared<PageWalk>();
    walk->serializer = std::move(serializer);
    walk->eachPage = std::move(eachPage);
    walk->handler = std::move(completionHandler);
    startPageWalk(walk, service);
}

void QVAApiManager::startPageWalk(const std::shared_ptr<PageWalk>& walk, const std::string& service) {
    walk->visited = std::make_shared<std::set<std::string>>();
    walk->pages.emplace_back();
    walk->visited->insert(resolvedURLString(service));
    requestPage(walk, 0, service, std::nullopt);
}

bool QVAApiManager::followPage(const std::shared_ptr<PageWalk>& walk, size_t index, const std::string& service,
                               const std::shared_ptr<foundation::HTTPURLResponse>& response) {
    std::optional<std::string> next;
    std::string address;  // the next page's, resolved
    foundation::URLRequest current;
    {
        std::lock_guard lock(walk->mutex);
        if (walk->finished || walk->pages[index].followed) return false;
        walk->pages[index].followed = true;
        if (index >= walk->end) return false;
        std::optional<std::string> link = response ? response->valueForHTTPHeaderField("Link") : std::nullopt;
        next = link && !link->empty() ? nextPageAddress(*link) : std::nullopt;
        if (next) address = resolvedURLString(*next);
        if (next && walk->visited->count(address)) {
            foundation::Log("Infinite recursivity for call %@", service);
            next.reset();
        }
        if (!next) {
            walk->endAt(index + 1, nullptr);
            return walk->takeCompleted();
        }
        walk->pages.emplace_back();
        walk->visited->insert(address);
        current = walk->pages[index].request;
    }
    if (auto request = pageWalkNextRequest(std::move(current), walk->parameters, address)) {
        requestPage(walk, index + 1, *next, std::move(request));
    } else {
        // The serializer is the main thread's.
        auto self = selfPtr();
        dispatch::Queue::main()->async(
            [self, walk, index, next = *next] { self->requestPage(walk, index + 1, next, std::nullopt); });
    }
    return false;
}

void QVAApiManager::requestPage(const std::shared_ptr<PageWalk>& walk, size_t index, const std::string& service,
                                std::optional<foundation::URLRequest> request) {
    if (!request) {
        const std::string urlString = resolvedURLString(service);
        request = requestForAbsoluteURL("GET", urlString, walk->parameters);
        if (!request) request = requestWithoutParameters(urlString);
    }
    {
        std::lock_guard lock(walk->mutex);
        if (walk->finished) return;
        walk->pages[index].request = *request;
    }
    auto self = selfPtr();
    // A successful head is enough to know the next page: it leaves from the
    // network thread, as the head is read, while this page's body is still
    // on its way.
    auto onHead = [self, walk, index, service](const std::shared_ptr<foundation::URLResponse>& response) {
        auto http = std::dynamic_pointer_cast<foundation::HTTPURLResponse>(response);
        if (!http || http->statusCode() < 200 || http->statusCode() >= 300) return;
        if (self->followPage(walk, index, service, http)) self->deliveryQueue()->async([walk] { walk->handOver(); });
    };
    // A page's items (or its failure) are taken where its result was made;
    // the listing is handed over on the completion queue.
    auto settle = [self, walk, index, service](const ErrorPtr& failure, const Value& result,
                                               const std::shared_ptr<foundation::HTTPURLResponse>& response) {
        bool completed = false;
        {
            std::unique_lock lock(walk->mutex);
            if (walk->finished) return;
            if (failure)
                walk->endAt(index, failure);
            else
                walk->pages[index].items = result;
            walk->pages[index].done = true;
            completed = walk->handPagesOver(lock);
        }
        // A page whose head was not followed (none came) has its "Link"
        // read now.
        if (!failure && !completed) completed = self->followPage(walk, index, service, response);
        if (completed) self->deliveryQueue()->async([walk] { walk->handOver(); });
    };
    const bool ownReading = walk->serializer != nullptr;
    const bool started = startBuiltRequest(
        *request, service, walk->returnTypeClass, nullptr, std::move(onHead),
        [self, service, settle, ownReading](const ErrorPtr& error, const Value& result,
                                            const std::shared_ptr<foundation::HTTPURLResponse>& response) {
            if (error || result.array() || (ownReading && !result.isAbsent())) {
                settle(error, result, response);
                return;
            }
            // Anything but a list (a notice served with 200, say) must not
            // read as an empty list: callers replace or delete rows by the
            // list. It is reported on the completion queue, as failures are.
            self->deliveryQueue()->async(
                [service, settle, response] { settle(notAListError(service), Value(), response); });
        },
        index > 0, true, ownReading ? walk->serializer : walk->modelReading);
    if (started) return;
    // The session was invalidated (its manager retired) while the listing
    // went on: it ends here, as if this page had been cancelled.
    bool completed = false;
    {
        std::unique_lock lock(walk->mutex);
        if (walk->finished) return;
        walk->endAt(index, foundation::makeURLError(foundation::URLError::Cancelled,
                                                    request->url() ? request->url()->absoluteString() : service));
        walk->pages[index].done = true;
        completed = walk->handPagesOver(lock);
    }
    if (completed) deliveryQueue()->async([walk] { walk->handOver(); });
}

void QVAApiManager::mergedGET(const std::vector<std::string>& services, const Value& parameters,
                              bool /*paginatedCall*/, const ModelClassPtr& returnTypeClass,
                              ListCompletion completion) {
    struct Merge {
        Value::Array items;
        bool failed = false;
    };
    auto merge = std::make_shared<Merge>();
    auto group = dispatch::Group::create();
    for (const auto& service : services) {
        group->enter();
        GET(service, parameters, true, returnTypeClass, [merge, group](const ErrorPtr& error, const Value& result) {
            if (!error && result.array()) {
                merge->items.insert(merge->items.end(), result.array()->begin(), result.array()->end());
            } else {
                merge->failed = true;
            }
            group->leave();
        });
    }
    group->notify(dispatch::Queue::main(), [merge, returnTypeClass, completion = std::move(completion)] {
        foundation::Log("merged calls ready");
        if (!completion) foundation::Log("Error here, completion block is nil");
        if (merge->failed) {
            std::string text = Format("Failed to load all delta updates for %@",
                                      returnTypeClass ? returnTypeClass->name : std::string("(null)"));
            foundation::Log("%@", text);
            if (completion) completion(QVAError::initWithDescription(text), Value());
            return;
        }
        if (completion) completion(nullptr, Value(merge->items));
    });
}

// ---- generic request and parameters -------------------------------------------

void QVAApiManager::requestForUrlString(const std::string& urlString, const std::string& method,
                                        const Value& parameters, RequestCompletion completion) {
    auto request = requestForAbsoluteURL(method, urlString, parameters);
    if (!request) request = requestWithoutParameters(urlString);
    auto self = selfPtr();
    auto task = dataTaskWithRequest(
        *request, [self, urlString, completion = std::move(completion)](
                      const std::shared_ptr<foundation::URLResponse>& response, const Value& body,
                      const ErrorPtr& taskError) {
            auto http = std::dynamic_pointer_cast<foundation::HTTPURLResponse>(response);
            if (!taskError) {
                if (completion) completion(nullptr, body, http);
                return;
            }
            ErrorPtr error = self->mapFailure(taskError, response, body, urlString, false, nullptr);
            if (completion) completion(error, Value(), http);
        });
    task->resume();
}

void QVAApiManager::addRequestParameter(const Value& value, const std::string& key,
                                        Value::Dictionary* paramCollection) {
    if (!paramCollection) return;
    std::string text;
    if (const std::string* string = value.string()) {
        text = *string;
    } else if (!value.isNothing()) {
        text = Format("%@", value);
    }
    (*paramCollection)[key] = Value(text);
}
