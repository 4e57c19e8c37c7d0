// The sessions a participant contributes to, as one flat list ordered as the
// simple session list. Four entities feed it, in order of precedence: the
// user's agenda selections, responsibilities and invitations, then the
// official sessions, so the user's own record of a session wins when the
// list keeps one row per session. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "programme/ProgrammeListDelegate.h"

class ParticipantContributionsListDelegate : public ProgrammeListDelegate {
public:
    Text sectionNameKeyPath() override { return std::nullopt; }
    SortDescriptors sortDescriptors() override;
    std::optional<std::vector<std::shared_ptr<ListSelectionModel>>> listSelectionModelEntities() override;

    std::string className() const { return "ParticipantContributionsListDelegate"; }
};
