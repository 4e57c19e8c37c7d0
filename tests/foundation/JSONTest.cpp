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
        "[01]", "[1e400]", std::string("[1]\0 x", 6),
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

TEST(JSON, ArraysNestedAnyWayKeepTheirOwnElementsInOrder) {
    const char* text = R"([[1,[2,3],4],{"k":[5,[6,{"m":[]}]],"l":7},[],8,[[[9]]]])";
    Value v = parseJSON(text);
    const Value expected = Value::array(
        {Value::array({1, Value::array({2, 3}), 4}),
         Value::dictionary(
             {{"k", Value::array({5, Value::array({6, Value::dictionary({{"m", Value(Value::Array{})}})})})},
              {"l", 7}}),
         Value(Value::Array{}), 8, Value::array({Value::array({Value::array({9})})})});
    EXPECT_EQ(v, expected);
    EXPECT_EQ(*JSONSerialization::stringWithJSONObject(v), text);
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

// The text written: escapes only where JSON needs them, the compact and the
// indented layouts, and which fault is reported when a value has several.
TEST(JSON, WrittenTextIsExact) {
    std::string controls;
    for (char c = 1; c < 0x20; ++c) controls += c;
    Value v = Value::dictionary({{"k\"\\", Value("a\"b\\c/d\x7f\u00e9\u2028" + controls)}});
    EXPECT_EQ(*JSONSerialization::stringWithJSONObject(v),
              "{\"k\\\"\\\\\":\"a\\\"b\\\\c/d\x7f\u00e9\u2028"
              "\\u0001\\u0002\\u0003\\u0004\\u0005\\u0006\\u0007\\b\\t\\n\\u000b\\f\\r\\u000e\\u000f"
              "\\u0010\\u0011\\u0012\\u0013\\u0014\\u0015\\u0016\\u0017\\u0018\\u0019\\u001a\\u001b"
              "\\u001c\\u001d\\u001e\\u001f\"}");
    EXPECT_EQ(parseJSON(*JSONSerialization::stringWithJSONObject(v)), v);

    Value nested = Value::dictionary({{"b", Value::array({1, Value::dictionary({}), Value::array({})})},
                                      {"a", Value::dictionary({{"x", Value::null()}, {"y", -0.5}})},
                                      {"c", Value(INT64_MIN)}});
    EXPECT_EQ(*JSONSerialization::stringWithJSONObject(nested),
              R"({"a":{"x":null,"y":-0.5},"b":[1,{},[]],"c":-9223372036854775808})");
    EXPECT_EQ(*JSONSerialization::stringWithJSONObject(nested, JSONSerialization::WritingPrettyPrinted),
              "{\n  \"a\": {\n    \"x\": null,\n    \"y\": -0.5\n  },\n  \"b\": [\n    1,\n    {},\n    []\n  ],\n"
              "  \"c\": -9223372036854775808\n}");
    EXPECT_EQ(*JSONSerialization::stringWithJSONObject(Value::array({0.1, 100.0, 1e300})), "[0.1,100.0,1e+300]");

    // A string that is not UTF-8 is reported only when nothing else is wrong,
    // and in a key as in a value.
    ErrorPtr error;
    EXPECT_FALSE(JSONSerialization::stringWithJSONObject(
        Value::array({Value(std::string("\xff")), Value(Date(0))}), 0, &error));
    ASSERT_TRUE(error);
    EXPECT_NE(error->localizedDescription().find("date"), std::string::npos);
    EXPECT_FALSE(JSONSerialization::stringWithJSONObject(
        Value::dictionary({{std::string("long ascii key \xc3"), Value(1)}}), 0, &error));
    ASSERT_TRUE(error);
    EXPECT_NE(error->localizedDescription().find("UTF-8"), std::string::npos);
    EXPECT_TRUE(JSONSerialization::isValidJSONObject(Value::array({Value(std::string("\xff"))})));
}

// Objects are filled as their keys arrive: in order, out of order, and with a
// key given twice (the last one counts), long texts beside short ones.
TEST(JSON, ObjectsKeepEveryKeyAndTheLastOfARepeatedOne) {
    const std::string longText(70, 'x');
    const std::string longKey = "a key longer than any short string";
    Value parsed = parseJSON(R"({"b":1,"a":"first","c":{"z":1,"y":2},"a":")" + longText + R"(","d":"s",")" + longKey +
                             R"(":")" + longText + R"(e","e":[")" + longText + R"(","t",""],"b":null})");
    EXPECT_EQ(parsed, Value::dictionary({{"a", Value(longText)},
                                         {"b", Value::null()},
                                         {"c", Value::dictionary({{"y", 2}, {"z", 1}})},
                                         {"d", "s"},
                                         {longKey, Value(longText + "e")},
                                         {"e", Value::array({Value(longText), "t", ""})}}));
    EXPECT_EQ(parseJSON(R"([{"k":1,"k":2},{"k":3}])"),
              Value::array({Value::dictionary({{"k", 2}}), Value::dictionary({{"k", 3}})}));

    // Told to, the reader refuses a key given twice in one object, at any
    // depth and in or out of order, and reads the rest as before.
    const auto strictly = [](const std::string& text) {
        ErrorPtr error;
        Value value = JSONSerialization::JSONObjectWithString(text, JSONSerialization::ReadingRefuseRepeatedKeys, &error);
        EXPECT_EQ(value.isAbsent(), error != nullptr) << text;
        return value;
    };
    for (const std::string repeated : {R"({"a":1,"a":1})", R"({"b":1,"a":2,"b":3})", R"([{"k":{"z":1,"y":2,"z":1}}])"})
        EXPECT_TRUE(strictly(repeated).isAbsent()) << repeated;
    for (const std::string once : {R"({"b":1,"a":2,"c":3})", R"([{"k":1},{"k":3}])", R"({"k":{"k":{"k":1}}})"})
        EXPECT_EQ(strictly(once), parseJSON(once)) << once;
}

TEST(JSON, LongTokensReadWholeAndNumbersAfterThemReadExactly) {
    // Longer than the reader's first buffer, with escapes and multi-byte
    // characters on the way, and a number right after it that must read as
    // its own text, not as what the buffer held before.
    std::string longText;
    for (int i = 0; i < 300; ++i) longText += "\\u00e9\\\"x";
    std::string expected;
    for (int i = 0; i < 300; ++i) expected += "\xc3\xa9\"x";
    const std::string digits(400, '7');
    Value read = parseJSON("{\"" + std::string(600, 'k') + "\": \"" + longText + "\", \"n\": 12, \"r\": 0." + digits +
                           "e-3, \"m\": -9007199254740993}");
    ASSERT_TRUE(read.dictionary());
    EXPECT_EQ(read[std::string(600, 'k')].stringValue(), expected);
    EXPECT_EQ(read["n"].integerValue(), 12);
    EXPECT_DOUBLE_EQ(read["r"].doubleValue(), 0.000777777777777777777);
    EXPECT_EQ(read["m"].integerValue(), -9007199254740993LL);
}

// The parser reads lazily: every malformed place must still be refused,
// whether it is in a container's punctuation, in a word, after the value, or
// in a string's escapes.
TEST(JSON, EveryMalformedPlaceIsRefused) {
    const std::string invalid[] = {
        "[1,2", "[1 2]", "{\"a\":1,}", "{\"a\":}", "{:1}", "{1:1}", "[,1]", "[\"a\"\"b\"]", "{\"a\":1}}", "[1]]",
        "[] []", "{\"a\":{\"b\":[1,{}]}", "[tru]", "[truex]", "[nulll]", "[-]", "[1.]", "[1e]", "[.5]", "[+1]",
        "[\"\\x\"]", "[\"\\u12\"]", "[\"\\udc00\"]", "[\"\\ud800\\u0041\"]", "[\"a\x01\"]",
    };
    for (const auto& text : invalid) {
        ErrorPtr error;
        EXPECT_TRUE(parseJSON(text, 0, &error).isAbsent()) << text;
        EXPECT_TRUE(error) << text;
    }
    for (const char* fragment : {"null x", "nullu", "truex", "123abc", "1 2", "tru", "\"a\" 1", "-", "\"\\udc00\""}) {
        EXPECT_TRUE(parseJSON(fragment, JSONSerialization::ReadingAllowFragments).isAbsent()) << fragment;
    }
}

// An integer stays one while it fits 64 bits signed; past that, on either
// side, it is a real, as is a number with a fraction or an exponent.
TEST(JSON, IntegersPast64BitsAreReals) {
    Value read = parseJSON("\xEF\xBB\xBF[-0, 9223372036854775807, 9223372036854775808, -9223372036854775808,"
                           " -9223372036854775809, 123456789012345678901234567890, 1E2, 1e-400]");
    ASSERT_TRUE(read.isArray()) << "a leading byte order mark is skipped";
    const Value expected = Value::array({0, INT64_MAX, 9223372036854775808.0, INT64_MIN, -9223372036854775809.0,
                                         123456789012345678901234567890.0, 100.0, 0.0});
    EXPECT_EQ(read, expected);
    const Value::Type kinds[] = {Value::Type::Integer, Value::Type::Integer, Value::Type::Real, Value::Type::Integer,
                                 Value::Type::Real,    Value::Type::Real,    Value::Type::Real, Value::Type::Real};
    for (size_t i = 0; i < std::size(kinds); ++i) EXPECT_EQ(read.at(i).type(), kinds[i]) << i;
    EXPECT_EQ(parseJSON("12345678901234567890", JSONSerialization::ReadingAllowFragments).type(), Value::Type::Real);
}

// Numbers the parser gets wrong on its own: a real with more digits than 64
// bits hold, and a number alone in the text followed by many blanks or with
// many digits; a number alone is still one value and nothing after it.
TEST(JSON, LongNumbersReadAsTheirText) {
    EXPECT_EQ(parseJSON("[0.57203685477580923372036854775808, 1.00000000000000000000001e-5, "
                        "-1e-150185477744001854775808]"),
              Value::array({0.5720368547758092, 1e-5, -0.0}));
    EXPECT_TRUE(parseJSON("[0.57203685477580923372036854775808x]").isAbsent());
    const unsigned fragments = JSONSerialization::ReadingAllowFragments;
    EXPECT_EQ(parseJSON("8" + std::string(69, ' '), fragments), Value(8));
    EXPECT_EQ(parseJSON("0." + std::string(2000, '5'), fragments), Value(0.5555555555555556));
    for (const char* text : {"1,2", "1]", "1 ]", "-1x"}) EXPECT_TRUE(parseJSON(text, fragments).isAbsent()) << text;
}

// A body keeps room past its bytes through every copy, so it is read in
// place; a text without that room reads the same.
TEST(JSON, ABodyIsReadWhereItLies) {
    Data body = Data::fromString(R"({"items":[1,2,3]})");
    Data copied = body;
    Data assigned;
    assigned = copied;
    assigned.append(std::string_view(" "));
    for (const Data* data : {&body, &copied, &assigned}) {
        EXPECT_GE(data->vector().capacity(), data->length() + Data::kReadPadding);
        EXPECT_EQ(JSONSerialization::JSONObjectWithData(*data)["items"].count(), 3u);
    }
    std::vector<uint8_t> tight = {'[', '1', ']'};
    tight.shrink_to_fit();
    EXPECT_EQ(JSONSerialization::JSONObjectWithData(Data(std::move(tight))), Value::array({1}));
}

namespace {

// What the element reading hands over, as values: each object's fields made
// into a dictionary, the other elements as they came; absent when it refuses.
Value elementsOf(std::string_view text) {
    Value::Array elements;
    const bool read = JSONSerialization::readArrayElements(
        text, text.size(), [&](const JSONFields& fields) { elements.push_back(fields.dictionary()); },
        [&](Value element) { elements.push_back(std::move(element)); });
    return read ? Value(std::move(elements)) : Value();
}

}  // namespace

// An array read element by element gives what the whole reading gives, or
// is refused where that reading fails; any other value is no array of it.
TEST(JSON, ElementsReadOneByOneAreTheWholeArraysElements) {
    const std::string same[] = {
        R"([])",
        R"([{"a":"x","b":1,"c":2.5,"d":true,"e":null,"f":[1,{"g":"h"}],"h":{"i":[]}},7,"s",null,[{"j":1}],{}])",
        R"([{"id":"a","id":"b","n":1,"n":"2"},{"k":"v\u0062\"\n","k2":""}])",
        "\xEF\xBB\xBF[{\"a\":18446744073709551616,\"b\":-9223372036854775808,\"c\":0.57203685477580923372036854775808}]",
        R"( [ { "spaced" : "out" } ] )",
    };
    for (const auto& text : same) {
        const Value whole = parseJSON(text);
        ASSERT_TRUE(whole.isArray()) << text;
        EXPECT_EQ(elementsOf(text), whole) << text;
    }
    // Of a repeated key the last value stands, as a field and in the dictionary.
    const std::string repeated = R"([{"id":"a","n":1,"id":7}])";
    JSONSerialization::readArrayElements(
        repeated, repeated.size(), [](const JSONFields& fields) {
            ASSERT_NE(fields.find("id"), nullptr);
            EXPECT_FALSE(fields.find("id")->isText);
            EXPECT_EQ(fields.find("id")->value, Value(7));
            EXPECT_EQ(fields.find("missing"), nullptr);
        },
        [](Value) { FAIL(); });

    const std::string refused[] = {
        R"({"a":1})", R"("text")", "3", "", " ", R"([{"a":1},])", R"([{"a":1}] x)", R"([{"a":"\x"}])", std::string("[{\"a\":1}]\0", 10),
        R"([{"a":01}])", R"([{"a":tru}])", R"([{"a":1})", "[\"a\x01\"]",
        std::string(JSONSerialization::kMaxDepth + 1, '[') + std::string(JSONSerialization::kMaxDepth + 1, ']'),
        "[{\"a\":" + std::string(JSONSerialization::kMaxDepth - 1, '[') + std::string(JSONSerialization::kMaxDepth - 1, ']') + "}]",
    };
    for (const auto& text : refused) {
        EXPECT_TRUE(elementsOf(text).isAbsent()) << text;
    }
    // The deepest array the whole reading takes is read element by element too.
    const std::string deepest = std::string(JSONSerialization::kMaxDepth, '[') +
                                std::string(JSONSerialization::kMaxDepth, ']');
    EXPECT_EQ(elementsOf(deepest), parseJSON(deepest));
}
