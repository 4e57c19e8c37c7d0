// The media a style sheet applies to, as the DOM declares it. Floor plans
// never restrict their sheets to media, so nothing in the library makes one;
// the list keeps its text and answers no media.
#pragma once

#include <memory>
#include <string>

#include "foundation/Object.h"

namespace svg {

class MediaList : public foundation::Object {
public:
    const std::string& mediaText() const { return mediaText_; }
    void setMediaText(std::string text) { mediaText_ = std::move(text); }
    unsigned long length() const { return length_; }
    void setLength(unsigned long length) { length_ = length; }

    // Inert: no medium is ever listed.
    std::shared_ptr<std::string> item(unsigned long /*index*/) const { return nullptr; }
    void deleteMedium(const std::string& /*medium*/) {}
    void appendMedium(const std::string& /*medium*/) {}

    std::string className() const override { return "MediaList"; }

private:
    std::string mediaText_;
    unsigned long length_ = 0;
};

}  // namespace svg
