// A source named by a URL. Only file URLs have a stream that reads; any other
// scheme gives a source whose stream is in the error status.
#pragma once

#include <memory>

#include "foundation/URL.h"
#include "svg/sources/SVGXSource.h"

namespace svg {

class SVGXSourceURL : public SVGXSource {
public:
    SVGXSourceURL(foundation::InputStreamPtr stream, foundation::URL url)
        : SVGXSource(std::move(stream)), url_(std::move(url)) {}

    static std::shared_ptr<SVGXSourceURL> sourceFromURL(const foundation::URL& url);

    const foundation::URL& URL() const { return url_; }
    void setURL(foundation::URL url) { url_ = std::move(url); }

    std::string className() const override { return "SVGXSourceURL"; }

private:
    foundation::URL url_;
};

}  // namespace svg
