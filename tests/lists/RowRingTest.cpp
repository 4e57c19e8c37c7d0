// The row ring's edge rules, as the lists choose them: wrapping or stopping
// at the ends, crossing or stopping at empty sections, a lone row answering
// itself or nothing, and sections that start further down the table.
#include <gtest/gtest.h>

#include "lists/RowRing.h"
#include "lists/SwipeParentControllerProtocol.h"

namespace {

using uikit::NSIndexPath;

constexpr unsigned kNext = SwipeParentControllerProtocol::kNextRowDirection;
constexpr unsigned kPrevious = 1;

NSIndexPath at(int64_t row, int64_t section) { return NSIndexPath::indexPathForRow(row, section); }

RowRing::Rules withRules(bool wrap, bool skipEmptySections, int64_t fewestNext = 1, int64_t fewestPrevious = 1) {
    RowRing::Rules rules;
    rules.wrap = wrap;
    rules.skipEmptySections = skipEmptySections;
    rules.fewestRowsToWrapNext = fewestNext;
    rules.fewestRowsToWrapPrevious = fewestPrevious;
    return rules;
}

TEST(RowRingTest, StepsWithinASectionAndAcrossSectionsInTableOrder) {
    const RowRing ring({2, 1, 3});
    EXPECT_EQ(ring.step(kNext, at(0, 0)), at(1, 0));
    EXPECT_EQ(ring.step(kNext, at(1, 0)), at(0, 1));
    EXPECT_EQ(ring.step(kNext, at(0, 1)), at(0, 2));
    EXPECT_EQ(ring.step(kPrevious, at(0, 2)), at(0, 1));
    EXPECT_EQ(ring.step(kPrevious, at(0, 1)), at(1, 0));
    // Any direction but the next one steps back.
    EXPECT_EQ(ring.step(7, at(1, 0)), at(0, 0));
}

TEST(RowRingTest, WrapsAtTheEndsOrStopsThere) {
    const RowRing wrapping({2, 3});
    EXPECT_EQ(wrapping.step(kNext, at(2, 1)), at(0, 0));
    EXPECT_EQ(wrapping.step(kPrevious, at(0, 0)), at(2, 1));

    const RowRing stopping({2, 3}, 0, withRules(false, false));
    EXPECT_EQ(stopping.step(kNext, at(2, 1)), std::nullopt);
    EXPECT_EQ(stopping.step(kPrevious, at(0, 0)), std::nullopt);
    EXPECT_EQ(stopping.step(kNext, at(1, 0)), at(0, 1));
}

TEST(RowRingTest, CrossesEmptySectionsOrFindsNothingInThem) {
    const std::vector<int64_t> rows{1, 0, 0, 2, 0};
    const RowRing crossing(rows, 0, withRules(true, true));
    EXPECT_EQ(crossing.step(kNext, at(0, 0)), at(0, 3));
    EXPECT_EQ(crossing.step(kNext, at(1, 3)), at(0, 0));
    EXPECT_EQ(crossing.step(kPrevious, at(0, 3)), at(0, 0));
    EXPECT_EQ(crossing.step(kPrevious, at(0, 0)), at(1, 3));

    const RowRing stopping(rows, 0, withRules(true, false));
    EXPECT_EQ(stopping.step(kNext, at(0, 0)), std::nullopt);
    EXPECT_EQ(stopping.step(kNext, at(0, 3)), at(1, 3));
}

TEST(RowRingTest, ALoneRowAnswersItselfOrNothingAsTheRulesSay) {
    EXPECT_EQ(RowRing({1}).step(kNext, at(0, 0)), at(0, 0));
    EXPECT_EQ(RowRing({1}).step(kPrevious, at(0, 0)), at(0, 0));
    // The flat lists' rule: itself going next, nothing going back.
    const RowRing flat({1}, 0, withRules(true, false, 1, 2));
    EXPECT_EQ(flat.step(kNext, at(0, 0)), at(0, 0));
    EXPECT_EQ(flat.step(kPrevious, at(0, 0)), std::nullopt);
    // Among empty sections too, when they are crossed.
    const RowRing crossing({0, 1, 0}, 0, withRules(true, true, 2, 2));
    EXPECT_EQ(crossing.step(kNext, at(0, 1)), std::nullopt);
    EXPECT_EQ(RowRing({0, 1, 0}, 0, withRules(true, true)).step(kPrevious, at(0, 1)), at(0, 1));
    // Two rows wrap under the same rule.
    EXPECT_EQ(RowRing({2}, 0, withRules(true, false, 2, 2)).step(kNext, at(1, 0)), at(0, 0));
}

TEST(RowRingTest, SectionsMayStartFurtherDownTheTable) {
    const RowRing ring({2, 0, 1}, 3, withRules(true, true));
    EXPECT_EQ(ring.step(kNext, at(1, 3)), at(0, 5));
    EXPECT_EQ(ring.step(kNext, at(0, 5)), at(0, 3));
    EXPECT_FALSE(ring.contains(at(0, 0)));
    EXPECT_EQ(ring.step(kNext, at(0, 2)), std::nullopt);
}

TEST(RowRingTest, AnIndexPathOutsideTheRowsFindsNothing) {
    const RowRing ring({2, 3});
    EXPECT_EQ(ring.step(kNext, at(2, 0)), std::nullopt);
    EXPECT_EQ(ring.step(kPrevious, at(-1, 0)), std::nullopt);
    EXPECT_EQ(ring.step(kNext, at(0, 2)), std::nullopt);
    EXPECT_EQ(RowRing(std::vector<int64_t>{}).step(kNext, at(0, 0)), std::nullopt);
    EXPECT_EQ(RowRing({0}).step(kNext, at(0, 0)), std::nullopt);
}

TEST(RowRingTest, CountsRowsBySection) {
    const RowRing ring([](int64_t section) { return section; }, 3);
    EXPECT_FALSE(ring.contains(at(0, 0)));
    EXPECT_TRUE(ring.contains(at(1, 2)));
    EXPECT_EQ(ring.step(kNext, at(0, 1)), at(0, 2));
    EXPECT_EQ(ring.step(kNext, at(1, 2)), std::nullopt);
}

}  // namespace
