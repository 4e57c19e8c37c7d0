// The check runs entirely on the main thread: the API client answers on the
// main queue, and the alerts and openURL belong there.
#include "api/Updater.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <vector>

#include "Utils/Utils.h"
#include "api/QVAApiManager.h"
#include "foundation/Bundle.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/URL.h"
#include "uikit/UIApplication.h"

using foundation::Value;

namespace {

std::mutex urlMutex;
std::optional<std::string> urlOverride;
std::atomic<int> updaterChecksInFlight{0};

// One check counted from its request until its answer's handler is gone.
struct UpdaterCheckInFlight {
    UpdaterCheckInFlight() { ++updaterChecksInFlight; }
    ~UpdaterCheckInFlight() { --updaterChecksInFlight; }
    UpdaterCheckInFlight(const UpdaterCheckInFlight&) = delete;
    UpdaterCheckInFlight& operator=(const UpdaterCheckInFlight&) = delete;
};

std::vector<long long> versionParts(const std::string& version) {
    std::vector<long long> parts;
    std::stringstream stream(version);
    std::string part;
    while (std::getline(stream, part, '.')) parts.push_back(std::atoll(part.c_str()));
    return parts;
}

}  // namespace

Updater::Updater() = default;

Updater& Updater::instance() {
    foundation::requireMainThread("Please call this from main thread only");
    static std::shared_ptr<Updater> shared(new Updater());
    return *shared;
}

std::string Updater::versionFileURL() {
    std::lock_guard<std::mutex> lock(urlMutex);
    if (urlOverride) return *urlOverride;
    const char* fromEnvironment = std::getenv("QVA_BUILD_SERVER_URL");
    return fromEnvironment && *fromEnvironment ? fromEnvironment : kDefaultVersionFileURL;
}

void Updater::setVersionFileURL(std::optional<std::string> url) {
    std::lock_guard<std::mutex> lock(urlMutex);
    urlOverride = std::move(url);
}

bool Updater::isNewerVersion(const std::string& offered, const std::string& running) {
    auto a = versionParts(offered);
    auto b = versionParts(running);
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        long long x = i < a.size() ? a[i] : 0;
        long long y = i < b.size() ? b[i] : 0;
        if (x != y) return x > y;
    }
    return false;
}

int Updater::checksInProgress() { return updaterChecksInFlight.load(); }

void Updater::checkForUpdates(bool showAlerts) {
    if (!Utils::isInternetReachable()) return;
    std::weak_ptr<Updater> weakSelf = shared_from_this();
    // Counted while the answer's handler lives: until after it has run, or
    // until it is dropped unrun.
    auto inFlight = std::make_shared<UpdaterCheckInFlight>();
    // The API client's generic request: the build server is another origin
    // than the service, so no bearer token goes along.
    QVAApiManager::sharedApiManager().requestForUrlString(
        versionFileURL(), "GET", Value(),
        [weakSelf, showAlerts, inFlight](const foundation::ErrorPtr& error, const Value& body,
                                         const std::shared_ptr<foundation::HTTPURLResponse>&) {
            auto self = weakSelf.lock();
            if (!self) return;
            if (error) {
                self->versionFileArrived(Value(), true, Value(error->userInfo()), showAlerts);
            } else {
                self->versionFileArrived(body, false, Value(), showAlerts);
            }
        });
}

void Updater::versionFileArrived(const Value& body, bool failed, const Value& errorInfo, bool showAlerts) {
    const Value::Dictionary* dictionary = body.dictionary();
    if (failed || !dictionary || dictionary->empty()) {
        foundation::Log("version error ui: %@", errorInfo);
        if (showAlerts) showAlert(kErrorTitle, kErrorMessage);
        return;
    }
    const std::string running = foundation::Bundle::mainBundle().shortVersionString();
    foundation::Log("version dictionary:%@ currentVersionString:%@", body, running);

    auto offered = dictionary->find(kVersionKey);
    isUpdateAvailable_ = offered != dictionary->end() && offered->second.string() &&
                         isNewerVersion(*offered->second.string(), running);
    if (isUpdateAvailable_) {
        auto url = dictionary->find(kUpdateUrlKey);
        updateUrlStr_ = url != dictionary->end() && url->second.string() ? *url->second.string() : std::string();
        // Offered whether or not the caller asked for alerts.
        auto alert = std::make_shared<uikit::UIAlertView>(std::string(kUpdateTitle), std::string(kUpdateMessage),
                                                          weak_from_this(), kCancelButton,
                                                          std::vector<std::string>{kDownloadButton});
        alert->show();
    } else if (showAlerts) {
        showAlert(kNoUpdateTitle, kNoUpdateMessage);
    }
}

void Updater::showAlert(const char* title, const char* message) {
    auto alert = std::make_shared<uikit::UIAlertView>(std::string(title), std::string(message), weak_from_this());
    alert->addButtonWithTitle(kOKButton);
    alert->show();
}

void Updater::startUpdate() {
    if (auto url = foundation::URL::URLWithString(updateUrlStr_)) uikit::UIApplication::sharedApplication().openURL(*url);
}

void Updater::alertViewWillDismissWithButtonIndex(uikit::UIAlertView&, int64_t buttonIndex) {
    if (buttonIndex == kDownloadButtonIndex) startUpdate();
}
