#include "app/StubScreen.h"

std::vector<std::pair<std::string, std::string>> StubScreen::stubDescriptionItems(const std::string& className) const {
    std::vector<std::pair<std::string, std::string>> items{{"stub", className}};
    if (recordedCalls_.empty()) return items;
    std::string calls;
    for (const auto& call : recordedCalls_) {
        if (!calls.empty()) calls += "; ";
        calls += call;
    }
    items.emplace_back("calls", calls);
    return items;
}
