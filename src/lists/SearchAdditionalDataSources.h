// What the home screen hands the global search with every cell and height
// request, so the session rows can show their location and their relation to
// the user without a store read per row: the rooms and venues as models, and
// the session ids of the personal agenda, of the sessions with a note and of
// the official programme. The people and standard rows ignore them.
#pragma once

#include <string>
#include <vector>

#include "foundation/Value.h"

struct SearchAdditionalDataSources {
    foundation::Value::Array rooms;
    foundation::Value::Array venues;
    std::vector<std::string> agendaIds;
    std::vector<std::string> noteIds;
    std::vector<std::string> officialIds;
};
