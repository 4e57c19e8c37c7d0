// Any bytes given to the address book's vCard reader (the book's file lies in
// the application's home, where anyone may have put it) end in some people,
// never a crash. What is read writes lines of at most 75 octets, and that
// text reads back to the same people and writes again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "addressbook/VCard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto people = addressbook::VCard::read(text);
    const std::string written = addressbook::VCard::write(people);
    size_t start = 0;
    while (start < written.size()) {
        const size_t end = written.find("\r\n", start);
        if (end == std::string::npos || end - start > 75) std::abort();
        start = end + 2;
    }
    const auto again = addressbook::VCard::read(written);
    if (again.size() != people.size()) std::abort();
    if (addressbook::VCard::write(again) != written) std::abort();
    return 0;
}
