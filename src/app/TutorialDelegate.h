// The host of a tutorial laid over its screen (the pad's split view): the
// pager tells it that the person closed the tutorial; the other operations
// let a tutorial page close the tutorial and open the home screen or one of
// the main sections. Main thread only.
#pragma once

class TutorialDelegate {
public:
    virtual ~TutorialDelegate() = default;
    virtual void tutorialClosed() = 0;
    virtual void closeTutorialAndNavigateHome() = 0;
    virtual void closeTutorialAndNavigateToProgramme() = 0;
    virtual void closeTutorialAndNavigateToParticipants() = 0;
    virtual void closeTutorialAndNavigateToAgenda() = 0;
    virtual void closeTutorialAndNavigateToMessages() = 0;
    virtual void closeTutorialAndNavigateToSettings() = 0;
};
