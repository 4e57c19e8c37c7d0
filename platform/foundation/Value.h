// The dynamic value of JSON bodies, property lists, user info and mixed
// collections. "Absent" (nothing at all, the platform's nil) and "null" (the
// JSON null marker) are different values; Booleans, integers and reals stay
// apart, so JSON `true` is never the number 1.
//
// Arrays and dictionaries are shared between copies and copied only when one
// of the sharers is about to change (the non-const accessors), so a parsed
// body handed from queue to queue is never copied whole. A pointer or
// reference obtained from a non-const accessor belongs to this value alone
// only until the value is next copied.
#pragma once

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Date.h"
#include "foundation/Object.h"

namespace foundation {

class Value {
public:
    enum class Type { Absent, Null, Boolean, Integer, Real, String, Data, Date, Array, Dictionary, Object };
    using Array = std::vector<Value>;
    // Transparent: a key is looked up as a string_view, without a copy.
    using Dictionary = std::map<std::string, Value, std::less<>>;
    struct NullTag {
        bool operator==(const NullTag&) const { return true; }
    };

    Value() = default;  // absent
    static Value null() { return Value(NullTag{}); }
    Value(NullTag) : v_(NullTag{}) {}
    Value(bool b) : v_(b) {}
    Value(int i) : v_(int64_t(i)) {}
    Value(long i) : v_(int64_t(i)) {}
    Value(long long i) : v_(int64_t(i)) {}
    Value(unsigned i) : v_(int64_t(i)) {}
    Value(unsigned long i) : v_(int64_t(i)) {}
    Value(unsigned long long i) : v_(int64_t(i)) {}
    Value(double d) : v_(d) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(std::string_view s) : v_(std::string(s)) {}
    // Absent when there is no text, so "%@" of a missing text prints "(null)".
    Value(const std::optional<std::string>& s) : v_(s ? Storage(*s) : Storage()) {}
    Value(foundation::Data d) : v_(std::move(d)) {}
    Value(foundation::Date d) : v_(d) {}
    Value(Array a) : v_(std::in_place_type<Shared<Array>>, std::move(a)) {}
    Value(Dictionary d) : v_(std::in_place_type<Shared<Dictionary>>, std::move(d)) {}
    Value(ObjectPtr o) : v_(o ? Storage(std::move(o)) : Storage()) {}
    template <class T, class = std::enable_if_t<std::is_base_of_v<Object, T>>>
    Value(std::shared_ptr<T> o) : Value(std::static_pointer_cast<Object>(std::move(o))) {}

    static Value array(std::initializer_list<Value> items) { return Value(Array(items)); }
    static Value dictionary(std::initializer_list<std::pair<const std::string, Value>> items) {
        return Value(Dictionary(items));
    }

    Type type() const { return static_cast<Type>(v_.index()); }
    bool isAbsent() const { return type() == Type::Absent; }
    bool isNull() const { return type() == Type::Null; }
    // Absent or the null marker: what objectForKeyNotNull: treats as nothing.
    bool isNothing() const { return isAbsent() || isNull(); }
    bool isBool() const { return type() == Type::Boolean; }
    bool isInteger() const { return type() == Type::Integer; }
    bool isReal() const { return type() == Type::Real; }
    // Booleans, integers and reals: the platform's NSNumber.
    bool isNumber() const { return isBool() || isInteger() || isReal(); }
    bool isString() const { return type() == Type::String; }
    bool isData() const { return type() == Type::Data; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isDictionary() const { return type() == Type::Dictionary; }
    bool isObject() const { return type() == Type::Object; }
    explicit operator bool() const { return !isAbsent(); }

    // Typed access; null when the value holds another type.
    const std::string* string() const { return std::get_if<std::string>(&v_); }
    const foundation::Data* data() const { return std::get_if<foundation::Data>(&v_); }
    const foundation::Date* date() const { return std::get_if<foundation::Date>(&v_); }
    const Array* array() const {
        auto* shared = std::get_if<Shared<Array>>(&v_);
        return shared ? &shared->get() : nullptr;
    }
    // The non-const accessors first make the collection this value's own.
    Array* array() {
        auto* shared = std::get_if<Shared<Array>>(&v_);
        return shared ? &shared->mutableGet() : nullptr;
    }
    const Dictionary* dictionary() const {
        auto* shared = std::get_if<Shared<Dictionary>>(&v_);
        return shared ? &shared->get() : nullptr;
    }
    Dictionary* dictionary() {
        auto* shared = std::get_if<Shared<Dictionary>>(&v_);
        return shared ? &shared->mutableGet() : nullptr;
    }
    ObjectPtr object() const;
    template <class T>
    std::shared_ptr<T> objectAs() const { return std::dynamic_pointer_cast<T>(object()); }

    // The number conversions of the platform's number and string classes:
    // numbers convert, strings are read by the leading-number rules, and
    // anything else reads as 0 / NO.
    bool boolValue() const;
    int32_t intValue() const;
    int64_t integerValue() const;
    double doubleValue() const;
    // The string itself, or the description of anything else ("" for absent).
    std::string stringValue() const;

    // Dictionary lookup; an absent value for a missing key or a non-dictionary.
    const Value& operator[](std::string_view key) const;
    // Inserts (turning an absent value into a dictionary) and returns the slot.
    Value& operator[](const std::string& key);
    // Array element; absent when out of range or not an array.
    const Value& at(size_t index) const;
    // Element count of an array or dictionary, string length in bytes, else 0.
    size_t count() const;
    void append(Value v);

    // The platform's description text: absent prints "(null)", the null marker
    // "<null>", numbers their decimal text, Booleans 1/0, collections in the
    // platform's bracketed form.
    std::string description() const;

    bool operator==(const Value& other) const;
    bool operator!=(const Value& other) const { return !(*this == other); }

private:
    // A collection shared by reference count and copied on the first change
    // while shared. A moved-from one holds nothing and reads as empty.
    template <class T>
    class Shared {
    public:
        explicit Shared(T value) : block_(new Block{std::move(value)}) {}
        Shared(const Shared& other) noexcept : block_(other.block_) {
            if (block_) block_->refs.fetch_add(1, std::memory_order_relaxed);
        }
        Shared(Shared&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
        Shared& operator=(Shared other) noexcept {
            std::swap(block_, other.block_);
            return *this;
        }
        ~Shared() { release(); }

        const T& get() const {
            static const T empty;
            return block_ ? block_->value : empty;
        }
        T& mutableGet() {
            // Acquire: the other sharers' last reads happen before this write.
            if (!block_) {
                block_ = new Block{T()};
            } else if (block_->refs.load(std::memory_order_acquire) != 1) {
                Block* own = new Block{block_->value};
                release();
                block_ = own;
            }
            return block_->value;
        }
        bool operator==(const Shared& other) const { return block_ == other.block_ || get() == other.get(); }

    private:
        struct Block {
            T value;
            std::atomic<int64_t> refs{1};
        };
        void release() {
            if (block_ && block_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete block_;
            block_ = nullptr;
        }
        Block* block_ = nullptr;
    };

    using Storage = std::variant<std::monostate, NullTag, bool, int64_t, double, std::string, foundation::Data,
                                 foundation::Date, Shared<Array>, Shared<Dictionary>, ObjectPtr>;
    Storage v_;
};

using ValueArray = Value::Array;
using ValueDictionary = Value::Dictionary;

// Leading-number parsing of text as the platform's string class does it
// (leading blanks, optional sign, digits; stops at the first other character;
// 0 when nothing parses; out-of-range values clamp).
namespace NumberParsing {
int32_t intValue(std::string_view s);
int64_t longLongValue(std::string_view s);
double doubleValue(std::string_view s);
// YES when the first character after blanks, a sign and zeros is Y, y, T, t or 1-9.
bool boolValue(std::string_view s);
// Shortest decimal text of a double that reads back the same ("12.9", "7").
std::string formatDouble(double d);
}  // namespace NumberParsing

}  // namespace foundation
