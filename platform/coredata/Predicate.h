// Predicates: conditions over objects, built once from the platform's format
// strings ("code == %@ AND granted == YES") or composed from other
// predicates, then evaluated any number of times against managed objects,
// dictionaries, KeyValueCoding objects or plain values (SELF). A predicate is
// immutable and may be shared between threads.
//
// Comparison semantics (the store's SQL translation keeps the same ones):
// nil equals only nil; numbers compare by value across Booleans, integers and
// reals; strings compare by code point, or after case and/or diacritic folding
// with [c], [d], [cd]; ordering between values of different kinds, or with
// nil, is false; string operators on non-strings are false.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "foundation/Object.h"
#include "foundation/Value.h"

namespace coredata {

namespace text {
struct CompiledRegex;
}

class Expression;
using ExpressionPtr = std::shared_ptr<const Expression>;

class Expression {
public:
    enum class Kind { Constant, KeyPath, EvaluatedObject, Aggregate };

    static ExpressionPtr constant(foundation::Value value);
    static ExpressionPtr keyPath(std::string path);
    static ExpressionPtr evaluatedObject();
    static ExpressionPtr aggregate(std::vector<ExpressionPtr> items);

    Kind kind() const { return kind_; }
    const foundation::Value& constantValue() const { return constant_; }
    const std::string& keyPath() const { return keyPath_; }
    const std::vector<ExpressionPtr>& items() const { return items_; }

    foundation::Value evaluate(const foundation::Value& object) const;
    std::string format() const;

    Expression(Kind kind, const foundation::Value& constant, std::string keyPath, std::vector<ExpressionPtr> items)
        : kind_(kind), constant_(constant), keyPath_(std::move(keyPath)), items_(std::move(items)) {}

private:
    Kind kind_;
    foundation::Value constant_;
    std::string keyPath_;
    std::vector<ExpressionPtr> items_;
};

enum class PredicateOperator {
    EqualTo,
    NotEqualTo,
    LessThan,
    LessThanOrEqualTo,
    GreaterThan,
    GreaterThanOrEqualTo,
    Matches,
    Like,
    BeginsWith,
    EndsWith,
    In,
    Contains,
    Between
};
enum class ComparisonModifier { Direct, Any, All, None };
namespace ComparisonOption {
inline constexpr unsigned CaseInsensitive = 1;
inline constexpr unsigned DiacriticInsensitive = 2;
}  // namespace ComparisonOption

// One argument of a format: anything a Value holds, and arrays and sets of
// such things (for "%K IN %@").
class PredicateArgument {
public:
    template <class T, std::enable_if_t<std::is_constructible_v<foundation::Value, const T&> &&
                                            !std::is_same_v<T, foundation::Value::Array>,
                                        int> = 0>
    PredicateArgument(const T& v) : v_(foundation::Value(v)) {}
    template <class T>
    PredicateArgument(const std::vector<T>& items) : v_(toArray(items)) {}
    template <class T>
    PredicateArgument(const std::set<T>& items) : v_(toArray(items)) {}
    const foundation::Value& value() const { return v_; }

private:
    template <class C>
    static foundation::Value toArray(const C& items) {
        foundation::Value::Array out;
        for (const auto& i : items) out.push_back(PredicateArgument(i).value());
        return foundation::Value(std::move(out));
    }
    foundation::Value v_;
};

class Predicate;
using PredicatePtr = std::shared_ptr<const Predicate>;

class Predicate : public foundation::Object {
public:
    enum class Kind { True, False, Comparison, And, Or, Not };

    // Parses a format with its arguments: %@ (any value), %K (a key path),
    // %d %i %ld %lu (integers), %f (a real). A malformed format, or too few
    // arguments, raises kPredicateFormatException naming the format.
    template <class... A>
    static PredicatePtr withFormat(std::string_view format, const A&... args) {
        return withFormatArguments(format, std::vector<foundation::Value>{PredicateArgument(args).value()...});
    }
    static PredicatePtr withFormatArguments(std::string_view format, const std::vector<foundation::Value>& args);

    static PredicatePtr truePredicate();
    static PredicatePtr falsePredicate();
    static PredicatePtr andPredicate(std::vector<PredicatePtr> subpredicates);
    static PredicatePtr orPredicate(std::vector<PredicatePtr> subpredicates);
    static PredicatePtr notPredicate(PredicatePtr subpredicate);
    static PredicatePtr comparison(ExpressionPtr left, PredicateOperator op, ExpressionPtr right,
                                   ComparisonModifier modifier = ComparisonModifier::Direct, unsigned options = 0);

    bool evaluateWithObject(const foundation::Value& object) const;

    Kind kind() const { return kind_; }
    const std::vector<PredicatePtr>& subpredicates() const { return subpredicates_; }
    const ExpressionPtr& leftExpression() const { return left_; }
    const ExpressionPtr& rightExpression() const { return right_; }
    PredicateOperator operatorType() const { return op_; }
    ComparisonModifier comparisonModifier() const { return modifier_; }
    unsigned options() const { return options_; }

    std::string predicateFormat() const;
    // Built alike: the same kinds, operators, modifiers, options and key
    // paths throughout, and constants of the same type and value.
    bool isEqual(const foundation::Object& other) const override;
    std::string className() const override { return "NSPredicate"; }
    std::string description() const override { return predicateFormat(); }

    Predicate(Kind kind, std::vector<PredicatePtr> subpredicates, ExpressionPtr left, PredicateOperator op,
              ExpressionPtr right, ComparisonModifier modifier, unsigned options);

private:
    bool compare(const foundation::Value& left, const foundation::Value& right) const;

    Kind kind_;
    std::vector<PredicatePtr> subpredicates_;
    ExpressionPtr left_, right_;
    PredicateOperator op_ = PredicateOperator::EqualTo;
    ComparisonModifier modifier_ = ComparisonModifier::Direct;
    unsigned options_ = 0;
    // A MATCHES pattern given as a constant, compiled once.
    std::shared_ptr<const text::CompiledRegex> regex_;
};

// The comparisons of predicates, shared with sort descriptors and the store's
// SQL functions. `options` are ComparisonOption bits.
namespace ValueComparison {
bool equal(const foundation::Value& a, const foundation::Value& b, unsigned options = 0);
// Negative, zero or positive; nullopt when the two cannot be ordered.
std::optional<int> order(const foundation::Value& a, const foundation::Value& b, unsigned options = 0);
}  // namespace ValueComparison

}  // namespace coredata
