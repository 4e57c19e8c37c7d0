// The start tutorial's titles and texts, "START_TUTORIAL_TITLE_0".."_5" and
// "START_TUTORIAL_TEXT_0".."_5", as entries of the app's default strings
// table: start-up merges them into the table it registers.
#pragma once

#include <map>
#include <string>

namespace StartTutorialStrings {

std::map<std::string, std::string> entries();

}  // namespace StartTutorialStrings
