// The XML tree wrapper: name splitting, namespace fix-up when children and
// attributes are added, XPath with and without a namespace map, parsing
// failures, and owning versus borrowing nodes (run under AddressSanitizer,
// so a double free or a leak fails the test binary).
#include <gtest/gtest.h>

#include "api/XMLTreeDocument.h"
#include "api/XMLTreeElement.h"

namespace {

using Text = XMLTreeNode::Text;

TEST(XMLTreeTest, NamesSplitAtTheFirstColon) {
    EXPECT_EQ(XMLTreeNode::localNameForName(Text("a:")), Text("a:"));
    EXPECT_EQ(XMLTreeNode::localNameForName(Text("a:b:c")), Text("b:c"));
    EXPECT_EQ(XMLTreeNode::localNameForName(Text("plain")), Text("plain"));
    EXPECT_EQ(XMLTreeNode::localNameForName(std::nullopt), std::nullopt);
    EXPECT_EQ(XMLTreeNode::prefixForName(Text("a:b:c")), Text("a"));
    EXPECT_EQ(XMLTreeNode::prefixForName(Text("plain")), std::nullopt);
}

TEST(XMLTreeTest, ChildrenAndAttributesTakeTheTreesNamespaces) {
    foundation::ErrorPtr error;
    auto root = XMLTreeElement::elementWithXMLString(
        "<r xmlns:m=\"urn:m\"><m:x>1</m:x><y>two</y></r>", &error);
    ASSERT_TRUE(root);
    EXPECT_FALSE(error);
    EXPECT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->valueForChild("y"), Text("two"));
    EXPECT_EQ(root->elementsForLocalName("x", "urn:m").size(), 1u);
    EXPECT_EQ(root->elementsForName("m:x").size(), 1u);
    EXPECT_EQ(root->resolvePrefixForNamespaceURI("urn:m"), Text("m"));
    EXPECT_EQ(root->resolvePrefixForNamespaceURI("urn:none"), std::nullopt);

    auto known = XMLTreeNode::elementWithNameAndURI("q:item", "urn:m");
    EXPECT_EQ(known->name(), Text("{urn:m}:item"));
    root->addChild(*known);
    auto placed = root->childAtIndex(2);
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->name(), Text("m:item"));
    EXPECT_EQ(placed->localName(), Text("item"));
    EXPECT_EQ(placed->URI(), Text("urn:m"));

    root->addChild(*XMLTreeNode::elementWithNameAndURI("z", "urn:unknown"));
    EXPECT_EQ(root->childAtIndex(3)->name(), Text("{urn:unknown}:z"));
    EXPECT_EQ(root->elementsForLocalName("z", "urn:unknown").size(), 1u);

    auto attribute = XMLTreeNode::attributeWithName("lang", "en");
    root->addAttribute(*attribute);
    root->addChild(*attribute);
    ASSERT_EQ(root->attributes().size(), 1u);
    EXPECT_EQ(root->attributeForName("lang")->stringValue(), Text("en"));
    root->addAttribute(*XMLTreeNode::attributeWithName("k", "urn:m", "v"));
    EXPECT_EQ(root->attributeForName("m:k")->stringValue(), Text("v"));
    EXPECT_EQ(root->attributeForLocalName("k", "urn:m")->name(), Text("m:k"));

    // A child that repeats a declaration already in scope loses its own.
    root->addChild(*XMLTreeElement::elementWithXMLString("<m:w xmlns:m=\"urn:m\"/>", nullptr));
    auto repeated = root->elementsForLocalName("w", "urn:m");
    ASSERT_EQ(repeated.size(), 1u);
    EXPECT_TRUE(repeated[0]->namespaces().empty());
    EXPECT_EQ(repeated[0]->XMLString(), Text("<m:w/>"));

    // A borrowing child is freed with its node; an owning one keeps it.
    root->removeChild(*root->childAtIndex(1));
    EXPECT_EQ(root->valueForChild("y"), std::nullopt);
    auto copy = root->copy();
    EXPECT_TRUE(copy->isEqual(*root));
    EXPECT_TRUE(copy->shouldFreeXMLNode());
    EXPECT_FALSE(root->childAtIndex(0)->shouldFreeXMLNode());
}

TEST(XMLTreeTest, XPathUsesTheDefaultNamespacePrefix) {
    foundation::ErrorPtr error;
    auto doc = XMLTreeDocument::documentWithXMLString(
        "<feed xmlns=\"urn:f\" xmlns:x=\"urn:x\"><entry id=\"1\"/><entry id=\"2\"/><x:e/></feed>", 0, &error);
    ASSERT_TRUE(doc);
    auto entries = doc->nodesForXPath("//_def_ns:entry", &error);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    EXPECT_EQ(std::static_pointer_cast<XMLTreeElement>((*entries)[1])->attributeForName("id")->stringValue(),
              Text("2"));
    auto prefixed = doc->nodesForXPath("//x:e", &error);
    ASSERT_TRUE(prefixed);
    EXPECT_EQ(prefixed->size(), 1u);
    auto mapped = doc->nodesForXPath("//f:entry", XMLTreeNode::NamespaceMap{{"f", "urn:f"}}, &error);
    ASSERT_TRUE(mapped);
    EXPECT_EQ(mapped->size(), 2u);
    EXPECT_EQ(doc->rootElement()->namespaces().size(), 2u);

    auto bad = doc->nodesForXPath("//[", &error);
    EXPECT_FALSE(bad);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "com.quovana.XMLTree");
    EXPECT_NE(error->code(), 0);

    // A detached element is queried through a temporary document.
    auto loose = XMLTreeNode::elementWithName("a");
    loose->addChild(*XMLTreeNode::elementWithNameAndStringValue("b", "t"));
    auto found = loose->nodesForXPath("b", &error);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 1u);
    EXPECT_EQ((*found)[0]->stringValue(), Text("t"));
    EXPECT_EQ(loose->XMLString(), Text("<a><b>t</b></a>"));

    auto rebuilt = XMLTreeDocument::documentWithRootElement(*loose);
    rebuilt->setCharacterEncoding(Text("UTF-8"));
    auto data = rebuilt->XMLData();
    ASSERT_TRUE(data);
    EXPECT_NE(data->toString().find("<a><b>t</b></a>"), std::string::npos);
    EXPECT_NE(data->toString().find("UTF-8"), std::string::npos);
}

TEST(XMLTreeTest, MalformedTextGivesNothingAndTheError) {
    for (const char* text : {"", "<a>", "<a></b>", "not xml", "<a x='1' x='2'/>"}) {
        foundation::ErrorPtr error;
        EXPECT_FALSE(XMLTreeElement::elementWithXMLString(text, &error)) << text;
        ASSERT_TRUE(error) << text;
        EXPECT_EQ(error->domain(), "com.quovana.XMLTree");
        EXPECT_EQ(error->code(), -1);
        error = nullptr;
        EXPECT_FALSE(XMLTreeDocument::documentWithXMLString(text, 0, &error));
        EXPECT_TRUE(error);
    }
    auto ns = XMLTreeNode::namespaceWithName("p", "urn:p");
    EXPECT_EQ(ns->kind(), XMLTreeNode::NamespaceKind);
    EXPECT_EQ(ns->name(), Text("p"));
    EXPECT_EQ(ns->stringValue(), Text("urn:p"));
    foundation::ErrorPtr error;
    EXPECT_FALSE(ns->nodesForXPath(".", &error));
    EXPECT_EQ(error->userInfoValue("error").stringValue(), "invalid node");
}

}  // namespace
