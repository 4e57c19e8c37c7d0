// The two document lists' definitions over a store: which stored documents
// a list fetches (the viewable extensions only, each kind its own entity)
// and in what order; the base names no entity.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Utils/MeetingStoreTestSupport.h"
#include "coredata/FetchRequest.h"
#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "foundation/Exception.h"
#include "people/DocumentsListDelegate.h"
#include "people/InformationListDelegate.h"
#include "people/ReportsListDelegate.h"
#include "store/CoreDataStack.h"

namespace {

constexpr const char* kDocumentsToken = "documents-token";

class DocumentsListDelegateTest : public meetingtest::MeetingStoreTest {
protected:
    std::vector<std::string> titlesFetchedBy(DocumentsListDelegate& delegate) {
        coredata::FetchRequest request(delegate.entityName());
        request.setPredicate(*delegate.fetchPredicate());
        request.setSortDescriptors(delegate.sortDescriptors());
        std::vector<std::string> titles;
        const auto& context = stack_->managedObjectContextMainQueue();
        context->performBlockAndWait([&] {
            for (const auto& row : context->executeFetchRequest(request))
                if (auto object = row.objectAs<coredata::ManagedObject>())
                    titles.push_back(object->valueForKey("title").stringValue());
        });
        return titles;
    }
    std::shared_ptr<CoreDataStack> stack_;
};

TEST_F(DocumentsListDelegateTest, ListsOnlyViewableDocumentsOfTheirOwnKindInTheirOrder) {
    stack_ = openCurrent(kDocumentsToken);
    insert(kDocumentsToken, "QVACoreDataInformationDocument",
           {{{"title", foundation::Value("Wifi")}, {"category", foundation::Value("Venue")}, {"extension", foundation::Value("pdf")}},
            {{"title", foundation::Value("Agenda")}, {"category", foundation::Value("Venue")}, {"extension", foundation::Value("docx")}},
            {{"title", foundation::Value("Badge")}, {"category", foundation::Value("Arrival")}, {"extension", foundation::Value("png")}},
            {{"title", foundation::Value("Installer")}, {"category", foundation::Value("Arrival")}, {"extension", foundation::Value("exe")}},
            {{"title", foundation::Value("Shouting")}, {"category", foundation::Value("Arrival")}, {"extension", foundation::Value("PDF")}},
            {{"title", foundation::Value("Nameless")}, {"category", foundation::Value("Arrival")}}});
    insert(kDocumentsToken, "QVACoreDataReportsDocument",
           {{{"title", foundation::Value("Second")}, {"index", foundation::Value(int64_t(2))}, {"extension", foundation::Value("xlsx")}},
            {{"title", foundation::Value("First")}, {"index", foundation::Value(int64_t(1))}, {"extension", foundation::Value("pptx")}}});

    InformationListDelegate information;
    EXPECT_EQ(titlesFetchedBy(information), (std::vector<std::string>{"Badge", "Agenda", "Wifi"}));
    EXPECT_EQ(information.sectionNameKeyPath(), "category");
    EXPECT_EQ(information.getAnalyticsEventName(), "View useful information");

    ReportsListDelegate reports;
    EXPECT_EQ(titlesFetchedBy(reports), (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(reports.sectionNameKeyPath(), std::nullopt);
    EXPECT_EQ(reports.getAnalyticsEventName(), "View reports");
    EXPECT_EQ(reports.cellIdentifier(), "documentInfoCellIdentifier");
    EXPECT_EQ(reports.entitiesArrayToObserveForFilteringUIUpdates(),
              (std::vector<std::string>{"QVACoreDataReportsDocument"}));
}

TEST_F(DocumentsListDelegateTest, TheBaseNamesNoEntity) {
    DocumentsListDelegate base;
    EXPECT_THROW(base.entityName(), foundation::Exception);
    EXPECT_THROW(base.entitiesArrayToObserveForFilteringUIUpdates(), foundation::Exception);
    EXPECT_TRUE(base.filtersCollection()->empty());
}

}  // namespace
