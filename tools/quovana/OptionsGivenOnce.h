// The options of one command line that take effect once: a second one of the
// same name would leave one of the two silently unused, so it is refused.
// Options made to be repeated (the app mode's --fault, the svg command's
// --floor) are not handed here.
#pragma once

#include <set>
#include <string>

namespace quovana {

class OptionsGivenOnce {
public:
    // Empty the first time `option` is seen; after that, the message that
    // refuses it.
    std::string repeated(const std::string& option) {
        if (seen_.insert(option).second) return {};
        return option + " is given twice; give it once";
    }

private:
    std::set<std::string> seen_;
};

}  // namespace quovana
