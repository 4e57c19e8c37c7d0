// The parser driver and its extensions: what each tag becomes, where text and
// style sheets go, how use is resolved, what is skipped, errors from libxml2,
// and the declaration-list reader.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>

#include "foundation/ApplicationHome.h"
#include "svg/css/SVGLength.h"
#include "svg/css/StyleSheetList.h"
#include "svg/dom/NodeList.h"
#include "svg/dom/SVGDocument.h"
#include "svg/dom/Text.h"
#include "svg/elements/SVGDefsElement.h"
#include "svg/elements/SVGDescriptionElement.h"
#include "svg/elements/SVGElementInstance.h"
#include "svg/elements/SVGGElement.h"
#include "svg/elements/SVGRectElement.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/elements/SVGUseElement.h"
#include "svg/parser/SVGXParser.h"
#include "svg/parser/SVGXParserDOM.h"
#include "svg/sources/SVGXSourceLocalFile.h"
#include "svg/sources/SVGXSourceString.h"

namespace svg {
namespace {

SVGXParseResultPtr parse(const std::string& text) {
    return SVGXParser::parseSourceUsingDefaultSVGXParser(SVGXSourceString::sourceFromContentsOfString(text));
}

std::vector<std::shared_ptr<Node>> elementChildren(const std::shared_ptr<Node>& node) {
    std::vector<std::shared_ptr<Node>> elements;
    for (const auto& c : *node->childNodes()) {
        if (c->nodeType() == DOMNodeType::Element) elements.push_back(c);
    }
    return elements;
}

std::vector<std::string> childNames(const std::shared_ptr<Node>& node) {
    std::vector<std::string> names;
    for (const auto& c : elementChildren(node)) names.push_back(c->nodeName());
    return names;
}

TEST(ParserTest, TagsBecomeTheirElementsInOneBalancedTree) {
    auto source = SVGXSourceString::sourceFromContentsOfString(R"(<?xml version="1.0"?>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" version="1.1" width="100"
     height="50">
  <style><![CDATA[.room{ fill: red }]]></style>
  <defs><rect id="chair" x="1" y="2" width="3" height="4"/></defs>
  <g id="floor">
    <pattern id="p"><rect id="inPattern"/><g><rect/></g>lost text</pattern>
    <rect id="r1" class="room"/>
    <use id="u" xlink:href="#chair" x="5" y="7"/>
    <use id="self" xlink:href="#floor"/>
    <desc>plain</desc><description>kept</description><svg id="nested"/>
    <blink/><x:thing xmlns:x="urn:other"/>Room &amp; <![CDATA[hall]]>
  </g>
  <pattern/>
  <style>.other { stroke: blue }</style>
</svg>)");
    auto result = SVGXParser::parseSourceUsingDefaultSVGXParser(source);
    EXPECT_TRUE(result->errorsFatal().empty());
    ASSERT_TRUE(result->parsedDocument());
    auto root = std::dynamic_pointer_cast<SVGSVGElement>(result->parsedDocument()->rootElement());
    ASSERT_TRUE(root);
    EXPECT_EQ(root, result->rootOfSVGTree());
    EXPECT_EQ(source->svgLanguageVersion(), "1.1");
    EXPECT_EQ(result->namespacesEncountered().at(""), "http://www.w3.org/2000/svg");
    EXPECT_EQ(result->namespacesEncountered().at("x"), "urn:other");
    // The pattern after the group leaves the second style at its place.
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"style", "defs", "g", "style"}));
    EXPECT_EQ(root->styleSheets()->length(), 2u);
    EXPECT_TRUE(std::dynamic_pointer_cast<SVGDefsElement>(elementChildren(root)[1]));

    auto g = std::dynamic_pointer_cast<SVGGElement>(root->getElementById("floor"));
    ASSERT_TRUE(g);
    // Nothing of the pattern: neither it, its subtree nor its text.
    EXPECT_EQ(childNames(g),
              (std::vector<std::string>{"rect", "use", "use", "desc", "description", "svg", "blink", "x:thing"}));
    EXPECT_FALSE(root->getElementById("inPattern"));
    auto rect = std::dynamic_pointer_cast<SVGRectElement>(root->getElementById("r1"));
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->parentNode(), g);
    EXPECT_EQ(rect->cascadedValueForStylableProperty("fill"), "red");

    auto use = std::dynamic_pointer_cast<SVGUseElement>(root->getElementById("u"));
    ASSERT_TRUE(use && use->instanceRoot() && use->x() && use->y() && !use->width());
    EXPECT_EQ(use->instanceRoot()->correspondingElement(), root->getElementById("chair"));
    EXPECT_EQ(use->instanceRoot()->correspondingUseElement(), use);
    EXPECT_EQ(use->x()->value(), 5);
    EXPECT_EQ(use->y()->value(), 7);
    // A use naming its own ancestor would contain itself: it names nothing.
    auto self = std::dynamic_pointer_cast<SVGUseElement>(root->getElementById("self"));
    ASSERT_TRUE(self && self->instanceRoot());
    EXPECT_FALSE(self->instanceRoot()->correspondingElement());

    auto elements = elementChildren(g);
    auto desc = elements[3];
    EXPECT_FALSE(std::dynamic_pointer_cast<SVGElement>(desc));
    EXPECT_EQ(desc->textContent(), "plain");
    EXPECT_TRUE(std::dynamic_pointer_cast<SVGDescriptionElement>(elements[4]));
    auto nested = std::dynamic_pointer_cast<SVGSVGElement>(root->getElementById("nested"));
    EXPECT_TRUE(nested && nested != result->rootOfSVGTree());
    EXPECT_FALSE(std::dynamic_pointer_cast<SVGElement>(elements[6]));
    EXPECT_EQ(elements[6]->namespaceURI(), "http://www.w3.org/2000/svg");
    EXPECT_EQ(elements[7]->namespaceURI(), "urn:other");
    // Entities and CDATA join the characters around them in one text node.
    auto text = g->childNodes()->internalArray().back();
    EXPECT_EQ(text->nodeType(), DOMNodeType::Text);
    EXPECT_EQ(text->nodeValue(), "Room & hall\n  ");
}

TEST(ParserTest, ProblemsAreRecordedAndStopTheParse) {
    // An empty file: libxml2 calls it a fatal error at the terminating chunk.
    auto empty = parse("");
    EXPECT_FALSE(empty->parsedDocument());
    EXPECT_FALSE(empty->errorsFatal().empty());
    EXPECT_FALSE(empty->libXMLFailed());
    std::string emptyFile = foundation::ApplicationHome::cachesDirectory() + "/empty.svg";
    std::ofstream{emptyFile};
    auto emptyFromFile =
        SVGXParser::parseSourceUsingDefaultSVGXParser(SVGXSourceLocalFile::sourceFromFilename(emptyFile));
    EXPECT_TRUE(!emptyFromFile->parsedDocument() && !emptyFromFile->errorsFatal().empty());

    auto mismatched =
        parse("<svg xmlns=\"http://www.w3.org/2000/svg\">\n<g><rect id=\"a\"/></x><rect id=\"b\"/></svg>");
    ASSERT_FALSE(mismatched->errorsFatal().empty());
    const auto& error = *mismatched->errorsFatal().front();
    EXPECT_EQ(error.domain(), "1");  // the XML parser
    EXPECT_EQ(error.code(), 76);     // tag name mismatch
    EXPECT_EQ(error.userInfoValue("lineNumber"), foundation::Value(int64_t(2)));
    EXPECT_TRUE(error.userInfoValue("columnNumber").isNumber());
    EXPECT_TRUE(mismatched->libXMLFailed());
    auto tree = std::dynamic_pointer_cast<SVGSVGElement>(mismatched->parsedDocument()->rootElement());
    EXPECT_TRUE(tree->getElementById("a"));
    EXPECT_FALSE(tree->getElementById("b"));

    // A first element that is not svg makes no document; the rest still parses.
    auto noRoot = parse("<g xmlns=\"http://www.w3.org/2000/svg\"><svg/></g>");
    EXPECT_FALSE(noRoot->parsedDocument());
    EXPECT_TRUE(noRoot->rootOfSVGTree() && noRoot->errorsFatal().empty());

    auto missing = SVGXParser::parseSourceUsingDefaultSVGXParser(
        SVGXSourceLocalFile::sourceFromFilename("/nonexistent/floor.svg"));
    EXPECT_FALSE(missing->parsedDocument());
    EXPECT_EQ(missing->errorsRecoverable().size(), 1u);

    // Bytes that fail to decode are reported in the result too.
    auto undecodable = parse(std::string("<\0\0\0", 4));
    bool decodingError = false;
    for (const auto& e : undecodable->errorsFatal()) decodingError |= e->domain() == "27";  // internationalisation
    EXPECT_TRUE(decodingError);

    // Without namespace every tag goes to the DOM fallback.
    auto bare = parse("<svg><rect/></svg>");
    EXPECT_FALSE(bare->parsedDocument());
    EXPECT_TRUE(bare->errorsFatal().empty());

    SVGXParser parser(SVGXSourceString::sourceFromContentsOfString("<svg/>"));
    auto dom = std::make_shared<SVGXParserDOM>();
    parser.addParserExtension(dom);
    parser.addParserExtension(dom);
    EXPECT_EQ(parser.parserExtensions().size(), 1u);
    EXPECT_TRUE(parser.parserKnownNamespaces().empty());
}

TEST(ParserTest, LargeFilesArriveInChunksAndParsesOnTwoThreadsStayApart) {
    auto document = [](const std::string& id, int count) {
        std::string text = "<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"" + id + "\">";
        for (int i = 0; i < count; ++i) {
            text += "<rect id=\"" + id + std::to_string(i) + "\" width=\"1\" height=\"1\"/>";
        }
        return text + "</svg>";
    };
    std::string big = document("big", 2000);
    ASSERT_GT(big.size(), 4 * SVGXParser::kChunkSize);
    auto result = parse(big);
    ASSERT_TRUE(result->parsedDocument() && result->errorsFatal().empty());
    EXPECT_EQ(result->rootOfSVGTree()->childNodes()->length(), 2000u);

    // Each parse finds its own parser through libxml2's user data.
    auto run = [&](const std::string& id, bool& crossed) {
        for (int i = 0; i < 20; ++i) {
            auto root = parse(document(id, 50))->rootOfSVGTree();
            if (!root || root->identifier() != id || root->childNodes()->length() != 50) crossed = true;
        }
    };
    bool crossedA = false, crossedB = false;
    std::thread a(run, "a", std::ref(crossedA));
    std::thread b(run, "b", std::ref(crossedB));
    a.join();
    b.join();
    EXPECT_FALSE(crossedA || crossedB);
}

TEST(ParserTest, DeclarationListsHaveNoLengthLimit) {
    auto css = std::make_shared<Attr>("urn:ns", "style", " stop-color : red ;\tstop-opacity:0.5;font-family:Big Font");
    auto entries = SVGXParser::NSDictionaryFromCSSAttributes(css);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries.at("stop-color")->value(), "red");
    EXPECT_EQ(entries.at("stop-opacity")->value(), "0.5");
    EXPECT_EQ(entries.at("font-family")->value(), "BigFont");
    EXPECT_EQ(entries.at("stop-color")->namespaceURI(), "urn:ns");

    std::string longValue(1000, 'x');
    auto trailing = SVGXParser::NSDictionaryFromCSSAttributes(
        std::make_shared<Attr>("style", std::string(300, 'n') + ":" + longValue + ";"));
    ASSERT_EQ(trailing.size(), 2u);
    EXPECT_EQ(trailing.at(std::string(300, 'n'))->value(), longValue);
    EXPECT_EQ(trailing.at("")->value(), "");
    EXPECT_TRUE(SVGXParser::NSDictionaryFromCSSAttributes(nullptr).empty());
}

}  // namespace
}  // namespace svg
