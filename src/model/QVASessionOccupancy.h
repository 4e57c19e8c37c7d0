// How full a session is, loaded on demand by the session detail screen.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"

class QVASessionOccupancy : public foundation::Object {
public:
    static constexpr const char* kClassName = "QVASessionOccupancy";

    QVASessionOccupancy() = default;
    static std::shared_ptr<QVASessionOccupancy> initWithDictionary(const foundation::Value& dictionary);

    int32_t occupancyPercent() const { return occupancyPercent_; }
    int32_t remainingCapacity() const { return remainingCapacity_; }

    std::string className() const override { return kClassName; }

private:
    int32_t occupancyPercent_ = 0;
    int32_t remainingCapacity_ = 0;
};
