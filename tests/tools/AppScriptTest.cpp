// The app mode's script reader: how a line splits into words, where a
// comment starts, and the free text that typing and links take as it stands.
#include <gtest/gtest.h>

#include <sstream>

#include "quovana/AppScript.h"

using quovana::AppScriptLine;
using quovana::AppScriptReader;
using quovana::parseAppScriptLine;

TEST(AppScriptTest, QuotedWordsHoldBlanksAndAHashStartingAWordEndsTheLine) {
    AppScriptLine line = parseAppScriptLine("  alert \"Forgot password\"   # the second button", 4);
    EXPECT_EQ(line.number, 4u);
    EXPECT_EQ(line.words, (std::vector<std::string>{"alert", "Forgot password"}));
    EXPECT_TRUE(line.problem.empty());

    // Inside a word or inside quotes a "#" is text.
    line = parseAppScriptLine("tap button C#\t\"# 1\"", 1);
    EXPECT_EQ(line.words, (std::vector<std::string>{"tap", "button", "C#", "# 1"}));

    line = parseAppScriptLine("tap button \"Sign in", 2);
    EXPECT_TRUE(line.words.empty());
    EXPECT_FALSE(line.problem.empty());
}

TEST(AppScriptTest, FreeTextIsTheRestOfTheLineAsItStands) {
    AppScriptLine line = parseAppScriptLine("type \"Your name\"   Jo  \"the #1\"\r", 1);
    EXPECT_EQ(line.words.size(), 4u);
    EXPECT_EQ(line.textAfterWords(2), "Jo  \"the #1\"");
    EXPECT_EQ(line.textAfterWords(1), "\"Your name\"   Jo  \"the #1\"");

    line = parseAppScriptLine("link https://quovana.example/a?b=1#part", 1);
    EXPECT_EQ(line.textAfterWords(1), "https://quovana.example/a?b=1#part");
    EXPECT_EQ(line.textAfterWords(3), "");
}

TEST(AppScriptTest, TheReaderSkipsBlankAndCommentLinesAndCountsEveryLine) {
    std::istringstream in("# a script\n\n   \ntap row 1 0\r\n  # nothing\nback\nalert \"open\n");
    AppScriptReader reader(in);
    AppScriptLine line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.number, 4u);
    EXPECT_EQ(line.text, "tap row 1 0");
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.number, 6u);
    EXPECT_EQ(line.words, (std::vector<std::string>{"back"}));
    ASSERT_TRUE(reader.next(line));
    EXPECT_FALSE(line.problem.empty());
    EXPECT_FALSE(reader.next(line));
}
