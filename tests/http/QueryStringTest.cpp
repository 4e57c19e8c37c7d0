// Query-string flattening, key order and escaping.
#include <gtest/gtest.h>

#include "http/QNParameterSet.h"
#include "http/QNQueryStringPair.h"

using namespace foundation;

namespace {
std::string query(const Value& parameters, StringEncoding encoding = StringEncoding::UTF8) {
    ErrorPtr error;
    auto text = QNQueryStringFromParameters(parameters, encoding, &error);
    EXPECT_FALSE(error);
    return text.value_or("<none>");
}
}  // namespace

TEST(QueryString, FlattensInKeyOrder) {
    EXPECT_EQ(query(Value::dictionary({{"b", 1}, {"a", "x y"}})), "a=x%20y&b=1");
    Value user = Value::dictionary({{"tags", Value::array({"x", "y"})}, {"name", "Ann"}});
    EXPECT_EQ(query(Value::dictionary({{"user", user}})), "user[name]=Ann&user[tags][]=x&user[tags][]=y");
    EXPECT_EQ(query(Value::dictionary({{"a", 1}, {"B", 2}, {"9", 3}, {"10", 4}})), "10=4&9=3&B=2&a=1");
    // Beyond the basic plane the order is by UTF-16 unit: U+FF5E sorts after U+1F600.
    EXPECT_EQ(query(Value::dictionary({{"\xF0\x9F\x98\x80", 1}, {"\xEF\xBD\x9E", 2}})),
              "%F0%9F%98%80=1&%EF%BD%9E=2");
    EXPECT_EQ(query(Value::dictionary({{"s", QNParameterSet::make({"b", "a"})}})), "s=a&s=b");
    EXPECT_EQ(query(Value::dictionary({{"t", true}, {"r", 2.5}})), "r=2.5&t=1");
    EXPECT_EQ(query(Value(Value::Dictionary{})), "");

    // Pairs keep their values unescaped for form fields.
    auto pairs = QNQueryPairsForKeyAndValue(std::nullopt, Value::dictionary({{"k", Value::array({1, Value::null()})}}));
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].field(), "k[]");
    EXPECT_EQ(pairs[0].value(), Value(1));
    EXPECT_TRUE(pairs[1].value().isNull());
    EXPECT_TRUE(QNQueryPairsForKeyAndValue(std::nullopt, Value("loose")).empty());

    ErrorPtr error;
    EXPECT_FALSE(QNQueryStringFromParameters(Value::array({"a"}), StringEncoding::UTF8, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "com.quovana.error.serialization.request");
}

TEST(QueryString, EscapesFieldsAndValues) {
    EXPECT_EQ(query(Value::dictionary({{"q", "a+b&c=d"}})), "q=a%2Bb%26c%3Dd");
    EXPECT_EQ(query(Value::dictionary({{"q", "\xC3\xA9"}})), "q=%C3%A9");
    EXPECT_EQ(query(Value::dictionary({{"q", "-_.~!*'();:@$,/?#%\""}})),
              "q=-_.~%21%2A%27%28%29%3B%3A%40%24%2C%2F%3F%23%25%22");
    EXPECT_EQ(query(Value::dictionary({{"k", Value::null()}, {"m", Value()}})), "k&m");
    EXPECT_EQ(query(Value::dictionary({{"f[x]", "[y]"}})), "f[x]=%5By%5D");
    EXPECT_EQ(query(Value::dictionary({{"q", "\xC3\xA9"}}), StringEncoding::ISOLatin1), "q=%E9");

    EXPECT_EQ(QNEscapedQueryFieldString("a b[c]", StringEncoding::UTF8), "a%20b[c]");
    EXPECT_EQ(QNEscapedQueryValueString("a b[c]", StringEncoding::UTF8), "a%20b%5Bc%5D");
    EXPECT_EQ(QNQueryStringPair("k", Value()).URLEncodedStringValueWithEncoding(StringEncoding::UTF8), "k");

    ErrorPtr error;
    EXPECT_FALSE(QNQueryStringFromParameters(Value::dictionary({{"q", "\xC3\xA9"}}), StringEncoding::ASCII, &error));
    EXPECT_TRUE(error);
}
