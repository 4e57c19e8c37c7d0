// The device's address book, as far as the app uses it: people with first
// and last name, organisation, note, phones and e-mails with their labels.
// The book is one vCard 3.0 file under the application's Library, read when
// the book is opened and written when it is saved, so a person can open
// what the app saved. Opening can be made to fail (the person refused the
// app access): a book that failed to open is null and matches nobody.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Error.h"

namespace addressbook {

enum class ABPropertyID { FirstName, LastName, Organization, Note, Phone, Email };

inline constexpr const char* kABPersonPhoneMainLabel = "main";
inline constexpr const char* kABPersonPhoneMobileLabel = "mobile";
inline constexpr const char* kABWorkLabel = "work";
inline constexpr const char* kABAddressBookErrorDomain = "ABAddressBookErrorDomain";
inline constexpr const char* kABAddressBookFileName = "AddressBook.vcf";

// Values in the order added, each with its label.
struct ABMultiValue {
    std::vector<std::pair<std::string, std::string>> valuesAndLabels;
};
using ABMultiValueRef = std::shared_ptr<ABMultiValue>;

struct ABRecord {
    std::optional<std::string> firstName, lastName, organization, note;
    ABMultiValueRef phones, emails;
};
using ABRecordRef = std::shared_ptr<ABRecord>;

struct ABAddressBook {
    std::vector<ABRecordRef> people;
};
using ABAddressBookRef = std::shared_ptr<ABAddressBook>;

ABMultiValueRef ABMultiValueCreateMutable();
bool ABMultiValueAddValueAndLabel(const ABMultiValueRef& multiValue, std::string value, std::string label);

ABRecordRef ABPersonCreate();
// The text properties take a text; Phone and Email a multi-value.
bool ABRecordSetValue(const ABRecordRef& record, ABPropertyID property, std::optional<std::string> value);
bool ABRecordSetValue(const ABRecordRef& record, ABPropertyID property, ABMultiValueRef value);
std::optional<std::string> ABRecordCopyValue(const ABRecordRef& record, ABPropertyID property);
ABMultiValueRef ABRecordCopyMultiValue(const ABRecordRef& record, ABPropertyID property);

// Null, with `error` set, when the device refuses; else the people of the file.
ABAddressBookRef ABAddressBookCreateWithOptions(foundation::ErrorPtr* error);
// None for a null book.
std::vector<ABRecordRef> ABAddressBookCopyArrayOfAllPeople(const ABAddressBookRef& book);
bool ABAddressBookAddRecord(const ABAddressBookRef& book, const ABRecordRef& record);
// Writes the whole book to its file; false, with `error`, when it cannot.
bool ABAddressBookSave(const ABAddressBookRef& book, foundation::ErrorPtr* error);

// The device setting for tests and the app mode.
void ABAddressBookSetOpeningFails(bool fails);
std::string ABAddressBookFilePath();

}  // namespace addressbook
