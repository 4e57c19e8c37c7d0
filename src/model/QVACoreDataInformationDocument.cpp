// The row of an information document of the meeting.
#include "model/QVACoreDataInformationDocument.h"

// The entity adds no attributes of its own; the class exists so that rows
// of it are told apart by type.
