// An area the location services watch for entry and exit; a region is known
// by its identifier (two regions with one identifier are the same region to
// a manager).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"

namespace location {

class CLRegion : public foundation::Object {
public:
    explicit CLRegion(std::optional<std::string> identifier) : identifier_(std::move(identifier)) {}

    const std::optional<std::string>& identifier() const { return identifier_; }

    std::string className() const override { return "CLRegion"; }
    std::string description() const override;

private:
    std::optional<std::string> identifier_;
};

using CLRegionPtr = std::shared_ptr<CLRegion>;

}  // namespace location
