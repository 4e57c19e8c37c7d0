#include "addressbook/ABAddressBook.h"

#include <fstream>
#include <sstream>

#include "addressbook/VCard.h"
#include "foundation/ApplicationHome.h"

namespace addressbook {

namespace {

bool& addressBookOpeningFails() {
    static bool fails = false;
    return fails;
}

std::optional<std::string>* addressBookText(const ABRecordRef& record, ABPropertyID property) {
    if (!record) return nullptr;
    switch (property) {
        case ABPropertyID::FirstName: return &record->firstName;
        case ABPropertyID::LastName: return &record->lastName;
        case ABPropertyID::Organization: return &record->organization;
        case ABPropertyID::Note: return &record->note;
        default: return nullptr;
    }
}

ABMultiValueRef* addressBookMulti(const ABRecordRef& record, ABPropertyID property) {
    if (!record) return nullptr;
    if (property == ABPropertyID::Phone) return &record->phones;
    if (property == ABPropertyID::Email) return &record->emails;
    return nullptr;
}

}  // namespace

ABMultiValueRef ABMultiValueCreateMutable() { return std::make_shared<ABMultiValue>(); }

bool ABMultiValueAddValueAndLabel(const ABMultiValueRef& multiValue, std::string value, std::string label) {
    if (!multiValue) return false;
    multiValue->valuesAndLabels.emplace_back(std::move(value), std::move(label));
    return true;
}

ABRecordRef ABPersonCreate() { return std::make_shared<ABRecord>(); }

bool ABRecordSetValue(const ABRecordRef& record, ABPropertyID property, std::optional<std::string> value) {
    auto* slot = addressBookText(record, property);
    if (!slot) return false;
    *slot = std::move(value);
    return true;
}

bool ABRecordSetValue(const ABRecordRef& record, ABPropertyID property, ABMultiValueRef value) {
    auto* slot = addressBookMulti(record, property);
    if (!slot) return false;
    *slot = std::move(value);
    return true;
}

std::optional<std::string> ABRecordCopyValue(const ABRecordRef& record, ABPropertyID property) {
    auto* slot = addressBookText(record, property);
    return slot ? *slot : std::nullopt;
}

ABMultiValueRef ABRecordCopyMultiValue(const ABRecordRef& record, ABPropertyID property) {
    auto* slot = addressBookMulti(record, property);
    return slot ? *slot : nullptr;
}

void ABAddressBookSetOpeningFails(bool fails) { addressBookOpeningFails() = fails; }

std::string ABAddressBookFilePath() {
    return foundation::ApplicationHome::libraryDirectory() + "/" + kABAddressBookFileName;
}

ABAddressBookRef ABAddressBookCreateWithOptions(foundation::ErrorPtr* error) {
    if (addressBookOpeningFails()) {
        if (error) *error = foundation::Error::withDescription(kABAddressBookErrorDomain, 1, "Access to contacts denied");
        return nullptr;
    }
    auto book = std::make_shared<ABAddressBook>();
    std::ifstream file(ABAddressBookFilePath(), std::ios::binary);
    if (file) {
        std::stringstream text;
        text << file.rdbuf();
        book->people = VCard::read(text.str());
    }
    return book;
}

std::vector<ABRecordRef> ABAddressBookCopyArrayOfAllPeople(const ABAddressBookRef& book) {
    return book ? book->people : std::vector<ABRecordRef>{};
}

bool ABAddressBookAddRecord(const ABAddressBookRef& book, const ABRecordRef& record) {
    if (!book || !record) return false;
    book->people.push_back(record);
    return true;
}

bool ABAddressBookSave(const ABAddressBookRef& book, foundation::ErrorPtr* error) {
    if (!book) return false;
    const std::string path = ABAddressBookFilePath();
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << VCard::write(book->people);
        if (!file.good()) {
            if (error) *error = foundation::Error::withDescription(kABAddressBookErrorDomain, 2, "Unable to write contacts");
            return false;
        }
    }
    // A whole book or the previous one, never half of one.
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        if (error) *error = foundation::Error::withDescription(kABAddressBookErrorDomain, 2, "Unable to write contacts");
        return false;
    }
    return true;
}

}  // namespace addressbook
