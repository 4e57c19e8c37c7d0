// The app mode's masking of object addresses in the log lines it prints.
#include <gtest/gtest.h>

#include "quovana/MaskedAddresses.h"

using quovana::maskedAddresses;

TEST(MaskedAddressesTest, AddressesBecomeAnEllipsisAndOtherHexStays) {
    EXPECT_EQ(maskedAddresses("<NSHTTPURLResponse: 0x7fa7300048d0> { status 500 }"),
              "<NSHTTPURLResponse: 0x\xE2\x80\xA6> { status 500 }");
    EXPECT_EQ(maskedAddresses("0x1 and 0xdeadBEEF,0x2"), "0x\xE2\x80\xA6 and 0x\xE2\x80\xA6,0x\xE2\x80\xA6");
    // Inside a word, or without digits, it is text.
    EXPECT_EQ(maskedAddresses("id a0x12 0x 0xg"), "id a0x12 0x 0xg");
    EXPECT_EQ(maskedAddresses(""), "");
}
