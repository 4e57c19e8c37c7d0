// "Change password": sets a new password for the user's spouse. The screen
// is a details screen of the stored delegator (its name heads the form);
// the two fields must both be filled and equal, compared as typed, before
// the new password is sent. The answer is shown in an alert and the screen
// stays open. A tap outside the fields puts the keyboard away. Main thread
// only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/DetailsBaseViewController.h"

class CustomTextField;

namespace uikit {
class UIButton;
class UIGestureRecognizer;
class UILabel;
class UIStoryboard;
class UITextField;
}  // namespace uikit

class ChangePasswordViewController : public DetailsBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "changePasswordViewControllerIdentifier";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static constexpr const char* kTitle = "Change password";

    static constexpr const char* kLabelOutlet = "setNewPasswordLabel";
    static constexpr const char* kNewPasswordOutlet = "theNewPasswordTextField";
    static constexpr const char* kConfirmPasswordOutlet = "confirmNewPasswordTextField";
    static constexpr const char* kNewPasswordPlaceholder = "New password";
    static constexpr const char* kConfirmPasswordPlaceholder = "Confirm new password";
    static constexpr const char* kChangeButtonTitle = "Change password";

    static constexpr const char* kLabelFormat = "Set new password for %@";
    static constexpr const char* kFillBothFieldsTitle = "Please fill in both fields.";
    static constexpr const char* kPasswordsDifferMessage = "Please enter the same password in both fields";
    static constexpr const char* kSuccessTitleFormat = "Password successfully changed for %@";
    static constexpr const char* kUnknownErrorTitle = "An unknown error occured";
    static constexpr const char* kUnknownErrorMessage = "Please try again later";
    static constexpr const char* kChangePasswordAnalyticsName = "Change spouse password";
    static constexpr const char* kSpouseLoginIdKey = "Spouse login id";

    // The scene with its label, two secure fields and the button.
    static void addScene(uikit::UIStoryboard& storyboard);

    ChangePasswordViewController();
    // Takes every gesture recogniser off its view.
    ~ChangePasswordViewController() override;

    Text vcTitle() const override { return std::string(kTitle); }
    void viewDidLoad() override;

    const Text& fullName() const { return fullName_; }
    // Outlets (weak).
    std::shared_ptr<uikit::UILabel> setNewPasswordLabel() const { return setNewPasswordLabel_.lock(); }
    std::shared_ptr<CustomTextField> theNewPasswordTextField() const { return theNewPasswordTextField_.lock(); }
    std::shared_ptr<CustomTextField> confirmNewPasswordTextField() const { return confirmNewPasswordTextField_.lock(); }

    // A stored delegator: its name kept and shown in the label.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    void changePasswordButtonPressed(const foundation::ObjectPtr& sender);
    void tapOutside(uikit::UIGestureRecognizer& recognizer);
    void dismissTheKeyboardIfNeeded();

    std::string className() const override { return "ChangePasswordViewController"; }

private:
    Text fullName_;
    std::weak_ptr<uikit::UILabel> setNewPasswordLabel_;
    std::weak_ptr<CustomTextField> theNewPasswordTextField_;
    std::weak_ptr<CustomTextField> confirmNewPasswordTextField_;
};

using ChangePasswordViewControllerPtr = std::shared_ptr<ChangePasswordViewController>;
