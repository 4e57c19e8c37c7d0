// Commands end only once what they wrote is in the store files: a write
// completes when the screens can see it, but its file save runs later, and a
// process that exits first loses it.
#pragma once

#include "foundation/Error.h"
#include "quovana/CommandContext.h"

namespace quovana {

// Pumps until every pending store save reached its file. Answers the
// failure (or a time-out as an error), none when all is written.
foundation::ErrorPtr awaitStoreFiles(CommandContext& context);

// The same for a command about to report success: false after printing why
// the store files could not be written.
bool storeFilesWritten(CommandContext& context);

}  // namespace quovana
