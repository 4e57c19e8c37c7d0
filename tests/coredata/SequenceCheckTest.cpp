// The builds with sequence checks (the sanitizer builds) stop a fetch, a
// save, an insert or a delete made off its context's queue; through the
// queue all run, and the main-queue context may be used straight from the
// main thread.
#include <gtest/gtest.h>

#include "CoreDataTestSupport.h"

namespace coredata {
namespace {

using testing::insert;

TEST(ContextSequenceDeathTest, AFetchSaveInsertOrDeleteOffTheContextsQueueStops) {
#ifndef QVA_SEQUENCE_CHECKS
    GTEST_SKIP() << "sequence checks are off in this build";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::TempDir dir;
    testing::Stack stack(dir.file("sequence.sqlite"));
    ASSERT_EQ(stack.error, nullptr);
    EXPECT_DEATH(stack.worker->executeFetchRequest(FetchRequest("Session")), "a fetch off its context's queue");
    EXPECT_DEATH(stack.root->save(), "a save off its context's queue");
    EXPECT_DEATH(stack.worker->insertNewObject("Session"), "an insert off its context's queue");
    ManagedObjectPtr kept;
    stack.worker->performBlockAndWait([&] { kept = insert(*stack.worker, "Session", {{"itemId", "s0"}}); });
    EXPECT_DEATH(stack.worker->deleteObject(kept), "a delete off its context's queue");

    stack.worker->performBlockAndWait([&] {
        insert(*stack.worker, "Session", {{"itemId", "s1"}});
        stack.worker->deleteObject(kept);
        EXPECT_EQ(stack.worker->save(), nullptr);
        EXPECT_EQ(stack.worker->executeFetchRequest(FetchRequest("Session")).size(), 1u);
    });
    EXPECT_EQ(stack.main->executeFetchRequest(FetchRequest("Session")).size(), 1u);
    stack.main->deleteObject(stack.main->executeFetchRequest(FetchRequest("Session")).at(0).objectAs<ManagedObject>());
    EXPECT_TRUE(stack.main->executeFetchRequest(FetchRequest("Session")).empty());
#endif
}

}  // namespace
}  // namespace coredata
