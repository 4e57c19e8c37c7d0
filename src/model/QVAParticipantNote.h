// The user's note on a participant.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVABaseItemModel.h"

class QVAParticipantNote : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVAParticipantNote";

    QVAParticipantNote() = default;
    static std::shared_ptr<QVAParticipantNote> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVAParticipantNote> initWithCoder(const foundation::KeyedUnarchiver& coder);

    const std::optional<std::string>& participantId() const { return participantId_; }
    const std::optional<std::string>& note() const { return note_; }

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    void decodeFields(const foundation::KeyedUnarchiver& coder) override;

private:
    std::optional<std::string> participantId_;
    std::optional<std::string> note_;
};
