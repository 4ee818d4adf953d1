// The index under the string maps: an open-addressed table of (hash, pointer) slots.
// A key's run starts at the slot named by the top bits of its hash and goes on
// linearly; the table is at most half full and a removal shifts the rest of its run
// back, so there are no tombstones. Looking up compares the stored hashes first and
// touches what a pointer points to only when they are equal, so a miss reads the table
// alone, and one slot takes 16 bytes with no allocation of its own. The table owns
// nothing it points to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace nelo {

template <class P>
class HashSlots {
public:
    struct Slot {
        std::uint64_t hash = 0;
        P* p = nullptr;  // null: empty
    };

    /// The hash a key is filed under.
    static std::uint64_t HashOf(std::string_view key) {
        // Mixed once more, since the table goes by the top bits.
        return std::hash<std::string_view>{}(key)*0x9E3779B97F4A7C15ull;
    }

    HashSlots() = default;
    HashSlots(const HashSlots&) = delete;
    HashSlots& operator=(const HashSlots&) = delete;
    // A table moved from is left empty.
    HashSlots(HashSlots&& other) noexcept { Swap(other); }
    HashSlots& operator=(HashSlots&& other) noexcept {
        if (this != &other) {
            Clear();
            Swap(other);
        }
        return *this;
    }

    std::size_t GetCount() const { return m_count; }

    /// Room for n entries without growing.
    void Reserve(std::size_t n) {
        unsigned bits = kMinBits;
        while ((std::size_t{1} << bits) < 2 * n) ++bits;
        if (bits > m_bits) Rehash(bits);
    }

    void Clear() {
        std::vector<Slot>().swap(m_slots);
        m_bits = 0;
        m_count = 0;
    }

    void Swap(HashSlots& other) noexcept {
        m_slots.swap(other.m_slots);
        std::swap(m_bits, other.m_bits);
        std::swap(m_count, other.m_count);
    }

    /// Asks the processor for the slot where the run of hash starts: a batch of
    /// insertions that does this a few keys ahead waits for memory far less often.
    void Prefetch(std::uint64_t hash) const {
        if (!m_slots.empty()) __builtin_prefetch(&m_slots[Home(hash)]);
    }

    /// The entry of hash for which match(p) holds, or nullptr.
    template <class Match>
    P* Find(std::uint64_t hash, Match match) const {
        if (m_count == 0) return nullptr;
        for (std::size_t i = Home(hash);; i = Next(i)) {
            const Slot& slot = m_slots[i];
            if (!slot.p) return nullptr;
            if (slot.hash == hash && match(*slot.p)) return slot.p;
        }
    }

    /// Calls f(p) for every entry of hash.
    template <class F>
    void ForEachOf(std::uint64_t hash, F f) const {
        if (m_count == 0) return;
        for (std::size_t i = Home(hash); m_slots[i].p; i = Next(i))
            if (m_slots[i].hash == hash) f(*m_slots[i].p);
    }

    /// Calls f(p) for every entry.
    template <class F>
    void ForEach(F f) const {
        for (const Slot& slot : m_slots)
            if (slot.p) f(*slot.p);
    }

    /// Enters p under hash (the caller knows it is not there yet), growing first when
    /// the table would be more than half full.
    void Insert(std::uint64_t hash, P* p) {
        if (2 * (m_count + 1) > m_slots.size()) Rehash(m_bits == 0 ? kMinBits : m_bits + 1);
        Place({hash, p});
        ++m_count;
    }

    /// Removes the entry of hash for which match(p) holds; false when there is none.
    template <class Match>
    bool Erase(std::uint64_t hash, Match match) {
        if (m_count == 0) return false;
        std::size_t i = Home(hash);
        for (;; i = Next(i)) {
            const Slot& slot = m_slots[i];
            if (!slot.p) return false;
            if (slot.hash == hash && match(*slot.p)) break;
        }
        // Close the gap: a later entry of the run moves back into it unless its own run
        // starts after the gap (cyclically within (i, j]).
        for (std::size_t j = Next(i); m_slots[j].p; j = Next(j)) {
            std::size_t home = Home(m_slots[j].hash);
            bool staysAfterGap = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (!staysAfterGap) {
                m_slots[i] = m_slots[j];
                i = j;
            }
        }
        m_slots[i] = Slot();
        --m_count;
        return true;
    }

private:
    static constexpr unsigned kMinBits = 4;

    std::size_t Home(std::uint64_t hash) const { return static_cast<std::size_t>(hash >> (64 - m_bits)); }
    std::size_t Next(std::size_t i) const { return (i + 1) & (m_slots.size() - 1); }

    void Place(const Slot& slot) {
        std::size_t i = Home(slot.hash);
        while (m_slots[i].p) i = Next(i);
        m_slots[i] = slot;
    }

    void Rehash(unsigned bits) {
        std::vector<Slot> slots(std::size_t{1} << bits);
        slots.swap(m_slots);
        m_bits = bits;
        for (const Slot& slot : slots)
            if (slot.p) Place(slot);
    }

    std::vector<Slot> m_slots;  // 2^m_bits of them
    unsigned m_bits = 0;
    std::size_t m_count = 0;
};

}  // namespace nelo
