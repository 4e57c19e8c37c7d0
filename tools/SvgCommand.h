// The "svg" sub-command of the command-line front: parses floor plans as the
// maps service does and prints what came out of them.
#pragma once

#include <string>
#include <vector>

namespace tools {

// The arguments after "svg"; answers the process exit code.
int runSvgCommand(const std::vector<std::string>& arguments);

}  // namespace tools
