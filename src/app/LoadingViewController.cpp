#include "app/LoadingViewController.h"

#include "model/QVAUserAccount.h"

std::shared_ptr<LoadingViewController> LoadingViewController::instantiateViewControllerWithAccount(
    const std::shared_ptr<QVAUserAccount>& account, const Text& eventId) {
    auto loading = instantiateViewController<LoadingViewController>();
    if (!loading) return nullptr;
    loading->account_ = account;
    loading->eventId_ = eventId;
    return loading;
}

std::vector<std::pair<std::string, std::string>> LoadingViewController::screenDescriptionItems() const {
    auto items = stubDescriptionItems(className());
    const auto user = account_ ? account_->email() : std::nullopt;
    items.emplace_back("account", user.value_or("nil"));
    items.emplace_back("eventId", eventId_.value_or("nil"));
    return items;
}
