// The user's privacy flags, read from and sent back to the service.
#pragma once

#include <memory>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/IEntityModel.h"

class QVAPrivacySettings : public foundation::Object, public IEntityModel {
public:
    static constexpr const char* kClassName = "QVAPrivacySettings";

    QVAPrivacySettings() = default;
    static std::shared_ptr<QVAPrivacySettings> initWithDictionary(const foundation::Value& dictionary);

    bool isPrimaryEmailVisible() const { return isPrimaryEmailVisible_; }
    void setIsPrimaryEmailVisible(bool v) { isPrimaryEmailVisible_ = v; }
    bool isNationalityVisible() const { return isNationalityVisible_; }
    void setIsNationalityVisible(bool v) { isNationalityVisible_ = v; }
    bool isPhoneVisible() const { return isPhoneVisible_; }
    void setIsPhoneVisible(bool v) { isPhoneVisible_ = v; }
    bool isMobilePhoneVisible() const { return isMobilePhoneVisible_; }
    void setIsMobilePhoneVisible(bool v) { isMobilePhoneVisible_ = v; }

    std::string className() const override { return kClassName; }

private:
    bool isPrimaryEmailVisible_ = false;
    bool isNationalityVisible_ = false;
    bool isPhoneVisible_ = false;
    bool isMobilePhoneVisible_ = false;
};
