// One of the user's delegates for the meeting: a person to whom the user may
// delegate an invitation.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVABaseItemModel.h"

class QVAMeetingDelegate : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVAMeetingDelegate";
    using Text = std::optional<std::string>;

    QVAMeetingDelegate() = default;
    static std::shared_ptr<QVAMeetingDelegate> initWithDictionary(const foundation::Value& dictionary);

    const Text& firstName() const { return firstName_; }
    const Text& lastName() const { return lastName_; }
    const Text& fullName() const { return fullName_; }
    const Text& photoUrl() const { return photoUrl_; }

    std::string className() const override { return kClassName; }

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;

private:
    Text firstName_, lastName_, fullName_, photoUrl_;
};
