// The store stack: store keys and file names, opening and caching, a missing
// token, and the migration of a store written by an older model.
#include <gtest/gtest.h>

#include "Utils/Utils.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/PersistentStoreCoordinator.h"
#include "foundation/ApplicationHome.h"
#include "foundation/FileManager.h"
#include "store/CoreDataStack.h"
#include "store/EntityModel.h"
#include "store/StoreTestSupport.h"

namespace storetest {
namespace {

using foundation::FileManager;

TEST_F(StoreTest, KeysFilesAndTheStackCache) {
    EXPECT_EQ(store.getDatabaseKeyForAuthToken("ab/cd", "42"), "ab_cd_42");
    EXPECT_EQ(store.getDatabaseKeyForAuthToken(std::nullopt, std::nullopt), "(null)_(null)");
    const std::string directory = Utils::getCurrentDirectory() + "/Database";
    EXPECT_EQ(Utils::getCurrentDirectory(), foundation::ApplicationHome::documentsDirectory() + "/Quovana Events");
    EXPECT_EQ(CoreDataStack::databaseUrlsStringsToBeMovedForAuthToken("ab/cd", "42"),
              (std::vector<std::string>{directory + "/ab_cd_42.sqlite", directory + "/ab_cd_42.sqlite-shm",
                                        directory + "/ab_cd_42.sqlite-wal"}));

    EXPECT_FALSE(store.persistentStoreExistsForAuthToken("ab/cd", "42"));
    auto first = open("ab/cd");
    ASSERT_TRUE(first);
    EXPECT_TRUE(FileManager::defaultManager().fileExistsAtPath(directory + "/ab_cd_42.sqlite"));
    EXPECT_TRUE(store.persistentStoreExistsForAuthToken("ab/cd", "42"));
    EXPECT_EQ(CoreDataStack::getModelVersionIdentifierForAuthenticationToken("ab/cd", "42"),
              EntityModel::kVersionIdentifier);
    // The same key, however the token spells its slashes, is the same stack.
    EXPECT_EQ(open("ab/cd"), first);
    EXPECT_EQ(open("ab_cd"), first);
    EXPECT_NE(open("ab/cd", "43"), first);
    // The completion for a cached stack may ask the cache again (the loading screen does).
    std::shared_ptr<CoreDataStack> askedAgain;
    store.initCoreDataStackForAuthToken("ab/cd", "42", [&](foundation::ErrorPtr, std::shared_ptr<CoreDataStack>) {
        askedAgain = store.getCoreDataStackForAuthToken("ab/cd", "42");
    });
    EXPECT_EQ(askedAgain, first);
    EXPECT_EQ(first->managedObjectContextWorkerOnBackground()->parentContext(), first->managedObjectContextMainQueue());
    EXPECT_EQ(first->managedObjectContextMainQueue()->parentContext(), first->managedObjectContextBackgroundQueue());
    EXPECT_EQ(first->managedObjectContextBackgroundQueue()->persistentStoreCoordinator(),
              first->persistentStoreCoordinator());

    // No token: an empty error at once, nothing built, nothing cached.
    foundation::ErrorPtr error;
    std::shared_ptr<CoreDataStack> unconfigured;
    store.initCoreDataStackForAuthToken(std::nullopt, "42",
                                        [&](foundation::ErrorPtr e, std::shared_ptr<CoreDataStack> s) {
                                            error = e;
                                            unconfigured = s;
                                        });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "");
    EXPECT_EQ(error->code(), 0);
    ASSERT_TRUE(unconfigured);
    EXPECT_FALSE(unconfigured->managedObjectContextWorkerOnBackground());
    EXPECT_EQ(store.coreDataStackCaches().size(), 2u);

    // A file that is no store: the error and the stack come back, uncached.
    ASSERT_TRUE(FileManager::defaultManager().writeData(foundation::Data::fromString(std::string(4096, 'x')),
                                                        CoreDataStack::databaseUrlForAuthToken("bad", "42"), true));
    store.initCoreDataStackForAuthToken("bad", "42", [&](foundation::ErrorPtr e, std::shared_ptr<CoreDataStack> s) {
        error = e;
        unconfigured = s;
    });
    EXPECT_TRUE(error);
    ASSERT_TRUE(unconfigured);
    EXPECT_FALSE(unconfigured->persistentStoreCoordinator()->hasPersistentStore());
    EXPECT_FALSE(store.getCoreDataStackForAuthToken("bad", "42"));
}

TEST_F(StoreTest, AStoreOfAnOlderModelIsMigratedAndReported) {
    const std::string path = CoreDataStack::databaseUrlForAuthToken("old", "7");
    {
        auto older = std::make_shared<coredata::ManagedObjectModel>("Quovana 0");
        older->addEntity("QVACoreDataEvent", "", {{"eventName", coredata::AttributeType::String}});
        auto coordinator = coredata::PersistentStoreCoordinator::create(older);
        ASSERT_EQ(coordinator->addPersistentStore(path), nullptr);
    }
    CoreDataStack stack;
    foundation::Value report;
    bool called = false;
    stack.configureCoreDataStackForAuthToken("old", "7", [&](foundation::ErrorPtr error, foundation::Value r) {
        EXPECT_EQ(error, nullptr);
        report = r;
        called = true;
    });
    EXPECT_TRUE(called);
    EXPECT_EQ(report, foundation::Value::dictionary({{"oldVersionIdentifier", "Quovana 0"},
                                                     {"newVersionIdentifier", EntityModel::kVersionIdentifier}}));

    // A store the current model wrote needs no report.
    CoreDataStack again;
    again.configureCoreDataStackForAuthToken("old", "7", [&](foundation::ErrorPtr error, foundation::Value r) {
        EXPECT_EQ(error, nullptr);
        EXPECT_TRUE(r.isAbsent());
    });
}

}  // namespace
}  // namespace storetest
