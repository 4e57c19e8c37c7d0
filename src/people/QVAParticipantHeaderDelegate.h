// What the participant header asks of the screen showing it: follow or
// unfollow the participant, and open the participant's organisation.
#pragma once

class QVAParticipantHeaderDelegate {
public:
    virtual ~QVAParticipantHeaderDelegate() = default;
    virtual void changeFollowedStatusTo(bool followed) = 0;
    virtual void showOrganizationDetail() = 0;
};
