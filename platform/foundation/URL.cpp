// Parsing follows the regular expression of RFC 3986 appendix B to split a
// reference, then checks each part against the grammar of section 3; the
// resolver is the algorithm of section 5.2 word for word, so the examples of
// section 5.4 hold.
#include "foundation/URL.h"

#include <cctype>
#include <filesystem>
#include <tuple>

namespace foundation {

namespace {

constexpr std::string_view kAlpha = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kSubDelims = "!$&'()*+,;=";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isUTF8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        size_t extra;
        uint32_t cp;
        if (c < 0x80) { ++i; continue; }
        if ((c & 0xe0) == 0xc0) { extra = 1; cp = c & 0x1f; }
        else if ((c & 0xf0) == 0xe0) { extra = 2; cp = c & 0x0f; }
        else if ((c & 0xf8) == 0xf0) { extra = 3; cp = c & 0x07; }
        else return false;
        if (i + extra >= s.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            auto n = static_cast<unsigned char>(s[i + k]);
            if ((n & 0xc0) != 0x80) return false;
            cp = (cp << 6) | (n & 0x3f);
        }
        static constexpr uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return false;
        i += extra + 1;
    }
    return true;
}

// Decodes escapes without asking for UTF-8 (paths may name any bytes).
std::string decodeBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int hi = hexValue(text[i + 1]), lo = hexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Every character is in the set or starts a well-formed escape.
bool conforms(std::string_view text, const AllowedCharacters& allowed) {
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c == '%') {
            if (i + 2 >= text.size() || hexValue(text[i + 1]) < 0 || hexValue(text[i + 2]) < 0) return false;
            i += 2;
        } else if (!allowed.contains(c)) {
            return false;
        }
    }
    return true;
}

const AllowedCharacters& pcharSet() {
    static const AllowedCharacters set = AllowedCharacters::unreserved().adding(kSubDelims).adding(":@");
    return set;
}

bool validScheme(std::string_view s) {
    if (s.empty() || kAlpha.find(s[0]) == std::string_view::npos) return false;
    for (char c : s) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

// Splits "userinfo@host:port" into the parts; false when a piece breaks the grammar.
bool parseAuthority(std::string_view authority, URL::Parts& parts) {
    size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        std::string_view userInfo = authority.substr(0, at);
        if (!conforms(userInfo, AllowedCharacters::unreserved().adding(kSubDelims).adding(":"))) return false;
        parts.userInfo = std::string(userInfo);
        parts.hasUserInfo = true;
        authority.remove_prefix(at + 1);
    }
    std::string_view host, port;
    bool hasPort = false;
    if (!authority.empty() && authority[0] == '[') {
        size_t close = authority.find(']');
        if (close == std::string_view::npos) return false;
        host = authority.substr(0, close + 1);
        std::string_view inner = host.substr(1, host.size() - 2);
        if (inner.empty() || !conforms(inner, AllowedCharacters("0123456789abcdefABCDEF:.vV").adding(kSubDelims)
                                                   .adding(kAlpha).adding("-._~")))
            return false;
        std::string_view rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') return false;
            hasPort = true;
            port = rest.substr(1);
        }
    } else {
        size_t colon = authority.rfind(':');
        host = authority.substr(0, colon);
        if (colon != std::string_view::npos) {
            hasPort = true;
            port = authority.substr(colon + 1);
        }
        if (!conforms(host, AllowedCharacters::unreserved().adding(kSubDelims))) return false;
    }
    parts.host = std::string(host);
    if (hasPort && !port.empty()) {
        if (port.size() > 5 || port.find_first_not_of(kDigits) != std::string_view::npos) return false;
        int value = std::stoi(std::string(port));
        if (value > 65535) return false;
        parts.port = value;
    }
    return true;
}

std::optional<URL::Parts> parseReference(std::string_view s) {
    URL::Parts parts;
    // scheme: the text before the first ":" when no "/", "?" or "#" comes earlier.
    size_t colon = s.find(':');
    size_t delimiter = s.find_first_of("/?#");
    if (colon != std::string_view::npos && (delimiter == std::string_view::npos || colon < delimiter)) {
        std::string_view scheme = s.substr(0, colon);
        if (!validScheme(scheme)) return std::nullopt;
        parts.scheme = std::string(scheme);
        s.remove_prefix(colon + 1);
    }
    size_t hash = s.find('#');
    if (hash != std::string_view::npos) {
        std::string_view fragment = s.substr(hash + 1);
        if (!conforms(fragment, AllowedCharacters::urlFragmentAllowed())) return std::nullopt;
        parts.fragment = std::string(fragment);
        s = s.substr(0, hash);
    }
    size_t question = s.find('?');
    if (question != std::string_view::npos) {
        std::string_view query = s.substr(question + 1);
        if (!conforms(query, AllowedCharacters::urlQueryAllowed())) return std::nullopt;
        parts.query = std::string(query);
        s = s.substr(0, question);
    }
    if (s.substr(0, 2) == "//") {
        s.remove_prefix(2);
        size_t slash = s.find('/');
        std::string_view authority = s.substr(0, slash);
        if (!parseAuthority(authority, parts)) return std::nullopt;
        parts.authority = std::string(authority);
        s = slash == std::string_view::npos ? std::string_view() : s.substr(slash);
    }
    if (!conforms(s, AllowedCharacters::urlPathAllowed())) return std::nullopt;
    parts.path = std::string(s);
    return parts;
}

// RFC 3986 section 5.2.4.
std::string removeDotSegments(std::string_view input) {
    std::string output;
    while (!input.empty()) {
        if (input.substr(0, 3) == "../") {
            input.remove_prefix(3);
        } else if (input.substr(0, 2) == "./") {
            input.remove_prefix(2);
        } else if (input.substr(0, 3) == "/./") {
            input.remove_prefix(2);
        } else if (input == "/.") {
            input = "/";
        } else if (input.substr(0, 4) == "/../" || input == "/..") {
            input = input.size() == 3 ? std::string_view("/") : input.substr(3);
            size_t last = output.rfind('/');
            output.erase(last == std::string::npos ? 0 : last);
        } else if (input == "." || input == "..") {
            input = {};
        } else {
            size_t next = input.find('/', 1);
            std::string_view segment = input.substr(0, next);
            output += segment;
            input.remove_prefix(segment.size());
        }
    }
    return output;
}

// RFC 3986 section 5.2.3.
std::string merge(const URL::Parts& base, const std::string& referencePath) {
    if (base.authority && base.path.empty()) return "/" + referencePath;
    size_t slash = base.path.rfind('/');
    if (slash == std::string::npos) return referencePath;
    return base.path.substr(0, slash + 1) + referencePath;
}

// RFC 3986 section 5.3.
std::string recompose(const URL::Parts& p) {
    std::string out;
    if (p.scheme) out += *p.scheme + ":";
    if (p.authority) out += "//" + *p.authority;
    out += p.path;
    if (p.query) out += "?" + *p.query;
    if (p.fragment) out += "#" + *p.fragment;
    return out;
}

}  // namespace

AllowedCharacters::AllowedCharacters(std::string_view characters) {
    for (char c : characters) {
        auto u = static_cast<unsigned char>(c);
        if (u < 128) bits_.set(u);
    }
}

AllowedCharacters AllowedCharacters::adding(std::string_view characters) const {
    AllowedCharacters copy = *this;
    copy.bits_ |= AllowedCharacters(characters).bits_;
    return copy;
}

AllowedCharacters AllowedCharacters::removing(std::string_view characters) const {
    AllowedCharacters copy = *this;
    copy.bits_ &= ~AllowedCharacters(characters).bits_;
    return copy;
}

AllowedCharacters AllowedCharacters::unreserved() {
    return AllowedCharacters(kAlpha).adding(kDigits).adding("-._~");
}
AllowedCharacters AllowedCharacters::urlUserAllowed() { return unreserved().adding(kSubDelims); }
AllowedCharacters AllowedCharacters::urlPasswordAllowed() { return unreserved().adding(kSubDelims); }
AllowedCharacters AllowedCharacters::urlHostAllowed() { return unreserved().adding(kSubDelims).adding(":[]"); }
AllowedCharacters AllowedCharacters::urlPathAllowed() { return pcharSet().adding("/"); }
AllowedCharacters AllowedCharacters::urlQueryAllowed() { return pcharSet().adding("/?"); }
AllowedCharacters AllowedCharacters::urlFragmentAllowed() { return pcharSet().adding("/?"); }

std::string percentEncode(std::string_view text, const AllowedCharacters& allowed) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (allowed.contains(c)) {
            out += ch;
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 0xf];
        }
    }
    return out;
}

std::optional<std::string> percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        int hi = hexValue(text[i + 1]), lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    if (!isUTF8(out)) return std::nullopt;
    return out;
}

URL URL::fromParts(Parts parts, std::string relative, std::shared_ptr<const URL> base) {
    // Dot-segment removal can leave a path that would print as something else:
    // "//x" without authority reads as an authority, "a:b" without scheme as a
    // scheme. A leading "/." or "./" keeps the text meaning what the parts say.
    if (!parts.authority && parts.path.substr(0, 2) == "//") parts.path.insert(0, "/.");
    if (!parts.scheme && !parts.authority && parts.path.substr(0, parts.path.find('/')).find(':') != std::string::npos)
        parts.path.insert(0, "./");
    URL url;
    url.absolute_ = recompose(parts);
    url.relative_ = relative.empty() && !base ? url.absolute_ : std::move(relative);
    url.parts_ = std::move(parts);
    url.base_ = std::move(base);
    return url;
}

std::optional<URL> URL::URLWithString(std::string_view string) {
    if (string.empty()) return std::nullopt;
    auto parts = parseReference(string);
    if (!parts) return std::nullopt;
    return fromParts(std::move(*parts), std::string(string), nullptr);
}

std::optional<URL> URL::URLWithString(std::string_view string, const URL& base) {
    auto reference = parseReference(string);
    if (!reference) return std::nullopt;
    const Parts& b = base.parts_;
    Parts& r = *reference;
    Parts t;
    if (r.scheme) {
        t = r;
        t.path = removeDotSegments(r.path);
    } else {
        if (r.authority) {
            t = r;
            t.path = removeDotSegments(r.path);
        } else {
            if (r.path.empty()) {
                t.path = b.path;
                t.query = r.query ? r.query : b.query;
            } else {
                t.path = r.path[0] == '/' ? removeDotSegments(r.path) : removeDotSegments(merge(b, r.path));
                t.query = r.query;
            }
            t.authority = b.authority;
            t.userInfo = b.userInfo;
            t.hasUserInfo = b.hasUserInfo;
            t.host = b.host;
            t.port = b.port;
        }
        t.scheme = b.scheme;
    }
    t.fragment = r.fragment;
    return fromParts(std::move(t), std::string(string), std::make_shared<const URL>(base));
}

URL URL::fileURLWithPath(std::string_view path, bool isDirectory) {
    std::string absolute(path);
    if (absolute.empty() || absolute[0] != '/') {
        std::error_code ec;
        std::string cwd = std::filesystem::current_path(ec).string();
        absolute = (cwd.empty() || cwd.back() != '/' ? cwd + "/" : cwd) + absolute;
    }
    if (isDirectory && absolute.back() != '/') absolute += '/';
    Parts parts;
    parts.scheme = "file";
    parts.authority = "";
    parts.path = percentEncode(absolute, AllowedCharacters::urlPathAllowed());
    return fromParts(std::move(parts), {}, nullptr);
}

std::optional<std::string> URL::scheme() const { return parts_.scheme; }

std::optional<std::string> URL::host() const {
    if (!parts_.authority || parts_.host.empty()) return std::nullopt;
    return decodeBytes(parts_.host);
}

std::optional<int> URL::port() const { return parts_.port; }

std::optional<std::string> URL::user() const {
    if (!parts_.hasUserInfo) return std::nullopt;
    std::string user = decodeBytes(parts_.userInfo.substr(0, parts_.userInfo.find(':')));
    if (user.empty()) return std::nullopt;
    return user;
}

std::optional<std::string> URL::password() const {
    size_t colon = parts_.userInfo.find(':');
    if (!parts_.hasUserInfo || colon == std::string::npos) return std::nullopt;
    std::string password = decodeBytes(parts_.userInfo.substr(colon + 1));
    if (password.empty()) return std::nullopt;
    return password;
}

std::string URL::path() const {
    std::string path = decodeBytes(parts_.path);
    if (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::optional<std::string> URL::query() const { return parts_.query; }
std::optional<std::string> URL::fragment() const { return parts_.fragment; }

std::string URL::lastPathComponent() const {
    std::string p = path();
    if (p == "/" || p.empty()) return p;
    return p.substr(p.rfind('/') + 1);
}

std::string URL::pathExtension() const {
    std::string last = lastPathComponent();
    size_t dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0 || last == "/") return std::string();
    return last.substr(dot + 1);
}

URL URL::URLByAppendingPathComponent(std::string_view component, bool isDirectory) const {
    Parts parts = parts_;
    if (parts.path.empty() || parts.path.back() != '/') parts.path += '/';
    std::string encoded = percentEncode(component, AllowedCharacters::urlPathAllowed());
    if (!encoded.empty() && encoded[0] == '/') encoded.erase(0, encoded.find_first_not_of('/'));
    parts.path += encoded;
    if (isDirectory && parts.path.back() != '/') parts.path += '/';
    return fromParts(std::move(parts), {}, nullptr);
}

bool URL::isFileURL() const {
    if (!parts_.scheme) return false;
    std::string s = *parts_.scheme;
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s == "file";
}

bool URL::isSameOriginAs(const URL& other) const {
    auto lower = [](std::string text) {
        for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    auto origin = [&](const URL& url) -> std::optional<std::tuple<std::string, std::string, int>> {
        auto scheme = url.scheme();
        auto host = url.host();
        if (!scheme || !host) return std::nullopt;
        std::string s = lower(*scheme);
        int port = url.port().value_or(s == "https" ? 443 : s == "http" ? 80 : -1);
        return std::make_tuple(s, lower(*host), port);
    };
    auto mine = origin(*this);
    return mine && mine == origin(other);
}

}  // namespace foundation
