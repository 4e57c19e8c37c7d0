// Shared entry point of every test binary: the thread that runs main() is the
// application's main thread, as on the device, and the application's home is
// a fresh temporary folder so no test touches the user's data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "foundation/ApplicationHome.h"
#include "foundation/RunLoop.h"
#include "support/TemporaryDirectory.h"

// fontconfig, which cairo loads the first time text is drawn, keeps its
// configuration for the life of the process in a form LeakSanitizer cannot
// follow. It lives here, beside main, so that every test binary links it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    (void)foundation::RunLoop::main();  // binds the main run loop to this thread

    std::string pattern = (testTemporaryRoot() / "qva-test-XXXXXX").string();
    std::string home;
    if (!std::getenv("QVA_HOME")) {
        if (char* made = mkdtemp(pattern.data())) home = made;
        if (!home.empty()) foundation::ApplicationHome::setRoot(home);
    }
    // The processes the tests start keep their folders in this home, so that
    // removing it at the end leaves nothing behind, however they ended.
    if (!home.empty() && !std::getenv("QVA_TEST_TEMPORARY_ROOT")) {
        setenv("QVA_TEST_TEMPORARY_ROOT", home.c_str(), 1);
        setenv("QVA_TEST_TEMPORARY_ROOT_OWNER", std::to_string(getpid()).c_str(), 1);
    }
    int result = RUN_ALL_TESTS();
    if (!home.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
    }
    return result;
}
