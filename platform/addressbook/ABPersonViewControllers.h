// The address book's two screens the app presents: the new-person form
// (completed by saving, which adds the person to the book and writes it, or
// by cancelling) and the unknown-person card offering to add to or resolve
// against an existing contact. Each holds its record and a weak delegate;
// the dump prints the record shown. The people picker and the person card
// are here only as far as their delegates' answers: whether a choice goes
// on, and the picker's cancel. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "addressbook/ABAddressBook.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIViewController.h"

namespace addressbook {

class ABNewPersonViewController;
class ABUnknownPersonViewController;
class ABPeoplePickerNavigationController;
class ABPersonViewController;

// Which value of a multi-value property was chosen, by its index.
using ABMultiValueIdentifier = int;

class ABNewPersonViewControllerDelegate {
public:
    virtual ~ABNewPersonViewControllerDelegate() = default;
    // The saved person, or null when cancelled.
    virtual void newPersonViewControllerDidCompleteWithNewPerson(ABNewPersonViewController& controller,
                                                                 const ABRecordRef& person) = 0;
};

class ABUnknownPersonViewControllerDelegate {
public:
    virtual ~ABUnknownPersonViewControllerDelegate() = default;
    virtual void unknownPersonViewControllerDidResolveToPerson(ABUnknownPersonViewController& controller,
                                                               const ABRecordRef& person) = 0;
    virtual bool unknownPersonViewControllerShouldPerformDefaultActionForPerson(ABUnknownPersonViewController&,
                                                                                const ABRecordRef&) {
        return true;
    }
};

class ABPeoplePickerNavigationControllerDelegate {
public:
    virtual ~ABPeoplePickerNavigationControllerDelegate() = default;
    virtual void peoplePickerNavigationControllerDidCancel(ABPeoplePickerNavigationController& picker) = 0;
    // Whether the picker goes on to show the chosen person.
    virtual bool peoplePickerNavigationControllerShouldContinueAfterSelectingPerson(
        ABPeoplePickerNavigationController& picker, const ABRecordRef& person) = 0;
    // Whether the picker goes on to the chosen value's default action (a call, a mail).
    virtual bool peoplePickerNavigationControllerShouldContinueAfterSelectingPerson(
        ABPeoplePickerNavigationController& picker, const ABRecordRef& person, ABPropertyID property,
        ABMultiValueIdentifier identifier) = 0;
};

class ABPersonViewControllerDelegate {
public:
    virtual ~ABPersonViewControllerDelegate() = default;
    virtual bool personViewControllerShouldPerformDefaultActionForPerson(ABPersonViewController& controller,
                                                                         const ABRecordRef& person,
                                                                         ABPropertyID property,
                                                                         ABMultiValueIdentifier identifier) = 0;
};

// The record's fields as "name=value" pairs, for the dump.
std::vector<std::pair<std::string, std::string>> describeRecord(const ABRecordRef& record);

class ABNewPersonViewController : public uikit::UIViewController {
public:
    static constexpr const char* kTitle = "New Contact";

    const ABRecordRef& displayedPerson() const { return displayedPerson_; }
    void setDisplayedPerson(ABRecordRef person) { displayedPerson_ = std::move(person); }
    const ABAddressBookRef& addressBook() const { return addressBook_; }
    void setAddressBook(ABAddressBookRef book) { addressBook_ = std::move(book); }
    std::shared_ptr<ABNewPersonViewControllerDelegate> newPersonViewDelegate() const { return delegate_.lock(); }
    void setNewPersonViewDelegate(std::weak_ptr<ABNewPersonViewControllerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // Done: the person added to the book (opened now when none was given)
    // and the book written, then the delegate told. Cancel: the delegate
    // told with no person. Once only.
    void save();
    void cancel();
    bool isCompleted() const { return completed_; }

    void loadView() override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "ABNewPersonViewController"; }

private:
    ABRecordRef displayedPerson_;
    ABAddressBookRef addressBook_;
    std::weak_ptr<ABNewPersonViewControllerDelegate> delegate_;
    bool completed_ = false;
};

class ABUnknownPersonViewController : public uikit::UIViewController {
public:
    const ABRecordRef& displayedPerson() const { return displayedPerson_; }
    void setDisplayedPerson(ABRecordRef person) { displayedPerson_ = std::move(person); }
    const ABAddressBookRef& addressBook() const { return addressBook_; }
    void setAddressBook(ABAddressBookRef book) { addressBook_ = std::move(book); }
    bool allowsAddingToAddressBook() const { return allowsAddingToAddressBook_; }
    void setAllowsAddingToAddressBook(bool allows) { allowsAddingToAddressBook_ = allows; }
    bool allowsActions() const { return allowsActions_; }
    void setAllowsActions(bool allows) { allowsActions_ = allows; }
    std::shared_ptr<ABUnknownPersonViewControllerDelegate> unknownPersonViewDelegate() const { return delegate_.lock(); }
    void setUnknownPersonViewDelegate(std::weak_ptr<ABUnknownPersonViewControllerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // The person chose a contact (or none) for the shown record.
    void resolveToPerson(const ABRecordRef& person);

    void loadView() override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "ABUnknownPersonViewController"; }

private:
    ABRecordRef displayedPerson_;
    ABAddressBookRef addressBook_;
    bool allowsAddingToAddressBook_ = false;
    bool allowsActions_ = false;
    std::weak_ptr<ABUnknownPersonViewControllerDelegate> delegate_;
};

// A person choosing in the picker: each choice answers whether it goes on
// (yes without a delegate); cancelling tells the delegate.
class ABPeoplePickerNavigationController : public uikit::UINavigationController {
public:
    std::shared_ptr<ABPeoplePickerNavigationControllerDelegate> peoplePickerDelegate() const { return delegate_.lock(); }
    void setPeoplePickerDelegate(std::weak_ptr<ABPeoplePickerNavigationControllerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    bool selectPerson(const ABRecordRef& person);
    bool selectValue(const ABRecordRef& person, ABPropertyID property, ABMultiValueIdentifier identifier);
    void cancel();

    std::string className() const override { return "ABPeoplePickerNavigationController"; }

private:
    std::weak_ptr<ABPeoplePickerNavigationControllerDelegate> delegate_;
};

class ABPersonViewController : public uikit::UIViewController {
public:
    const ABRecordRef& displayedPerson() const { return displayedPerson_; }
    void setDisplayedPerson(ABRecordRef person) { displayedPerson_ = std::move(person); }
    std::shared_ptr<ABPersonViewControllerDelegate> personViewDelegate() const { return delegate_.lock(); }
    void setPersonViewDelegate(std::weak_ptr<ABPersonViewControllerDelegate> delegate) { delegate_ = std::move(delegate); }

    // A person tapping one of the shown values: whether its default action runs.
    bool selectValue(ABPropertyID property, ABMultiValueIdentifier identifier);

    std::string className() const override { return "ABPersonViewController"; }

private:
    ABRecordRef displayedPerson_;
    std::weak_ptr<ABPersonViewControllerDelegate> delegate_;
};

}  // namespace addressbook
