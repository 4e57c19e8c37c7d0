// Keyed archives: object graphs and plain values round-trip; damaged data and unknown classes read as nil.
#include <gtest/gtest.h>

#include "foundation/Exception.h"
#include "foundation/KeyedArchiver.h"

using namespace foundation;

namespace {

class MapLink : public Coding {
public:
    std::string url;
    std::string className() const override { return "TestMapLink"; }
    void encodeWithCoder(KeyedArchiver& coder) const override { coder.encodeObject(url, "url"); }
};

class FloorLevel : public Coding {
public:
    std::optional<std::string> name;
    bool isDefault = false;
    int32_t level = 0;
    int64_t visitors = 0;
    double ratio = 0;
    Value extra;
    std::vector<std::shared_ptr<MapLink>> links;

    std::string className() const override { return "TestFloorLevel"; }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        coder.encodeObject(name ? Value(*name) : Value(), "name");
        coder.encodeBool(isDefault, "default");
        coder.encodeInt32(level, "level");
        coder.encodeInt64(visitors, "visitors");
        coder.encodeDouble(ratio, "ratio");
        coder.encodeObject(extra, "extra");
        coder.encodeObjects(links, "interactive_maps");
    }
};

void registerTestClasses() {
    KeyedArchiver::registerClass("TestMapLink", [](KeyedUnarchiver& coder) {
        auto link = std::make_shared<MapLink>();
        link->url = coder.decodeStringForKey("url").value_or("");
        return link;
    });
    KeyedArchiver::registerClass("TestFloorLevel", [](KeyedUnarchiver& coder) {
        auto floor = std::make_shared<FloorLevel>();
        floor->name = coder.decodeStringForKey("name");
        floor->isDefault = coder.decodeBoolForKey("default");
        floor->level = coder.decodeInt32ForKey("level");
        floor->visitors = coder.decodeInt64ForKey("visitors");
        floor->ratio = coder.decodeDoubleForKey("ratio");
        floor->extra = coder.decodeObjectForKey("extra");
        floor->links = coder.decodeArrayOfObjectsOfClass<MapLink>("interactive_maps");
        return floor;
    });
}

std::shared_ptr<FloorLevel> sampleFloor() {
    auto floor = std::make_shared<FloorLevel>();
    floor->name = "Level 2";
    floor->isDefault = true;
    floor->level = -2;
    floor->visitors = 5000000000LL;
    floor->ratio = 0.75;
    floor->extra = Value::dictionary({
        {"list", Value::array({1, 2.5, false, "x", Value::null(), Value::array({Value::dictionary({{"k", "v"}})})})},
        {"when", Date(443435400.5)},
        {"bytes", Data::fromString("\x01\x02")},
    });
    auto link = std::make_shared<MapLink>();
    link->url = "https://example.org/map.svg";
    floor->links = {link, link};
    return floor;
}

}  // namespace

TEST(KeyedArchive, ObjectsArraysAndDictionariesRoundTrip) {
    registerTestClasses();
    auto original = sampleFloor();
    Data archive = KeyedArchiver::archivedDataWithRootObject(Value::array({original, Value::dictionary({{"f", original}})}));
    Value root = KeyedUnarchiver::unarchiveValueWithData(archive);
    ASSERT_TRUE(root.isArray());
    ASSERT_EQ(root.count(), 2u);
    for (auto floor : {root.at(0).objectAs<FloorLevel>(), root.at(1)["f"].objectAs<FloorLevel>()}) {
        ASSERT_TRUE(floor);
        EXPECT_NE(floor, original);
        EXPECT_EQ(floor->name, "Level 2");
        EXPECT_TRUE(floor->isDefault);
        EXPECT_EQ(floor->level, -2);
        EXPECT_EQ(floor->visitors, 5000000000LL);
        EXPECT_EQ(floor->ratio, 0.75);
        EXPECT_EQ(floor->extra, original->extra);
        EXPECT_TRUE(floor->extra["list"].at(1).isReal());
        EXPECT_TRUE(floor->extra["list"].at(2).isBool());
        EXPECT_TRUE(floor->extra["list"].at(4).isNull());
        ASSERT_EQ(floor->links.size(), 2u);
        EXPECT_EQ(floor->links[1]->url, "https://example.org/map.svg");
    }
    // Absent keys read as nothing, NO and zero.
    auto empty = KeyedUnarchiver::unarchiveObjectOfClass<FloorLevel>(
        KeyedArchiver::archivedDataWithRootObject(std::make_shared<FloorLevel>()));
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->name);
    EXPECT_TRUE(empty->extra.isAbsent());
    EXPECT_TRUE(empty->links.empty());
}

TEST(KeyedArchive, PlainValuesAsTheRoot) {
    for (const Value& v : {Value("text"), Value(true), Value(42), Value(2.5), Value(Date(100)),
                           Value::dictionary({{"token_1", true}, {"token_2", false}}), Value::array({})}) {
        Value back = KeyedUnarchiver::unarchiveValueWithData(KeyedArchiver::archivedDataWithRootObject(v));
        EXPECT_EQ(back, v) << v.description();
        EXPECT_EQ(back.type(), v.type()) << v.description();
    }
    Data nil = KeyedArchiver::archivedDataWithRootObject(Value());
    EXPECT_FALSE(nil.empty());
    EXPECT_TRUE(KeyedUnarchiver::unarchiveValueWithData(nil).isAbsent());
    EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectWithData(KeyedArchiver::archivedDataWithRootObject(Value("s"))));
}

TEST(KeyedArchive, DamagedArchivesReadAsNil) {
    registerTestClasses();
    Data archive = KeyedArchiver::archivedDataWithRootObject(sampleFloor());
    ASSERT_TRUE(KeyedUnarchiver::unarchiveObjectWithData(archive));
    for (size_t length = 0; length < archive.length(); ++length) {
        EXPECT_TRUE(KeyedUnarchiver::unarchiveValueWithData(archive.subdata(0, length)).isAbsent()) << length;
    }
    Data longer = archive;
    longer.append("x");
    EXPECT_TRUE(KeyedUnarchiver::unarchiveValueWithData(longer).isAbsent());
    Data newer = archive;
    newer.mutableBytes()[4] = 2;
    EXPECT_TRUE(KeyedUnarchiver::unarchiveValueWithData(newer).isAbsent());
    EXPECT_TRUE(KeyedUnarchiver::unarchiveValueWithData(Data::fromString("<plist/>")).isAbsent());
    // A huge claimed length must not allocate or read past the end.
    Data lying = Data::fromString(std::string("QVKA\x01\x09\xff\xff\xff\xff\xff\xff\xff\xff\x7f", 15));
    EXPECT_TRUE(KeyedUnarchiver::unarchiveValueWithData(lying).isAbsent());
    // Every single-byte corruption reads as something or nothing, never crashes.
    for (size_t i = 0; i < archive.length(); ++i) {
        Data corrupt = archive;
        corrupt.mutableBytes()[i] ^= 0x5a;
        (void)KeyedUnarchiver::unarchiveValueWithData(corrupt);
    }
}

TEST(KeyedArchive, UnknownClassesAndMisuse) {
    class Stranger : public Coding {
    public:
        std::string className() const override { return "TestNeverRegistered"; }
        void encodeWithCoder(KeyedArchiver& coder) const override { coder.encodeBool(true, "x"); }
    };
    Data archive = KeyedArchiver::archivedDataWithRootObject(Value::array({1, std::make_shared<Stranger>()}));
    EXPECT_TRUE(KeyedUnarchiver::unarchiveValueWithData(archive).isAbsent());

    KeyedArchiver::registerClass("TestRefusing", [](KeyedUnarchiver&) { return ObjectPtr(); });
    class Refusing : public Stranger {
    public:
        std::string className() const override { return "TestRefusing"; }
    };
    Value back = KeyedUnarchiver::unarchiveValueWithData(
        KeyedArchiver::archivedDataWithRootObject(Value::array({1, std::make_shared<Refusing>()})));
    ASSERT_TRUE(back.isArray());
    EXPECT_TRUE(back.at(1).isAbsent());

    EXPECT_THROW(KeyedArchiver::archivedDataWithRootObject(std::make_shared<Object>()), Exception);
    Value deep;
    for (size_t i = 0; i < KeyedArchiver::kMaxDepth + 2; ++i) deep = Value::array({deep});
    EXPECT_THROW(KeyedArchiver::archivedDataWithRootObject(deep), Exception);
}
