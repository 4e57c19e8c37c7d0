// Hands "application/xml" and "text/xml" bodies back as an event-driven XML
// parser (foundation::XMLParser) over the body, not yet started: the caller
// sets the parser's delegate and runs it, so a large feed is never built into
// a tree first.
#pragma once

#include <memory>

#include "http/QNHTTPResponseSerializer.h"

class QNXMLParserResponseSerializer : public QNHTTPResponseSerializer {
public:
    QNXMLParserResponseSerializer();
    static std::shared_ptr<QNXMLParserResponseSerializer> serializer();

    // The parser as an object value (objectAs<foundation::XMLParser>()); none
    // without body. No error beyond the validation error.
    foundation::Value responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                const std::optional<foundation::Data>& data,
                                                foundation::ErrorPtr* error) const override;

    std::shared_ptr<QNHTTPResponseSerializer> copy() const override;
    static constexpr const char* kClassName = "QNXMLParserResponseSerializer";
    std::string className() const override { return kClassName; }
    static std::shared_ptr<QNXMLParserResponseSerializer> initWithCoder(const foundation::KeyedUnarchiver& coder);
};
