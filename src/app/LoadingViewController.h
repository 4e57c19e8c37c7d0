// The loading screen, standing in until it exists: made from its scene, it
// holds the account and meeting id it was made with and runs nothing.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "app/StubPlaceholder.h"
#include "app/StubScreen.h"

class QVAUserAccount;

class LoadingViewController : public BaseViewController, public StubScreen {
public:
    static Text storyboardIdentifier() { return std::string("loadingViewController"); }
    // A loading screen from the device's storyboard holding the account and meeting id.
    static std::shared_ptr<LoadingViewController> instantiateViewControllerWithAccount(
        const std::shared_ptr<QVAUserAccount>& account, const Text& eventId);

    const std::shared_ptr<QVAUserAccount>& account() const { return account_; }
    const Text& eventId() const { return eventId_; }

    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    void viewDidLoad() override {
        BaseViewController::viewDidLoad();
        StubPlaceholder::paintWhite(*this);
    }
    std::string className() const override { return "LoadingViewController"; }

private:
    std::shared_ptr<QVAUserAccount> account_;
    Text eventId_;
};
