// The row of a non-session agenda item; it adds nothing to the timeline item.
#include "model/QVACoreDataBaseAgendaitem.h"

// The entity adds no attributes of its own; the class exists so that rows
// of it are told apart by type.
