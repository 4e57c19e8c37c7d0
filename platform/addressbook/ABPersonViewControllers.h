// The address book's two screens the app presents: the new-person form
// (completed by saving, which adds the person to the book and writes it, or
// by cancelling) and the unknown-person card offering to add to or resolve
// against an existing contact. Each holds its record and a weak delegate;
// the dump prints the record shown. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "addressbook/ABAddressBook.h"
#include "uikit/UIViewController.h"

namespace addressbook {

class ABNewPersonViewController;
class ABUnknownPersonViewController;

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

}  // namespace addressbook
