// The archive format, version 1:
//
//   archive    := "QVKA" version:u8 value
//   value      := tag:u8 payload
//   tag 0 nil, 1 null, 2 NO, 3 YES                      (no payload)
//   tag 4 integer, 5 real, 8 date                        (8 bytes, little-endian; reals and dates IEEE 754)
//   tag 6 string, 7 data                                 (length:varint, bytes)
//   tag 9 array                                          (count:varint, value*)
//   tag 10 dictionary                                    (count:varint, (key:string-payload value)*)
//   tag 11 object                                        (class:string-payload, count:varint, (key value)*)
//
// Varints are unsigned LEB128 of at most ten bytes. The reader checks every
// length against the bytes that remain before it allocates, caps nesting at
// kMaxDepth, and demands that the root value ends exactly at the last byte.
// Objects are built bottom-up: an object's factory runs once all its fields,
// nested objects included, are decoded.
#include "foundation/KeyedArchiver.h"

#include <cstring>
#include <map>
#include <mutex>

#include "foundation/Exception.h"

namespace foundation {

namespace {

constexpr char kMagic[4] = {'Q', 'V', 'K', 'A'};
constexpr uint8_t kVersion = 1;

enum Tag : uint8_t {
    TagNil = 0,
    TagNull = 1,
    TagFalse = 2,
    TagTrue = 3,
    TagInteger = 4,
    TagReal = 5,
    TagString = 6,
    TagData = 7,
    TagDate = 8,
    TagArray = 9,
    TagDictionary = 10,
    TagObject = 11,
};

struct Registry {
    std::mutex mutex;
    std::map<std::string, KeyedArchiver::Factory> factories;
};

Registry& registry() {
    static Registry r;
    return r;
}

KeyedArchiver::Factory factoryFor(const std::string& className) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.factories.find(className);
    return it == r.factories.end() ? KeyedArchiver::Factory() : it->second;
}

}  // namespace

class ArchiveWriter {
public:
    Data finish(const Value& root) {
        out_.append(kMagic, sizeof kMagic);
        out_.append(&kVersion, 1);
        write(root, 0);
        return std::move(out_);
    }

private:
    void byte(uint8_t b) { out_.append(&b, 1); }
    void varint(uint64_t v) {
        while (v >= 0x80) {
            byte(static_cast<uint8_t>(v | 0x80));
            v >>= 7;
        }
        byte(static_cast<uint8_t>(v));
    }
    void fixed(uint64_t v) {
        uint8_t b[8];
        for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
        out_.append(b, 8);
    }
    void real(double d) {
        uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        fixed(bits);
    }
    void text(const std::string& s) {
        varint(s.size());
        out_.append(s);
    }
    void fields(const Value::Dictionary& dict, size_t depth) {
        varint(dict.size());
        for (const auto& [key, item] : dict) {
            text(key);
            write(item, depth + 1);
        }
    }

    void write(const Value& v, size_t depth) {
        if (depth > KeyedArchiver::kMaxDepth)
            raise(kInvalidArgumentException, "Keyed archive nests too deeply (a cycle of objects?)");
        switch (v.type()) {
            case Value::Type::Absent: byte(TagNil); return;
            case Value::Type::Null: byte(TagNull); return;
            case Value::Type::Boolean: byte(v.boolValue() ? TagTrue : TagFalse); return;
            case Value::Type::Integer:
                byte(TagInteger);
                fixed(static_cast<uint64_t>(v.integerValue()));
                return;
            case Value::Type::Real:
                byte(TagReal);
                real(v.doubleValue());
                return;
            case Value::Type::String:
                byte(TagString);
                text(*v.string());
                return;
            case Value::Type::Data:
                byte(TagData);
                varint(v.data()->length());
                out_.append(*v.data());
                return;
            case Value::Type::Date:
                byte(TagDate);
                real(v.date()->timeIntervalSinceReferenceDate());
                return;
            case Value::Type::Array:
                byte(TagArray);
                varint(v.array()->size());
                for (const auto& item : *v.array()) write(item, depth + 1);
                return;
            case Value::Type::Dictionary:
                byte(TagDictionary);
                fields(*v.dictionary(), depth);
                return;
            case Value::Type::Object: {
                auto object = v.object();
                auto coding = std::dynamic_pointer_cast<const Coding>(object);
                if (!coding) raise(kInvalidArgumentException, "Cannot archive an object of class " + object->className());
                KeyedArchiver coder;
                coding->encodeWithCoder(coder);
                byte(TagObject);
                text(coding->className());
                fields(coder.fields_, depth);
                return;
            }
        }
    }

    Data out_;
};

class ArchiveReader {
public:
    ArchiveReader(const uint8_t* p, size_t n) : p_(p), end_(p + n) {}

    std::optional<Value> read() {
        if (left() < sizeof kMagic + 1 || std::memcmp(p_, kMagic, sizeof kMagic) != 0) return std::nullopt;
        p_ += sizeof kMagic;
        if (*p_++ != kVersion) return std::nullopt;
        auto root = value(0);
        if (!root || p_ != end_) return std::nullopt;
        return root;
    }

private:
    size_t left() const { return static_cast<size_t>(end_ - p_); }

    bool varint(uint64_t& out) {
        out = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (p_ == end_) return false;
            uint8_t b = *p_++;
            if (shift == 63 && b > 1) return false;
            out |= static_cast<uint64_t>(b & 0x7f) << shift;
            if (!(b & 0x80)) return true;
        }
        return false;
    }
    bool fixed(uint64_t& out) {
        if (left() < 8) return false;
        out = 0;
        for (int i = 0; i < 8; ++i) out |= static_cast<uint64_t>(p_[i]) << (8 * i);
        p_ += 8;
        return true;
    }
    bool real(double& out) {
        uint64_t bits;
        if (!fixed(bits)) return false;
        std::memcpy(&out, &bits, sizeof out);
        return true;
    }
    bool bytes(std::string& out) {
        uint64_t n;
        if (!varint(n) || n > left()) return false;
        out.assign(reinterpret_cast<const char*>(p_), static_cast<size_t>(n));
        p_ += n;
        return true;
    }
    // A count of items that each take at least minimumSize bytes.
    bool count(uint64_t& n, size_t minimumSize) { return varint(n) && n <= left() / minimumSize; }

    std::optional<Value::Dictionary> fields(size_t depth) {
        uint64_t n;
        if (!count(n, 2)) return std::nullopt;
        Value::Dictionary dict;
        for (uint64_t i = 0; i < n; ++i) {
            std::string key;
            if (!bytes(key)) return std::nullopt;
            auto item = value(depth + 1);
            if (!item) return std::nullopt;
            dict[std::move(key)] = std::move(*item);
        }
        return dict;
    }

    std::optional<Value> value(size_t depth) {
        if (depth > KeyedArchiver::kMaxDepth || p_ == end_) return std::nullopt;
        switch (*p_++) {
            case TagNil: return Value();
            case TagNull: return Value::null();
            case TagFalse: return Value(false);
            case TagTrue: return Value(true);
            case TagInteger: {
                uint64_t bits;
                if (!fixed(bits)) return std::nullopt;
                return Value(static_cast<int64_t>(bits));
            }
            case TagReal: {
                double d;
                if (!real(d)) return std::nullopt;
                return Value(d);
            }
            case TagDate: {
                double d;
                if (!real(d)) return std::nullopt;
                return Value(Date(d));
            }
            case TagString: {
                std::string s;
                if (!bytes(s)) return std::nullopt;
                return Value(std::move(s));
            }
            case TagData: {
                std::string s;
                if (!bytes(s)) return std::nullopt;
                return Value(Data(s.data(), s.size()));
            }
            case TagArray: {
                uint64_t n;
                if (!count(n, 1)) return std::nullopt;
                Value::Array array;
                array.reserve(static_cast<size_t>(n));
                for (uint64_t i = 0; i < n; ++i) {
                    auto item = value(depth + 1);
                    if (!item) return std::nullopt;
                    array.push_back(std::move(*item));
                }
                return Value(std::move(array));
            }
            case TagDictionary: {
                auto dict = fields(depth);
                if (!dict) return std::nullopt;
                return Value(std::move(*dict));
            }
            case TagObject: {
                std::string className;
                if (!bytes(className)) return std::nullopt;
                auto factory = factoryFor(className);
                if (!factory) return std::nullopt;
                auto dict = fields(depth);
                if (!dict) return std::nullopt;
                KeyedUnarchiver coder(std::move(*dict));
                try {
                    // Made in place: g++ 12 at -O1 under ThreadSanitizer takes
                    // the move of a temporary Value here for a read of an
                    // uninitialised string (-Wmaybe-uninitialized).
                    return std::optional<Value>(std::in_place, factory(coder));
                } catch (const Exception&) {
                    // A class that refuses its own archive: the archive is unreadable.
                    return std::nullopt;
                }
            }
            default: return std::nullopt;
        }
    }

    const uint8_t* p_;
    const uint8_t* end_;
};

void KeyedArchiver::registerClass(const std::string& className, Factory factory) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.factories[className] = std::move(factory);
}

Data KeyedArchiver::archivedDataWithRootObject(const Value& root) { return ArchiveWriter().finish(root); }

void KeyedArchiver::encodeObject(const Value& value, const std::string& key) { fields_[key] = value; }
void KeyedArchiver::encodeBool(bool value, const std::string& key) { fields_[key] = Value(value); }
void KeyedArchiver::encodeInt32(int32_t value, const std::string& key) { fields_[key] = Value(value); }
void KeyedArchiver::encodeInt64(int64_t value, const std::string& key) { fields_[key] = Value(value); }
void KeyedArchiver::encodeDouble(double value, const std::string& key) { fields_[key] = Value(value); }

Value KeyedUnarchiver::unarchiveValueWithData(const Data& data) {
    auto root = ArchiveReader(data.bytes(), data.length()).read();
    return root ? std::move(*root) : Value();
}

ObjectPtr KeyedUnarchiver::unarchiveObjectWithData(const Data& data) { return unarchiveValueWithData(data).object(); }

bool KeyedUnarchiver::containsValueForKey(const std::string& key) const { return fields_.count(key) > 0; }

const Value& KeyedUnarchiver::decodeObjectForKey(const std::string& key) const {
    static const Value absent;
    auto it = fields_.find(key);
    return it == fields_.end() ? absent : it->second;
}

std::optional<std::string> KeyedUnarchiver::decodeStringForKey(const std::string& key) const {
    const Value& v = decodeObjectForKey(key);
    if (!v.isString()) return std::nullopt;
    return *v.string();
}

bool KeyedUnarchiver::decodeBoolForKey(const std::string& key) const {
    const Value& v = decodeObjectForKey(key);
    return v.isNumber() && v.boolValue();
}

int32_t KeyedUnarchiver::decodeInt32ForKey(const std::string& key) const {
    const Value& v = decodeObjectForKey(key);
    return v.isNumber() ? v.intValue() : 0;
}

int64_t KeyedUnarchiver::decodeInt64ForKey(const std::string& key) const {
    const Value& v = decodeObjectForKey(key);
    return v.isNumber() ? v.integerValue() : 0;
}

double KeyedUnarchiver::decodeDoubleForKey(const std::string& key) const {
    const Value& v = decodeObjectForKey(key);
    return v.isNumber() ? v.doubleValue() : 0.0;
}

}  // namespace foundation
