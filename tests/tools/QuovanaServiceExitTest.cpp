// quovana-service's early exits, run as the program itself: a small meeting
// is made and unusable TLS files end the run with status 1 and the reason,
// nothing more (under the leak checker too), and sizes it cannot make are bad
// usage.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TemporaryDirectory.h"

namespace {

struct ServiceExit {
    int status = -1;
    std::string err;
};

// The program beside `quovana` in the build; the arguments hold no blanks.
ServiceExit runService(const TemporaryDirectory& folder, const std::string& arguments) {
    const auto program = std::filesystem::path(QVA_QUOVANA_PROGRAM).parent_path() / "quovana-service";
    const std::string errPath = folder.path() + "/err";
    const int raw = std::system((program.string() + " " + arguments + " >/dev/null 2>" + errPath).c_str());
    std::stringstream err;
    err << std::ifstream(errPath).rdbuf();
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, err.str()};
}

TEST(QuovanaServiceExitTest, UnusableTLSFilesEndASmallMeetingsRunWithTheReasonAndBadSizesAreUsage) {
    TemporaryDirectory folder;
    const std::string junk = folder.path() + "/junk.pem";
    std::ofstream(junk) << "not a certificate\n";

    const ServiceExit tls = runService(folder, "--generate 2,2 --tls " + junk + " " + junk);
    EXPECT_EQ(tls.status, 1) << tls.err;
    EXPECT_EQ(tls.err.rfind("quovana-service: cannot listen (check the TLS files)\n", 0), 0u) << tls.err;
    EXPECT_EQ(tls.err.find("LeakSanitizer"), std::string::npos) << tls.err;

    const ServiceExit tooSmall = runService(folder, "--generate 1,1");
    EXPECT_EQ(tooSmall.status, 2);
    EXPECT_NE(tooSmall.err.find("2 to 99999 participants"), std::string::npos) << tooSmall.err;
    EXPECT_EQ(runService(folder, "--generate 100000000,100000000").status, 2);
}

}  // namespace
