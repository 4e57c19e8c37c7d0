// A request serializer that sends the parameters of body-carrying methods as
// an XML property list ("Content-Type: application/x-plist" unless the
// request says otherwise); GET, HEAD and DELETE parameters go into the URI.
#pragma once

#include <memory>

#include "http/QNHTTPRequestSerializer.h"

class QNPropertyListRequestSerializer : public QNHTTPRequestSerializer {
public:
    // Leaves the format at 0, which no writer accepts; use the factories.
    QNPropertyListRequestSerializer() = default;
    // XML format (100), no options.
    static std::shared_ptr<QNPropertyListRequestSerializer> serializer();
    static std::shared_ptr<QNPropertyListRequestSerializer> serializerWithFormat(unsigned format,
                                                                                 unsigned writeOptions);

    // foundation::PropertyListSerialization::Format; only the XML format is written.
    unsigned format() const { return format_; }
    void setFormat(unsigned format) { format_ = format; }
    // Kept, copied and archived for the serializer's users; the writer has no options.
    unsigned writeOptions() const { return writeOptions_; }
    void setWriteOptions(unsigned options) { writeOptions_ = options; }

    // When the parameters cannot be written (not a property list, or a format
    // other than XML), the request comes back without body and the error is in *error.
    std::optional<foundation::URLRequest> requestBySerializingRequest(const foundation::URLRequest& request,
                                                                      const foundation::Value& parameters,
                                                                      foundation::ErrorPtr* error) const override;

    std::shared_ptr<QNHTTPRequestSerializer> copy() const override;
    static constexpr const char* kClassName = "QNPropertyListRequestSerializer";
    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNPropertyListRequestSerializer> initWithCoder(const foundation::KeyedUnarchiver& coder);

private:
    unsigned format_ = 0;
    unsigned writeOptions_ = 0;
};
