// XML response bodies, handed on unparsed inside a parser.
#include "http/QNXMLParserResponseSerializer.h"

#include "foundation/XMLParser.h"

using foundation::Data;
using foundation::ErrorPtr;
using foundation::Value;

QNXMLParserResponseSerializer::QNXMLParserResponseSerializer() {
    setAcceptableContentTypes(std::set<std::string>{"application/xml", "text/xml"});
}

std::shared_ptr<QNXMLParserResponseSerializer> QNXMLParserResponseSerializer::serializer() {
    return std::make_shared<QNXMLParserResponseSerializer>();
}

Value QNXMLParserResponseSerializer::responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                               const std::optional<Data>& data,
                                                               ErrorPtr* error) const {
    if (!shouldDecodeBody(response, data, error) || !data) return Value();
    return Value(std::make_shared<foundation::XMLParser>(*data));
}

std::shared_ptr<QNHTTPResponseSerializer> QNXMLParserResponseSerializer::copy() const {
    auto copy = std::make_shared<QNXMLParserResponseSerializer>();
    copyConfigurationTo(*copy);
    return copy;
}

std::shared_ptr<QNXMLParserResponseSerializer> QNXMLParserResponseSerializer::initWithCoder(
    const foundation::KeyedUnarchiver& coder) {
    auto serializer = std::make_shared<QNXMLParserResponseSerializer>();
    serializer->decodeConfiguration(coder);
    return serializer;
}
