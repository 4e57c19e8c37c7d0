// The reports feed parser on its own: the "media:content" address rules,
// item order, split and CDATA text, nothing written for a feed that breaks
// off, and the base delegate refusing to parse.
#include <gtest/gtest.h>

#include "api/DocumentInfoXMLParserDelegate.h"
#include "foundation/Exception.h"
#include "model/QVADocumentInfo.h"

namespace {

// Keeps what the channel's end would write.
class CapturingDelegate : public DocumentInfoXMLParserDelegate {
public:
    std::optional<std::vector<std::shared_ptr<QVADocumentInfo>>> written;

protected:
    void writeDocuments(const std::vector<std::shared_ptr<QVADocumentInfo>>& documents) override {
        written = documents;
    }
};

std::shared_ptr<CapturingDelegate> parse(const std::string& xml) {
    auto delegate = std::make_shared<CapturingDelegate>();
    foundation::XMLParser parser(foundation::Data::fromString(xml));
    parser.setDelegate(delegate);
    parser.parse();
    return delegate;
}

std::string item(const std::string& inner) { return "<item>" + inner + "</item>"; }
std::string feed(const std::string& items) { return "<rss><channel>" + items + "</channel></rss>"; }

TEST(DocumentInfoXMLParserDelegateTest, MediaContentRules) {
    auto delegate = parse(feed(
        item(R"(<media:content url="a"/><media:content url="b" isDefault="true"/>)") +
        item(R"(<media:content url="c"/><media:content url="d"/>)") +
        item(R"(<media:content url="e"/><media:content isDefault="true"/>)") +
        item(R"(<media:content url=""/><media:content url="f"/>)") + item("<title>none</title>")));
    ASSERT_TRUE(delegate->written);
    const auto& docs = *delegate->written;
    ASSERT_EQ(docs.size(), 5u);
    EXPECT_EQ(docs[0]->url(), std::optional<std::string>("b"));
    EXPECT_EQ(docs[1]->url(), std::optional<std::string>("c"));
    EXPECT_EQ(docs[2]->url(), std::nullopt);
    EXPECT_EQ(docs[3]->url(), std::optional<std::string>("f"));
    EXPECT_EQ(docs[4]->url(), std::nullopt);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(docs[i]->index(), i);
}

TEST(DocumentInfoXMLParserDelegateTest, TextIsJoinedAndKeptAsIs) {
    auto delegate = parse(feed("<title>feed title</title>" +
                               item("<title> A &amp; B </title><description>x<![CDATA[<b>y</b>]]>z</description>") +
                               "<title>after</title>"));
    ASSERT_TRUE(delegate->written);
    ASSERT_EQ(delegate->written->size(), 1u);
    auto doc = delegate->written->at(0);
    // A title after the item ended overwrites the last item's.
    EXPECT_EQ(doc->title(), std::optional<std::string>("after"));
    EXPECT_EQ(doc->documentDescription(), std::optional<std::string>("x<b>y</b>z"));

    auto spaced = parse(feed(item("<title> A &amp; B </title>")));
    EXPECT_EQ(spaced->written->at(0)->title(), std::optional<std::string>(" A & B "));
}

TEST(DocumentInfoXMLParserDelegateTest, OnlyAWholeChannelIsWritten) {
    auto empty = parse(feed(""));
    ASSERT_TRUE(empty->written);
    EXPECT_TRUE(empty->written->empty());

    auto cut = parse("<rss><channel>" + item("<title>x</title>") + "<item><title>y");
    EXPECT_FALSE(cut->written);

    // An item nested in another is one report, not two.
    auto nested = parse(feed("<item><item><title>x</title></item></item>"));
    ASSERT_TRUE(nested->written);
    EXPECT_EQ(nested->written->size(), 1u);

    // Media content outside any item, and an item outside any channel.
    auto stray = parse(R"(<rss><media:content url="z"/><item><title>t</title></item></rss>)");
    EXPECT_FALSE(stray->written);
}

TEST(DocumentInfoXMLParserDelegateTest, BaseDelegateRefusesToParse) {
    auto base = std::make_shared<XMLParserBaseDelegate>();
    foundation::XMLParser parser(foundation::Data::fromString("<rss/>"));
    parser.setDelegate(base);
    try {
        parser.parse();
        FAIL() << "the base delegate parsed";
    } catch (const foundation::Exception& exception) {
        EXPECT_EQ(exception.name(), "Please implement in subclasses");
        EXPECT_EQ(exception.reason(), "do it");
    }
}

}  // namespace
