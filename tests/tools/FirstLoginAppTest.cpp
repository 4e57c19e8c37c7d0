// A person's first login through the app mode, on the phone and the pad:
// the start tutorial over the loading screen shows its pages and survives
// a scroll and "Skip", the home screen follows, and a personal entry opened
// from the home screen's "Coming up" can be edited and saved.
#include <gtest/gtest.h>

#include <string>

#include "foundation/StringUtils.h"
#include "tools/InProcessCommandTest.h"

namespace {

using foundation::StringUtils::contains;

class FirstLoginAppTest : public InProcessCommandTest {};

// The dump printed after the command headed "== command ==".
std::string dumpAfter(const std::string& out, const std::string& command) {
    const std::string heading = "== " + command + " ==\n";
    auto start = out.find(heading);
    if (start == std::string::npos) return {};
    start += heading.size();
    auto end = out.find("\n== ", start);
    return out.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Logs in, scrolls the tutorial's pager one page of that width, taps
// "Skip" once it has faded in at the end of the download and lets the
// loading screen slide away.
std::string firstLogin(int pageWidth) {
    return "type Username demo\n"
           "type Password quovana-demo\n"
           "tap row 1 0\n"
           "scroll " + std::to_string(pageWidth) + ",0 --view scrollView\n"
           "advance 1.5\n"
           "tap button Skip\n"
           "advance 11\n";
}

void expectTutorialThenHome(const CommandRun& run, int pageWidth, const char* homeRoot) {
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string loading = dumpAfter(run.out, "tap row 1 0");
    for (const char* title : {"WELCOME", "PLAN YOUR DAYS", "STAY INFORMED"})
        EXPECT_TRUE(contains(loading, title)) << title << "\n" << loading;
    const std::string scrolled = dumpAfter(run.out, "scroll " + std::to_string(pageWidth) + ",0 --view scrollView");
    EXPECT_TRUE(contains(scrolled, "page-control 1/6")) << scrolled;
    EXPECT_TRUE(contains(dumpAfter(run.out, "tap button Skip"), "presented LoadingViewController"));
    EXPECT_TRUE(contains(dumpAfter(run.out, "advance 11"), std::string("window root=") + homeRoot));
}

TEST_F(FirstLoginAppTest, ThePhonesTutorialScrollsAndSkipsToTheHomeWhereAPersonalEntryIsEdited) {
    const CommandRun run = this->run({"app", "--clock", "2026-06-15T06:00:00+02:00"},
                                     firstLogin(375) +
                                         "tap row 3 0\n"
                                         "tap item Edit\n"
                                         "type subjectTextField Early\n"
                                         "tap item Save\n");
    expectTutorialThenHome(run, 375, "EventsTabBarController");
    // The demo's first "Coming up" row before the meeting is a personal entry.
    EXPECT_TRUE(contains(dumpAfter(run.out, "tap row 3 0"), "bar - back=\"Home\" right=[Remove on][Edit on]"));
    const std::string editor = dumpAfter(run.out, "tap item Edit");
    EXPECT_TRUE(contains(editor, "stack 2 AddPersonalEntryViewController")) << editor;
    EXPECT_TRUE(contains(editor, "right=[Save on]")) << editor;
    const std::string saved = dumpAfter(run.out, "tap item Save");
    EXPECT_FALSE(contains(saved, "stack 2 AddPersonalEntryViewController")) << saved;
    EXPECT_TRUE(contains(saved, "event: Update personal entry")) << saved;
}

TEST_F(FirstLoginAppTest, ThePadsTutorialScrollsAndSkipsToTheSplitView) {
    const CommandRun run =
        this->run({"app", "--idiom", "pad", "--orientation", "portrait", "--clock", "2026-06-16T10:00:00+02:00"},
                  firstLogin(768));
    expectTutorialThenHome(run, 768, "EventsSplitViewController");
}

}  // namespace
