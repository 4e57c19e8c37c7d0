// One partner of the meeting.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVABaseItemModel.h"

class QVAPartner : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVAPartner";

    QVAPartner() = default;
    static std::shared_ptr<QVAPartner> initWithDictionary(const foundation::Value& dictionary);

    const std::optional<std::string>& name() const { return name_; }
    const std::optional<std::string>& commonName() const { return commonName_; }
    // "" when the service sends none.
    const std::string& engagementType() const { return engagementType_; }
    const std::optional<std::string>& profile() const { return profile_; }
    const std::optional<std::string>& logoUrl() const { return logoUrl_; }
    const std::optional<std::string>& thumbnailUrl() const { return thumbnailUrl_; }

    std::string className() const override { return kClassName; }

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;

private:
    std::optional<std::string> name_;
    std::optional<std::string> commonName_;
    std::string engagementType_;
    std::optional<std::string> profile_;
    std::optional<std::string> logoUrl_;
    std::optional<std::string> thumbnailUrl_;
};
