// The event-driven XML reader: what it reports of a feed, how it stops on
// bad input, and that it never reaches outside the document.
#include <gtest/gtest.h>

#include "foundation/Exception.h"
#include "foundation/FileManager.h"
#include "support/TemporaryDirectory.h"  // tests/foundation
#include "foundation/XMLParser.h"

using namespace foundation;

namespace {

// Writes every event as a line; text is collected per element.
class Events : public XMLParserDelegate {
public:
    std::vector<std::string> lines;
    std::string text;
    int errors = 0;
    std::string abortAt;
    std::string throwAt;

    void didStartDocument(XMLParser&) override { lines.push_back("start document"); }
    void didEndDocument(XMLParser&) override { lines.push_back("end document"); }
    void didStartElement(XMLParser& parser, const std::string& name, const std::optional<std::string>& uri,
                         const std::optional<std::string>& qname, const Attributes& attributes) override {
        flush();
        std::string line = "<" + name;
        if (uri) line += " {" + *uri + "}";
        if (qname) line += " " + *qname;
        for (const auto& [k, v] : attributes) line += " " + k + "=" + v;
        lines.push_back(line + ">");
        if (name == abortAt) parser.abortParsing();
        if (name == throwAt) throw Exception("Please implement in subclasses", "do it");
    }
    void didEndElement(XMLParser&, const std::string& name, const std::optional<std::string>&,
                       const std::optional<std::string>&) override {
        flush();
        lines.push_back("</" + name + ">");
    }
    void didStartMappingPrefix(XMLParser&, const std::string& prefix, const std::string& uri) override {
        lines.push_back("map " + prefix + "=" + uri);
    }
    void didEndMappingPrefix(XMLParser&, const std::string& prefix) override { lines.push_back("unmap " + prefix); }
    void foundCharacters(XMLParser&, const std::string& s) override { text += s; }
    void foundCDATA(XMLParser&, const Data& data) override {
        flush();
        lines.push_back("cdata " + data.toString());
    }
    void parseErrorOccurred(XMLParser&, const ErrorPtr&) override { ++errors; }

private:
    void flush() {
        std::string trimmed = text;
        trimmed.erase(0, trimmed.find_first_not_of(" \n"));
        trimmed.erase(trimmed.find_last_not_of(" \n") + 1);
        if (!trimmed.empty()) lines.push_back("\"" + trimmed + "\"");
        text.clear();
    }
};

const char* kFeed = R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0" xmlns:dc="http://purl.org/dc/elements/1.1/">
  <channel>
    <title>Reports &amp; papers</title>
    <item>
      <title>Annual report &#8211; 2014</title>
      <link>https://example.org/r/1?a=1&amp;b=2</link>
      <description><![CDATA[<p>Summary</p>]]></description>
      <dc:creator>Ann Author</dc:creator>
      <enclosure url="https://example.org/r/1.pdf?a=1&amp;b=2" length="1024" type="application/pdf"/>
    </item>
  </channel>
</rss>)";

std::shared_ptr<Events> parseEvents(const std::string& xml, bool* result = nullptr, XMLParser** keep = nullptr,
                              bool namespaces = false) {
    static std::shared_ptr<XMLParser> parser;
    parser = std::make_shared<XMLParser>(Data::fromString(xml));
    auto events = std::make_shared<Events>();
    parser->setDelegate(events);
    parser->setShouldProcessNamespaces(namespaces);
    bool ok = parser->parse();
    if (result) *result = ok;
    if (keep) *keep = parser.get();
    return events;
}

}  // namespace

TEST(XMLParser, ReportsTheElementsOfAFeed) {
    bool ok = false;
    XMLParser* parser = nullptr;
    auto events = parseEvents(kFeed, &ok, &parser);
    EXPECT_TRUE(ok);
    EXPECT_EQ(parser->parserError(), nullptr);
    EXPECT_EQ(events->errors, 0);
    std::vector<std::string> expected{
        "start document",
        "<rss version=2.0 xmlns:dc=http://purl.org/dc/elements/1.1/>",
        "<channel>",
        "<title>",
        "\"Reports & papers\"",
        "</title>",
        "<item>",
        "<title>",
        "\"Annual report \u2013 2014\"",
        "</title>",
        "<link>",
        "\"https://example.org/r/1?a=1&b=2\"",
        "</link>",
        "<description>",
        "cdata <p>Summary</p>",
        "</description>",
        "<dc:creator>",
        "\"Ann Author\"",
        "</dc:creator>",
        "<enclosure length=1024 type=application/pdf url=https://example.org/r/1.pdf?a=1&b=2>",
        "</enclosure>",
        "</item>",
        "</channel>",
        "</rss>",
        "end document",
    };
    EXPECT_EQ(events->lines, expected);
    EXPECT_FALSE(parser->parse());  // once only

    // With namespaces: local names, URIs, qualified names, prefixes in scope.
    auto p = std::make_shared<XMLParser>(Data::fromString(
        R"(<feed xmlns="urn:a" xmlns:dc="urn:dc"><dc:creator dc:role="x">Ann</dc:creator></feed>)"));
    auto ns = std::make_shared<Events>();
    p->setDelegate(ns);
    p->setShouldProcessNamespaces(true);
    p->setShouldReportNamespacePrefixes(true);
    EXPECT_TRUE(p->parse());
    EXPECT_EQ(ns->lines, (std::vector<std::string>{"start document", "map =urn:a", "map dc=urn:dc",
                                                   "<feed {urn:a} feed>", "<creator {urn:dc} dc:creator dc:role=x>",
                                                   "\"Ann\"", "</creator>", "</feed>", "unmap ", "unmap dc",
                                                   "end document"}));

    // Characters may come in pieces; together they are the text.
    std::string longText(100000, 'x');
    auto big = parseEvents("<a>" + longText + "</a>", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(big->lines[2], "\"" + longText + "\"");
}

TEST(XMLParser, StopsAtMalformedInput) {
    bool ok = true;
    XMLParser* parser = nullptr;
    auto events = parseEvents("<rss><channel><title>Unclosed</channel><after/></rss>", &ok, &parser);
    EXPECT_FALSE(ok);
    EXPECT_EQ(events->errors, 1);
    ASSERT_TRUE(parser->parserError());
    EXPECT_EQ(parser->parserError()->domain(), kXMLParserErrorDomain);
    EXPECT_NE(parser->parserError()->code(), 0);
    EXPECT_FALSE(parser->parserError()->localizedDescription().empty());
    EXPECT_EQ(parser->parserError()->userInfoValue("NSXMLParserErrorLineNumber").integerValue(), 1);
    for (const auto& line : events->lines) EXPECT_NE(line, "<after>");

    parseEvents("", &ok, &parser);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(parser->parserError());
    parseEvents("<a></b>", &ok);
    EXPECT_FALSE(ok);
    parseEvents("not xml at all", &ok);
    EXPECT_FALSE(ok);

    // The delegate stops the walk.
    auto p = std::make_shared<XMLParser>(Data::fromString("<a><b/><c/></a>"));
    auto stopping = std::make_shared<Events>();
    stopping->abortAt = "b";
    p->setDelegate(stopping);
    EXPECT_FALSE(p->parse());
    EXPECT_EQ(p->parserError()->code(), kXMLParserDelegateAbortedParseError);
    EXPECT_EQ(stopping->lines.back(), "<b>");

    // A delegate's exception comes out of parse().
    auto q = std::make_shared<XMLParser>(Data::fromString("<a><b/></a>"));
    auto throwing = std::make_shared<Events>();
    throwing->throwAt = "a";
    q->setDelegate(throwing);
    EXPECT_THROW(q->parse(), Exception);
    EXPECT_EQ(throwing->lines.back(), "<a>");
}

TEST(XMLParser, NeverReachesOutsideTheDocument) {
    TemporaryDirectory dir;
    std::string secret = dir / "secret.txt";
    ASSERT_TRUE(FileManager::defaultManager().writeData(Data::fromString("SECRET"), secret, false));
    std::string dtd = dir / "outside.dtd";
    ASSERT_TRUE(FileManager::defaultManager().writeData(Data::fromString("<!ENTITY e \"FROMDTD\">"), dtd, false));

    bool ok = false;
    auto external = parseEvents("<!DOCTYPE r [<!ENTITY ext SYSTEM \"file://" + secret + "\">]><r>a&ext;b</r>", &ok);
    EXPECT_EQ(external->lines[2], "\"ab\"");
    auto inAttribute = parseEvents("<!DOCTYPE r [<!ENTITY ext SYSTEM \"file://" + secret + "\">]><r a='&ext;'/>", &ok);
    EXPECT_FALSE(ok);
    for (const auto& line : inAttribute->lines) EXPECT_EQ(line.find("SECRET"), std::string::npos) << line;
    auto parameter = parseEvents("<!DOCTYPE r [<!ENTITY % p SYSTEM \"file://" + dtd + "\"> %p;]><r>&e;</r>", &ok);
    for (const auto& line : parameter->lines) EXPECT_EQ(line.find("FROMDTD"), std::string::npos) << line;
    auto outside = parseEvents("<!DOCTYPE r SYSTEM \"file://" + dtd + "\"><r>x&e;y</r>", &ok);
    for (const auto& line : outside->lines) EXPECT_EQ(line.find("FROMDTD"), std::string::npos) << line;

    // Internal entities read as their text.
    auto internal = parseEvents("<!DOCTYPE r [<!ENTITY who \"world\"><!ENTITY both \"&who;+&who;\">]>"
                          "<r a='&who; &amp; &#60;'>hello &who; &both;</r>",
                          &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(internal->lines[1], "<r a=world & <>");
    EXPECT_EQ(internal->lines[2], "\"hello world world+world\"");

    // An entity bomb ends without blowing up.
    std::string bomb = "<!DOCTYPE lolz [<!ENTITY lol \"lol\">";
    bomb += "<!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">";
    for (int i = 2; i <= 9; ++i) {
        std::string prev = "&lol" + std::to_string(i - 1) + ";";
        std::string ten;
        for (int k = 0; k < 10; ++k) ten += prev;
        bomb += "<!ENTITY lol" + std::to_string(i) + " \"" + ten + "\">";
    }
    bomb += "]><lolz>&lol9;</lolz>";
    XMLParser* parser = nullptr;
    auto blown = parseEvents(bomb, &ok, &parser);
    EXPECT_FALSE(ok);
    EXPECT_EQ(blown->errors, 1);
    EXPECT_TRUE(parser->parserError());
    size_t total = 0;
    for (const auto& line : blown->lines) total += line.size();
    EXPECT_LT(total, 10u * 1024 * 1024);
}
