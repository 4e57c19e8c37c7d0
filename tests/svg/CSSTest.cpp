// Style sheets, declaration blocks and primitive values.
#include <gtest/gtest.h>

#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "svg/css/CSSPrimitiveValue.h"
#include "svg/css/CSSRuleList.h"
#include "svg/css/CSSStyleRule.h"
#include "svg/css/CSSStyleSheet.h"
#include "svg/css/CSSValueList.h"
#include "svg/css/StyleSheetList.h"

namespace svg {
namespace {

std::vector<std::string> selectors(const CSSStyleSheet& sheet) {
    std::vector<std::string> out;
    for (const auto& rule : sheet.cssRules()->internalArray()) {
        out.push_back(std::static_pointer_cast<CSSStyleRule>(rule)->selectorText());
    }
    return out;
}

std::map<std::string, std::string> declarations(const std::string& text) {
    CSSStyleDeclaration style;
    style.setCssText(text);
    std::map<std::string, std::string> out;
    for (const auto& [name, value] : style.internalDictionaryOfStylesByCSSClass()) out[name] = value->cssText();
    return out;
}

TEST(CSSTest, StyleSheetsCutRulesAtBraces) {
    CSSStyleSheet sheet(".a{fill:red} .b{stroke:blue}\n");
    EXPECT_EQ(selectors(sheet), (std::vector<std::string>{"a", "b"}));
    auto second = std::static_pointer_cast<CSSStyleRule>(sheet.cssRules()->item(1));
    EXPECT_EQ(second->style()->getPropertyValue("stroke"), "blue");
    EXPECT_EQ(second->description().substr(0, 7), "b : { C");

    // Each comment goes alone; what stands between two comments stays.
    EXPECT_EQ(selectors(CSSStyleSheet("/* x */.a{fill:red}/* y */.b{fill:blue}")),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(selectors(CSSStyleSheet(".a{fill:red}/* never closed .b{fill:blue}")).size(), 2u);
    // A blank before the brace stays in the selector; text without a brace is no rule.
    EXPECT_EQ(selectors(CSSStyleSheet(".room {fill:red} junk} {x:y}")), (std::vector<std::string>{"room ", ""}));

    EXPECT_EQ(sheet.insertRule(".first{fill:green}", 0), 0);
    EXPECT_EQ(sheet.insertRule("no brace", 0), -1);
    EXPECT_EQ(selectors(sheet), (std::vector<std::string>{"first", "a", "b"}));
    sheet.deleteRule(1);
    EXPECT_EQ(selectors(sheet), (std::vector<std::string>{"first", "b"}));
    EXPECT_THROW(sheet.deleteRule(2), foundation::Exception);
    EXPECT_THROW(sheet.insertRule(".c{}", 3), foundation::Exception);
}

TEST(CSSTest, DeclarationsAreReadByteByByte) {
    using Map = std::map<std::string, std::string>;
    EXPECT_EQ(declarations("fill:red;stroke-width:2"), (Map{{"fill", "red"}, {"stroke-width", "2"}}));
    EXPECT_EQ(declarations("fill:red;stroke-width:2;"), (Map{{"fill", "red"}, {"stroke-width", "2"}}));
    EXPECT_EQ(declarations("font-family:Open Sans"), (Map{{"font-family", "OpenSans"}}));
    EXPECT_EQ(declarations("fill:;stroke:red"), (Map{{"stroke", "red"}}));
    EXPECT_EQ(declarations("a:b:c"), (Map{{"b", "c"}}));
    EXPECT_EQ(declarations("fill:red;stray"), (Map{{"fill", "red"}, {"", "stray"}}));
    EXPECT_EQ(declarations(" fill : red\r;fill:blue"), (Map{{"fill", "blue"}}));
    EXPECT_EQ(declarations(std::string("fill:red\0;stroke:blue", 21)), (Map{{"fill", "red"}}));

    const std::string longName(10000, 'n'), longValue(10000, 'v');
    EXPECT_EQ(declarations(longName + ":" + longValue), (Map{{longName, longValue}}));

    CSSStyleDeclaration style;
    style.setCssText("stroke:blue;fill:red");
    EXPECT_EQ(style.cssText(), "stroke:blue;fill:red");
    EXPECT_EQ(style.item(0), "fill");
    EXPECT_EQ(style.item(2), "");
    EXPECT_EQ(style.removeProperty("fill"), "red");
    EXPECT_FALSE(style.getPropertyValue("fill"));
    EXPECT_FALSE(style.removeProperty("fill"));
    EXPECT_EQ(std::static_pointer_cast<CSSPrimitiveValue>(style.getPropertyCSSValue("stroke"))->primitiveType(),
              CSS_STRING);
    style.setCssText("");
    EXPECT_TRUE(style.internalDictionaryOfStylesByCSSClass().empty());
}

TEST(CSSTest, PrimitiveValuesReadTheirUnitAndConvert) {
    auto value = [](const std::string& text, float pixelsPerInch = 326) {
        auto v = std::make_shared<CSSPrimitiveValue>();
        v->setPixelsPerInch(pixelsPerInch);
        v->setCssText(text);
        return v;
    };
    EXPECT_EQ(value("12")->primitiveType(), CSS_NUMBER);
    EXPECT_EQ(value("12")->getFloatValue(CSS_PX), 12);
    EXPECT_EQ(value("12px")->getFloatValue(CSS_NUMBER), 0);
    EXPECT_EQ(value("50%")->getFloatValue(CSS_NUMBER), 0.5f);
    EXPECT_EQ(value("50%")->getFloatValue(CSS_PX), 0);
    EXPECT_EQ(value("1in")->getFloatValue(CSS_PX), 326);
    EXPECT_NEAR(value("2.54cm")->getFloatValue(CSS_PX), 326, 0.01);
    EXPECT_NEAR(value("25.4mm")->getFloatValue(CSS_PX), 326, 0.01);
    EXPECT_EQ(value("72pt")->getFloatValue(CSS_IN), 1);
    EXPECT_EQ(value("6pc")->getFloatValue(CSS_IN), 1);
    EXPECT_NEAR(value("1in")->getFloatValue(CSS_MM), 25.4, 0.001);
    EXPECT_EQ(value("3em")->getFloatValue(CSS_PX), 0);
    EXPECT_EQ(value("3grad")->primitiveType(), CSS_GRAD);
    EXPECT_EQ(value("3rad")->primitiveType(), CSS_RAD);
    EXPECT_EQ(value("2khz")->primitiveType(), CSS_KHZ);
    EXPECT_EQ(value("5ms")->getFloatValue(CSS_MS), 5);
    EXPECT_EQ(value("Times")->primitiveType(), CSS_S);  // a word ending in a unit suffix
    EXPECT_EQ(value("2PX")->primitiveType(), CSS_NUMBER);
    EXPECT_EQ(value(" -.5e1")->getFloatValue(CSS_PX), -5);

    for (const char* text : {"none", "#ff0000", ".", "-"}) {
        EXPECT_EQ(value(text)->primitiveType(), CSS_STRING) << text;
        EXPECT_EQ(value(text)->getStringValue(), text);
        EXPECT_EQ(value(text)->getFloatValue(CSS_PX), 0);
    }
    EXPECT_EQ(value("")->primitiveType(), CSS_UNKNOWN);
    EXPECT_EQ(value("")->getStringValue(), "");
    EXPECT_FALSE(value("12")->getStringValue());

    CSSValueList list;
    foundation::ScopedLogCapture log;
    list.setCssText("a b  c");
    EXPECT_EQ(list.internalArray(), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_TRUE(log.contains("[CSSValueList] received new CSS Text"));
    EXPECT_EQ(list.cssValueType(), CSS_VALUE_LIST);
}

TEST(CSSTest, ListsAndValuesKeepWhatTheyAreGiven) {
    CSSStyleSheet sheet(".a{fill:red}");
    EXPECT_EQ(sheet.cssRules()->description().rfind("CSSRuleList: array((\n    a : { CSSStyleDeclaration: ", 0), 0u);
    EXPECT_THROW(sheet.cssRules()->item(1), foundation::Exception);
    EXPECT_FALSE(sheet.ownerRule());

    StyleSheetList sheets;
    auto first = std::make_shared<CSSStyleSheet>(".a{fill:red}");
    sheets.internalArray().push_back(first);
    sheets.internalArray().push_back(std::make_shared<CSSStyleRule>("b", "fill:blue"));
    EXPECT_EQ(sheets.length(), 2u);
    EXPECT_EQ(sheets.item(0), first);
    EXPECT_TRUE(std::dynamic_pointer_cast<CSSStyleSheet>(sheets.item(0)));
    EXPECT_FALSE(std::dynamic_pointer_cast<CSSStyleSheet>(sheets.item(1)));
    EXPECT_THROW(sheets.item(2), foundation::Exception);

    CSSStyleRule rule("door", "stroke : black");
    EXPECT_EQ(rule.style()->cssText(), "stroke : black");
    EXPECT_EQ(rule.style()->getPropertyValue("stroke"), "black");
    EXPECT_EQ(
        rule.style()->description().rfind("CSSStyleDeclaration: dictionary({\n    stroke = <CSSPrimitiveValue: 0x", 0),
        0u);

    CSSPrimitiveValue value;
    EXPECT_EQ(value.cssValueType(), CSS_PRIMITIVE_VALUE);
    EXPECT_EQ(value.pixelsPerInch(), 1.0f);
    value.setCssText("3in");
    EXPECT_EQ(value.getFloatValue(CSS_PX), 3);  // the default density is one pixel per inch
    value.setStringValue(CSS_STRING, "label");
    EXPECT_EQ(value.getStringValue(), "label");
    EXPECT_EQ(value.getFloatValue(CSS_STRING), 0);
    EXPECT_EQ(value.cssText(), "3in");  // setting a value does not rewrite the text
    value.setFloatValue(CSS_PT, 36);
    EXPECT_FALSE(value.getStringValue());
    EXPECT_EQ(value.getFloatValue(CSS_PC), 3);
    EXPECT_EQ(value.getFloatValue(CSS_DEG), 0);
}

TEST(CSSTest, RulesAreFoundBySelectorAsTheListChanges) {
    CSSStyleSheet sheet(".room{fill:red} .door{fill:blue} .room{fill:green}");
    const auto& rules = *sheet.cssRules();
    EXPECT_EQ(rules.firstStyleRuleWithSelector("room")->style()->getPropertyValue("fill"), "red");
    EXPECT_FALSE(rules.firstStyleRuleWithSelector("wall"));
    // A rule put first wins from then on; deleting it brings the old one back.
    EXPECT_EQ(sheet.insertRule(".room{fill:white", 0), 0);
    EXPECT_EQ(rules.firstStyleRuleWithSelector("room")->style()->getPropertyValue("fill"), "white");
    sheet.deleteRule(0);
    sheet.deleteRule(0);
    EXPECT_EQ(rules.firstStyleRuleWithSelector("room")->style()->getPropertyValue("fill"), "green");
    // Rules appended to the list directly are found; a rule renamed in place
    // is noticed when its old name is asked for.
    sheet.cssRules()->internalArray().push_back(std::make_shared<CSSStyleRule>("wall", "fill:gray"));
    EXPECT_EQ(rules.firstStyleRuleWithSelector("wall")->style()->getPropertyValue("fill"), "gray");
    std::static_pointer_cast<CSSStyleRule>(rules.item(0))->setSelectorText("gate");
    EXPECT_EQ(rules.firstStyleRuleWithSelector("door"), nullptr);
    EXPECT_EQ(rules.firstStyleRuleWithSelector("gate"), rules.item(0));
}

}  // namespace
}  // namespace svg
