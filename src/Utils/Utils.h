// Class-wide helpers of the application: the device idiom, alerts and error
// reporting, a few collection conversions, and file locations under
// Documents and Caches. The folders live here so that the store, the
// document downloads and the map files agree on one place.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Error.h"
#include "foundation/Value.h"
#include "graphics/Bitmap.h"
#include "model/ModelClass.h"

class Utils {
public:
    using Text = std::optional<std::string>;

    // The message an offline failure shows instead of the caller's.
    static constexpr const char* kNoInternetAlertMessage =
        "Cannot connect to the internet. Service may not be available.";

    // "Quovana Events" inside the application's Documents folder, created
    // (with any missing parents) when absent. A creation failure is not
    // reported: later file operations inside it fail on their own.
    static std::string getCurrentDirectory();

    // YES when the device is not a phone.
    static bool isIPad();
    // YES when the shared reachability manager reports Wi-Fi or WWAN; NO
    // otherwise, also before its first reading.
    static bool isInternetReachable();

    // Logs "<title> - <message>" and the error's details; with `displayAlert`
    // also shows the message under the title (the no-Internet text for an
    // offline URL-loading error). Never raises, never blocks.
    static void handleError(const foundation::ErrorPtr& error, const std::string& title, const Text& message,
                            bool displayAlert);
    // The same, with the alert.
    static void handleError(const foundation::ErrorPtr& error, const std::string& title, const Text& message);
    // A plain alert with one "OK" button: shown at once on the main thread,
    // queued on the main queue from any other.
    static void displayAlertViewWithMessage(const Text& message, const Text& title);
    // Description, domain, recovery suggestion, user-info details and the
    // service's message, one log line each.
    static void logError(const foundation::ErrorPtr& error);

    // The array without its null markers; absent for anything but an array.
    static foundation::Value nullClearedArrayFromArray(const foundation::Value& array);
    // Service JSON to models: each dictionary becomes a model of the class,
    // each text stays a text, anything else is skipped; empty for a non-array.
    // Without a class every dictionary is dropped and reported by an alert on
    // the main queue: a programming error in the service layer. Any thread.
    static foundation::Value::Array initItemsArray(const foundation::Value& json,
                                                   const std::shared_ptr<const ModelClass>& type);

    // Caches/imaps/<token>/<meeting id>/<file name>, creating the folder up to
    // the meeting id. Server data names these parts, so none may lead out of
    // the map cache: "/" in the token becomes "_" (as in the store key); a
    // file name the map folder's rule refuses (SVGMapFolder::isPlainFileName),
    // or a meeting id holding "/" or being "." or ".." (a token too, after the
    // replacement), gives nothing, and nothing is created.
    static Text cacheImapsUrlStringForFileName(const std::string& fileName, const std::string& authToken,
                                               const std::string& eventId);
    // The image of that name in the map cache of the current account and
    // meeting, under the same rules; null without account or meeting, for a
    // refused name, or when there is no readable PNG file. Creates nothing.
    static graphics::BitmapPtr getImageFromSavedLocalFileName(const std::string& fileName);
};
