// Class-wide helpers of the application: the device idiom, storyboard and
// layout helpers, alerts and error reporting, collection and string
// conversions, file locations under Documents and Caches, text measuring,
// table helpers and room-location texts. The folders live here so that the
// store, the document downloads and the map files agree on one place.
// Everything is for the main thread unless said otherwise.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Date.h"
#include "foundation/Error.h"
#include "foundation/Value.h"
#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"
#include "model/ModelClass.h"
#include "uikit/UIEdgeInsets.h"
#include "Utils/QVARegistrableCell.h"

namespace foundation {
class URL;
struct Notification;
}  // namespace foundation
namespace coredata {
class FetchedResultsController;
class ManagedObjectContext;
}  // namespace coredata
namespace uikit {
class UIActivityIndicatorView;
class UIFont;
class UIImage;
class UILabel;
class UITableView;
class UITableViewCell;
class UITextView;
class UIView;
class UIViewController;
struct NSIndexPath;
enum class UIActivityIndicatorViewStyle;
}  // namespace uikit

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
    // "Storyboard_iPad" on the pad, else "Storyboard_iPhone".
    static std::string storyboardName();
    // The system version, read as a number, is 8.0 or more.
    static bool isIOS8OrMore();

    // --- Layout and controls ---
    // `edges` is a uikit::UIRectEdge mask.
    static void changeEdgesForController(uikit::UIViewController& controller, unsigned edges);
    static void changeSeparatorInsetForTableView(uikit::UITableView& tableView, const uikit::UIEdgeInsets& insets);
    // The height of the keyboard's end frame in the coordinates of the
    // window's root view, less the 49 points of the tab bar on the phone.
    static double getKeyboardHeightFromKeyboardNotification(const foundation::Notification& notification,
                                                            const uikit::UIView& view);
    // A large white wheel, already spinning, placed by the caller (no
    // autoresizing-mask translation).
    static std::shared_ptr<uikit::UIActivityIndicatorView> createActivityIndicator();
    static std::shared_ptr<uikit::UIActivityIndicatorView> createActivityIndicatorWithStyle(
        uikit::UIActivityIndicatorViewStyle style);
    // The view drawn as the screen shows it, at the screen's scale, opaque
    // when the view's layer is.
    static std::shared_ptr<uikit::UIImage> getScreenShotForView(const uikit::UIView& view);
    // The height a configured sizing cell needs at the table's width, plus 1
    // for the separator.
    static double calculateHeightForConfiguredSizingCell(uikit::UITableViewCell& cell,
                                                         const uikit::UITableView& tableView);
    // Registers each class's nib under its reuse identifier, in order.
    static void registerCellNibs(const std::vector<QVARegistrableCell>& cellClasses, uikit::UITableView& tableView);
    // The section and row exist in the controller's present sections.
    static bool doesIndexPath(const uikit::NSIndexPath& indexPath,
                              const coredata::FetchedResultsController& controller);
    // A new UUID text, so no two fetched-results controllers share a cache.
    static std::string generateUniqueStringForFetchedResultControllerCache();
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
    // There is no error sound here: nothing happens.
    static void playSystemErrorSound();
    // The handler a row model holds in place of a selector: it runs the
    // handler on the object with the argument.
    using Selector = std::function<void(foundation::Object& object, const foundation::Value& argument)>;
    // Runs the selector on the object with the argument; nothing for a null
    // object or an empty selector.
    static void performWithoutWarningTheSelector(const Selector& selector, const foundation::ObjectPtr& object,
                                                 const foundation::Value& argument);

    // The array without its null markers; absent for anything but an array.
    static foundation::Value nullClearedArrayFromArray(const foundation::Value& array);
    // Service JSON to models: each dictionary becomes a model of the class,
    // each text stays a text, anything else is skipped; empty for a non-array.
    // Without a class every dictionary is dropped and reported by an alert on
    // the main queue: a programming error in the service layer. Any thread.
    static foundation::Value::Array initItemsArray(const foundation::Value& json,
                                                   const std::shared_ptr<const ModelClass>& type);

    // Without keys, the sorted array itself; else, per key (null keys
    // skipped), the elements whose value at the key path equals the key,
    // empty sections included. Any thread.
    static foundation::Value::Array indexedArrayFromSortedArray(const foundation::Value::Array& sortedArray,
                                                                const std::optional<foundation::Value::Array>& indexKeys,
                                                                const std::string& keyPath);
    // "" for an absent or null value; the value unchanged otherwise. Any thread.
    static foundation::Value stringFromPossibleNullString(const foundation::Value& value);
    // What follows the last "/"; the whole text when there is none. Any thread.
    static std::string stringWithoutUrlFromString(const std::string& string);
    // Backslashes and double quotes escaped, percent-escaped for a query
    // (letters, digits, "-" and "." alone stay) and wrapped in %22. Any thread.
    static Text quoteAndEscapeString(const Text& string);
    // Line breaks for <br/>, every tag removed, every &nbsp; dropped. Any thread.
    static Text stripHtml(const Text& string);
    // The whole text is an address with a top-level part of 2 to 4 letters. Any thread.
    static bool isEmailAddressValid(const Text& string);
    // A service time "yyyy-MM-ddTHH:mm:ssZ" (the literal Z, UTC); nothing for
    // anything else. One formatter for the process, safe from any thread.
    static std::optional<foundation::Date> dateFromServer(const foundation::Value& value);

    // Marks the existing item as kept out of backups (an extended attribute
    // in the user namespace, there being no backup service to tell); a
    // refusal or a missing item is logged and answers NO.
    static bool addSkipBackupAttributeToItemAtURL(const foundation::URL& url);
    // The same mark, its result ignored.
    static void addSkipBackupAttributeToPath(const std::string& path);

    // --- Text measuring (points; unbounded is the largest finite float) ---
    static graphics::Size getTextSize(const Text& text, const std::shared_ptr<const uikit::UIFont>& font, graphics::Size size);
    // The measuring rule of every label: word-wrapped, the last visible line
    // truncated, a trailing line break counted as a line, rounded up.
    static graphics::Size getMeasuredSizeOfLabelWithText(const Text& text, const std::shared_ptr<const uikit::UIFont>& font,
                                                         graphics::Size size);
    static graphics::Size getMeasuredSizeOfLabelWithText(const Text& text, const std::shared_ptr<const uikit::UIFont>& font,
                                                         double width);
    static graphics::Size getMeasuredSizeOfLabel(const uikit::UILabel& label, const Text& text);
    static graphics::Size getMeasuredSizeOfLabel(const uikit::UILabel& label);
    static double getMeasuredHeightOfTextView(const uikit::UITextView& textView);

    // --- Locations ---
    // "<room>, <venue>" for the object's roomId, read from the context's
    // store; the room alone without its venue; nothing without a room.
    static Text currentLocationForObject(const foundation::Value& object, const std::shared_ptr<coredata::ManagedObjectContext>& context);
    // The same rule over room and venue models.
    static Text getLocationStringForRoomId(const foundation::Value& roomId, const foundation::Value::Array& venues,
                                           const foundation::Value::Array& rooms);

    // Caches/imaps: every account's and meeting's map files lie below it.
    static std::string cacheImapsDirectory();
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
