// JSON reading errors, number kinds through a round trip, write errors and the depth limit.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/JSONSerialization.h"

using namespace foundation;

namespace {
Value parseJSON(std::string_view text, unsigned options = 0, ErrorPtr* error = nullptr) {
    return JSONSerialization::JSONObjectWithString(text, options, error);
}
}  // namespace

TEST(JSON, BadInputGivesAnError) {
    const std::string invalid[] = {
        "", "{", "[1,]", "{\"a\" 1}", "{'a':1}", "[1] x", "nul", "[\"\xff\"]", "[\"\xc3\"]", "[\"\\ud800\"]",
        "[01]",
    };
    for (const auto& text : invalid) {
        ErrorPtr error;
        EXPECT_TRUE(parseJSON(text, 0, &error).isAbsent()) << text;
        ASSERT_TRUE(error) << text;
        EXPECT_EQ(error->domain(), kCocoaErrorDomain);
        EXPECT_EQ(error->code(), JSONSerialization::kReadCorruptError);
    }
    for (const char* scalar : {"1", "\"s\"", "true", "null", "2.5"}) {
        ErrorPtr error;
        EXPECT_TRUE(parseJSON(scalar, 0, &error).isAbsent()) << scalar;
        EXPECT_TRUE(error) << scalar;
        EXPECT_FALSE(parseJSON(scalar, JSONSerialization::ReadingAllowFragments, &error).isAbsent()) << scalar;
        EXPECT_FALSE(error);
    }
    EXPECT_TRUE(parseJSON("null", JSONSerialization::ReadingAllowFragments).isNull());
}

TEST(JSON, NumberKindsSurviveARoundTrip) {
    const char* text = R"({"i":7,"neg":-5,"r":1.5,"whole":2.0,"exp":1e300,"t":true,"f":false,"n":null,)"
                       R"("big":9223372036854775807,"huge":18446744073709551615,"s":"caf\u00e9 \"q\"","a":[1,[]],"o":{}})";
    Value v = parseJSON(text);
    ASSERT_TRUE(v.isDictionary());
    EXPECT_TRUE(v["i"].isInteger());
    EXPECT_EQ(v["neg"].integerValue(), -5);
    EXPECT_TRUE(v["r"].isReal());
    EXPECT_TRUE(v["whole"].isReal());
    EXPECT_TRUE(v["t"].isBool());
    EXPECT_TRUE(v["f"].isBool());
    EXPECT_TRUE(v["n"].isNull());
    EXPECT_EQ(v["big"].integerValue(), INT64_MAX);
    EXPECT_TRUE(v["huge"].isReal());
    EXPECT_EQ(*v["s"].string(), "caf\u00e9 \"q\"");

    auto written = JSONSerialization::stringWithJSONObject(v);
    ASSERT_TRUE(written);
    Value again = parseJSON(*written);
    ASSERT_TRUE(again.isDictionary());
    for (const auto& [key, item] : *v.dictionary()) {
        EXPECT_EQ(again[key].type(), item.type()) << key;
        EXPECT_EQ(again[key], item) << key;
    }
    EXPECT_EQ(*JSONSerialization::stringWithJSONObject(Value::dictionary({{"a", Value::array({1, 2.5, true})}})),
              R"({"a":[1,2.5,true]})");
    auto pretty = JSONSerialization::stringWithJSONObject(Value::array({1}), JSONSerialization::WritingPrettyPrinted);
    EXPECT_NE(pretty->find('\n'), std::string::npos);
}

TEST(JSON, WhatJSONCannotSayIsAWriteError) {
    const Value unwritable[] = {
        Value::array({Value(Date(0))}), Value::array({Value(Data::fromString("x"))}),
        Value::array({Value(std::make_shared<Object>())}), Value::array({Value()}),
        Value::array({Value(std::nan(""))}), Value::array({Value(INFINITY)}), Value("top-level string"),
        Value::array({Value(std::string("\xff"))}),
    };
    for (const auto& v : unwritable) {
        ErrorPtr error;
        EXPECT_FALSE(JSONSerialization::dataWithJSONObject(v, 0, &error)) << v.description();
        EXPECT_TRUE(error);
    }
    EXPECT_FALSE(JSONSerialization::isValidJSONObject(Value::array({Value(Date(0))})));
    EXPECT_EQ(*JSONSerialization::stringWithJSONObject(Value(3), JSONSerialization::WritingFragmentsAllowed), "3");
}

TEST(JSON, DeepNestingIsRefusedWithoutExhaustingTheStack) {
    ErrorPtr error;
    EXPECT_TRUE(parseJSON(std::string(1000000, '['), 0, &error).isAbsent());
    EXPECT_TRUE(error);
    size_t limit = JSONSerialization::kMaxDepth;
    Value deepest = parseJSON(std::string(limit, '[') + std::string(limit, ']'), 0, &error);
    EXPECT_TRUE(deepest.isArray());
    EXPECT_TRUE(parseJSON(std::string(limit + 1, '[') + std::string(limit + 1, ']')).isAbsent());
}
