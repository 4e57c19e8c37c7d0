// quovana-service's early exits, run as the program itself: unusable TLS
// files end the run with status 1, naming the file and the reason, nothing
// more (under the leak checker too); sizes and seeds it cannot take and an
// option given twice are bad usage.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "quovana/AppOptions.h"
#include "service/TestCertificateAuthority.h"
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
    EXPECT_EQ(tls.err, "quovana-service: cannot serve TLS: " + junk + " holds no PEM certificate\n");
    EXPECT_EQ(tls.err.find("LeakSanitizer"), std::string::npos) << tls.err;
    // The key of another certificate.
    testservice::TestCertificateAuthority authority;
    auto other = authority.makeUntrustedServerCertificate();
    ASSERT_TRUE(other);
    const ServiceExit mismatched =
        runService(folder, "--generate 2,2 --tls " + authority.serverCertificateFile() + " " + other->key);
    EXPECT_EQ(mismatched.status, 1);
    EXPECT_NE(mismatched.err.find(other->key + " is not the key of the certificate in " +
                                  authority.serverCertificateFile()),
              std::string::npos)
        << mismatched.err;

    const ServiceExit tooSmall = runService(folder, "--generate 1,1");
    EXPECT_EQ(tooSmall.status, 2);
    EXPECT_NE(tooSmall.err.find("2 to 99999 participants"), std::string::npos) << tooSmall.err;
    EXPECT_EQ(runService(folder, "--generate 100000000,100000000").status, 2);
    // Beyond what a seed can be; an option given twice.
    const ServiceExit seed = runService(folder, "--generate 2,2 --seed 99999999999999999999");
    EXPECT_EQ(seed.status, 2);
    EXPECT_NE(seed.err.find("--seed needs a whole number"), std::string::npos) << seed.err;
    const ServiceExit twice = runService(folder, "--generate 2,2 --port 1 --port 2");
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.err.find("--port is given twice"), std::string::npos) << twice.err;
}

// "quovana app" and quovana-service read a meeting's sizes alike: plain
// decimal digits, nothing a number parser would also take.
TEST(QuovanaServiceExitTest, BothCommandLinesRefuseTheSameSizes) {
    TemporaryDirectory folder;
    for (const char* sizes : {"1e3,2", "0x10,20", "+5,20", "5,+20", "5.0,20", "5,20.", "-1,20", "5,20,30", "5,,20",
                              "9999999999999,20", ",20", "5,"}) {
        quovana::AppOptions options;
        EXPECT_NE(quovana::parseAppOptions({"--generate", sizes}, true, options), "") << sizes;
        // Sizes it took would go on to the missing TLS files: status 1, not a run that serves.
        EXPECT_EQ(runService(folder, std::string("--generate ") + sizes + " --tls /nowhere /nowhere").status, 2)
            << sizes;
    }
    quovana::AppOptions options;
    EXPECT_EQ(quovana::parseAppOptions({"--generate", "020,0100"}, true, options), "");
    EXPECT_EQ(options.generate, std::make_pair(20, 100));
}

}  // namespace
