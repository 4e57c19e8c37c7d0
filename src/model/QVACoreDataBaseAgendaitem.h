// The row of a non-session agenda item; it adds nothing to the timeline item.
#pragma once

#include "model/QVACoreDataTimelineItem.h"

class QVACoreDataBaseAgendaitem : public QVACoreDataTimelineItem {
public:
    static constexpr const char* kEntityName = "QVACoreDataBaseAgendaitem";
};
