// Managed objects and contexts as the app's entity classes and store front use
// them: registered classes, typed reads, change tracking, programming errors,
// and performBlockAndWait across the main thread and a worker.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CoreDataTestSupport.h"
#include "foundation/Exception.h"

namespace coredata {
namespace {

using foundation::Value;
using testing::insert;

class SessionRow : public ManagedObject {
public:
    std::optional<std::string> itemId() const { return stringForKey("itemId"); }
    bool cancelled() const { return boolForKey("cancelled"); }
    int32_t capacity() const { return int32_t(integerForKey("capacity")); }
};

TEST(ManagedObject, RegisteredClassesTypedReadsAndChangeTracking) {
    ManagedObject::registerClassForEntityName("BaseSession", [] { return std::make_shared<SessionRow>(); });
    testing::TempDir dir;
    testing::Stack stack(dir.file("objects.sqlite"));
    auto& main = *stack.main;
    auto session = std::dynamic_pointer_cast<SessionRow>(insert(main, "Session", {{"itemId", "s1"}, {"capacity", "40"}}));
    ASSERT_TRUE(session) << "a sub-entity without a class uses its parent's";
    EXPECT_EQ(session->itemId(), "s1");
    EXPECT_EQ(session->capacity(), 40);  // coerced to the attribute's type
    EXPECT_FALSE(session->cancelled());
    EXPECT_EQ(session->className(), "Session");
    EXPECT_TRUE(session->isInserted());
    EXPECT_FALSE(std::dynamic_pointer_cast<SessionRow>(insert(main, "Permission", {})));

    EXPECT_THROW(session->setValue(1, "noSuchAttribute"), foundation::Exception);
    EXPECT_THROW(main.insertNewObject("NoSuchEntity"), foundation::Exception);

    ASSERT_EQ(main.save(), nullptr);
    EXPECT_FALSE(session->isInserted());
    EXPECT_TRUE(session->changedValues().empty());
    session->setValue(40, "capacity");  // the same value is no change
    EXPECT_FALSE(main.hasChanges());
    session->setValue(Value(), "capacity");  // a scalar never becomes nothing
    EXPECT_EQ(session->valueForKey("capacity"), Value(0));
    EXPECT_EQ(session->changedValues(), (Value::Dictionary{{"capacity", Value(0)}}));
    EXPECT_EQ(main.updatedObjects().size(), 1u);

    main.deleteObject(session);
    EXPECT_TRUE(session->isDeleted());
    EXPECT_EQ(main.objectWithID(session->objectID()), nullptr);
    EXPECT_EQ(main.countForFetchRequest(FetchRequest("BaseSession")), 0u);
    ASSERT_EQ(main.save(), nullptr);
    EXPECT_EQ(session->managedObjectContext(), nullptr);
    ManagedObject::registerClassForEntityName("BaseSession", nullptr);
}

// Lookups by name guess from the thread's last answer; the answers must not
// depend on which entity or which order came before, on any thread.
TEST(EntityDescription, AttributeIndexesHoldWhateverWasLookedUpBefore) {
    auto model = testing::makeModel();
    const auto* participant = model->entityNamed("Participant");
    const auto* note = model->entityNamed("SessionNote");
    const auto* session = model->entityNamed("Session");
    auto check = [&] {
        for (int round = 0; round < 3; ++round) {
            // itemId is first in two entities and sixth in another.
            EXPECT_EQ(participant->attributeIndex("itemId"), 0u);
            EXPECT_EQ(note->attributeIndex("itemId"), 0u);
            EXPECT_EQ(session->attributeIndex("itemId"), 6u);
            EXPECT_EQ(session->attributeIndex("roomId"), 7u);
            EXPECT_EQ(note->attributeIndex("sessionId"), 1u);
            EXPECT_EQ(note->attributeIndex("roomId"), std::nullopt);
            EXPECT_EQ(participant->attributeIndex("country"), 5u);
            EXPECT_EQ(participant->attributeIndex("country"), 5u);
            EXPECT_EQ(participant->attributeIndex("fullName"), 1u);
            EXPECT_EQ(participant->attributeIndex(""), std::nullopt);
            for (size_t i = 0; i < session->attributes().size(); ++i)
                EXPECT_EQ(session->attributeIndex(session->attributes()[i].name), i);
        }
    };
    check();
    std::thread other(check);
    check();
    other.join();
}

// Names are looked up as views: a view into a longer text names only its own
// characters, whatever follows it.
TEST(EntityDescription, NamesAreLookedUpByTheirCharactersOnly) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("views.sqlite"));
    auto& main = *stack.main;
    const std::string names = "itemIdcapacityroomIds";
    const std::string_view itemId(names.data(), 6), capacity(names.data() + 6, 8), roomId(names.data() + 14, 6);
    const auto* session = stack.coordinator->managedObjectModel()->entityNamed("Session");
    EXPECT_EQ(session->attributeIndex(itemId), 6u);
    EXPECT_EQ(session->attributeIndex(roomId), 7u);
    EXPECT_EQ(session->attributeIndex(std::string_view(names.data(), 4)), std::nullopt);
    auto row = main.insertNewObject("Session");
    row->setValue(Value("s9"), itemId);
    row->setValue(Value(int64_t(12)), capacity);
    EXPECT_EQ(row->valueForKey("itemId"), Value("s9"));
    EXPECT_EQ(row->valueForKey("capacity"), Value(int64_t(12)));
    EXPECT_THROW(row->setValue(Value(1), std::string_view(names.data(), 5)), foundation::Exception);
    // A name's address is remembered with its answer: other characters at the
    // same address, or the same name for another entity, answer for themselves.
    std::string reused = "itemId";
    EXPECT_EQ(session->attributeIndex(reused), 6u);
    reused.replace(0, 6, "roomId");
    EXPECT_EQ(session->attributeIndex(reused), 7u);
    reused.replace(0, 6, "itemIe");
    EXPECT_EQ(session->attributeIndex(reused), std::nullopt);
    const auto* note = stack.coordinator->managedObjectModel()->entityNamed("SessionNote");
    const char* const literal = "itemId";
    EXPECT_EQ(session->attributeIndex(literal), 6u);
    EXPECT_EQ(note->attributeIndex(literal), 0u);
    EXPECT_EQ(session->attributeIndex(literal), 6u);
}

TEST(Contexts, PerformBlockAndWaitIsReentrantAndServesAWaitingMainThread) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("queues.sqlite"));
    std::vector<int> order;
    // The main thread waits for the worker; the worker's block reaches back
    // into the main-queue context (as a child save does) without deadlock.
    stack.worker->performBlockAndWait([&] {
        EXPECT_FALSE(foundation::isMainThread());
        order.push_back(1);
        stack.worker->performBlockAndWait([&] { order.push_back(2); });
        stack.main->performBlockAndWait([&] {
            order.push_back(3);
            stack.root->performBlockAndWait([&] { order.push_back(4); });
        });
        insert(*stack.worker, "Session", {{"itemId", "w"}});
        EXPECT_EQ(stack.worker->save(), nullptr);
    });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(stack.main->hasChanges());

    // Blocks run in order; a programming error inside a waited block reaches the caller.
    std::vector<int> queued;
    std::atomic<int> ran{0};
    for (int i = 0; i < 5; ++i)
        stack.worker->performBlock([&, i] {
            queued.push_back(i);
            ++ran;
        });
    EXPECT_THROW(stack.worker->performBlockAndWait([] { foundation::raise(foundation::kInternalInconsistencyException, "x"); }),
                 foundation::Exception);
    EXPECT_EQ(ran.load(), 5);
    EXPECT_EQ(queued, (std::vector<int>{0, 1, 2, 3, 4}));

    // From a worker to the main context without the main thread waiting: the
    // block runs when the main loop turns.
    std::atomic<bool> done{false};
    bool ranOnMain = false;
    stack.worker->performBlock([&] {
        stack.main->performBlockAndWait([&] { ranOnMain = foundation::isMainThread(); });
        done = true;
    });
    ASSERT_TRUE(testing::pumpUntil([&] { return done.load(); }));
    EXPECT_TRUE(ranOnMain);
}

}  // namespace
}  // namespace coredata
