// The binary min-heap that orders schedule entries by start time for sorting and
// listing. Entries with the same start come out in the order they went in, so that the
// list (kept in registration order) reads the same in every listing, however often it
// was sorted. It does not own its entries: they belong to the schedule list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace nelo {

class ScheduleEntry;

class StartTimeQueue {
public:
    /// A queue built for n entries (n + 2 slots; slot 0 is never used).
    explicit StartTimeQueue(std::size_t n);

    /// Adds an entry and sifts it up; an entry with the start of its parent stays below it.
    void Insert(ScheduleEntry* entry);
    /// Takes out the entry with the earliest start (of several, the one inserted first);
    /// nullptr when the queue is empty.
    ScheduleEntry* RemoveTop();
    /// The entries in the heap.
    std::size_t GetCount() const { return m_count; }

private:
    /// True when slot a comes out before slot b.
    bool Before(std::size_t a, std::size_t b) const;
    void Swap(std::size_t a, std::size_t b);
    /// Moves the entry of slot n up past its later parents; returns the slot it stops in.
    std::size_t SiftUp(std::size_t n);
    /// Tells the entry of slot n that it sits there.
    void Number(std::size_t n);

    std::size_t m_count = 0;  // entries in the heap, in slots 1 to m_count
    std::vector<ScheduleEntry*> m_array;
    // The insertion number of each slot's entry: the tie-break among equal starts.
    std::vector<std::uint32_t> m_order;
    std::uint32_t m_inserted = 0;
    // An entry taken out moves others without renumbering them; the next insertion then
    // renumbers every slot instead of only the slots its sift-up touched.
    bool m_renumberAll = false;
};

}  // namespace nelo
