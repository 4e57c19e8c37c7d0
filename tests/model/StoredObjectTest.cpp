// Timeline models read back from managed objects of the object store, the way
// the calendar mirror reads agenda rows.
#include <gtest/gtest.h>

#include "coredata/ManagedObjectContext.h"
#include "coredata/ManagedObjectModel.h"
#include "coredata/PersistentStoreCoordinator.h"
#include "foundation/ApplicationHome.h"
#include "foundation/KeyedArchiver.h"
#include "model/ModelClass.h"
#include "model/ModelReading.h"
#include "model/QVAAgendaEntries.h"

using foundation::Value;

TEST(StoredObjects, AgendaRowsBecomeModels) {
    registerModelClasses();
    using T = coredata::AttributeType;
    auto model = std::make_shared<coredata::ManagedObjectModel>("model-test");
    model->addEntity("QVACoreDataTimelineItem", "",
                     {{"displayTime", T::String}, {"startDatetime", T::String}, {"title", T::String}});
    model->addEntity("QVACoreDataBaseSession", "QVACoreDataTimelineItem",
                     {{"itemId", T::String}, {"revision", T::String}, {"fee", T::Integer32}, {"cancelled", T::Boolean},
                      {"insights", T::Binary}});
    model->addEntity("QVACoreDataAgendaRole", "QVACoreDataBaseSession",
                     {{"agendaItemId", T::String}, {"status", T::String}, {"withSpouse", T::Boolean}});
    model->addEntity("QVACoreDataAgendaInvitation", "QVACoreDataAgendaRole", {});

    auto coordinator = coredata::PersistentStoreCoordinator::create(model);
    ASSERT_FALSE(coordinator->addPersistentStore(foundation::ApplicationHome::root() + "/model-test.sqlite"));
    auto context = coredata::ManagedObjectContext::create(coredata::ConcurrencyType::MainQueue);
    context->setPersistentStoreCoordinator(coordinator);

    auto insight = QVASessionInsight::initWithDictionary(Value::dictionary({{"id", "i1"}}));
    auto row = context->insertNewObject("QVACoreDataAgendaInvitation");
    row->setValue("s1", "itemId");
    row->setValue("3", "revision");
    row->setValue("Keynote", "title");
    row->setValue("09:30 - 10:45", "displayTime");
    row->setValue(12, "fee");
    row->setValue(true, "cancelled");
    row->setValue("a7", "agendaItemId");
    row->setValue("Confirmed", "status");
    row->setValue(true, "withSpouse");
    row->setValue(foundation::KeyedArchiver::archivedDataWithRootObject(
                      ModelReading::arrayValue(std::vector<std::shared_ptr<QVASessionInsight>>{insight})),
                  "insights");

    auto invitation = QVAAgendaInvitation::initWithCoreDataObject(*row);
    EXPECT_EQ(invitation->itemId(), "s1");
    EXPECT_EQ(invitation->revision(), "3");
    EXPECT_EQ(invitation->title(), "Keynote");
    EXPECT_EQ(invitation->displayTime(), "09:30 - 10:45");
    EXPECT_EQ(invitation->fee(), 12);
    EXPECT_TRUE(invitation->cancelled());
    EXPECT_EQ(invitation->agendaItemId(), "a7");
    EXPECT_EQ(invitation->status(), "Confirmed");
    EXPECT_TRUE(invitation->withSpouse());
    ASSERT_EQ(invitation->insights().size(), 1u);
    EXPECT_EQ(invitation->insights()[0]->sessionInsightId(), "i1");
    // Attributes the entity lacks read as empty.
    EXPECT_FALSE(invitation->roomId());
    EXPECT_FALSE(invitation->startDateString());

    auto timeline = QVATimelineItemModel::initWithCoreDataObject(*row);
    EXPECT_EQ(timeline->itemId(), "s1");
    EXPECT_FALSE(timeline->startDatetime());
}
