// When answers read from a context were read, so that they can be kept until
// the context shows something else: the context (by identity, not kept
// alive) and its content generation before the read. A save that reaches the
// context, an unsaved change in it, or another store moves the stamp out of
// date. Not thread-safe: one owner, on the context's queue.
#pragma once

#include <cstdint>
#include <memory>

#include "coredata/ManagedObjectContext.h"

class StoreReadStamp {
public:
    // True when the last stamp was taken on this context and it shows what it
    // showed then; false for a null context.
    bool isCurrent(const coredata::ContextPtr& context) const;
    // Taken just before reading: what changes during the read moves the
    // stamp out of date.
    void stamp(const coredata::ContextPtr& context);
    void clear();

private:
    std::weak_ptr<coredata::ManagedObjectContext> context_;
    uint64_t generation_ = 0;
};
