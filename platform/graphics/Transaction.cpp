// The per-thread stack of open transactions and the committed log.
#include "graphics/Transaction.h"

namespace graphics {
namespace {

thread_local std::vector<Transaction::Record> open;
thread_local std::vector<Transaction::Record> done;

}  // namespace

void Transaction::begin() {
    Record record;
    if (!open.empty()) record.disableActions = open.back().disableActions;
    open.push_back(record);
}

void Transaction::commit() {
    if (open.empty()) return;
    done.push_back(open.back());
    open.pop_back();
}

bool Transaction::disableActions() { return !open.empty() && open.back().disableActions; }

void Transaction::setDisableActions(bool disable) {
    if (!open.empty()) open.back().disableActions = disable;
}

const std::vector<Transaction::Record>& Transaction::committed() { return done; }

void Transaction::clearCommitted() { done.clear(); }

}  // namespace graphics
