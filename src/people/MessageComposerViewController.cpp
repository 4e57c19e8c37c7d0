#include "people/MessageComposerViewController.h"

#include "app/StubPlaceholder.h"

namespace {

std::string composerRecipientsText(const MessageComposerViewController::Recipients& recipients) {
    std::string text = "{";
    for (const auto& [id, name] : recipients) {
        if (text.size() > 1) text += ", ";
        text += id + ": " + name;
    }
    return text + "}";
}

}  // namespace

void MessageComposerViewController::setAlreadyAddedToFieldOrvaneUsers(Recipients recipients) {
    alreadyAddedToFieldOrvaneUsers_ = std::move(recipients);
    recordCall("setAlreadyAddedToFieldOrvaneUsers:" + composerRecipientsText(alreadyAddedToFieldOrvaneUsers_));
}

void MessageComposerViewController::setReplySubject(Text subject) {
    replySubject_ = std::move(subject);
    recordCall("setReplySubject:" + StubPlaceholder::text(replySubject_));
}

void MessageComposerViewController::setThreadId(int32_t threadId) {
    threadId_ = threadId;
    recordCall("setThreadId:" + std::to_string(threadId));
}

void MessageComposerViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    StubPlaceholder::paintWhite(*this);
}

std::vector<std::pair<std::string, std::string>> MessageComposerViewController::screenDescriptionItems() const {
    auto items = stubDescriptionItems(className());
    items.emplace_back("alreadyAddedToFieldOrvaneUsers", composerRecipientsText(alreadyAddedToFieldOrvaneUsers_));
    items.emplace_back("replySubject", StubPlaceholder::plainText(replySubject_));
    items.emplace_back("threadId", std::to_string(threadId_));
    return items;
}
