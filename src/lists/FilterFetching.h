// The store reads the filters and search scopes share: dictionary and count
// fetches through the store front on a stack's main-queue context, the
// session ids a participant's contributions name, and the test that a stored
// value, trimmed, is the one a person picked from an offered list. Main
// thread only, as every fetch of the store front.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "coredata/Predicate.h"
#include "foundation/Value.h"

class CoreDataStack;

namespace FilterFetching {

struct Query {
    std::string entityName;
    coredata::PredicatePtr predicate = {};
    // Only these attributes (all when empty), as dictionaries.
    std::vector<std::string> properties = {};
    bool distinct = false;
    // Ascending by this attribute, when given.
    std::optional<std::string> sortKey = {};
};

// The stack of the current account and meeting, or null.
std::shared_ptr<CoreDataStack> currentStack();

// Dictionary rows; none without a stack.
foundation::Value::Array fetchDictionaries(const std::shared_ptr<CoreDataStack>& stack, const Query& query);
// Managed objects, for the reads that need each row's entity.
foundation::Value::Array fetchObjects(const std::shared_ptr<CoreDataStack>& stack, const std::string& entityName,
                                      coredata::PredicatePtr predicate);
// How many rows match; 0 without a stack.
size_t count(const std::shared_ptr<CoreDataStack>& stack, const std::string& entityName,
             coredata::PredicatePtr predicate);

// The texts under `key`, in row order, skipping rows without a text.
std::vector<std::string> texts(const foundation::Value::Array& rows, const std::string& key);

// Adds the first field of each ";"-separated entry, its fields joined by "|"
// (a session id, ..., the contribution type).
void addSessionIdsOfContributions(const std::string& contributions, std::set<std::string>& sessionIds);

// The stored value without blanks and tabs at its ends equals the chosen one,
// letter case and accents aside.
bool trimmedValueMatches(const std::string& stored, const std::string& chosen);

}  // namespace FilterFetching
