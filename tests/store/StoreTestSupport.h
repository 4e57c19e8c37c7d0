// Shared by the store tests: a fixture that leaves the shared store front
// clean (no stacks, no store files, default seams, no row pauses), waiting for a write's
// main-queue completion by pumping the main run loop, and reading rows back
// through the fetch rule.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "coredata/FetchRequest.h"
#include "coredata/ManagedObject.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/RunLoop.h"
#include "model/ModelClass.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"

namespace storetest {

struct Completion {
    bool called = false;
    foundation::ErrorPtr error;
    foundation::Value result;
};

class StoreTest : public ::testing::Test {
protected:
    StorageManager& store = StorageManager::sharedStorageManager();

    void SetUp() override {
        registerModelClasses();
        store.clear();
        // Tests that count the pauses replace this; none of them sleeps.
        store.setRowPauseForTesting([] {});
    }
    void TearDown() override {
        store.setRowPauseForTesting(nullptr);
        store.setContextSaveForTesting(nullptr);
        store.clear();
    }

    std::shared_ptr<CoreDataStack> open(const std::string& token, const std::string& event = "42") {
        std::shared_ptr<CoreDataStack> opened;
        store.initCoreDataStackForAuthToken(token, event,
                                            [&](foundation::ErrorPtr error, std::shared_ptr<CoreDataStack> stack) {
                                                EXPECT_EQ(error, nullptr);
                                                opened = stack;
                                            });
        return opened;
    }

    // Starts a write with a completion and runs the main loop until it is called.
    template <class Start>
    Completion await(Start start) {
        auto done = std::make_shared<Completion>();
        start([done](foundation::ErrorPtr error, foundation::Value result) {
            EXPECT_TRUE(foundation::isMainThread());
            done->called = true;
            done->error = std::move(error);
            done->result = std::move(result);
        });
        EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return done->called; }, 20.0));
        return *done;
    }

    // The rows of an entity (sub-entities included) through the main-queue context.
    template <class Row>
    std::vector<std::shared_ptr<Row>> rows(const std::string& token, const std::string& event = "42",
                                           coredata::PredicatePtr predicate = nullptr) {
        auto stack = store.getCoreDataStackForAuthToken(token, event);
        auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
        auto request = store.fetchRequestForItemType(EntityClass::of<Row>(), std::move(predicate), context);
        std::vector<std::shared_ptr<Row>> out;
        for (const auto& value : store.executeFetchRequestAndWait(request, context))
            if (auto row = value.template objectAs<Row>()) out.push_back(row);
        return out;
    }
};

}  // namespace storetest
