// One map-file link of a venue's floor level: where the maps service
// downloads the file and the name it caches it under. Archived inside the
// floor levels of a venue row.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/KeyedArchiver.h"

class QVAImapsLinksModel : public foundation::Coding {
public:
    static constexpr const char* kClassName = "QVAImapsLinksModel";

    QVAImapsLinksModel() = default;
    static std::shared_ptr<QVAImapsLinksModel> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVAImapsLinksModel> initWithCoder(const foundation::KeyedUnarchiver& coder);

    // The download address ("href").
    const std::optional<std::string>& hrefString() const { return hrefString_; }
    // The file reference ("rel"), used as the cache file name.
    const std::optional<std::string>& relString() const { return relString_; }

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;

private:
    std::optional<std::string> hrefString_;
    std::optional<std::string> relString_;
};
