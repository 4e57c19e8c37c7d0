// Text held in memory as a source: the built-in placeholder image is drawn
// from one. The factory answers a plain SVGXSource over the UTF-8 bytes and
// keeps no raw string; the class and its field exist for sources made by hand.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "svg/sources/SVGXSource.h"

namespace svg {

class SVGXSourceString : public SVGXSource {
public:
    SVGXSourceString(foundation::InputStreamPtr stream, std::string rawString)
        : SVGXSource(std::move(stream)), rawString_(std::move(rawString)) {}

    static std::shared_ptr<SVGXSource> sourceFromContentsOfString(std::string_view text);

    const std::string& rawString() const { return rawString_; }
    void setRawString(std::string text) { rawString_ = std::move(text); }

    std::string className() const override { return "SVGXSourceString"; }

private:
    std::string rawString_;
};

}  // namespace svg
