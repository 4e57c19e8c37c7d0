// The home screen's search kinds as the application registers them at
// start-up, in the results' section order: sessions, participants,
// organisations, partners, agenda entries, venues, rooms. Again replaces
// them. Main thread only.
#pragma once

namespace AppSearchEntities {

void registerSearchEntities();

}  // namespace AppSearchEntities
