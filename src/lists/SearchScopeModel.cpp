#include "lists/SearchScopeModel.h"

#include <string_view>
#include <vector>

namespace {

// Blanks, tabs and hyphens; line breaks are kept.
constexpr std::string_view kTrimmed = " \t-";
constexpr std::string_view kSeparators = " -";

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(kTrimmed);
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(kTrimmed);
    return text.substr(first, last - first + 1);
}

// Every blank and every hyphen separates; runs give empty pieces.
std::vector<std::string> pieces(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        const auto at = text.find_first_of(kSeparators, start);
        out.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return out;
        start = at + 1;
    }
}

coredata::PredicatePtr containing(const std::string& property, const std::string& word) {
    return coredata::Predicate::withFormat("%K contains[cd] %@", property, word);
}

}  // namespace

SearchScopeModel::SearchScopeModel(Text propertyName, Text displayName)
    : propertyName_(std::move(propertyName)), displayName_(std::move(displayName)) {}

std::shared_ptr<SearchScopeModel> SearchScopeModel::initWithPropertyName(Text propertyName, Text displayName) {
    return std::make_shared<SearchScopeModel>(std::move(propertyName), std::move(displayName));
}

coredata::PredicatePtr SearchScopeModel::filterPredicateWithCoreDataStack(const StackPtr& stack,
                                                                          const std::string& searchText) const {
    (void)stack;
    const Text property = propertyName();
    if (!property) return coredata::Predicate::falsePredicate();
    const std::string text = trimmed(searchText);
    if (text.find_first_of(kSeparators) == std::string::npos) return containing(*property, text);
    auto result = coredata::Predicate::truePredicate();
    for (const auto& word : pieces(text)) {
        if (word.empty()) continue;
        result = coredata::Predicate::andPredicate({result, containing(*property, word)});
    }
    return result;
}
