// The gallery's "Home title view" page: the title block, the message over
// the second block, and the session row's looks with their outlets and
// constraints.
#include <gtest/gtest.h>

#include <string>

#include "quovana/Gallery.h"
#include "quovana/GalleryHomeTitle.h"
#include "support/ScreenTest.h"
#include "uikit/UIStoryboard.h"

namespace {

class GalleryHomeTitleTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        showRoot(quovana::registerGalleryStoryboard()->instantiateInitialViewController());
    }
};

TEST_F(GalleryHomeTitleTest, ThePageShowsTheTitleBlocksAndEachLookOfTheSessionRow) {
    ASSERT_TRUE(tapRow(1, quovana::kGalleryHomeTitleRow));
    const std::string page = dump();
    auto shows = [&](const std::string& fragment) { return page.find(fragment) != std::string::npos; };
    EXPECT_TRUE(shows("GalleryHomeTitleViewController \"Home title view\"")) << page;
    // The block's layout rules are the title view's own tests; here, that the page shows it.
    EXPECT_TRUE(shows("view #plainTitle SpotlightTitleView meetingNameLabel=(")) << page;
    EXPECT_TRUE(shows("label #meetingDescriptionLabel - hidden")) << page;
    EXPECT_TRUE(shows("text-view #importantMessage \"Snow on Thursday: new shuttle times at "
                      "https://example.org/shuttles\""))
        << page;
    EXPECT_TRUE(shows("subactivityTitle=\"Press briefing\"(struck) subactivityTime=\"Tue 20 Jan 11:00 - 11:30\"(struck)"))
        << page;
    EXPECT_TRUE(shows("h=93 SubactivityCell invitationLabelHeightContraint=17 invitationLabelTopContraint=5")) << page;
    EXPECT_TRUE(shows("invitationLabel=\"Invitation received for:\"")) << page;
    EXPECT_TRUE(shows("sessionImage=image:personal_entry.png personalNotesImage=image:note.png")) << page;
    EXPECT_TRUE(shows("sessionImage=image:session_in_agenda.png personalNotesImage=image:-(hidden)")) << page;
    ASSERT_TRUE(back());
}

}  // namespace
