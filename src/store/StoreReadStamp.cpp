#include "store/StoreReadStamp.h"

bool StoreReadStamp::isCurrent(const coredata::ContextPtr& context) const {
    return context && context_.lock() == context && context->contentGeneration() == generation_;
}

void StoreReadStamp::stamp(const coredata::ContextPtr& context) {
    context_ = context;
    generation_ = context ? context->contentGeneration() : 0;
}

void StoreReadStamp::clear() {
    context_.reset();
    generation_ = 0;
}
