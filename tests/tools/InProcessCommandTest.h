// A fixture for tools tests that run `quovana` in process on a home of their
// own: the process state the command changes is put back after each test
// (InProcessCommandState), and so is the app mode's object hand-over.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "quovana/Cli.h"
#include "support/TemporaryDirectory.h"
#include "tools/InProcessCommandState.h"
#include "uikit/ScreenDriver.h"

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

class InProcessCommandTest : public ::testing::Test {
protected:
    void SetUp() override { state_.enter(); }
    void TearDown() override {
        uikit::ScreenDriver::setObjectHandOver({});
        state_.leave();
    }

    // The command on the test's home, with `script` as its standard input.
    CommandRun run(std::vector<std::string> arguments, const std::string& script = "") {
        std::vector<std::string> full = {"--home", home_.path()};
        full.insert(full.end(), arguments.begin(), arguments.end());
        std::istringstream in(script);
        std::ostringstream out, err;
        CommandRun result;
        result.status = quovana::runCli(full, in, out, err);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    TemporaryDirectory home_;

private:
    InProcessCommandState state_;
};
