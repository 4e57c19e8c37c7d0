// UTF-16 counting, repair of ill-formed UTF-8, trimming, case, ASCII
// transliteration, folded search and collation of StringUtils.
#include <gtest/gtest.h>

#include "foundation/StringUtils.h"

using namespace foundation;
namespace SU = foundation::StringUtils;

TEST(StringUtils, LengthsAndPositionsCountUTF16Units) {
    EXPECT_EQ(SU::length16("a😀"), 3u);
    EXPECT_EQ(SU::length16("élan"), 4u);
    EXPECT_EQ(SU::substring16("a😀b", 1, 2), "😀");
    EXPECT_EQ(SU::substring16("a😀b", 3, 10), "b");
    EXPECT_EQ(SU::substring16("a😀b", 9, 1), "");
    EXPECT_EQ(SU::substring16("a😀b", 1, 1), "\uFFFD");  // half a pair

    const std::string s = "é😀x";  // bytes: 2 + 4 + 1
    EXPECT_EQ(SU::utf16Position(s, 2), 1u);
    EXPECT_EQ(SU::utf16Position(s, 6), 3u);
    EXPECT_EQ(SU::utf16Position(s, 3), 3u);  // inside the emoji
    EXPECT_EQ(SU::utf16Position(s, 99), 4u);
    EXPECT_EQ(SU::utf8Offset(s, 1), 2u);
    EXPECT_EQ(SU::utf8Offset(s, 2), 6u);  // inside the pair
    EXPECT_EQ(SU::utf8Offset(s, 3), 6u);
    EXPECT_EQ(SU::utf8Offset(s, 99), s.size());
    EXPECT_EQ(SU::fromUTF16(SU::toUTF16(s)), s);
}

TEST(StringUtils, InvalidUTF8IsRepairedConsistentlyAndNeverFails) {
    const std::string bad = "a\xC3(b\xF0\x9F\x98\xED\xA0\x80\xFF";
    EXPECT_FALSE(SU::isValidUTF8(bad));
    EXPECT_TRUE(SU::isValidUTF8("élan 😀"));
    const std::string repaired = SU::repairUTF8(bad);
    EXPECT_TRUE(SU::isValidUTF8(repaired));
    EXPECT_EQ(repaired, "a\uFFFD(b\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(SU::length16(bad), SU::length16(repaired));
    EXPECT_EQ(SU::fromUTF16(SU::toUTF16(bad)), repaired);
    EXPECT_TRUE(SU::isValidUTF8(SU::uppercase(bad)));
    EXPECT_TRUE(SU::isValidUTF8(SU::substring16(bad, 1, 3)));
    EXPECT_EQ(SU::trim(" \xFF "), "\xFF");
    EXPECT_EQ(SU::toASCIILossy("\xFF"), "?");
    EXPECT_FALSE(SU::beginsWithLetter("\xC3"));
    EXPECT_EQ(SU::localizedStandardCompare(bad, bad), 0);
}

TEST(StringUtils, TrimmingCaseAndASCII) {
    EXPECT_EQ(SU::trim("\u00a0 x \n"), "x");
    EXPECT_EQ(SU::trim("\u3000\u2028 a b\t\r\n"), "a b");
    EXPECT_EQ(SU::trim(" \n\u00a0"), "");
    EXPECT_EQ(SU::trim("\t\v\f\r x\x1c\x1f "), "x\x1c\x1f");
    EXPECT_EQ(SU::trimWhitespace("\t user \n"), "user \n");

    EXPECT_EQ(SU::uppercase("élan straße"), "ÉLAN STRASSE");
    EXPECT_EQ(SU::lowercase("ÆRØ İ"), "ærø i\u0307");
    // ASCII lowers A-Z alone, as the full mapping does.
    EXPECT_EQ(SU::lowercase("Content-TYPE @[`{ 09"), "content-type @[`{ 09");
    EXPECT_EQ(SU::lowercase(std::string("A\0B", 3)), std::string("a\0b", 3));
    EXPECT_EQ(SU::toASCIILossy("élan"), "elan");
    EXPECT_EQ(SU::toASCIILossy("Ærø"), "AEro");
    EXPECT_EQ(SU::toASCIILossy(SU::uppercase("łódź")), "LODZ");
    EXPECT_EQ(SU::toASCIILossy("a😀b"), "a?b");

    EXPECT_TRUE(SU::beginsWithLetter("Émile"));
    EXPECT_TRUE(SU::beginsWithLetter("e\u0301"));
    EXPECT_FALSE(SU::beginsWithLetter("1st"));
    EXPECT_FALSE(SU::beginsWithLetter(" a"));
    EXPECT_FALSE(SU::beginsWithLetter(""));
}

TEST(StringUtils, SearchAndComparison) {
    using SU::CaseInsensitive;
    using SU::DiacriticInsensitive;
    EXPECT_EQ(SU::find("Café Crème", "creme", CaseInsensitive | DiacriticInsensitive), (SU::Range{5, 5}));
    EXPECT_FALSE(SU::find("Café Crème", "creme", CaseInsensitive));
    EXPECT_EQ(SU::find("😀 ABC", "b", CaseInsensitive), (SU::Range{4, 1}));
    // Canonical equivalents match; a match never splits a character.
    EXPECT_EQ(SU::find("cafe\u0301!", "café"), (SU::Range{0, 5}));
    EXPECT_FALSE(SU::find("café", "cafe"));
    EXPECT_EQ(SU::find("cafe\u0301!", "cafe", DiacriticInsensitive), (SU::Range{0, 5}));
    EXPECT_TRUE(SU::contains("STRASSE", "straße", CaseInsensitive));
    EXPECT_FALSE(SU::contains("ß", "s", CaseInsensitive));
    EXPECT_FALSE(SU::contains("abc", ""));
    EXPECT_EQ(SU::fold("Émile", CaseInsensitive | DiacriticInsensitive), "emile");
    // Plain letters beside accented ones keep their places in the source.
    EXPECT_EQ(SU::find("Zoë ÅNGSTRÖM-Jones", "angstrom-J", CaseInsensitive | DiacriticInsensitive), (SU::Range{4, 10}));
    EXPECT_EQ(SU::find("Zoë ÅNGSTRÖM", "ngstr", CaseInsensitive), (SU::Range{5, 5}));
    EXPECT_FALSE(SU::find("Zoë ÅNGSTRÖM", "ngstr"));
    EXPECT_EQ(SU::fold("Émile", CaseInsensitive), SU::fold("e\u0301MILE", CaseInsensitive));

    EXPECT_EQ(SU::caseInsensitiveCompare("abc", "ABD"), -1);
    EXPECT_EQ(SU::caseInsensitiveCompare("Straße", "STRASSE"), 0);
    EXPECT_EQ(SU::localizedCaseInsensitiveCompare("apple", "Banana", Locale("en_US")), -1);
    EXPECT_EQ(SU::localizedCaseInsensitiveCompare("ÉCOLE", "école", Locale("en_US")), 0);
    EXPECT_EQ(SU::localizedCaseInsensitiveCompare("école", "ecole", Locale("en_US")), 1);
    EXPECT_EQ(SU::localizedStandardCompare("File 2", "file 10", Locale("en_US")), -1);
    EXPECT_EQ(SU::localizedStandardCompare("Zoë", "Zoe", Locale("en_US")), 1);
    EXPECT_EQ(SU::localizedStandardCompare("Émile", "Zola", Locale("en_US")), -1);
}

TEST(StringUtils, SortKeysOrderAsTheLocalizedComparisons) {
    const std::vector<std::string> texts{"File 2", "file 10", "Zoë",    "Zoe", "ÉCOLE", "école", "ecole",
                                         "Émile",  "Zola",    "Müller", "Mu",  "",      "a",     "A"};
    const Locale locale("en_US");
    auto sign = [](int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); };
    for (const auto& a : texts)
        for (const auto& b : texts) {
            EXPECT_EQ(sign(SU::localizedStandardSortKey(a, locale).value().compare(
                          SU::localizedStandardSortKey(b, locale).value())),
                      SU::localizedStandardCompare(a, b, locale))
                << a << " / " << b;
            EXPECT_EQ(sign(SU::localizedCaseInsensitiveSortKey(a, locale).value().compare(
                          SU::localizedCaseInsensitiveSortKey(b, locale).value())),
                      SU::localizedCaseInsensitiveCompare(a, b, locale))
                << a << " / " << b;
        }
}

TEST(StringUtils, SplitJoinReplace) {
    EXPECT_EQ(SU::split("a,,b", ","), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SU::split("abc", ""), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(SU::split("", ","), (std::vector<std::string>{""}));
    EXPECT_EQ(SU::join({"a", "b", "c"}, ", "), "a, b, c");
    EXPECT_EQ(SU::replace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(SU::replace("abc", "", "x"), "abc");
    EXPECT_TRUE(SU::hasPrefix("Europe/Brussels", "Europe/"));
    EXPECT_FALSE(SU::hasSuffix("a", "ba"));
}
