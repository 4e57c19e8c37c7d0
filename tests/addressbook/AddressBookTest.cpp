// The address book's vCard file: what a saved person holds, reading it back
// when the book opens, a book that cannot be opened, and the form's
// completion.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "addressbook/ABAddressBook.h"
#include "addressbook/ABPersonViewControllers.h"
#include "addressbook/VCard.h"
#include "foundation/ApplicationHome.h"
#include "support/TemporaryDirectory.h"

namespace {

using namespace addressbook;

class AddressBookTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousHome_ = foundation::ApplicationHome::root();
        foundation::ApplicationHome::setRoot(home_.path());
    }
    void TearDown() override {
        ABAddressBookSetOpeningFails(false);
        foundation::ApplicationHome::setRoot(previousHome_);
    }
    static ABRecordRef jo() {
        auto person = ABPersonCreate();
        ABRecordSetValue(person, ABPropertyID::FirstName, std::string("Jo"));
        ABRecordSetValue(person, ABPropertyID::LastName, std::string("Lane; Jr"));
        ABRecordSetValue(person, ABPropertyID::Organization, std::string("Acme, Inc"));
        auto phones = ABMultiValueCreateMutable();
        ABMultiValueAddValueAndLabel(phones, "+41 22 000", kABPersonPhoneMainLabel);
        ABMultiValueAddValueAndLabel(phones, "+41 79 000", kABPersonPhoneMobileLabel);
        ABRecordSetValue(person, ABPropertyID::Phone, phones);
        auto emails = ABMultiValueCreateMutable();
        ABMultiValueAddValueAndLabel(emails, "jo@acme.test", kABWorkLabel);
        ABRecordSetValue(person, ABPropertyID::Email, emails);
        ABRecordSetValue(person, ABPropertyID::Note, std::string("Met in Oslo\nTalk again") + std::string(80, 'x'));
        return person;
    }
    static std::string fileText() {
        std::ifstream file(ABAddressBookFilePath());
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    TemporaryDirectory home_;
    std::string previousHome_;
};

class RecordingNewPersonDelegate : public ABNewPersonViewControllerDelegate {
public:
    void newPersonViewControllerDidCompleteWithNewPerson(ABNewPersonViewController&, const ABRecordRef& person) override {
        ++calls;
        last = person;
    }
    int calls = 0;
    ABRecordRef last;
};

TEST_F(AddressBookTest, ASavedPersonIsOneVCardThatOpensAgainWithItsLabels) {
    auto delegate = std::make_shared<RecordingNewPersonDelegate>();
    auto form = std::make_shared<ABNewPersonViewController>();
    form->setDisplayedPerson(jo());
    form->setNewPersonViewDelegate(delegate);
    form->save();
    form->save();
    EXPECT_EQ(delegate->calls, 1);
    EXPECT_TRUE(delegate->last);

    const std::string text = fileText();
    EXPECT_NE(text.find("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lane\\; Jr;Jo;;;\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ORG:Acme\\, Inc\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("TEL;TYPE=CELL:+41 79 000\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("EMAIL;TYPE=INTERNET,WORK:jo@acme.test\r\n"), std::string::npos) << text;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        EXPECT_LE(end - start, 75u);

    auto people = ABAddressBookCopyArrayOfAllPeople(ABAddressBookCreateWithOptions(nullptr));
    ASSERT_EQ(people.size(), 1u);
    EXPECT_EQ(people[0]->lastName, std::optional<std::string>("Lane; Jr"));
    EXPECT_EQ(people[0]->note, jo()->note);
    ASSERT_TRUE(people[0]->phones);
    EXPECT_EQ(people[0]->phones->valuesAndLabels, jo()->phones->valuesAndLabels);
    EXPECT_EQ(people[0]->emails->valuesAndLabels, jo()->emails->valuesAndLabels);
}

TEST_F(AddressBookTest, ABookThatCannotBeOpenedIsNullAndMatchesNobody) {
    ABAddressBookSetOpeningFails(true);
    foundation::ErrorPtr error;
    auto book = ABAddressBookCreateWithOptions(&error);
    EXPECT_FALSE(book);
    EXPECT_TRUE(error);
    EXPECT_TRUE(ABAddressBookCopyArrayOfAllPeople(book).empty());
}

TEST_F(AddressBookTest, CancellingTheFormSavesNothing) {
    auto delegate = std::make_shared<RecordingNewPersonDelegate>();
    auto form = std::make_shared<ABNewPersonViewController>();
    form->setDisplayedPerson(jo());
    form->setNewPersonViewDelegate(delegate);
    form->cancel();
    EXPECT_EQ(delegate->calls, 1);
    EXPECT_FALSE(delegate->last);
    EXPECT_TRUE(ABAddressBookCopyArrayOfAllPeople(ABAddressBookCreateWithOptions(nullptr)).empty());
}

TEST_F(AddressBookTest, UnknownLinesAndTruncatedCardsAreSkipped) {
    const auto people = VCard::read("X-JUNK\r\nBEGIN:VCARD\r\nN:A;B\r\nPHOTO;ENCODING=b:zz\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:C;D\r\n");
    ASSERT_EQ(people.size(), 1u);
    EXPECT_EQ(people[0]->firstName, std::optional<std::string>("B"));
}

TEST_F(AddressBookTest, AnUnlabelledPhoneReadsBackUnlabelledAndWritesTheSameBytes) {
    auto person = ABPersonCreate();
    ABRecordSetValue(person, ABPropertyID::LastName, std::string("Lane"));
    auto phones = ABMultiValueCreateMutable();
    ABMultiValueAddValueAndLabel(phones, "+41 22 000", "");
    ABMultiValueAddValueAndLabel(phones, "+41 22 111", kABPersonPhoneMainLabel);
    ABRecordSetValue(person, ABPropertyID::Phone, phones);
    const std::string written = VCard::write({person});
    const auto people = VCard::read(written);
    ASSERT_EQ(people.size(), 1u);
    EXPECT_EQ(people[0]->phones->valuesAndLabels, phones->valuesAndLabels);
    EXPECT_EQ(VCard::write(people), written);
    // VOICE is the default type: among others it names no label.
    const auto other = VCard::read("BEGIN:VCARD\r\nTEL;TYPE=voice,fax:1\r\nEND:VCARD\r\n");
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0]->phones->valuesAndLabels[0].second, "fax");
}

// A CR has no place in a vCard value: a family name of a bare CR is written
// empty, so the formatted name has no blank before it and the file is the
// same on its second writing.
TEST_F(AddressBookTest, AFamilyNameOfABareCRLeavesNoBlankInTheFormattedName) {
    const auto people = VCard::read("BEGIN:VCARD\nN:\r;C\nEND:VCARD");
    ASSERT_EQ(people.size(), 1u);
    const std::string written = VCard::write(people);
    EXPECT_NE(written.find("\r\nFN:C\r\n"), std::string::npos) << written;
    EXPECT_EQ(VCard::write(VCard::read(written)), written);
}

class RecordingPickerDelegate : public ABPeoplePickerNavigationControllerDelegate {
public:
    void peoplePickerNavigationControllerDidCancel(ABPeoplePickerNavigationController&) override { ++cancels; }
    bool peoplePickerNavigationControllerShouldContinueAfterSelectingPerson(ABPeoplePickerNavigationController&,
                                                                           const ABRecordRef&) override {
        return false;
    }
    bool peoplePickerNavigationControllerShouldContinueAfterSelectingPerson(ABPeoplePickerNavigationController&,
                                                                           const ABRecordRef&, ABPropertyID,
                                                                           ABMultiValueIdentifier) override {
        return true;
    }
    int cancels = 0;
};

TEST_F(AddressBookTest, ThePickersChoicesGoOnAsItsDelegateAnswers) {
    auto picker = std::make_shared<ABPeoplePickerNavigationController>();
    EXPECT_TRUE(picker->selectPerson(jo()));
    auto delegate = std::make_shared<RecordingPickerDelegate>();
    picker->setPeoplePickerDelegate(delegate);
    EXPECT_FALSE(picker->selectPerson(jo()));
    EXPECT_TRUE(picker->selectValue(jo(), ABPropertyID::Phone, 0));
    picker->cancel();
    EXPECT_EQ(delegate->cancels, 1);
}

}  // namespace
