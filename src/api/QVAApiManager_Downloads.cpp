// What does not fit the JSON road: the reports feed fetched as an XML
// parser, document and map files streamed to disk, cancelling the running
// service calls, and the cache reset that makes a meeting load anew.
//
// Feed, document and map transfers are HTTP request operations started on
// their own (never on the session's one-wide delegate queue, so they stall
// no service call). Their results arrive on the main queue.
//
// Invariants: a document or map file on disk is always a whole earlier
// download or a whole new one (written beside it, renamed over it on
// success); none is a body that is not the file asked for (an empty one, a
// sign-in page some network answered in its place: see DownloadedBody); no
// file name taken from the service leads out of its folder; a request to the
// service root's origin carries the account's token, one to another origin
// none.
#include "api/QVAApiManager.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <vector>

#include "Utils/StringUtility.h"
#include "Utils/Utils.h"
#include "api/DownloadedBody.h"
#include "api/MapFilesHook.h"
#include "api/ServiceFailureRecorder.h"
#include "settings/ApplicationSettingsStore.h"
#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/Bundle.h"
#include "foundation/FileManager.h"
#include "foundation/Format.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/Log.h"
#include "foundation/OutputStream.h"
#include "foundation/URLSessionTask.h"
#include "foundation/XMLParser.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNXMLParserResponseSerializer.h"
#include "model/QVAError.h"
#include "model/QVAImapsLinksModel.h"
#include "store/StorageManager.h"

using foundation::ErrorPtr;
using foundation::Format;
using foundation::Value;

namespace {

constexpr const char* kFeedContentType = "application/rss+xml";
constexpr const char* kDocumentsFolder = "Info Pdfs";
constexpr const char* kPartialSuffix = ".download";
// Fixed; nothing depends on its value.
constexpr const char* kHashSalt = "5b0e6c1e-8f4a-4d0b-9c57-2a7d3e91f6b4";

foundation::FileManager& files() { return foundation::FileManager::defaultManager(); }

// The last path component of a name the caller got from the service;
// nothing when that leaves no usable file name.
std::optional<std::string> safeFileName(const std::optional<std::string>& name) {
    if (!name) return std::nullopt;
    std::string last = *name;
    const auto slash = last.find_last_of('/');
    if (slash != std::string::npos) last = last.substr(slash + 1);
    if (last.empty() || last == "." || last == "..") return std::nullopt;
    return last;
}

foundation::ErrorPtr downloadsRefusedBodyError(const std::string& description) {
    return std::make_shared<QVAError>(
        kQVAErrorDomain, QVAApiManager::kRefusedBodyErrorCode,
        Value::Dictionary{{foundation::kLocalizedDescriptionKey,
                           Value(foundation::Bundle::mainBundle().localizedString(description))}});
}

// Streams the body into the partial file beside `path` and renames it over
// `path` only once the body arrived whole, so a file at `path` is always a
// whole download (a screen may be reading an older one meanwhile). A failure
// removes the partial file; an end of the process leaves it behind, under a
// name no reader takes. A body that is not the file asked for (see
// DownloadedBody) fails too, and the earlier whole copy stays.
void streamToFile(const foundation::URLRequest& request, const std::string& path, const std::string& what,
                  DownloadedBody::Asked asked, std::function<void(const ErrorPtr&)> done) {
    const std::string partial = path + kPartialSuffix;
    auto operation = QNHTTPRequestOperation::operationWithRequest(request);
    operation->setOutputStream(foundation::OutputStream::outputStreamToFileAtPath(partial, false));
    auto shared = std::make_shared<std::function<void(const ErrorPtr&)>>(std::move(done));
    operation->setCompletionBlockWithSuccess(
        [partial, path, what, asked = std::move(asked), shared](const QNHTTPRequestOperationPtr& finished,
                                                                const Value&) {
            const auto response = finished ? finished->response() : nullptr;
            DownloadedBody::Asked labelled = asked;
            labelled.contentType = response ? response->MIMEType() : std::nullopt;
            if (auto refusal = DownloadedBody::refusalOfFile(partial, labelled)) {
                files().removeItemAtPath(partial);
                (*shared)(downloadsRefusedBodyError(
                    Format("The service did not answer with %@ but with %@.", what, *refusal)));
                return;
            }
            if (std::rename(partial.c_str(), path.c_str()) != 0) {
                files().removeItemAtPath(partial);
                (*shared)(foundation::Error::withDescription(foundation::kCocoaErrorDomain, 512,
                                                             Format("The file %@ could not be put in place.", path)));
                return;
            }
            (*shared)(nullptr);
        },
        [partial, shared](const QNHTTPRequestOperationPtr&, const ErrorPtr& error) {
            files().removeItemAtPath(partial);
            (*shared)(error);
        });
    operation->start();
}

// Removes the partial files an earlier run left in the folder: the first
// download into a folder in this run does it, before any partial file of
// this run is there.
void removePartialFilesOfEarlierRuns(const std::string& folder) {
    static std::mutex mutex;
    static std::set<std::string> swept;
    {
        std::lock_guard lock(mutex);
        if (!swept.insert(folder).second) return;
    }
    const std::string suffix = kPartialSuffix;
    for (const auto& name : files().contentsOfDirectoryAtPath(folder).value_or(std::vector<std::string>())) {
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            files().removeItemAtPath(folder + "/" + name);
    }
}

}  // namespace

// ---- the reports feed ---------------------------------------------------------

void QVAApiManager::requestForXMLService(const Text& urlString, const Value& parameters, CallCompletion completion) {
    const std::string address = Format("%@", urlString);
    auto request = requestForAbsoluteURL("GET", address, parameters);
    if (!request) request = foundation::URLRequest();
    authorizeForServiceOrigin(*request);
    auto operation = QNHTTPRequestOperation::operationWithRequest(*request);
    auto serializer = QNXMLParserResponseSerializer::serializer();
    serializer->setAcceptableContentTypes(std::set<std::string>{kFeedContentType});
    operation->setResponseSerializer(serializer);
    auto shared = std::make_shared<CallCompletion>(std::move(completion));
    operation->setCompletionBlockWithSuccess(
        [address, shared](const QNHTTPRequestOperationPtr&, const Value& responseObject) {
            if (responseObject.objectAs<foundation::XMLParser>()) {
                if (*shared) (*shared)(nullptr, responseObject);
                return;
            }
            const std::string message = Format(
                "An error occured when calling XML service:%@, Error: Unexpected response object, either empty or "
                "something different than NSXMLParser",
                address);
            ErrorPtr error = QVAError::initWithDescription(message);
            Utils::handleError(error, message, std::nullopt, false);
            if (*shared) (*shared)(error, Value());
        },
        [address, shared](const QNHTTPRequestOperationPtr&, const ErrorPtr& error) {
            Utils::handleError(error, Format("An error occured when calling XML service:%@.", address), std::nullopt,
                               false);
            ServiceFailureRecorder::record(error);
            if (*shared) (*shared)(error, Value());
        });
    operation->start();
}

void QVAApiManager::getXMLDataFromURL(const Text& urlString,
                                      const std::shared_ptr<foundation::XMLParserDelegate>& delegate,
                                      CallCompletion completion) {
    requestForXMLService(urlString, Value(),
                         [delegate, completion = std::move(completion)](const ErrorPtr& error, const Value& result) {
                             auto parser = result.objectAs<foundation::XMLParser>();
                             if (error || !parser) {
                                 if (completion) completion(error, Value());
                                 return;
                             }
                             parser->setDelegate(delegate);
                             parser->parse();
                             if (completion) completion(nullptr, result);
                         });
}

// ---- documents ----------------------------------------------------------------

// The token names a folder: "/" becomes "_" as in the store key, and a
// token that is only dots is refused.
std::optional<std::string> QVAApiManager::documentsFolderNameForAuthToken(const Text& token) {
    if (!token) return std::string("(null)");
    std::string folder = *token;
    for (char& c : folder)
        if (c == '/') c = '_';
    if (folder.empty() || folder == "." || folder == "..") return std::nullopt;
    return folder;
}

std::optional<std::string> QVAApiManager::documentsFolderForAuthToken(const Text& token) {
    auto name = documentsFolderNameForAuthToken(token);
    if (!name) return std::nullopt;
    return Format("%@/%@/%@", Utils::getCurrentDirectory(), kDocumentsFolder, *name);
}

void QVAApiManager::getFileFromUrl(const Text& urlString, const Text& fileName, const Text&, const Text&,
                                   CallCompletion completion) {
    auto fail = [&completion](const char* message) {
        if (completion) completion(QVAError::initWithDescription(message), Value());
    };
    if (!urlString || !Utils::isInternetReachable()) return fail("No internet connection!");

    Text token;
    if (auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount()) {
        token = account->authenticationCode();
    }
    std::optional<std::string> folder = documentsFolderForAuthToken(token);
    std::optional<std::string> name = safeFileName(fileName);
    if (!folder || !name) return fail("Bad file name for document.");
    files().createDirectoryAtPath(*folder, true);
    const std::string path = Format("%@/%@", *folder, *name);

    auto url = foundation::URL::URLWithString(*urlString);
    if (!url || !url->scheme() || url->scheme()->empty() || !url->host() || url->host()->empty()) {
        return fail("Bad url for document.");
    }
    auto request = requestForAbsoluteURL("GET", *urlString, Value());
    if (!request) return fail("Bad url for document.");
    authorizeForServiceOrigin(*request);

    removePartialFilesOfEarlierRuns(*folder);
    streamToFile(*request, path, "the document", DownloadedBody::Asked{*name, std::nullopt, false},
                 [path, completion = std::move(completion)](const ErrorPtr& error) {
                     if (completion) completion(error, error ? Value() : Value(path));
                 });
}

// ---- map files ------------------------------------------------------------------

void QVAApiManager::streamRequestForRelFileName(const Text& relFileName, const Text& hrefString,
                                                const Value& parameters, const Text& authToken, const Text& eventId,
                                                double, CallCompletion completion) {
    auto fail = [&completion](const std::string& message) {
        if (completion) completion(QVAError::initWithDescription(message), Value());
    };
    if (!relFileName || !hrefString) return fail("Unable to download all Interactive Maps Files!");
    std::optional<std::string> path =
        Utils::cacheImapsUrlStringForFileName(*relFileName, Format("%@", authToken), Format("%@", eventId));
    if (!path) return fail("Unable to download all Interactive Maps Files!");
    auto request = requestForAbsoluteURL("GET", *hrefString, parameters);
    if (!request || !request->url()) return fail("Unable to download all Interactive Maps Files!");
    // The plans may be fetched before any service call of this run has put
    // the account's token on the client (a plan missing at launch), and a
    // service that protects its files refuses them without it.
    if (authToken && !authToken->empty() && isOnServiceOrigin(*hrefString))
        request->setValue(Format("Bearer %@", *authToken), "Authorization");

    streamToFile(*request, *path, "the map file", DownloadedBody::Asked{*relFileName, std::nullopt, true},
                 [completion = std::move(completion)](const ErrorPtr& error) {
                     if (error) ServiceFailureRecorder::record(error);
                     if (completion) completion(error, Value());
                 });
}

void QVAApiManager::downloadInteractiveMapsForAuthCode(const Text& authCode, const Text& eventId,
                                                       CallCompletion completion) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    foundation::Log("Called downloadInteractiveMaps for flag %d",
                    static_cast<int>(settings.currentEventIsDownloadingOrParsingIMaps()));
    const auto links = MapFilesHook::links(authCode, eventId);
    if (links.empty()) return;
    settings.setCurrentEventIsDownloadingOrParsingIMaps(true);

    auto failed = std::make_shared<bool>(false);
    // Whether a file got no answer (the network, the service down): a retry
    // may fetch it.
    auto unanswered = std::make_shared<bool>(false);
    auto group = dispatch::Group::create();
    // Floors may name one file more than once; two downloads into one place
    // would write one partial file and the second would find it gone.
    std::set<std::string> mapFilePathsStarted;
    for (const auto& link : links) {
        foundation::Log("Imaps file to download %@ ||  %@", link->relString(), link->hrefString());
        // A link that cannot be fetched is a failed file; it never enters
        // the group, so the download still completes.
        const auto path = link->relString() ? Utils::cacheImapsUrlStringForFileName(
                                                  *link->relString(), Format("%@", authCode), Format("%@", eventId))
                                            : std::nullopt;
        if (!path || !link->hrefString()) {
            *failed = true;
            continue;
        }
        if (!mapFilePathsStarted.insert(*path).second) continue;
        group->enter();
        streamRequestForRelFileName(link->relString(), link->hrefString(), Value(), authCode, eventId,
                                    kDefaultTimeout,
                                    [failed, unanswered, group](const ErrorPtr& error, const Value&) {
                                        if (error) *failed = true;
                                        if (error && !(error->domain() == kQVAErrorDomain &&
                                                       error->code() == kRefusedBodyErrorCode))
                                            *unanswered = true;
                                        group->leave();
                                    });
    }
    group->notify(dispatch::Queue::main(), [failed, unanswered, completion = std::move(completion)] {
        if (!completion) return;
        if (!*failed) {
            completion(nullptr, Value());
            return;
        }
        const std::string message = "Unable to download all Interactive Maps Files!";
        foundation::Log("Unable to download all Interactive Maps Files!");
        completion(*unanswered ? QVAError::initWithDescription(message) : downloadsRefusedBodyError(message), Value());
    });
}

// ---- cancelling -----------------------------------------------------------------

void QVAApiManager::cancelAllHTTPOperationTasks() {
    const std::string root = serviceRoot();
    cancelTasksInArray(dataTasks(), root);
    cancelTasksInArray(uploadTasks(), root);
    cancelTasksInArray(downloadTasks(), root);
}

void QVAApiManager::cancelTasksInArray(const std::vector<foundation::URLSessionTaskPtr>& tasks,
                                       const std::string& path) {
    for (const auto& task : tasks) {
        if (!task) continue;
        const auto request = task->currentRequest();
        if (request.url() && request.url()->absoluteString().find(path) != std::string::npos) task->cancel();
    }
}

// ---- cache reset ----------------------------------------------------------------

void QVAApiManager::clearCacheAndReloadContentForAuthToken(const Text& authToken, const Text& eventId,
                                                           CallCompletion completion) {
    auto& store = StorageManager::sharedStorageManager();
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    settings.keepPersistentStoresValidityBeforeReload();
    // The files moved aside are those of the store that is opened anew.
    if (!store.movePersistentStoreFileForAuthToken(authToken, eventId)) {
        settings.setPersistentStoresValidity(std::nullopt);
        if (completion) completion(QVAError::initWithDescription("Database copy did not succeeded"), Value());
        return;
    }
    store.initCoreDataStackForAuthToken(
        authToken, eventId, [&settings, completion](foundation::ErrorPtr error, std::shared_ptr<CoreDataStack> stack) {
            settings.setPersistentStoresValidity(std::nullopt);
            if (completion) completion(error, stack ? Value(stack) : Value());
        });
}

std::string QVAApiManager::hashAuthenticationCode(const std::string& code) {
    return StringUtility::getHashed(code + kHashSalt);
}
