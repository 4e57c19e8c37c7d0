// Class-wide helpers of the application.
#include "Utils/Utils.h"

#include <algorithm>

#include "settings/ApplicationSettingsStore.h"
#include "dispatch/Queue.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Bundle.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "http/QNNetworkReachabilityManager.h"
#include "model/QVAError.h"
#include "svg/floorplan/SVGMapFolder.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIDevice.h"

using foundation::Value;

namespace {

// The device backs up the Documents folder unless told otherwise, and the
// downloaded meeting must not go there. Linux has no such backup, so the mark
// always succeeds; the hook stays so the failure path keeps its place.
bool excludeFromBackup(const std::string&) { return true; }

constexpr const char* kMissingModelClassMessage =
    "This is an error logic or bug in a service call and will crash the app. Please report it to the developers.";

bool isPathStep(const std::string& name) { return name == "." || name == ".."; }

// The map folder of a token and meeting, or nothing when a part could lead
// out of the map cache.
std::optional<std::string> mapFolder(std::string authToken, const std::string& eventId) {
    std::replace(authToken.begin(), authToken.end(), '/', '_');
    if (isPathStep(authToken) || isPathStep(eventId) || eventId.find('/') != std::string::npos) return std::nullopt;
    return foundation::ApplicationHome::cachesDirectory() + "/imaps/" + authToken + "/" + eventId;
}

}  // namespace

std::string Utils::getCurrentDirectory() {
    const std::string path = foundation::ApplicationHome::documentsDirectory() + "/Quovana Events";
    auto& files = foundation::FileManager::defaultManager();
    if (!files.fileExistsAtPath(path)) files.createDirectoryAtPath(path, true);
    if (!excludeFromBackup(path)) foundation::Log("Cannot skip backup in cloud. Won't happen");
    return path;
}

bool Utils::isInternetReachable() {
    auto& manager = QNNetworkReachabilityManager::sharedManager();
    return manager.isReachableViaWiFi() || manager.isReachableViaWWAN();
}

bool Utils::isIPad() {
    return uikit::UIDevice::currentDevice().userInterfaceIdiom() != uikit::UIUserInterfaceIdiom::Phone;
}

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
