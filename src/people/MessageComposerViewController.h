// The message composer, standing in until it exists: it keeps what the
// screen opening it hands over (the To map of participant ids to names, the
// subject of the thread answered and its id), records each hand-over and
// shows them in the screen dump. Its scene is registered under the class's
// name; on the pad a navigation controller scene holds it, as the composer
// is presented modally there. Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "app/StubScreen.h"

class MessageComposerViewController : public BaseViewController, public StubScreen {
public:
    using Recipients = std::map<std::string, std::string>;

    static constexpr const char* kStoryboardIdentifier = "MessageComposerViewController";
    // The pad's modal navigation controller around the composer.
    static constexpr const char* kNavigationStoryboardIdentifier = "MessageComposerNavigationController";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }

    const Recipients& alreadyAddedToFieldOrvaneUsers() const { return alreadyAddedToFieldOrvaneUsers_; }
    void setAlreadyAddedToFieldOrvaneUsers(Recipients recipients);
    const Text& replySubject() const { return replySubject_; }
    void setReplySubject(Text subject);
    int32_t threadId() const { return threadId_; }
    void setThreadId(int32_t threadId);

    void viewDidLoad() override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "MessageComposerViewController"; }

private:
    Recipients alreadyAddedToFieldOrvaneUsers_;
    Text replySubject_;
    int32_t threadId_ = 0;
};
