// The URL source. The platform reads only file URLs as streams; for any other
// scheme the source still gets a stream, one that fails when opened, so the
// parser reports an unsupported URL instead of meeting no stream at all.
#include "svg/sources/SVGXSourceURL.h"

namespace svg {

namespace {

class UnsupportedURLInputStream : public foundation::InputStream {
public:
    explicit UnsupportedURLInputStream(std::string url) : url_(std::move(url)) {}
    void open() override {
        if (status_ != foundation::StreamStatus::NotOpen) return;
        fail(foundation::Error::make(foundation::kURLErrorDomain, foundation::URLError::UnsupportedURL,
                                     {{foundation::kURLErrorFailingURLStringErrorKey, foundation::Value(url_)}}));
    }
    long read(uint8_t* /*buffer*/, size_t /*maxLength*/) override { return -1; }
    bool hasBytesAvailable() const override { return false; }

private:
    std::string url_;
};

}  // namespace

std::shared_ptr<SVGXSourceURL> SVGXSourceURL::sourceFromURL(const foundation::URL& url) {
    foundation::InputStreamPtr stream = foundation::InputStream::inputStreamWithURL(url);
    if (!stream) stream = std::make_shared<UnsupportedURLInputStream>(url.absoluteString());
    stream->open();
    return std::make_shared<SVGXSourceURL>(std::move(stream), url);
}

}  // namespace svg
