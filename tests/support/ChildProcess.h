// Runs this very test binary again as a child process with the environment
// given. A child is told apart by a variable of that environment, which a
// static initialiser of the test file reads before any test runs.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// The environment of this process, one "NAME=value" per entry.
std::vector<std::string> currentEnvironment();
// Starts the child, waits for it and returns its wait status (-1 when it
// could not start).
int runThisBinary(const std::vector<std::string>& environment);

}  // namespace testsupport
