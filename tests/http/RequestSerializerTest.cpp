// Request building: default headers, where parameters go, request properties,
// JSON and property-list bodies, copies and archives.
#include <gtest/gtest.h>

#include "foundation/Bundle.h"
#include "foundation/Crypto.h"
#include "foundation/JSONSerialization.h"
#include "foundation/PropertyList.h"
#include "http/QNDeviceEnvironment.h"
#include "http/QNJSONRequestSerializer.h"
#include "http/QNPropertyListRequestSerializer.h"
#include "http/QNSerializerArchiving.h"

using namespace foundation;

namespace {

URLRequest build(const QNHTTPRequestSerializer& serializer, const std::string& method, const std::string& url,
                 const Value& parameters = Value()) {
    ErrorPtr error;
    auto request = serializer.requestWithMethod(method, url, parameters, &error);
    EXPECT_FALSE(error) << (error ? error->description() : "");
    return request.value_or(URLRequest());
}

std::string urlOf(const URLRequest& request) { return request.url() ? request.url()->absoluteString() : "<none>"; }
std::string bodyOf(const URLRequest& request) { return request.httpBody() ? request.httpBody()->toString() : "<none>"; }

}  // namespace

TEST(HTTPRequestSerializer, DefaultHeaders) {
    QNDeviceEnvironment::setPreferredLanguages(std::vector<std::string>{"en", "fr", "de", "it", "es", "pt", "nl"});
    EXPECT_EQ(QNHTTPRequestSerializer().valueForHTTPHeaderField("Accept-Language"),
              "en;q=1, fr;q=0.9, de;q=0.8, it;q=0.7, es;q=0.6, pt;q=0.5");
    QNDeviceEnvironment::setPreferredLanguages(std::vector<std::string>{});
    EXPECT_EQ(QNHTTPRequestSerializer().valueForHTTPHeaderField("Accept-Language"), "");
    QNDeviceEnvironment::setPreferredLanguages(std::nullopt);

    auto& bundle = Bundle::mainBundle();
    Value executable = bundle.objectForInfoDictionaryKey(kBundleExecutableKey);
    bundle.setInfoDictionaryValue(kBundleExecutableKey, Value("Qu\xC3\xB6v\xC3\xA0na\xE6\x97\xA5"));
    QNDeviceEnvironment::setDeviceModel("iPhone7,2");
    QNDeviceEnvironment::setSystemVersion("9.3");
    QNDeviceEnvironment::setScreenScale(2.0);
    EXPECT_EQ(QNHTTPRequestSerializer().valueForHTTPHeaderField("User-Agent"),
              "Quovana/" + bundle.shortVersionString() + " (iPhone7,2; iOS 9.3; Scale/2.00)");
    // A name with a line break or another control character stays one header.
    QNDeviceEnvironment::setDeviceModel("My\r\nX-Injected: 1\t\x7f");
    QNDeviceEnvironment::setSystemVersion("9.3\n");
    EXPECT_EQ(QNHTTPRequestSerializer().valueForHTTPHeaderField("User-Agent"),
              "Quovana/" + bundle.shortVersionString() + " (MyX-Injected: 1; iOS 9.3; Scale/2.00)");
    bundle.setInfoDictionaryValue(kBundleExecutableKey, executable);
    QNDeviceEnvironment::setDeviceModel(std::nullopt);
    QNDeviceEnvironment::setSystemVersion(std::nullopt);
    QNDeviceEnvironment::setScreenScale(std::nullopt);

    QNHTTPRequestSerializer serializer;
    serializer.setAuthorizationHeaderFieldWithUsername("u", "p");
    EXPECT_EQ(serializer.valueForHTTPHeaderField("Authorization"),
              "Basic " + Crypto::base64Encode(Data::fromString("u:p")));
    serializer.setAuthorizationHeaderFieldWithToken("t0k");
    EXPECT_EQ(serializer.valueForHTTPHeaderField("Authorization"), "Token token=\"t0k\"");
    serializer.clearAuthorizationHeader();
    EXPECT_FALSE(serializer.valueForHTTPHeaderField("Authorization"));
    serializer.setValue("x", "X-Default");
    EXPECT_FALSE(serializer.valueForHTTPHeaderField("x-default"));  // stored names match exactly
    serializer.setValue(std::nullopt, "X-Default");
    EXPECT_EQ(serializer.HTTPRequestHeaders().count("X-Default"), 0u);
}

TEST(HTTPRequestSerializer, PlacesParameters) {
    QNHTTPRequestSerializer serializer;
    EXPECT_EQ(urlOf(build(serializer, "GET", "http://h/p?a=1", Value::dictionary({{"b", 2}}))), "http://h/p?a=1&b=2");
    EXPECT_EQ(urlOf(build(serializer, "get", "http://h/p", Value::dictionary({{"b", 2}}))), "http://h/p?b=2");
    EXPECT_EQ(urlOf(build(serializer, "DELETE", "http://h/p", Value(Value::Dictionary{}))), "http://h/p?");
    auto plain = build(serializer, "GET", "http://h/p");
    EXPECT_EQ(urlOf(plain), "http://h/p");
    EXPECT_FALSE(plain.httpBody());
    EXPECT_EQ(plain.valueForHTTPHeaderField("User-Agent"), serializer.valueForHTTPHeaderField("User-Agent"));
    EXPECT_FALSE(build(serializer, "GET", "not a url").url());

    auto post = build(serializer, "POST", "http://h/p", Value::dictionary({{"a", "x y"}}));
    EXPECT_EQ(urlOf(post), "http://h/p");
    EXPECT_EQ(bodyOf(post), "a=x%20y");
    EXPECT_EQ(post.valueForHTTPHeaderField("Content-Type"), "application/x-www-form-urlencoded");

    // Headers already on the request win over the defaults, whatever their case.
    serializer.setValue("text/plain", "Content-Type");
    serializer.setValue("default", "X-Which");
    URLRequest request(*URL::URLWithString("http://h/p"));
    request.setHTTPMethod("PUT");
    request.setValue("mine", "x-which");
    auto put = serializer.requestBySerializingRequest(request, Value::dictionary({{"a", 1}}), nullptr);
    ASSERT_TRUE(put);
    EXPECT_EQ(put->valueForHTTPHeaderField("X-Which"), "mine");
    EXPECT_EQ(put->valueForHTTPHeaderField("Content-Type"), "text/plain");
    EXPECT_EQ(bodyOf(*put), "a=1");

    // A custom query builder sees the request as passed in; its error fails the request.
    serializer.setQueryStringSerializationWithBlock([](const URLRequest& r, const Value& p, ErrorPtr* error) {
        if (p["fail"]) {
            *error = Error::make("test", 7);
            return std::optional<std::string>();
        }
        return std::optional<std::string>(r.valueForHTTPHeaderField("X-Which").value_or("none"));
    });
    EXPECT_EQ(urlOf(build(serializer, "GET", "http://h/p", Value::dictionary({{"a", 1}}))), "http://h/p?none");
    ErrorPtr error;
    EXPECT_FALSE(serializer.requestWithMethod("GET", "http://h/p", Value::dictionary({{"fail", 1}}), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 7);
    serializer.setQueryStringSerializationWithStyle(QNHTTPRequestQueryStringSerializationStyle::Default);
    EXPECT_EQ(urlOf(build(serializer, "GET", "http://h/p", Value::dictionary({{"a", 1}}))), "http://h/p?a=1");
}

TEST(HTTPRequestSerializer, CopiesOnlyTheRequestPropertiesThatWereSet) {
    QNHTTPRequestSerializer serializer;
    auto untouched = build(serializer, "GET", "http://h/");
    EXPECT_EQ(untouched.timeoutInterval(), URLRequest().timeoutInterval());
    EXPECT_TRUE(untouched.HTTPShouldHandleCookies());
    EXPECT_TRUE(serializer.observedChangedKeyPaths().empty());

    serializer.setTimeoutInterval(30);
    serializer.setHTTPShouldHandleCookies(false);
    serializer.setCachePolicy(URLRequest::CachePolicy::ReloadIgnoringLocalCacheData);
    serializer.setAllowsCellularAccess(serializer.allowsCellularAccess());  // same value still counts
    auto request = build(serializer, "GET", "http://h/");
    EXPECT_EQ(request.timeoutInterval(), 30);
    EXPECT_FALSE(request.HTTPShouldHandleCookies());
    EXPECT_FALSE(request.allowsCellularAccess());
    EXPECT_EQ(request.cachePolicy(), URLRequest::CachePolicy::ReloadIgnoringLocalCacheData);
    EXPECT_FALSE(request.HTTPShouldUsePipelining());
    EXPECT_EQ(serializer.observedChangedKeyPaths(),
              (std::set<std::string>{"timeoutInterval", "HTTPShouldHandleCookies", "cachePolicy",
                                     "allowsCellularAccess"}));
}

TEST(HTTPRequestSerializer, JSONAndPropertyListBodies) {
    auto json = QNJSONRequestSerializer::serializer();
    auto post = build(*json, "POST", "http://h/p", Value::dictionary({{"name", "A"}}));
    EXPECT_EQ(bodyOf(post), R"({"name":"A"})");
    EXPECT_EQ(post.valueForHTTPHeaderField("Content-Type"), "application/json");
    auto del = build(*json, "DELETE", "http://h/p", Value::dictionary({{"id", 3}}));
    EXPECT_EQ(urlOf(del), "http://h/p?id=3");
    EXPECT_FALSE(del.httpBody());
    auto put = build(*json, "PUT", "http://h/p");
    EXPECT_FALSE(put.httpBody());
    EXPECT_FALSE(put.valueForHTTPHeaderField("Content-Type"));

    URLRequest request(*URL::URLWithString("http://h/p"));
    request.setHTTPMethod("POST");
    request.setValue("application/json; charset=utf-8", "Content-Type");
    auto kept = json->requestBySerializingRequest(request, Value::dictionary({{"a", 1}}), nullptr);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->valueForHTTPHeaderField("Content-Type"), "application/json; charset=utf-8");

    // An unwritable body still gives the request, without body, and the writer's error.
    ErrorPtr error;
    auto bad = json->requestWithMethod("POST", "http://h/p", Value::dictionary({{"d", Date(0)}}), &error);
    ASSERT_TRUE(bad);
    EXPECT_FALSE(bad->httpBody());
    EXPECT_TRUE(error);

    auto plist = build(*QNPropertyListRequestSerializer::serializer(), "POST", "http://h/p",
                       Value::dictionary({{"n", 1}}));
    EXPECT_EQ(plist.valueForHTTPHeaderField("Content-Type"), "application/x-plist");
    ASSERT_TRUE(plist.httpBody());
    EXPECT_EQ(PropertyListSerialization::propertyListWithData(*plist.httpBody()), Value::dictionary({{"n", 1}}));
    error = nullptr;
    auto noFormat = QNPropertyListRequestSerializer().requestWithMethod("POST", "http://h/p",
                                                                        Value::dictionary({{"n", 1}}), &error);
    ASSERT_TRUE(noFormat);
    EXPECT_FALSE(noFormat->httpBody());
    EXPECT_TRUE(error);
}

TEST(HTTPRequestSerializer, CopiesAndArchives) {
    auto json = QNJSONRequestSerializer::serializerWithWritingOptions(JSONSerialization::WritingPrettyPrinted);
    json->setValue("Bearer x", "Authorization");
    json->setTimeoutInterval(5);
    json->setQueryStringSerializationWithBlock([](const URLRequest&, const Value&, ErrorPtr*) {
        return std::optional<std::string>("custom");
    });

    auto copy = std::dynamic_pointer_cast<QNJSONRequestSerializer>(json->copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->HTTPRequestHeaders(), json->HTTPRequestHeaders());
    EXPECT_EQ(copy->writingOptions(), JSONSerialization::WritingPrettyPrinted);
    EXPECT_TRUE(copy->observedChangedKeyPaths().empty());
    EXPECT_EQ(urlOf(build(*copy, "GET", "http://h/", Value::dictionary({{"a", 1}}))), "http://h/?custom");

    QNRegisterSerializerArchiveClasses();
    auto data = KeyedArchiver::archivedDataWithRootObject(Value(json));
    auto restored = KeyedUnarchiver::unarchiveObjectOfClass<QNJSONRequestSerializer>(data);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->valueForHTTPHeaderField("Authorization"), "Bearer x");
    EXPECT_EQ(restored->writingOptions(), JSONSerialization::WritingPrettyPrinted);
    EXPECT_FALSE(restored->queryStringSerialization());
    EXPECT_EQ(restored->HTTPMethodsEncodingParametersInURI(), (std::set<std::string>{"GET", "HEAD", "DELETE"}));
}
