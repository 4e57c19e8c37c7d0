// Any text given to the URL parser gives a URL or nothing; a URL's own text
// parses back to the same URL, resolution against a base always yields a URL
// that reparses, and percent-encoding round-trips.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/URL.h"

using namespace foundation;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string text(reinterpret_cast<const char*>(bytes), size);
    static const URL base = *URL::URLWithString("http://a/b/c/d;p?q");

    if (auto url = URL::URLWithString(text)) {
        auto again = URL::URLWithString(url->absoluteString());
        if (!again || again->absoluteString() != url->absoluteString()) std::abort();
        (void)url->host();
        (void)url->port();
        (void)url->user();
        (void)url->password();
        (void)url->path();
        (void)url->pathExtension();
        (void)url->URLByAppendingPathComponent(text).absoluteString();
        if (auto self = URL::URLWithString("../x?y#z", *url)) (void)self->path();
    }
    if (auto resolved = URL::URLWithString(text, base)) {
        if (!URL::URLWithString(resolved->absoluteString())) std::abort();
    }
    std::string encoded = percentEncode(text, AllowedCharacters::urlQueryAllowed());
    auto decoded = percentDecode(encoded);
    if (decoded && *decoded != text) std::abort();
    return 0;
}
