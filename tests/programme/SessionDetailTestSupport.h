// The ground the session detail screen's tests stand on: the local meeting
// service with a small one-day meeting, the API pointed at it and the
// meeting's store open, and the scenes the screen opens in both storyboards.
#pragma once

#include <memory>
#include <string>

#include "api/QVAApiManager.h"
#include "app/AppStoryboards.h"
#include "app/DetailsScreenScenes.h"
#include "app/ShellTestSupport.h"
#include "lists/DetailsScreenSupport.h"
#include "maps/LocationDetailsViewController.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "uikit/UIStoryboard.h"

namespace sessiondetailtest {

class SessionDetailTest : public shelltest::ShellTest {
protected:
    std::unique_ptr<testservice::MeetingService> service;

    static void addDetailScenes() {
        for (const char* name : {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName}) {
            auto storyboard = uikit::UIStoryboard::storyboardWithName(name);
            DetailsScreenScenes::addScenes(*storyboard);
            if (!storyboard->hasScene(LocationDetailsViewController::kStoryboardIdentifier))
                LocationDetailsViewController::addScene(*storyboard);
        }
        DetailsScreenSupport::registerObjectHandOver();
    }
    // False when the service did not start.
    bool startMeetingService() {
        service = std::make_unique<testservice::MeetingService>(
            testservice::generateMeeting({.seed = 5, .sessions = 8, .participants = 10, .days = 1}));
        if (!service->start()) return false;
        QVAApiManager::setServiceRoot(service->rootURL());
        QVAApiManager::sharedApiManager().setAuthorizationHeaderWithCode(service->demoToken());
        openCurrent(token(), service->eventId());
        return true;
    }
    std::string token() const { return service->demoToken(); }
};

}  // namespace sessiondetailtest
