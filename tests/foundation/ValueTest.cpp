#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/Error.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/Value.h"

using namespace foundation;

TEST(Value, AbsentNullAndNumberKindsStayApart) {
    Value absent;
    EXPECT_TRUE(absent.isAbsent());
    EXPECT_EQ(absent.description(), "(null)");
    EXPECT_TRUE(Value::null().isNull());
    EXPECT_NE(absent, Value::null());
    EXPECT_TRUE(Value(true).isBool());
    EXPECT_TRUE(Value(7).isInteger());
    EXPECT_EQ(Value(7).description(), "7");
    EXPECT_EQ(Value(12.9).description(), "12.9");
    EXPECT_EQ(Value(7), Value(7.0));
}

TEST(Value, ConversionTableOfTheModels) {
    EXPECT_EQ(Value(12.9).intValue(), 12);
    EXPECT_EQ(Value(-3.5).intValue(), -3);
    EXPECT_EQ(Value("  -42abc").intValue(), -42);
    EXPECT_EQ(Value("abc").intValue(), 0);
    EXPECT_EQ(Value("99999999999").intValue(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Value(1e300).intValue(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Value(std::nan("")).intValue(), 0);
    EXPECT_DOUBLE_EQ(Value(" 2.5e1x").doubleValue(), 25.0);
    EXPECT_EQ(Value("1e999").doubleValue(), std::numeric_limits<double>::max());
    EXPECT_TRUE(Value(" +0012").boolValue());
    EXPECT_TRUE(Value("yes").boolValue());
    EXPECT_TRUE(Value("true").boolValue());
    EXPECT_FALSE(Value("0").boolValue());
    EXPECT_FALSE(Value("no").boolValue());
    EXPECT_FALSE(Value::null().boolValue());
    EXPECT_TRUE(Value(2).boolValue());
}

TEST(Value, DictionaryAndArrayAccessNeverThrows) {
    Value d = Value::dictionary({{"a", 1}, {"n", Value::null()}});
    EXPECT_EQ(d["a"].intValue(), 1);
    EXPECT_TRUE(d["missing"].isAbsent());
    EXPECT_TRUE(Value(3)["a"].isAbsent());
    Value a = Value::array({1, "x"});
    EXPECT_EQ(*a.at(1).string(), "x");
    EXPECT_TRUE(a.at(5).isAbsent());
    EXPECT_EQ(a.description(), "(\n    1,\n    x\n)");
}

TEST(Value, CopiesShareCollectionsUntilOneChanges) {
    Value page = Value::array({Value::dictionary({{"id", "1"}}), Value::dictionary({{"id", "2"}})});
    Value copy = page;
    const Value& readOnly = copy;
    EXPECT_EQ(readOnly.array(), static_cast<const Value&>(page).array()) << "a copy shares the elements";

    copy.append(3);
    (*copy.array())[0]["id"] = "changed";
    EXPECT_EQ(page.count(), 2u);
    EXPECT_EQ(page.at(0)["id"].stringValue(), "1");
    EXPECT_EQ(copy.count(), 3u);
    EXPECT_EQ(copy.at(0)["id"].stringValue(), "changed");

    Value info = Value::dictionary({{"a", 1}});
    Value kept = info;
    info["b"] = 2;
    info.dictionary()->erase("a");
    EXPECT_EQ(kept, Value::dictionary({{"a", 1}}));
    EXPECT_EQ(info, Value::dictionary({{"b", 2}}));
    EXPECT_NE(kept, info);
    EXPECT_EQ(Value(kept), kept);

    // A moved-from collection reads as empty and can be written again.
    Value moved = std::move(kept);
    EXPECT_EQ(moved.count(), 1u);
    EXPECT_EQ(kept.count(), 0u);  // NOLINT(bugprone-use-after-move)
    EXPECT_TRUE(kept["a"].isAbsent());
    kept["c"] = 3;
    EXPECT_EQ(kept["c"].intValue(), 3);
}

TEST(Format, ConversionsOfTheSystemsTexts) {
    EXPECT_EQ(Format("%@_%@", "tok", 42), "tok_42");
    EXPECT_EQ(Format("%d|%i|%ld|%lu|%llu", 1, -2, 3L, 4UL, 5ULL), "1|-2|3|4|5");
    EXPECT_EQ(Format("%s %c %%", "str", 'x'), "str x %");
    // A character pads like every other conversion.
    EXPECT_EQ(Format("[%3c][%-3c][%*c]", 'a', 'b', 2, 'c'), "[  a][b  ][ c]");
    EXPECT_EQ(Format("%2.3f %0.2f %.f%%", 3.14159, 2.5, 49.6), "3.142 2.50 50%");
    EXPECT_EQ(Format("%0.1g", 0.25), "0.2");
    EXPECT_EQ(Format("%02x%08X", 10, 0xBEEF), "0a0000BEEF");
    EXPECT_EQ(Format("%@", Value()), "(null)");
    EXPECT_EQ(Format("%@/%@", std::optional<std::string>("a"), std::optional<std::string>()), "a/(null)");
    EXPECT_EQ(Format("%@ %@", "only one"), "only one (null)");
    EXPECT_EQ(Format("%d", "12abc"), "12");
}

TEST(Error, DescriptionAndUnderlying) {
    auto inner = Error::withDescription(kURLErrorDomain, URLError::NotConnectedToInternet, "offline");
    auto e = Error::make("com.QVA.EVENTS.ErrorDomain", 1, {}, inner);
    EXPECT_EQ(e->underlyingError()->code(), -1009);
    EXPECT_EQ(inner->localizedDescription(), "offline");
    EXPECT_NE(e->localizedDescription().find("com.QVA.EVENTS.ErrorDomain error 1"), std::string::npos);
}

TEST(Log, CaptureCollectsLines) {
    ScopedLogCapture capture;
    Log("An error occured when calling service:%@.", "events");
    EXPECT_TRUE(capture.contains("An error occured when calling service:events."));
}
