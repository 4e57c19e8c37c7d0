// One entry of the image cache: the image loaded under a file name and how
// many times it has been handed out again since.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/Object.h"

namespace svg {

class SVGXImage;

class SVGXImageCacheLine : public foundation::Object {
public:
    // 0 after the first load; each cache hit adds one.
    int32_t numberOfInstances() const { return numberOfInstances_; }
    void setNumberOfInstances(int32_t count) { numberOfInstances_ = count; }
    // Held strongly: a cached image lives at least as long as its line.
    const std::shared_ptr<SVGXImage>& mainInstance() const { return mainInstance_; }
    void setMainInstance(std::shared_ptr<SVGXImage> image) { mainInstance_ = std::move(image); }

    std::string className() const override { return "SVGXImageCacheLine"; }

private:
    int32_t numberOfInstances_ = 0;
    std::shared_ptr<SVGXImage> mainInstance_;
};

}  // namespace svg
