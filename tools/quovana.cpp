// The command-line front of the app: "quovana [options] COMMAND ...". The
// work is in the qva_cli library (tools/quovana/), which the tests call.
#include <iostream>
#include <string>
#include <vector>

#include "foundation/RunLoop.h"
#include "quovana/Cli.h"

// Fontconfig keeps its caches until the process ends; under the leak checker
// that would fail every run that draws text.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

int main(int argc, char** argv) {
    (void)foundation::RunLoop::main();  // this thread is the app's main thread
    return quovana::runCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
