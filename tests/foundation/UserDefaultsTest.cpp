// User defaults: persistence across instances and processes, corrupt files, the standard defaults.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <thread>

#include "support/ChildProcess.h"
#include "support/TemporaryDirectory.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Exception.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/UserDefaults.h"


using namespace foundation;

namespace {

constexpr const char* kChildFileVariable = "QVA_TEST_DEFAULTS_CHILD_FILE";

// When this binary is started as the second process of the test below, it
// writes its settings and leaves before any test runs.
const bool childWrote = [] {
    const char* file = std::getenv(kChildFileVariable);
    if (!file) return false;
    UserDefaults defaults(file);
    defaults.setObject(Value("from the child"), "child");
    defaults.setInteger(defaults.integerForKey("counter") + 1, "counter");
    std::_Exit(defaults.synchronize() ? 0 : 1);
}();

int runChildWriting(const std::string& file) {
    auto env = testsupport::currentEnvironment();
    env.push_back(std::string(kChildFileVariable) + "=" + file);
    int status = testsupport::runThisBinary(env);
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(UserDefaults, TypedValuesPersistAcrossInstances) {
    TemporaryDirectory dir;
    std::string file = dir / "Library/Preferences/test.plist";
    {
        UserDefaults defaults(file);
        defaults.setBool(true, "flag");
        defaults.setInteger(-7, "alarm");
        defaults.setDouble(2.5, "ratio");
        defaults.setObject(Value("3.3"), "storedAppVersion");
        defaults.setObject(Value(Data::fromString("archive")), "CurrentAccount");
        defaults.setObject(Value::dictionary({{"a/b_1", true}}), "PersistentStoresValidityKey");
        defaults.setObject(Value("gone"), "temporary");
        defaults.removeObjectForKey("temporary");
        defaults.setObject(Value(), "flag2");
    }
    UserDefaults defaults(file);
    EXPECT_TRUE(defaults.boolForKey("flag"));
    EXPECT_EQ(defaults.integerForKey("alarm"), -7);
    EXPECT_EQ(defaults.doubleForKey("ratio"), 2.5);
    EXPECT_EQ(defaults.stringForKey("storedAppVersion"), "3.3");
    EXPECT_EQ(defaults.stringForKey("alarm"), "-7");
    EXPECT_EQ(defaults.dataForKey("CurrentAccount")->toString(), "archive");
    EXPECT_FALSE(defaults.dataForKey("storedAppVersion"));
    EXPECT_TRUE(defaults.objectForKey("PersistentStoresValidityKey")["a/b_1"].isBool());
    EXPECT_TRUE(defaults.objectForKey("temporary").isAbsent());
    EXPECT_FALSE(defaults.boolForKey("missing"));
    EXPECT_EQ(defaults.integerForKey("missing"), 0);
    EXPECT_EQ(defaults.dictionaryRepresentation().size(), 6u);

    defaults.removePersistentDomain();
    EXPECT_TRUE(defaults.dictionaryRepresentation().empty());
    EXPECT_TRUE(UserDefaults(file).dictionaryRepresentation().empty());
    EXPECT_THROW(defaults.setObject(Value::null(), "n"), Exception);
}

TEST(UserDefaults, ASecondProcessReadsWhatTheFirstWrote) {
    TemporaryDirectory dir;
    std::string file = dir / "shared.plist";
    UserDefaults(file).setInteger(41, "counter");
    ASSERT_EQ(runChildWriting(file), 0);
    UserDefaults after(file);
    EXPECT_EQ(after.stringForKey("child"), "from the child");
    EXPECT_EQ(after.integerForKey("counter"), 42);
}

TEST(UserDefaults, CorruptFileReadsAsEmptyAndIsReplacedOnWrite) {
    TemporaryDirectory dir;
    std::string file = dir / "corrupt.plist";
    ASSERT_TRUE(FileManager::defaultManager().writeData(Data::fromString("<plist><dict><key>"), file, true));
    ScopedLogCapture log;
    UserDefaults defaults(file);
    EXPECT_TRUE(defaults.dictionaryRepresentation().empty());
    EXPECT_TRUE(log.contains("unreadable"));
    defaults.setBool(true, "ok");
    EXPECT_TRUE(UserDefaults(file).boolForKey("ok"));
}

TEST(UserDefaults, StandardDefaultsFollowTheHomeRootAndAreThreadSafe) {
    TemporaryDirectory dir;
    std::string previous = ApplicationHome::root();
    ApplicationHome::setRoot(dir.path());
    UserDefaults& standard = UserDefaults::standardUserDefaults();
    EXPECT_EQ(standard.filePath(), dir / "Library/Preferences/com.quovana.events.plist");
    EXPECT_TRUE(standard.dictionaryRepresentation().empty());

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 10; ++i) {
                UserDefaults::standardUserDefaults().setInteger(i, "key" + std::to_string(t * 10 + i));
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(UserDefaults(standard.filePath()).dictionaryRepresentation().size(), 40u);
    EXPECT_TRUE(standard.synchronize());

    TemporaryDirectory other;
    ApplicationHome::setRoot(other.path());
    EXPECT_TRUE(UserDefaults::standardUserDefaults().dictionaryRepresentation().empty());
    ApplicationHome::setRoot(previous);
}
