// A source read from a file on disk: the way every floor plan is loaded.
#pragma once

#include <memory>
#include <string>

#include "svg/sources/SVGXSource.h"

namespace svg {

class SVGXSourceLocalFile : public SVGXSource {
public:
    SVGXSourceLocalFile(foundation::InputStreamPtr stream, std::string filePath)
        : SVGXSource(std::move(stream)), filePath_(std::move(filePath)) {}

    // An opened file stream; a missing or unreadable file gives a source whose
    // stream is in the error status.
    static std::shared_ptr<SVGXSourceLocalFile> sourceFromFilename(const std::string& path);

    const std::string& filePath() const { return filePath_; }
    void setFilePath(std::string path) { filePath_ = std::move(path); }

    std::string className() const override { return "SVGXSourceLocalFile"; }

private:
    std::string filePath_;
};

}  // namespace svg
