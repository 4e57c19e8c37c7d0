// Uniform resource locators as RFC 3986 defines them: parsing into components,
// resolution of a reference against a base, and the percent-encoding helpers.
// A URL is an immutable value. Parsing is strict (characters outside the RFC's
// grammar, a bad percent escape or a bad port give no URL), so every URL that
// exists prints back as a valid absolute or relative reference.
#pragma once

#include <bitset>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// The bytes that percent-encoding leaves alone. Bytes outside ASCII are always encoded.
class AllowedCharacters {
public:
    AllowedCharacters() = default;
    explicit AllowedCharacters(std::string_view characters);

    // The sets of RFC 3986 for each component.
    static AllowedCharacters urlUserAllowed();
    static AllowedCharacters urlPasswordAllowed();
    static AllowedCharacters urlHostAllowed();
    static AllowedCharacters urlPathAllowed();
    static AllowedCharacters urlQueryAllowed();
    static AllowedCharacters urlFragmentAllowed();
    // Letters, digits and "-._~".
    static AllowedCharacters unreserved();

    AllowedCharacters adding(std::string_view characters) const;
    AllowedCharacters removing(std::string_view characters) const;
    bool contains(unsigned char c) const { return c < 128 && bits_[c]; }

private:
    std::bitset<128> bits_;
};

// Every byte not in the set becomes "%XX" (upper-case hex).
std::string percentEncode(std::string_view text, const AllowedCharacters& allowed);
// Nothing when an escape is malformed or the decoded bytes are not UTF-8.
std::optional<std::string> percentDecode(std::string_view text);

class URL {
public:
    // Nothing when the text is not a URI reference (empty text included).
    static std::optional<URL> URLWithString(std::string_view string);
    // The reference resolved against the base as RFC 3986 section 5.2 says.
    static std::optional<URL> URLWithString(std::string_view string, const URL& base);
    // A "file" URL of a path; a relative path is taken from the working directory.
    static URL fileURLWithPath(std::string_view path, bool isDirectory = false);

    // The resolved text; for a URL without base, the text it was made from.
    const std::string& absoluteString() const { return absolute_; }
    // The text as given, before resolution.
    const std::string& relativeString() const { return relative_; }
    const URL* baseURL() const { return base_.get(); }

    // Components of the resolved URL. Scheme, host, user and password are
    // nothing when absent or empty; the path is percent-decoded and loses a
    // trailing "/" (except the root); query and fragment stay encoded.
    std::optional<std::string> scheme() const;
    std::optional<std::string> host() const;
    std::optional<int> port() const;
    std::optional<std::string> user() const;
    std::optional<std::string> password() const;
    std::string path() const;
    std::optional<std::string> query() const;
    std::optional<std::string> fragment() const;

    std::string lastPathComponent() const;
    // The text after the last "." of the last path component ("" when none).
    std::string pathExtension() const;
    // The component (plain text, encoded here) added to the path; query and
    // fragment are kept.
    URL URLByAppendingPathComponent(std::string_view component, bool isDirectory = false) const;
    bool isFileURL() const;
    // Same scheme, host and port (a missing port read as the scheme's
    // default, 80 for http and 443 for https), scheme and host compared
    // without regard to case. Credentials meant for one origin go to no
    // other; a URL without scheme or host has no origin and matches none.
    bool isSameOriginAs(const URL& other) const;

    bool operator==(const URL& other) const { return absolute_ == other.absolute_; }

    // Parsed reference, all parts still percent-encoded. Public for the parser
    // and the resolver only.
    struct Parts {
        std::optional<std::string> scheme;
        std::optional<std::string> authority;
        std::string userInfo;
        bool hasUserInfo = false;
        std::string host;
        std::optional<int> port;
        std::string path;
        std::optional<std::string> query;
        std::optional<std::string> fragment;
    };

private:
    URL() = default;
    static URL fromParts(Parts parts, std::string relative, std::shared_ptr<const URL> base);

    Parts parts_;
    std::string absolute_;
    std::string relative_;
    std::shared_ptr<const URL> base_;
};

}  // namespace foundation
