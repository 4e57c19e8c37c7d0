// A person on whose behalf the user may log in.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVABaseItemModel.h"

class QVALoginDelegator : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVALoginDelegator";
    using Text = std::optional<std::string>;

    QVALoginDelegator() = default;
    static std::shared_ptr<QVALoginDelegator> initWithDictionary(const foundation::Value& dictionary);

    const Text& fullName() const { return fullName_; }
    const Text& firstName() const { return firstName_; }
    const Text& lastName() const { return lastName_; }
    const Text& type() const { return type_; }
    const Text& email() const { return email_; }
    const Text& username() const { return username_; }

    std::string className() const override { return kClassName; }

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;

private:
    Text fullName_, firstName_, lastName_, type_, email_, username_;
};
