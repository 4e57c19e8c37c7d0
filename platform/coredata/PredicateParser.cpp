// The predicate format parser. Grammar, loosest binding first:
//   predicate  := and ( (OR | ||) and )*
//   and        := not ( (AND | &&) not )*
//   not        := (NOT | !) not | '(' predicate ')' | TRUEPREDICATE | FALSEPREDICATE | comparison
//   comparison := [ANY | SOME | ALL | NONE] expr operator['[' c|d|cd ']'] expr
//   expr       := key path | SELF[.path] | %K | %@ | %d %i %ld %lu %f | nil | NULL | YES | NO | TRUE | FALSE
//                 | number | 'string' | "string" | '{' expr, ... '}'
// Keywords are case-insensitive; blanks between tokens are optional. Any
// deviation raises one exception naming the whole format.
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "coredata/Constants.h"
#include "coredata/Predicate.h"
#include "foundation/Exception.h"

namespace coredata {

using foundation::Value;

namespace {

struct ParseError {};

enum class Tok { End, Ident, String, Number, Arg, LParen, RParen, LBrace, RBrace, Comma, Op, Options };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // identifier, string contents, operator text, argument conversion
    Value number;
};

class Lexer {
public:
    explicit Lexer(std::string_view s) : s_(s) {}

    Token next() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
        Token t;
        if (pos_ >= s_.size()) return t;
        char c = s_[pos_];
        auto peek = [&](size_t k) { return pos_ + k < s_.size() ? s_[pos_ + k] : '\0'; };
        if (c == '(' || c == ')' || c == '{' || c == '}' || c == ',') {
            ++pos_;
            t.kind = c == '(' ? Tok::LParen : c == ')' ? Tok::RParen : c == '{' ? Tok::LBrace : c == '}' ? Tok::RBrace : Tok::Comma;
            return t;
        }
        if (c == '[') {
            size_t close = s_.find(']', pos_);
            if (close == std::string_view::npos) throw ParseError{};
            t.kind = Tok::Options;
            t.text = std::string(s_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 1;
            return t;
        }
        if (c == '\'' || c == '"') {
            ++pos_;
            while (pos_ < s_.size() && s_[pos_] != c) {
                if (s_[pos_] == '\\' && pos_ + 1 < s_.size()) {
                    char e = s_[++pos_];
                    t.text += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                } else {
                    t.text += s_[pos_];
                }
                ++pos_;
            }
            if (pos_ >= s_.size()) throw ParseError{};
            ++pos_;
            t.kind = Tok::String;
            return t;
        }
        if (c == '%') {
            // Longest first, so "%ld" is not read as "%l" followed by "d".
            static const char* conversions[] = {"lld", "llu", "ld", "li", "lu", "lf", "@", "K", "d", "i", "u", "f"};
            for (const char* conv : conversions) {
                std::string_view cv(conv);
                if (s_.substr(pos_ + 1, cv.size()) == cv) {
                    t.kind = Tok::Arg;
                    t.text = std::string(cv);
                    pos_ += 1 + cv.size();
                    return t;
                }
            }
            throw ParseError{};
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || ((c == '-' || c == '+' || c == '.') && std::isdigit(static_cast<unsigned char>(peek(1))))) {
            size_t start = pos_;
            if (c == '-' || c == '+') ++pos_;
            bool real = false;
            while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
            if (pos_ < s_.size() && s_[pos_] == '.') {
                real = true;
                ++pos_;
                while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
            }
            if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
                size_t e = pos_ + 1;
                if (e < s_.size() && (s_[e] == '+' || s_[e] == '-')) ++e;
                if (e < s_.size() && std::isdigit(static_cast<unsigned char>(s_[e]))) {
                    real = true;
                    pos_ = e;
                    while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
                }
            }
            std::string text(s_.substr(start, pos_ - start));
            t.kind = Tok::Number;
            if (!real) {
                // An integer beyond 64 bits reads as a real, as near as
                // one holds it, rather than clamped to the largest integer.
                errno = 0;
                const long long integer = std::strtoll(text.c_str(), nullptr, 10);
                real = errno == ERANGE;
                if (!real) t.number = Value(static_cast<int64_t>(integer));
            }
            if (real) t.number = Value(std::strtod(text.c_str(), nullptr));
            return t;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#' || c == '@') {
            size_t start = pos_;
            if (c == '#') {  // reserved-word escape: #IN is the key "IN"
                char d = peek(1);
                if (!std::isalpha(static_cast<unsigned char>(d)) && d != '_' && d != '$') throw ParseError{};
                ++start;
            }
            ++pos_;
            while (pos_ < s_.size()) {
                char d = s_[pos_];
                if (std::isalnum(static_cast<unsigned char>(d)) || d == '_' || d == '$' || d == '@' ||
                    (d == '.' && pos_ + 1 < s_.size() &&
                     (std::isalpha(static_cast<unsigned char>(s_[pos_ + 1])) || s_[pos_ + 1] == '_' || s_[pos_ + 1] == '@')))
                    ++pos_;
                else
                    break;
            }
            t.kind = Tok::Ident;
            t.text = std::string(s_.substr(start, pos_ - start));
            if (c == '#') t.number = Value(true);  // marks an escaped identifier
            return t;
        }
        static const char* ops[] = {"==", "!=", "<>", "<=", ">=", "=<", "=>", "&&", "||", "=", "<", ">", "!"};
        for (const char* op : ops) {
            std::string_view ov(op);
            if (s_.substr(pos_, ov.size()) == ov) {
                pos_ += ov.size();
                t.kind = Tok::Op;
                t.text = std::string(ov);
                return t;
            }
        }
        throw ParseError{};
    }

private:
    std::string_view s_;
    size_t pos_ = 0;
};

std::string upper(std::string s) {
    for (auto& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

class Parser {
public:
    Parser(std::string_view format, const std::vector<Value>& args) : lexer_(format), args_(args) { advance(); }

    PredicatePtr parse() {
        auto p = parseOr();
        if (tok_.kind != Tok::End) throw ParseError{};
        return p;
    }

private:
    void advance() { tok_ = lexer_.next(); }
    bool isWord(const char* word) const { return tok_.kind == Tok::Ident && !tok_.number.isBool() && upper(tok_.text) == word; }
    bool isOp(const char* op) const { return tok_.kind == Tok::Op && tok_.text == op; }

    PredicatePtr parseOr() {
        std::vector<PredicatePtr> parts{parseAnd()};
        while (isWord("OR") || isOp("||")) {
            advance();
            parts.push_back(parseAnd());
        }
        return parts.size() == 1 ? parts.front() : Predicate::orPredicate(std::move(parts));
    }

    PredicatePtr parseAnd() {
        std::vector<PredicatePtr> parts{parseNot()};
        while (isWord("AND") || isOp("&&")) {
            advance();
            parts.push_back(parseNot());
        }
        return parts.size() == 1 ? parts.front() : Predicate::andPredicate(std::move(parts));
    }

    PredicatePtr parseNot() {
        if (isWord("NOT") || isOp("!")) {
            advance();
            return Predicate::notPredicate(parseNot());
        }
        if (tok_.kind == Tok::LParen) {
            advance();
            auto p = parseOr();
            if (tok_.kind != Tok::RParen) throw ParseError{};
            advance();
            return p;
        }
        if (isWord("TRUEPREDICATE")) {
            advance();
            return Predicate::truePredicate();
        }
        if (isWord("FALSEPREDICATE")) {
            advance();
            return Predicate::falsePredicate();
        }
        return parseComparison();
    }

    PredicatePtr parseComparison() {
        auto modifier = ComparisonModifier::Direct;
        if (isWord("ANY") || isWord("SOME")) modifier = ComparisonModifier::Any;
        else if (isWord("ALL")) modifier = ComparisonModifier::All;
        else if (isWord("NONE")) modifier = ComparisonModifier::None;
        if (modifier != ComparisonModifier::Direct) advance();
        auto left = parseExpression();
        auto op = parseOperator();
        unsigned options = 0;
        if (tok_.kind == Tok::Options) {
            std::string o = tok_.text;
            for (char c : o) {
                if (c == 'c' || c == 'C') options |= ComparisonOption::CaseInsensitive;
                else if (c == 'd' || c == 'D') options |= ComparisonOption::DiacriticInsensitive;
                else if (c != 'n' && c != 'l') throw ParseError{};  // n, l: accepted, no effect here
            }
            advance();
        }
        auto right = parseExpression();
        if (op == PredicateOperator::Between && right->kind() == Expression::Kind::Aggregate && right->items().size() != 2)
            throw ParseError{};
        return Predicate::comparison(std::move(left), op, std::move(right), modifier, options);
    }

    PredicateOperator parseOperator() {
        using Op = PredicateOperator;
        Op op;
        if (tok_.kind == Tok::Op) {
            const std::string& t = tok_.text;
            if (t == "=" || t == "==") op = Op::EqualTo;
            else if (t == "!=" || t == "<>") op = Op::NotEqualTo;
            else if (t == "<") op = Op::LessThan;
            else if (t == "<=" || t == "=<") op = Op::LessThanOrEqualTo;
            else if (t == ">") op = Op::GreaterThan;
            else if (t == ">=" || t == "=>") op = Op::GreaterThanOrEqualTo;
            else throw ParseError{};
        } else if (isWord("IN")) op = Op::In;
        else if (isWord("BETWEEN")) op = Op::Between;
        else if (isWord("CONTAINS")) op = Op::Contains;
        else if (isWord("BEGINSWITH")) op = Op::BeginsWith;
        else if (isWord("ENDSWITH")) op = Op::EndsWith;
        else if (isWord("LIKE")) op = Op::Like;
        else if (isWord("MATCHES")) op = Op::Matches;
        else throw ParseError{};
        advance();
        return op;
    }

    const Value& nextArg() {
        if (argIndex_ >= args_.size()) throw ParseError{};
        return args_[argIndex_++];
    }

    ExpressionPtr parseExpression() {
        Token t = tok_;
        switch (t.kind) {
            case Tok::String: advance(); return Expression::constant(Value(t.text));
            case Tok::Number: advance(); return Expression::constant(t.number);
            case Tok::LBrace: {
                advance();
                std::vector<ExpressionPtr> items;
                if (tok_.kind != Tok::RBrace) {
                    items.push_back(parseExpression());
                    while (tok_.kind == Tok::Comma) {
                        advance();
                        items.push_back(parseExpression());
                    }
                }
                if (tok_.kind != Tok::RBrace) throw ParseError{};
                advance();
                bool allConstant = true;
                for (const auto& i : items) allConstant = allConstant && i->kind() == Expression::Kind::Constant;
                if (!allConstant) return Expression::aggregate(std::move(items));
                Value::Array values;
                for (const auto& i : items) values.push_back(i->constantValue());
                return Expression::constant(Value(std::move(values)));
            }
            case Tok::Arg: {
                advance();
                const Value& arg = nextArg();
                if (t.text == "K") {
                    if (!arg.isString() || arg.string()->empty()) throw ParseError{};
                    return keyPathExpression(*arg.string());
                }
                if (t.text == "@") return Expression::constant(arg.isAbsent() ? Value::null() : arg);
                if (t.text == "f" || t.text == "lf") return Expression::constant(Value(arg.doubleValue()));
                return Expression::constant(Value(arg.integerValue()));
            }
            case Tok::Ident: {
                if (!t.number.isBool()) {
                    std::string word = upper(t.text);
                    if (word == "NIL" || word == "NULL") return advance(), Expression::constant(Value::null());
                    if (word == "YES" || word == "TRUE") return advance(), Expression::constant(Value(true));
                    if (word == "NO" || word == "FALSE") return advance(), Expression::constant(Value(false));
                    static const char* reserved[] = {"AND", "OR", "NOT", "IN", "BETWEEN", "CONTAINS", "BEGINSWITH",
                                                     "ENDSWITH", "LIKE", "MATCHES", "ANY", "SOME", "ALL", "NONE",
                                                     "TRUEPREDICATE", "FALSEPREDICATE"};
                    for (const char* r : reserved)
                        if (word == r) throw ParseError{};
                }
                advance();
                return keyPathExpression(t.text);
            }
            default: throw ParseError{};
        }
    }

    static ExpressionPtr keyPathExpression(const std::string& path) {
        std::string head = upper(path.substr(0, path.find('.')));
        if (head == "SELF") {
            if (path.size() == 4) return Expression::evaluatedObject();
            return Expression::keyPath("SELF" + path.substr(4));
        }
        if (path.front() == '.' || path.back() == '.' || path.find("..") != std::string::npos) throw ParseError{};
        return Expression::keyPath(path);
    }

    Lexer lexer_;
    const std::vector<Value>& args_;
    size_t argIndex_ = 0;
    Token tok_;
};

}  // namespace

PredicatePtr Predicate::withFormatArguments(std::string_view format, const std::vector<Value>& args) {
    try {
        return Parser(format, args).parse();
    } catch (const ParseError&) {
        foundation::raise(kPredicateFormatException, "Unable to parse the format string \"" + std::string(format) + "\"");
    }
}

}  // namespace coredata
