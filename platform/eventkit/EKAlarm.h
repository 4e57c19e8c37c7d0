// A reminder of an event, some seconds before (negative) or after its start.
#pragma once

#include <memory>

#include "foundation/Object.h"

namespace eventkit {

class EKAlarm : public foundation::Object {
public:
    explicit EKAlarm(double relativeOffset) : relativeOffset_(relativeOffset) {}
    static std::shared_ptr<EKAlarm> alarmWithRelativeOffset(double offset) {
        return std::make_shared<EKAlarm>(offset);
    }

    double relativeOffset() const { return relativeOffset_; }
    void setRelativeOffset(double offset) { relativeOffset_ = offset; }

    std::string className() const override { return "EKAlarm"; }

private:
    double relativeOffset_;
};

using EKAlarmPtr = std::shared_ptr<EKAlarm>;

}  // namespace eventkit
