// The address book's file format: vCard 3.0 (RFC 2426) with N, FN, ORG,
// TEL and EMAIL with their TYPE, and NOTE. Texts are escaped and folded as
// the format says; what the reader does not know it skips.
#pragma once

#include <string>
#include <vector>

#include "addressbook/ABAddressBook.h"

namespace addressbook::VCard {

std::string write(const std::vector<ABRecordRef>& people);
std::vector<ABRecordRef> read(const std::string& text);

}  // namespace addressbook::VCard
