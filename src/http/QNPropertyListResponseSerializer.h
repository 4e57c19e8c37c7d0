// Parses "application/x-plist" bodies as XML property lists.
#pragma once

#include <memory>

#include "http/QNHTTPResponseSerializer.h"

class QNPropertyListResponseSerializer : public QNHTTPResponseSerializer {
public:
    // Leaves format and options at 0; the factories set the XML format.
    QNPropertyListResponseSerializer();
    static std::shared_ptr<QNPropertyListResponseSerializer> serializer();
    static std::shared_ptr<QNPropertyListResponseSerializer> serializerWithFormat(unsigned format,
                                                                                  unsigned readOptions);

    // Kept, copied and archived for the serializer's users; reading detects
    // the format by itself and has no options.
    unsigned format() const { return format_; }
    void setFormat(unsigned format) { format_ = format; }
    unsigned readOptions() const { return readOptions_; }
    void setReadOptions(unsigned options) { readOptions_ = options; }

    // No result without body; a read failure is the error, with any
    // validation error chained under it.
    foundation::Value responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                const std::optional<foundation::Data>& data,
                                                foundation::ErrorPtr* error) const override;

    std::shared_ptr<QNHTTPResponseSerializer> copy() const override;
    static constexpr const char* kClassName = "QNPropertyListResponseSerializer";
    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNPropertyListResponseSerializer> initWithCoder(const foundation::KeyedUnarchiver& coder);

private:
    unsigned format_ = 0;
    unsigned readOptions_ = 0;
};
