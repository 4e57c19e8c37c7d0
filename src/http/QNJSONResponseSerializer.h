// Parses JSON bodies of "application/json", "text/json" and "text/javascript"
// responses. A body whose status is refused is still parsed and returned with
// the status error, so the caller can read the service's error object.
#pragma once

#include <memory>

#include "http/QNHTTPResponseSerializer.h"

class QNJSONResponseSerializer : public QNHTTPResponseSerializer {
public:
    QNJSONResponseSerializer();
    static std::shared_ptr<QNJSONResponseSerializer> serializer() { return serializerWithReadingOptions(0); }
    static std::shared_ptr<QNJSONResponseSerializer> serializerWithReadingOptions(unsigned options);

    // foundation::JSONSerialization::ReadingOptions.
    unsigned readingOptions() const { return readingOptions_; }
    void setReadingOptions(unsigned options) { readingOptions_ = options; }
    // Drops dictionary entries whose value is JSON null, at every depth.
    bool removesKeysWithNullValues() const { return removesKeysWithNullValues_; }
    void setRemovesKeysWithNullValues(bool removes) { removesKeysWithNullValues_ = removes; }

    // The charset a body of this response is read in: the declared one when
    // it is known, else the serializer's string encoding.
    foundation::StringEncoding bodyEncoding(const std::shared_ptr<foundation::URLResponse>& response) const;

    // The body is decoded in the response's declared charset (else the
    // serializer's string encoding) before parsing. No result for a body that
    // is empty, a single space or not text in that encoding; a parse failure
    // is the error, with any validation error chained under it.
    foundation::Value responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                const std::optional<foundation::Data>& data,
                                                foundation::ErrorPtr* error) const override;

    std::shared_ptr<QNHTTPResponseSerializer> copy() const override;
    static constexpr const char* kClassName = "QNJSONResponseSerializer";
    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNJSONResponseSerializer> initWithCoder(const foundation::KeyedUnarchiver& coder);

private:
    unsigned readingOptions_ = 0;
    bool removesKeysWithNullValues_ = false;
};

// The JSON value without dictionary entries whose value is null, at every
// depth; null elements of arrays stay.
foundation::Value QNJSONObjectWithoutNullValues(const foundation::Value& object);
