// The network thread's record of one task's transfer (internal to URL
// loading): the request of the current hop, the body being sent, the
// response being read, and where the task waits for its delegate. One per
// running task, owned by the task, read and written on the network thread
// only. Library handles are kept as untyped pointers so that this header
// stays free of libcurl.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/HTTPHeaders.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/InputStream.h"
#include "foundation/URLRequest.h"

namespace foundation {

class URLSessionTask;

struct URLTransfer {
    enum class Trust { Undecided, Accept, Default };

    uint64_t id = 0;
    // Kept alive by the engine for as long as the transfer exists.
    URLSessionTask* task = nullptr;
    void* easy = nullptr;        // CURL*
    void* share = nullptr;       // CURLSH* the handle was given
    bool ended = false;          // curl reported the handle's transfer done: it may serve another
    void* headerList = nullptr;  // curl_slist*
    bool inMulti = false;
    // A connection of the session's per-host allowance: held while the
    // transfer is in the multi handle, or awaited in its host's line.
    std::string hostKey;  // scheme://host:port
    bool holdsConnection = false;
    bool waitingForConnection = false;
    std::string errorText;       // curl's last words on a failure

    URLRequest request;  // the hop being loaded
    std::string urlText;
    std::string host;
    int port = 0;
    int redirects = 0;
    int challenges = 0;
    double timeout = 60.0;
    std::chrono::steady_clock::time_point lastActivity;
    bool suspended = false;

    // The body sent on this hop; a redirect to a GET or HEAD drops it.
    bool sendBody = true;
    InputStreamPtr body;
    int64_t bodyLength = -1;
    int64_t bodyRead = 0;
    // The caller's own stream once bytes were read from it: it cannot be
    // sent again without the delegate's help.
    const InputStream* consumedStream = nullptr;
    ErrorPtr bodyError;

    // The response of this hop.
    int64_t status = 0;
    HTTPHeaders headers;
    std::shared_ptr<HTTPURLResponse> response;
    bool redirectPending = false;    // a redirect whose fate the delegate decides at the end
    bool awaitingRedirect = false;
    bool awaitingDisposition = false;
    bool doneWhileAwaiting = false;  // the body ended before the delegate answered
    bool awaitingBodyStream = false;
    Data heldBody;                   // body bytes kept while a decision is pending

    // A download's file.
    std::FILE* file = nullptr;
    std::string filePath;
    int64_t written = 0;
    bool fileFailed = false;
    // Where a download made from resume data went on from (-1: from the start).
    int64_t resumeOffset = -1;

    // A GET's body kept for the session's URL cache while it may be kept;
    // `cacheable` drops once it cannot.
    bool cacheable = false;
    bool fromCache = false;
    size_t cacheLimit = 0;
    Data cacheBody;

    // Server trust: the chain the server showed while the delegate had not
    // yet decided on it, and the decision once made; a chain the standard
    // verdict refused is kept for the error that reports it.
    bool askDelegateForTrust = false;
    bool awaitingTrust = false;
    std::optional<std::vector<Data>> presentedChain;
    std::vector<Data> decidedChain;
    Trust trust = Trust::Undecided;
    bool trustRefused = false;
    std::vector<Data> refusedChain;
};

}  // namespace foundation
