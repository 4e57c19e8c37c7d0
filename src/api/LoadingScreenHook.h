// Where the "Load" of the new-meeting offer hands its account and meeting id:
// the loading screen, which runs the full download of that meeting, is built
// by the application shell, not by the service layer that makes the offer.
// The shell installs the loader at start-up (AppDelegate, through the
// loading screen's LoadingViewController::installLoadingScreenHook); the
// command-line front's delta-update command installs one of its own for the
// length of the command. With none installed the offer's "Load" opens the
// new meeting's store and goes no further. Main thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "model/QVAUserAccount.h"

class LoadingScreenHook {
public:
    using Loader = std::function<void(const std::shared_ptr<QVAUserAccount>& account, const std::string& eventId)>;

    // Replaces the loader; an empty one removes it.
    static void setLoader(Loader loader);
    // Hands the pair to the installed loader; false when there is none.
    static bool presentLoadingScreen(const std::shared_ptr<QVAUserAccount>& account, const std::string& eventId);
};
