// One permission of the user for the meeting (a permission code such as
// "event:notes" and whether it is granted).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/IEntityModel.h"

class QVAPermission : public foundation::Object, public IEntityModel {
public:
    static constexpr const char* kClassName = "QVAPermission";

    QVAPermission() = default;
    static std::shared_ptr<QVAPermission> initWithDictionary(const foundation::Value& dictionary);

    const std::optional<std::string>& code() const { return code_; }
    void setCode(std::optional<std::string> v) { code_ = std::move(v); }
    bool granted() const { return granted_; }
    void setGranted(bool v) { granted_ = v; }

    std::string className() const override { return kClassName; }

private:
    std::optional<std::string> code_;
    bool granted_ = false;
};
