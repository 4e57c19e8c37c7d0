// Layer transactions: begin, set whether implicit actions are disabled,
// commit. Layer changes are immediate either way; what was asked is recorded
// (per thread, as layers are used from one thread at a time) for tests to
// read. Nested transactions inherit the outer one's flag.
#pragma once

#include <vector>

namespace graphics {

class Transaction {
public:
    static void begin();
    // Ends the innermost open transaction; nothing when none is open.
    static void commit();
    // The innermost open transaction's flag (false outside transactions).
    static bool disableActions();
    // On the innermost open transaction; nothing when none is open.
    static void setDisableActions(bool disable);

    struct Record {
        bool disableActions = false;
        bool operator==(const Record&) const = default;
    };
    // The transactions committed on this thread, oldest first.
    static const std::vector<Record>& committed();
    static void clearCommitted();
};

}  // namespace graphics
