// A participant the user follows. The follow buttons also build one from a
// participant before sending the follow or unfollow request.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVABaseItemModel.h"

class QVAFollowedParticipant : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVAFollowedParticipant";
    using Text = std::optional<std::string>;

    QVAFollowedParticipant() = default;
    static std::shared_ptr<QVAFollowedParticipant> initWithDictionary(const foundation::Value& dictionary);
    // No revision: the follow buttons know only the participant's names.
    static std::shared_ptr<QVAFollowedParticipant> initWithId(Text itemId, Text firstName, Text lastName,
                                                              Text fullName);

    const Text& firstName() const { return firstName_; }
    const Text& lastName() const { return lastName_; }
    const Text& fullName() const { return fullName_; }

    std::string className() const override { return kClassName; }

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;

private:
    Text firstName_, lastName_, fullName_;
};
