// Feed, documents and descriptors against a loopback server: the reports
// feed replaces the report rows only when served as RSS and goes with the
// account's token, a document name cannot lead out of its folder nor a
// partial document, a page or nothing be taken for a whole one, and a
// permissions refresh replaces the stored rows. The map files are
// tested with the maps service that names them.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "QVAApiManagerDownloadsFixture.h"
#include "Utils/Utils.h"
#include "api/DownloadedBody.h"
#include "foundation/FileManager.h"
#include "http/QNMIMETypes.h"
#include "model/QVACoreDataPermission.h"
#include "model/QVACoreDataReportsDocument.h"
#include "model/QVAError.h"
#include "store/StorageManager.h"

using foundation::Value;

namespace {

using apitest::QVAApiManagerDownloadsTest;

TEST_F(QVAApiManagerDownloadsTest, ReportsFeedReplacesTheRowsInFeedOrder) {
    serveFeed("application/rss+xml; charset=utf-8");
    // No service call of the process has set the token yet.
    api().clearAuthorizationHeader();
    auto outcome = call([&](auto done) { api().refreshReportsForEventId(std::string("42"), token, done); });
    EXPECT_EQ(outcome.error, nullptr);
    EXPECT_EQ(server.lastRequest()->header("Authorization"), std::optional<std::string>("Bearer " + token));
    std::vector<std::shared_ptr<QVACoreDataReportsDocument>> reports;
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] {
            reports = rows<QVACoreDataReportsDocument>(token);
            return reports.size() == 3;
        },
        apitest::kManagerWait));
    std::sort(reports.begin(), reports.end(), [](auto& a, auto& b) { return a->index() < b->index(); });
    EXPECT_EQ(reports[0]->title(), std::optional<std::string>("First"));
    EXPECT_EQ(reports[0]->documentDescription(), std::optional<std::string>(" one "));
    EXPECT_EQ(reports[0]->url(), std::optional<std::string>("http://x/b.pdf"));
    EXPECT_EQ(reports[1]->title(), std::optional<std::string>("Second"));
    EXPECT_EQ(reports[1]->url(), std::optional<std::string>("http://x/c.pdf"));
    EXPECT_EQ(reports[2]->index(), 2);
    EXPECT_EQ(reports[2]->url(), std::nullopt);

    // Served as "text/xml" the feed is refused and the rows stay.
    serveFeed("text/xml");
    auto refused = call([&](auto done) { api().refreshReportsForEventId(std::string("42"), token, done); });
    EXPECT_NE(refused.error, nullptr);
    EXPECT_EQ(rows<QVACoreDataReportsDocument>(token).size(), 3u);

    // A meeting without a feed, or with an empty address, completes at once.
    const size_t before = server.requestCount();
    for (const Value& address : {Value(), Value(std::string())}) {
        auto event = Value::dictionary({{"id", "42"}});
        if (!address.isAbsent()) event = Value::dictionary({{"id", "42"}, {"reportsRssFeedUrl", address}});
        settings.setCurrentEvent(QVAEvent::initWithDictionary(event));
        auto none = call([&](auto done) { api().refreshReportsForEventId(std::string("42"), token, done); });
        EXPECT_EQ(none.error, nullptr);
    }
    EXPECT_EQ(server.requestCount(), before);
}

TEST_F(QVAApiManagerDownloadsTest, PermissionsRefreshReplacesEveryRow) {
    insert(token, QVACoreDataPermission::kEntityName, {{{"code", "old"}, {"granted", true}}});
    serve("GET", path("events/42/my_profile/permissions"),
              json(R"([{"code":"messages:read","granted":true},{"code":"event:notes","granted":false}])"));
    auto outcome = call([&](auto done) { api().refreshPermissionsForEventId(std::string("42"), token, done); });
    EXPECT_EQ(outcome.error, nullptr);
    EXPECT_EQ(rows<QVACoreDataPermission>(token).size(), 2u);

    serve("GET", path("events/42/my_profile/permissions"), json("[]"));
    call([&](auto done) { api().refreshPermissionsForEventId(std::string("42"), token, done); });
    EXPECT_TRUE(rows<QVACoreDataPermission>(token).empty());

    auto descriptor = api().getRoomsRequestObjectForEventId(std::string("42"), token);
    EXPECT_EQ(descriptor->serviceName(), std::optional<std::string>("events/42/rooms"));
    EXPECT_TRUE(descriptor->paginatedCall());
    EXPECT_EQ(descriptor->itemsPerPage(), 100);
    EXPECT_FALSE(descriptor->importantCall());
    EXPECT_TRUE(api().getSessionsRequestObjectForEventId(std::string("42"), token)->importantCall());
    auto reports = api().getReportsObjectForEventId(std::string("other"), token);
    EXPECT_TRUE(reports->isAnXMLCall());
    EXPECT_FALSE(reports->paginatedCall());
    EXPECT_EQ(reports->serviceName(), std::optional<std::string>(server.urlFor("/feed.rss")));
}

TEST_F(QVAApiManagerDownloadsTest, DocumentsStayInTheirFolder) {
    settings.setCurrentAccount(QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", "a/b"}})));
    serve("GET", "/files/report.pdf", testservice::Reply::text("%PDF-1.4"));
    auto saved = call([&](auto done) {
        api().getFileFromUrl(server.urlFor("/files/report.pdf"), std::string("../../escape.pdf"), token,
                             std::string("42"), done);
    });
    ASSERT_EQ(saved.error, nullptr);
    const std::string expected = Utils::getCurrentDirectory() + "/Info Pdfs/a_b/escape.pdf";
    EXPECT_EQ(*saved.result.string(), expected);
    EXPECT_EQ(readFile(expected), "%PDF-1.4");

    auto refused = call([&](auto done) {
        api().getFileFromUrl(server.urlFor("/files/report.pdf"), std::string("dir/.."), token, std::string("42"),
                             done);
    });
    EXPECT_NE(refused.error, nullptr);

    const size_t before = server.requestCount();
    auto bare = call([&](auto done) {
        api().getFileFromUrl(std::string("/files/report.pdf"), std::string("x.pdf"), token, std::string("42"), done);
    });
    ASSERT_NE(bare.error, nullptr);
    EXPECT_EQ(bare.error->localizedDescription(), "Bad url for document.");
    EXPECT_EQ(server.requestCount(), before);

    serve("GET", "/files/missing.pdf", testservice::Reply::text("not here", 404));
    auto missing = call([&](auto done) {
        api().getFileFromUrl(server.urlFor("/files/missing.pdf"), std::string("escape.pdf"), token,
                             std::string("42"), done);
    });
    EXPECT_NE(missing.error, nullptr);
    // A failed download leaves the whole copy from before as it was.
    EXPECT_EQ(readFile(expected), "%PDF-1.4");
    EXPECT_FALSE(files.fileExistsAtPath(expected + ".download"));
}

// A document is judged by its bytes: a page a network answered in its
// place, or nothing, is refused however labelled; a file under a generic or
// wrong label, or another extension than its kind's, is kept.
TEST_F(QVAApiManagerDownloadsTest, DocumentsAreJudgedByTheirBytesNotTheirLabel) {
    // An account of its own: the first download into a folder sweeps it.
    settings.setCurrentAccount(QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", "judged"}})));
    const std::string folder = *QVAApiManager::documentsFolderForAuthToken(std::string("judged"));
    const std::vector<std::tuple<std::string, std::string, std::string, bool>> answers = {
        {"report.pdf", "application/pdf", "\xEF\xBB\xBF \n<!DOCTYPE html><html>Please sign in.</html>", false},
        {"agenda.pdf", "application/pdf", "", false},
        {"photo.jpg", "image/png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), true},
        {"notes.doc", "application/rtf", "{\\rtf1\\ansi Notes}", true},
        {"letter.doc", "application/octet-stream", "{\\rtf1\\ansi Dear all}", true},
        // What office programs save as a spreadsheet, told by their marks.
        {"budget.xls", "application/octet-stream",
         "<?xml version=\"1.0\"?>\n<?mso-application progid=\"Excel.Sheet\"?>\n"
         "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"/>",
         true},
        {"export.xls", "application/vnd.ms-excel; charset=utf-8",
         "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"\nxmlns:x=\"urn:schemas-microsoft-com:office:excel\">"
         "<head><meta name=ProgId content=Excel.Sheet></head><body><table><tr><td>1</td></tr></table></body></html>",
         true},
        {"memo.doc", "text/html", "<html><head><meta name=\"ProgId\" content=\"Word.Document\"></head>memo</html>", true},
        // The label alone, or the words in a page's text, are no mark.
        {"plain.xls", "application/vnd.ms-excel", "<html><table><tr><td>1</td></tr></table></html>", false},
        {"said.xls", "application/vnd.ms-excel",
         "<p>Sign in. Our exports use urn:schemas-microsoft-com:office:excel and ProgId Excel.Sheet.</p>", false},
        {"bare.xls", "application/octet-stream", "<?xml version=\"1.0\"?>\n<Workbook/>", false},
        {"scripted.xls", "application/vnd.ms-excel",
         "<html><head><script>document.write('<html xmlns:x=\"urn:schemas-microsoft-com:office:excel\">');</script>"
         "</head><body><form>Sign in</form></body></html>",
         false},
        {"readme.txt", "text/plain", "Open the <html> file in a browser.", true}};
    for (const auto& [name, type, body, kept] : answers) {
        auto reply = testservice::Reply::text(body);
        reply.contentType = type;
        serve("GET", "/files/" + name, reply);
        auto outcome = call([&](auto done) {
            api().getFileFromUrl(server.urlFor("/files/" + name), name, token, std::string("42"), done);
        });
        EXPECT_EQ(outcome.error == nullptr, kept) << name;
        EXPECT_EQ(readFile(folder + "/" + name), kept ? body : "<none>") << name;
    }
}

// A network's sign-in page, whatever it opens with, its label or its
// encoding, never replaces a kept document of any kind with a signature:
// each kind is kept only as what it is, and a real file of it is kept.
TEST_F(QVAApiManagerDownloadsTest, ASignInPageNeverReplacesAKeptDocument) {
    settings.setCurrentAccount(QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", "portal"}})));
    const std::string folder = *QVAApiManager::documentsFolderForAuthToken(std::string("portal"));
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("<html><body>Please sign in.</body></html>")) utf16 += std::string{c, '\0'};
    const std::vector<std::string> pages = {
        "Your session has expired. Please sign in to continue.",
        "<form action=\"/login\" method=\"post\"><input name=\"user\"></form>",
        "<!-- portal -->\nPlease sign in to use the Wi-Fi.",
        "<frameset><frame src=\"http://portal.invalid/login\"></frameset>",
        "<noscript>Turn JavaScript on to sign in.</noscript>",
        "<center>Sign in to the Wi-Fi</center>",
        "<meta http-equiv=\"refresh\" content=\"0; url=http://portal.invalid/\">",
        "<p>%PDF-1.7 files need an account.</p>",
        "Sign in first.\n%PDF-1.7 files need an account.",
        "<script>location.href = 'http://portal.invalid/';</script>",
        "\n  <TITLE>Wi-Fi</TITLE><p>Please sign in.",
        utf16,
        "<!--" + std::string(5000, 'x') + "-->\n<html><body>Please sign in.</body></html>"};
    // A whole file of each content a kind may need.
    auto realFile = [](const DownloadedBody::Kind& kind) -> std::string {
        switch (kind.content) {
            case DownloadedBody::Content::PDF:
                return "\xEF\xBB\xBF\n%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj";
            case DownloadedBody::Content::Image:
                if (kind.extension == "gif") return "GIF89a\x01\x00\x01\x00";
                if (kind.extension == "png") return std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
                return "\xFF\xD8\xFF\xE0\x00\x10JFIF";
            case DownloadedBody::Content::Office:
            case DownloadedBody::Content::OpenDocument:
                return std::string("PK\x03\x04\x14\0\0\0mimetype", 16);
            case DownloadedBody::Content::OlderOffice:
            case DownloadedBody::Content::OlderWord:
                return "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 container";
            case DownloadedBody::Content::RTF:
                return "{\\rtf1\\ansi Minutes}";
        }
        return "";
    };
    ASSERT_FALSE(DownloadedBody::knownKinds().empty());
    for (const auto& kind : DownloadedBody::knownKinds()) {
        const std::string extension(kind.extension);
        const std::string name = "kept." + extension;
        const std::string whole = realFile(kind);
        auto original = testservice::Reply::text(whole);
        original.contentType = QNMIMETypeForPathExtension(extension);
        serve("GET", "/files/" + name, original);
        auto first = call([&](auto done) {
            api().getFileFromUrl(server.urlFor("/files/" + name), name, token, std::string("42"), done);
        });
        ASSERT_EQ(first.error, nullptr) << name;
        for (const auto& page : pages) {
            for (const auto& type : {std::string("text/html"), std::string("application/octet-stream"),
                                     QNMIMETypeForPathExtension(extension)}) {
                auto reply = testservice::Reply::text(page);
                reply.contentType = type;
                serve("GET", "/files/" + name, reply);
                auto outcome = call([&](auto done) {
                    api().getFileFromUrl(server.urlFor("/files/" + name), name, token, std::string("42"), done);
                });
                ASSERT_NE(outcome.error, nullptr) << name << " as " << type << ": " << page.substr(0, 24);
                EXPECT_EQ(outcome.error->code(), QVAApiManager::kRefusedBodyErrorCode);
                EXPECT_EQ(readFile(folder + "/" + name), whole) << name << " as " << type << ": " << page.substr(0, 24);
            }
        }
    }
}

TEST_F(QVAApiManagerDownloadsTest, DocumentsNeedTheInternet) {
    EXPECT_TRUE(Utils::isInternetReachable());
    network::Reachability::setSimulatedFlags(0);
    auto& reachability = QNNetworkReachabilityManager::sharedManager();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return reachability.networkReachabilityStatus() == QNNetworkReachabilityStatus::NotReachable; },
        apitest::kManagerWait));
    EXPECT_FALSE(Utils::isInternetReachable());
    auto offline = call([&](auto done) {
        api().getFileFromUrl(server.urlFor("/files/x.pdf"), std::string("x.pdf"), token, std::string("42"), done);
    });
    ASSERT_NE(offline.error, nullptr);
    EXPECT_EQ(offline.error->localizedDescription(), "No internet connection!");
    EXPECT_EQ(server.requestCount(), 0u);
}

// The process may end while a document's body arrives: nothing may stand
// under the document's name then, or the viewer would show it cut for good.
TEST_F(QVAApiManagerDownloadsTest, ADocumentTakesItsNameOnlyOnceWholeAndLeftoversOfEarlierRunsGo) {
    settings.setCurrentAccount(QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", token}})));
    const std::string folder = *QVAApiManager::documentsFolderForAuthToken(token);
    const std::string file = folder + "/report.pdf";
    files.createDirectoryAtPath(folder, true);
    // What an earlier run, ended during a download, left behind.
    const std::string leftover = folder + "/minutes.pdf.download";
    files.writeData(foundation::Data::fromString(std::string(98304, 'm')), leftover, true);

    std::string body(262157, 'p');
    body.replace(0, 8, "%PDF-1.4");
    auto held = testservice::Reply::text(body);
    held.stallAfterBytes = 100000;
    serve("GET", "/files/report.pdf", held);
    auto document = startDocument("/files/report.pdf", "report.pdf");
    // Most of the first 100,000 bytes on disk (the stream writes whole
    // buffers).
    auto arrived = [&] {
        uint64_t most = 0;
        for (const auto& name : files.contentsOfDirectoryAtPath(folder).value_or(std::vector<std::string>()))
            most = std::max(most, files.fileSizeAtPath(folder + "/" + name).value_or(0));
        return most >= 65536;
    };
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(arrived, apitest::kManagerWait));
    EXPECT_FALSE(files.fileExistsAtPath(file));
    EXPECT_FALSE(files.fileExistsAtPath(leftover));
    EXPECT_FALSE(document->called);

    server.resumeStalledReplies();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return document->called; }, apitest::kManagerWait));
    EXPECT_EQ(document->error, nullptr);
    EXPECT_EQ(document->result, Value(file));
    EXPECT_EQ(readFile(file), body);
    EXPECT_EQ(files.contentsOfDirectoryAtPath(folder), std::vector<std::string>{"report.pdf"});
}

TEST_F(QVAApiManagerDownloadsTest, CancellingStopsServiceCallsOnly) {
    auto held = testservice::Reply::text("[]");
    held.neverAnswer = true;
    serve("GET", path("slow"), held);
    auto stalled = testservice::Reply::text("%PDF-BODY");
    stalled.stallAfterBytes = 3;
    serve("GET", "/files/slow.pdf", stalled);
    settings.setCurrentAccount(QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", token}})));

    auto call = std::make_shared<apitest::Outcome>();
    api().GET("slow", Value(), false, nullptr, [call](const auto& error, const auto& result) {
        call->called = true;
        call->error = error;
        call->result = result;
    });
    auto document = startDocument("/files/slow.pdf", "slow.pdf");
    ASSERT_TRUE(server.waitForRequestCount(2, apitest::kManagerWait));
    api().cancelAllHTTPOperationTasks();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return call->called; }, apitest::kManagerWait));
    ASSERT_NE(call->error, nullptr);
    EXPECT_EQ(call->error->code(), foundation::URLError::Cancelled);
    EXPECT_FALSE(document->called);
    server.resumeStalledReplies();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return document->called; }, apitest::kManagerWait));
    EXPECT_EQ(document->error, nullptr);
    EXPECT_EQ(readFile(*document->result.string()), "%PDF-BODY");
}

TEST_F(QVAApiManagerDownloadsTest, CacheResetOpensAnEmptyStoreAndForgetsValidity) {
    insert(token, QVACoreDataPermission::kEntityName, {{{"code", "x"}, {"granted", true}}});
    settings.setPersistentStoresValidity(Value::Dictionary{{"tok_42", true}, {"other_1", true}});
    auto outcome = call([&](auto done) {
        api().clearCacheAndReloadContentForAuthToken(token, std::string("42"), done);
    });
    EXPECT_EQ(outcome.error, nullptr);
    EXPECT_NE(outcome.result.objectAs<CoreDataStack>(), nullptr);
    EXPECT_TRUE(settings.persistentStoresValidity().empty());
    EXPECT_TRUE(rows<QVACoreDataPermission>(token).empty());
}

}  // namespace
