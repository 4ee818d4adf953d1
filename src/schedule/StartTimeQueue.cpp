#include "schedule/StartTimeQueue.h"

#include "schedule/ScheduleEntry.h"

#include <utility>

namespace nelo {

StartTimeQueue::StartTimeQueue(int n) {
    m_nMax = n < 0 ? 2 : n + 2;
    m_array.assign(static_cast<std::size_t>(m_nMax), nullptr);
    m_order.assign(static_cast<std::size_t>(m_nMax), 0);
}

void StartTimeQueue::Insert(ScheduleEntry* pEntry) {
    ++m_nCount;
    if (m_nCount >= m_nMax) {
        // More insertions than the queue was built for: grow rather than overrun.
        m_nMax = m_nCount + 1 + m_nCount / 2;
        m_array.resize(static_cast<std::size_t>(m_nMax), nullptr);
    }
    m_array[m_nCount] = pEntry;
    if (m_order.size() < m_array.size()) m_order.resize(m_array.size(), 0);
    m_order[static_cast<std::size_t>(m_nCount)] = m_nInserted++;

    int n = m_nCount;
    while (n != 1) {
        int p = n / 2;
        if (Before(n, p)) {
            Swap(p, n);
            m_array[n]->m_nHeapIndex = n;
            n = p;
        } else {
            break;
        }
    }
    m_array[n]->m_nHeapIndex = n;

    // Every entry carries its current slot. Only the slots of the sift-up path changed
    // since the previous insertion, unless RemoveTop moved entries in between.
    if (m_bRenumberAll) {
        for (int i = 1; i <= m_nCount; ++i) m_array[i]->m_nHeapIndex = i;
        m_bRenumberAll = false;
    }
}

ScheduleEntry* StartTimeQueue::RemoveTop() {
    if (m_nCount <= 0) return nullptr;
    ScheduleEntry* pTop = m_array[1];
    m_array[1] = m_array[m_nCount];
    m_order[1] = m_order[static_cast<std::size_t>(m_nCount)];
    m_array[m_nCount] = nullptr;
    --m_nCount;
    m_bRenumberAll = true;

    int b = 1;
    for (;;) {
        int a = 2 * b;
        if (a > m_nCount) break;
        if (a + 1 <= m_nCount && Before(a + 1, a)) ++a;
        if (!Before(a, b)) break;
        Swap(a, b);
        b = a;
    }
    return pTop;
}

bool StartTimeQueue::Before(int a, int b) const {
    const std::int32_t ta = m_array[a]->m_tStart;
    const std::int32_t tb = m_array[b]->m_tStart;
    return ta < tb || (ta == tb && m_order[static_cast<std::size_t>(a)] < m_order[static_cast<std::size_t>(b)]);
}

void StartTimeQueue::Swap(int a, int b) {
    std::swap(m_array[a], m_array[b]);
    std::swap(m_order[static_cast<std::size_t>(a)], m_order[static_cast<std::size_t>(b)]);
}

void StartTimeQueue::DeleteContents() {
    m_array.clear();
    m_order.clear();
    m_nCount = 0;
    m_nMax = 0;
}

}  // namespace nelo
