// The build-update check: fetches the small version file from the maker's
// build server (outside the meeting service), decides whether a newer build
// than the running one is offered, and tells the user in alerts. A silent
// check (on becoming active) only speaks up when an update exists; the
// settings screen's check always reports its outcome. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "uikit/UIAlertView.h"

namespace foundation {
class Value;
}

class Updater : public uikit::UIAlertViewDelegate, public std::enable_shared_from_this<Updater> {
public:
    // The version file's keys: the offered build's short version, and the
    // download page.
    static constexpr const char* kVersionKey = "version";
    static constexpr const char* kUpdateUrlKey = "updateUrl";
    // Where the version file is looked for unless QVA_BUILD_SERVER_URL says otherwise.
    static constexpr const char* kDefaultVersionFileURL = "https://builds.quovana.com/quovana/version.json";

    static constexpr const char* kErrorTitle = "Error";
    static constexpr const char* kErrorMessage =
        "An error occurred while checking for a new version of this app. Please try again later.";
    static constexpr const char* kNoUpdateTitle = "Update not available";
    static constexpr const char* kNoUpdateMessage = "There is no update available";
    static constexpr const char* kUpdateTitle = "Update available";
    static constexpr const char* kUpdateMessage = "A newer version of the app is available for download";
    static constexpr const char* kOKButton = "OK";
    static constexpr const char* kCancelButton = "Cancel";
    static constexpr const char* kDownloadButton = "Download";
    static constexpr int64_t kDownloadButtonIndex = 1;

    // Made on first use; lives for the process.
    static Updater& instance();

    // Does nothing while the Internet is unreachable, alerts asked for or not.
    void checkForUpdates(bool showAlerts);
    bool isUpdateAvailable() const { return isUpdateAvailable_; }
    // Checks sent whose answer has not been handled yet, for whoever waits
    // for the app to settle.
    static int checksInProgress();
    const std::string& updateUrlStr() const { return updateUrlStr_; }
    // Opens the download page.
    void startUpdate();

    void alertViewWillDismissWithButtonIndex(uikit::UIAlertView& alertView, int64_t buttonIndex) override;

    // QVA_BUILD_SERVER_URL, else the default; a value set here wins (tests).
    static std::string versionFileURL();
    static void setVersionFileURL(std::optional<std::string> url);

    // Dotted numbers compared part by part, a missing part counting as 0.
    static bool isNewerVersion(const std::string& offered, const std::string& running);

private:
    Updater();
    void versionFileArrived(const foundation::Value& body, bool failed, const foundation::Value& errorInfo,
                            bool showAlerts);
    void showAlert(const char* title, const char* message);

    bool isUpdateAvailable_ = false;
    std::string updateUrlStr_;
};
