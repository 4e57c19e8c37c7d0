// The local stand-in of the organisation's REST service: it serves one
// meeting (MeetingData) over HTTP or HTTPS on 127.0.0.1, as the app's API
// client expects it.
//
// - The API lives below rootURL() (".../api"); every path below "/api/v1/"
//   except the login and the password reset wants "Authorization: Bearer T"
//   with a token of an account (or one given out by a delegator switch);
//   otherwise 401 {"error": "Invalid access token"}.
// - Lists come in pages of pageSize items ("?page=N", from 1); every page
//   but the last carries "Link: <absolute next address>; rel=\"next\"".
//   "?fields=a,b" keeps only those keys of each item, "?ids=a,b" only the
//   items with those ids; both work on every list.
// - A sent message is dated by the process's clock ("now", virtual under
//   tests); the account's permissions are the same in every meeting listed.
// - Failures answer {"error": "..."} with an HTTP error status.
// - A session's status carries the level of its fill ("Positive", "Warning"
//   from 80 %, "Negative" when full) and the actions of the user's agenda:
//   an invitation's replies with its message, else "remove_from_agenda" for
//   a selection or "add_to_agenda" while seats are left; selecting a full
//   session answers 409 "Session is full".
// - Files (documents, floor-plan maps, report media) and the reports feed
//   are served outside "/api" with an ETag and "Range" support; they need no
//   token unless Options::filesNeedToken (or setFilesNeedToken) asks for it,
//   as a service that protects its "/feeds/..." and "/files/..." does.
// - Faults can be injected per method and path; every write (POST, PUT,
//   PATCH, DELETE) is recorded with its parsed body; every request lands in a
//   request log (and, when a sink is set, as one JSON line per request).
//
// Invariants: all members may be called from any thread while the server
// runs; the meeting is changed only under the service's lock, so a reply is
// built from one consistent state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Value.h"
#include "service/MeetingData.h"
#include "service/TestServer.h"

namespace testservice {

class MeetingService {
public:
    struct Options {
        std::optional<TestServer::TLSFiles> tls;
        size_t pageSize = 50;
        // 0: a port the system picks.
        int port = 0;
        // Files and the feed answer 401 without a valid bearer token.
        bool filesNeedToken = false;
    };

    // A scripted answer for one method and path, in place of the service's.
    struct Fault {
        int status = 500;
        std::string body = R"({"error":"Injected failure"})";
        std::string contentType = "application/json";
        // Holds the request without an answer until the service stops.
        bool stall = false;
        // How many requests it answers before it lapses; below 0: forever.
        int times = -1;
        // The service takes the request as it would have (a message is
        // stored); the fault stands only for its answer, which is lost.
        bool afterTaking = false;
    };

    struct LoggedRequest {
        std::string method;
        // As sent: the path with its query.
        std::string path;
        int status = 0;
        // The "Authorization" header, when there was one.
        std::optional<std::string> authorization;
        std::string body;
    };

    struct Write {
        std::string method;
        std::string path;  // without query
        foundation::Value body;  // the parsed JSON body (absent when none)
        std::string token;  // the bearer token sent, or ""
    };

    explicit MeetingService(MeetingData data);
    MeetingService(MeetingData data, Options options);
    ~MeetingService();
    MeetingService(const MeetingService&) = delete;
    MeetingService& operator=(const MeetingService&) = delete;

    // False when the server could not listen.
    bool start();
    void stop();

    // "http://127.0.0.1:PORT/api" (the app's service root).
    std::string rootURL() const;
    // "http://127.0.0.1:PORT".
    std::string baseURL() const;
    // The base URL followed by `pathAndQuery` (which starts with "/").
    std::string urlFor(const std::string& pathAndQuery) const;
    // The underlying server: its raw request record and scripts (a script
    // for a method and path wins over the service).
    TestServer& server();

    std::string eventId() const;
    // The first account of the meeting (the generator's demo user).
    MeetingAccount demoAccount() const;
    std::string demoToken() const;

    void setFilesNeedToken(bool needed);
    // While on, every floor-plan file ("/files/maps/...") sends its first
    // byte and holds the rest until resumeStalledMapFiles() (or stop): a map
    // download that stays in flight as long as a test needs.
    void setStallMapFiles(bool stall);
    void resumeStalledMapFiles();
    void setPageSize(size_t pageSize);
    size_t pageSize() const;

    // The meeting's content.
    foundation::Value::Array items(MeetingKind kind) const;
    std::optional<foundation::Value> item(MeetingKind kind, const std::string& id) const;
    // Replaces the item with the same "id", or appends it.
    void putItem(MeetingKind kind, foundation::Value item);
    bool removeItem(MeetingKind kind, const std::string& id);
    // Sets the item's "revision"; false when there is no such item.
    bool setRevision(MeetingKind kind, const std::string& id, int64_t revision);
    // Adds one to the item's revision; the new revision, or nothing.
    std::optional<int64_t> bumpRevision(MeetingKind kind, const std::string& id);
    // Adds a message to the account's messages (its "id" is given when it has
    // none); returns the message id.
    int64_t addMessage(foundation::Value message);
    // Any other change, under the service's lock.
    void mutate(const std::function<void(MeetingData&)>& change);
    MeetingData snapshot() const;

    // A path as sent without query ("/api/v1/events/E1/rooms"), or with
    // its query when the given path holds a "?"; method "*" for any.
    void injectFault(std::string method, std::string path, Fault fault);
    void clearFaults();

    // Tokens beyond the accounts' own.
    void addToken(const std::string& token);
    // The token is refused from now on (an account's too).
    void revokeToken(const std::string& token);

    std::vector<LoggedRequest> requestLog() const;
    // The logged requests whose path (without query) is `path`.
    size_t requestCount(const std::string& method, const std::string& path) const;
    // Also empties the server's record of the requests (`server().requests()`).
    void clearRequestLog();
    // Called with one JSON object per request (method, path, status,
    // authorized), from the server's threads.
    void setRequestLogSink(std::function<void(const std::string& jsonLine)> sink);

    std::vector<Write> writes() const;
    void clearWrites();

    // A write that carried an "Idempotency-Key", and the answer it got: a
    // repeat of the key with the same token gets that answer again and
    // changes nothing.
    struct KeyedAnswer {
        std::string token;
        std::string key;
        int status = 200;
        std::string contentType;
        std::string body;
    };
    // The items changed on the service's own side, as its organiser would
    // (putItem, setRevision, bumpRevision), by kind and id.
    using SideChanges = std::set<std::pair<MeetingKind, std::string>>;
    // Keeps the meeting, the keyed answers and which items the organiser
    // changed somewhere that outlives the service; false when they could not
    // be kept.
    using StateSink = std::function<bool(const MeetingData& data, const std::vector<KeyedAnswer>& answered,
                                         const SideChanges& changedBySide)>;

    // Called after each write the service took (a POST, PUT, PATCH or
    // DELETE it answered with success, a repeated "Idempotency-Key" aside),
    // under the service's lock and before the answer is sent: whoever keeps
    // the meeting on disk has the write there, with its key, before the
    // client learns of it, in the order the writes were taken. The write is
    // taken, its key recorded and the sink called under one hold of the
    // lock. A write that could not be kept is undone (nor is its key
    // recorded) and answered 500, so the client's retry is taken once. The
    // sink runs on the server's threads and must not call the service.
    void setWriteTakenSink(StateSink sink);
    // Hands the same to `sink` under the service's lock; its answer.
    bool keepState(const StateSink& sink);
    // The keyed answers of an earlier run of the same meeting, so that a key
    // it answered is still taken once.
    void restoreKeyedAnswers(const std::vector<KeyedAnswer>& answered);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace testservice
