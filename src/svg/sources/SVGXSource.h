// What the parser reads: an already opened byte stream, plus the SVG language
// version the parse finds on the root element. Subclasses remember where the
// bytes came from. A source whose bytes cannot be reached still exists: its
// stream is in the error status and the parser reports why.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Data.h"
#include "foundation/InputStream.h"
#include "foundation/Object.h"

namespace svg {

class SVGXSource : public foundation::Object {
public:
    // Takes the stream as it is, opened or not.
    explicit SVGXSource(foundation::InputStreamPtr stream) : stream_(std::move(stream)) {}

    // A plain source on an opened stream over the bytes.
    static std::shared_ptr<SVGXSource> sourceFromData(const foundation::Data& data);

    const std::optional<std::string>& svgLanguageVersion() const { return svgLanguageVersion_; }
    void setSvgLanguageVersion(std::optional<std::string> version) { svgLanguageVersion_ = std::move(version); }
    const foundation::InputStreamPtr& stream() const { return stream_; }
    void setStream(foundation::InputStreamPtr stream) { stream_ = std::move(stream); }

    std::string className() const override { return "SVGXSource"; }

private:
    std::optional<std::string> svgLanguageVersion_;
    foundation::InputStreamPtr stream_;
};

}  // namespace svg
