#include <gtest/gtest.h>

#include "Utils/ArrayUtility.h"
#include "Utils/DictionaryUtility.h"
#include "Utils/ErrorUtility.h"
#include "Utils/StringUtility.h"
#include "foundation/HTTPURLResponse.h"

using foundation::Value;

TEST(StringUtility, EmptinessSectionLettersAndHash) {
    EXPECT_TRUE(StringUtility::isNilOrEmpty(Value()));
    EXPECT_TRUE(StringUtility::isNilOrEmpty(Value::null()));
    EXPECT_TRUE(StringUtility::isNilOrEmpty(Value("")));
    EXPECT_FALSE(StringUtility::isNilOrEmpty(Value(" ")));

    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("élan", false), "E");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("Émile", false), "E");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("2pac", false), "#");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii(" ann", false), "#");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("", false), "#");
    // Plain ASCII letters, and an ASCII letter or digit a mark combines with.
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("smith", false), "S");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("z", true), "Z");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("e\u0301tienne", false), "E");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("1\u0301x", true), "1");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("1\u0301x", false), "#");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("\u00dfe", false), "S");
    // An ASCII letter before letters beyond ASCII, and a digit a spacing
    // mark joins.
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("m\u00fcller", false), "M");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("L\u00f3pez", true), "L");
    EXPECT_EQ(StringUtility::getSectionCharConvertedToAscii("1\u093ex", true), "1");

    EXPECT_EQ(StringUtility::getHashed("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(StringUtility::getHashed(std::string("abc\0def", 7)), StringUtility::getHashed("abc"));
}

TEST(ArrayUtility, QueriesOnMixedArrays) {
    Value mixed = Value::array({1, "a", 2, "b"});
    EXPECT_FALSE(ArrayUtility::any(Value()));
    EXPECT_FALSE(ArrayUtility::any(Value::array({})));
    EXPECT_TRUE(ArrayUtility::any(mixed));
    EXPECT_EQ(ArrayUtility::indexOfString(mixed, "b"), 3);
    EXPECT_EQ(ArrayUtility::indexOfString(mixed, "z"), -1);
    EXPECT_TRUE(ArrayUtility::containsString(mixed, "a"));
    EXPECT_EQ(ArrayUtility::uniqueElements(Value::array({"x", "y", "x"})), Value::array({"x", "y"}));
    EXPECT_TRUE(ArrayUtility::isAPlainArray(Value::array({})));
    Value sections = Value::array({Value::array({1, 2}), Value::array({3})});
    EXPECT_FALSE(ArrayUtility::isAPlainArray(sections));
    EXPECT_EQ(ArrayUtility::indexedCount(sections), 3);
}

TEST(DictionaryAndErrorUtility, NullSafeReadsAndStatusCodes) {
    Value d = Value::dictionary({{"a", Value::null()}, {"b", 2}});
    EXPECT_TRUE(DictionaryUtility::objectForKeyNotNull(d, "a").isAbsent());
    EXPECT_TRUE(DictionaryUtility::objectForKeyNotNull(d, "missing").isAbsent());
    EXPECT_EQ(DictionaryUtility::objectForKeyNotNull(d, "b").intValue(), 2);
    EXPECT_TRUE(DictionaryUtility::objectForKeyNotNull(Value("text"), "a").isAbsent());

    auto offline = foundation::Error::make(foundation::kURLErrorDomain, -1009);
    EXPECT_EQ(ErrorUtility::HTTPErrorCode(offline), -1009);
    auto rejected = foundation::Error::make(
        "com.QVA.EVENTS.ErrorDomain", 1,
        {{ErrorUtility::kErrorResponseObjectKey, Value(std::make_shared<foundation::HTTPURLResponse>(409))}});
    EXPECT_EQ(ErrorUtility::HTTPErrorCode(rejected), 409);
}
