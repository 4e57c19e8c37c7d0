#include "app/ChangePasswordViewController.h"

#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManager.h"
#include "Utils/Utils.h"
#include "foundation/Format.h"
#include "model/QVACoreDataLoginDelegator.h"
#include "model/QVAError.h"
#include "model/QVAEvent.h"
#include "model/QVALoginDelegator.h"
#include "settings/ApplicationSettingsStore.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITapGestureRecognizer.h"
#include "Utils/CustomTextField.h"
#include "uikit/UITextField.h"
#include "uikit/UIView.h"

namespace {

constexpr double kMargin = 20;
constexpr double kTop = 84;
constexpr double kLabelHeight = 44;
constexpr double kFieldHeight = 36;
constexpr double kGap = 12;
constexpr double kSceneWidth = 320;

std::shared_ptr<CustomTextField> makePasswordField(double y, const char* placeholder) {
    auto field = std::make_shared<CustomTextField>(graphics::Rect{kMargin, y, kSceneWidth - 2 * kMargin, kFieldHeight});
    field->setPlaceholder(std::string(placeholder));
    field->setSecureTextEntry(true);
    field->setBorderStyle(uikit::UITextBorderStyle::RoundedRect);
    field->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    return field;
}

bool isFilled(const std::optional<std::string>& text) { return text && !text->empty(); }

}  // namespace

void ChangePasswordViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(
        kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<ChangePasswordViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto& screen = static_cast<ChangePasswordViewController&>(owner);
            auto root = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, kSceneWidth, 480});
            root->setBackgroundColor(uikit::UIColor::whiteColor());

            double y = kTop;
            auto label = outlets.connect(
                kLabelOutlet,
                std::make_shared<uikit::UILabel>(graphics::Rect{kMargin, y, kSceneWidth - 2 * kMargin, kLabelHeight}));
            label->setNumberOfLines(2);
            label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
            root->addSubview(label);
            screen.setNewPasswordLabel_ = label;
            y += kLabelHeight + kGap;

            auto newPassword = outlets.connect(kNewPasswordOutlet, makePasswordField(y, kNewPasswordPlaceholder));
            root->addSubview(newPassword);
            screen.theNewPasswordTextField_ = newPassword;
            y += kFieldHeight + kGap;

            auto confirm = outlets.connect(kConfirmPasswordOutlet, makePasswordField(y, kConfirmPasswordPlaceholder));
            root->addSubview(confirm);
            screen.confirmNewPasswordTextField_ = confirm;
            y += kFieldHeight + 2 * kGap;

            auto button = uikit::UIButton::buttonWithType(uikit::UIButtonType::System);
            button->setFrame({kMargin, y, kSceneWidth - 2 * kMargin, kFieldHeight});
            button->setTitle(std::string(kChangeButtonTitle), uikit::UIControlStateNormal);
            button->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
            std::weak_ptr<ChangePasswordViewController> weak =
                std::static_pointer_cast<ChangePasswordViewController>(screen.shared_from_this());
            button->addTarget(
                [weak](uikit::UIControl& sender) {
                    if (auto self = weak.lock()) self->changePasswordButtonPressed(sender.shared_from_this());
                },
                uikit::UIControlEventTouchUpInside);
            root->addSubview(button);

            auto tap = std::make_shared<uikit::UITapGestureRecognizer>([weak](uikit::UIGestureRecognizer& recognizer) {
                if (auto self = weak.lock()) self->tapOutside(recognizer);
            });
            // The button and the fields still get their touches.
            tap->setCancelsTouchesInView(false);
            root->addGestureRecognizer(tap);
            return root;
        });
}

ChangePasswordViewController::ChangePasswordViewController() = default;

ChangePasswordViewController::~ChangePasswordViewController() {
    if (!isViewLoaded()) return;
    auto root = view();
    const auto recognizers = root->gestureRecognizers();
    for (const auto& recognizer : recognizers) root->removeGestureRecognizer(recognizer);
}

void ChangePasswordViewController::viewDidLoad() {
    DetailsBaseViewController::viewDidLoad();
    setTitle(std::string(kTitle));
}

void ChangePasswordViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    auto delegator = std::dynamic_pointer_cast<QVACoreDataLoginDelegator>(object);
    if (!delegator) return;
    fullName_ = delegator->fullName();
    if (auto label = setNewPasswordLabel()) label->setText(foundation::Format(kLabelFormat, foundation::Value(fullName_)));
}

void ChangePasswordViewController::changePasswordButtonPressed(const foundation::ObjectPtr& sender) {
    (void)sender;
    auto newField = theNewPasswordTextField();
    auto confirmField = confirmNewPasswordTextField();
    const Text newPassword = newField ? newField->text() : std::nullopt;
    const Text confirmation = confirmField ? confirmField->text() : std::nullopt;
    if (!isFilled(newPassword) || !isFilled(confirmation)) {
        Utils::displayAlertViewWithMessage(std::string(), std::string(kFillBothFieldsTitle));
        return;
    }
    // Blanks are part of a password: nothing is trimmed.
    if (*newPassword != *confirmation) {
        Utils::displayAlertViewWithMessage(std::string(kPasswordsDifferMessage), std::nullopt);
        return;
    }
    dismissTheKeyboardIfNeeded();
    startProgress();
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    auto self = std::static_pointer_cast<ChangePasswordViewController>(shared_from_this());
    QVAApiManager::sharedApiManager().changePasswordForSpouseTo(
        newPassword, authenticationCode(), event ? event->itemId() : std::nullopt,
        [self](const foundation::ErrorPtr& error, const foundation::Value& result) {
            self->stopProgress();
            auto spouse = error ? nullptr : result.objectAs<QVALoginDelegator>();
            if (spouse) {
                Utils::displayAlertViewWithMessage(
                    std::string(), foundation::Format(kSuccessTitleFormat, foundation::Value(spouse->username())));
                foundation::ValueDictionary data;
                data[kSpouseLoginIdKey] = foundation::Value(self->fullName_);
                AnalyticsUtils::trackEventWithNameAndData(kChangePasswordAnalyticsName, data);
                return;
            }
            auto refusal = std::dynamic_pointer_cast<const QVAError>(error);
            const Text serviceMessage = refusal ? refusal->QVAServiceErrorMessage() : std::nullopt;
            if (serviceMessage && !serviceMessage->empty())
                Utils::displayAlertViewWithMessage(serviceMessage, std::nullopt);
            else
                Utils::displayAlertViewWithMessage(std::string(kUnknownErrorMessage), std::string(kUnknownErrorTitle));
        });
}

void ChangePasswordViewController::tapOutside(uikit::UIGestureRecognizer& recognizer) {
    (void)recognizer;
    dismissTheKeyboardIfNeeded();
}

void ChangePasswordViewController::dismissTheKeyboardIfNeeded() {
    for (const auto& field : {theNewPasswordTextField(), confirmNewPasswordTextField()})
        if (field && field->isFirstResponder()) field->resignFirstResponder();
}
