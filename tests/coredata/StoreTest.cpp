// The SQLite store under a context chain: persistence across restarts,
// inheritance, migration and metadata, damaged files, result shapes, and
// all-or-nothing saves.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "CoreDataTestSupport.h"
#include "coredata/Constants.h"
#include "coredata/SQLiteStore.h"

namespace coredata {
namespace {

using foundation::Value;
using testing::insert;

size_t count(ManagedObjectContext& context, const std::string& entity, bool subentities = true) {
    FetchRequest request(entity);
    request.setIncludesSubentities(subentities);
    size_t n = 0;
    context.performBlockAndWait([&] { n = context.countForFetchRequest(request); });
    return n;
}

TEST(Store, RowsSavedFromAWorkerSurviveARestartAndParentFetchesIncludeSubEntities) {
    testing::TempDir dir;
    const std::string path = dir.file("token_event.sqlite");
    {
        testing::Stack stack(path);
        ASSERT_EQ(stack.error, nullptr);
        std::atomic<bool> done{false};
        stack.worker->performBlock([&] {
            for (int i = 0; i < 3; ++i) insert(*stack.worker, "Session", {{"itemId", "s" + std::to_string(i)}});
            insert(*stack.worker, "AgendaInvitation", {{"itemId", "s0"}, {"agendaItemId", "i1"}});
            insert(*stack.worker, "AgendaInvitation", {{"itemId", "s1"}, {"agendaItemId", "i2"}});
            insert(*stack.worker, "PersonalEntry", {{"agendaItemId", "p1"}});
            EXPECT_EQ(stack.worker->save(), nullptr);
            stack.main->performBlockAndWait([&] { EXPECT_EQ(stack.main->save(), nullptr); });
            stack.root->performBlock([&] { EXPECT_EQ(stack.root->save(), nullptr); });
            done = true;
        });
        ASSERT_TRUE(testing::pumpUntil([&] { return done.load(); }));
        stack.root->performBlockAndWait([] {});
    }
    for (const char* suffix : {"", "-wal", "-shm"}) EXPECT_TRUE(std::filesystem::exists(path + suffix)) << suffix;

    testing::Stack reopened(path);
    ASSERT_EQ(reopened.error, nullptr);
    auto& main = *reopened.main;
    EXPECT_EQ(count(main, "TimelineItem"), 6u);
    EXPECT_EQ(count(main, "BaseSession"), 6u);
    EXPECT_EQ(count(main, "Session"), 3u);
    EXPECT_EQ(count(main, "AgendaRole"), 3u);
    EXPECT_EQ(count(main, "AgendaRole", false), 0u);
    EXPECT_EQ(count(main, "AgendaInvitation"), 2u);
    auto roles = main.executeFetchRequest(FetchRequest("AgendaRole"));
    ASSERT_EQ(roles.size(), 3u);
    EXPECT_EQ(roles[0].objectAs<ManagedObject>()->entityName(), "AgendaInvitation");
    EXPECT_TRUE(roles[2].objectAs<ManagedObject>()->isKindOfEntity("BaseSession"));

    // Deleting every row of a parent entity deletes the sub-entities' rows.
    for (const auto& role : roles) main.deleteObject(role.objectAs<ManagedObject>());
    EXPECT_EQ(main.save(), nullptr);
    reopened.root->performBlockAndWait([&] { EXPECT_EQ(reopened.root->save(), nullptr); });
    EXPECT_EQ(count(*reopened.root, "BaseSession"), 3u);
    EXPECT_EQ(count(*reopened.root, "AgendaInvitation"), 0u);
}

TEST(Store, AnOlderStoreMigratesAndMetadataNamesBothVersions) {
    testing::TempDir dir;
    const std::string path = dir.file("store.sqlite");
    foundation::ErrorPtr error;
    EXPECT_TRUE(PersistentStoreCoordinator::metadataForPersistentStore(path, error).isAbsent());
    EXPECT_NE(error, nullptr);
    {
        testing::Stack v1(path, testing::makeModel("v1"));
        ASSERT_EQ(v1.error, nullptr);
        v1.root->performBlockAndWait([&] {
            insert(*v1.root, "Participant", {{"itemId", "p1"}, {"fullName", "Ann"}});
            EXPECT_EQ(v1.root->save(), nullptr);
        });
    }
    auto before = PersistentStoreCoordinator::metadataForPersistentStore(path, error);
    ASSERT_EQ(error, nullptr);
    EXPECT_EQ(before[kStoreModelVersionIdentifiersKey], Value::array({"v1"}));
    auto v2Model = testing::makeModel("v2", true);
    EXPECT_TRUE(testing::makeModel("v1")->isConfigurationCompatibleWithStoreMetadata(before));
    EXPECT_FALSE(v2Model->isConfigurationCompatibleWithStoreMetadata(before));

    // Without migration the newer model is refused; with it the store is upgraded in place.
    auto strict = PersistentStoreCoordinator::create(v2Model);
    auto refused = strict->addPersistentStore(path, StoreOptions{false});
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->code(), StoreError::IncompatibleVersion);
    {
        testing::Stack v2(path, v2Model);
        ASSERT_EQ(v2.error, nullptr);
        auto after = PersistentStoreCoordinator::metadataForPersistentStore(path, error);
        EXPECT_EQ(after[kStoreModelVersionIdentifiersKey], Value::array({"v2"}));
        EXPECT_TRUE(v2Model->isConfigurationCompatibleWithStoreMetadata(after));
        v2.root->performBlockAndWait([&] {
            auto rows = v2.root->executeFetchRequest(FetchRequest("Participant"));
            ASSERT_EQ(rows.size(), 1u);
            auto ann = rows[0].objectAs<ManagedObject>();
            EXPECT_EQ(ann->valueForKey("fullName"), Value("Ann"));
            EXPECT_TRUE(ann->valueForKey("photoUrl").isAbsent());
            ann->setValue("http://x/ann.png", "photoUrl");
            insert(*v2.root, "Partner", {{"itemId", "b1"}});
            EXPECT_EQ(v2.root->save(), nullptr);
        });
    }
    testing::Stack again(path, v2Model);
    ASSERT_EQ(again.error, nullptr);
    EXPECT_EQ(count(*again.root, "Partner"), 1u);
    FetchRequest withPhoto("Participant");
    withPhoto.setPredicate(Predicate::withFormat("photoUrl ENDSWITH %@", "ann.png"));
    again.root->performBlockAndWait([&] { EXPECT_EQ(again.root->executeFetchRequest(withPhoto).size(), 1u); });
}

TEST(Store, DamagedOrForeignFilesAndMissingStoresGiveErrors) {
    testing::TempDir dir;
    const std::string garbage = dir.file("garbage.sqlite");
    std::ofstream(garbage) << std::string(4096, 'x');
    auto coordinator = PersistentStoreCoordinator::create(testing::makeModel());
    auto error = coordinator->addPersistentStore(garbage);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), StoreError::CorruptFile);
    EXPECT_FALSE(coordinator->hasPersistentStore());
    foundation::ErrorPtr metadataError;
    EXPECT_TRUE(PersistentStoreCoordinator::metadataForPersistentStore(garbage, metadataError).isAbsent());
    EXPECT_NE(metadataError, nullptr);

    const std::string foreign = dir.file("foreign.sqlite");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE notes (body TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    error = PersistentStoreCoordinator::create(testing::makeModel())->addPersistentStore(foreign);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), StoreError::InvalidStoreType);

    // Contexts over a coordinator without a store: fetches and saves fail as values.
    auto context = ManagedObjectContext::create(ConcurrencyType::PrivateQueue);
    context->setPersistentStoreCoordinator(coordinator);
    context->performBlockAndWait([&] {
        foundation::ErrorPtr fetchError;
        EXPECT_TRUE(context->executeFetchRequest(FetchRequest("Session"), &fetchError).empty());
        EXPECT_NE(fetchError, nullptr);
        insert(*context, "Session", {{"itemId", "s1"}});
        EXPECT_NE(context->save(), nullptr);
        EXPECT_TRUE(context->hasChanges());
    });
}

TEST(Store, ResultShapesWindowsAndTypedValues) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("shapes.sqlite"));
    auto& root = *stack.root;
    root.performBlockAndWait([&] {
        for (int i = 0; i < 6; ++i)
            insert(root, "Message", {{"itemId", "m" + std::to_string(i)}, {"messageId", 100 + i}, {"threadId", i % 2},
                                     {"score", i * 0.5}, {"sent", foundation::Date(1000.0 * i)},
                                     {"body", foundation::Data::fromString("b" + std::to_string(i))},
                                     {"serial", int64_t(1) << 40}});
        auto blank = insert(root, "Message", {});
        EXPECT_EQ(blank->valueForKey("isRead"), Value(false));
        EXPECT_EQ(blank->valueForKey("threadId"), Value(0));
        EXPECT_TRUE(blank->valueForKey("itemId").isAbsent());
        root.deleteObject(blank);
        EXPECT_EQ(root.save(), nullptr);
    });
    auto& main = *stack.main;  // the main-queue context, used on the main thread

    FetchRequest window("Message");
    window.setSortDescriptors({SortDescriptor("threadId", false), SortDescriptor("messageId")});
    window.setFetchOffset(1);
    window.setFetchLimit(3);
    auto ids = [](const Value::Array& rows) {
        std::vector<int64_t> out;
        for (const auto& r : rows) out.push_back(valueForKey(r, "messageId").integerValue());
        return out;
    };
    EXPECT_EQ(ids(main.executeFetchRequest(window)), (std::vector<int64_t>{103, 105, 100}));
    // The same window over unsaved changes is computed in memory.
    auto extra = insert(main, "Message", {{"messageId", 99}, {"threadId", 1}});
    EXPECT_EQ(ids(main.executeFetchRequest(window)), (std::vector<int64_t>{101, 103, 105}));
    main.deleteObject(extra);

    FetchRequest dictionaries("Message");
    dictionaries.setResultType(FetchRequestResultType::Dictionary);
    dictionaries.setPropertiesToFetch({"threadId"});
    dictionaries.setReturnsDistinctResults(true);
    dictionaries.setSortDescriptors({SortDescriptor("threadId")});
    EXPECT_EQ(Value(main.executeFetchRequest(dictionaries)),
              Value::array({Value::dictionary({{"threadId", 0}}), Value::dictionary({{"threadId", 1}})}));
    // A distinct fetch's window counts distinct results, whether the file's
    // rows answer it or unsaved ones join them in memory.
    dictionaries.setPredicate(Predicate::withFormat("messageId >= 101"));
    dictionaries.setFetchOffset(1);
    dictionaries.setFetchLimit(1);
    EXPECT_EQ(Value(main.executeFetchRequest(dictionaries)), Value::array({Value::dictionary({{"threadId", 1}})}));
    auto unsaved = insert(main, "Message", {{"messageId", 200}, {"threadId", 2}});
    EXPECT_EQ(Value(main.executeFetchRequest(dictionaries)), Value::array({Value::dictionary({{"threadId", 1}})}));
    dictionaries.setFetchLimit(0);
    EXPECT_EQ(Value(main.executeFetchRequest(dictionaries)),
              Value::array({Value::dictionary({{"threadId", 1}}), Value::dictionary({{"threadId", 2}})}));
    main.deleteObject(unsaved);

    // Only the properties asked for come back, in the order of sort keys
    // that are not among them.
    FetchRequest narrow("Message");
    narrow.setResultType(FetchRequestResultType::Dictionary);
    narrow.setPropertiesToFetch({"messageId"});
    narrow.setSortDescriptors({SortDescriptor("threadId", false), SortDescriptor("score")});
    FetchRequest whole("Message");
    whole.setSortDescriptors(narrow.sortDescriptors());
    auto narrowRows = main.executeFetchRequest(narrow);
    EXPECT_EQ(ids(narrowRows), ids(main.executeFetchRequest(whole)));
    for (const auto& r : narrowRows) EXPECT_EQ(r.dictionary() ? r.dictionary()->size() : 0u, 1u);

    FetchRequest one("Message");
    one.setPredicate(Predicate::withFormat("itemId == 'm2'"));
    auto row = main.executeFetchRequest(one).at(0).objectAs<ManagedObject>();
    EXPECT_EQ(row->valueForKey("score"), Value(1.0));
    EXPECT_EQ(row->valueForKey("sent"), Value(foundation::Date(2000.0)));
    EXPECT_EQ(row->valueForKey("body"), Value(foundation::Data::fromString("b2")));
    EXPECT_EQ(row->valueForKey("serial"), Value(int64_t(1) << 40));
    row->setValue(70000, "messageId");  // Integer 32 keeps 32 bits
    EXPECT_EQ(row->valueForKey("messageId"), Value(70000));
    EXPECT_EQ(row->changedValues(), (Value::Dictionary{{"messageId", Value(70000)}}));
    EXPECT_TRUE(row->isUpdated());

    one.setResultType(FetchRequestResultType::ManagedObjectID);
    auto id = main.executeFetchRequest(one).at(0).objectAs<ManagedObjectID>();
    ASSERT_TRUE(id);
    EXPECT_TRUE(*id == *row->objectID());
    // The same ID names the same row in another context of the coordinator,
    // which does not see main's unsaved change.
    root.performBlockAndWait([&] {
        auto other = root.objectWithID(id);
        ASSERT_TRUE(other);
        EXPECT_EQ(other->valueForKey("messageId"), Value(102));
        EXPECT_TRUE(*other->objectID() == *id);
    });
    main.reset();
    EXPECT_FALSE(main.hasChanges());
}

// Saves large enough to have the log copied into the file behind them: the
// copy reaches the database file while the store stays open; saves one after
// another, a fetch between them and the store closed at once keep every row,
// in the open store and after reopening it.
// A dictionary fetch that the file answers alone is read as dictionaries,
// never as rows; over unsaved changes the same fetch is built from rows.
// Both give the same dictionaries: absent values and attributes an entity of
// the tree lacks left out, in the same order and window.
TEST(Store, DictionaryFetchesFromTheFileMatchThoseOverUnsavedChanges) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("dictionaries.sqlite"));
    auto& root = *stack.root;
    root.performBlockAndWait([&] {
        insert(root, "Session", {{"itemId", "s0"}, {"title", "Zero"}});
        insert(root, "Session", {{"itemId", "s1"}, {"cancelled", true}});
        insert(root, "Session", {{"itemId", "s2"}});
        insert(root, "AgendaInvitation", {{"itemId", "i0"}});
        insert(root, "AgendaInvitation", {{"itemId", "i1"}, {"status", "open"}});
        EXPECT_EQ(root.save(), nullptr);
    });
    auto& main = *stack.main;

    FetchRequest narrow("BaseSession");
    narrow.setResultType(FetchRequestResultType::Dictionary);
    narrow.setPropertiesToFetch({"itemId", "status", "cancelled"});
    narrow.setSortDescriptors({SortDescriptor("itemId", false)});
    narrow.setFetchOffset(1);
    narrow.setFetchLimit(4);
    FetchRequest whole("BaseSession");
    whole.setResultType(FetchRequestResultType::Dictionary);
    whole.setPredicate(Predicate::withFormat("itemId BEGINSWITH 'i' OR title != nil"));
    whole.setSortDescriptors({SortDescriptor("itemId")});

    const auto narrowFromFile = main.executeFetchRequest(narrow);
    const auto wholeFromFile = main.executeFetchRequest(whole);
    EXPECT_EQ(Value(narrowFromFile),
              Value::array({Value::dictionary({{"itemId", "s1"}, {"cancelled", true}}),
                            Value::dictionary({{"itemId", "s0"}, {"cancelled", false}}),
                            Value::dictionary({{"itemId", "i1"}, {"status", "open"}, {"cancelled", false}}),
                            Value::dictionary({{"itemId", "i0"}, {"cancelled", false}})}));
    ASSERT_EQ(wholeFromFile.size(), 3u);
    EXPECT_EQ(wholeFromFile[0]["status"], Value());
    EXPECT_EQ(wholeFromFile[1]["status"], Value("open"));
    EXPECT_EQ(wholeFromFile[2]["title"], Value("Zero"));
    EXPECT_EQ(wholeFromFile[2]["minutes"], Value(0));

    // Two of the properties as pairs: what each dictionary holds under them,
    // absent where it leaves the key out (a session has no status).
    FetchRequest pairs = narrow;
    pairs.setPropertiesToFetch({"status", "itemId"});
    using Pairs = std::vector<std::pair<Value, Value>>;
    const Pairs pairsFromFile = main.executeFetchRequestForPairs(pairs);
    EXPECT_EQ(pairsFromFile, (Pairs{{Value(), "s1"}, {Value(), "s0"}, {"open", "i1"}, {Value(), "i0"}}));

    // A row of the tree waiting in the main context: the fetches now run
    // over rows and that row, which sorts outside the window and fails the
    // predicate.
    insert(main, "PersonalEntry", {{"itemId", "0"}});
    EXPECT_EQ(Value(main.executeFetchRequest(narrow)), Value(narrowFromFile));
    EXPECT_EQ(Value(main.executeFetchRequest(whole)), Value(wholeFromFile));
    EXPECT_EQ(main.executeFetchRequestForPairs(pairs), pairsFromFile);
    insert(main, "PersonalEntry", {{"itemId", "s15"}, {"status", "new"}});
    EXPECT_EQ(main.executeFetchRequestForPairs(pairs),
              (Pairs{{"new", "s15"}, {Value(), "s1"}, {Value(), "s0"}, {"open", "i1"}}));
}

TEST(Store, LargeSavesBackToBackKeepEveryRowAcrossAClose) {
    testing::TempDir dir;
    const std::string path = dir.file("large.sqlite");
    const std::string note(900, 'n');
    constexpr int kPerSave = 6000;  // about 6 MB of log a save
    auto saveNotes = [&](testing::Stack& stack, int first) {
        stack.root->performBlockAndWait([&] {
            for (int i = first; i < first + kPerSave; ++i)
                insert(*stack.root, "SessionNote", {{"itemId", "n" + std::to_string(i)}, {"note", note}});
            EXPECT_EQ(stack.root->save(), nullptr);
        });
    };
    {
        testing::Stack stack(path);
        ASSERT_EQ(stack.error, nullptr);
        const auto emptySize = std::filesystem::file_size(path);
        saveNotes(stack, 0);
        EXPECT_TRUE(testing::pumpUntil([&] { return std::filesystem::file_size(path) > emptySize + kPerSave * note.size(); }));
        EXPECT_EQ(count(*stack.main, "SessionNote"), size_t(kPerSave));
        saveNotes(stack, kPerSave);
        FetchRequest last("SessionNote");
        last.setPredicate(Predicate::withFormat("itemId == %@", Value("n" + std::to_string(2 * kPerSave - 1))));
        stack.main->performBlockAndWait([&] {
            auto found = stack.main->executeFetchRequest(last);
            ASSERT_EQ(found.size(), 1u);
            EXPECT_EQ(found[0].objectAs<ManagedObject>()->valueForKey("note"), Value(note));
        });
    }
    testing::Stack reopened(path);
    ASSERT_EQ(reopened.error, nullptr);
    EXPECT_EQ(count(*reopened.main, "SessionNote"), size_t(2 * kPerSave));
}

TEST(StoreDeathTest, ACrashInTheMiddleOfASaveLeavesThePreviousState) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::TempDir dir;
    const std::string path = dir.file("crash.sqlite");
    {
        testing::Stack stack(path);
        stack.root->performBlockAndWait([&] {
            for (int i = 0; i < 10; ++i) insert(*stack.root, "Session", {{"itemId", "before" + std::to_string(i)}});
            EXPECT_EQ(stack.root->save(), nullptr);
        });
    }
    EXPECT_EXIT(
        {
            testing::Stack stack(path);
            detail::SQLiteStore::setRowWrittenHookForTesting([](size_t rows) {
                if (rows == 5) _exit(3);
            });
            stack.root->performBlockAndWait([&] {
                for (int i = 0; i < 10; ++i) insert(*stack.root, "Session", {{"itemId", "after" + std::to_string(i)}});
                stack.root->save();
            });
        },
        ::testing::ExitedWithCode(3), "");
    testing::Stack reopened(path);
    ASSERT_EQ(reopened.error, nullptr);
    EXPECT_EQ(count(*reopened.root, "Session"), 10u);
}

}  // namespace
}  // namespace coredata
