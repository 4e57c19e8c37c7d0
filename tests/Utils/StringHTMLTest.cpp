#include <gtest/gtest.h>

#include <string>

#include "Utils/StringHTML.h"
#include "Utils/StringHTMLEntityAdditions.h"

using namespace StringHTMLEntityAdditions;
using namespace StringHTML;

TEST(StringHTMLEntityAdditions, TablesHoldTheThreeSetsSortedByCodeUnit) {
    EXPECT_EQ(std::string(gAsciiHTMLEscapeMap[0].escapeSequence), "&quot;");
    EXPECT_EQ(std::string(gAsciiHTMLEscapeMap[252].escapeSequence), "&diams;");
    EXPECT_EQ(gAsciiHTMLEscapeMap[252].uchar, 9830);
    EXPECT_EQ(std::string(gUnicodeHTMLEscapeMap[32].escapeSequence), "&euro;");
    // Every special character is in the full table with the same sequence.
    for (const HTMLEscapeMap& special : gUnicodeHTMLEscapeMap) {
        bool found = false;
        for (const HTMLEscapeMap& entry : gAsciiHTMLEscapeMap)
            found |= entry.uchar == special.uchar && std::string(entry.escapeSequence) == special.escapeSequence;
        EXPECT_TRUE(found) << special.escapeSequence;
    }
}

TEST(StringHTMLEntityAdditions, EscapingWithTheFullOrTheSpecialTable) {
    EXPECT_EQ(qva_stringByEscapingForAsciiHTML("caf\u00e9"), "caf&eacute;");
    EXPECT_EQ(qva_stringByEscapingForAsciiHTML("\u4e2d"), "&#20013;");
    EXPECT_EQ(qva_stringByEscapingForAsciiHTML("\U0001F600"), "&#55357;&#56832;");
    EXPECT_EQ(qva_stringByEscapingForAsciiHTML("a<b & 'c'"), "a&lt;b &amp; &apos;c&apos;");
    EXPECT_EQ(qva_stringByEscapingForHTML("caf\u00e9 \u4e2d <"), "caf\u00e9 \u4e2d &lt;");
    EXPECT_EQ(qva_stringByEscapingForHTML("\u2014\u20ac"), "&mdash;&euro;");
    EXPECT_EQ(qva_stringByEscapingForAsciiHTML(""), "");
    // Without numeric escapes, a unit missing from the table stays itself.
    EXPECT_EQ(qva_stringByEscapingHTMLUsingTable("\u00e9\u4e2d", gAsciiHTMLEscapeMap, kAsciiHTMLEscapeMapSize, false),
              "&eacute;\u4e2d");
    EXPECT_EQ(stringByEncodingHTMLEntities("\u00e9", true), "\u00e9");
    EXPECT_EQ(stringByEncodingHTMLEntities("\u00e9", false), "&eacute;");
    EXPECT_EQ(stringByEncodingHTMLEntities("\u00e9"), "&eacute;");
}

TEST(StringHTMLEntityAdditions, UnescapingReplacesOnlyWellFormedReferences) {
    EXPECT_EQ(qva_stringByUnescapingFromHTML("&#x41;&#X41;&#65;"), "AAA");
    EXPECT_EQ(qva_stringByUnescapingFromHTML("&#0; &#65535; &nosuch; & &amp"), "&#0; &#65535; &nosuch; & &amp");
    EXPECT_EQ(qva_stringByUnescapingFromHTML("&thetasym;"), "\u03d1");
    EXPECT_EQ(qva_stringByUnescapingFromHTML("&#000000065;"), "&#000000065;");  // 11 characters
    EXPECT_EQ(qva_stringByUnescapingFromHTML("&#x4G;&#6a;&#;&#x;"), "&#x4G;&#6a;&#;&#x;");
    EXPECT_EQ(qva_stringByUnescapingFromHTML("&AMP; &amp;"), "&AMP; &");  // names are case-sensitive
    // Backwards: "&amp;lt;" decodes once, to "&lt;".
    EXPECT_EQ(qva_stringByUnescapingFromHTML("&amp;lt;"), "&lt;");
    // A ";" past the next "&" belongs to that one.
    EXPECT_EQ(qva_stringByUnescapingFromHTML("&lt &gt;"), "&lt >");
    EXPECT_EQ(stringByDecodingHTMLEntities("caf&eacute; &#8364;"), "caf\u00e9 \u20ac");
    const std::string text = "x<y> & \"q\" \u00e9\u4e2d\U0001F600 \u20ac\u00a0;&";
    EXPECT_EQ(qva_stringByUnescapingFromHTML(qva_stringByEscapingForAsciiHTML(text)), text);
}

TEST(StringHTML, PlainTextOfHTML) {
    EXPECT_EQ(stringByConvertingHTMLToPlainText("<p>one</p><p>two</p>"), "one two");
    EXPECT_EQ(stringByConvertingHTMLToPlainText("<p>hel<b>lo</b>wor</B>ld</p>"), "helloworld");
    EXPECT_EQ(stringByConvertingHTMLToPlainText("a<!-- <p>hidden</p> -->b"), "ab");
    EXPECT_EQ(stringByConvertingHTMLToPlainText("  one \n\t two  "), "one two");
    EXPECT_EQ(stringByConvertingHTMLToPlainText("</p>x</>y</div>"), "x y");
    EXPECT_EQ(stringByConvertingHTMLToPlainText("fish &amp; chips<br/>"), "fish & chips");
    EXPECT_EQ(stringByConvertingHTMLToPlainText("<p>open"), "open");
    EXPECT_EQ(stringByConvertingHTMLToPlainText(""), "");
}

TEST(StringHTML, LineBreaksAndWhiteSpace) {
    EXPECT_EQ(stringWithNewLinesAsBRs("a\r\nb"), "a<br />b");
    EXPECT_EQ(stringWithNewLinesAsBRs("a\n\nb"), "a<br /><br />b");
    EXPECT_EQ(stringWithNewLinesAsBRs("a\r\n\r\nb\u2028"), "a<br /><br />b<br />");
    EXPECT_EQ(stringWithNewLinesAsBRs("a \tb"), "a \tb");
    EXPECT_EQ(stringByRemovingNewLinesAndWhitespace(" \u2029a \r\n\u0085 b\x0c"), "a b");
    EXPECT_EQ(stringByRemovingNewLinesAndWhitespace(" \t "), "");
}

TEST(StringHTML, StrippingTags) {
    EXPECT_EQ(stringByStrippingTags("  no tags \n here "), "  no tags \n here ");
    EXPECT_EQ(stringByStrippingTags("<b>a</b><span>b</span>"), "a b");
    EXPECT_EQ(stringByStrippingTags("<em>x</em><strong>y</strong> <a>z</a>"), "xy z");
    // With attributes, an anchor is a tag like any other.
    EXPECT_EQ(stringByStrippingTags("a<a href=\"u\">x</a>y"), "a xy");
    EXPECT_EQ(stringByStrippingTags("<x<b>c<b>d"), "c d");
    EXPECT_EQ(stringByStrippingTags("a <unclosed"), "a <unclosed");
}

TEST(StringHTML, LinkifyingURLs) {
    EXPECT_EQ(stringByLinkifyingURLs("see https://example.org/x."),
              "see <a href=\"https://example.org/x\" class=\"linkified\">https://example.org/x</a>.");
    const std::string linked = "<a href=\"http://example.org/\">here</a>";
    EXPECT_EQ(stringByLinkifyingURLs(linked), linked);
    EXPECT_EQ(stringByLinkifyingURLs("http://localhost and ftp://a.b"), "http://localhost and ftp://a.b");
    EXPECT_EQ(stringByLinkifyingURLs("http://a.b/c?d=1&e=2, \u00e9"),
              "<a href=\"http://a.b/c?d=1&e=2\" class=\"linkified\">http://a.b/c?d=1&e=2</a>, \u00e9");
}
