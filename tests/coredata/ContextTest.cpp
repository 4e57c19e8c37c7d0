// Context chains on real queues: what fetches see, the ordering of a queued
// root save before later reads, did-save notifications, and the change
// reports of fetched-results controllers.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <thread>

#include "CoreDataTestSupport.h"
#include "coredata/Constants.h"
#include "coredata/FetchedResultsController.h"
#include "foundation/NotificationCenter.h"

namespace coredata {
namespace {

using foundation::Value;
using testing::insert;

std::set<std::string> itemIds(const Value::Array& rows) {
    std::set<std::string> out;
    for (const auto& r : rows) out.insert(valueForKey(r, "itemId").stringValue());
    return out;
}

// Runs `work` on the worker's queue while the main loop turns, as the app's writes do.
void onWorker(testing::Stack& stack, const std::function<void()>& work) {
    std::atomic<bool> done{false};
    stack.worker->performBlock([&] {
        work();
        done = true;
    });
    ASSERT_TRUE(testing::pumpUntil([&] { return done.load(); }));
}

TEST(Contexts, AQueuedBlockCountsAsPendingUntilItHasRun) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("pending.sqlite"));
    ASSERT_EQ(stack.error, nullptr);
    std::atomic<bool> release{false};
    std::atomic<bool> ran{false};
    EXPECT_EQ(stack.worker->pendingBlockCount(), 0);
    stack.worker->performBlock([&] {
        while (!release) std::this_thread::yield();
    });
    stack.worker->performBlock([&] { ran = true; });
    EXPECT_EQ(stack.worker->pendingBlockCount(), 2);
    release = true;
    ASSERT_TRUE(testing::pumpUntil([&] { return ran.load() && stack.worker->pendingBlockCount() == 0; }));
    // A block run in place by performBlockAndWait is never pending.
    stack.worker->performBlockAndWait([&] { EXPECT_EQ(stack.worker->pendingBlockCount(), 0); });
}

TEST(Contexts, FetchesSeeTheChainsUnsavedChangesAndQueuedRootSaves) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("chain.sqlite"));
    ASSERT_EQ(stack.error, nullptr);
    stack.root->performBlockAndWait([&] {
        insert(*stack.root, "Session", {{"itemId", "stored"}, {"title", "Stored"}});
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    // Unsaved in main: visible to the worker below it, not to the root above.
    auto draft = insert(*stack.main, "Session", {{"itemId", "draft"}, {"title", "Draft"}});
    onWorker(stack, [&] {
        EXPECT_EQ(itemIds(stack.worker->executeFetchRequest(FetchRequest("Session"))), (std::set<std::string>{"draft", "stored"}));
        // The worker's own edit of a stored row decides what its predicate sees.
        FetchRequest stored("Session");
        stored.setPredicate(Predicate::withFormat("itemId == 'stored'"));
        auto row = stack.worker->executeFetchRequest(stored).at(0).objectAs<ManagedObject>();
        row->setValue("Renamed", "title");
        FetchRequest renamed("Session");
        renamed.setPredicate(Predicate::withFormat("title == %@", "Renamed"));
        EXPECT_EQ(stack.worker->executeFetchRequest(renamed).size(), 1u);
        EXPECT_EQ(stack.worker->objectWithID(row->objectID()), row);
    });
    stack.root->performBlockAndWait([&] {
        EXPECT_EQ(itemIds(stack.root->executeFetchRequest(FetchRequest("Session"))), std::set<std::string>{"stored"});
    });
    stack.main->deleteObject(draft);
    EXPECT_FALSE(stack.main->hasChanges());

    // Worker → main (both waited for) → root (queued, not waited for); a
    // worker fetch issued right after already finds the rows in the file.
    onWorker(stack, [&] {
        for (int i = 0; i < 20; ++i) insert(*stack.worker, "Session", {{"itemId", "w" + std::to_string(i)}});
        ASSERT_EQ(stack.worker->save(), nullptr);
        stack.main->performBlockAndWait([&] { ASSERT_EQ(stack.main->save(), nullptr); });
        stack.root->performBlock([&] { stack.root->save(); });
        FetchRequest all("Session");
        EXPECT_EQ(stack.worker->countForFetchRequest(all), 21u);
        stack.root->performBlockAndWait([&] { EXPECT_FALSE(stack.root->hasChanges()); });
    });
    testing::Stack reader(dir.file("chain.sqlite"));
    EXPECT_EQ(reader.main->countForFetchRequest(FetchRequest("Session")), 21u);
    FetchRequest renamed("Session");
    renamed.setPredicate(Predicate::withFormat("title == 'Renamed'"));
    EXPECT_EQ(reader.main->countForFetchRequest(renamed), 1u);
}

TEST(Contexts, RowsAChildSavesIntoAnUnwatchedContextPassOnAndShowWhenLookedAt) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("rows.sqlite"));
    ASSERT_EQ(stack.error, nullptr);
    // Inserted, then changed, then one dropped, each in its own worker save.
    std::vector<ManagedObjectPtr> rows;
    onWorker(stack, [&] {
        for (int i = 0; i < 4; ++i)
            rows.push_back(insert(*stack.worker, "Session", {{"itemId", "r" + std::to_string(i)}}));
        ASSERT_EQ(stack.worker->save(), nullptr);
        rows[1]->setValue("Second", "title");
        stack.worker->deleteObject(rows[3]);
        ASSERT_EQ(stack.worker->save(), nullptr);
    });
    EXPECT_TRUE(stack.main->hasChanges());
    auto first = stack.main->objectWithID(rows[0]->objectID());
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isInserted());
    EXPECT_EQ(stack.main->objectWithID(rows[0]->objectID()), first);
    FetchRequest second("Session");
    second.setPredicate(Predicate::withFormat("title == 'Second'"));
    auto found = stack.main->executeFetchRequest(second);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(found[0].objectAs<ManagedObject>()->isInserted());
    EXPECT_EQ(stack.main->insertedObjects().size(), 3u);
    FetchRequest firstAgain("Session");
    firstAgain.setPredicate(Predicate::withFormat("itemId == 'r0'"));
    EXPECT_EQ(stack.main->executeFetchRequest(firstAgain).at(0).objectAs<ManagedObject>(), first);
    ASSERT_EQ(stack.main->save(), nullptr);

    // The root takes the main context's rows straight to the file.
    onWorker(stack, [&] {
        insert(*stack.worker, "Session", {{"itemId", "r9"}});
        ASSERT_EQ(stack.worker->save(), nullptr);
        stack.main->performBlockAndWait([&] { ASSERT_EQ(stack.main->save(), nullptr); });
    });
    stack.root->performBlockAndWait([&] {
        EXPECT_TRUE(stack.root->hasChanges());
        ASSERT_EQ(stack.root->save(), nullptr);
        EXPECT_FALSE(stack.root->hasChanges());
    });
    testing::Stack reader(dir.file("rows.sqlite"));
    EXPECT_EQ(itemIds(reader.main->executeFetchRequest(FetchRequest("Session"))),
              (std::set<std::string>{"r0", "r1", "r2", "r9"}));
    EXPECT_EQ(reader.main->countForFetchRequest(second), 1u);
}

// A new object is found by its key while it waits for its save and, when
// someone still holds it, after: the same object, not one loaded again. A
// reset lets go of it unsaved.
TEST(Contexts, NewObjectsKeepTheirIdentityAcrossTheirSaveAndAReset) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("identity.sqlite"));
    ASSERT_EQ(stack.error, nullptr);
    onWorker(stack, [&] {
        auto& worker = *stack.worker;
        auto kept = insert(worker, "Session", {{"itemId", "kept"}});
        ManagedObjectIDPtr droppedId = insert(worker, "Session", {{"itemId", "dropped"}})->objectID();
        EXPECT_EQ(worker.objectWithID(kept->objectID()), kept);
        FetchRequest keptRow("Session");
        keptRow.setPredicate(Predicate::withFormat("itemId == 'kept'"));
        EXPECT_EQ(worker.executeFetchRequest(keptRow).at(0).objectAs<ManagedObject>(), kept);
        ASSERT_EQ(worker.save(), nullptr);
        EXPECT_FALSE(kept->isInserted());
        EXPECT_EQ(worker.objectWithID(kept->objectID()), kept);
        EXPECT_EQ(worker.executeFetchRequest(keptRow).at(0).objectAs<ManagedObject>(), kept);
        // Nobody held it: it is loaded as it was saved.
        auto dropped = worker.objectWithID(droppedId);
        ASSERT_TRUE(dropped);
        EXPECT_EQ(dropped->valueForKey("itemId"), Value("dropped"));
        EXPECT_FALSE(dropped->hasChanges());

        auto unsaved = insert(worker, "Session", {{"itemId", "unsaved"}});
        worker.reset();
        EXPECT_EQ(unsaved->managedObjectContext(), nullptr);
        EXPECT_FALSE(unsaved->isInserted());
        EXPECT_EQ(worker.objectWithID(unsaved->objectID()), nullptr);
        EXPECT_FALSE(worker.hasChanges());
    });
}

// Keys are handed out as objects are made, but children save when they are
// done: a parent receives rows and objects below keys it already holds.
TEST(Contexts, ChildrenSavingOutOfKeyOrderLoseAndMixUpNothing) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("order.sqlite"));
    ASSERT_EQ(stack.error, nullptr);
    auto early = ManagedObjectContext::create(ConcurrencyType::PrivateQueue);
    early->setParentContext(stack.main);
    std::vector<ManagedObjectPtr> earlyRows, lateRows;
    early->performBlockAndWait([&] {
        for (int i = 0; i < 3; ++i)
            earlyRows.push_back(insert(*early, "Session", {{"itemId", "e" + std::to_string(i)}}));
    });
    onWorker(stack, [&] {
        for (int i = 0; i < 3; ++i)
            lateRows.push_back(insert(*stack.worker, "Session", {{"itemId", "l" + std::to_string(i)}}));
        ASSERT_EQ(stack.worker->save(), nullptr);
    });
    early->performBlockAndWait([&] { ASSERT_EQ(early->save(), nullptr); });
    // Looked at, the held rows become objects among the main context's own.
    auto own = insert(*stack.main, "Session", {{"itemId", "m"}});
    auto middle = stack.main->objectWithID(earlyRows[1]->objectID());
    ASSERT_TRUE(middle);
    EXPECT_EQ(valueForKey(Value(middle), "itemId").stringValue(), "e1");
    EXPECT_EQ(valueForKey(Value(stack.main->objectWithID(lateRows[2]->objectID())), "itemId").stringValue(), "l2");
    stack.main->deleteObject(middle);
    EXPECT_EQ(stack.main->insertedObjects().size(), 6u);
    ASSERT_EQ(stack.main->save(), nullptr);
    stack.root->performBlockAndWait([&] { ASSERT_EQ(stack.root->save(), nullptr); });
    testing::Stack reader(dir.file("order.sqlite"));
    EXPECT_EQ(itemIds(reader.main->executeFetchRequest(FetchRequest("Session"))),
              (std::set<std::string>{"e0", "e2", "l0", "l1", "l2", "m"}));
}

// The root hands a child's rows to the file without keeping them; a save the
// file refuses leaves every row pending with its values, for the next save.
TEST(Contexts, RowsOfAFailedRootSaveStayPendingWithTheirValues) {
    testing::TempDir dir;
    const std::string path = dir.file("refused.sqlite");
    testing::Stack stack(path);
    ASSERT_EQ(stack.error, nullptr);
    std::vector<int64_t> keys;
    onWorker(stack, [&] {
        for (int i = 0; i < 3; ++i)
            keys.push_back(insert(*stack.worker, "Session", {{"itemId", "k" + std::to_string(i)}})->objectID()->primaryKey());
        ASSERT_EQ(stack.worker->save(), nullptr);
        stack.main->performBlockAndWait([&] { ASSERT_EQ(stack.main->save(), nullptr); });
    });
    // Another writer takes the second row's key, so the root's insert of it fails.
    const std::string table = "Z" + stack.coordinator->managedObjectModel()->entityNamed("Session")->rootEntity().name();
    auto onFile = [&](const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    };
    onFile("INSERT INTO \"" + table + "\" (Z_PK, Z_ENT) VALUES (" + std::to_string(keys[1]) + ", 999)");
    stack.root->performBlockAndWait([&] {
        EXPECT_NE(stack.root->save(), nullptr);
        EXPECT_TRUE(stack.root->hasChanges());
    });
    onFile("DELETE FROM \"" + table + "\" WHERE Z_ENT = 999");
    stack.root->performBlockAndWait([&] { ASSERT_EQ(stack.root->save(), nullptr); });
    testing::Stack reader(path);
    EXPECT_EQ(itemIds(reader.main->executeFetchRequest(FetchRequest("Session"))),
              (std::set<std::string>{"k0", "k1", "k2"}));
}

// Children of the root read the file on their own threads while the root
// saves: each fetch sees whole saves, never part of one, and a root with
// unsaved rows of the entity still answers itself.
TEST(Contexts, ReadsBesideTheRootsSavesSeeWholeSavesAndItsUnsavedRows) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("beside.sqlite"));
    ASSERT_EQ(stack.error, nullptr);
    auto side = ManagedObjectContext::create(ConcurrencyType::PrivateQueue);
    side->setParentContext(stack.root);
    constexpr size_t kBatch = 40, kBatches = 12;
    for (size_t b = 0; b < kBatches; ++b)
        stack.root->performBlock([&, b] {
            for (size_t i = 0; i < kBatch; ++i)
                insert(*stack.root, "Session", {{"itemId", "s" + std::to_string(b * kBatch + i)}, {"title", i % 2 ? "Odd" : "Even"}});
            stack.root->save();
        });
    std::atomic<bool> sideDone{false};
    std::atomic<size_t> sideTorn{0};
    FetchRequest all("Session");
    FetchRequest odd("Session");
    odd.setPredicate(Predicate::withFormat("title CONTAINS[c] 'od'"));
    side->performBlock([&] {
        for (size_t seen = 0; seen < kBatch * kBatches;) {
            seen = side->executeFetchRequest(all).size();
            if (seen % kBatch || side->countForFetchRequest(odd) * 2 < seen - seen % kBatch) ++sideTorn;
        }
        sideDone = true;
    });
    size_t mainTorn = 0;
    ASSERT_TRUE(testing::pumpUntil([&] {
        size_t seen = stack.main->executeFetchRequest(all).size();
        if (seen % kBatch) ++mainTorn;
        stack.main->reset();
        return seen == kBatch * kBatches && sideDone;
    }));
    EXPECT_EQ(mainTorn, 0u);
    EXPECT_EQ(sideTorn, 0u);
    EXPECT_EQ(stack.main->countForFetchRequest(odd), kBatch * kBatches / 2);

    stack.root->performBlockAndWait([&] { insert(*stack.root, "Session", {{"itemId", "unsaved"}, {"title", "Odd"}}); });
    EXPECT_EQ(stack.main->countForFetchRequest(odd), kBatch * kBatches / 2 + 1);
    FetchRequest unsaved("Session");
    unsaved.setPredicate(Predicate::withFormat("itemId == 'unsaved'"));
    auto found = stack.main->executeFetchRequest(unsaved);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_FALSE(found[0].objectAs<ManagedObject>()->isInserted());
    EXPECT_EQ(stack.main->countForFetchRequest(FetchRequest("Permission")), 0u);
}

// A refetch hands back the same objects; those whose rows changed in the
// store since read the store's values (a text of the same length, a number,
// a text gone), the others keep theirs.
TEST(Contexts, ARefetchReadsRowsChangedInTheStoreSinceAndKeepsTheOthers) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("refetch.sqlite"));
    stack.root->performBlockAndWait([&] {
        insert(*stack.root, "Session", {{"itemId", "a"}, {"title", "Alpha"}, {"roomId", "R1"}, {"capacity", 10}});
        insert(*stack.root, "Session", {{"itemId", "b"}, {"title", "Bravo"}, {"roomId", "R2"}, {"capacity", 20}});
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    FetchRequest request("Session");
    request.setSortDescriptors({SortDescriptor("itemId")});
    const auto first = stack.main->executeFetchRequest(request);
    ASSERT_EQ(first.size(), 2u);
    stack.root->performBlockAndWait([&] {
        for (const auto& v : stack.root->executeFetchRequest(request)) {
            auto o = v.objectAs<ManagedObject>();
            if (o->valueForKey("itemId") != Value("b")) continue;
            o->setValue(Value("Brave"), "title");
            o->setValue(Value(), "roomId");
            o->setValue(Value(int64_t(21)), "capacity");
        }
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    const auto again = stack.main->executeFetchRequest(request);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].object(), first[0].object());
    EXPECT_EQ(again[1].object(), first[1].object());
    EXPECT_EQ(valueForKey(again[0], "title"), Value("Alpha"));
    EXPECT_EQ(valueForKey(again[0], "roomId"), Value("R1"));
    EXPECT_EQ(valueForKey(again[1], "title"), Value("Brave"));
    EXPECT_TRUE(valueForKey(again[1], "roomId").isNothing());
    EXPECT_EQ(valueForKey(again[1], "capacity").integerValue(), 21);
}

// Answers kept against the main context's generation go stale exactly when
// its number moves: for everything a fetch there would see differently, not
// for a child's unsaved work or a fetch.
TEST(Contexts, TheContentGenerationMovesWithEveryChangeTheContextWouldSee) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("generation.sqlite"));
    ASSERT_EQ(stack.error, nullptr);
    auto& main = *stack.main;
    FetchRequest all("Session");
    uint64_t before = main.contentGeneration();
    const auto moved = [&] {
        const uint64_t now = main.contentGeneration();
        const bool changed = now != before;
        before = now;
        return changed;
    };

    // The chain's root writes its own change to the file: seen once, when
    // made, not again when it reaches the file (a late file save left a list
    // fetching again for nothing).
    stack.root->performBlockAndWait([&] {
        insert(*stack.root, "Session", {{"itemId", "stored"}, {"title", "Stored"}});
        EXPECT_TRUE(moved());
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    EXPECT_FALSE(moved());
    EXPECT_EQ(main.executeFetchRequest(all).size(), 1u);
    EXPECT_FALSE(moved());

    // The file changes under the chain: another root's save.
    auto other = ManagedObjectContext::create(ConcurrencyType::PrivateQueue);
    other->setPersistentStoreCoordinator(stack.coordinator);
    other->performBlockAndWait([&] {
        insert(*other, "Session", {{"itemId", "elsewhere"}});
        EXPECT_FALSE(moved());
        ASSERT_EQ(other->save(), nullptr);
    });
    EXPECT_TRUE(moved());
    EXPECT_EQ(main.executeFetchRequest(all).size(), 2u);

    // A child's unsaved rows are not seen; its save is.
    onWorker(stack, [&] { insert(*stack.worker, "Session", {{"itemId", "child"}, {"startDateString", "2024-05-06"}}); });
    EXPECT_FALSE(moved());
    onWorker(stack, [&] { ASSERT_EQ(stack.worker->save(), nullptr); });
    EXPECT_TRUE(moved());

    // This context's own edits of a stored object, and its deletion.
    FetchRequest storedOnly("Session");
    storedOnly.setPredicate(Predicate::withFormat("itemId == 'stored'"));
    auto stored = main.executeFetchRequest(storedOnly).at(0).objectAs<ManagedObject>();
    moved();
    stored->setValue(Value("Renamed"), "title");
    EXPECT_TRUE(moved());
    main.deleteObject(stored);
    EXPECT_TRUE(moved());

    // A new object whose value changes after a fetch read it: the number
    // taken before that fetch is out of date.
    auto draft = insert(main, "Session", {{"itemId", "draft"}, {"startDateString", "2024-05-07"}});
    EXPECT_TRUE(moved());
    FetchRequest onThe7th("Session");
    onThe7th.setPredicate(Predicate::withFormat("startDateString == '2024-05-07'"));
    const uint64_t read = main.contentGeneration();
    EXPECT_EQ(main.executeFetchRequest(onThe7th).size(), 1u);
    draft->setValue(Value("2024-05-08"), "startDateString");
    EXPECT_NE(main.contentGeneration(), read);
    moved();

    main.reset();
    EXPECT_TRUE(moved());
}

// As for the texts further up, a refetch reads blobs changed in the store
// since, compared in place: one of the same length, one emptied, one kept.
TEST(Contexts, ARefetchReadsBlobsChangedInTheStoreSince) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("blobs.sqlite"));
    const auto blob = [](const std::string& text) { return Value(foundation::Data::fromString(text)); };
    stack.root->performBlockAndWait([&] {
        for (const char* id : {"a", "b", "c"}) {
            auto o = insert(*stack.root, "Message", {{"itemId", id}});
            o->setValue(blob(std::string("body ") + id), "body");
        }
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    FetchRequest request("Message");
    request.setSortDescriptors({SortDescriptor("itemId")});
    const auto first = stack.main->executeFetchRequest(request);
    ASSERT_EQ(first.size(), 3u);
    stack.root->performBlockAndWait([&] {
        for (const auto& v : stack.root->executeFetchRequest(request)) {
            auto o = v.objectAs<ManagedObject>();
            if (o->valueForKey("itemId") == Value("b")) o->setValue(blob("body B"), "body");
            if (o->valueForKey("itemId") == Value("c")) o->setValue(blob(""), "body");
        }
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    const auto again = stack.main->executeFetchRequest(request);
    ASSERT_EQ(again.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(again[i].object(), first[i].object());
    EXPECT_EQ(valueForKey(again[0], "body"), blob("body a"));
    EXPECT_EQ(valueForKey(again[1], "body"), blob("body B"));
    ASSERT_NE(valueForKey(again[2], "body").data(), nullptr);
    EXPECT_EQ(valueForKey(again[2], "body").data()->length(), 0u);
}

TEST(Contexts, DidSaveNotificationCarriesInsertedUpdatedAndDeletedObjects) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("notify.sqlite"));
    stack.root->performBlockAndWait([&] {
        insert(*stack.root, "Session", {{"itemId", "keep"}});
        insert(*stack.root, "Session", {{"itemId", "drop"}});
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    std::vector<foundation::Notification> received;
    bool onMainThread = false;
    int observer = 0;
    foundation::NotificationCenter::defaultCenter().addObserver(
        &observer,
        [&](const foundation::Notification& n) {
            received.push_back(n);
            onMainThread = foundation::isMainThread();
        },
        kManagedObjectContextDidSaveNotification, Value(std::static_pointer_cast<foundation::Object>(stack.main)));
    onWorker(stack, [&] {
        for (const auto& v : stack.worker->executeFetchRequest(FetchRequest("Session"))) {
            auto o = v.objectAs<ManagedObject>();
            if (o->valueForKey("itemId") == Value("keep")) o->setValue("Kept", "title");
            else stack.worker->deleteObject(o);
        }
        insert(*stack.worker, "Session", {{"itemId", "new"}});
        ASSERT_EQ(stack.worker->save(), nullptr);
    });
    EXPECT_TRUE(received.empty());  // only the main context's own saves are observed
    EXPECT_TRUE(stack.main->hasChanges());
    ASSERT_EQ(stack.main->save(), nullptr);
    foundation::NotificationCenter::defaultCenter().removeObserver(&observer);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_TRUE(onMainThread);
    const Value& info = received[0].userInfo;
    EXPECT_EQ(itemIds(*info[kInsertedObjectsKey].array()), std::set<std::string>{"new"});
    EXPECT_EQ(itemIds(*info[kUpdatedObjectsKey].array()), std::set<std::string>{"keep"});
    ASSERT_EQ(info[kDeletedObjectsKey].count(), 1u);
    EXPECT_TRUE(info[kInsertedObjectsKey].at(0).objectAs<ManagedObject>()->isKindOfEntity("TimelineItem"));
}

struct Recorder : FetchedResultsControllerDelegate {
    std::vector<std::string> log;
    static std::string path(const std::optional<IndexPath>& p) {
        return p ? std::to_string(p->section) + "." + std::to_string(p->row) : "-";
    }
    void controllerWillChangeContent(FetchedResultsController&) override { log.push_back("will"); }
    void controller(FetchedResultsController&, const FetchedResultsSectionInfo& s, size_t index,
                    FetchedResultsChangeType type) override {
        log.push_back("section " + std::to_string(int(type)) + " " + std::to_string(index) + " " + s.name);
    }
    void controller(FetchedResultsController&, const Value& object, std::optional<IndexPath> from,
                    FetchedResultsChangeType type, std::optional<IndexPath> to) override {
        log.push_back(std::to_string(int(type)) + " " + valueForKey(object, "itemId").stringValue() + " " + path(from) + " " +
                      path(to));
    }
    void controllerDidChangeContent(FetchedResultsController&) override { log.push_back("did"); }
};

TEST(FetchedResultsController, ReportsEachSavedChangeOnceInThePlatformsOrder) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("frc.sqlite"));
    stack.root->performBlockAndWait([&] {
        insert(*stack.root, "Session", {{"itemId", "a"}, {"startDateString", "2015-03-10"}, {"title", "A"}});
        insert(*stack.root, "Session", {{"itemId", "c"}, {"startDateString", "2015-03-10"}, {"title", "C"}});
        insert(*stack.root, "Session", {{"itemId", "e"}, {"startDateString", "2015-03-11"}, {"title", "E"}});
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    FetchRequest request("Session");
    request.setPredicate(Predicate::withFormat("roomId != %@", "hidden"));
    request.setSortDescriptors({SortDescriptor("startDateString"), SortDescriptor("title")});
    FetchedResultsController frc(request, stack.main, std::string("startDateString"), std::string("cache-1"));
    auto recorder = std::make_shared<Recorder>();
    frc.setDelegate(recorder);
    ASSERT_EQ(frc.performFetch(), nullptr);
    ASSERT_EQ(frc.sections().size(), 2u);
    EXPECT_EQ(frc.sections()[1].name, "2015-03-11");
    EXPECT_EQ(frc.sections()[0].numberOfObjects(), 2u);
    auto c = frc.objectAtIndexPath({0, 1});
    EXPECT_EQ(frc.indexPathForObject(c), (IndexPath{0, 1}));

    // One matching row from the worker, saved through main: one insert report.
    onWorker(stack, [&] {
        insert(*stack.worker, "Session", {{"itemId", "b"}, {"startDateString", "2015-03-10"}, {"title", "B"}});
        insert(*stack.worker, "Session", {{"itemId", "x"}, {"startDateString", "2015-03-10"}, {"roomId", "hidden"}});
        ASSERT_EQ(stack.worker->save(), nullptr);
    });
    ASSERT_EQ(stack.main->save(), nullptr);
    EXPECT_EQ(recorder->log, (std::vector<std::string>{"will", "1 b - 0.1", "did"}));
    EXPECT_EQ(frc.indexPathForObject(c), (IndexPath{0, 2}));

    // A title change that reorders is a move; one that does not is an update;
    // a new day is a section insert, an emptied day a section delete.
    recorder->log.clear();
    onWorker(stack, [&] {
        for (const auto& v : stack.worker->executeFetchRequest(FetchRequest("Session"))) {
            auto o = v.objectAs<ManagedObject>();
            auto id = o->valueForKey("itemId").stringValue();
            if (id == "a") o->setValue("D", "title");
            if (id == "c") o->setValue("kw", "keyword");
            if (id == "b") o->setValue("2015-03-12", "startDateString");
            if (id == "e") stack.worker->deleteObject(o);
        }
        ASSERT_EQ(stack.worker->save(), nullptr);
    });
    EXPECT_EQ(recorder->log, (std::vector<std::string>{"will", "section 2 1 2015-03-11", "section 1 1 2015-03-12",
                                                        "2 e 1.0 -", "3 a 0.0 0.1", "3 b 0.1 1.0", "4 c 0.2 0.0", "did"}));

    // Dictionary results are never reported.
    FetchRequest dictionaries = request;
    dictionaries.setResultType(FetchRequestResultType::Dictionary);
    FetchedResultsController quiet(dictionaries, stack.main, std::nullopt);
    auto silent = std::make_shared<Recorder>();
    quiet.setDelegate(silent);
    ASSERT_EQ(quiet.performFetch(), nullptr);
    insert(*stack.main, "Session", {{"itemId", "z"}});
    ASSERT_EQ(stack.main->save(), nullptr);
    EXPECT_TRUE(silent->log.empty());
    EXPECT_EQ(quiet.fetchedObjects().size(), 3u);
}

// An update that keeps every changed row where it stood is reported in place;
// the row written straight through the root shows that no fetch ran. A
// change of a sort key, or a row that starts to match, fetches again.
TEST(FetchedResultsController, UpdatesThatKeepTheirPlaceAreReportedWithoutAFetch) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("frc-in-place.sqlite"));
    stack.root->performBlockAndWait([&] {
        insert(*stack.root, "Session", {{"itemId", "a"}, {"title", "A"}});
        insert(*stack.root, "Session", {{"itemId", "c"}, {"title", "C"}});
        insert(*stack.root, "Session", {{"itemId", "x"}, {"title", "X"}, {"roomId", "hidden"}});
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    FetchRequest request("Session");
    request.setPredicate(Predicate::withFormat("roomId != %@", "hidden"));
    request.setSortDescriptors({SortDescriptor("title")});
    FetchedResultsController frc(request, stack.main, std::nullopt);
    auto recorder = std::make_shared<Recorder>();
    frc.setDelegate(recorder);
    ASSERT_EQ(frc.performFetch(), nullptr);
    stack.root->performBlockAndWait([&] {
        insert(*stack.root, "Session", {{"itemId", "b"}, {"title", "B"}});
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    auto change = [&](const std::string& itemId, const std::string& key, const std::string& value) {
        onWorker(stack, [&] {
            for (const auto& v : stack.worker->executeFetchRequest(FetchRequest("Session")))
                if (v.objectAs<ManagedObject>()->valueForKey("itemId").stringValue() == itemId)
                    v.objectAs<ManagedObject>()->setValue(value, key);
            ASSERT_EQ(stack.worker->save(), nullptr);
        });
    };

    change("c", "keyword", "kw");
    EXPECT_EQ(recorder->log, (std::vector<std::string>{"will", "4 c 0.1 0.1", "did"}));
    EXPECT_EQ(frc.fetchedObjects().size(), 2u) << "no fetch: the root's row is not seen";
    recorder->log.clear();
    change("x", "keyword", "still hidden");
    EXPECT_TRUE(recorder->log.empty());

    recorder->log.clear();
    change("x", "roomId", "shown");
    EXPECT_EQ(recorder->log, (std::vector<std::string>{"will", "1 x - 0.3", "1 b - 0.1", "did"}));
    recorder->log.clear();
    change("a", "title", "Z");
    EXPECT_EQ(recorder->log, (std::vector<std::string>{"will", "3 a 0.0 0.3", "did"}));
}

// Sections follow the section key's first appearance in the sorted results,
// also when the sort keeps a section's objects apart from each other.
TEST(FetchedResultsController, GroupsObjectsOfASectionThatTheSortKeepsApart) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("frc-sections.sqlite"));
    for (const auto& [itemId, room] : std::vector<std::pair<std::string, Value>>{
             {"a", Value("East")}, {"b", Value("West")}, {"c", Value()}, {"d", Value("East")}, {"e", Value("West")}})
        insert(*stack.main, "Session", {{"itemId", itemId}, {"roomId", room}});
    ASSERT_EQ(stack.main->save(), nullptr);
    FetchRequest request("Session");
    request.setSortDescriptors({SortDescriptor("itemId")});
    FetchedResultsController frc(request, stack.main, std::string("roomId"));
    ASSERT_EQ(frc.performFetch(), nullptr);
    std::vector<std::string> shown;
    for (const auto& section : frc.sections()) {
        shown.push_back(section.name + ":");
        for (const auto& object : section.objects) shown.back() += valueForKey(object, "itemId").stringValue();
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"East:ad", "West:be", ":c"}));
    EXPECT_EQ(frc.indexPathForObject(frc.sections()[1].objects[1]), (IndexPath{1, 1}));
}

// A row written straight through the root never reaches the main context's
// controllers, so it shows whether a later change made them fetch again.
TEST(FetchedResultsController, FetchesAgainOnlyForChangesOfItsEntityOrItsSubEntities) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("frc-skip.sqlite"));
    FetchRequest sessions("Session");
    sessions.setSortDescriptors({SortDescriptor("itemId")});
    FetchedResultsController frc(sessions, stack.main, std::nullopt);
    auto recorder = std::make_shared<Recorder>();
    frc.setDelegate(recorder);
    FetchRequest timeline("TimelineItem");
    timeline.setSortDescriptors({SortDescriptor("itemId")});
    FetchedResultsController all(timeline, stack.main, std::nullopt);
    auto allRecorder = std::make_shared<Recorder>();
    all.setDelegate(allRecorder);
    FetchRequest ownOnly = timeline;
    ownOnly.setIncludesSubentities(false);
    FetchedResultsController plain(ownOnly, stack.main, std::nullopt);
    auto plainRecorder = std::make_shared<Recorder>();
    plain.setDelegate(plainRecorder);
    ASSERT_EQ(frc.performFetch(), nullptr);
    ASSERT_EQ(all.performFetch(), nullptr);
    ASSERT_EQ(plain.performFetch(), nullptr);

    stack.root->performBlockAndWait([&] {
        insert(*stack.root, "Session", {{"itemId", "hidden"}});
        ASSERT_EQ(stack.root->save(), nullptr);
    });
    onWorker(stack, [&] {
        insert(*stack.worker, "SessionNote", {{"itemId", "n1"}, {"note", "text"}});
        ASSERT_EQ(stack.worker->save(), nullptr);
    });
    EXPECT_TRUE(recorder->log.empty());
    EXPECT_TRUE(allRecorder->log.empty());
    EXPECT_TRUE(frc.fetchedObjects().empty());

    // A session: its own list and the parent entity's list that includes
    // sub-entities fetch again (finding the hidden row too); the parent's
    // list without sub-entities does not.
    onWorker(stack, [&] {
        insert(*stack.worker, "Session", {{"itemId", "s1"}});
        ASSERT_EQ(stack.worker->save(), nullptr);
    });
    EXPECT_EQ(recorder->log, (std::vector<std::string>{"will", "1 hidden - 0.0", "1 s1 - 0.1", "did"}));
    EXPECT_EQ(allRecorder->log, (std::vector<std::string>{"will", "1 hidden - 0.0", "1 s1 - 0.1", "did"}));
    EXPECT_TRUE(plainRecorder->log.empty());

    // A deletion of the entity counts as well.
    recorder->log.clear();
    onWorker(stack, [&] {
        for (const auto& v : stack.worker->executeFetchRequest(FetchRequest("Session")))
            if (v.objectAs<ManagedObject>()->valueForKey("itemId").stringValue() == "s1")
                stack.worker->deleteObject(v.objectAs<ManagedObject>());
        ASSERT_EQ(stack.worker->save(), nullptr);
    });
    EXPECT_EQ(recorder->log, (std::vector<std::string>{"will", "2 s1 0.1 -", "did"}));
}

}  // namespace
}  // namespace coredata
