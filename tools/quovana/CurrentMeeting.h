// The account and meeting the settings store holds as current, with the
// local store of that pair opened through the store front: what the commands
// that read or write the meeting's content start from.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/Value.h"
#include "quovana/CommandContext.h"

class CoreDataStack;
class QVAEvent;
class QVAUserAccount;

namespace quovana {

struct CurrentMeeting {
    std::shared_ptr<QVAUserAccount> account;
    std::shared_ptr<QVAEvent> event;
    std::optional<std::string> authToken;
    std::optional<std::string> eventId;
    // Open and cached by the store front.
    std::shared_ptr<CoreDataStack> stack;
};

// The current account, or nothing after printing why.
std::shared_ptr<QVAUserAccount> requireCurrentAccount(CommandContext& context);
// The current account and meeting with the meeting's store open, or nothing
// after printing why (no login, no meeting loaded, a store that cannot open).
std::optional<CurrentMeeting> openCurrentMeeting(CommandContext& context);

// What the store-validity map records for the pair: complete (true),
// incomplete (false: some calls that are not important failed, the rows may
// be partial), or nothing.
std::optional<bool> recordedStoreValidity(const std::shared_ptr<QVAUserAccount>& account,
                                          const std::shared_ptr<QVAEvent>& event);

// Rows of the meeting's store as dictionaries (the named fields, all when
// none), through the store front's fetch rule; main thread.
foundation::Value::Array fetchRows(const CurrentMeeting& meeting, const std::string& entityName,
                                   coredata::PredicatePtr predicate = nullptr,
                                   const std::vector<std::string>& fields = {},
                                   const std::vector<coredata::SortDescriptor>& sort = {}, size_t limit = 0);
// How many rows of the entity (and its sub-entities) the predicate selects.
size_t countRows(const CurrentMeeting& meeting, const std::string& entityName,
                 coredata::PredicatePtr predicate = nullptr);

}  // namespace quovana
