#include "app/LoginUsersPicker.h"

#if QVA_DEMO_ACCOUNTS

#include "app/LgUser.h"
#include "app/LoginByPasscodeViewController.h"
#include "app/LoginViewController.h"
#include "uikit/UIColor.h"

namespace {

// The demo meeting's accounts and passcodes, as the local meeting service
// serves them (a test keeps the two in step).
constexpr const char* kDemoPassword = "quovana-demo";
const std::vector<std::string>& demoAccounts() {
    static const std::vector<std::string> accounts{"demo"};
    return accounts;
}
// Two parallel lists: the meetings' names and their passcodes.
const std::vector<std::string>& demoMeetingNames() {
    static const std::vector<std::string> names{"Quovana demo meeting"};
    return names;
}
const std::vector<std::string>& demoMeetingPasscodes() {
    static const std::vector<std::string> passcodes{"246810"};
    return passcodes;
}

}  // namespace

LoginUsersPicker::LoginUsersPicker(const graphics::Rect& frame) : uikit::UIView(frame) {}

std::shared_ptr<LoginUsersPicker> LoginUsersPicker::make(const graphics::Rect& frame,
                                                         std::vector<std::shared_ptr<LgUser>> rows) {
    auto picker = std::make_shared<LoginUsersPicker>(frame);
    picker->dataSourceArray_ = std::move(rows);
    picker->setBackgroundColor(uikit::UIColor::colorWithRed(0.7, 0.7, 0.7, 0.7));
    picker->pickerView_ = std::make_shared<uikit::UIPickerView>(graphics::Rect{0, 0, frame.size.width, frame.size.height});
    picker->pickerView_->setDataSource(picker);
    picker->pickerView_->setDelegate(picker);
    picker->addSubview(picker->pickerView_);
    return picker;
}

std::shared_ptr<LoginUsersPicker> LoginUsersPicker::initWithUsersAndDelegateStuff(const graphics::Rect& frame) {
    std::vector<std::shared_ptr<LgUser>> rows;
    for (const auto& account : demoAccounts()) rows.push_back(std::make_shared<LgUser>(account, kDemoPassword));
    return make(frame, std::move(rows));
}

std::shared_ptr<LoginUsersPicker> LoginUsersPicker::initWithPasscodeAndDelegateStuff(const graphics::Rect& frame) {
    std::vector<std::shared_ptr<LgUser>> rows;
    const auto& names = demoMeetingNames();
    const auto& passcodes = demoMeetingPasscodes();
    for (size_t i = 0; i < names.size() && i < passcodes.size(); ++i)
        rows.push_back(std::make_shared<LgUser>(names[i], passcodes[i]));
    return make(frame, std::move(rows));
}

int64_t LoginUsersPicker::numberOfComponentsInPickerView(uikit::UIPickerView&) { return 1; }

int64_t LoginUsersPicker::numberOfRowsInComponent(uikit::UIPickerView&, int64_t) {
    return static_cast<int64_t>(dataSourceArray_.size());
}

std::optional<std::string> LoginUsersPicker::titleForRow(uikit::UIPickerView&, int64_t row, int64_t) {
    if (row < 0 || row >= static_cast<int64_t>(dataSourceArray_.size())) return std::nullopt;
    return dataSourceArray_[static_cast<size_t>(row)]->userName();
}

void LoginUsersPicker::didSelectRow(uikit::UIPickerView&, int64_t row, int64_t) {
    if (row < 0 || row >= static_cast<int64_t>(dataSourceArray_.size())) return;
    const auto& user = dataSourceArray_[static_cast<size_t>(row)];
    auto owner = theDelegate();
    if (auto login = std::dynamic_pointer_cast<LoginViewController>(owner)) {
        login->forTestingSetTheUsername(user->userName(), user->passWord());
    } else if (auto passcode = std::dynamic_pointer_cast<LoginByPasscodeViewController>(owner)) {
        passcode->forTestingSetThePasscode(user->passWord());
    }
}

#endif  // QVA_DEMO_ACCOUNTS
