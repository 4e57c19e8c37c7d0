// File operations and their error codes, the application home and the main bundle.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/ApplicationHome.h"
#include "foundation/Bundle.h"
#include "foundation/FileManager.h"
#include "support/TemporaryDirectory.h"

using namespace foundation;

namespace {
FileManager& fm() { return FileManager::defaultManager(); }
bool write(const std::string& path, const std::string& text) {
    return fm().writeData(Data::fromString(text), path, true);
}
std::string read(const std::string& path) {
    auto data = fm().contentsAtPath(path);
    return data ? data->toString() : "<missing>";
}
}  // namespace

TEST(FileManager, MoveAndCopyNeverReplaceTheDestination) {
    TemporaryDirectory dir;
    ASSERT_TRUE(write(dir / "a", "first"));
    ASSERT_TRUE(write(dir / "b", "second"));

    ErrorPtr error;
    EXPECT_FALSE(fm().moveItemAtPath(dir / "a", dir / "b", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), kCocoaErrorDomain);
    EXPECT_EQ(error->code(), CocoaError::FileWriteFileExists);
    EXPECT_EQ(read(dir / "a"), "first");
    EXPECT_EQ(read(dir / "b"), "second");
    EXPECT_FALSE(fm().copyItemAtPath(dir / "a", dir / "b", &error));
    EXPECT_EQ(error->code(), CocoaError::FileWriteFileExists);

    EXPECT_TRUE(fm().moveItemAtPath(dir / "a", dir / "c", &error));
    EXPECT_FALSE(error);
    EXPECT_FALSE(fm().fileExistsAtPath(dir / "a"));
    EXPECT_EQ(read(dir / "c"), "first");

    EXPECT_FALSE(fm().moveItemAtPath(dir / "missing", dir / "d", &error));
    EXPECT_EQ(error->code(), CocoaError::FileNoSuchFile);
    EXPECT_EQ(error->underlyingError()->domain(), kPOSIXErrorDomain);
}

TEST(FileManager, DirectoriesTreesAndListings) {
    TemporaryDirectory dir;
    ErrorPtr error;
    EXPECT_FALSE(fm().createDirectoryAtPath(dir / "x/y/z", false, &error));
    EXPECT_EQ(error->code(), CocoaError::FileNoSuchFile);
    ASSERT_TRUE(fm().createDirectoryAtPath(dir / "x/y/z", true, &error));
    EXPECT_TRUE(fm().createDirectoryAtPath(dir / "x/y/z", true));
    bool isDirectory = false;
    EXPECT_TRUE(fm().fileExistsAtPath(dir / "x/y", &isDirectory));
    EXPECT_TRUE(isDirectory);

    ASSERT_TRUE(write(dir / "x/y/z/f.txt", "12345"));
    ASSERT_TRUE(write(dir / "x/b.txt", ""));
    EXPECT_EQ(fm().fileSizeAtPath(dir / "x/y/z/f.txt"), 5u);
    EXPECT_TRUE(fm().fileExistsAtPath(dir / "x/b.txt", &isDirectory));
    EXPECT_FALSE(isDirectory);
    EXPECT_EQ(fm().contentsOfDirectoryAtPath(dir / "x"), (std::vector<std::string>{"b.txt", "y"}));

    ASSERT_TRUE(fm().copyItemAtPath(dir / "x", dir / "copy"));
    EXPECT_EQ(read(dir / "copy/y/z/f.txt"), "12345");
    ASSERT_TRUE(fm().removeItemAtPath(dir / "x"));
    EXPECT_FALSE(fm().fileExistsAtPath(dir / "x"));
    EXPECT_FALSE(fm().removeItemAtPath(dir / "x", &error));
    EXPECT_EQ(error->code(), CocoaError::FileNoSuchFile);

    EXPECT_FALSE(fm().contentsAtPath(dir / "none", &error));
    EXPECT_EQ(error->code(), CocoaError::FileReadNoSuchFile);
    EXPECT_FALSE(fm().contentsOfDirectoryAtPath(dir / "none", &error));
    EXPECT_FALSE(fm().fileSizeAtPath(dir / "none", &error));
}

TEST(FileManager, AtomicWriteReplacesWholeAndLeavesNoTemporaryFile) {
    TemporaryDirectory dir;
    ASSERT_TRUE(write(dir / "settings", std::string(100000, 'a')));
    ASSERT_TRUE(write(dir / "settings", "short"));
    EXPECT_EQ(read(dir / "settings"), "short");
    EXPECT_EQ(fm().contentsOfDirectoryAtPath(dir.path()), (std::vector<std::string>{"settings"}));

    ErrorPtr error;
    EXPECT_FALSE(fm().writeData(Data::fromString("x"), dir / "no/such/dir/file", true, &error));
    EXPECT_EQ(error->code(), CocoaError::FileNoSuchFile);
    EXPECT_TRUE(fm().writeData(Data::fromString("plain"), dir / "plain", false));
    EXPECT_EQ(read(dir / "plain"), "plain");
}

// The start-up sweep removes what a killed atomic write left and nothing
// else: not a link of the same name (nor what it points at), not a name
// mkstemp never makes, not another file's temporary.
TEST(FileManager, TheSweepRemovesOnlyTheTemporaryFilesOfThePath) {
    TemporaryDirectory dir;
    const std::string target = dir / "state.json";
    ASSERT_TRUE(write(target, "kept"));
    ASSERT_TRUE(write(dir / ".state.json.tmp-Ab3dE9", "left by a kill"));
    ASSERT_TRUE(write(dir / "elsewhere", "pointed at"));
    std::filesystem::create_symlink(dir / "elsewhere", dir / ".state.json.tmp-Zy9xW8");
    // Six bytes after the prefix, three letters that mkstemp never writes.
    ASSERT_TRUE(write(dir / ".state.json.tmp-\xc3\xa9\xc3\xa9\xc3\xa9", "someone's"));
    ASSERT_TRUE(write(dir / ".other.json.tmp-Ab3dE9", "another file's"));

    EXPECT_EQ(fm().removeLeftoversOfAtomicWrites(target), 1u);
    EXPECT_EQ(fm().contentsOfDirectoryAtPath(dir.path()),
              (std::vector<std::string>{".other.json.tmp-Ab3dE9", ".state.json.tmp-Zy9xW8",
                                        ".state.json.tmp-\xc3\xa9\xc3\xa9\xc3\xa9", "elsewhere", "state.json"}));
    EXPECT_EQ(read(dir / "elsewhere"), "pointed at");
    EXPECT_EQ(read(target), "kept");
}

TEST(ApplicationHome, DirectoriesLiveUnderOneSettableRoot) {
    TemporaryDirectory dir;
    std::string previous = ApplicationHome::root();
    ApplicationHome::setRoot(dir.path() + "/");
    EXPECT_EQ(ApplicationHome::root(), dir.path());
    EXPECT_EQ(ApplicationHome::documentsDirectory(), dir / "Documents");
    EXPECT_EQ(ApplicationHome::cachesDirectory(), dir / "Library/Caches");
    EXPECT_EQ(ApplicationHome::preferencesDirectory(), dir / "Library/Preferences");
    bool isDirectory = false;
    EXPECT_TRUE(fm().fileExistsAtPath(dir / "Documents", &isDirectory) && isDirectory);
    EXPECT_TRUE(fm().fileExistsAtPath(dir / "Library/Caches", &isDirectory) && isDirectory);
    ApplicationHome::setRoot(previous);
}

TEST(Bundle, IdentityStringTablesAndInfoDictionary) {
    Bundle& bundle = Bundle::mainBundle();
    EXPECT_EQ(bundle.bundleIdentifier(), "com.quovana.events");
    EXPECT_EQ(bundle.executableName(), "Quovana");
    EXPECT_EQ(bundle.shortVersionString(), "3.4");
    EXPECT_EQ(*bundle.objectForInfoDictionaryKey(kBundleShortVersionStringKey).string(), "3.4");

    bundle.setStringTable("QNNetworking", {{"Error", "Fehler"}});
    EXPECT_EQ(bundle.localizedString("Error", "QNNetworking"), "Fehler");
    EXPECT_EQ(bundle.localizedString("Dismiss", "QNNetworking"), "Dismiss");
    EXPECT_EQ(bundle.localizedString("Error"), "Error");
    EXPECT_EQ(bundle.localizedStringForKey("K", "fallback", "QNNetworking"), "fallback");

    bundle.setInfoDictionaryValue("QVAServiceRoot", Value("https://example.org/api"));
    EXPECT_EQ(bundle.infoDictionary()["QVAServiceRoot"].stringValue(), "https://example.org/api");
    bundle.setInfoDictionaryValue("QVAServiceRoot", Value());
    EXPECT_TRUE(bundle.objectForInfoDictionaryKey("QVAServiceRoot").isAbsent());

    TemporaryDirectory dir;
    ASSERT_TRUE(write(dir / "demo.json", "{}"));
    std::string previous = bundle.resourcePath();
    bundle.setResourcePath(dir.path());
    EXPECT_EQ(bundle.pathForResource("demo", "json"), dir / "demo.json");
    EXPECT_FALSE(bundle.pathForResource("demo", "xml"));
    bundle.setResourcePath(previous);
}
