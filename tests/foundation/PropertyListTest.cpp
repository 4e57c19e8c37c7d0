// XML property lists: every kind through a round trip, malformed documents, unwritable values.
#include <gtest/gtest.h>

#include "foundation/PropertyList.h"

using namespace foundation;

namespace {
Value parsePlist(const std::string& xml, ErrorPtr* error = nullptr) {
    return PropertyListSerialization::propertyListWithData(Data::fromString(xml), error);
}
}  // namespace

TEST(PropertyList, EveryKindSurvivesARoundTrip) {
    Value plist = Value::dictionary({
        {"string", "a <b> & \"c\"\r\n\u00e9"},
        {"empty", ""},
        {"spaces", "   "},
        {"integer", -9223372036854775807LL - 1},
        {"real", 0.1},
        {"wholeReal", 7.0},
        {"yes", true},
        {"no", false},
        {"date", Date(443521800.25)},
        {"old", Date::distantPast()},
        {"data", Data::fromString(std::string("\0\x01\xff", 3))},
        {"array", Value::array({1, "two", Value::array({}), Value::dictionary({})})},
    });
    ErrorPtr error;
    auto data = PropertyListSerialization::dataWithPropertyList(plist, &error);
    ASSERT_TRUE(data) << error->description();
    EXPECT_NE(data->toString().find("<plist version=\"1.0\">"), std::string::npos);
    EXPECT_NE(data->toString().find("<date>2015-01-21T08:30:00.25Z</date>"), std::string::npos);
    Value back = PropertyListSerialization::propertyListWithData(*data, &error);
    ASSERT_TRUE(back.isDictionary()) << (error ? error->description() : "");
    EXPECT_EQ(back, plist);
    for (const auto& [key, item] : *plist.dictionary()) EXPECT_EQ(back[key].type(), item.type()) << key;
}

TEST(PropertyList, MalformedDocumentsAreReadErrors) {
    const std::string bad[] = {
        "",
        "not xml",
        "<plist><string>unclosed</plist>",
        "<notplist><string>x</string></notplist>",
        "<plist><string>a</string><string>b</string></plist>",
        "<plist><dict><key>a</key></dict></plist>",
        "<plist><dict><string>a</string><integer>1</integer></dict></plist>",
        "<plist><integer>12x</integer></plist>",
        "<plist><integer>99999999999999999999</integer></plist>",
        "<plist><real>one</real></plist>",
        "<plist><date>2015-13-01T00:00:00Z</date></plist>",
        "<plist><data>!!!!</data></plist>",
        "<plist><array>text<string>x</string></array></plist>",
        "<plist><set/></plist>",
        "<plist><string><b>x</b></string></plist>",
        "<!DOCTYPE plist [<!ENTITY e \"boom\">]><plist><string>&e;</string></plist>",
    };
    for (const auto& xml : bad) {
        ErrorPtr error;
        EXPECT_TRUE(parsePlist(xml, &error).isAbsent()) << xml;
        ASSERT_TRUE(error) << xml;
        EXPECT_EQ(error->code(), PropertyListSerialization::kReadCorruptError);
    }
    Value ok = parsePlist("<?xml version=\"1.0\"?>\n<plist version=\"1.0\">\n<dict>\n\t<key>k</key>\n\t<data>\n\tZm9v\n\t"
                     "YmFy\n\t</data>\n\t<key>t</key><true/>\n</dict>\n</plist>\n");
    EXPECT_EQ(ok["k"].data()->toString(), "foobar");
    EXPECT_TRUE(ok["t"].isBool());
}

TEST(PropertyList, ValuesOutsideTheFormatAreWriteErrors) {
    for (const Value& v : {Value(), Value::null(), Value::array({Value(std::make_shared<Object>())}),
                           Value(std::string("bell\x07")), Value(std::string("\xc3"))}) {
        ErrorPtr error;
        EXPECT_FALSE(PropertyListSerialization::dataWithPropertyList(v, &error)) << v.description();
        EXPECT_TRUE(error);
    }
    EXPECT_FALSE(PropertyListSerialization::isPropertyList(Value::dictionary({{"n", Value::null()}})));
    EXPECT_TRUE(PropertyListSerialization::isPropertyList(Value::dictionary({{"d", Date(0)}})));
}
