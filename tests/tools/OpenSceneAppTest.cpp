// "open SCENE" in "quovana app" over the demo meeting: the list scenes that
// other screens hand their list to open on their own too.
#include <gtest/gtest.h>

#include <string>

#include "foundation/StringUtils.h"
#include "tools/InProcessCommandTest.h"

namespace {

using foundation::StringUtils::contains;

class OpenSceneAppTest : public InProcessCommandTest {};

TEST_F(OpenSceneAppTest, ListScenesOpenOnTheirOwn) {
    ASSERT_EQ(run({"demo"}).status, 0);
    CommandRun app = run({"app", "--clock", "2026-06-16T10:00:00+02:00"},
                         "open DocumentsListViewController\nopen ListMessagesBaseIdentifier\n"
                         "open ListParticipantsBaseIdentifier\nopen OutboxMessagesListViewControllerIdentifier\n");
    EXPECT_EQ(app.status, 0) << app.out << app.err;
    EXPECT_FALSE(contains(app.out, "error: ")) << app.out;
    for (const char* screen : {"DocumentsListViewController", "MessagesListBaseViewController",
                               "ListParticipantsBaseViewController", "OutboxMessagesListViewController"})
        EXPECT_TRUE(contains(app.out, std::string("      screen ") + screen + " ")) << screen << "\n" << app.out;
}

}  // namespace
