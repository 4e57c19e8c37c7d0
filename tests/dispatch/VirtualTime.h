// Test fixture: the virtual clock for the length of a test, and the main loop
// drained afterwards so nothing leaks into the next test.
#pragma once

#include <gtest/gtest.h>

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"

class VirtualTime : public ::testing::Test {
protected:
    void SetUp() override { foundation::Clock::useVirtual(10000); }
    void TearDown() override {
        foundation::RunLoop::main().runDueTasks();
        foundation::Clock::useReal();
    }
};
