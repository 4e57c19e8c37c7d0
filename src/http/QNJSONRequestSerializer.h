// A request serializer that sends the parameters of body-carrying methods as
// JSON ("Content-Type: application/json" unless the request says otherwise);
// the parameters of GET, HEAD and DELETE still go into the URI. The API
// client's serializer.
#pragma once

#include <memory>

#include "http/QNHTTPRequestSerializer.h"

class QNJSONRequestSerializer : public QNHTTPRequestSerializer {
public:
    QNJSONRequestSerializer() = default;
    static std::shared_ptr<QNJSONRequestSerializer> serializer() { return serializerWithWritingOptions(0); }
    static std::shared_ptr<QNJSONRequestSerializer> serializerWithWritingOptions(unsigned options);

    // foundation::JSONSerialization::WritingOptions; 0 writes compact JSON.
    unsigned writingOptions() const { return writingOptions_; }
    void setWritingOptions(unsigned options) { writingOptions_ = options; }

    // When the parameters cannot be written as JSON, the request comes back
    // without body and the writer's error is in *error.
    std::optional<foundation::URLRequest> requestBySerializingRequest(const foundation::URLRequest& request,
                                                                      const foundation::Value& parameters,
                                                                      foundation::ErrorPtr* error) const override;

    std::shared_ptr<QNHTTPRequestSerializer> copy() const override;
    static constexpr const char* kClassName = "QNJSONRequestSerializer";
    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNJSONRequestSerializer> initWithCoder(const foundation::KeyedUnarchiver& coder);

private:
    unsigned writingOptions_ = 0;
};
