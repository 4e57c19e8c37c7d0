// The row of a report from the meeting's news feed.
#include "model/QVACoreDataReportsDocument.h"

// The entity adds no attributes of its own; the class exists so that rows
// of it are told apart by type.
