// The demo-row picker laid over the login screens in builds with demo
// accounts (QVA_DEMO_ACCOUNTS): a one-wheel picker of the demo meeting's
// accounts (user-name screen) or passcodes (passcode screen); choosing a row
// fills the owning screen's fields. A shipped build has none of this: the
// class and its rows exist only when the option is on. Main thread only.
#pragma once

#if QVA_DEMO_ACCOUNTS

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/UIPickerView.h"
#include "uikit/UIView.h"

class LgUser;

class LoginUsersPicker : public uikit::UIView,
                         public uikit::UIPickerViewDataSource,
                         public uikit::UIPickerViewDelegate {
public:
    static constexpr double kHeight = 155;

    // The demo accounts, each with the shared demo password.
    static std::shared_ptr<LoginUsersPicker> initWithUsersAndDelegateStuff(const graphics::Rect& frame);
    // The demo meetings, each with its passcode.
    static std::shared_ptr<LoginUsersPicker> initWithPasscodeAndDelegateStuff(const graphics::Rect& frame);

    explicit LoginUsersPicker(const graphics::Rect& frame = {});

    const std::vector<std::shared_ptr<LgUser>>& dataSourceArray() const { return dataSourceArray_; }
    std::shared_ptr<foundation::Object> theDelegate() const { return theDelegate_.lock(); }
    void setTheDelegate(const std::shared_ptr<foundation::Object>& delegate) { theDelegate_ = delegate; }
    const std::shared_ptr<uikit::UIPickerView>& pickerView() const { return pickerView_; }

    int64_t numberOfComponentsInPickerView(uikit::UIPickerView& pickerView) override;
    int64_t numberOfRowsInComponent(uikit::UIPickerView& pickerView, int64_t component) override;
    std::optional<std::string> titleForRow(uikit::UIPickerView& pickerView, int64_t row, int64_t component) override;
    // Fills the owning login screen's fields with the row.
    void didSelectRow(uikit::UIPickerView& pickerView, int64_t row, int64_t component) override;

    std::string className() const override { return "LoginUsersPicker"; }

private:
    static std::shared_ptr<LoginUsersPicker> make(const graphics::Rect& frame, std::vector<std::shared_ptr<LgUser>> rows);

    std::vector<std::shared_ptr<LgUser>> dataSourceArray_;
    std::weak_ptr<foundation::Object> theDelegate_;
    std::shared_ptr<uikit::UIPickerView> pickerView_;
};

#endif  // QVA_DEMO_ACCOUNTS
