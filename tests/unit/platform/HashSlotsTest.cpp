#include "platform/HashSlots.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

using namespace nelo;

namespace {

// Hashes whose top bits crowd a few slots at both ends of the table, so that runs are
// long, wrap from the last slot to the first, and removals must shift entries back
// across the wrap; the low bits keep every value's hash its own.
std::uint64_t CrowdedHash(int value, std::mt19937& rng) {
    static const std::uint64_t tops[] = {0x0, 0x1, 0xE, 0xF};
    return (tops[rng() % 4] << 60) | static_cast<std::uint64_t>(value);
}

TEST(HashSlots, AgreesWithASetThroughInsertionsAndRemovals) {
    std::mt19937 rng(2003);
    std::vector<int> values(64);
    std::vector<std::uint64_t> hashes(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<int>(i);
        hashes[i] = CrowdedHash(values[i], rng);
    }
    HashSlots<int> slots;
    std::set<int> present;
    auto is = [](const int* p) { return [p](const int& v) { return &v == p; }; };
    for (int step = 0; step < 5000; ++step) {
        std::size_t i = rng() % values.size();
        if (present.count(values[i])) {
            ASSERT_TRUE(slots.Erase(hashes[i], is(&values[i]))) << step;
            present.erase(values[i]);
        } else if (present.size() < 40) {
            slots.Insert(hashes[i], &values[i]);
            present.insert(values[i]);
        }
        ASSERT_EQ(slots.GetCount(), present.size()) << step;
        for (std::size_t k = 0; k < values.size(); ++k)
            ASSERT_EQ(slots.Find(hashes[k], is(&values[k])) != nullptr, present.count(values[k]) == 1)
                << "step " << step << ", value " << k;
        std::set<int> seen;
        slots.ForEach([&](int& v) { seen.insert(v); });
        ASSERT_EQ(seen, present) << step;
    }
    // Removing what is not there changes nothing.
    int stranger = 99;
    EXPECT_FALSE(slots.Erase(hashes[0], is(&stranger)));
    EXPECT_EQ(slots.GetCount(), present.size());
}

TEST(HashSlots, EntriesOfOneHashAreAllVisited) {
    int a = 1, b = 2, c = 3;
    HashSlots<int> slots;
    const std::uint64_t shared = 0xF000000000000001ull;
    slots.Insert(shared, &a);
    slots.Insert(0xF000000000000002ull, &b);  // the same slot, another hash
    slots.Insert(shared, &c);
    std::multiset<int> seen;
    slots.ForEachOf(shared, [&](int& v) { seen.insert(v); });
    EXPECT_EQ(seen, (std::multiset<int>{1, 3}));
    // Moving takes the entries and leaves an empty table that still works.
    HashSlots<int> moved(std::move(slots));
    EXPECT_EQ(moved.GetCount(), 3u);
    EXPECT_EQ(slots.GetCount(), 0u);
    EXPECT_EQ(slots.Find(shared, [](const int&) { return true; }), nullptr);
    slots.Insert(shared, &a);
    EXPECT_EQ(slots.Find(shared, [](const int&) { return true; }), &a);
    moved = std::move(slots);
    EXPECT_EQ(moved.GetCount(), 1u);
    moved.Clear();
    EXPECT_EQ(moved.GetCount(), 0u);
    EXPECT_EQ(moved.Find(shared, [](const int&) { return true; }), nullptr);
}

}  // namespace
