// The document lists as the More tab opens them and the document viewer
// they open: where a document is cached, the section index and rows of the
// information list, the viewer's title and event by list, the offline
// failure, an answer that is not the document, the cached file with
// "Open in...", and the preview's log line and printed state.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Utils/LogSafeText.h"
#include "Utils/StringUtility.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManager.h"
#include "app/EventsTabBarController.h"
#include "app/MoreViewController.h"
#include "app/ShellTestSupport.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "http/QNNetworkReachabilityManager.h"
#include "network/Reachability.h"
#include "people/DocumentDetailViewController.h"
#include "people/DocumentsListViewController.h"
#include "quicklook/QLPreviewContent.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "service/TestDocuments.h"
#include "service/TestImages.h"
#include "uikit/AlertStack.h"
#include "uikit/ScreenDescription.h"
#include "uikit/ScreenRenderer.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/AlertStackEntry.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIDocumentInteractionController.h"
#include "uikit/UILabel.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

namespace {

using foundation::Value;
using Titles = std::vector<std::string>;

constexpr const char* kViewerToken = "documents-token-0123456789";
constexpr const char* kAgendaUrl = "https://example.org/docs/agenda";

class DocumentScreensTest : public shelltest::ShellTest {
protected:
    void TearDown() override {
        uikit::UIDocumentInteractionController::resetForTests();
        ShellTest::TearDown();
    }

    void addDocument(const char* entity, const char* title, const char* url, const char* extension,
                     std::optional<std::string> category = std::nullopt) {
        meetingtest::Row row{{"title", Value(title)}, {"url", Value(url)}, {"extension", Value(extension)},
                             {"filename", Value(std::string(title) + "." + extension)}};
        if (category) row["category"] = Value(*category);
        insert(kViewerToken, entity, {row});
    }

    // The More tab's row of that title, tapped.
    std::shared_ptr<DocumentsListViewController> openList(const std::string& rowTitle) {
        if (!launched_) launch();
        launched_ = true;
        tabBar()->selectTabBarItem(EventsTabBarController::moreTabIndex());
        settle();
        auto more = rootOfTab<MoreViewController>(EventsTabBarController::moreTabIndex());
        if (!more) return nullptr;
        auto table = more->moreTableView();
        for (int64_t row = 0; row < table->numberOfRowsInSection(0); ++row) {
            if (table->cellForRowAtIndexPath({0, row})->textLabel()->text() != rowTitle) continue;
            driver().tapRow(0, row);
            settle();
            return std::dynamic_pointer_cast<DocumentsListViewController>(driver().frontViewController());
        }
        return nullptr;
    }

    std::shared_ptr<DocumentDetailViewController> openDocument(int64_t section, int64_t row) {
        if (!driver().tapRow(section, row)) return nullptr;
        settle();
        return std::dynamic_pointer_cast<DocumentDetailViewController>(driver().frontViewController());
    }

    // The agenda document, already downloaded into the account's folder.
    std::string cacheAgenda(const std::string& bytes = "%PDF-1.4") { return cacheDocument(kAgendaUrl, "pdf", bytes); }

    std::string cacheDocument(const std::string& url, const std::string& extension, const std::string& bytes) {
        auto path = DocumentDetailViewController::cacheFilePath(std::string(kViewerToken), url, extension);
        auto& files = foundation::FileManager::defaultManager();
        files.createDirectoryAtPath(*QVAApiManager::documentsFolderForAuthToken(std::string(kViewerToken)), true);
        files.writeData(foundation::Data::fromString(bytes), *path, true);
        return *path;
    }

    std::string dump() { return uikit::describe(*app().keyWindow()); }

    static const uikit::AlertStackEntry* visibleAlert() {
        for (const auto& entry : uikit::AlertStack::shared().entries())
            if (entry && entry->isVisible()) return entry.get();
        return nullptr;
    }

    static bool tracked(size_t from, const std::string& name) {
        const auto events = AnalyticsUtils::queuedEvents();
        for (size_t i = from; i < events.size(); ++i)
            if (events[i].name == name) return true;
        return false;
    }

    bool launched_ = false;
};

TEST_F(DocumentScreensTest, ADocumentIsCachedUnderItsAddressHashAndExtension) {
    openCurrent(kViewerToken);
    const std::string folder = Utils::getCurrentDirectory() + "/Info Pdfs/" + kViewerToken + "/";
    EXPECT_EQ(DocumentDetailViewController::cacheFilePath(std::string(kViewerToken), kAgendaUrl, std::nullopt),
              folder + "405043b366a9529ec4c1df6c8f5bccce51836a3e15a97604c6609f5dd30b644a.pdf");
    EXPECT_EQ(DocumentDetailViewController::cacheFilePath(std::string(kViewerToken), kAgendaUrl, std::string("")),
              folder + "405043b366a9529ec4c1df6c8f5bccce51836a3e15a97604c6609f5dd30b644a.pdf");
    EXPECT_EQ(DocumentDetailViewController::cacheFilePath(std::string(kViewerToken),
                                                          "https://example.org/docs/plan.docx", std::string("docx")),
              folder + "40b8eaddee2d459bdc564297b4021cd30815432680d731d1fd59e1a866deae7e.docx");
}

TEST_F(DocumentScreensTest, TheViewerAndTheDownloadNameOneFolderForATokenWithASlash) {
    openCurrent(kViewerToken);
    // The folder getFileFromUrl writes "a/b"'s documents to.
    const std::string downloads = Utils::getCurrentDirectory() + "/Info Pdfs/a_b";
    EXPECT_EQ(QVAApiManager::documentsFolderForAuthToken(std::string("a/b")), downloads);
    EXPECT_EQ(DocumentDetailViewController::cacheFilePath(std::string("a/b"), kAgendaUrl, std::string("pdf")),
              downloads + "/405043b366a9529ec4c1df6c8f5bccce51836a3e15a97604c6609f5dd30b644a.pdf");
    EXPECT_FALSE(DocumentDetailViewController::cacheFilePath(std::string(".."), kAgendaUrl, std::nullopt));
}

TEST_F(DocumentScreensTest, TheInformationListIndexesItsCategoriesWithNewPlainRows) {
    openCurrent(kViewerToken);
    addDocument("QVACoreDataInformationDocument", "Taxis", "https://example.org/t.pdf", "pdf", "Transport");
    addDocument("QVACoreDataInformationDocument", "Badges", "https://example.org/b.pdf", "pdf", "Security");
    addDocument("QVACoreDataInformationDocument", "Welcome", "https://example.org/w.pdf", "pdf");
    addDocument("QVACoreDataInformationDocument", "Notes", "https://example.org/n.txt", "txt", "Practical");
    auto list = openList("Information");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->title(), "Information");
    auto table = list->tableView();
    ASSERT_EQ(table->numberOfSections(), 3);
    EXPECT_EQ(table->titleForHeaderInSection(1), "Security");
    EXPECT_EQ(table->sectionIndexTitles(), (Titles{"S", "T"}));
    auto cell = table->cellForRowAtIndexPath({2, 0});
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->reuseIdentifier(), "documentsListTableViewCell");
    EXPECT_EQ(cell->className(), "UITableViewCell");
    EXPECT_EQ(cell->textLabel()->text(), "Taxis");
    EXPECT_EQ(table->heightForRowAtIndexPath({2, 0}), 44);
    // Never dequeued: asking again makes another cell.
    EXPECT_NE(list->tableViewCellForRowAtIndexPath(*table, {2, 0}), list->tableViewCellForRowAtIndexPath(*table, {2, 0}));
}

TEST_F(DocumentScreensTest, TheViewerIsTitledAndTrackedByTheListItCameFrom) {
    openCurrent(kViewerToken);
    addDocument("QVACoreDataReportsDocument", "Annual report", "https://example.org/r.pdf", "pdf");
    addDocument("QVACoreDataInformationDocument", "Venue guide", "https://example.org/v.pdf", "pdf");
    auto reports = openList("Reports");
    ASSERT_TRUE(reports);
    size_t before = AnalyticsUtils::queuedEvents().size();
    auto viewer = openDocument(0, 0);
    ASSERT_TRUE(viewer);
    EXPECT_EQ(viewer->title(), "Report details");
    EXPECT_EQ(viewer->documentURL(), "https://example.org/r.pdf");
    EXPECT_EQ(viewer->fileExtension(), "pdf");
    EXPECT_EQ(viewer->filename(), "Annual report.pdf");
    EXPECT_FALSE(viewer->webViewOnly());
    EXPECT_TRUE(tracked(before, "View report"));
    // Offline: the download's failure is answered first.
    ASSERT_TRUE(driver().answerAlert("OK"));
    reports->navigationController()->popToRootViewControllerAnimated(false);
    settle();

    auto information = openList("Information");
    ASSERT_TRUE(information);
    before = AnalyticsUtils::queuedEvents().size();
    viewer = openDocument(0, 0);
    ASSERT_TRUE(viewer);
    EXPECT_EQ(viewer->title(), "Document details");
    EXPECT_TRUE(tracked(before, "View useful document"));
    EXPECT_FALSE(tracked(before, "View report"));
}

TEST_F(DocumentScreensTest, OfflineWithoutACopyTheDownloadFailsAndOpenInStaysOff) {
    openCurrent(kViewerToken);
    addDocument("QVACoreDataInformationDocument", "Agenda", kAgendaUrl, "pdf");
    ASSERT_TRUE(openList("Information"));
    auto viewer = openDocument(0, 0);
    ASSERT_TRUE(viewer);
    const auto* alert = visibleAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Failed to download document.");
    ASSERT_TRUE(viewer->openInButton());
    EXPECT_FALSE(viewer->openInButton()->isEnabled());
    EXPECT_FALSE(viewer->fileUrl());
    EXPECT_FALSE(viewer->previewController());
    EXPECT_FALSE(viewer->documentActivityIndicator()->isAnimating());
}

TEST_F(DocumentScreensTest, ACachedCopyShowsAtOnceAndOpenInSaysWhenNoApplicationOpensIt) {
    openCurrent(kViewerToken);
    addDocument("QVACoreDataInformationDocument", "Agenda", kAgendaUrl, "pdf");
    const std::string path = cacheAgenda();
    ASSERT_TRUE(openList("Information"));
    auto viewer = openDocument(0, 0);
    ASSERT_TRUE(viewer);
    EXPECT_FALSE(visibleAlert());
    EXPECT_TRUE(viewer->openInButton()->isEnabled());
    ASSERT_TRUE(viewer->previewController());
    ASSERT_TRUE(viewer->previewController()->currentPreviewItemURL());
    EXPECT_EQ(viewer->previewController()->currentPreviewItemURL()->path(), path);
    EXPECT_FALSE(viewer->documentActivityIndicator()->isAnimating());
    const std::string dump = uikit::describe(*app().keyWindow());
    // The account's folder is printed as the log names it: masked.
    const std::string masked = LogSafeText::maskedToken(std::string(kViewerToken));
    EXPECT_NE(dump.find("/Info Pdfs/" + masked + "/" + path.substr(path.rfind('/') + 1)), std::string::npos) << dump;
    EXPECT_EQ(dump.find(kViewerToken), std::string::npos) << dump;
    EXPECT_NE(dump.find("exists=\"YES\""), std::string::npos);
    EXPECT_NE(dump.find("right=[Open in... on]"), std::string::npos);

    uikit::UIDocumentInteractionController::setApplicationsOpenFiles(false);
    ASSERT_TRUE(driver().tapItem("Open in..."));
    settle();
    const auto* alert = visibleAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Error");
    EXPECT_EQ(alert->message(), "No compatible apps were found on your device.");
    EXPECT_FALSE(uikit::UIDocumentInteractionController::shownMenu());
}

TEST_F(DocumentScreensTest, LeavingTheViewerDismissesTheOpenInMenu) {
    openCurrent(kViewerToken);
    addDocument("QVACoreDataInformationDocument", "Agenda", kAgendaUrl, "pdf");
    const std::string path = cacheAgenda();
    ASSERT_TRUE(openList("Information"));
    ASSERT_TRUE(openDocument(0, 0));
    ASSERT_TRUE(driver().tapItem("Open in..."));
    settle();
    auto menu = uikit::UIDocumentInteractionController::shownMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->URL().path(), path);
    EXPECT_EQ(uikit::UIDocumentInteractionController::recordedMenus(), Titles{path});
    ASSERT_TRUE(driver().back());
    settle();
    EXPECT_FALSE(uikit::UIDocumentInteractionController::shownMenu());
}

TEST_F(DocumentScreensTest, ACachedPDFShowsItsFirstPageAndOpenInDrawsItsMenuUntilDismissed) {
    openCurrent(kViewerToken);
    addDocument("QVACoreDataInformationDocument", "Agenda", kAgendaUrl, "pdf");
    cacheAgenda(testservice::makePDF("Agenda", {"Opening session at nine."}));
    ASSERT_TRUE(openList("Information"));
    auto viewer = openDocument(0, 0);
    ASSERT_TRUE(viewer);
    const auto& content = viewer->previewController()->previewContent();
    EXPECT_EQ(content.kind, quicklook::QLPreviewContent::Kind::PDF);
    ASSERT_TRUE(content.image);
    EXPECT_EQ(content.image->width(), 595 * 2);
    EXPECT_NE(dump().find("shows=\"page 1 of 1\""), std::string::npos) << dump();
    const graphics::Bitmap page = uikit::renderScreen(*app().keyWindow(), 1);

    ASSERT_TRUE(driver().tapItem("Open in..."));
    settle();
    ASSERT_TRUE(uikit::UIDocumentInteractionController::shownMenu());
    EXPECT_NE(uikit::renderScreen(*app().keyWindow(), 1), page);
    // The app mode's "dismiss" closes the menu as a tap beside it would.
    ASSERT_TRUE(driver().dismissPopover());
    EXPECT_FALSE(uikit::UIDocumentInteractionController::shownMenu());
    EXPECT_EQ(dump().find("open-in-menu"), std::string::npos);
    EXPECT_EQ(uikit::renderScreen(*app().keyWindow(), 1), page);
    EXPECT_FALSE(driver().dismissPopover());
}

TEST_F(DocumentScreensTest, APictureShowsDecodedAndAnyOtherFileByItsDocumentsNameKindAndSize) {
    openCurrent(kViewerToken);
    addDocument("QVACoreDataInformationDocument", "Badge", "https://example.org/badge.png", "png", "A");
    addDocument("QVACoreDataInformationDocument", "Budget", "https://example.org/budget.xlsx", "xlsx", "B");
    addDocument("QVACoreDataInformationDocument", "Minutes", kAgendaUrl, "pdf", "C");
    cacheDocument("https://example.org/badge.png", "png", testservice::makePNG(40, 30));
    cacheDocument("https://example.org/budget.xlsx", "xlsx", "PK\x03\x04" + std::string(2596, 'x'));
    cacheAgenda("%PDF-1.4 and nothing after");
    auto list = openList("Information");
    ASSERT_TRUE(list);

    ASSERT_TRUE(openDocument(0, 0));
    EXPECT_NE(dump().find("shows=\"PNG image 40x30\""), std::string::npos) << dump();
    ASSERT_TRUE(driver().back());
    settle();
    // Named by the document's file name, not by the cache's hash.
    ASSERT_TRUE(openDocument(1, 0));
    EXPECT_NE(dump().find("shows=\"Budget.xlsx, Excel spreadsheet, 3 KB\""), std::string::npos) << dump();
    ASSERT_TRUE(driver().back());
    settle();
    // A damaged PDF is still named and sized.
    ASSERT_TRUE(openDocument(2, 0));
    EXPECT_NE(dump().find("shows=\"Minutes.pdf, PDF document, 26 bytes\""), std::string::npos) << dump();
}

// A network that answers for the service (a login page, 200) must not leave
// its page as the document for good: the download fails, nothing is kept,
// and the next opening asks the service again.
TEST_F(DocumentScreensTest, APageAnsweredInPlaceOfTheDocumentIsNotKeptAndTheNextOpeningAsksAgain) {
    auto data = testservice::generateMeeting({.seed = 5, .sessions = 2, .participants = 4, .days = 1});
    const std::string path = "/files/annual-report.pdf";
    const std::string pdf = testservice::makePDF("Annual report", {"Figures of the year."});
    data.files[path] = testservice::MeetingFile{"application/pdf", pdf};
    testservice::MeetingService service(std::move(data));
    ASSERT_TRUE(service.start());
    testservice::MeetingService::Fault portal;
    portal.status = 200;
    portal.contentType = "text/html";
    portal.body = "<html><body>Please sign in to the Wi-Fi.</body></html>\n";
    portal.times = 1;
    service.injectFault("GET", path, portal);
    openCurrent(kViewerToken);
    const std::string url = service.urlFor(path);
    addDocument("QVACoreDataReportsDocument", "Annual report", url.c_str(), "pdf");
    network::Reachability::setSimulatedFlags(network::ReachabilityFlag::Reachable);
    auto& reachability = QNNetworkReachabilityManager::sharedManager();
    reachability.startMonitoring();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return reachability.isReachable(); }, 10.0));

    ASSERT_TRUE(openList("Reports"));
    auto viewer = openDocument(0, 0);
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return visibleAlert() != nullptr; }, 10.0));
    EXPECT_EQ(visibleAlert()->title(), "Failed to download document.");
    EXPECT_FALSE(viewer->openInButton()->isEnabled());
    const auto cached = DocumentDetailViewController::cacheFilePath(std::string(kViewerToken), url, std::string("pdf"));
    auto& files = foundation::FileManager::defaultManager();
    EXPECT_FALSE(files.fileExistsAtPath(*cached));
    ASSERT_TRUE(driver().answerAlert("OK"));
    ASSERT_TRUE(driver().back());
    settle();

    viewer = openDocument(0, 0);
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return viewer->openInButton()->isEnabled(); }, 10.0));
    EXPECT_EQ(service.requestCount("GET", path), 2u);
    EXPECT_FALSE(visibleAlert());
    auto kept = files.contentsAtPath(*cached);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->toString(), pdf);
    service.stop();
}

// A sign-in page an earlier version kept as a document is judged again
// when the document is opened: dropped, fetched anew, the fetch's failure
// said as any download's, and the real file kept once it comes.
TEST_F(DocumentScreensTest, ASignInPageKeptAsADocumentIsReplacedByTheRealFileAtTheNextOpening) {
    auto data = testservice::generateMeeting({.seed = 6, .sessions = 2, .participants = 4, .days = 1});
    const std::string path = "/files/minutes.docx";
    const std::string docx = "PK\x03\x04" + std::string(1200, 'd');
    data.files[path] = testservice::MeetingFile{"application/octet-stream", docx};
    testservice::MeetingService service(std::move(data));
    ASSERT_TRUE(service.start());
    service.injectFault("GET", path, {.status = 503, .times = 1});
    openCurrent(kViewerToken);
    const std::string url = service.urlFor(path);
    addDocument("QVACoreDataInformationDocument", "Minutes", url.c_str(), "docx");
    const std::string cached = cacheDocument(url, "docx", "Your session has expired. Please sign in to continue.");
    network::Reachability::setSimulatedFlags(network::ReachabilityFlag::Reachable);
    auto& reachability = QNNetworkReachabilityManager::sharedManager();
    reachability.startMonitoring();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return reachability.isReachable(); }, 10.0));
    auto& files = foundation::FileManager::defaultManager();

    ASSERT_TRUE(openList("Information"));
    auto viewer = openDocument(0, 0);
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return visibleAlert() != nullptr; }, 10.0));
    EXPECT_EQ(visibleAlert()->title(), "Failed to download document.");
    EXPECT_FALSE(viewer->openInButton()->isEnabled());
    EXPECT_FALSE(files.fileExistsAtPath(cached));
    ASSERT_TRUE(driver().answerAlert("OK"));
    ASSERT_TRUE(driver().back());
    settle();

    viewer = openDocument(0, 0);
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return viewer->openInButton()->isEnabled(); }, 10.0));
    EXPECT_EQ(service.requestCount("GET", path), 2u);
    EXPECT_FALSE(visibleAlert());
    auto kept = files.contentsAtPath(cached);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->toString(), docx);
    service.stop();
}

TEST_F(DocumentScreensTest, ThePreviewsLogLineNamesTheTokenOnlyMasked) {
    openCurrent(kViewerToken);
    addDocument("QVACoreDataInformationDocument", "Agenda", kAgendaUrl, "pdf");
    cacheAgenda();
    ASSERT_TRUE(openList("Information"));
    foundation::ScopedLogCapture log;
    ASSERT_TRUE(openDocument(0, 0));
    const std::string masked = LogSafeText::maskedToken(std::string(kViewerToken));
    bool found = false;
    for (const auto& line : log.lines()) {
        EXPECT_EQ(line.find(kViewerToken), std::string::npos) << line;
        if (line.find("loading document with \n real url https://example.org/docs/agenda \n file location ") == 0)
            found = line.find("/Info Pdfs/" + masked + "/405043b3") != std::string::npos;
    }
    EXPECT_TRUE(found);
}

}  // namespace
