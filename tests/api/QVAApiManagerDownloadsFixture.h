// The API client's downloads against a loopback server: the current meeting
// "42" of the account "tok", a reports feed to serve, a venue to store with
// its map-file links, and files to read back.
#pragma once

#include <string>

#include "ApiTestSupport.h"
#include "foundation/FileManager.h"
#include "model/QVAVenue.h"

namespace apitest {

inline const char* kFeed = R"(<?xml version="1.0"?>
<rss xmlns:media="http://search.yahoo.com/mrss/"><channel><title>Reports</title>
<item><title>First</title><description> one </description>
  <media:content url="http://x/a.pdf"/><media:content url="http://x/b.pdf" isDefault="true"/></item>
<item><title>Sec<![CDATA[ond]]></title><media:content url="http://x/c.pdf"/><media:content url="http://x/d.pdf"/></item>
<item><title>Third</title><media:content url="http://x/e.pdf"/><media:content isDefault="true"/></item>
</channel></rss>)";

class QVAApiManagerDownloadsTest : public ApiTest {
protected:
    const std::string token = "tok";
    foundation::FileManager& files = foundation::FileManager::defaultManager();

    void SetUp() override {
        ApiTest::SetUp();
        openCurrent(token);
        settings.setCurrentEvent(QVAEvent::initWithDictionary(
            foundation::Value::dictionary({{"id", "42"}, {"reportsRssFeedUrl", server.urlFor("/feed.rss")}})));
    }
    void TearDown() override {
        settings.setCurrentEventIsDownloadingOrParsingIMaps(false);
        ApiTest::TearDown();
    }
    void serveFeed(const std::string& contentType) {
        auto reply = testservice::Reply::text(kFeed);
        reply.contentType = contentType;
        serve("GET", "/feed.rss", reply);
    }
    void storeVenue(const std::string& linksJSON) {
        auto venue = QVAVenue::initWithDictionary(foundation::JSONSerialization::JSONObjectWithData(
            foundation::Data::fromString(R"({"id":"v1","primary":true,"floorLevels":[{"name":"G","level":0,)"
                                         R"("interactive_maps":)" + linksJSON + "}]}")));
        auto written = await([&](auto done) {
            store.addItemsToCoreData({venue}, EntityClass::named("QVACoreDataVenue"), token, std::string("42"), done);
        });
        ASSERT_EQ(written.error, nullptr);
    }
    // A document download of this meeting, its outcome filled in when it completes.
    std::shared_ptr<Outcome> startDocument(const std::string& path, const std::string& name) {
        auto outcome = std::make_shared<Outcome>();
        api().getFileFromUrl(server.urlFor(path), name, token, std::string("42"),
                             [outcome](const auto& error, const auto& result) {
                                 outcome->called = true;
                                 outcome->error = error;
                                 outcome->result = result;
                             });
        return outcome;
    }
    std::string readFile(const std::string& path) {
        auto data = files.contentsAtPath(path);
        return data ? std::string(reinterpret_cast<const char*>(data->bytes()), data->length()) : std::string("<none>");
    }
};

}  // namespace apitest
