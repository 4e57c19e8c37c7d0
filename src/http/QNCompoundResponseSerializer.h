// A response serializer that asks its members in turn and takes the first
// result, so one transport can accept, say, JSON or XML. When no member gives
// a result it behaves as the base serializer: status 200 to 299, no
// content-type check, the body unchanged.
#pragma once

#include <memory>
#include <vector>

#include "http/QNHTTPResponseSerializer.h"

class QNCompoundResponseSerializer : public QNHTTPResponseSerializer {
public:
    using Serializers = std::vector<std::shared_ptr<QNHTTPResponseSerializer>>;

    QNCompoundResponseSerializer() = default;
    static std::shared_ptr<QNCompoundResponseSerializer> compoundSerializerWithResponseSerializers(
        Serializers serializers);

    const Serializers& responseSerializers() const { return serializers_; }
    void setResponseSerializers(Serializers serializers) { serializers_ = std::move(serializers); }

    // The winning member's error comes with its result, with whatever *error
    // held chained under it; the errors of members without result are dropped.
    foundation::Value responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                const std::optional<foundation::Data>& data,
                                                foundation::ErrorPtr* error) const override;

    // The copy shares the members.
    std::shared_ptr<QNHTTPResponseSerializer> copy() const override;
    static constexpr const char* kClassName = "QNCompoundResponseSerializer";
    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNCompoundResponseSerializer> initWithCoder(const foundation::KeyedUnarchiver& coder);

private:
    Serializers serializers_;
};
