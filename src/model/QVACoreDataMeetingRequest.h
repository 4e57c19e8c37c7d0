// The row of a meeting request; it adds nothing to the agenda item.
#pragma once

#include "model/QVACoreDataBaseAgendaitem.h"

class QVACoreDataMeetingRequest : public QVACoreDataBaseAgendaitem {
public:
    static constexpr const char* kEntityName = "QVACoreDataMeetingRequest";
};
