// The device idiom is a launch setting: a process started with
// QVA_DEVICE_IDIOM set answers that idiom from its first question on.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/ChildProcess.h"
#include "uikit/UIDevice.h"

namespace {

constexpr const char* kChildVariable = "QVA_TEST_IDIOM_CHILD";
constexpr int kPadAnswer = 20;
constexpr int kPhoneAnswer = 21;

// Started as the child of the test below: answers the idiom it was launched
// with through its exit code, before any test runs.
const bool childAnswered = [] {
    if (!std::getenv(kChildVariable)) return false;
    bool pad = uikit::UIDevice::currentDevice().userInterfaceIdiom() == uikit::UIUserInterfaceIdiom::Pad;
    std::_Exit(pad ? kPadAnswer : kPhoneAnswer);
}();

int idiomOfChildLaunchedWith(const char* idiom) {
    std::vector<std::string> env{std::string(kChildVariable) + "=1"};
    for (const auto& entry : testsupport::currentEnvironment())
        if (entry.rfind("QVA_DEVICE_IDIOM=", 0) != 0) env.push_back(entry);
    if (idiom) env.push_back(std::string("QVA_DEVICE_IDIOM=") + idiom);
    int status = testsupport::runThisBinary(env);
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(UIDevice, TheIdiomComesFromTheLaunchEnvironment) {
    EXPECT_EQ(idiomOfChildLaunchedWith("pad"), kPadAnswer);
    EXPECT_EQ(idiomOfChildLaunchedWith("phone"), kPhoneAnswer);
    EXPECT_EQ(idiomOfChildLaunchedWith(nullptr), kPhoneAnswer);
    EXPECT_EQ(idiomOfChildLaunchedWith("watch"), kPhoneAnswer);
}
