// The app mode's script reader: how a line splits into words, where a
// comment starts, and the free text that typing and searching take.
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

TEST(AppScriptTest, FreeTextDropsTheQuotesKeepsQuotedBlanksAndEndsAtAComment) {
    AppScriptLine line = parseAppScriptLine("type Subject \"Lunch with \xC3\x89mile\"  # to the chair\r", 1);
    EXPECT_EQ(line.wordsFrom(2), "Lunch with \xC3\x89mile");

    line = parseAppScriptLine("type Username \"   \"", 1);
    EXPECT_EQ(line.wordsFrom(2), "   ");

    line = parseAppScriptLine("search  Jo   Smith", 1);
    EXPECT_EQ(line.wordsFrom(1), "Jo Smith");
    EXPECT_EQ(line.wordsFrom(3), "");

    line = parseAppScriptLine("link https://quovana.example/a?b=1#part", 1);
    EXPECT_EQ(line.wordsFrom(1), "https://quovana.example/a?b=1#part");
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
