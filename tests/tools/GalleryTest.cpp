// The gallery driven as a person would, through the screen driver: the push
// row and back, the alert item, typing into the name field, and the slide's
// timing on the virtual clock.
#include <gtest/gtest.h>

#include <string>

#include "foundation/Log.h"
#include "quovana/Gallery.h"
#include "quovana/GalleryEffects.h"
#include "support/ScreenTest.h"
#include "uikit/AlertStack.h"
#include "uikit/UIStoryboard.h"

namespace {

size_t countLines(const foundation::ScopedLogCapture& log, const std::string& fragment) {
    size_t count = 0;
    for (const auto& line : log.lines()) count += line.find(fragment) != std::string::npos;
    return count;
}

class GalleryTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        showRoot(quovana::registerGalleryStoryboard()->instantiateInitialViewController());
    }

    bool shows(const std::string& fragment) const { return dump().find(fragment) != std::string::npos; }
};

TEST_F(GalleryTest, ThePushRowShowsTheSecondScreenAndBackReturns) {
    const std::string root = dump();
    ASSERT_TRUE(tapRow(1, 0));
    EXPECT_TRUE(shows("GallerySecondViewController")) << dump();
    ASSERT_TRUE(back());
    EXPECT_EQ(dump(), root);
    EXPECT_FALSE(back());  // the root has no back button
}

TEST_F(GalleryTest, TheAlertItemListsTheAlertAndItsSecondButtonIsCancel) {
    foundation::ScopedLogCapture log;
    ASSERT_TRUE(tapItem("Alert"));
    EXPECT_TRUE(shows("alert \"Gallery\"")) << dump();
    ASSERT_TRUE(alert("1"));
    EXPECT_TRUE(log.contains("gallery: the alert was answered with Cancel"));
    EXPECT_TRUE(uikit::AlertStack::shared().entries().empty());
    EXPECT_FALSE(alert("1"));
}

TEST_F(GalleryTest, TypingIntoTheNameFieldAsksItsDelegateOncePerCharacter) {
    foundation::ScopedLogCapture log;
    ASSERT_TRUE(type("Name", "Jo"));
    EXPECT_EQ(countLines(log, "the name field may change"), 2u);
    EXPECT_TRUE(log.contains("may change at 1 by \"o\""));
    EXPECT_FALSE(type("No such field", "x"));
}

TEST_F(GalleryTest, TheSlidesCompletionRunsAfterItsDelayAndDurationOnly) {
    foundation::ScopedLogCapture log;
    ASSERT_TRUE(tapRow(1, 1));
    EXPECT_TRUE(log.contains("gallery: the slide starts"));
    advance(10.2);
    EXPECT_FALSE(log.contains("gallery: the slide finished"));
    advance(0.1);
    EXPECT_TRUE(log.contains("gallery: the slide finished (done)"));
}

TEST_F(GalleryTest, TheEffectsPageShowsBadgesOverItsSegmentsAndHTMLAsText) {
    ASSERT_TRUE(tapRow(1, quovana::kGalleryEffectsRow));
    const std::string page = dump();
    EXPECT_TRUE(shows("GalleryEffectsViewController \"Effects and badges\"")) << page;
    EXPECT_TRUE(shows("segmented #badgedSegments [Inbox*] [Sent] [Drafts]")) << page;
    // The first of three segments of 335 points ends at 111.667.
    EXPECT_TRUE(shows("view CountBadge \"3\" frame=91.6667,-5,25x25")) << page;
    EXPECT_TRUE(shows("view CountBadge \"12\" frame=")) << page;
    EXPECT_TRUE(shows("label #htmlText \"Fish & chips at noon \u2013 bring\u00a0a\u00a0friend\"")) << page;
    EXPECT_TRUE(shows("label \"Red tint\"")) << page;
    ASSERT_TRUE(back());
}

}  // namespace
