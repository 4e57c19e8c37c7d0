// The plain source over bytes in memory.
#include "svg/sources/SVGXSource.h"

namespace svg {

std::shared_ptr<SVGXSource> SVGXSource::sourceFromData(const foundation::Data& data) {
    auto stream = foundation::InputStream::inputStreamWithData(data);
    stream->open();
    return std::make_shared<SVGXSource>(std::move(stream));
}

}  // namespace svg
