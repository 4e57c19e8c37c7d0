// Response validation, the error chain, and the JSON, property-list and
// compound serializers.
#include <gtest/gtest.h>

#include "foundation/Bundle.h"
#include "foundation/PropertyList.h"
#include "foundation/XMLParser.h"
#include "http/QNCompoundResponseSerializer.h"
#include "http/QNJSONResponseSerializer.h"
#include "http/QNNetworking.h"
#include "http/QNPropertyListResponseSerializer.h"
#include "http/QNSerializerArchiving.h"
#include "http/QNXMLParserResponseSerializer.h"

using namespace foundation;

namespace {

std::shared_ptr<URLResponse> responseWith(int64_t status, const std::string& contentType,
                                      const char* url = "http://h/api") {
    HTTPHeaders headers;
    if (!contentType.empty()) headers.set("Content-Type", contentType);
    return std::make_shared<HTTPURLResponse>(url ? URL::URLWithString(url) : std::nullopt, status, headers);
}

struct SerializerOutcome {
    Value result;
    ErrorPtr error;
};

SerializerOutcome serialize(const QNURLResponseSerialization& serializer, const std::shared_ptr<URLResponse>& r,
                  std::optional<Data> data) {
    SerializerOutcome out;
    out.result = serializer.responseObjectForResponse(r, data, &out.error);
    return out;
}

}  // namespace

TEST(ResponseSerializer, JSONValidationAndErrors) {
    auto lenient = QNJSONResponseSerializer::serializer();
    lenient->setAcceptableContentTypes(std::nullopt);
    auto body = Data::fromString(R"({"error":"gone"})");
    auto notFound = serialize(*lenient, responseWith(404, "application/json"), body);
    EXPECT_EQ(notFound.result, Value::dictionary({{"error", "gone"}}));
    ASSERT_TRUE(notFound.error);
    EXPECT_EQ(notFound.error->domain(), kQNURLResponseSerializationErrorDomain);
    EXPECT_EQ(notFound.error->code(), -1011);
    EXPECT_EQ(notFound.error->localizedDescription(), "Request failed: not found (404)");
    EXPECT_EQ(notFound.error->failingURLString(), "http://h/api");
    EXPECT_EQ(notFound.error->userInfoValue(kQNResponseSerializationErrorDataKey), Value(body));
    EXPECT_TRUE(notFound.error->userInfoValue(kQNResponseSerializationErrorResponseKey).objectAs<HTTPURLResponse>());

    auto json = QNJSONResponseSerializer::serializer();
    for (auto [status, text] : {std::pair{200, " "}, std::pair{204, ""}}) {
        auto empty = serialize(*json, responseWith(status, "application/json"), Data::fromString(text));
        EXPECT_TRUE(empty.result.isAbsent()) << status;
        EXPECT_FALSE(empty.error) << status;
    }

    auto html = serialize(*json, responseWith(200, "text/html; charset=utf-8"), Data::fromString("<p>"));
    EXPECT_TRUE(html.result.isAbsent());
    ASSERT_TRUE(html.error);
    EXPECT_EQ(html.error->code(), -1016);
    EXPECT_EQ(html.error->localizedDescription(), "Request failed: unacceptable content-type: text/html");

    auto both = serialize(*json, responseWith(500, "text/html"), Data::fromString("{}"));
    EXPECT_TRUE(both.result.isAbsent());
    ASSERT_TRUE(both.error && both.error->underlyingError());
    EXPECT_EQ(both.error->code(), -1011);
    EXPECT_EQ(both.error->underlyingError()->code(), -1016);

    // Refused with nothing to show: no error at all, and no result.
    ErrorPtr error;
    EXPECT_FALSE(json->validateResponse(responseWith(200, "text/html"), Data(), &error));
    EXPECT_FALSE(error);
    auto silent = serialize(*json, responseWith(200, "text/html"), Data());
    EXPECT_TRUE(silent.result.isAbsent());
    EXPECT_FALSE(silent.error);
    // A response without URL passes the status check; anything not HTTP passes all.
    EXPECT_TRUE(json->validateResponse(responseWith(500, "application/json", nullptr), Data(), nullptr));
    EXPECT_TRUE(json->validateResponse(std::make_shared<URLResponse>(std::nullopt, "text/html", 0, std::nullopt),
                                       Data::fromString("x"), nullptr));
    // Without an error out-parameter a refused response gives nothing, even its body.
    EXPECT_TRUE(lenient->responseObjectForResponse(responseWith(404, "application/json"), body, nullptr).isAbsent());

    auto latin1 = serialize(*json, responseWith(200, "application/json; charset=iso-8859-1"),
                            Data::fromString("[\"caf\xE9\"]"));
    EXPECT_EQ(latin1.result, Value::array({"caf\xC3\xA9"}));

    // A body that is not the UTF-8 it claims to be is no text: nothing comes
    // of it, not even a parse error, wherever the bad bytes are (an encoded
    // surrogate included) and however else the text is malformed.
    for (const char* contentType : {"application/json", "application/json; charset=utf-8"}) {
        auto notText = serialize(*json, responseWith(200, contentType), Data::fromString("[\"caf\xE9\"]"));
        EXPECT_TRUE(notText.result.isAbsent()) << contentType;
        EXPECT_FALSE(notText.error) << contentType;
    }
    for (const char* text :
         {"[1]\xFF", "\xC0\xAF[1]", "[\"\xED\xA0\x80\"]", "{\"a\":\"\xF4\x90\x80\x80\"}", "[\xE9"}) {
        auto notText = serialize(*json, responseWith(200, "application/json"), Data::fromString(text));
        EXPECT_TRUE(notText.result.isAbsent()) << text;
        EXPECT_FALSE(notText.error) << text;
    }
    auto refusedNotText = serialize(*lenient, responseWith(404, "application/json"), Data::fromString("[\xE9]"));
    EXPECT_TRUE(refusedNotText.result.isAbsent());
    ASSERT_TRUE(refusedNotText.error);
    EXPECT_EQ(refusedNotText.error->code(), -1011);
    EXPECT_FALSE(refusedNotText.error->underlyingError());
    auto parsedInPlace = serialize(*json, responseWith(200, "application/json"), Data::fromString("[\"caf\xC3\xA9\"]"));
    EXPECT_EQ(parsedInPlace.result, Value::array({"caf\xC3\xA9"}));
    EXPECT_FALSE(parsedInPlace.error);

    auto malformed = serialize(*lenient, responseWith(500, "application/json"), Data::fromString("{"));
    EXPECT_TRUE(malformed.result.isAbsent());
    ASSERT_TRUE(malformed.error && malformed.error->underlyingError());
    EXPECT_EQ(malformed.error->domain(), kCocoaErrorDomain);
    EXPECT_EQ(malformed.error->underlyingError()->code(), -1011);

    json->setRemovesKeysWithNullValues(true);
    auto cleaned = serialize(*json, responseWith(200, "text/json"), Data::fromString(R"({"a":null,"b":[null,{"c":null}]})"));
    EXPECT_EQ(cleaned.result, Value::dictionary({{"b", Value::array({Value::null(), Value(Value::Dictionary{})})}}));
}

TEST(ResponseSerializer, XMLBodiesComeAsUnstartedParsers) {
    struct Elements : XMLParserDelegate {
        std::vector<std::string> names;
        void didStartElement(XMLParser&, const std::string& name, const std::optional<std::string>&,
                             const std::optional<std::string>&, const Attributes&) override {
            names.push_back(name);
        }
    };
    auto feed = Data::fromString("<rss><channel/></rss>");
    auto xml = QNXMLParserResponseSerializer::serializer();
    auto parsed = serialize(*xml, responseWith(200, "text/xml"), feed);
    auto parser = parsed.result.objectAs<XMLParser>();
    ASSERT_TRUE(parser);
    auto delegate = std::make_shared<Elements>();
    parser->setDelegate(delegate);
    EXPECT_TRUE(parser->parse());
    EXPECT_EQ(delegate->names, (std::vector<std::string>{"rss", "channel"}));

    xml->setAcceptableContentTypes(std::set<std::string>{"application/rss+xml"});
    auto refused = serialize(*xml, responseWith(200, "text/xml"), feed);
    EXPECT_TRUE(refused.result.isAbsent());
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->code(), -1016);
    EXPECT_TRUE(serialize(*xml, responseWith(200, "application/rss+xml"), feed).result.objectAs<XMLParser>());

    auto compound = QNCompoundResponseSerializer::compoundSerializerWithResponseSerializers(
        {QNJSONResponseSerializer::serializer(), QNXMLParserResponseSerializer::serializer()});
    auto either = serialize(*compound, responseWith(200, "application/xml"), feed);
    EXPECT_TRUE(either.result.objectAs<XMLParser>());
    EXPECT_FALSE(either.error);
}

TEST(ResponseSerializer, MessagesComeFromTheNetworkingTable) {
    Bundle::mainBundle().setStringTable(kQNNetworkingStringTable,
                                        {{"Request failed: %@ (%ld)", "Anfrage gescheitert: %@ (%ld)"}});
    auto outcome = serialize(QNHTTPResponseSerializer(), responseWith(404, ""), Data());
    Bundle::mainBundle().setStringTable(kQNNetworkingStringTable, {});
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->localizedDescription(), "Anfrage gescheitert: not found (404)");
    EXPECT_EQ(outcome.result, Value(Data()));  // the base serializer hands the body back
}

TEST(ResponseSerializer, ErrorChainHelpers) {
    auto inner = Error::make(kQNURLResponseSerializationErrorDomain, -1016);
    auto outer = Error::make("other", 1, {{"k", Value("v")}});
    auto chained = QNErrorChainedWithUnderlyingError(outer, inner);
    EXPECT_EQ(chained->userInfoValue("k"), Value("v"));
    EXPECT_EQ(chained->underlyingError(), inner);
    EXPECT_EQ(QNErrorChainedWithUnderlyingError(chained, outer), chained);  // already chained
    EXPECT_EQ(QNErrorChainedWithUnderlyingError(nullptr, inner), inner);
    EXPECT_EQ(QNErrorChainedWithUnderlyingError(outer, nullptr), outer);
    EXPECT_TRUE(QNErrorChainContainsCodeInDomain(chained, -1016, kQNURLResponseSerializationErrorDomain));
    EXPECT_FALSE(QNErrorChainContainsCodeInDomain(outer, -1016, kQNURLResponseSerializationErrorDomain));
    EXPECT_FALSE(QNErrorChainContainsCodeInDomain(nullptr, -1016, kQNURLResponseSerializationErrorDomain));
}

TEST(ResponseSerializer, PropertyListsCompoundsCopiesAndArchives) {
    auto plist = QNPropertyListResponseSerializer::serializer();
    auto body = PropertyListSerialization::dataWithPropertyList(Value::dictionary({{"n", 1}}));
    ASSERT_TRUE(body);
    EXPECT_EQ(serialize(*plist, responseWith(200, "application/x-plist"), body).result, Value::dictionary({{"n", 1}}));
    auto corrupt = serialize(*plist, responseWith(200, "application/x-plist"), Data::fromString("<plist"));
    EXPECT_TRUE(corrupt.result.isAbsent());
    EXPECT_TRUE(corrupt.error);

    auto compound = QNCompoundResponseSerializer::compoundSerializerWithResponseSerializers(
        {QNJSONResponseSerializer::serializer(), plist});
    auto viaPlist = serialize(*compound, responseWith(200, "application/x-plist"), body);
    EXPECT_EQ(viaPlist.result, Value::dictionary({{"n", 1}}));
    EXPECT_FALSE(viaPlist.error);
    auto fallback = serialize(*compound, responseWith(404, "text/plain"), Data::fromString("x"));
    EXPECT_EQ(fallback.result, Value(Data::fromString("x")));
    ASSERT_TRUE(fallback.error);
    EXPECT_EQ(fallback.error->code(), -1011);

    auto json = QNJSONResponseSerializer::serializer();
    json->setAcceptableStatusCodes(std::set<int64_t>{200, 404});
    json->setRemovesKeysWithNullValues(true);
    json->setStringEncoding(StringEncoding::ISOLatin1);
    auto copy = std::dynamic_pointer_cast<QNJSONResponseSerializer>(json->copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->acceptableStatusCodes(), json->acceptableStatusCodes());
    EXPECT_EQ(copy->acceptableContentTypes(), json->acceptableContentTypes());
    EXPECT_TRUE(copy->removesKeysWithNullValues());
    EXPECT_EQ(copy->stringEncoding(), StringEncoding::UTF8);

    QNRegisterSerializerArchiveClasses();
    compound->setResponseSerializers({json, plist});
    auto restored = KeyedUnarchiver::unarchiveObjectOfClass<QNCompoundResponseSerializer>(
        KeyedArchiver::archivedDataWithRootObject(Value(compound)));
    ASSERT_TRUE(restored);
    ASSERT_EQ(restored->responseSerializers().size(), 2u);
    auto restoredJSON = std::dynamic_pointer_cast<QNJSONResponseSerializer>(restored->responseSerializers()[0]);
    ASSERT_TRUE(restoredJSON);
    EXPECT_EQ(restoredJSON->acceptableStatusCodes(), (std::set<int64_t>{200, 404}));
    EXPECT_TRUE(restoredJSON->removesKeysWithNullValues());
    EXPECT_FALSE(restored->acceptableContentTypes());
    EXPECT_EQ(std::dynamic_pointer_cast<QNPropertyListResponseSerializer>(restored->responseSerializers()[1])->format(),
              100u);
}
