#include "schedule/StartTimeQueue.h"

#include "schedule/ScheduleEntry.h"

#include <cstdint>
#include <limits>
#include <utility>

namespace nelo {

StartTimeQueue::StartTimeQueue(std::size_t n) {
    m_array.assign(n + 2, nullptr);
    m_order.assign(n + 2, 0);
}

void StartTimeQueue::Number(std::size_t n) {
    // The entry keeps its slot in a 32-bit field (it is saved with it); a queue holds far
    // fewer entries than that field counts, the largest value stands for any beyond.
    constexpr std::size_t kLargestSlot = std::numeric_limits<std::int32_t>::max();
    m_array[n]->m_heapIndex = static_cast<std::int32_t>(n < kLargestSlot ? n : kLargestSlot);
}

void StartTimeQueue::Insert(ScheduleEntry* entry) {
    ++m_count;
    if (m_count >= m_array.size()) {
        // More insertions than the queue was built for: grow rather than overrun.
        m_array.resize(m_count + 1 + m_count / 2, nullptr);
    }
    m_array[m_count] = entry;
    if (m_order.size() < m_array.size()) m_order.resize(m_array.size(), 0);
    m_order[m_count] = m_inserted++;

    Number(SiftUp(m_count));

    // Every entry carries its current slot. Only the slots of the sift-up path changed
    // since the previous insertion, unless RemoveTop moved entries in between.
    if (m_renumberAll) {
        for (std::size_t i = 1; i <= m_count; ++i) Number(i);
        m_renumberAll = false;
    }
}

std::size_t StartTimeQueue::SiftUp(std::size_t n) {
    while (n != 1) {
        const std::size_t p = n / 2;
        if (!Before(n, p)) break;
        Swap(p, n);
        Number(n);
        n = p;
    }
    return n;
}

ScheduleEntry* StartTimeQueue::RemoveTop() {
    if (m_count == 0) return nullptr;
    ScheduleEntry* top = m_array[1];
    m_array[1] = m_array[m_count];
    m_order[1] = m_order[m_count];
    m_array[m_count] = nullptr;
    --m_count;
    m_renumberAll = true;

    std::size_t b = 1;
    for (;;) {
        std::size_t a = 2 * b;
        if (a > m_count) break;
        if (a + 1 <= m_count && Before(a + 1, a)) ++a;
        if (!Before(a, b)) break;
        Swap(a, b);
        b = a;
    }
    return top;
}

bool StartTimeQueue::Before(std::size_t a, std::size_t b) const {
    const std::int32_t ta = m_array[a]->m_startTime;
    const std::int32_t tb = m_array[b]->m_startTime;
    return ta < tb || (ta == tb && m_order[a] < m_order[b]);
}

void StartTimeQueue::Swap(std::size_t a, std::size_t b) {
    std::swap(m_array[a], m_array[b]);
    std::swap(m_order[a], m_order[b]);
}

}  // namespace nelo
