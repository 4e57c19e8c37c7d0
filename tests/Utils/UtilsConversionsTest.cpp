// The shell's pure conversions and file marks: the query escaping, the HTML
// stripping, the e-mail rule, the indexed sections, the service's UTC times
// (also from several threads at once), the label measuring rule and the
// backup exclusion mark.
#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <filesystem>
#include <fstream>
#include <atomic>
#include <cmath>
#include <thread>
#include <unistd.h>

#include "Utils/Utils.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Log.h"
#include "foundation/URL.h"
#include "uikit/UIFont.h"

namespace {

using foundation::Value;

TEST(UtilsConversions, StringsForTheServiceAndTheScreen) {
    EXPECT_EQ(Utils::quoteAndEscapeString(std::string("a\"b")), "%22a%5C%22b%22");
    EXPECT_EQ(Utils::quoteAndEscapeString(std::string("x_y~z a.b-c/d")), "%22x%5Fy%7Ez%20a.b-c%2Fd%22");
    EXPECT_EQ(Utils::quoteAndEscapeString(std::nullopt), std::nullopt);

    EXPECT_EQ(Utils::stripHtml(std::string("<p>a<br/>b&nbsp;c</p>")), "a\nbc");
    // A tag spanning lines goes whole; the nearest ">" ends it.
    EXPECT_EQ(Utils::stripHtml(std::string("x<a\nhref=\"y\">l</a> <br />z")), "xl \nz");
    EXPECT_EQ(Utils::stripHtml(std::nullopt), std::nullopt);

    EXPECT_EQ(Utils::stringWithoutUrlFromString("a/b/c.svg"), "c.svg");
    EXPECT_EQ(Utils::stringWithoutUrlFromString("c.svg"), "c.svg");

    EXPECT_TRUE(Utils::isEmailAddressValid(std::string("a@b.org")));
    EXPECT_FALSE(Utils::isEmailAddressValid(std::string("x@y.museum")));
    EXPECT_FALSE(Utils::isEmailAddressValid(std::string("see a@b.org")));  // the whole text must match
    EXPECT_FALSE(Utils::isEmailAddressValid(std::nullopt));

    EXPECT_EQ(Utils::stringFromPossibleNullString(Value::null()), Value(""));
    EXPECT_EQ(Utils::stringFromPossibleNullString(Value()), Value(""));
    EXPECT_EQ(Utils::stringFromPossibleNullString(Value("k")), Value("k"));
}

TEST(UtilsConversions, IndexedSectionsKeepEmptyKeysAndSkipNullKeys) {
    Value::Array sorted{Value::dictionary({{"letter", "A"}, {"n", 1}}), Value::dictionary({{"letter", "A"}, {"n", 2}}),
                        Value::dictionary({{"letter", "C"}, {"n", 3}})};
    auto sections =
        Utils::indexedArrayFromSortedArray(sorted, Value::Array{"A", Value::null(), "B", "C"}, "letter");
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0], Value(Value::Array{sorted[0], sorted[1]}));
    EXPECT_EQ(sections[1], Value(Value::Array{}));
    EXPECT_EQ(sections[2], Value(Value::Array{sorted[2]}));
    EXPECT_EQ(Utils::indexedArrayFromSortedArray(sorted, std::nullopt, "letter"), sorted);
}

TEST(UtilsConversions, ServiceTimesAreReadAsUtcWithTheLiteralZOnly) {
    // 2015-03-10T08:30:00Z in seconds since 2001.
    const double instant = 447669000;
    auto date = Utils::dateFromServer(Value("2015-03-10T08:30:00Z"));
    ASSERT_TRUE(date);
    EXPECT_EQ(date->timeIntervalSinceReferenceDate(), instant);
    EXPECT_FALSE(Utils::dateFromServer(Value(447669000)));
    EXPECT_FALSE(Utils::dateFromServer(Value()));
    EXPECT_FALSE(Utils::dateFromServer(Value("2015-03-10T08:30:00+01:00")));

    // One formatter serves every thread.
    std::vector<std::thread> threads;
    std::atomic<int> right{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                auto read = Utils::dateFromServer(Value("2015-03-10T08:30:00Z"));
                if (read && read->timeIntervalSinceReferenceDate() == instant) ++right;
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(right.load(), 200);
}

TEST(UtilsConversions, LabelRuleCountsATrailingLineBreak) {
    auto font = uikit::UIFont::systemFontOfSize(15);
    auto plain = Utils::getMeasuredSizeOfLabelWithText(std::string("Hello"), font, 200.0);
    auto withBreak = Utils::getMeasuredSizeOfLabelWithText(std::string("Hello\n"), font, 200.0);
    auto lineHeight = Utils::getTextSize(std::string("Hello"), font, {200, 1000}).height;
    EXPECT_GT(lineHeight, 0);
    EXPECT_NEAR(withBreak.height - plain.height, lineHeight, 1.0);
    // Sizes come out whole.
    EXPECT_EQ(plain.width, std::ceil(plain.width));
    EXPECT_EQ(plain.height, std::ceil(plain.height));
    EXPECT_EQ(Utils::getMeasuredSizeOfLabelWithText(std::nullopt, font, 200.0).height, 0);
}

class UtilsBackupMark : public ::testing::Test {
protected:
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("utils-backup-" + std::to_string(::getpid()));
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    static bool isMarked(const std::filesystem::path& path) {
        char value = 0;
        return ::getxattr(path.c_str(), "user.quovana.skip-backup", &value, 1) == 1 && value == 1;
    }
};

TEST_F(UtilsBackupMark, MarksAnExistingItemAndLogsAMissingOne) {
    const auto file = folder / "store.sqlite";
    std::ofstream(file) << "x";
    foundation::ScopedLogCapture log;
    EXPECT_TRUE(Utils::addSkipBackupAttributeToItemAtURL(foundation::URL::fileURLWithPath(file.string())));
    EXPECT_TRUE(isMarked(file));
    EXPECT_TRUE(log.lines().empty());

    const auto missing = folder / "gone.pdf";
    EXPECT_FALSE(Utils::addSkipBackupAttributeToItemAtURL(foundation::URL::fileURLWithPath(missing.string())));
    EXPECT_TRUE(log.contains("Error excluding gone.pdf from backup"));

    const auto other = folder / "older.pdf";
    std::ofstream(other) << "y";
    Utils::addSkipBackupAttributeToPath(other.string());
    EXPECT_TRUE(isMarked(other));
    Utils::addSkipBackupAttributeToPath(missing.string());  // ignored
}

TEST_F(UtilsBackupMark, ApplicationFolderIsMarkedOnEveryCall) {
    const std::string savedRoot = foundation::ApplicationHome::root();
    foundation::ApplicationHome::setRoot((folder / "home").string());
    foundation::ScopedLogCapture log;
    const auto path = Utils::getCurrentDirectory();
    EXPECT_TRUE(isMarked(path));
    EXPECT_FALSE(log.contains("Cannot skip backup"));

    // Documents is a file: the folder cannot be made, the mark fails and says so.
    foundation::ApplicationHome::setRoot((folder / "blocked").string());
    std::filesystem::create_directories(folder / "blocked");
    std::ofstream(folder / "blocked" / "Documents") << "not a folder";
    EXPECT_EQ(Utils::getCurrentDirectory(), (folder / "blocked" / "Documents" / "Quovana Events").string());
    EXPECT_TRUE(log.contains("Error excluding Quovana Events from backup"));
    EXPECT_TRUE(log.contains("Cannot skip backup in cloud. Won't happen"));
    foundation::ApplicationHome::setRoot(savedRoot);
}

}  // namespace
