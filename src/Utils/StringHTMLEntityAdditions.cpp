// The entity tables are constant data, checked at compile time to be sorted
// by code unit, since escaping looks units up by binary search.
#include "Utils/StringHTMLEntityAdditions.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "foundation/StringUtils.h"

static_assert(sizeof(StringHTMLEntityAdditions::HTMLEscapeMap) == 16, "the operations are called with a table size of entries × 16");
static_assert(StringHTMLEntityAdditions::kAsciiHTMLEscapeMapSize == 4048);
static_assert(StringHTMLEntityAdditions::kUnicodeHTMLEscapeMapSize == 528);

namespace StringHTMLEntityAdditions {

constexpr HTMLEscapeMap gAsciiHTMLEscapeMap[253] = {
    {"&quot;", 34}, {"&amp;", 38}, {"&apos;", 39}, {"&lt;", 60}, {"&gt;", 62}, {"&nbsp;", 160}, {"&iexcl;", 161},
    {"&cent;", 162}, {"&pound;", 163}, {"&curren;", 164}, {"&yen;", 165}, {"&brvbar;", 166}, {"&sect;", 167},
    {"&uml;", 168}, {"&copy;", 169}, {"&ordf;", 170}, {"&laquo;", 171}, {"&not;", 172}, {"&shy;", 173},
    {"&reg;", 174}, {"&macr;", 175}, {"&deg;", 176}, {"&plusmn;", 177}, {"&sup2;", 178}, {"&sup3;", 179},
    {"&acute;", 180}, {"&micro;", 181}, {"&para;", 182}, {"&middot;", 183}, {"&cedil;", 184}, {"&sup1;", 185},
    {"&ordm;", 186}, {"&raquo;", 187}, {"&frac14;", 188}, {"&frac12;", 189}, {"&frac34;", 190}, {"&iquest;", 191},
    {"&Agrave;", 192}, {"&Aacute;", 193}, {"&Acirc;", 194}, {"&Atilde;", 195}, {"&Auml;", 196}, {"&Aring;", 197},
    {"&AElig;", 198}, {"&Ccedil;", 199}, {"&Egrave;", 200}, {"&Eacute;", 201}, {"&Ecirc;", 202}, {"&Euml;", 203},
    {"&Igrave;", 204}, {"&Iacute;", 205}, {"&Icirc;", 206}, {"&Iuml;", 207}, {"&ETH;", 208}, {"&Ntilde;", 209},
    {"&Ograve;", 210}, {"&Oacute;", 211}, {"&Ocirc;", 212}, {"&Otilde;", 213}, {"&Ouml;", 214}, {"&times;", 215},
    {"&Oslash;", 216}, {"&Ugrave;", 217}, {"&Uacute;", 218}, {"&Ucirc;", 219}, {"&Uuml;", 220}, {"&Yacute;", 221},
    {"&THORN;", 222}, {"&szlig;", 223}, {"&agrave;", 224}, {"&aacute;", 225}, {"&acirc;", 226}, {"&atilde;", 227},
    {"&auml;", 228}, {"&aring;", 229}, {"&aelig;", 230}, {"&ccedil;", 231}, {"&egrave;", 232}, {"&eacute;", 233},
    {"&ecirc;", 234}, {"&euml;", 235}, {"&igrave;", 236}, {"&iacute;", 237}, {"&icirc;", 238}, {"&iuml;", 239},
    {"&eth;", 240}, {"&ntilde;", 241}, {"&ograve;", 242}, {"&oacute;", 243}, {"&ocirc;", 244}, {"&otilde;", 245},
    {"&ouml;", 246}, {"&divide;", 247}, {"&oslash;", 248}, {"&ugrave;", 249}, {"&uacute;", 250}, {"&ucirc;", 251},
    {"&uuml;", 252}, {"&yacute;", 253}, {"&thorn;", 254}, {"&yuml;", 255}, {"&OElig;", 338}, {"&oelig;", 339},
    {"&Scaron;", 352}, {"&scaron;", 353}, {"&Yuml;", 376}, {"&fnof;", 402}, {"&circ;", 710}, {"&tilde;", 732},
    {"&Alpha;", 913}, {"&Beta;", 914}, {"&Gamma;", 915}, {"&Delta;", 916}, {"&Epsilon;", 917}, {"&Zeta;", 918},
    {"&Eta;", 919}, {"&Theta;", 920}, {"&Iota;", 921}, {"&Kappa;", 922}, {"&Lambda;", 923}, {"&Mu;", 924},
    {"&Nu;", 925}, {"&Xi;", 926}, {"&Omicron;", 927}, {"&Pi;", 928}, {"&Rho;", 929}, {"&Sigma;", 931},
    {"&Tau;", 932}, {"&Upsilon;", 933}, {"&Phi;", 934}, {"&Chi;", 935}, {"&Psi;", 936}, {"&Omega;", 937},
    {"&alpha;", 945}, {"&beta;", 946}, {"&gamma;", 947}, {"&delta;", 948}, {"&epsilon;", 949}, {"&zeta;", 950},
    {"&eta;", 951}, {"&theta;", 952}, {"&iota;", 953}, {"&kappa;", 954}, {"&lambda;", 955}, {"&mu;", 956},
    {"&nu;", 957}, {"&xi;", 958}, {"&omicron;", 959}, {"&pi;", 960}, {"&rho;", 961}, {"&sigmaf;", 962},
    {"&sigma;", 963}, {"&tau;", 964}, {"&upsilon;", 965}, {"&phi;", 966}, {"&chi;", 967}, {"&psi;", 968},
    {"&omega;", 969}, {"&thetasym;", 977}, {"&upsih;", 978}, {"&piv;", 982}, {"&ensp;", 8194}, {"&emsp;", 8195},
    {"&thinsp;", 8201}, {"&zwnj;", 8204}, {"&zwj;", 8205}, {"&lrm;", 8206}, {"&rlm;", 8207}, {"&ndash;", 8211},
    {"&mdash;", 8212}, {"&lsquo;", 8216}, {"&rsquo;", 8217}, {"&sbquo;", 8218}, {"&ldquo;", 8220}, {"&rdquo;", 8221},
    {"&bdquo;", 8222}, {"&dagger;", 8224}, {"&Dagger;", 8225}, {"&bull;", 8226}, {"&hellip;", 8230},
    {"&permil;", 8240}, {"&prime;", 8242}, {"&Prime;", 8243}, {"&lsaquo;", 8249}, {"&rsaquo;", 8250},
    {"&oline;", 8254}, {"&frasl;", 8260}, {"&euro;", 8364}, {"&image;", 8465}, {"&weierp;", 8472}, {"&real;", 8476},
    {"&trade;", 8482}, {"&alefsym;", 8501}, {"&larr;", 8592}, {"&uarr;", 8593}, {"&rarr;", 8594}, {"&darr;", 8595},
    {"&harr;", 8596}, {"&crarr;", 8629}, {"&lArr;", 8656}, {"&uArr;", 8657}, {"&rArr;", 8658}, {"&dArr;", 8659},
    {"&hArr;", 8660}, {"&forall;", 8704}, {"&part;", 8706}, {"&exist;", 8707}, {"&empty;", 8709}, {"&nabla;", 8711},
    {"&isin;", 8712}, {"&notin;", 8713}, {"&ni;", 8715}, {"&prod;", 8719}, {"&sum;", 8721}, {"&minus;", 8722},
    {"&lowast;", 8727}, {"&radic;", 8730}, {"&prop;", 8733}, {"&infin;", 8734}, {"&ang;", 8736}, {"&and;", 8743},
    {"&or;", 8744}, {"&cap;", 8745}, {"&cup;", 8746}, {"&int;", 8747}, {"&there4;", 8756}, {"&sim;", 8764},
    {"&cong;", 8773}, {"&asymp;", 8776}, {"&ne;", 8800}, {"&equiv;", 8801}, {"&le;", 8804}, {"&ge;", 8805},
    {"&sub;", 8834}, {"&sup;", 8835}, {"&nsub;", 8836}, {"&sube;", 8838}, {"&supe;", 8839}, {"&oplus;", 8853},
    {"&otimes;", 8855}, {"&perp;", 8869}, {"&sdot;", 8901}, {"&lceil;", 8968}, {"&rceil;", 8969}, {"&lfloor;", 8970},
    {"&rfloor;", 8971}, {"&lang;", 9001}, {"&rang;", 9002}, {"&loz;", 9674}, {"&spades;", 9824}, {"&clubs;", 9827},
    {"&hearts;", 9829}, {"&diams;", 9830}
};

constexpr HTMLEscapeMap gUnicodeHTMLEscapeMap[33] = {
    {"&quot;", 34}, {"&amp;", 38}, {"&apos;", 39}, {"&lt;", 60}, {"&gt;", 62}, {"&OElig;", 338}, {"&oelig;", 339},
    {"&Scaron;", 352}, {"&scaron;", 353}, {"&Yuml;", 376}, {"&circ;", 710}, {"&tilde;", 732}, {"&ensp;", 8194},
    {"&emsp;", 8195}, {"&thinsp;", 8201}, {"&zwnj;", 8204}, {"&zwj;", 8205}, {"&lrm;", 8206}, {"&rlm;", 8207},
    {"&ndash;", 8211}, {"&mdash;", 8212}, {"&lsquo;", 8216}, {"&rsquo;", 8217}, {"&sbquo;", 8218}, {"&ldquo;", 8220},
    {"&rdquo;", 8221}, {"&bdquo;", 8222}, {"&dagger;", 8224}, {"&Dagger;", 8225}, {"&permil;", 8240},
    {"&lsaquo;", 8249}, {"&rsaquo;", 8250}, {"&euro;", 8364}
};

namespace {

constexpr bool sortedByUnit(const HTMLEscapeMap* table, size_t count) {
    for (size_t i = 1; i < count; ++i) {
        if (table[i - 1].uchar >= table[i].uchar) return false;
    }
    return true;
}

// The shortest and longest reference considered, "&" and ";" included.
constexpr size_t kShortestReference = 4;
constexpr size_t kLongestReference = 10;
// References decode to one code unit; U+FFFF is not a character.
constexpr uint32_t kLargestReference = 65534;

void appendASCII(std::u16string& out, std::string_view ascii) {
    for (char c : ascii) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

int digitValue(char16_t c, int base) {
    int value = -1;
    if (c >= u'0' && c <= u'9') value = c - u'0';
    else if (c >= u'a' && c <= u'f') value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') value = c - u'A' + 10;
    return value < base ? value : -1;
}

// The number spelled by the whole of digits, when it is a code unit a
// reference may stand for.
std::optional<char16_t> referencedUnit(std::u16string_view digits, int base) {
    if (digits.empty()) return std::nullopt;
    uint32_t value = 0;
    for (char16_t c : digits) {
        int digit = digitValue(c, base);
        if (digit < 0) return std::nullopt;
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
        // At most eight digits fit in a reference, so this never wraps; stop
        // early anyway once the value is out of range.
        if (value > kLargestReference) return std::nullopt;
    }
    if (value < 1) return std::nullopt;
    return static_cast<char16_t>(value);
}

std::optional<char16_t> namedUnit(std::u16string_view candidate) {
    for (const HTMLEscapeMap& entry : gAsciiHTMLEscapeMap) {
        const size_t length = std::strlen(entry.escapeSequence);
        if (length != candidate.size()) continue;
        if (std::equal(candidate.begin(), candidate.end(), entry.escapeSequence,
                       [](char16_t a, char b) { return a == static_cast<unsigned char>(b); }))
            return entry.uchar;
    }
    return std::nullopt;
}

std::optional<char16_t> decodedReference(std::u16string_view candidate) {
    if (candidate[1] == u'#') {
        if (candidate[2] == u'x' || candidate[2] == u'X')
            return referencedUnit(candidate.substr(3, candidate.size() - 4), 16);
        return referencedUnit(candidate.substr(2, candidate.size() - 3), 10);
    }
    return namedUnit(candidate);
}

}  // namespace

static_assert(sortedByUnit(gAsciiHTMLEscapeMap, 253), "the full table must be sorted by code unit");
static_assert(sortedByUnit(gUnicodeHTMLEscapeMap, 33), "the special table must be sorted by code unit");

std::string qva_stringByEscapingHTMLUsingTable(std::string_view text, const HTMLEscapeMap* table, size_t ofSize,
                                               bool escapingUnicode) {
    if (text.empty()) return std::string(text);
    const HTMLEscapeMap* end = table + ofSize / sizeof(HTMLEscapeMap);
    const std::u16string units = foundation::StringUtils::toUTF16(text);
    std::u16string out;
    out.reserve(units.size());
    for (char16_t unit : units) {
        const HTMLEscapeMap* found = std::lower_bound(
            table, end, unit, [](const HTMLEscapeMap& entry, char16_t u) { return entry.uchar < u; });
        if (found != end && found->uchar == unit) {
            appendASCII(out, found->escapeSequence);
        } else if (escapingUnicode && unit >= 128) {
            appendASCII(out, "&#" + std::to_string(static_cast<unsigned>(unit)) + ";");
        } else {
            out.push_back(unit);
        }
    }
    return foundation::StringUtils::fromUTF16(out);
}

std::string qva_stringByEscapingForHTML(std::string_view text) {
    return qva_stringByEscapingHTMLUsingTable(text, gUnicodeHTMLEscapeMap, kUnicodeHTMLEscapeMapSize, false);
}

std::string qva_stringByEscapingForAsciiHTML(std::string_view text) {
    return qva_stringByEscapingHTMLUsingTable(text, gAsciiHTMLEscapeMap, kAsciiHTMLEscapeMapSize, true);
}

std::string qva_stringByUnescapingFromHTML(std::string_view text) {
    if (text.find('&') == std::string_view::npos) return std::string(text);
    const std::u16string source = foundation::StringUtils::toUTF16(text);
    std::u16string result = source;
    // Backwards from the last "&": replacing from the end keeps every
    // earlier position valid in the copy.
    size_t searchEnd = source.size();
    while (searchEnd > 0) {
        const size_t ampersand = source.rfind(u'&', searchEnd - 1);
        if (ampersand == std::u16string::npos) break;
        const size_t rangeEnd = searchEnd;
        searchEnd = ampersand;
        const size_t semicolon = std::u16string_view(source).substr(0, rangeEnd).find(u';', ampersand + 1);
        if (semicolon == std::u16string_view::npos) continue;
        const size_t length = semicolon - ampersand + 1;
        if (length < kShortestReference || length > kLongestReference) continue;
        if (auto unit = decodedReference(std::u16string_view(source).substr(ampersand, length)))
            result.replace(ampersand, length, 1, *unit);
    }
    return foundation::StringUtils::fromUTF16(result);
}

}  // namespace StringHTMLEntityAdditions
