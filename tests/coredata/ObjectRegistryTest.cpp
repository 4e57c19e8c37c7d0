// The contexts' flat table of registered objects: keys whose home slots
// collide, erasures inside a run of them and across the table's end, growth,
// and the dropping of references whose objects are gone. An erasure that
// left a hole in a run would lose the keys after it.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

#include "coredata/ObjectRegistry.h"

namespace coredata::detail {
namespace {

using Registry = ObjectRegistry<int>;

int valueOf(const Registry& registry, int64_t key) {
    const auto* weak = registry.find(key);
    if (!weak) return -1;
    auto object = weak->lock();
    return object ? *object : -2;
}

TEST(ObjectRegistry, CollidingKeysSurviveErasuresInTheirRun) {
    Registry registry;
    std::vector<std::shared_ptr<int>> held;
    // 64 slots at first: these keys all want slot 62, and the run wraps
    // past the table's end.
    const std::vector<int64_t> keys = {62, 126, 190, 63, 254, 0, 1};
    for (int64_t key : keys) {
        held.push_back(std::make_shared<int>(int(key)));
        registry.insert_or_assign(key, held.back());
    }
    ASSERT_EQ(registry.size(), keys.size());
    registry.erase(126);
    registry.erase(63);
    registry.erase(999);  // absent: nothing changes
    EXPECT_EQ(registry.size(), keys.size() - 2);
    EXPECT_EQ(valueOf(registry, 126), -1);
    EXPECT_EQ(valueOf(registry, 63), -1);
    for (int64_t key : {62, 190, 254, 0, 1}) EXPECT_EQ(valueOf(registry, key), int(key)) << key;

    // Assigning a held key replaces its reference.
    auto replacement = std::make_shared<int>(7);
    registry.insert_or_assign(190, replacement);
    EXPECT_EQ(valueOf(registry, 190), 7);
    EXPECT_EQ(registry.size(), keys.size() - 2);
}

TEST(ObjectRegistry, AgreesWithAMapThroughGrowthErasuresAndPurges) {
    Registry registry;
    std::map<int64_t, std::shared_ptr<int>> expected;
    std::mt19937 random(85);
    // Dense runs of keys, as a store hands them out, and strays far apart.
    std::uniform_int_distribution<int64_t> dense(1, 3000), sparse(1, 1 << 20);
    for (int step = 0; step < 20000; ++step) {
        const int64_t key = step % 3 ? dense(random) : sparse(random);
        if (random() % 4 == 0) {
            registry.erase(key);
            expected.erase(key);
        } else {
            auto object = std::make_shared<int>(int(key % 1000));
            registry.insert_or_assign(key, object);
            expected[key] = object;
        }
    }
    ASSERT_EQ(registry.size(), expected.size());
    for (const auto& [key, object] : expected) ASSERT_EQ(valueOf(registry, key), *object) << key;

    // Let every other object go: a purge keeps exactly the live ones.
    size_t index = 0;
    for (auto it = expected.begin(); it != expected.end(); ++index)
        it = index % 2 ? expected.erase(it) : std::next(it);
    registry.eraseExpired();
    EXPECT_EQ(registry.size(), expected.size());
    size_t seen = 0;
    registry.forEach([&](int64_t key, const std::weak_ptr<int>& weak) {
        ++seen;
        auto object = weak.lock();
        ASSERT_TRUE(object) << key;
        EXPECT_EQ(expected.at(key).get(), object.get());
    });
    EXPECT_EQ(seen, expected.size());

    registry.clear();
    EXPECT_EQ(registry.size(), 0u);
    EXPECT_EQ(registry.find(expected.begin()->first), nullptr);
}

}  // namespace
}  // namespace coredata::detail
