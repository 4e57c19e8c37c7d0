#include "app/StartTutorialStrings.h"

#include <array>
#include <utility>

namespace StartTutorialStrings {

namespace {

constexpr std::array<std::pair<const char*, const char*>, 6> kPages{{
    {"Welcome", "Everything about the meeting in your pocket: the programme, the people and the places."},
    {"Plan your days", "Browse the programme, add sessions to your agenda and watch the ones you are not sure about."},
    {"Meet the people",
     "Find participants and organisations, star the ones you want to meet and see where they speak."},
    {"Stay in touch", "Read the organisers' messages and write to other participants from the app."},
    {"Find your way", "Floor plans and maps show every room, and the home page tells you what comes next."},
    {"Stay informed", "Allow notifications so that you hear about changes to the programme as they happen."},
}};

}  // namespace

std::map<std::string, std::string> entries() {
    std::map<std::string, std::string> table;
    for (size_t page = 0; page < kPages.size(); ++page) {
        table["START_TUTORIAL_TITLE_" + std::to_string(page)] = kPages[page].first;
        table["START_TUTORIAL_TEXT_" + std::to_string(page)] = kPages[page].second;
    }
    return table;
}

}  // namespace StartTutorialStrings
