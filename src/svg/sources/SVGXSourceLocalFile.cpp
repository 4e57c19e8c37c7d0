// The file source: the stream is opened here so the parser only reads.
#include "svg/sources/SVGXSourceLocalFile.h"

namespace svg {

std::shared_ptr<SVGXSourceLocalFile> SVGXSourceLocalFile::sourceFromFilename(const std::string& path) {
    auto stream = foundation::InputStream::inputStreamWithFileAtPath(path);
    stream->open();
    return std::make_shared<SVGXSourceLocalFile>(std::move(stream), path);
}

}  // namespace svg
