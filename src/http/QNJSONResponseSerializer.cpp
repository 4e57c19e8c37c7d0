// JSON response bodies. A body of exactly one space counts as empty: some
// servers send it for a response that has nothing to say.
#include "http/QNJSONResponseSerializer.h"

#include "foundation/Format.h"
#include "foundation/JSONSerialization.h"
#include "foundation/StringUtils.h"
#include "http/QNNetworking.h"

using foundation::Data;
using foundation::ErrorPtr;
using foundation::Value;

namespace {

constexpr const char* kReadingOptionsArchiveKey = "readingOptions";
constexpr const char* kRemovesNullsArchiveKey = "removesKeysWithNullValues";

ErrorPtr notUTF8Error(const std::string& text) {
    Value::Dictionary info;
    info[foundation::kLocalizedDescriptionKey] = Value(QNLocalizedString(QNNetworkingMessage::kDataFailedDecodingAsUTF8));
    info[foundation::kLocalizedFailureReasonErrorKey] =
        Value(foundation::Format(QNLocalizedString(QNNetworkingMessage::kCouldNotDecodeString), text));
    return foundation::Error::make(kQNURLResponseSerializationErrorDomain,
                                   foundation::URLError::CannotDecodeContentData, std::move(info));
}

}  // namespace

QNJSONResponseSerializer::QNJSONResponseSerializer() {
    setAcceptableContentTypes(std::set<std::string>{"application/json", "text/json", "text/javascript"});
}

std::shared_ptr<QNJSONResponseSerializer> QNJSONResponseSerializer::serializerWithReadingOptions(unsigned options) {
    auto serializer = std::make_shared<QNJSONResponseSerializer>();
    serializer->setReadingOptions(options);
    return serializer;
}

foundation::StringEncoding QNJSONResponseSerializer::bodyEncoding(
    const std::shared_ptr<foundation::URLResponse>& response) const {
    if (response && response->textEncodingName()) {
        auto declared = foundation::Charset::encodingForIANAName(*response->textEncodingName());
        if (declared != foundation::StringEncoding::None) return declared;
    }
    return stringEncoding();
}

Value QNJSONResponseSerializer::responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                          const std::optional<Data>& data, ErrorPtr* error) const {
    if (!shouldDecodeBody(response, data, error) || !data) return Value();

    const auto encoding = bodyEncoding(response);
    // A UTF-8 body is parsed where it lies; only another encoding is decoded
    // into a text of its own first. The parser accepts nothing but
    // well-formed UTF-8, so a body is checked on its own only when it fails
    // to parse: one that is not UTF-8 at all has no result and no error of
    // its own.
    std::optional<std::string> decoded;
    std::string_view text;
    size_t capacity = 0;  // of the buffer the text lies in
    if (encoding == foundation::StringEncoding::UTF8) {
        text = std::string_view(reinterpret_cast<const char*>(data->bytes()), data->length());
        if (text.size() > size_t(INT32_MAX)) return Value();
        capacity = data->vector().capacity();
    } else {
        decoded = foundation::Charset::decode(*data, encoding);
        if (!decoded) return Value();
        text = *decoded;
        capacity = decoded->capacity();
    }
    if (text == " ") return Value();

    Value result;
    ErrorPtr serializationError;
    // The decoders hand back UTF-8; the check guards the parser against a
    // decoder that ever let ill-formed text through.
    if (decoded && !foundation::StringUtils::isValidUTF8(text)) {
        serializationError = notUTF8Error(std::string(text));
    } else if (text.empty()) {
        return Value();
    } else {
        result = foundation::JSONSerialization::JSONObjectWithText(text, capacity, readingOptions_,
                                                                   &serializationError);
        if (serializationError && !decoded && !foundation::StringUtils::isValidUTF8(text)) return Value();
    }
    if (removesKeysWithNullValues_ && !result.isAbsent()) result = QNJSONObjectWithoutNullValues(result);
    if (error) *error = QNErrorChainedWithUnderlyingError(serializationError, *error);
    return result;
}

std::shared_ptr<QNHTTPResponseSerializer> QNJSONResponseSerializer::copy() const {
    auto copy = std::make_shared<QNJSONResponseSerializer>();
    copyConfigurationTo(*copy);
    copy->readingOptions_ = readingOptions_;
    copy->removesKeysWithNullValues_ = removesKeysWithNullValues_;
    return copy;
}

void QNJSONResponseSerializer::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    QNHTTPResponseSerializer::encodeWithCoder(coder);
    coder.encodeInt64(readingOptions_, kReadingOptionsArchiveKey);
    coder.encodeBool(removesKeysWithNullValues_, kRemovesNullsArchiveKey);
}

std::shared_ptr<QNJSONResponseSerializer> QNJSONResponseSerializer::initWithCoder(
    const foundation::KeyedUnarchiver& coder) {
    auto serializer = std::make_shared<QNJSONResponseSerializer>();
    serializer->decodeConfiguration(coder);
    serializer->readingOptions_ = static_cast<unsigned>(coder.decodeInt64ForKey(kReadingOptionsArchiveKey));
    serializer->removesKeysWithNullValues_ = coder.decodeBoolForKey(kRemovesNullsArchiveKey);
    return serializer;
}

Value QNJSONObjectWithoutNullValues(const Value& object) {
    if (const auto* array = object.array()) {
        Value::Array out;
        out.reserve(array->size());
        for (const auto& element : *array) out.push_back(QNJSONObjectWithoutNullValues(element));
        return Value(std::move(out));
    }
    if (const auto* dictionary = object.dictionary()) {
        Value::Dictionary out;
        for (const auto& [key, value] : *dictionary) {
            if (!value.isNull()) out.emplace(key, QNJSONObjectWithoutNullValues(value));
        }
        return Value(std::move(out));
    }
    return object;
}
