// One entry of the address book of people the user may write to.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/QVABaseItemModel.h"

class QVAMessageRecipient : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVAMessageRecipient";
    using Text = std::optional<std::string>;

    QVAMessageRecipient() = default;
    static std::shared_ptr<QVAMessageRecipient> initWithDictionary(const foundation::Value& dictionary);

    const Text& fullName() const { return fullName_; }
    const Text& firstName() const { return firstName_; }
    const Text& lastName() const { return lastName_; }

    std::string className() const override { return kClassName; }
    // A message's "to" field lists its recipients' ids joined by commas
    // (CommaJoinedList), so an id that may not join that list would name
    // other people there: such a person can receive no message at all.
    static bool isSendableId(std::string_view id);
    bool hasUsableIds() const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;

private:
    Text fullName_, firstName_, lastName_;
};
