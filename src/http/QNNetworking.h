// The names the HTTP client library shares with its users: notification names
// and keys, queue and thread labels, error domains, user-info keys and the
// English messages that double as keys into the "QNNetworking" string table.
// Kept in one place so that observers and the library can never disagree.
#pragma once

#include <string>

// Notifications (posted on the default notification center).
inline constexpr const char* kQNNetworkingTaskDidResumeNotification = "com.quovana.networking.task.resume";
inline constexpr const char* kQNNetworkingTaskDidSuspendNotification = "com.quovana.networking.task.suspend";
inline constexpr const char* kQNNetworkingTaskDidCompleteNotification = "com.quovana.networking.task.complete";
inline constexpr const char* kQNNetworkingOperationDidStartNotification = "com.quovana.networking.operation.start";
inline constexpr const char* kQNNetworkingOperationDidFinishNotification = "com.quovana.networking.operation.finish";
inline constexpr const char* kQNNetworkingReachabilityDidChangeNotification =
    "com.quovana.networking.reachability.change";
inline constexpr const char* kQNNetworkingReachabilityNotificationStatusItem =
    "QNNetworkingReachabilityNotificationStatusItem";
// Every resume and suspend of any URL-session task, posted synchronously on
// the thread that resumed or suspended it; the session managers pick out
// their own tasks from these.
inline constexpr const char* kQNNSURLSessionTaskDidResumeNotification =
    "com.quovana.networking.nsurlsessiontask.resume";
inline constexpr const char* kQNNSURLSessionTaskDidSuspendNotification =
    "com.quovana.networking.nsurlsessiontask.suspend";
inline constexpr const char* kQNURLSessionDidInvalidateNotification = "com.quovana.networking.session.invalidate";
inline constexpr const char* kQNURLSessionDownloadTaskDidFailToMoveFileNotification =
    "com.quovana.networking.session.download.file-manager-error";

// User-info keys of the task-complete notification.
inline constexpr const char* kQNNetworkingTaskDidCompleteResponseSerializerKey =
    "com.quovana.networking.task.complete.responseserializer";
inline constexpr const char* kQNNetworkingTaskDidCompleteAssetPathKey = "com.quovana.networking.task.complete.assetpath";
inline constexpr const char* kQNNetworkingTaskDidCompleteResponseDataKey =
    "com.quovana.networking.complete.finish.responsedata";
inline constexpr const char* kQNNetworkingTaskDidCompleteSerializedResponseKey =
    "com.quovana.networking.task.complete.serializedresponse";
inline constexpr const char* kQNNetworkingTaskDidCompleteErrorKey = "com.quovana.networking.task.complete.error";

// Queues and the network thread.
inline constexpr const char* kQNSessionManagerCreationQueueLabel = "com.quovana.networking.session.manager.creation";
inline constexpr const char* kQNSessionManagerProcessingQueueLabel =
    "com.quovana.networking.session.manager.processing";
inline constexpr const char* kQNNetworkingThreadName = "QNNetworking";
inline constexpr const char* kQNHTTPRequestOperationProcessingQueueLabel =
    "com.quovana.networking.http-request.processing";

// Error domains and the user-info keys of serialization errors.
inline constexpr const char* kQNURLRequestSerializationErrorDomain = "com.quovana.error.serialization.request";
inline constexpr const char* kQNURLResponseSerializationErrorDomain = "com.quovana.error.serialization.response";
inline constexpr const char* kQNResponseSerializationErrorResponseKey =
    "com.quovana.serialization.response.error.response";
inline constexpr const char* kQNResponseSerializationErrorDataKey =
    "com.quovana.serialization.response.error.data";

// The string table the library's messages are looked up in.
inline constexpr const char* kQNNetworkingStringTable = "QNNetworking";

// Messages (format texts where they take arguments).
namespace QNNetworkingMessage {
inline constexpr const char* kUnacceptableContentType = "Request failed: unacceptable content-type: %@";
inline constexpr const char* kUnacceptableStatusCode = "Request failed: %@ (%ld)";
inline constexpr const char* kDataFailedDecodingAsUTF8 = "Data failed decoding as a UTF-8 string";
inline constexpr const char* kCouldNotDecodeString = "Could not decode string: %@";
inline constexpr const char* kQueryParametersNotDictionary = "Query parameters must be a dictionary";
inline constexpr const char* kQueryTextNotEncodable = "Query text cannot be written in the string encoding";
inline constexpr const char* kPropertyListFormatUnsupported = "The property list format is not supported";
inline constexpr const char* kExpectedFileURL = "Expected URL to be a file URL";
inline constexpr const char* kFileURLNotReachable = "File URL not reachable.";
// The alert shown for a failed task or operation.
inline constexpr const char* kDismiss = "Dismiss";
inline constexpr const char* kError = "Error";
inline constexpr const char* kDomainErrorCode = "%@ Error: %ld";
// Reachability statuses.
inline constexpr const char* kReachabilityUnknown = "Unknown";
inline constexpr const char* kNotReachable = "Not Reachable";
inline constexpr const char* kReachableViaWWAN = "Reachable via WWAN";
inline constexpr const char* kReachableViaWiFi = "Reachable via WiFi";
}  // namespace QNNetworkingMessage

// The message's entry in the main bundle's "QNNetworking" table; the English
// text itself when the table has none.
std::string QNLocalizedString(const char* message);
