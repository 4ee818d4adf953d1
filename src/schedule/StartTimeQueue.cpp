#include "schedule/StartTimeQueue.h"

#include "schedule/ScheduleEntry.h"

#include <utility>

namespace nelo {

StartTimeQueue::StartTimeQueue(int n) {
    m_max = n < 0 ? 2 : n + 2;
    m_array.assign(static_cast<std::size_t>(m_max), nullptr);
    m_order.assign(static_cast<std::size_t>(m_max), 0);
}

void StartTimeQueue::Insert(ScheduleEntry* entry) {
    ++m_count;
    if (m_count >= m_max) {
        // More insertions than the queue was built for: grow rather than overrun.
        m_max = m_count + 1 + m_count / 2;
        m_array.resize(static_cast<std::size_t>(m_max), nullptr);
    }
    m_array[m_count] = entry;
    if (m_order.size() < m_array.size()) m_order.resize(m_array.size(), 0);
    m_order[static_cast<std::size_t>(m_count)] = m_inserted++;

    int n = m_count;
    while (n != 1) {
        int p = n / 2;
        if (Before(n, p)) {
            Swap(p, n);
            m_array[n]->m_heapIndex = n;
            n = p;
        } else {
            break;
        }
    }
    m_array[n]->m_heapIndex = n;

    // Every entry carries its current slot. Only the slots of the sift-up path changed
    // since the previous insertion, unless RemoveTop moved entries in between.
    if (m_renumberAll) {
        for (int i = 1; i <= m_count; ++i) m_array[i]->m_heapIndex = i;
        m_renumberAll = false;
    }
}

ScheduleEntry* StartTimeQueue::RemoveTop() {
    if (m_count <= 0) return nullptr;
    ScheduleEntry* top = m_array[1];
    m_array[1] = m_array[m_count];
    m_order[1] = m_order[static_cast<std::size_t>(m_count)];
    m_array[m_count] = nullptr;
    --m_count;
    m_renumberAll = true;

    int b = 1;
    for (;;) {
        int a = 2 * b;
        if (a > m_count) break;
        if (a + 1 <= m_count && Before(a + 1, a)) ++a;
        if (!Before(a, b)) break;
        Swap(a, b);
        b = a;
    }
    return top;
}

bool StartTimeQueue::Before(int a, int b) const {
    const std::int32_t ta = m_array[a]->m_startTime;
    const std::int32_t tb = m_array[b]->m_startTime;
    return ta < tb || (ta == tb && m_order[static_cast<std::size_t>(a)] < m_order[static_cast<std::size_t>(b)]);
}

void StartTimeQueue::Swap(int a, int b) {
    std::swap(m_array[a], m_array[b]);
    std::swap(m_order[static_cast<std::size_t>(a)], m_order[static_cast<std::size_t>(b)]);
}

}  // namespace nelo
