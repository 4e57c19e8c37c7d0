// A revision listing's page read straight into (id, revision) pairs: which
// items count and with what, and which bodies are malformed or no list.
#include <gtest/gtest.h>

#include "api/RevisionListing.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/JSONSerialization.h"

using foundation::Value;

namespace {

RevisionListing::Reading readListing(const std::string& text, RevisionListing& listing) {
    std::string reason;
    return listing.read(text, text.size(), reason);
}

}  // namespace

TEST(RevisionListing, ItemsCountByTheirIdWithTheLastOfARepeatedKey) {
    RevisionListing listing;
    ASSERT_EQ(readListing(R"([{"id":"a","revision":3},{"revision":"x","id":7},{"id":{"x":1}},5,null,)"
                          R"({"id":"b","revision":[1],"name":{"n":[true]}},{"id":"c","id":"d","revision":1,)"
                          R"("revision":"2"},{"id":2.5,"revision":null},{"revision":9}])",
                          listing),
              RevisionListing::Reading::Listed);
    const auto& entries = listing.entries();
    ASSERT_EQ(entries.size(), 4u);
    // Neither a fraction, an object, a missing id nor an item that is no
    // object is usable.
    EXPECT_EQ(listing.unusable(), 5u);
    EXPECT_EQ(entries[0].id, "a");
    EXPECT_EQ(entries[0].revision, Value(3));
    EXPECT_EQ(entries[1].id, "7");
    EXPECT_EQ(entries[1].revision, Value("x"));
    EXPECT_EQ(entries[2].id, "b");
    EXPECT_TRUE(entries[2].revision.isAbsent());
    EXPECT_EQ(entries[3].id, "d");
    EXPECT_EQ(entries[3].revision, Value("2"));

    // A string id is its unescaped text; of a repeated id the last stands,
    // string or not, and an unusable one (a list, empty, a Boolean) leaves
    // the item out; an integer is its digits, and a real (42.0) none, so it
    // never names the object "42".
    RevisionListing mixed;
    ASSERT_EQ(readListing(R"([{"id":"a\u0062\"c"},{"id":"x","id":8},{"id":8,"id":"y"},{"id":"z","id":[1]},)"
                          R"({"id":"z","id":""},{"id":true},{"id":42.0},{"id":4.2e1},{"id":42}])",
                          mixed),
              RevisionListing::Reading::Listed);
    ASSERT_EQ(mixed.entries().size(), 4u);
    EXPECT_EQ(mixed.entries()[0].id, "ab\"c");
    EXPECT_EQ(mixed.entries()[1].id, "8");
    EXPECT_EQ(mixed.entries()[2].id, "y");
    EXPECT_EQ(mixed.entries()[3].id, "42");
    EXPECT_EQ(mixed.unusable(), 5u);

    // The same items already read give the same pairs.
    RevisionListing fromItems;
    fromItems.readItems(*foundation::JSONSerialization::JSONObjectWithString(R"([{"id":"a","revision":3},7])").array());
    ASSERT_EQ(fromItems.entries().size(), 1u);
    EXPECT_EQ(fromItems.entries()[0].revision, Value(3));
}

TEST(RevisionListing, AMalformedBodyIsAnErrorAndAnotherValueNoList) {
    for (const char* text : {R"([{"id":"a"} {"id":"b"}])", R"([{"id":"a",}])", R"([{"id":"a"})", R"([{"id":"a"}] x)",
                             R"([{"id":"\x"}])", R"([{"id":"a","revision":01}])", R"([{"id":tru}])"}) {
        RevisionListing listing;
        EXPECT_EQ(readListing(text, listing), RevisionListing::Reading::Malformed) << text;
    }
    for (const char* text : {R"({"notice":"down"})", "\"text\"", "3"}) {
        RevisionListing listing;
        EXPECT_EQ(readListing(text, listing), RevisionListing::Reading::NotAList) << text;
    }
}

// As the listing's pages reach it: a listed body is the listing, a malformed
// one the JSON reading error, a refusal the service's own error body.
TEST(RevisionListing, TheSerializerMakesTheListingOrTheReadingError) {
    auto response = [](int64_t status) {
        foundation::HTTPHeaders headers;
        headers.set("Content-Type", "application/json");
        return std::make_shared<foundation::HTTPURLResponse>(
            foundation::URL::URLWithString("http://h/api/v1/events/42/rooms?fields=id,revision"), status, headers);
    };
    RevisionListingSerializer serializer;
    foundation::ErrorPtr error;
    Value page = serializer.responseObjectForResponse(response(200), foundation::Data::fromString(R"([{"id":"1"}])"),
                                                      &error);
    EXPECT_FALSE(error);
    ASSERT_TRUE(page.objectAs<RevisionListing>());
    EXPECT_EQ(page.objectAs<RevisionListing>()->entries().size(), 1u);

    page = serializer.responseObjectForResponse(response(200), foundation::Data::fromString("[{"), &error);
    EXPECT_TRUE(page.isAbsent());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), foundation::JSONSerialization::kReadCorruptError);

    page = serializer.responseObjectForResponse(response(500), foundation::Data::fromString(R"({"error":"x"})"),
                                                &error);
    EXPECT_TRUE(error);
    EXPECT_EQ(page["error"], Value("x"));
}
