// The user's note on a session.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVABaseItemModel.h"

class QVASessionNote : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVASessionNote";

    QVASessionNote() = default;
    static std::shared_ptr<QVASessionNote> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVASessionNote> initWithCoder(const foundation::KeyedUnarchiver& coder);

    const std::optional<std::string>& sessionId() const { return sessionId_; }
    const std::optional<std::string>& note() const { return note_; }

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    void decodeFields(const foundation::KeyedUnarchiver& coder) override;

private:
    std::optional<std::string> sessionId_;
    std::optional<std::string> note_;
};
