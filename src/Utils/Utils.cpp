// Class-wide helpers of the application.
#include "Utils/Utils.h"

#include <sys/xattr.h>
#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "settings/ApplicationSettingsStore.h"
#include "coredata/FetchRequest.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/KeyValueCoding.h"
#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "dispatch/Queue.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Bundle.h"
#include "foundation/Crypto.h"
#include "foundation/DateFormatter.h"
#include "foundation/Exception.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/NotificationCenter.h"
#include "foundation/URL.h"
#include "http/QNNetworkReachabilityManager.h"
#include "model/QVACoreDataRoom.h"
#include "model/QVACoreDataVenue.h"
#include "model/QVAError.h"
#include "store/StorageManager.h"
#include "svg/floorplan/SVGMapFolder.h"
#include "uikit/NSIndexPath.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/ScreenRenderer.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIDevice.h"
#include "uikit/UIGraphicsImageContext.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITextView.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

using foundation::Value;

namespace {

// Linux has no device backup to opt out of; the mark is kept on the item
// where a backup tool of the host can honour it.
constexpr const char* kSkipBackupAttribute = "user.quovana.skip-backup";
constexpr char kSkipBackupValue = 1;

// The tab bar the keyboard covers on the phone.
constexpr double kPhoneTabBarHeight = 49;

// "Unbounded" in the measuring operations: the largest finite float.
constexpr double kUnbounded = FLT_MAX;

double ceilSingle(double value) { return std::ceil(static_cast<float>(value)); }

// The text ends in a character of the newline set: U+000A to U+000D, U+0085,
// U+2028 or U+2029.
bool endsWithNewline(const std::string& text) {
    auto endsWith = [&](std::string_view tail) {
        return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    };
    const char last = text.empty() ? '\0' : text.back();
    return (last >= '\n' && last <= '\r') || endsWith("\xC2\x85") || endsWith("\xE2\x80\xA8") ||
           endsWith("\xE2\x80\xA9");
}

constexpr const char* kMissingModelClassMessage =
    "This is an error logic or bug in a service call and will crash the app. Please report it to the developers.";

bool isPathStep(const std::string& name) { return name == "." || name == ".."; }

// The map folder of a token and meeting, or nothing when a part could lead
// out of the map cache.
std::optional<std::string> mapFolder(std::string authToken, const std::string& eventId) {
    std::replace(authToken.begin(), authToken.end(), '/', '_');
    if (isPathStep(authToken) || isPathStep(eventId) || eventId.find('/') != std::string::npos) return std::nullopt;
    return Utils::cacheImapsDirectory() + "/" + authToken + "/" + eventId;
}

}  // namespace

std::string Utils::cacheImapsDirectory() { return foundation::ApplicationHome::cachesDirectory() + "/imaps"; }

std::string Utils::getCurrentDirectory() {
    const std::string path = foundation::ApplicationHome::documentsDirectory() + "/Quovana Events";
    auto& files = foundation::FileManager::defaultManager();
    if (!files.fileExistsAtPath(path)) files.createDirectoryAtPath(path, true);
    // The device would back up the Documents folder, and the downloaded
    // meeting must not go there.
    if (!addSkipBackupAttributeToItemAtURL(foundation::URL::fileURLWithPath(path, true)))
        foundation::Log("Cannot skip backup in cloud. Won't happen");
    return path;
}

bool Utils::isInternetReachable() {
    auto& manager = QNNetworkReachabilityManager::sharedManager();
    return manager.isReachableViaWiFi() || manager.isReachableViaWWAN();
}

bool Utils::isIPad() {
    return uikit::UIDevice::currentDevice().userInterfaceIdiom() != uikit::UIUserInterfaceIdiom::Phone;
}

std::string Utils::storyboardName() { return isIPad() ? "Storyboard_iPad" : "Storyboard_iPhone"; }

bool Utils::isIOS8OrMore() {
    const std::string version = uikit::UIDevice::currentDevice().systemVersion();
    return std::strtof(version.c_str(), nullptr) >= 8.0f;
}

void Utils::changeEdgesForController(uikit::UIViewController& controller, unsigned edges) {
    controller.setEdgesForExtendedLayout(edges);
}

void Utils::changeSeparatorInsetForTableView(uikit::UITableView& tableView, const uikit::UIEdgeInsets& insets) {
    tableView.setSeparatorInset(insets);
}

double Utils::getKeyboardHeightFromKeyboardNotification(const foundation::Notification& notification,
                                                        const uikit::UIView& view) {
    graphics::Rect frame = uikit::UIKeyboard::rectFromUserInfo(notification.userInfo, uikit::UIKeyboardFrameEndUserInfoKey);
    if (auto window = view.window()) {
        const auto& root = window->rootViewController();
        if (root && root->isViewLoaded()) frame = root->view()->convertRectFromView(frame, nullptr);
    }
    const double height = frame.size.height;
    return isIPad() ? height : height - kPhoneTabBarHeight;
}

std::shared_ptr<uikit::UIActivityIndicatorView> Utils::createActivityIndicator() {
    return createActivityIndicatorWithStyle(uikit::UIActivityIndicatorViewStyle::WhiteLarge);
}

std::shared_ptr<uikit::UIActivityIndicatorView> Utils::createActivityIndicatorWithStyle(
    uikit::UIActivityIndicatorViewStyle style) {
    auto indicator = std::make_shared<uikit::UIActivityIndicatorView>(style);
    indicator->setTranslatesAutoresizingMaskIntoConstraints(false);
    indicator->startAnimating();
    return indicator;
}

std::shared_ptr<uikit::UIImage> Utils::getScreenShotForView(const uikit::UIView& view) {
    const graphics::Rect bounds = view.bounds();
    uikit::UIGraphicsBeginImageContextWithOptions(bounds.size, view.layer()->isOpaque(), 0);
    if (auto* context = uikit::UIGraphicsGetCurrentContext()) {
        // The renderer draws in the view's bounds coordinates; the image starts at their origin.
        context->translateCTM(-bounds.origin.x, -bounds.origin.y);
        uikit::renderView(view, *context);
    }
    auto image = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    return image;
}

double Utils::calculateHeightForConfiguredSizingCell(uikit::UITableViewCell& cell,
                                                     const uikit::UITableView& tableView) {
    const double width = tableView.frame().size.width;
    cell.setBounds({{0, 0}, {width, cell.bounds().size.height}});
    cell.setNeedsLayout();
    cell.layoutIfNeeded();
    // The separator below the content.
    return cell.fittingHeightForWidth(width) + 1;
}

void Utils::registerCellNibs(const std::vector<QVARegistrableCell>& cellClasses, uikit::UITableView& tableView) {
    for (const auto& cellClass : cellClasses)
        tableView.registerNib(uikit::UINib::nibWithNibName(cellClass.cellNibName), cellClass.cellIdentifier);
}

bool Utils::doesIndexPath(const uikit::NSIndexPath& indexPath, const coredata::FetchedResultsController& controller) {
    const auto& sections = controller.sections();
    if (indexPath.section < 0 || static_cast<size_t>(indexPath.section) >= sections.size()) return false;
    return indexPath.row >= 0 &&
           static_cast<size_t>(indexPath.row) < sections[static_cast<size_t>(indexPath.section)].numberOfObjects();
}

std::string Utils::generateUniqueStringForFetchedResultControllerCache() { return foundation::Crypto::uuidString(); }

void Utils::handleError(const foundation::ErrorPtr& error, const std::string& title, const Text& message,
                        bool displayAlert) {
    Text alertMessage = message;
    if (error && error->domain() == foundation::kURLErrorDomain &&
        error->code() == foundation::URLError::NotConnectedToInternet)
        alertMessage = foundation::Bundle::mainBundle().localizedStringForKey(kNoInternetAlertMessage, "");
    foundation::Log("%@ - %@", title, message ? *message : std::string());
    logError(error);
    if (displayAlert) displayAlertViewWithMessage(alertMessage, title);
}

void Utils::handleError(const foundation::ErrorPtr& error, const std::string& title, const Text& message) {
    handleError(error, title, message, true);
}

void Utils::displayAlertViewWithMessage(const Text& message, const Text& title) {
    auto show = [message, title] {
        auto alert = std::make_shared<uikit::UIAlertView>(title, message);
        alert->addButtonWithTitle("OK");
        alert->show();
    };
    // Alerts belong to the main thread; error reporting must not raise when
    // a completion reports from elsewhere.
    if (foundation::isMainThread())
        show();
    else
        dispatch::Queue::main()->async(show);
}

void Utils::logError(const foundation::ErrorPtr& error) {
    auto optionalText = [](const Text& text) { return text ? Value(*text) : Value(); };
    foundation::Log("Error Message: %@", error ? Value(error->localizedDescription()) : Value());
    foundation::Log("Error Domain: %@", error ? Value(error->domain()) : Value());
    foundation::Log("Recovery Suggestion: %@", error ? optionalText(error->localizedRecoverySuggestion()) : Value());
    if (!error) return;
    for (const auto& [key, value] : error->userInfo()) {
        const auto* elements = value.array();
        if (!elements) {
            foundation::Log("Error: %@", value);
            continue;
        }
        for (const auto& element : *elements) {
            if (auto inner = element.objectAs<foundation::Error>())
                foundation::Log("Error Details: %@", Value(inner->userInfo()));
            else
                foundation::Log("Error Details: %@", element);
        }
    }
    if (auto serviceError = std::dynamic_pointer_cast<const QVAError>(error)) {
        const auto& serviceMessage = serviceError->QVAServiceErrorMessage();
        if (serviceMessage && !serviceMessage->empty()) foundation::Log("QVA Messge Error: %@", *serviceMessage);
    }
}

Value Utils::nullClearedArrayFromArray(const Value& array) {
    const auto* elements = array.array();
    if (!elements) return Value();
    Value::Array cleared;
    std::copy_if(elements->begin(), elements->end(), std::back_inserter(cleared),
                 [](const Value& element) { return !element.isNull(); });
    return Value(std::move(cleared));
}

Value::Array Utils::initItemsArray(const Value& json, const std::shared_ptr<const ModelClass>& type) {
    Value::Array items;
    const auto* elements = json.array();
    if (!elements) return items;
    items.reserve(elements->size());
    for (const auto& element : *elements) {
        if (element.isDictionary()) {
            if (type && type->initWithDictionary) {
                if (auto model = type->initWithDictionary(element)) items.emplace_back(std::move(model));
            } else {
                dispatch::Queue::main()->async([title = json.description()] {
                    displayAlertViewWithMessage(std::string(kMissingModelClassMessage), title);
                });
            }
        } else if (element.isString()) {
            items.push_back(element);
        }
    }
    return items;
}

Utils::Text Utils::cacheImapsUrlStringForFileName(const std::string& fileName, const std::string& authToken,
                                                  const std::string& eventId) {
    auto folder = mapFolder(authToken, eventId);
    if (!folder || !svg::SVGMapFolder::isPlainFileName(fileName)) return std::nullopt;
    auto& files = foundation::FileManager::defaultManager();
    // A failure shows when the caller reads or writes the file.
    if (!files.fileExistsAtPath(*folder)) files.createDirectoryAtPath(*folder, true);
    return *folder + "/" + fileName;
}

graphics::BitmapPtr Utils::getImageFromSavedLocalFileName(const std::string& fileName) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    if (!account || !account->authenticationCode() || !event || !event->itemId()) return nullptr;
    auto folder = mapFolder(*account->authenticationCode(), *event->itemId());
    if (!folder || !svg::SVGMapFolder::isPlainFileName(fileName)) return nullptr;
    auto data = foundation::FileManager::defaultManager().contentsAtPath(*folder + "/" + fileName);
    if (!data) return nullptr;
    return graphics::Bitmap::fromPNGData(*data);
}

void Utils::playSystemErrorSound() {}

void Utils::performWithoutWarningTheSelector(const Selector& selector, const foundation::ObjectPtr& object,
                                             const Value& argument) {
    if (selector && object) selector(*object, argument);
}

Value::Array Utils::indexedArrayFromSortedArray(const Value::Array& sortedArray,
                                                const std::optional<Value::Array>& indexKeys,
                                                const std::string& keyPath) {
    if (!indexKeys) return sortedArray;
    Value::Array sections;
    for (const auto& key : *indexKeys) {
        if (key.isNothing()) continue;
        auto matches = coredata::Predicate::withFormat("%K = %@", keyPath, key);
        Value::Array section;
        std::copy_if(sortedArray.begin(), sortedArray.end(), std::back_inserter(section),
                     [&](const Value& element) { return matches->evaluateWithObject(element); });
        sections.emplace_back(std::move(section));
    }
    return sections;
}

Value Utils::stringFromPossibleNullString(const Value& value) { return value.isNothing() ? Value("") : value; }

std::string Utils::stringWithoutUrlFromString(const std::string& string) {
    const auto slash = string.rfind('/');
    return slash == std::string::npos ? string : string.substr(slash + 1);
}

Utils::Text Utils::quoteAndEscapeString(const Text& string) {
    if (!string) return std::nullopt;
    std::string escaped;
    for (char c : *string) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    // Only letters, digits, "-" and "." survive: the query separators, the
    // quote and the escape character must reach the service as escapes.
    static const auto allowed = foundation::AllowedCharacters::unreserved().removing("_~");
    return "%22" + foundation::percentEncode(escaped, allowed) + "%22";
}

namespace {

// One compiled pattern per expression, shared by all threads (ICU patterns
// are immutable; each use makes its own matcher).
std::unique_ptr<icu::RegexPattern> compilePattern(const char* pattern, uint32_t flags) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(pattern), flags, parseError, status));
    if (U_FAILURE(status)) throw foundation::Exception("NSInvalidArgumentException", "Bad regular expression");
    return compiled;
}

const icu::RegexPattern& tagPattern() {
    // From a "<" to the nearest ">", line breaks included.
    static const auto pattern = compilePattern("<.*?>", UREGEX_DOTALL);
    return *pattern;
}

const icu::RegexPattern& emailPattern() {
    static const auto pattern = compilePattern("[A-Z0-9a-z._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,4}", 0);
    return *pattern;
}

void replaceAll(std::string& text, const std::string& what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

}  // namespace

Utils::Text Utils::stripHtml(const Text& string) {
    if (!string) return std::nullopt;
    std::string text = *string;
    replaceAll(text, "<br/>", "\n");
    replaceAll(text, "<br />", "\n");
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString subject = icu::UnicodeString::fromUTF8(text);
    std::unique_ptr<icu::RegexMatcher> matcher(tagPattern().matcher(subject, status));
    icu::UnicodeString stripped = matcher->replaceAll(icu::UnicodeString(), status);
    if (U_FAILURE(status)) return text;
    text.clear();
    stripped.toUTF8String(text);
    replaceAll(text, "&nbsp;", "");
    return text;
}

bool Utils::isEmailAddressValid(const Text& string) {
    if (!string) return false;
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString subject = icu::UnicodeString::fromUTF8(*string);
    std::unique_ptr<icu::RegexMatcher> matcher(emailPattern().matcher(subject, status));
    return U_SUCCESS(status) && matcher->matches(status) && U_SUCCESS(status);
}

std::optional<foundation::Date> Utils::dateFromServer(const Value& value) {
    const auto* text = value.string();
    if (!text) return std::nullopt;
    // One formatter for the process; a formatter serves one thread at a time.
    static std::mutex lock;
    static foundation::DateFormatter* formatter = [] {
        auto* made = new foundation::DateFormatter();
        made->setLocale(foundation::Locale("en_US"));
        made->setDateFormat("yyyy'-'MM'-'dd'T'HH':'mm':'ss'Z'");
        made->setTimeZone(foundation::TimeZone::gmt());
        return made;
    }();
    std::lock_guard<std::mutex> hold(lock);
    return formatter->dateFromString(*text);
}

bool Utils::addSkipBackupAttributeToItemAtURL(const foundation::URL& url) {
    const std::string path = url.path();
    if (::setxattr(path.c_str(), kSkipBackupAttribute, &kSkipBackupValue, 1, 0) == 0) return true;
    const int code = errno;
    auto error = foundation::Error::withDescription(foundation::kPOSIXErrorDomain, code, std::strerror(code));
    foundation::Log("Error excluding %@ from backup %@", url.lastPathComponent(), error->description());
    return false;
}

void Utils::addSkipBackupAttributeToPath(const std::string& path) {
    (void)::setxattr(path.c_str(), kSkipBackupAttribute, &kSkipBackupValue, 1, 0);
}

graphics::Size Utils::getTextSize(const Text& text, const std::shared_ptr<const uikit::UIFont>& font,
                                  graphics::Size size) {
    if (!text) return {};
    uikit::TextAttributes attributes;
    attributes.font = font;
    return uikit::NSStringDrawing::boundingRectWithSize(
               *text, size, uikit::NSStringDrawingUsesLineFragmentOrigin | uikit::NSStringDrawingUsesFontLeading,
               attributes)
        .size;
}

graphics::Size Utils::getMeasuredSizeOfLabelWithText(const Text& text,
                                                     const std::shared_ptr<const uikit::UIFont>& font,
                                                     graphics::Size size) {
    if (!text) return {};
    std::string measured = *text;
    // A trailing empty line counts only when something stands on it.
    if (endsWithNewline(measured)) measured += "a";
    uikit::NSParagraphStyle paragraph;
    paragraph.setLineBreakMode(uikit::NSLineBreakMode::ByWordWrapping);
    uikit::TextAttributes attributes;
    attributes.font = font;
    attributes.paragraphStyle = paragraph;
    const auto rect = uikit::NSStringDrawing::boundingRectWithSize(
        measured, size, uikit::NSStringDrawingUsesLineFragmentOrigin | uikit::NSStringDrawingTruncatesLastVisibleLine,
        attributes);
    return {ceilSingle(rect.size.width), ceilSingle(rect.size.height)};
}

graphics::Size Utils::getMeasuredSizeOfLabelWithText(const Text& text,
                                                     const std::shared_ptr<const uikit::UIFont>& font, double width) {
    return getMeasuredSizeOfLabelWithText(text, font, graphics::Size{width, kUnbounded});
}

graphics::Size Utils::getMeasuredSizeOfLabel(const uikit::UILabel& label, const Text& text) {
    return getMeasuredSizeOfLabelWithText(text, label.font(), label.frame().size.width);
}

graphics::Size Utils::getMeasuredSizeOfLabel(const uikit::UILabel& label) {
    return getMeasuredSizeOfLabel(label, label.text());
}

double Utils::getMeasuredHeightOfTextView(const uikit::UITextView& textView) {
    return ceilSingle(textView.sizeThatFits({textView.frame().size.width, kUnbounded}).height);
}

namespace {

// The first element whose itemId is the id.
Value firstWithItemId(const Value::Array& elements, const Value& itemId) {
    auto matches = coredata::Predicate::withFormat("itemId = %@", itemId);
    for (const auto& element : elements)
        if (matches->evaluateWithObject(element)) return element;
    return Value();
}

Utils::Text joinedLocation(const Value& roomName, const Value& venueName, bool hasVenue) {
    const std::string room = roomName.description();
    if (!hasVenue) return room;
    return room + ", " + venueName.description();
}

bool isAbsentId(const Value& id) {
    if (id.isNothing()) return true;
    const auto* text = id.string();
    return text && text->empty();
}

}  // namespace

Utils::Text Utils::currentLocationForObject(const Value& object,
                                            const std::shared_ptr<coredata::ManagedObjectContext>& context) {
    const Value roomId = coredata::valueForKey(object, "roomId");
    if (isAbsentId(roomId) || !context) return std::nullopt;
    auto& storage = StorageManager::sharedStorageManager();
    auto fetchFirst = [&](const char* entity, const Value& itemId) -> Value {
        auto request = std::make_shared<coredata::FetchRequest>(entity);
        request->setPredicate(coredata::Predicate::withFormat("itemId = %@", itemId));
        auto rows = storage.executeFetchRequestAndWait(request, context);
        return rows.empty() ? Value() : rows.front();
    };
    const Value room = fetchFirst(QVACoreDataRoom::kEntityName, roomId);
    if (room.isNothing()) return std::nullopt;
    const Value venue = fetchFirst(QVACoreDataVenue::kEntityName, coredata::valueForKey(room, "venueId"));
    return joinedLocation(coredata::valueForKey(room, "name"), coredata::valueForKey(venue, "name"), !venue.isNothing());
}

Utils::Text Utils::getLocationStringForRoomId(const Value& roomId, const Value::Array& venues,
                                              const Value::Array& rooms) {
    const Value room = firstWithItemId(rooms, roomId);
    if (room.isNothing()) return std::nullopt;
    const Value venue = firstWithItemId(venues, coredata::valueForKey(room, "venueId"));
    return joinedLocation(coredata::valueForKey(room, "name"), coredata::valueForKey(venue, "name"), !venue.isNothing());
}
