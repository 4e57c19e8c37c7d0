// The row of a meeting request; it adds nothing to the agenda item.
#include "model/QVACoreDataMeetingRequest.h"

// The entity adds no attributes of its own; the class exists so that rows
// of it are told apart by type.
