#include "addressbook/ABPersonViewControllers.h"

#include "uikit/UIView.h"

namespace addressbook {

namespace {

std::string addressBookMultiText(const ABMultiValueRef& multi) {
    std::string text;
    if (!multi) return text;
    for (const auto& [value, label] : multi->valuesAndLabels) {
        if (!text.empty()) text += ", ";
        text += label + ": " + value;
    }
    return text;
}

std::shared_ptr<uikit::UIView> addressBookWhiteView() {
    auto view = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    view->setBackgroundColor(graphics::Color::white());
    return view;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> describeRecord(const ABRecordRef& record) {
    if (!record) return {{"person", "nil"}};
    std::vector<std::pair<std::string, std::string>> items;
    auto add = [&](const char* name, const std::optional<std::string>& value) {
        if (value) items.emplace_back(name, *value);
    };
    add("firstName", record->firstName);
    add("lastName", record->lastName);
    add("organization", record->organization);
    if (record->phones) items.emplace_back("phones", addressBookMultiText(record->phones));
    if (record->emails) items.emplace_back("emails", addressBookMultiText(record->emails));
    add("note", record->note);
    return items;
}

void ABNewPersonViewController::save() {
    if (completed_) return;
    completed_ = true;
    if (!addressBook_) addressBook_ = ABAddressBookCreateWithOptions(nullptr);
    ABRecordRef saved;
    if (displayedPerson_ && ABAddressBookAddRecord(addressBook_, displayedPerson_) &&
        ABAddressBookSave(addressBook_, nullptr))
        saved = displayedPerson_;
    if (auto delegate = newPersonViewDelegate()) delegate->newPersonViewControllerDidCompleteWithNewPerson(*this, saved);
}

void ABNewPersonViewController::cancel() {
    if (completed_) return;
    completed_ = true;
    if (auto delegate = newPersonViewDelegate()) delegate->newPersonViewControllerDidCompleteWithNewPerson(*this, nullptr);
}

void ABNewPersonViewController::loadView() { setView(addressBookWhiteView()); }

std::vector<std::pair<std::string, std::string>> ABNewPersonViewController::screenDescriptionItems() const {
    return describeRecord(displayedPerson_);
}

void ABUnknownPersonViewController::resolveToPerson(const ABRecordRef& person) {
    if (auto delegate = unknownPersonViewDelegate()) delegate->unknownPersonViewControllerDidResolveToPerson(*this, person);
}

void ABUnknownPersonViewController::loadView() { setView(addressBookWhiteView()); }

std::vector<std::pair<std::string, std::string>> ABUnknownPersonViewController::screenDescriptionItems() const {
    auto items = describeRecord(displayedPerson_);
    items.emplace_back("allowsAddingToAddressBook", allowsAddingToAddressBook_ ? "YES" : "NO");
    items.emplace_back("allowsActions", allowsActions_ ? "YES" : "NO");
    return items;
}

bool ABPeoplePickerNavigationController::selectPerson(const ABRecordRef& person) {
    auto delegate = peoplePickerDelegate();
    return !delegate || delegate->peoplePickerNavigationControllerShouldContinueAfterSelectingPerson(*this, person);
}

bool ABPeoplePickerNavigationController::selectValue(const ABRecordRef& person, ABPropertyID property,
                                                     ABMultiValueIdentifier identifier) {
    auto delegate = peoplePickerDelegate();
    return !delegate ||
           delegate->peoplePickerNavigationControllerShouldContinueAfterSelectingPerson(*this, person, property, identifier);
}

void ABPeoplePickerNavigationController::cancel() {
    if (auto delegate = peoplePickerDelegate()) delegate->peoplePickerNavigationControllerDidCancel(*this);
}

bool ABPersonViewController::selectValue(ABPropertyID property, ABMultiValueIdentifier identifier) {
    auto delegate = personViewDelegate();
    return !delegate ||
           delegate->personViewControllerShouldPerformDefaultActionForPerson(*this, displayedPerson_, property, identifier);
}

}  // namespace addressbook
