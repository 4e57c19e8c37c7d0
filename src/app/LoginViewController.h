// The login screen, standing in until it exists: its scene exists under its
// identifier so that the shell's root switches can reach it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "app/StubPlaceholder.h"
#include "app/StubScreen.h"

class LoginViewController : public BaseViewController, public StubScreen {
public:
    static Text storyboardIdentifier() { return std::string("loginViewController"); }
    Text vcTitle() const override { return std::string("Login"); }
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override {
        return stubDescriptionItems(className());
    }
    void viewDidLoad() override {
        BaseViewController::viewDidLoad();
        StubPlaceholder::paintWhite(*this);
    }
    std::string className() const override { return "LoginViewController"; }
};
