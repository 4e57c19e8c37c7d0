// The store front: the fetch rule and its two programming-error checks, bulk
// writes with the row throttle, block execution, the store files, and save
// failures reaching the write that suffers them.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "foundation/Exception.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataPermission.h"
#include "model/QVACoreDataSession.h"
#include "store/StoreTestSupport.h"

namespace storetest {
namespace {

using foundation::ErrorPtr;
using foundation::Value;

StorageManager::Items permissions(int count, const std::string& prefix = "code") {
    StorageManager::Items items;
    for (int i = 0; i < count; ++i) {
        auto permission = std::make_shared<QVAPermission>();
        permission->setCode(prefix + std::to_string(i));
        items.push_back(permission);
    }
    return items;
}

std::string exceptionName(const std::function<void()>& call) {
    try {
        call();
    } catch (const foundation::Exception& e) {
        return e.name();
    }
    return "";
}

TEST_F(StoreTest, FetchesBelongToTheMainThreadAndTheMainQueueContext) {
    auto stack = open("fetch");
    auto permissionType = EntityClass::of<QVACoreDataPermission>();
    auto request = store.fetchRequestForItemType(permissionType, nullptr, stack->managedObjectContextMainQueue());

    std::string offMain;
    std::thread([&] {
        offMain =
            exceptionName([&] { store.executeFetchRequestAndWait(request, stack->managedObjectContextMainQueue()); });
    }).join();
    EXPECT_EQ(offMain, "Please call this from main thread only");
    EXPECT_EQ(exceptionName(
                  [&] { store.executeFetchRequestAndWait(request, stack->managedObjectContextWorkerOnBackground()); }),
              "Please call this from main context only");

    foundation::ScopedLogCapture log;
    EXPECT_TRUE(store
                    .executeFetchRequestAndWait(std::make_shared<coredata::FetchRequest>(),
                                                stack->managedObjectContextMainQueue())
                    .empty());
    EXPECT_TRUE(log.contains("Request entity is nil. This will crash the app. "));
    // Names that only queries use have no entity and answer nothing.
    for (const char* name : {"CoreDataVotingUri", "CoreDataWatchlistItem"}) {
        auto unknown = std::make_shared<coredata::FetchRequest>(name);
        EXPECT_TRUE(store.executeFetchRequestAndWait(unknown, stack->managedObjectContextMainQueue()).empty());
    }
}

TEST_F(StoreTest, BulkWritesReplaceDeleteAndPauseEvery150Rows) {
    auto worker = open("bulk")->managedObjectContextWorkerOnBackground();
    auto type = EntityClass::of<QVACoreDataPermission>();
    // Each pause notes how far the write had got: (rows inserted, rows deleted).
    std::vector<std::pair<size_t, size_t>> marks;
    std::atomic<int> pauses{0};
    store.setRowPauseForTesting([&] {
        ++pauses;
        marks.emplace_back(worker->insertedObjects().size(), worker->deletedObjects().size());
    });

    auto added = await([&](auto done) { store.addItemsToCoreData(permissions(151), type, "bulk", "42", done); });
    EXPECT_EQ(added.error, nullptr);
    EXPECT_EQ(marks, (std::vector<std::pair<size_t, size_t>>{{0, 0}, {150, 0}}));  // before the 1st and the 151st
    EXPECT_EQ(rows<QVACoreDataPermission>("bulk").size(), 151u);

    marks.clear();
    auto replaced = await([&](auto done) {
        store.deleteAndAddItemsToCoreData(permissions(149, "new"), type, nullptr, "bulk", "42", done);
    });
    EXPECT_EQ(replaced.error, nullptr);
    // After the 150th deletion and after the 1st insertion.
    EXPECT_EQ(marks, (std::vector<std::pair<size_t, size_t>>{{0, 150}, {1, 151}}));
    auto now = rows<QVACoreDataPermission>("bulk");
    ASSERT_EQ(now.size(), 149u);
    for (const auto& row : now) EXPECT_EQ(row->code()->rfind("new", 0), 0u);

    await([&](auto done) { store.addItemsToCoreData(permissions(151, "more"), type, "bulk", "42", done); });
    pauses = 0;
    auto deleted = await(
        [&](auto done) { store.deleteItemsFromCoreDataForItemType(type, "bulk", "42", nullptr, true, nullptr, done); });
    EXPECT_EQ(deleted.error, nullptr);
    EXPECT_EQ(pauses, 2);  // 300 deletions
    EXPECT_TRUE(rows<QVACoreDataPermission>("bulk").empty());

    await([&](auto done) { store.addItemsToCoreData(permissions(1), type, "bulk", "42", done); });
    pauses = 0;
    auto one = await([&](auto done) {
        store.deleteAndAddItemsToCoreData({}, type, coredata::Predicate::withFormat("code == %@", "code0"), "bulk",
                                          "42", done);
    });
    EXPECT_EQ(one.error, nullptr);
    EXPECT_EQ(pauses, 0);
    EXPECT_TRUE(rows<QVACoreDataPermission>("bulk").empty());

    // Writes to a stack that is not open complete with the empty error.
    auto missing = await([&](auto done) { store.addItemsToCoreData(permissions(1), type, "nobody", "42", done); });
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->code(), 0);
}

TEST_F(StoreTest, BlocksRunOnTheirContextAndAreSaved) {
    auto stack = open("block");
    bool ranOnWorker = false;
    auto result = await([&](auto done) {
        store.executeBlockInWorkerBackgroundContext(
            [&](coredata::ManagedObjectContext& context) {
                ranOnWorker = &context == stack->managedObjectContextWorkerOnBackground().get();
                context.insertNewObject(QVACoreDataPermission::kEntityName)->setValue("worker", "code");
            },
            "block", "42", nullptr, done);
    });
    EXPECT_EQ(result.error, nullptr);
    EXPECT_TRUE(ranOnWorker);
    // A block on the main-queue context is saved without the main thread waiting for itself.
    await([&](auto done) {
        store.executeBlock(
            [](coredata::ManagedObjectContext& context) {
                context.insertNewObject(QVACoreDataPermission::kEntityName)->setValue("main", "code");
            },
            "block", "42", stack->managedObjectContextMainQueue(), nullptr, done);
    });
    EXPECT_EQ(rows<QVACoreDataPermission>("block").size(), 2u);
    EXPECT_FALSE(stack->managedObjectContextMainQueue()->hasChanges());

    EXPECT_EQ(exceptionName([&] {
                  store.executeBlock({}, "block", "42", stack->managedObjectContextBackgroundQueue(), nullptr, {});
              }),
              "This new exception is introduced because of the parent child context");
    auto noContext = await([&](auto done) { store.executeBlock({}, "block", "42", nullptr, nullptr, done); });
    ASSERT_TRUE(noContext.error);
    EXPECT_EQ(noContext.error->code(), 0);
}

TEST_F(StoreTest, StoreFilesMoveRevertAndGo) {
    auto& files = foundation::FileManager::defaultManager();
    auto paths = CoreDataStack::databaseUrlsStringsToBeMovedForAuthToken("files", "42");
    auto type = EntityClass::of<QVACoreDataPermission>();
    auto exists = [&](const std::string& path) { return files.fileExistsAtPath(path); };
    auto old = [](std::string path) { return path.replace(path.rfind(".sqlite"), 7, "_old.sqlite"); };

    EXPECT_TRUE(store.movePersistentStoreFileForAuthToken("files", "42"));  // nothing to move
    EXPECT_FALSE(store.revertCopyPersistentStoreFileForAuthToken("files", "42"));
    open("files");
    await([&](auto done) { store.addItemsToCoreData(permissions(3), type, "files", "42", done); });
    // Let the file save finish before the files move.
    store.getCoreDataStackForAuthToken("files", "42")->managedObjectContextBackgroundQueue()->performBlockAndWait([] {
    });

    EXPECT_TRUE(store.movePersistentStoreFileForAuthToken("files", "42"));
    EXPECT_TRUE(store.coreDataStackCaches().empty());
    for (const auto& path : paths) {
        EXPECT_FALSE(exists(path)) << path;
        EXPECT_TRUE(exists(old(path))) << path;
    }
    // A new store for the reload, then the old one comes back in its place.
    open("files");
    EXPECT_TRUE(rows<QVACoreDataPermission>("files").empty());
    EXPECT_TRUE(store.revertCopyPersistentStoreFileForAuthToken("files", "42"));
    EXPECT_FALSE(exists(old(paths[0])));
    open("files");
    EXPECT_EQ(rows<QVACoreDataPermission>("files").size(), 3u);

    // A missing companion fails its step only.
    store.setCoreDataStackCaches({});
    files.removeItemAtPath(paths[2]);
    {
        foundation::ScopedLogCapture log;
        EXPECT_FALSE(store.movePersistentStoreFileForAuthToken("files", "42"));
        EXPECT_TRUE(log.contains("Error on movePersistentStoreFileForAuthToken - Unable to move item"));
    }
    EXPECT_TRUE(exists(old(paths[0])));
    EXPECT_TRUE(exists(old(paths[1])));
    open("files");  // the store file is back for deleteCachedCopy's precondition
    EXPECT_FALSE(store.deleteCachedCopyOfPersistentStoreForAuthToken("files", "42"));
    EXPECT_FALSE(exists(old(paths[0])));
    EXPECT_FALSE(exists(old(paths[1])));

    // Removing a store takes all three files and the cached stack; the same
    // key then opens an empty, working store.
    await([&](auto done) { store.addItemsToCoreData(permissions(2), type, "files", "42", done); });
    store.removePersistentStoreForAuthToken("files", "42");
    for (const auto& path : paths) EXPECT_FALSE(exists(path)) << path;
    EXPECT_FALSE(store.getCoreDataStackForAuthToken("files", "42"));
    open("files");
    EXPECT_TRUE(rows<QVACoreDataPermission>("files").empty());
    auto again = await([&](auto done) { store.addItemsToCoreData(permissions(4), type, "files", "42", done); });
    EXPECT_EQ(again.error, nullptr);
    EXPECT_EQ(rows<QVACoreDataPermission>("files").size(), 4u);

    store.clear();
    EXPECT_FALSE(exists(paths[0]));
    EXPECT_TRUE(store.coreDataStackCaches().empty());
}

TEST_F(StoreTest, SaveFailuresReachTheWrites) {
    auto stack = open("fail");
    auto type = EntityClass::of<QVACoreDataPermission>();
    auto failure = foundation::Error::withDescription("Test", 1, "injected");
    // The next save of this context fails, once (the file save runs later, on its own queue).
    std::atomic<coredata::ManagedObjectContext*> failing{nullptr};
    store.setContextSaveForTesting([&](coredata::ManagedObjectContext& context) -> ErrorPtr {
        coredata::ManagedObjectContext* expected = &context;
        return failing.compare_exchange_strong(expected, nullptr) ? failure : context.save();
    });
    auto write = [&] {
        return await([&](auto done) { store.addItemsToCoreData(permissions(1), type, "fail", "42", done); }).error;
    };

    failing = stack->managedObjectContextWorkerOnBackground().get();
    EXPECT_EQ(write(), failure);
    failing = stack->managedObjectContextMainQueue().get();
    EXPECT_EQ(write(), failure);

    // The file save is not waited for: its failure is logged and reported by
    // the next write on the stack, once.
    foundation::ScopedLogCapture log;
    failing = stack->managedObjectContextBackgroundQueue().get();
    EXPECT_EQ(write(), nullptr);
    EXPECT_EQ(write(), failure);
    EXPECT_TRUE(log.contains("Unable to write the store file."));
    EXPECT_EQ(write(), nullptr);

    // Nothing was lost: the failed saves went through with later ones.
    stack->managedObjectContextBackgroundQueue()->performBlockAndWait([] {});
    store.setCoreDataStackCaches({});
    open("fail");
    EXPECT_EQ(rows<QVACoreDataPermission>("fail").size(), 5u);

    // A write whose stack leaves the cache while it runs saves nothing and
    // still completes without error.
    store.setRowPauseForTesting([&] { store.setCoreDataStackCaches({}); });
    EXPECT_EQ(write(), nullptr);
    EXPECT_TRUE(log.contains("No core data stack configured for the auth token."));
    open("fail");
    EXPECT_EQ(rows<QVACoreDataPermission>("fail").size(), 5u);
}

TEST_F(StoreTest, WaitingForPendingFileSavesEndsWhenTheyAreInTheFile) {
    auto stack = open("wait");
    auto type = EntityClass::of<QVACoreDataPermission>();
    // The writer's file save is held until the test lets it go, so the
    // write completes long before its rows reach the file.
    std::mutex mutex;
    std::condition_variable released;
    bool letGo = false, failFileSaves = false;
    std::atomic<int> fileSaves{0};
    store.setContextSaveForTesting([&](coredata::ManagedObjectContext& context) -> ErrorPtr {
        if (context.parentContext()) return context.save();
        std::unique_lock lock(mutex);
        released.wait(lock, [&] { return letGo; });
        if (failFileSaves) return foundation::Error::withDescription("Test", 28, "no space left");
        ErrorPtr error = context.save();
        ++fileSaves;
        return error;
    });
    auto written = await([&](auto done) { store.addItemsToCoreData(permissions(300), type, "wait", "42", done); });
    EXPECT_EQ(written.error, nullptr);
    EXPECT_EQ(fileSaves, 0);

    auto waited = await([&](auto done) {
        store.waitForPendingFileSaves(done);
        std::lock_guard lock(mutex);
        letGo = true;
        released.notify_all();
    });
    EXPECT_EQ(waited.error, nullptr);
    EXPECT_GE(fileSaves, 1);
    // Another stack on the same file (another process, as far as the file
    // knows) finds every row.
    auto reader = std::make_shared<CoreDataStack>();
    reader->configureCoreDataStackForAuthToken(std::string("wait"), std::string("42"), nullptr);
    auto context = reader->managedObjectContextBackgroundQueue();
    coredata::FetchRequest request(QVACoreDataPermission::kEntityName);
    size_t found = 0;
    context->performBlockAndWait([&] { found = context->executeFetchRequest(request, nullptr).size(); });
    EXPECT_EQ(found, 300u);

    // A file save that fails is the wait's failure; nothing left, none.
    {
        std::lock_guard lock(mutex);
        failFileSaves = true;
    }
    EXPECT_EQ(await([&](auto done) { store.addItemsToCoreData(permissions(1), type, "wait", "42", done); }).error,
              nullptr);
    auto failed = await([&](auto done) { store.waitForPendingFileSaves(done); });
    ASSERT_NE(failed.error, nullptr);
    EXPECT_EQ(failed.error->code(), 28);
    {
        std::lock_guard lock(mutex);
        failFileSaves = false;
    }
    EXPECT_EQ(await([&](auto done) { store.waitForPendingFileSaves(done); }).error, nullptr);
    EXPECT_EQ(await([&](auto done) { store.waitForPendingFileSaves(done); }).error, nullptr);
}

}  // namespace
}  // namespace storetest
