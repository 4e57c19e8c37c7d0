// The document tree: construction rules, tree operations, attribute maps with
// namespaces, searches and text.
#include <gtest/gtest.h>

#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "svg/dom/Attr.h"
#include "svg/dom/Comment.h"
#include "svg/dom/DocumentFragment.h"
#include "svg/dom/Element.h"
#include "svg/dom/NamedNodeMap.h"
#include "svg/dom/NodeList.h"
#include "svg/dom/ProcessingInstruction.h"
#include "svg/dom/SVGDocument.h"
#include "svg/dom/Text.h"

namespace svg {
namespace {

const std::string kSVG = "http://www.w3.org/2000/svg";
const std::string kXLink = "http://www.w3.org/1999/xlink";

ElementPtr element(const std::string& name, const std::map<std::string, std::string>& attributes = {}) {
    Element::AttributeDictionary dictionary;
    for (const auto& [key, value] : attributes) dictionary[key] = std::make_shared<Attr>(std::nullopt, key, value);
    return std::make_shared<Element>(name, kSVG, dictionary);
}

std::vector<std::string> ids(const NodeList& list) {
    std::vector<std::string> out;
    for (const auto& node : list) out.push_back(std::static_pointer_cast<Element>(node)->getAttribute("id"));
    return out;
}

TEST(DOMTest, NodesAreMadeOnlyWithTheArgumentsTheirTypeTakes) {
    EXPECT_FALSE(Node::create(DOMNodeType::Element, "g", "value"));
    EXPECT_FALSE(Node::create(DOMNodeType::Text, "#text"));
    EXPECT_FALSE(Node::create(static_cast<DOMNodeType>(13), "x"));
    auto plain = Node::create(DOMNodeType::Element, "g");
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->attributes());
    EXPECT_FALSE(Node::create(DOMNodeType::Document, "#document")->attributes());
    EXPECT_EQ(Node::create(DOMNodeType::Comment, "#comment", "c")->nodeValue(), "c");

    auto namespaced = Node::createInNamespace(DOMNodeType::Attribute, "xlink:a:href", "#r", kXLink);
    EXPECT_EQ(namespaced->localName(), "href");
    EXPECT_EQ(namespaced->prefix(), "xlink");
    EXPECT_EQ(namespaced->namespaceURI(), kXLink);
    auto unprefixed = Node::createInNamespace(DOMNodeType::Element, "rect", kSVG);
    EXPECT_EQ(unprefixed->localName(), "rect");
    EXPECT_FALSE(unprefixed->prefix());

    std::string buffer = "pending text";
    auto text = std::make_shared<Text>(buffer);
    buffer.clear();
    EXPECT_EQ(text->nodeValue(), "pending text");
    EXPECT_EQ(text->nodeName(), "#text");
    EXPECT_EQ(text->description(), "Node: #text (TEXT) value:[pending te...] @@0 attributes + 0 x children");
    EXPECT_EQ(std::make_shared<DocumentFragment>()->nodeType(), DOMNodeType::DocumentFragment);
    auto instruction = std::make_shared<ProcessingInstruction>("xml-stylesheet", "href=\"a.css\"");
    EXPECT_EQ(instruction->nodeName(), "xml-stylesheet");
    EXPECT_EQ(instruction->data(), "href=\"a.css\"");
}

TEST(DOMTest, TreeOperationsKeepChildrenAndParentsInStep) {
    auto group = element("g");
    auto a = element("rect", {{"id", "a"}}), b = element("rect", {{"id", "b"}}), c = element("rect", {{"id", "c"}});
    group->appendChild(a);
    group->appendChild(b);
    EXPECT_EQ(a->parentNode(), group);

    group->appendChild(a);  // already a child: moves to the end
    EXPECT_EQ(ids(*group->childNodes()), (std::vector<std::string>{"b", "a"}));
    group->insertBefore(c, b);
    EXPECT_EQ(ids(*group->childNodes()), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(c->parentNode(), group);

    auto fragment = std::make_shared<DocumentFragment>();
    auto d = element("rect", {{"id", "d"}}), e = element("rect", {{"id", "e"}});
    fragment->appendChild(d);
    fragment->appendChild(e);
    EXPECT_EQ(group->replaceChild(fragment, b), b);
    EXPECT_EQ(ids(*group->childNodes()), (std::vector<std::string>{"c", "d", "e", "a"}));
    EXPECT_EQ(d->parentNode(), group);
    EXPECT_FALSE(b->parentNode());

    EXPECT_EQ(group->removeChild(c), c);
    EXPECT_FALSE(c->parentNode());
    EXPECT_EQ(group->childNodes()->length(), 3u);
    EXPECT_THROW(group->insertBefore(b, c), foundation::Exception);
    EXPECT_THROW(group->childNodes()->item(3), foundation::Exception);

    // Parents own children; children do not keep parents alive.
    std::weak_ptr<Element> weakGroup = group;
    group.reset();
    EXPECT_TRUE(weakGroup.expired());
    EXPECT_FALSE(a->parentNode());
}

// Leaves share one empty child list until they get a child: appending to one
// leaf must neither show under another nor lose what the list held.
TEST(DOMTest, LeavesGetTheirOwnChildListOnTheirFirstChild) {
    auto first = element("text"), second = element("text");
    EXPECT_FALSE(first->hasChildNodes());
    first->appendChild(std::make_shared<Text>("Room 1"));
    EXPECT_EQ(first->childNodes()->length(), 1u);
    EXPECT_EQ(second->childNodes()->length(), 0u);
    EXPECT_EQ(second->textContent(), "");
    EXPECT_EQ(first->textContent(), "Room 1");
    second->insertBefore(std::make_shared<Text>("Room 2"), nullptr);
    EXPECT_EQ(second->textContent(), "Room 2");
    EXPECT_EQ(element("g")->childNodes()->length(), 0u);
}

TEST(DOMTest, AttributesKeepPlainAndNamespacedNamesApart) {
    Element::AttributeDictionary attributes{
        {"fill", std::make_shared<Attr>(std::nullopt, "fill", "red")},  // takes the element's namespace
        {"xlink:href", std::make_shared<Attr>(kXLink, "xlink:href", "#door")},
    };
    auto use = std::make_shared<Element>("svg:use", kSVG, attributes);
    EXPECT_EQ(use->tagName(), "svg:use");
    EXPECT_EQ(use->localName(), "use");
    EXPECT_EQ(use->getAttribute("fill"), "red");
    EXPECT_EQ(use->getAttribute("href"), "#door");
    EXPECT_EQ(use->getAttributeNS(kSVG, "fill"), "red");
    EXPECT_EQ(use->getAttributeNS(kXLink, "href"), "#door");
    EXPECT_EQ(use->getAttribute("stroke"), "");
    EXPECT_EQ(use->getAttributeNS(kXLink, "fill"), "");
    EXPECT_FALSE(use->hasAttribute("stroke"));
    EXPECT_FALSE(use->getAttributeNode("stroke"));

    // A plain attribute of the same local name is found first and stands apart.
    use->setAttribute("fill", "blue");
    EXPECT_EQ(use->getAttribute("fill"), "blue");
    EXPECT_EQ(use->getAttributeNS(kSVG, "fill"), "red");
    EXPECT_EQ(use->attributes()->length(), 3u);
    EXPECT_EQ(use->attributes()->item(0)->nodeValue(), "blue");
    EXPECT_FALSE(use->attributes()->item(3));
    use->removeAttribute("fill");
    EXPECT_EQ(use->getAttribute("fill"), "red");

    // Attributes made by name only are found under that name.
    auto plain = std::make_shared<Element>("rect", std::map<std::string, std::string>{{"data:x", "1"}});
    EXPECT_FALSE(plain->localName());
    EXPECT_EQ(plain->getAttribute("data:x"), "1");
    auto old = plain->setAttributeNode(std::make_shared<Attr>("data:x", "2"));
    ASSERT_TRUE(old);
    EXPECT_EQ(old->value(), "1");
    plain->removeAttributeNode(plain->getAttributeNode("data:x"));
    EXPECT_FALSE(plain->hasAttributes());
    EXPECT_EQ(plain->attributes()->description(), "NamedNodeMap: ");
}

TEST(DOMTest, ParsedAttributesBecomeNodesWhenAskedFor) {
    Element::AttributeDictionary parsed{
        {"fill", std::make_shared<Attr>(kSVG, "fill", "red")},
        {"xlink:href", std::make_shared<Attr>(kXLink, "xlink:href", "#a")},
        {"plain", std::make_shared<Attr>(std::nullopt, "plain", "1")},
    };
    auto owned = std::make_shared<Attr>(kSVG, "stroke", "blue");
    owned->setSpecified(true);  // changed since made: stored as itself
    parsed["stroke"] = owned;
    auto element = std::make_shared<Element>("rect", kSVG, parsed);

    EXPECT_EQ(element->getAttribute("fill"), "red");
    EXPECT_EQ(element->getAttributeNS(kXLink, "href"), "#a");
    EXPECT_TRUE(element->hasAttribute("plain"));
    EXPECT_EQ(element->getAttributeNode("stroke"), owned);
    auto href = element->getAttributeNodeNS(kXLink, "href");
    ASSERT_TRUE(href);
    EXPECT_EQ(element->getAttributeNodeNS(kXLink, "href"), href);  // made once
    EXPECT_EQ(href->nodeName(), "xlink:href");
    EXPECT_EQ(href->prefix(), "xlink");
    EXPECT_EQ(href->namespaceURI(), kXLink);
    // Without its own namespace the attribute is filed under the element's
    // and still has none.
    auto plain = element->getAttributeNodeNS(kSVG, "plain");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->namespaceURI());
    EXPECT_EQ(element->attributes()->length(), 4u);
    EXPECT_EQ(element->attributes()->item(0), href);  // namespaces in the map's order
    EXPECT_EQ(element->attributes()->item(1)->nodeName(), "fill");
    // A node's value is the attribute's value from then on.
    href->setValue("#b");
    EXPECT_EQ(element->getAttributeNS(kXLink, "href"), "#b");
    EXPECT_EQ(element->attributes()->removeNamedItemNS(kSVG, "fill")->nodeValue(), "red");
    EXPECT_FALSE(element->hasAttribute("fill"));
}

// A parsed element's values lie one after another in one block: each reads
// as its own, an empty one included, whatever is replaced or removed around it.
TEST(DOMTest, ParsedValuesReadAsTheirOwn) {
    Element::AttributeDictionary parsed;
    const std::map<std::string, std::string> values{
        {"a", "first"}, {"b", ""}, {"c", "Meetings &amp; Talks, a value longer than a short one"}, {"d", "4"}};
    for (const auto& [key, value] : values) parsed[key] = std::make_shared<Attr>(kSVG, key, value);
    auto element = std::make_shared<Element>("path", kSVG, parsed);
    for (const auto& [key, value] : values) {
        EXPECT_TRUE(element->hasAttribute(key)) << key;
        EXPECT_EQ(element->getAttribute(key), value) << key;
        EXPECT_EQ(element->getAttributeNS(kSVG, key), value) << key;
    }
    element->setAttributeNS(kSVG, "b", "now set");
    EXPECT_EQ(element->getAttributeNode("c")->value(), values.at("c"));
    EXPECT_TRUE(element->attributes()->removeNamedItemNS(kSVG, "a"));
    EXPECT_EQ(element->getAttribute("a"), "");
    EXPECT_EQ(element->getAttribute("b"), "now set");
    EXPECT_EQ(element->getAttribute("c"), values.at("c"));
    EXPECT_EQ(element->getAttribute("d"), "4");
}

TEST(DOMTest, SearchesWalkDepthFirstAndIncludeTheStart) {
    auto document = std::make_shared<SVGDocument>();
    auto root = element("svg", {{"id", "root"}});
    document->setRootElement(root);
    EXPECT_EQ(document->documentElement(), root);
    auto other = element("svg");
    document->setDocumentElement(other);
    EXPECT_EQ(document->rootElement(), other);
    document->setRootElement(root);

    auto group = element("g", {{"id", "room"}});
    auto inner = element("g", {{"id", "inner"}});
    auto duplicate = element("rect", {{"id", "room"}});
    root->appendChild(group);
    group->appendChild(inner);
    root->appendChild(duplicate);
    group->appendChild(std::make_shared<Text>("Hall "));
    inner->appendChild(std::make_shared<Text>("A"));
    inner->appendChild(std::make_shared<Comment>("!"));

    EXPECT_EQ(document->getElementById("room"), group);
    EXPECT_EQ(document->getElementById("inner"), inner);
    EXPECT_FALSE(document->getElementById("none"));
    EXPECT_EQ(ids(*group->getElementsByTagName("g")), (std::vector<std::string>{"room", "inner"}));
    EXPECT_EQ(ids(*document->getElementsByTagName("*")), (std::vector<std::string>{"root", "room", "inner", "room"}));
    EXPECT_EQ(document->getElementsByTagNameNS(kSVG, "rect")->length(), 1u);
    EXPECT_EQ(document->getElementsByTagNameNS(kXLink, "*")->length(), 0u);

    EXPECT_EQ(group->textContent(), "A!Hall ");
    EXPECT_EQ(duplicate->textContent(), "");
    EXPECT_FALSE(document->textContent());
    EXPECT_EQ(root->description(), "Node: svg (ELEMENT) value:[(null)] @@1 attributes + 2 x children");

    foundation::ScopedLogCapture log;
    auto made = document->createElement("g");
    EXPECT_EQ(made->tagName(), "g");
    EXPECT_TRUE(log.contains("[SVGDocument] WARNING: SVG Spec, missing feature"));
    EXPECT_EQ(document->createAttribute("x")->value(), "");
    EXPECT_EQ(document->createAttributeNS(kSVG, "svg:x")->localName(), "x");
}

TEST(DOMTest, NamedNodeMapsKeyNamespacedEntriesByLocalName) {
    NamedNodeMap map;
    auto svgFill = std::make_shared<Attr>(kSVG, "fill", "red");
    auto xlinkFill = std::make_shared<Attr>(kXLink, "xlink:fill", "blue");
    EXPECT_FALSE(map.setNamedItemNS(svgFill));
    EXPECT_FALSE(map.setNamedItemNS(xlinkFill, kSVG));  // the node's own namespace wins
    EXPECT_EQ(map.getNamedItemNS(kXLink, "fill"), xlinkFill);
    EXPECT_FALSE(map.getNamedItemNS(kXLink, "xlink:fill"));
    // Without a plain entry the first namespace in the map's order answers.
    EXPECT_EQ(map.getNamedItem("fill"), xlinkFill);

    auto replacement = std::make_shared<Attr>(kSVG, "svg:fill", "green");
    EXPECT_EQ(map.setNamedItemNS(replacement), svgFill);
    EXPECT_EQ(map.getNamedItemNS(kSVG, "fill")->nodeValue(), "green");

    // With neither namespace the entry is plain.
    auto bare = std::make_shared<Attr>(std::nullopt, "id", "r1");
    EXPECT_FALSE(map.setNamedItemNS(bare));
    EXPECT_EQ(map.internalDictionary().count("id"), 1u);
    EXPECT_EQ(map.length(), 3u);
    EXPECT_EQ(map.item(0), bare);
    EXPECT_EQ(map.item(1), xlinkFill);
    EXPECT_EQ(map.item(2), replacement);

    const std::string description = map.description();
    EXPECT_EQ(description.rfind("NamedNodeMap: DOM-v1(", 0), 0u);
    EXPECT_NE(description.find(")\nDOM-v2("), std::string::npos);
    EXPECT_NE(description.find("Node: id (ATTRIBUTE) value:[r1]"), std::string::npos);

    EXPECT_FALSE(map.removeNamedItem("fill"));  // plain entries only
    EXPECT_EQ(map.removeNamedItemNS(kXLink, "fill"), xlinkFill);
    EXPECT_FALSE(map.removeNamedItemNS("urn:none", "fill"));
    EXPECT_EQ(map.getNamedItem("fill"), replacement);
    EXPECT_EQ(map.removeNamedItem("id"), bare);
    EXPECT_EQ(map.length(), 1u);
}

// Names are shared between nodes through a bounded table: a file naming more
// kinds than it holds, and the same qualified name in two namespaces, keep
// each node's own names and attributes.
TEST(DOMTest, SharedNamesStayEachNodesOwn) {
    std::vector<ElementPtr> made;
    for (int i = 0; i < 600; ++i) {
        std::string n = std::to_string(i);
        Element::AttributeDictionary attributes{{"a" + n, std::make_shared<Attr>(std::nullopt, "a" + n, n)}};
        made.push_back(std::make_shared<Element>("p" + n + ":e" + n, "urn:ns" + n, attributes));
    }
    for (int i = 0; i < 600; ++i) {
        std::string n = std::to_string(i);
        EXPECT_EQ(made[size_t(i)]->localName(), "e" + n);
        EXPECT_EQ(made[size_t(i)]->prefix(), "p" + n);
        EXPECT_EQ(made[size_t(i)]->namespaceURI(), "urn:ns" + n);
        EXPECT_EQ(made[size_t(i)]->getAttributeNS("urn:ns" + n, "a" + n), n);
    }
    auto first = std::make_shared<Element>("x:rect", kSVG, Element::AttributeDictionary{});
    auto second = std::make_shared<Element>("x:rect", kXLink, Element::AttributeDictionary{});
    auto none = std::make_shared<Element>("x:rect", std::nullopt, Element::AttributeDictionary{});
    EXPECT_EQ(first->namespaceURI(), kSVG);
    EXPECT_EQ(second->namespaceURI(), kXLink);
    EXPECT_FALSE(none->namespaceURI());
    EXPECT_EQ(none->localName(), "rect");
}

}  // namespace
}  // namespace svg
