// Predicate building, evaluation and printing. Evaluation never throws: a
// comparison that makes no sense for the values it meets is simply false.
#include "coredata/Predicate.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "coredata/KeyValueCoding.h"
#include "coredata/StringMatching.h"

namespace coredata {

using foundation::Value;

// ---- Expressions -----------------------------------------------------------

namespace {
// Passing a named absent value (not a temporary) keeps GCC's optimizer from
// a false "may be used uninitialized" about the variant inside.
const Value& noValue() {
    static const Value v;
    return v;
}
}  // namespace

ExpressionPtr Expression::constant(Value value) {
    return std::make_shared<Expression>(Kind::Constant, value, "", std::vector<ExpressionPtr>{});
}
ExpressionPtr Expression::keyPath(std::string path) {
    return std::make_shared<Expression>(Kind::KeyPath, noValue(), std::move(path), std::vector<ExpressionPtr>{});
}
ExpressionPtr Expression::evaluatedObject() {
    return std::make_shared<Expression>(Kind::EvaluatedObject, noValue(), "", std::vector<ExpressionPtr>{});
}
ExpressionPtr Expression::aggregate(std::vector<ExpressionPtr> items) {
    return std::make_shared<Expression>(Kind::Aggregate, noValue(), "", std::move(items));
}

Value Expression::evaluate(const Value& object) const {
    switch (kind_) {
        case Kind::Constant: return constant_;
        case Kind::KeyPath: return valueForKeyPath(object, keyPath_);
        case Kind::EvaluatedObject: return object;
        case Kind::Aggregate: {
            Value::Array out;
            for (const auto& item : items_) out.push_back(item->evaluate(object));
            return Value(std::move(out));
        }
    }
    return Value();
}

namespace {

std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string constantFormat(const Value& v) {
    switch (v.type()) {
        case Value::Type::Absent:
        case Value::Type::Null: return "nil";
        case Value::Type::String: return quoted(*v.string());
        case Value::Type::Date: return "CAST(" + foundation::NumberParsing::formatDouble(v.doubleValue()) + ", \"NSDate\")";
        case Value::Type::Array: {
            std::string out = "{";
            for (size_t i = 0; i < v.count(); ++i) out += (i ? ", " : "") + constantFormat(v.at(i));
            return out + "}";
        }
        default: return v.description();
    }
}

}  // namespace

std::string Expression::format() const {
    switch (kind_) {
        case Kind::Constant: return constantFormat(constant_);
        case Kind::KeyPath: {
            // A key that reads as a key word is printed escaped, so the text parses back.
            static const char* words[] = {"AND", "OR", "NOT", "IN", "BETWEEN", "CONTAINS", "BEGINSWITH", "ENDSWITH", "LIKE",
                                          "MATCHES", "ANY", "SOME", "ALL", "NONE", "TRUEPREDICATE", "FALSEPREDICATE",
                                          "NIL", "NULL", "YES", "NO", "TRUE", "FALSE"};
            std::string head = keyPath_.substr(0, keyPath_.find('.'));
            for (auto& c : head) c = char(std::toupper(static_cast<unsigned char>(c)));
            for (const char* w : words)
                if (head == w) return "#" + keyPath_;
            return keyPath_;
        }
        case Kind::EvaluatedObject: return "SELF";
        case Kind::Aggregate: {
            std::string out = "{";
            for (size_t i = 0; i < items_.size(); ++i) out += (i ? ", " : "") + items_[i]->format();
            return out + "}";
        }
    }
    return "";
}

// ---- Value comparisons -----------------------------------------------------

namespace ValueComparison {

bool equal(const Value& a, const Value& b, unsigned options) {
    if (a.isNothing() || b.isNothing()) return a.isNothing() && b.isNothing();
    // An integer meets text as SQLite meets a number with a TEXT column: by
    // its decimal text, so 42 is "42" and not "042". The SQL translation
    // binds the same text, so saved and unsaved rows answer alike.
    if (a.isString() && b.isInteger()) return *a.string() == std::to_string(b.integerValue());
    if (a.isInteger() && b.isString()) return std::to_string(a.integerValue()) == *b.string();
    if (options && a.isString() && b.isString()) return text::fold(*a.string(), options) == text::fold(*b.string(), options);
    return a == b;
}

std::optional<int> order(const Value& a, const Value& b, unsigned options) {
    auto sign = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
    if (a.isNumber() && b.isNumber()) {
        if (!a.isReal() && !b.isReal()) return sign(a.integerValue(), b.integerValue());
        double x = a.doubleValue(), y = b.doubleValue();
        if (std::isnan(x) || std::isnan(y)) return std::nullopt;
        return sign(x, y);
    }
    if (a.isString() && b.isString()) {
        if (!options) return sign(a.string()->compare(*b.string()), 0);
        return sign(text::fold(*a.string(), options).compare(text::fold(*b.string(), options)), 0);
    }
    if (a.isDate() && b.isDate()) return sign(*a.date(), *b.date());
    return std::nullopt;
}

}  // namespace ValueComparison

// ---- Predicates ------------------------------------------------------------

Predicate::Predicate(Kind kind, std::vector<PredicatePtr> subpredicates, ExpressionPtr left, PredicateOperator op,
                     ExpressionPtr right, ComparisonModifier modifier, unsigned options)
    : kind_(kind),
      subpredicates_(std::move(subpredicates)),
      left_(std::move(left)),
      right_(std::move(right)),
      op_(op),
      modifier_(modifier),
      options_(options) {
    if (kind_ == Kind::Comparison && op_ == PredicateOperator::Matches && right_->kind() == Expression::Kind::Constant &&
        right_->constantValue().isString())
        regex_ = text::compileRegex(*right_->constantValue().string(), options_);
}

namespace {
PredicatePtr make(Predicate::Kind kind, std::vector<PredicatePtr> subs = {}) {
    return std::make_shared<Predicate>(kind, std::move(subs), nullptr, PredicateOperator::EqualTo, nullptr,
                                       ComparisonModifier::Direct, 0);
}
}  // namespace

PredicatePtr Predicate::truePredicate() {
    static const PredicatePtr p = make(Kind::True);
    return p;
}
PredicatePtr Predicate::falsePredicate() {
    static const PredicatePtr p = make(Kind::False);
    return p;
}
PredicatePtr Predicate::andPredicate(std::vector<PredicatePtr> subpredicates) { return make(Kind::And, std::move(subpredicates)); }
PredicatePtr Predicate::orPredicate(std::vector<PredicatePtr> subpredicates) { return make(Kind::Or, std::move(subpredicates)); }
PredicatePtr Predicate::notPredicate(PredicatePtr subpredicate) { return make(Kind::Not, {std::move(subpredicate)}); }

PredicatePtr Predicate::comparison(ExpressionPtr left, PredicateOperator op, ExpressionPtr right, ComparisonModifier modifier,
                                   unsigned options) {
    return std::make_shared<Predicate>(Kind::Comparison, std::vector<PredicatePtr>{}, std::move(left), op, std::move(right),
                                       modifier, options);
}

bool Predicate::evaluateWithObject(const Value& object) const {
    switch (kind_) {
        case Kind::True: return true;
        case Kind::False: return false;
        case Kind::And:
            for (const auto& p : subpredicates_)
                if (!p->evaluateWithObject(object)) return false;
            return true;
        case Kind::Or:
            for (const auto& p : subpredicates_)
                if (p->evaluateWithObject(object)) return true;
            return false;
        case Kind::Not: return !subpredicates_.front()->evaluateWithObject(object);
        case Kind::Comparison: break;
    }
    Value left = left_->evaluate(object);
    Value right = right_->evaluate(object);
    if (modifier_ == ComparisonModifier::Direct) return compare(left, right);
    Value::Array single;
    const Value::Array* elements = left.array();
    if (!elements) {
        if (!left.isNothing()) single.push_back(left);
        elements = &single;
    }
    bool any = false, all = true;
    for (const auto& e : *elements) {
        bool r = compare(e, right);
        any = any || r;
        all = all && r;
    }
    switch (modifier_) {
        case ComparisonModifier::Any: return any;
        case ComparisonModifier::All: return all;
        case ComparisonModifier::None: return !any;
        default: return false;
    }
}

bool Predicate::compare(const Value& left, const Value& right) const {
    using Op = PredicateOperator;
    auto ordered = [&](auto test) {
        auto c = ValueComparison::order(left, right, options_);
        return c && test(*c);
    };
    bool strings = left.isString() && right.isString();
    switch (op_) {
        case Op::EqualTo: return ValueComparison::equal(left, right, options_);
        case Op::NotEqualTo: return !ValueComparison::equal(left, right, options_);
        case Op::LessThan: return ordered([](int c) { return c < 0; });
        case Op::LessThanOrEqualTo: return ordered([](int c) { return c <= 0; });
        case Op::GreaterThan: return ordered([](int c) { return c > 0; });
        case Op::GreaterThanOrEqualTo: return ordered([](int c) { return c >= 0; });
        case Op::BeginsWith: return strings && text::beginsWith(*left.string(), *right.string(), options_);
        case Op::EndsWith: return strings && text::endsWith(*left.string(), *right.string(), options_);
        case Op::Like: return strings && text::like(*left.string(), *right.string(), options_);
        case Op::Matches: {
            if (!strings) return false;
            if (regex_) return text::regexMatches(*regex_, *left.string());
            auto compiled = text::compileRegex(*right.string(), options_);
            return compiled && text::regexMatches(*compiled, *left.string());
        }
        case Op::In: {
            if (auto a = right.array()) {
                for (const auto& e : *a)
                    if (ValueComparison::equal(left, e, options_)) return true;
                return false;
            }
            if (auto d = right.dictionary()) {
                for (const auto& [k, e] : *d)
                    if (ValueComparison::equal(left, e, options_)) return true;
                return false;
            }
            return strings && text::contains(*right.string(), *left.string(), options_);
        }
        case Op::Contains: {
            if (strings) return text::contains(*left.string(), *right.string(), options_);
            if (auto a = left.array()) {
                for (const auto& e : *a)
                    if (ValueComparison::equal(e, right, options_)) return true;
            }
            return false;
        }
        case Op::Between: {
            if (!right.isArray() || right.count() != 2) return false;
            auto lo = ValueComparison::order(left, right.at(0), options_);
            auto hi = ValueComparison::order(left, right.at(1), options_);
            return lo && hi && *lo >= 0 && *hi <= 0;
        }
    }
    return false;
}

namespace {

const char* operatorText(PredicateOperator op) {
    switch (op) {
        case PredicateOperator::EqualTo: return "==";
        case PredicateOperator::NotEqualTo: return "!=";
        case PredicateOperator::LessThan: return "<";
        case PredicateOperator::LessThanOrEqualTo: return "<=";
        case PredicateOperator::GreaterThan: return ">";
        case PredicateOperator::GreaterThanOrEqualTo: return ">=";
        case PredicateOperator::Matches: return "MATCHES";
        case PredicateOperator::Like: return "LIKE";
        case PredicateOperator::BeginsWith: return "BEGINSWITH";
        case PredicateOperator::EndsWith: return "ENDSWITH";
        case PredicateOperator::In: return "IN";
        case PredicateOperator::Contains: return "CONTAINS";
        case PredicateOperator::Between: return "BETWEEN";
    }
    return "";
}

}  // namespace

namespace {

bool sameExpression(const ExpressionPtr& a, const ExpressionPtr& b) {
    if (a == b) return true;
    if (!a || !b || a->kind() != b->kind()) return false;
    switch (a->kind()) {
        case Expression::Kind::Constant:
            return a->constantValue().type() == b->constantValue().type() && a->constantValue() == b->constantValue();
        case Expression::Kind::KeyPath: return a->keyPath() == b->keyPath();
        case Expression::Kind::EvaluatedObject: return true;
        case Expression::Kind::Aggregate:
            return std::equal(a->items().begin(), a->items().end(), b->items().begin(), b->items().end(), sameExpression);
    }
    return false;
}

}  // namespace

bool Predicate::isEqual(const foundation::Object& other) const {
    if (this == &other) return true;
    const auto* that = dynamic_cast<const Predicate*>(&other);
    if (!that || kind_ != that->kind_ || op_ != that->op_ || modifier_ != that->modifier_ || options_ != that->options_)
        return false;
    const auto samePredicate = [](const PredicatePtr& a, const PredicatePtr& b) {
        return a == b || (a && b && a->isEqual(*b));
    };
    return std::equal(subpredicates_.begin(), subpredicates_.end(), that->subpredicates_.begin(),
                      that->subpredicates_.end(), samePredicate) &&
           sameExpression(left_, that->left_) && sameExpression(right_, that->right_);
}

std::string Predicate::predicateFormat() const {
    auto joined = [&](const char* glue) {
        std::string out;
        for (size_t i = 0; i < subpredicates_.size(); ++i) {
            const auto& p = subpredicates_[i];
            bool compound = p->kind() == Kind::And || p->kind() == Kind::Or;
            if (i) out.append(glue);
            if (compound) out.append("(").append(p->predicateFormat()).append(")");
            else out.append(p->predicateFormat());
        }
        return out;
    };
    switch (kind_) {
        case Kind::True: return "TRUEPREDICATE";
        case Kind::False: return "FALSEPREDICATE";
        case Kind::And: return subpredicates_.empty() ? "TRUEPREDICATE" : joined(" AND ");
        case Kind::Or: return subpredicates_.empty() ? "FALSEPREDICATE" : joined(" OR ");
        case Kind::Not: return "NOT (" + subpredicates_.front()->predicateFormat() + ")";
        case Kind::Comparison: break;
    }
    std::string out;
    if (modifier_ == ComparisonModifier::Any) out = "ANY ";
    if (modifier_ == ComparisonModifier::All) out = "ALL ";
    if (modifier_ == ComparisonModifier::None) out = "NONE ";
    out += left_->format() + " " + operatorText(op_);
    if (options_) {
        out += "[";
        if (options_ & ComparisonOption::CaseInsensitive) out += "c";
        if (options_ & ComparisonOption::DiacriticInsensitive) out += "d";
        out += "]";
    }
    return out + " " + right_->format();
}

}  // namespace coredata
