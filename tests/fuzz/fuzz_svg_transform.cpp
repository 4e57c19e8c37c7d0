// Any text given as a transform list, and as a root element's size and view
// box, reads without a sanitizer report; the only errors it adds are the
// recoverable ones for skew items, at most one per "(".
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/Log.h"
#include "svg/elements/SVGPathElement.h"
#include "svg/elements/SVGSVGElement.h"

using namespace svg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const bool quiet = (foundation::setLogSink([](const std::string&) {}), true);
    (void)quiet;
    std::string text(reinterpret_cast<const char*>(bytes), size);

    auto result = std::make_shared<SVGXParseResult>();
    auto element = std::make_shared<SVGPathElement>(
        "path", std::map<std::string, std::string>{{"transform", text}, {"gradientTransform", text}});
    element->postProcessAttributesAddingErrorsTo(result);
    if (!result->warnings().empty() || !result->errorsFatal().empty()) std::abort();
    if (result->errorsRecoverable().size() > size_t(std::count(text.begin(), text.end(), '('))) std::abort();
    for (const auto& error : result->errorsRecoverable()) {
        if (error->domain() != kSVGXLibraryErrorDomain || error->code() != kSVGXErrorCodeUnsupportedTransform) {
            std::abort();
        }
    }

    auto root = std::make_shared<SVGSVGElement>(
        "svg", std::map<std::string, std::string>{{"viewBox", text}, {"width", text}, {"height", text}});
    root->postProcessAttributesAddingErrorsTo(result);
    if (root->viewport().width != root->requestedViewport().width) std::abort();
    return 0;
}
