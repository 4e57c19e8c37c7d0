// The local service's meetings of every small size: `quovana app --generate`
// and `quovana-service --generate` make them, and a session wanting more
// contributors than the meeting has participants must not wait for them.
#include <gtest/gtest.h>

#include <algorithm>

#include "service/MeetingGenerator.h"

namespace {

using testservice::MeetingKind;

TEST(MeetingGeneratorSizesTest, EverySmallMeetingIsMadeWithItsSessionsAndContributorsAmongItsParticipants) {
    for (int sessions = 1; sessions <= 10; ++sessions) {
        for (int participants = 1; participants <= 10; ++participants) {
            SCOPED_TRACE(testing::Message() << sessions << "," << participants);
            const auto meeting = testservice::generateMeeting({.sessions = sessions, .participants = participants});
            const size_t people = meeting.items(MeetingKind::Participants).size();
            EXPECT_EQ(people, static_cast<size_t>(std::max(2, participants)));
            ASSERT_EQ(meeting.items(MeetingKind::Sessions).size(), static_cast<size_t>(sessions));
            for (const auto& session : meeting.items(MeetingKind::Sessions)) {
                const auto* contributors = session["contributors"].array();
                ASSERT_NE(contributors, nullptr);
                EXPECT_GE(contributors->size(), 1u);
                EXPECT_LE(contributors->size(), people);
            }
        }
    }
}

}  // namespace
