// What the command line says to a person who gets it wrong: every misuse is
// bad usage (exit 2) told before the home is claimed or its local service
// started, and the options "quovana help" lists are the ones the README does.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/FileManager.h"
#include "foundation/StringUtils.h"
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

// The README's lines from the one that starts with `first` up to (not
// including) the first blank line, or the first line holding `last`.
std::string readmeBlock(const std::string& first, const std::string& last = "") {
    std::ifstream readme(QVA_README_FILE);
    std::string block, line;
    bool inside = false;
    while (std::getline(readme, line)) {
        if (!inside && line.rfind(first, 0) == 0) inside = true;
        if (!inside) continue;
        if (line.empty() || (!last.empty() && contains(line, last))) break;
        block += line + "\n";
    }
    return block;
}

TEST_F(CliUsageTest, MisuseIsBadUsageToldBeforeTheHomesLocalServiceStarts) {
    // A home the bundled service kept its state in, unreadably: starting
    // that service would set the file aside and say so.
    const std::string state = home_.path() + "/Library/local-service.json";
    ASSERT_TRUE(foundation::FileManager::defaultManager().createDirectoryAtPath(home_.path() + "/Library", true));
    std::ofstream(state) << "not the service's state";

    struct Row {
        std::vector<std::string> arguments;
        std::string told;
    };
    const Row rows[] = {
        {{"help", "extra"}, "help takes no arguments"},
        {{"alerts", "extra"}, "alerts takes no arguments"},
        {{"--bogus"}, "unknown option \"--bogus\""},
        {{"--bogus", "load"}, "unknown option \"--bogus\""},
        {{"login", "demo"}, "usage: login"},
        {{"load", "--bogus"}, "usage: load"},
        {{"delta", "--sometimes"}, "usage: delta"},
        {{"refresh", "everything"}, "unknown refresh \"everything\""},
        {{"outbox", "queue", "1,2", "Hello", "Body", "seven"}, "the thread must be a number"},
        {{"outbox", "queue", ",", "Hello", "Body"}, "at least one recipient"},
        {{"thread", "read", "twelve"}, "the thread must be a number"},
        {{"image", "ftp://example.org/a.png"}, "http or https"},
        {{"image", "http://127.0.0.1/a.png", "--scale", "0"}, "--scale needs a number above 0"},
    };
    for (const auto& row : rows) {
        CommandRun usage = run(row.arguments);
        const std::string name = row.arguments.front();
        EXPECT_EQ(usage.status, 2) << name << ": " << usage.err;
        EXPECT_TRUE(contains(usage.err, row.told)) << name << ": " << usage.err;
        EXPECT_FALSE(contains(usage.err, "local meeting service")) << name << ": " << usage.err;
        EXPECT_TRUE(foundation::FileManager::defaultManager().fileExistsAtPath(state)) << name;
    }
}

TEST_F(CliUsageTest, HelpAndTheReadmeListTheSameOptions) {
    CommandRun help = run({"help"});
    ASSERT_EQ(help.status, 0) << help.err;
    const std::string readme =
        readmeBlock("    quovana [--service URL] [--home DIR] [--languages en,fr] [--answer BUTTON] COMMAND") +
        readmeBlock("    quovana [--service URL] [--home DIR] app [options]", "commands, one a line");
    ASSERT_TRUE(contains(readme, "--calendar")) << "the README's synopses were not found:\n" << readme;
    const auto inReadme = optionsIn(readme);
    const auto inHelp = optionsIn(help.out);
    for (const auto& option : inReadme) EXPECT_TRUE(inHelp.count(option)) << option << " is missing from the help";
    for (const auto& option : inHelp) EXPECT_TRUE(inReadme.count(option)) << option << " is missing from the README";
    EXPECT_TRUE(contains(help.out, "STATUS|stall")) << help.out;
    // And the same commands: the first word of each synopsis line.
    auto commandsIn = [](const std::string& block) {
        std::set<std::string> commands;
        std::istringstream lines(block);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("      ", 0) == 0 && line.size() > 6 && line[6] >= 'a' && line[6] <= 'z')
                commands.insert(line.substr(6, line.find(' ', 6) - 6));
        return commands;
    };
    std::string listed = help.out.substr(help.out.find("Commands:"));
    listed = listed.substr(0, listed.find("\n\n"));
    for (size_t at = listed.find("\n  "); at != std::string::npos; at = listed.find("\n  ", at + 1))
        listed.insert(at + 1, "    ");
    EXPECT_EQ(commandsIn(readmeBlock("    quovana [--service URL] [--home DIR] [--languages en,fr] [--answer BUTTON]")),
              commandsIn(listed));

    // The app mode's own help lists its options as the README does.
    CommandRun appHelp = run({"app", "--help"});
    ASSERT_EQ(appHelp.status, 0) << appHelp.err;
    const size_t options = appHelp.out.find("Options:");
    const auto inAppHelp = optionsIn(appHelp.out.substr(options, appHelp.out.find("Commands, one a line") - options));
    auto inAppReadme =
        optionsIn(readmeBlock("    quovana [--service URL] [--home DIR] app [options]", "commands, one a line"));
    // The global options its first line shows, which "quovana help" lists.
    inAppReadme.erase("--service");
    inAppReadme.erase("--home");
    for (const auto& option : inAppReadme) EXPECT_TRUE(inAppHelp.count(option)) << option << " is missing from app --help";
    for (const auto& option : inAppHelp) EXPECT_TRUE(inAppReadme.count(option)) << option << " is missing from the README";
}

}  // namespace
