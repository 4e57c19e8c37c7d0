// Translation of predicates into SQL over one entity's table, where it can be
// done without changing the result: every fragment yields 0 or 1 (never
// NULL), and comparisons follow the in-memory rules of Predicate exactly.
// Anything else (key paths through other objects, ANY/ALL/NONE, comparisons
// whose outcome depends on value kinds SQL would treat differently) is left to
// in-memory evaluation: translate() then answers nothing. Internal.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "coredata/EntityDescription.h"
#include "coredata/Predicate.h"
#include "foundation/Value.h"

namespace coredata::detail {

struct SQLFragment {
    std::string sql;
    std::vector<foundation::Value> bindings;
};

// Name of the SQL function (registered by the store) that applies a string
// operator: qva_text_op(operator, options, left, right) → 0 or 1.
inline constexpr const char* kTextOperatorFunction = "qva_text_op";

// `column` quotes the column name of an attribute.
std::optional<SQLFragment> translatePredicate(const Predicate& predicate, const EntityDescription& entity,
                                              const std::function<std::string(const std::string&)>& column);

}  // namespace coredata::detail
