// What a person meets on first use: the default home made for them, the
// demo's home serving its meeting again to a later "load", "settings set"
// storing a value whole or refusing it, and "open ?" listing the scenes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "foundation/StringUtils.h"
#include "foundation/UserDefaults.h"
#include "Utils/Utils.h"
#include "settings/ApplicationSettingsStore.h"
#include "tools/InProcessCommandTest.h"
#include "tools/QuovanaProcess.h"

namespace {

using foundation::StringUtils::contains;

constexpr const char* kFirstUseClock = "2026-06-15T09:00:00+02:00";

// Sets (or, with nothing, unsets) an environment variable for the
// processes a test starts, and puts it back.
class FirstUseEnvironmentChange {
public:
    FirstUseEnvironmentChange(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
    ~FirstUseEnvironmentChange() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

mode_t firstUsePermissions(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

TEST(FirstUseTest, AUserWithoutAHomeGetsTheDefaultOneMadeForTheOwnerAlone) {
    TemporaryDirectory user;
    FirstUseEnvironmentChange home("HOME", user.path()), qvaHome("QVA_HOME", std::nullopt),
        data("XDG_DATA_HOME", std::nullopt);
    auto set = clitest::runQuovana({"settings", "set", "ShowSwipeHintLabel", "false"});
    ASSERT_EQ(set.status, 0) << set.err;
    for (const char* folder : {"/.local", "/.local/share", "/.local/share/quovana"})
        EXPECT_EQ(firstUsePermissions(user.path() + folder), 0700u) << folder;
    EXPECT_EQ(clitest::runQuovana({"settings", "get", "ShowSwipeHintLabel"}).out, "false\n");
}

class FirstUseInProcessTest : public InProcessCommandTest {};

TEST_F(FirstUseInProcessTest, TheAppListsItsScenesAndALaterLoadFindsItsBundledServiceAgain) {
    CommandRun app = run({"app", "--clock", kFirstUseClock, "--generate", "12,30"},
                         "type Username demo\ntype Password quovana-demo\ntap row 1 0\nopen ?\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    EXPECT_TRUE(contains(app.out, "scenes of " + Utils::storyboardName() + ": ")) << app.out;
    EXPECT_TRUE(contains(app.out, "settingsViewControllerIdentifier")) << app.out;

    CommandRun load = run({"load"});
    EXPECT_EQ(load.status, 0) << load.err;
    EXPECT_TRUE(contains(load.err, "local meeting service answers at http://127.0.0.1:")) << load.err;
}

TEST_F(FirstUseInProcessTest, SettingsAreStoredWholeOrRefusedAndNullRemovesTheKey) {
    const auto& defaults = foundation::UserDefaults::standardUserDefaults();
    ASSERT_EQ(run({"settings", "set", "ShowSwipeHintLabel", "true"}).status, 0);
    ASSERT_EQ(run({"settings", "set", "ShowSwipeHintLabel", "null"}).status, 0);
    EXPECT_TRUE(defaults.objectForKey("ShowSwipeHintLabel").isAbsent());

    const std::string account =
        R"({"accessToken":"T1","user":{"firstName":"Dana","id":"u1","lastName":"Demo","photoUrl":"http://p/1"}})";
    ASSERT_EQ(run({"settings", "set", "CurrentAccount", account}).status, 0);
    CommandRun printed = run({"settings", "get", "CurrentAccount"});
    EXPECT_EQ(printed.out, account + "\n");
    EXPECT_EQ(run({"settings", "set", "CurrentAccount", account}).status, 0);

    // A flat account would keep only its token: refused, the stored one kept.
    CommandRun flat = run({"settings", "set", "CurrentAccount", R"({"accessToken":"T2","id":"u2"})"});
    EXPECT_EQ(flat.status, 2);
    EXPECT_TRUE(contains(flat.err, "id would be lost")) << flat.err;
    auto stored = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->authenticationCode(), "T1");
    EXPECT_EQ(stored->lastName(), "Demo");

    // A date is taken back as "get" prints it.
    ASSERT_EQ(run({"settings", "set", "LastDeltaSyncDateTime", "1426000000"}).status, 0);
    CommandRun date = run({"settings", "get", "LastDeltaSyncDateTime"});
    ASSERT_EQ(date.out, "\"2015-03-10 15:06:40 +0000\"\n");
    CommandRun again = run({"settings", "set", "LastDeltaSyncDateTime", date.out.substr(0, date.out.size() - 1)});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(run({"settings", "get", "LastDeltaSyncDateTime"}).out, date.out);

    CommandRun bare = run({"settings"});
    EXPECT_EQ(bare.status, 2);
    EXPECT_TRUE(contains(bare.err, "settings needs a subcommand")) << bare.err;
}

}  // namespace
