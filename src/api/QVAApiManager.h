// The one client of the meeting REST service. It is a session manager whose
// base URL is the service root followed by "v1"; every screen and service
// that talks to the service goes through its shared instance.
//
// What it keeps lives in the session manager: the base URL, the JSON request
// serializer (whose "Authorization" header carries the access token of the
// last authenticated call) and the JSON response serializer. The bearer
// token goes to every address of the service root's origin (scheme, host
// and port), its feeds and files included, and never to another origin,
// nor along a redirect that leaves the origin.
//
// Every asynchronous operation ends in one completion whose first argument
// is the error (null on success). Results are values: a model object, an
// array of them, or the raw parsed body where the operation names no model
// class. Completions run on the main queue. Nothing here throws for outside
// failures. All operations are started from the main thread.
//
// The operations are defined by concern in QVAApiManager_Transport.cpp,
// _Reads.cpp, _Writes.cpp, _Descriptors.cpp and _Downloads.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "api/CallAndWriteParametrizedObject.h"
#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/URLSession.h"
#include "foundation/Value.h"
#include "http/QNHTTPSessionManager.h"
#include "model/ModelClass.h"

namespace foundation {
class XMLParserDelegate;
}
class QVAFollowedParticipant;

class QVAApiManager : public QNHTTPSessionManager {
public:
    using Text = std::optional<std::string>;
    using ModelClassPtr = std::shared_ptr<const ModelClass>;
    // (error, result, HTTP response): the request method and the generic
    // URL request.
    using RequestCompletion = std::function<void(const foundation::ErrorPtr& error, const foundation::Value& result,
                                                 const std::shared_ptr<foundation::HTTPURLResponse>& response)>;
    // (error, result): every other operation. A list result is an array
    // value (absent where the operation says nothing came).
    using CallCompletion = std::function<void(const foundation::ErrorPtr& error, const foundation::Value& result)>;
    using ListCompletion = CallCompletion;
    // One step of a paginated read.
    using PageHandler = std::function<void(const foundation::ErrorPtr& error)>;
    // One page's items of a listing read page by page, theirs to keep.
    using PageItemsHandler = std::function<void(foundation::Value::Array items)>;
    // One page's result as the listing's own serializer made it, theirs to keep.
    using PageResultHandler = std::function<void(foundation::Value page)>;

    // The user-info key under which a failed call's error holds the HTTP
    // response (read back by ErrorUtility's HTTP error code).
    static constexpr const char* kErrorResponseObjectKey = "errorResponseObjectKey";
    static constexpr const char* kAPIVersion = "v1";
    // The service root unless QVA_SERVICE_ROOT names another one.
    static constexpr const char* kDefaultServiceRoot = "https://services.quovana.com/api";
    static constexpr double kDefaultTimeout = 30.0;
    // The code (in kQVAErrorDomain) of a download answered with a body that
    // is not the file asked for, as against one that got no answer.
    static constexpr int64_t kRefusedBodyErrorCode = 2;
    static constexpr int32_t kItemsPerPage = 100;

    // ---- shared instance and configuration --------------------------------

    // Made on first use: base URL "<service root>/v1", the JSON request
    // serializer with "Content-Type" "application/json" and
    // "Accept-Encoding" "gzip,deflate", the JSON response serializer that
    // parses any content type.
    static QVAApiManager& sharedApiManager();
    // The root in force: the one set below, else QVA_SERVICE_ROOT, else the
    // default.
    static std::string serviceRoot();
    // Sets (or, with nothing, forgets) the root and retires the shared
    // instance, so the next sharedApiManager() makes a new one on that root
    // with no "Authorization" header. For tests and the command-line front,
    // before use or between uses; calls already started finish on the old
    // instance, whose session is then invalidated (its connections closed),
    // so it takes no new calls; the old instance is released once its
    // session has ended its last call.
    static void setServiceRoot(const Text& root);
    // Answers whose models are still being made after their request ended
    // (the network mark is already off), for whoever waits for the app to
    // settle.
    static int deliveriesInProgress();

    // Made through make<QVAApiManager>(baseURL) only.
    explicit QVAApiManager(std::optional<foundation::URL> baseURL);

    // The request serializer as the API client made it.
    std::shared_ptr<QNHTTPRequestSerializer> apiRequestSerializer() const { return requestSerializer(); }
    // Removes the bearer token from the shared request serializer. Log-out
    // and the clearing of the settings call it, so a next login or password
    // reset carries no stale token.
    void clearAuthorizationHeader();
    // Sets "Authorization" to "Bearer <code>" ("(null)" for no code).
    void setAuthorizationHeaderWithCode(const Text& authCode);
    // A request made outside the service calls (the feed, a document, a
    // participant's photo, a partner's logo) to the service root's origin
    // takes the token in force, else the current account's, unless it
    // carries one already; to another origin it carries none. Such a
    // request may leave before any service call of the process has set the
    // header, and a service that protects its files refuses it without.
    void authorizeForServiceOrigin(foundation::URLRequest& request) const;
    // A GET of an image at the address ("Accept: image/*"), authorized as
    // above; nothing for an address that is missing, empty or no URL.
    std::optional<foundation::URLRequest> imageRequestForAddress(const Text& address) const;

    // ---- transport ----------------------------------------------------------

    // Resolves the service string against the base URL (an absolute string
    // stays as it is), runs it and maps the outcome: with a result class a
    // dictionary body becomes one model and an array body a list of models;
    // another body is an "Unexpected response type" error. Failures become
    // NoInternetConnectionError (offline), QVAError (an HTTP error with a
    // JSON object body, typed with the error-body class when one is given),
    // or the task's error with the response under kErrorResponseObjectKey,
    // and are logged. The timeout is accepted; the serializer's applies.
    void requestForService(const std::string& service, const std::string& method, const foundation::Value& parameters,
                           const ModelClassPtr& returnTypeClass, double timeout,
                           const ModelClassPtr& errorResponseObjectType, RequestCompletion completion);
    void requestForService(const std::string& service, const std::string& method, const foundation::Value& parameters,
                           const ModelClassPtr& returnTypeClass, double timeout, RequestCompletion completion);

    // GET with the header in force. Paginated: every page's items, as an
    // array (on an error, those of the pages already read); otherwise the
    // mapped result.
    void GET(const std::string& service, const foundation::Value& parameters, bool paginatedCall,
             const ModelClassPtr& returnTypeClass, CallCompletion completion);
    // GET with "Authorization" set from the code. The items per page are
    // carried and not sent.
    void GETWithAuthentication(const std::string& service, const Text& authCode, bool paginatedCall,
                               int32_t itemsPerPage, const foundation::Value& parameters,
                               const ModelClassPtr& returnTypeClass, CallCompletion completion);
    void GETWithAuthentication(const std::string& service, const Text& authCode, bool paginatedCall,
                               const foundation::Value& parameters, const ModelClassPtr& returnTypeClass,
                               CallCompletion completion);
    // Always paginated.
    void GETWithAuthentication(const std::string& service, const Text& authCode, const foundation::Value& parameters,
                               const ModelClassPtr& returnTypeClass, CallCompletion completion);
    void POST(const std::string& service, const foundation::Value& parameters, const ModelClassPtr& returnTypeClass,
              CallCompletion completion);
    // A POST that names what it sends in an "Idempotency-Key" field (none
    // without a key): a service that knows the field answers a repeated key
    // with its first answer and takes nothing new, so a POST sent again after
    // a lost answer is not taken twice. A service that ignores it sees a
    // plain POST.
    void POSTWithIdempotencyKey(const std::string& service, const foundation::Value& parameters, const Text& key,
                                const ModelClassPtr& returnTypeClass, CallCompletion completion);
    // Sets the header only for a code that is not nil or empty.
    void POSTWithAuthenticationCode(const std::string& service, const Text& authCode,
                                    const foundation::Value& parameters, const ModelClassPtr& returnTypeClass,
                                    CallCompletion completion);
    void PUT(const std::string& service, const foundation::Value& parameters, const ModelClassPtr& returnTypeClass,
             CallCompletion completion);
    void PUTWithAuthentication(const std::string& service, const Text& authCode, const foundation::Value& parameters,
                               const ModelClassPtr& returnTypeClass, CallCompletion completion);
    void PATCHWithAuthentication(const std::string& service, const Text& authCode, const foundation::Value& parameters,
                                 const ModelClassPtr& returnTypeClass, CallCompletion completion);
    // A dictionary error body is typed with the given class.
    void PATCHWithAuthentication(const std::string& service, const Text& authCode, const foundation::Value& parameters,
                                 const ModelClassPtr& returnTypeClass, const ModelClassPtr& errorResponseObjectType,
                                 CallCompletion completion);
    void DELETEWithAuthentication(const std::string& service, const Text& authCode,
                                  const foundation::Value& parameters, const ModelClassPtr& returnTypeClass,
                                  CallCompletion completion);

    // A paginated read: GETs the page and follows the first "Link" address,
    // appending the items of every page to `dataArray` in page order. A page
    // that is not an array ends the walk with an error saying the answer is
    // not a list (the items of the pages before it kept): callers must not
    // take it for an empty list. The walk ends without error without a usable
    // "Link" ("<...>" form), or at an address already visited (logged
    // "Infinite recursivity for call %@"); a failing page ends it with its
    // error and the earlier pages' items. `visited` holds the absolute page
    // addresses read so far (null for a new walk). The next page is asked
    // for as soon as a page's head (a success status and its "Link") has
    // come, while that page's body is still being read, parsed and mapped:
    // from the session's network thread, as the head is read,
    // and (for a listing without parameters, on the same origin) with the
    // headers its first page was sent with. The completion comes on the
    // completion queue (the main queue unless set).
    void paginatedRequestForService(const std::string& service, const foundation::Value& parameters,
                                    const ModelClassPtr& returnTypeClass,
                                    const std::shared_ptr<foundation::Value::Array>& dataArray,
                                    PageHandler completionHandler,
                                    std::shared_ptr<std::set<std::string>> visited = nullptr);
    // The same walk without gathering: each page's items go to `eachPage`
    // as they come, on the processing queue, one page at a time and in page
    // order (a page that came early waits for those before it); the
    // completion (on the completion queue) follows once every page before
    // the walk's end has been handed over, with the walk's error. The items
    // of a page at or after a failing one are not handed over. Sets the
    // bearer header of `authCode`, as the authenticated GETs do.
    void paginatedPagesWithAuthentication(const std::string& service, const Text& authCode,
                                          PageItemsHandler eachPage, PageHandler completionHandler);
    // The same with the listing's parameters, each page's items mapped to
    // `returnTypeClass` (raw values without one) before they are handed over.
    void paginatedPagesWithAuthentication(const std::string& service, const Text& authCode,
                                          const foundation::Value& parameters, const ModelClassPtr& returnTypeClass,
                                          PageItemsHandler eachPage, PageHandler completionHandler);
    // The same walk with each page's body read by `serializer` instead of
    // the manager's: its result, an array or an object of the caller's, is
    // handed over as it is; an absent result is the not-a-list error.
    void paginatedPagesWithAuthentication(const std::string& service, const Text& authCode,
                                          std::shared_ptr<QNURLResponseSerialization> serializer,
                                          PageResultHandler eachPage, PageHandler completionHandler);
    // Every service fetched paginated at the same time, the items in
    // completion order; any failure gives "Failed to load all delta updates
    // for <class>" and no items. No services: (nil, empty array) at once.
    // The paginated flag is ignored.
    void mergedGET(const std::vector<std::string>& services, const foundation::Value& parameters,
                   bool paginatedCall, const ModelClassPtr& returnTypeClass, ListCompletion completion);

    // An absolute address with the default headers; the raw parsed body.
    void requestForUrlString(const std::string& urlString, const std::string& method,
                             const foundation::Value& parameters, RequestCompletion completion);
    // ---- ids in addresses ---------------------------------------------------

    // An id as one path segment, or as one item of an "ids" list: every
    // byte but ASCII letters, digits and "-._~" percent-encoded, and an id
    // of dots alone encoded whole, so an id names no other level, query,
    // fragment or item, whatever it holds.
    static std::string encodedId(std::string_view id);
    // The service path of a pattern whose "%@"s take the ids in order, each
    // encoded as one segment (ids past the pattern's are not used). Nothing
    // when one it takes is missing or unusable (empty): no path names it.
    static Text pathWithIds(std::string_view pattern, std::initializer_list<Text> ids);
    // Fails `completion` as a refused call, later on the completion queue,
    // without asking the service: the call's path needed a missing id.
    void refuseMissingId(std::string_view pattern, CallCompletion completion);
    // The same for a list whose descriptor has no path.
    void refuseMissingId(const CallAndWriteParametrizedObject& list, CallCompletion completion);

    // Stores the value's text under the key: a number in decimal, a text
    // unchanged, nothing (absent or null) as "". No collection: nothing.
    static void addRequestParameter(const foundation::Value& value, const std::string& key,
                                    foundation::Value::Dictionary* paramCollection);

    // ---- reads --------------------------------------------------------------

    void getCurrentEventForAuthCode(const Text& authCode, CallCompletion completion);
    // No or an empty id reads the current event.
    void getEventWithId(const Text& eventId, const Text& authCode, CallCompletion completion);
    void getRecommendedSessionsForSessionId(const Text& sessionId, const Text& authCode, const Text& eventId,
                                            CallCompletion completion);
    // (nil, message) only when the answer is one status message.
    void getSessionStatusMessageForSubactivityId(const Text& subactivityId, const Text& eventId, const Text& authCode,
                                                 CallCompletion completion);
    // (nil, occupancy) only when the answer is one occupancy.
    void getSessionOccupancyForSubactivityId(const Text& subactivityId, const Text& eventId, const Text& authCode,
                                             CallCompletion completion);
    // The first response only, whatever its "Link".
    void getRecommendedParticipantsForParticipantId(const Text& participantId, const Text& authCode,
                                                    const Text& eventId, CallCompletion completion);
    void getPrivacySettingsForAuthCode(const Text& authCode, CallCompletion completion);
    // Every message of the account, not written to the store.
    void getAllMessagesForAuthCode(const Text& authCode, CallCompletion completion);

    // ---- writes -------------------------------------------------------------

    // Backslashes of the password (and passcode) are doubled; no
    // "Authorization" is set here.
    void authenticateWithUsername(const Text& username, const Text& password, CallCompletion completion);
    void authenticateByPasscode(const Text& passcode, CallCompletion completion);
    // The raw parsed body.
    void sendNewActivationCodeFor(const Text& username, CallCompletion completion);
    void getUserAccountForLoginDelegator(const Text& delegatorId, const Text& authCode, const Text& eventId,
                                         CallCompletion completion);
    void addToAgendaSessionWithSessionId(const Text& sessionId, const Text& authCode, const Text& eventId,
                                         CallCompletion completion);
    void removeFromAgendaSessionWithSessionId(const Text& sessionId, const Text& authCode, const Text& eventId,
                                              CallCompletion completion);
    void addToAgendaPersonalEntryWithSubject(const Text& subject, const Text& startDateTime, const Text& endDateTime,
                                             const Text& body, const Text& authCode, const Text& eventId,
                                             CallCompletion completion);
    void updatePersonalEntryWithId(const Text& entryId, const Text& subject, const Text& startDateTime,
                                   const Text& endDateTime, const Text& body, const Text& authCode,
                                   const Text& eventId, CallCompletion completion);
    void removeFromAgendaPersonalEntryWithId(const Text& entryId, const Text& authCode, const Text& eventId,
                                             CallCompletion completion);
    // A refusal with a JSON object body comes as a QVAError whose typed body
    // is a QVAInvitationConflictResponse.
    void acceptInvitedSessionForAuthCode(const Text& authCode, const Text& eventId, const Text& sessionId,
                                         CallCompletion completion);
    void acceptInvitedSessionWithSpouseForAuthCode(const Text& authCode, const Text& eventId, const Text& sessionId,
                                                   CallCompletion completion);
    void declineInvitedSessionForAuthCode(const Text& authCode, const Text& eventId, const Text& sessionId,
                                          CallCompletion completion);
    void delegateInvitedSessionForAuthCode(const Text& authCode, const Text& eventId, const Text& sessionId,
                                           const Text& delegateTo, CallCompletion completion);
    // A saved note replaces the stored one and comes back as (nil, note).
    void addNoteToParticipant(const Text& note, const Text& participantId, const Text& eventId,
                              const Text& authToken, CallCompletion completion);
    void addNoteToSession(const Text& note, const Text& sessionId, const Text& eventId, const Text& authToken,
                          CallCompletion completion);
    // Without the "relationships:write" permission: the alert, no request,
    // and an empty error.
    void setFavoriteStatus(bool status, const std::shared_ptr<QVAFollowedParticipant>& person, const Text& authToken,
                           const Text& eventId, CallCompletion completion);
    // Optimistic: the row changes first and is put back when the call fails.
    void followPerson(const std::shared_ptr<QVAFollowedParticipant>& person, const Text& authToken,
                      const Text& eventId, CallCompletion completion);
    void unfollowPerson(const std::shared_ptr<QVAFollowedParticipant>& person, const Text& authToken,
                        const Text& eventId, CallCompletion completion);
    // Authorised with the current account's token; `authToken` is not used.
    // The outbox row's id, when given, is the POST's idempotency key.
    void sendMessageWithToCommaSeparatedRecipients(const Text& to, const Text& subject, const Text& body,
                                                   int32_t threadId, const Text& authToken,
                                                   CallCompletion completion, const Text& outboxId = std::nullopt);
    void markAsReadMessageWithId(int32_t messageId, const Text& authToken, CallCompletion completion);
    void deleteMessageWithId(int32_t messageId, const Text& authToken, CallCompletion completion);
    void updatePrivacySettingsForAuthCode(const Text& authCode, bool shouldEmailBeVisible, bool shouldPhoneBeVisible,
                                          bool shouldMobilePhoneBeVisible, bool shouldNationalityBeVisible,
                                          CallCompletion completion);
    void changePasswordForSpouseTo(const Text& password, const Text& authToken, const Text& eventId,
                                   CallCompletion completion);
    void removeNotification(const Text& notificationId, const Text& authCode, const Text& eventId,
                            CallCompletion completion);
    // An empty answer also deletes the stored notification row.
    void acknowloedgeNotification(const Text& notificationId, const Text& authCode, const Text& eventId,
                                  CallCompletion completion);

    // ---- request descriptors ------------------------------------------------

    CallAndWriteParametrizedObjectPtr getEventsRequestObjectForAuthCode(const Text& authCode);
    CallAndWriteParametrizedObjectPtr getSessionsRequestObjectForEventId(const Text& eventId, const Text& authCode);
    CallAndWriteParametrizedObjectPtr getParticipantsRequestObjectForEventId(const Text& eventId,
                                                                             const Text& authCode);
    CallAndWriteParametrizedObjectPtr getPartnersRequestObjectForEventId(const Text& eventId, const Text& authCode);
    CallAndWriteParametrizedObjectPtr getOrganizationsRequestObjectForEventId(const Text& eventId,
                                                                              const Text& authCode);
    CallAndWriteParametrizedObjectPtr getVenuesRequestObjectForEventId(const Text& eventId, const Text& authCode);
    CallAndWriteParametrizedObjectPtr getRoomsRequestObjectForEventId(const Text& eventId, const Text& authCode);
    CallAndWriteParametrizedObjectPtr getLoginDelegatorsRequestObjectForEventId(const Text& eventId,
                                                                                const Text& authCode);
    CallAndWriteParametrizedObjectPtr getMeetingDelegatesRequestObjectForEventId(const Text& eventId,
                                                                                 const Text& authCode);
    CallAndWriteParametrizedObjectPtr getMessagessRequestObjectForAuthCode(const Text& authCode);
    CallAndWriteParametrizedObjectPtr getMessagesRecipientsObjectForAuthCode(const Text& authCode);
    CallAndWriteParametrizedObjectPtr getParticipantNotesObjectForEventId(const Text& eventId, const Text& authCode);
    CallAndWriteParametrizedObjectPtr getSessionNotesObjectForEventId(const Text& eventId, const Text& authCode);
    CallAndWriteParametrizedObjectPtr getPermissionsRequestObjectForEventId(const Text& eventId,
                                                                            const Text& authCode);
    CallAndWriteParametrizedObjectPtr getPersonalEntriesRequestObjectForEventId(const Text& eventId,
                                                                                const Text& authCode);
    CallAndWriteParametrizedObjectPtr getAgendaSelectionRequestObjectForEventId(const Text& eventId,
                                                                                const Text& authCode);
    CallAndWriteParametrizedObjectPtr getAgendaResponsabilitiesRequestObjectForEventId(const Text& eventId,
                                                                                       const Text& authCode);
    CallAndWriteParametrizedObjectPtr getAgendaInvitationsRequestObjectForEventId(const Text& eventId,
                                                                                  const Text& authCode);
    CallAndWriteParametrizedObjectPtr getInformationDocumentsObjectForEventId(const Text& eventId,
                                                                              const Text& authCode);
    CallAndWriteParametrizedObjectPtr getNotificationsObjectForEventId(const Text& eventId, const Text& authCode);
    CallAndWriteParametrizedObjectPtr getFollowingRequestObject();
    // The feed of the current event of the settings store, whatever id is
    // passed; no service name when that event has no feed.
    CallAndWriteParametrizedObjectPtr getReportsObjectForEventId(const Text& eventId, const Text& authCode);
    // The reports descriptor of a meeting's own feed address; no service
    // name for a missing or empty address.
    static CallAndWriteParametrizedObjectPtr getReportsObjectForFeedUrl(const Text& feedUrl);

    // Reloads one kind whole: a feed is fetched and parsed into its rows (no
    // feed address: (nil, nothing) at once); a JSON list replaces every row
    // of the descriptor's entity and the store's (error, result) completes.
    // On a read error: (error, the items received so far).
    void refreshWithRequestObject(const CallAndWriteParametrizedObjectPtr& requestObject, const Text& authCode,
                                  const Text& eventId, CallCompletion completion);
    void refreshPermissionsForEventId(const Text& eventId, const Text& authCode, CallCompletion completion);
    void refreshReportsForEventId(const Text& eventId, const Text& authCode, CallCompletion completion);
    void refreshInformationDocumentsForEventId(const Text& eventId, const Text& authCode,
                                               CallCompletion completion);
    void refreshNotificationsForEventId(const Text& eventId, const Text& authCode, CallCompletion completion);
    void refreshFollowingForEventId(const Text& eventId, const Text& authCode, CallCompletion completion);

    // ---- downloads, feed, cancelling, cache reset ---------------------------

    // The feed fetched and parsed with the delegate (held until the parse
    // ended); (nil, the parser as an object value) after the parse, or
    // (error, nothing). Accepted only as "application/rss+xml".
    void getXMLDataFromURL(const Text& urlString, const std::shared_ptr<foundation::XMLParserDelegate>& delegate,
                           CallCompletion completion);
    // (nil, the parser, not yet run) or (error, nothing).
    void requestForXMLService(const Text& urlString, const foundation::Value& parameters, CallCompletion completion);
    // Streams a document into "Info Pdfs/<current account's token>/<file
    // name>" under the application's data folder: (nil, the file path) or
    // (error, nothing). Only the last path component of the file name is
    // used; one that is empty, "." or ".." gives "Bad file name for
    // document." and no request. The token and event id are not used. A
    // body that is not the file asked for (DownloadedBody) fails with
    // kRefusedBodyErrorCode and leaves the earlier copy; any other 2xx body
    // is kept, whatever its content type.
    void getFileFromUrl(const Text& urlString, const Text& fileName, const Text& authCode, const Text& eventId,
                        CallCompletion completion);
    // The account's folder of documents, "<data folder>/Info Pdfs/<token
    // folder>", which getFileFromUrl and the document viewer's cache share;
    // its last component is the token with "/" made "_" ("(null)" without
    // a token). None for a token that names no folder (only dots).
    static std::optional<std::string> documentsFolderForAuthToken(const Text& token);
    static std::optional<std::string> documentsFolderNameForAuthToken(const Text& token);
    // One map file into the map cache, replacing the old file only once the
    // new one arrived whole: (nil, nothing) or (error, nothing). A missing
    // reference or address, or a refused reference, starts nothing and
    // completes with an error. The timeout is not applied.
    void streamRequestForRelFileName(const Text& relFileName, const Text& hrefString,
                                     const foundation::Value& parameters, const Text& authToken, const Text& eventId,
                                     double timeout, CallCompletion completion);
    // Every map file of the meeting at once; raises the maps' downloading
    // flag (its callers lower it). Without maps nothing happens and the
    // completion is not called. When files failed, the error carries
    // kRefusedBodyErrorCode if each of them was answered (with something
    // that is not the file, or has a link no file comes from), so a retry
    // would find the same.
    void downloadInteractiveMapsForAuthCode(const Text& authCode, const Text& eventId, CallCompletion completion);
    // Cancels every session task under the service root; feed, document and
    // map transfers go on.
    void cancelAllHTTPOperationTasks();
    void cancelTasksInArray(const std::vector<foundation::URLSessionTaskPtr>& tasks, const std::string& path);
    // Moves the store files of (the token, the event) aside and opens a new
    // empty store; the store-validity map is cleared either way. (error,
    // the new stack) or "Database copy did not succeeded".
    void clearCacheAndReloadContentForAuthToken(const Text& authToken, const Text& eventId,
                                                CallCompletion completion);
    // Lower-case hex SHA-256 of the text followed by a fixed salt.
    static std::string hashAuthenticationCode(const std::string& code);

    static constexpr const char* kClassName = "QVAApiManager";
    std::string className() const override { return kClassName; }

private:
    friend class QNURLSessionManager;

    std::shared_ptr<QVAApiManager> selfPtr();
    // Reads a list's pages straight into models of the class, as the
    // manager's serializer and the models made from its result would; null
    // where it cannot.
    std::shared_ptr<QNURLResponseSerialization> modelPageSerializer(const ModelClassPtr& modelClass) const;
    // A request for an absolute address from the shared serializer, without
    // the bearer token unless the address has the service root's origin
    // (scheme, host and port): the service protects its feeds and files
    // with the same token as its API.
    std::optional<foundation::URLRequest> requestForAbsoluteURL(const std::string& method,
                                                                const std::string& urlString,
                                                                const foundation::Value& parameters) const;
    bool isOnServiceOrigin(const std::string& absoluteURL) const;
    std::string resolvedURLString(const std::string& service) const;
    // The failure mapping shared by the request method and the generic
    // request; logs through the error handler.
    foundation::ErrorPtr mapFailure(const foundation::ErrorPtr& taskError,
                                    const std::shared_ptr<foundation::URLResponse>& response,
                                    const foundation::Value& body, const std::string& service, bool typedBody,
                                    const ModelClassPtr& errorResponseObjectType) const;
    // The request method, with `didReceiveResponse` told of the response
    // head before the body (on the session's network thread), and the
    // header field given (name, value) on this request alone.
    void startRequest(const std::string& service, const std::string& method, const foundation::Value& parameters,
                      const ModelClassPtr& returnTypeClass, const ModelClassPtr& errorResponseObjectType,
                      ResponseHandler didReceiveResponse, RequestCompletion completion,
                      const std::optional<std::pair<std::string, std::string>>& headerField = std::nullopt);
    // The same for a request already built (`service` names it in errors).
    // With `onlyIfValid`, a session invalidated meanwhile gives false and
    // nothing is started or called. With `completesWhereMade` (a listing's
    // pages), a success completes on the processing queue, where its result
    // was made, sparing it the hops to the completion queue; failures still
    // complete on the completion queue.
    bool startBuiltRequest(const foundation::URLRequest& request, const std::string& service,
                           const ModelClassPtr& returnTypeClass, const ModelClassPtr& errorResponseObjectType,
                           ResponseHandler didReceiveResponse, RequestCompletion completion,
                           bool onlyIfValid = false, bool completesWhereMade = false,
                           std::shared_ptr<QNURLResponseSerialization> serializer = nullptr);
    // One paginated listing in progress, and the request of one of its pages
    // (built by the serializer when none is given).
    struct PageWalk;
    void requestPage(const std::shared_ptr<PageWalk>& walk, size_t index, const std::string& service,
                     std::optional<foundation::URLRequest> request);
    // A listing read page by page from its first address.
    void startPageWalk(const std::shared_ptr<PageWalk>& walk, const std::string& service);
    // A page's head has come: asks for the next page, or ends the listing.
    // True when that ended it and it is the caller's to hand over.
    bool followPage(const std::shared_ptr<PageWalk>& walk, size_t index, const std::string& service,
                    const std::shared_ptr<foundation::HTTPURLResponse>& response);
    // pathWithIds, or nothing after `completion` was taken to refuse the call.
    Text pathWithIdsOrRefuse(std::string_view pattern, std::initializer_list<Text> ids, CallCompletion& completion);
    void invitationAnswer(const char* action, const Text& authCode, const Text& eventId, const Text& sessionId,
                          const Text& delegateTo, bool typedConflict, CallCompletion completion);
    void saveNote(const Text& note, const std::string& path, const char* noteClass, const char* entityName,
                  const Text& eventId, const Text& authToken, CallCompletion completion);
};
