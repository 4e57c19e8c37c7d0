// Charset names to encodings and strict conversions to and from UTF-8.
#include <gtest/gtest.h>

#include "foundation/Charset.h"

using namespace foundation;
using namespace std::string_view_literals;

TEST(Charset, NamesMapToEncodingsAndBack) {
    EXPECT_EQ(Charset::encodingForIANAName("utf-8"), StringEncoding::UTF8);
    EXPECT_EQ(Charset::encodingForIANAName("UTF8"), StringEncoding::UTF8);
    EXPECT_EQ(Charset::encodingForIANAName("ISO-8859-1"), StringEncoding::ISOLatin1);
    EXPECT_EQ(Charset::encodingForIANAName("latin1"), StringEncoding::ISOLatin1);
    EXPECT_EQ(Charset::encodingForIANAName("us-ascii"), StringEncoding::ASCII);
    EXPECT_EQ(Charset::encodingForIANAName("utf-16"), StringEncoding::UTF16);
    EXPECT_EQ(Charset::encodingForIANAName("klingon"), StringEncoding::None);
    EXPECT_EQ(Charset::encodingForIANAName("utf-8\0x"sv), StringEncoding::None);
    EXPECT_EQ(uint32_t(StringEncoding::UTF8), 4u);
    EXPECT_EQ(Charset::ianaName(StringEncoding::ISOLatin1), "iso-8859-1");
    EXPECT_FALSE(Charset::ianaName(StringEncoding::None));
}

TEST(Charset, DecodingAndEncodingAreStrict) {
    EXPECT_EQ(Charset::decode(Data::fromString("caf\xE9"), StringEncoding::ISOLatin1), "café");
    EXPECT_EQ(Charset::decode(Data::fromString("\xFE\xFF\x00h\x00i"sv), StringEncoding::UTF16), "hi");
    EXPECT_EQ(Charset::decode(Data::fromString("\xFF\xFEh\x00i\x00"sv), StringEncoding::UTF16), "hi");
    EXPECT_EQ(Charset::decode(Data::fromString("h\x00i\x00"sv), StringEncoding::UTF16LittleEndian), "hi");
    EXPECT_FALSE(Charset::decode(Data::fromString("caf\xE9"), StringEncoding::UTF8));
    EXPECT_FALSE(Charset::decode(Data::fromString("caf\xE9"), StringEncoding::ASCII));
    EXPECT_FALSE(Charset::decode(Data::fromString("\x00h\x00"sv), StringEncoding::UTF16BigEndian));
    EXPECT_FALSE(Charset::decode(Data::fromString("abc"), StringEncoding::None));
    EXPECT_EQ(Charset::decode(Data(), StringEncoding::ASCII), "");

    EXPECT_EQ(Charset::encode("café", StringEncoding::ISOLatin1), Data::fromString("caf\xE9"));
    EXPECT_EQ(Charset::encode("hi", StringEncoding::UTF16BigEndian), Data::fromString("\x00h\x00i"sv));
    EXPECT_FALSE(Charset::encode("café", StringEncoding::ASCII));
    EXPECT_FALSE(Charset::encode("bad \xFF", StringEncoding::UTF8));
}
