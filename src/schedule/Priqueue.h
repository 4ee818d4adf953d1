// The binary min-heap that orders schedule entries by start time for sorting and
// listing. It does not own its entries: they belong to the schedule list.
#pragma once

#include <cstdint>
#include <vector>

class CSchedule;

class CPriqueue {
public:
    /// A queue with room for 200 entries.
    CPriqueue() : CPriqueue(198) {}
    /// A queue built for n entries (n + 2 slots; slot 0 is never used).
    explicit CPriqueue(int n);

    /// Adds an entry and sifts it up; an entry equal to its parent stays below it.
    void Insert(CSchedule* pEntry);
    /// Takes out the entry with the earliest start; nullptr when the queue is empty.
    CSchedule* RemoveTop();
    /// Forgets every slot (the entries are not deleted: the queue never owns them).
    void DeleteContents();

    std::int32_t m_nCount = 0;  ///< entries in the heap, in slots 1 to m_nCount
    std::int32_t m_nMax = 0;    ///< number of slots
    std::vector<CSchedule*> m_array;

private:
    // An entry taken out moves others without renumbering them; the next insertion then
    // renumbers every slot instead of only the slots its sift-up touched.
    bool m_bRenumberAll = false;
};
