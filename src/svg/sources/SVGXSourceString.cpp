// The string source: the same bytes a UTF-8 file of the text would give.
#include "svg/sources/SVGXSourceString.h"

namespace svg {

std::shared_ptr<SVGXSource> SVGXSourceString::sourceFromContentsOfString(std::string_view text) {
    return SVGXSource::sourceFromData(foundation::Data::fromString(text));
}

}  // namespace svg
