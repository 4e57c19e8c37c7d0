#include "people/MessageThreadDataModel.h"

#include "foundation/KeyedArchiver.h"
#include "model/ModelClass.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVAMessageReceivedRecipient.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"

namespace {

constexpr const char* kThreadNameSeparator = ", ";

// The list as built ("name, " per name) without its last separator; empty
// when it holds fewer characters than the separator.
std::string threadNamesWithoutLastSeparator(const std::string& list) {
    const size_t separator = std::char_traits<char>::length(kThreadNameSeparator);
    return list.size() >= separator ? list.substr(0, list.size() - separator) : std::string();
}

}  // namespace

MessageThreadDataModel::Recipients MessageThreadDataModel::unarchivedRecipients(
    const std::optional<foundation::Data>& archive) {
    Recipients recipients;
    if (!archive) return recipients;
    registerModelClasses();
    const auto value = foundation::KeyedUnarchiver::unarchiveValueWithData(*archive);
    if (const auto* items = value.array())
        for (const auto& item : *items)
            if (auto recipient = item.objectAs<QVAMessageReceivedRecipient>()) recipients.push_back(std::move(recipient));
    return recipients;
}

std::shared_ptr<MessageThreadDataModel> MessageThreadDataModel::initFromThreadMessagesArray(
    const std::vector<std::shared_ptr<QVACoreDataMessage>>& messages) {
    auto model = std::make_shared<MessageThreadDataModel>();
    model->messageCount_ = static_cast<int32_t>(messages.size());
    if (!messages.empty() && messages.front()) {
        const auto& newest = *messages.front();
        auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount();
        const std::optional<std::string> userId = account ? account->itemId() : std::nullopt;
        model->toArray_ = unarchivedRecipients(newest.to());
        model->fromArray_ = unarchivedRecipients(newest.from());
        std::string all;
        std::string others;
        for (const auto& recipient : model->toArray_) {
            const std::string entry = recipient->name().value_or("") + kThreadNameSeparator;
            all += entry;
            // A recipient without an id is never the user.
            if (!recipient->participantId() || recipient->participantId() != userId) others += entry;
        }
        model->fullNamesList_ = threadNamesWithoutLastSeparator(all);
        model->namesListWithoutCurrentUser_ =
            others.size() >= 2 ? threadNamesWithoutLastSeparator(others) : model->fullNamesList_;
        model->sentDate_ = newest.sentDatetime();
        model->threadId_ = newest.threadId();
        model->subject_ = newest.subject();
    }
    for (const auto& message : messages)
        if (message && !message->isRead()) model->isRead_ = false;
    return model;
}
