// Predicate → SQL. Stored values are coerced to their attribute's type and
// columns carry no type affinity, so SQLite never converts between text and
// numbers behind our back; what is left to decide here is which comparisons
// can be answered by SQL with the in-memory outcome, including for NULL.
#include "coredata/SQLPredicate.h"

namespace coredata::detail {

using foundation::Value;
using Op = PredicateOperator;

namespace {

enum class Cls { Nothing, String, Number, Date, Data, Other };

Cls attributeClass(AttributeType t) {
    switch (t) {
        case AttributeType::String: return Cls::String;
        case AttributeType::Date: return Cls::Date;
        case AttributeType::Binary: return Cls::Data;
        default: return Cls::Number;
    }
}

Cls valueClass(const Value& v) {
    if (v.isNothing()) return Cls::Nothing;
    if (v.isString()) return Cls::String;
    if (v.isNumber()) return Cls::Number;
    if (v.isDate()) return Cls::Date;
    if (v.isData()) return Cls::Data;
    return Cls::Other;
}

struct Side {
    enum Kind { Column, Constant, Self, Unknown } kind = Unknown;
    const AttributeDescription* attribute = nullptr;
    Value value;
};

class Translator {
public:
    Translator(const EntityDescription& entity, const std::function<std::string(const std::string&)>& column)
        : entity_(entity), column_(column) {}

    std::optional<std::string> predicate(const Predicate& p) {
        switch (p.kind()) {
            case Predicate::Kind::True: return "1";
            case Predicate::Kind::False: return "0";
            case Predicate::Kind::And:
            case Predicate::Kind::Or: {
                bool isAnd = p.kind() == Predicate::Kind::And;
                if (p.subpredicates().empty()) return isAnd ? "1" : "0";
                std::string out = "(";
                for (size_t i = 0; i < p.subpredicates().size(); ++i) {
                    auto part = predicate(*p.subpredicates()[i]);
                    if (!part) return std::nullopt;
                    out += (i ? (isAnd ? " AND " : " OR ") : "") + *part;
                }
                return out + ")";
            }
            case Predicate::Kind::Not: {
                auto inner = predicate(*p.subpredicates().front());
                if (!inner) return std::nullopt;
                return "(NOT " + *inner + ")";
            }
            case Predicate::Kind::Comparison: return comparison(p);
        }
        return std::nullopt;
    }

    std::vector<Value> bindings;

private:
    Side side(const Expression& e) const {
        Side s;
        switch (e.kind()) {
            case Expression::Kind::Constant:
                s.kind = Side::Constant;
                s.value = e.constantValue();
                return s;
            case Expression::Kind::EvaluatedObject: s.kind = Side::Self; return s;
            case Expression::Kind::KeyPath: {
                std::string path = e.keyPath();
                if (path.rfind("SELF.", 0) == 0) path = path.substr(5);
                if (path.find('.') != std::string::npos) return s;
                if ((s.attribute = entity_.attributeNamed(path))) s.kind = Side::Column;
                return s;
            }
            default: return s;
        }
    }

    std::string bind(const Value& v) {
        bindings.push_back(v);
        return "?";
    }

    std::string textOp(Op op, unsigned options, const std::string& col, const Value& right) {
        return std::string(kTextOperatorFunction) + "(" + std::to_string(int(op)) + "," + std::to_string(options) + "," + col +
               "," + bind(right) + ")";
    }

    static const char* sqlOperator(Op op) {
        switch (op) {
            case Op::LessThan: return "<";
            case Op::LessThanOrEqualTo: return "<=";
            case Op::GreaterThan: return ">";
            case Op::GreaterThanOrEqualTo: return ">=";
            default: return nullptr;
        }
    }

    static Op mirrored(Op op) {
        switch (op) {
            case Op::LessThan: return Op::GreaterThan;
            case Op::LessThanOrEqualTo: return Op::GreaterThanOrEqualTo;
            case Op::GreaterThan: return Op::LessThan;
            case Op::GreaterThanOrEqualTo: return Op::LessThanOrEqualTo;
            default: return op;
        }
    }

    std::optional<std::string> equality(const std::string& col, Cls ca, const Value& c, unsigned options) {
        Cls cc = valueClass(c);
        if (cc == Cls::Nothing) return "(" + col + " IS NULL)";
        if (cc == Cls::Other) return std::nullopt;
        if (options && ca == Cls::String && cc == Cls::String) return textOp(Op::EqualTo, options, col, c);
        // An integer meets a text column by its decimal text, as in memory.
        if (ca == Cls::String && c.isInteger()) return "(" + col + " IS " + bind(Value(std::to_string(c.integerValue()))) + ")";
        if (ca != cc) return "0";
        return "(" + col + " IS " + bind(c) + ")";
    }

    std::string ordering(const std::string& col, Cls ca, Op op, const Value& c, unsigned options) {
        Cls cc = valueClass(c);
        if (ca != cc || (ca != Cls::String && ca != Cls::Number && ca != Cls::Date)) return "0";
        if (options && ca == Cls::String) return textOp(op, options, col, c);
        return std::string("IFNULL(") + col + " " + sqlOperator(op) + " " + bind(c) + ",0)";
    }

    std::optional<std::string> columnConstant(Op op, const AttributeDescription& a, const Value& c, unsigned options) {
        std::string col = column_(a.name);
        Cls ca = attributeClass(a.type);
        switch (op) {
            case Op::EqualTo: return equality(col, ca, c, options);
            case Op::NotEqualTo: {
                auto eq = equality(col, ca, c, options);
                if (!eq) return std::nullopt;
                return "(NOT " + *eq + ")";
            }
            case Op::LessThan:
            case Op::LessThanOrEqualTo:
            case Op::GreaterThan:
            case Op::GreaterThanOrEqualTo: return ordering(col, ca, op, c, options);
            case Op::Between: {
                if (!c.isArray() || c.count() != 2) return "0";
                // Bindings follow the text: build the halves in order.
                std::string low = ordering(col, ca, Op::GreaterThanOrEqualTo, c.at(0), options);
                std::string high = ordering(col, ca, Op::LessThanOrEqualTo, c.at(1), options);
                return "(" + low + " AND " + high + ")";
            }
            case Op::In: {
                if (c.isDictionary() || c.isString()) return std::nullopt;
                if (!c.isArray()) return "0";
                bool plainList = !options || ca != Cls::String;
                std::vector<Value> sameClass;
                std::vector<std::string> parts;
                for (const auto& e : *c.array()) {
                    Cls ce = valueClass(e);
                    if (ce == Cls::Other) return std::nullopt;
                    if (plainList && ce == ca) {
                        sameClass.push_back(e);
                        continue;
                    }
                    auto eq = equality(col, ca, e, options);
                    if (!eq) return std::nullopt;
                    if (*eq != "0") parts.push_back(*eq);
                }
                if (!sameClass.empty()) {
                    std::string list;
                    for (const auto& e : sameClass) {
                        if (!list.empty()) list += ',';
                        list += bind(e);
                    }
                    parts.push_back("IFNULL(" + col + " IN (" + list + "),0)");
                }
                if (parts.empty()) return "0";
                std::string out = "(";
                for (size_t i = 0; i < parts.size(); ++i) out += (i ? " OR " : "") + parts[i];
                return out + ")";
            }
            case Op::Contains:
            case Op::BeginsWith:
            case Op::EndsWith:
            case Op::Like:
            case Op::Matches:
                if (ca != Cls::String || !c.isString()) return "0";
                return textOp(op, options, col, c);
        }
        return std::nullopt;
    }

    std::optional<std::string> columnColumn(Op op, const AttributeDescription& a, const AttributeDescription& b,
                                            unsigned options) {
        if (options) return std::nullopt;
        Cls ca = attributeClass(a.type), cb = attributeClass(b.type);
        std::string x = column_(a.name), y = column_(b.name);
        if (op == Op::EqualTo || op == Op::NotEqualTo) {
            if (ca != cb && (ca == Cls::Date || cb == Cls::Date)) return std::nullopt;
            return "(" + x + (op == Op::EqualTo ? " IS " : " IS NOT ") + y + ")";
        }
        if (auto sqlOp = sqlOperator(op)) {
            if (ca != cb || (ca != Cls::String && ca != Cls::Number && ca != Cls::Date)) return std::nullopt;
            return std::string("IFNULL(") + x + " " + sqlOp + " " + y + ",0)";
        }
        return std::nullopt;
    }

    std::optional<std::string> comparison(const Predicate& p) {
        if (p.comparisonModifier() != ComparisonModifier::Direct) return std::nullopt;
        Side l = side(*p.leftExpression()), r = side(*p.rightExpression());
        if (l.kind == Side::Unknown || r.kind == Side::Unknown) return std::nullopt;
        Op op = p.operatorType();
        if (l.kind == Side::Constant && r.kind == Side::Constant) return p.evaluateWithObject(Value()) ? "1" : "0";
        if (l.kind == Side::Self || r.kind == Side::Self) {
            // A managed object equals no constant of a plain kind, nil included.
            const Side& other = l.kind == Side::Self ? r : l;
            if (other.kind != Side::Constant || valueClass(other.value) == Cls::Other) return std::nullopt;
            if (op == Op::EqualTo) return "0";
            if (op == Op::NotEqualTo) return "1";
            return std::nullopt;
        }
        if (l.kind == Side::Constant) {
            if (op != Op::EqualTo && op != Op::NotEqualTo && !sqlOperator(op)) return std::nullopt;
            std::swap(l, r);
            op = mirrored(op);
        }
        if (r.kind == Side::Column) return columnColumn(op, *l.attribute, *r.attribute, p.options());
        return columnConstant(op, *l.attribute, r.value, p.options());
    }

    const EntityDescription& entity_;
    const std::function<std::string(const std::string&)>& column_;
};

}  // namespace

std::optional<SQLFragment> translatePredicate(const Predicate& predicate, const EntityDescription& entity,
                                              const std::function<std::string(const std::string&)>& column) {
    Translator t(entity, column);
    auto sql = t.predicate(predicate);
    if (!sql) return std::nullopt;
    return SQLFragment{*sql, std::move(t.bindings)};
}

}  // namespace coredata::detail
