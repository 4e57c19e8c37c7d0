// Misuse of the command line is bad usage (exit 2), told before the home is
// claimed or its local service started; "quovana help" lists the options
// the README does.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "foundation/FileManager.h"
#include "foundation/StringUtils.h"
#include "quovana/HomeLock.h"
#include "tools/InProcessCommandTest.h"

namespace {

using foundation::StringUtils::contains;

class CliUsageTest : public InProcessCommandTest {};

// The "--" options a text names, "--help" aside (a pointer to more help).
std::set<std::string> optionsIn(const std::string& text) {
    std::set<std::string> options;
    for (size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
        size_t end = at + 2;
        while (end < text.size() && ((text[end] >= 'a' && text[end] <= 'z') || text[end] == '-')) ++end;
        if (end > at + 2 && text.substr(at, end - at) != "--help") options.insert(text.substr(at, end - at));
        at = end - 2;
    }
    return options;
}

TEST_F(CliUsageTest, MisuseIsBadUsageToldBeforeTheHomesLocalServiceStarts) {
    // An unreadable kept state: starting the home's service would set it aside.
    const std::string state = home_.path() + "/Library/local-service.json";
    ASSERT_TRUE(foundation::FileManager::defaultManager().createDirectoryAtPath(home_.path() + "/Library", true));
    std::ofstream(state) << "not the service's state";
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"help", "extra"}, "help takes no arguments"},
        {{"--bogus", "load"}, "unknown option \"--bogus\""},
        {{"login", "demo"}, "usage: login"},
        {{"load", "--bogus"}, "usage: load"},
        {{"refresh", "everything"}, "unknown refresh \"everything\""},
        {{"outbox", "queue", ",", "Hello", "Body"}, "at least one recipient"},
        {{"thread", "read", "twelve"}, "the thread must be a number"},
        {{"image", "http://127.0.0.1/a.png", "--scale", "0"}, "--scale needs a number above 0"},
        {{"demo", "again"}, "usage: demo"},
        {{"app", "--generate", "0,0"}, "--generate takes SESSIONS,PARTICIPANTS"},
    };
    // Another quovana holds the home: the misuse is still told as such.
    quovana::HomeLock held(home_.path());
    ASSERT_TRUE(held.held());
    for (const auto& [arguments, told] : rows) {
        CommandRun usage = run(arguments);
        EXPECT_EQ(usage.status, 2) << arguments.front() << ": " << usage.err;
        EXPECT_TRUE(contains(usage.err, told)) << usage.err;
        EXPECT_FALSE(contains(usage.err, "local meeting service")) << usage.err;
        EXPECT_TRUE(foundation::FileManager::defaultManager().fileExistsAtPath(state)) << arguments.front();
    }
}

TEST_F(CliUsageTest, HelpAndTheReadmeListTheSameOptions) {
    // The README's synopses: the commands' block and the app mode's options.
    std::ifstream file(QVA_README_FILE);
    std::string readme, line;
    bool inside = false;
    while (std::getline(file, line)) {
        if (line.rfind("    quovana [--service URL] [--home DIR] ", 0) == 0) inside = true;
        if (line.empty() || contains(line, "commands, one a line")) inside = false;
        if (inside) readme += line + "\n";
    }
    ASSERT_TRUE(contains(readme, "--calendar")) << readme;
    CommandRun help = run({"help"});
    ASSERT_EQ(help.status, 0) << help.err;
    const auto inReadme = optionsIn(readme), inHelp = optionsIn(help.out);
    for (const auto& option : inReadme) EXPECT_TRUE(inHelp.count(option)) << option << " is missing from the help";
    for (const auto& option : inHelp) EXPECT_TRUE(inReadme.count(option)) << option << " is missing from the README";
    EXPECT_TRUE(contains(help.out, "STATUS|stall")) << help.out;
}

}  // namespace
