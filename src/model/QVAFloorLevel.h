// One floor level of a venue, with its map-file links. Venue rows keep their
// floor levels as a keyed archive, so the archive keys are a stored format.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/KeyedArchiver.h"
#include "model/IEntityModel.h"
#include "model/QVAImapsLinksModel.h"

class QVAFloorLevel : public foundation::Coding, public IEntityModel {
public:
    static constexpr const char* kClassName = "QVAFloorLevel";

    QVAFloorLevel() = default;
    static std::shared_ptr<QVAFloorLevel> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVAFloorLevel> initWithCoder(const foundation::KeyedUnarchiver& coder);

    const std::optional<std::string>& name() const { return name_; }
    bool isDefault() const { return isDefault_; }
    // In the service's order; empty when the level has none.
    const std::vector<std::shared_ptr<QVAImapsLinksModel>>& interactiveMaps() const { return interactiveMaps_; }
    const std::optional<std::string>& imageUrl() const { return imageUrl_; }
    int32_t levelNumber() const { return levelNumber_; }
    // Whether its level is an integer id (ModelReading::int32IdOf) or none
    // at all; a venue keeps no other.
    bool hasUsableIds() const override { return hasUsableLevel_; }

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;

private:
    std::optional<std::string> name_;
    bool isDefault_ = false;
    std::vector<std::shared_ptr<QVAImapsLinksModel>> interactiveMaps_;
    std::optional<std::string> imageUrl_;
    int32_t levelNumber_ = 0;
    bool hasUsableLevel_ = true;
};
