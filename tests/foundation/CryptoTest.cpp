// Digests against published vectors, strict Base64, random bytes and UUIDs.
#include <gtest/gtest.h>


#include "foundation/Crypto.h"

using namespace foundation;

TEST(Crypto, DigestsOfKnownVectors) {
    EXPECT_EQ(Crypto::sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(Crypto::sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Crypto::sha256Hex(Data::fromString("abc")),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Crypto::sha1(Data::fromString("abc")).length(), 20u);
    EXPECT_EQ(Crypto::sha256(Data()).length(), 32u);
}

TEST(Crypto, Base64IsStrict) {
    EXPECT_EQ(Crypto::base64Encode(Data::fromString("foob")), "Zm9vYg==");
    EXPECT_EQ(Crypto::base64Encode(Data()), "");
    for (const char* text : {"", "Zg==", "Zm8=", "Zm9v", "Zm9vYmFy"}) {
        auto decoded = Crypto::base64Decode(text);
        ASSERT_TRUE(decoded) << text;
        EXPECT_EQ(Crypto::base64Encode(*decoded), text);
    }
    for (const char* garbage : {"Zg=", "Zm9v YmFy", "Zm9v\n", "Z===", "====", "Zm=v", "Zm9*", "A"}) {
        EXPECT_FALSE(Crypto::base64Decode(garbage)) << garbage;
    }
}

TEST(Crypto, RandomBytesAndUUIDs) {
    EXPECT_EQ(Crypto::randomBytes(33).length(), 33u);
    EXPECT_NE(Crypto::randomBytes(16), Crypto::randomBytes(16));
    std::string uuid = Crypto::uuidString();
    // Upper-case hex in 8-4-4-4-12 groups, version 4, RFC 4122 variant.
    ASSERT_EQ(uuid.size(), 36u);
    for (size_t i = 0; i < uuid.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            EXPECT_EQ(uuid[i], '-');
        } else {
            EXPECT_NE(std::string("0123456789ABCDEF").find(uuid[i]), std::string::npos) << uuid;
        }
    }
    EXPECT_EQ(uuid[14], '4');
    EXPECT_NE(std::string("89AB").find(uuid[19]), std::string::npos)
        << uuid;
    EXPECT_NE(uuid, Crypto::uuidString());
}
