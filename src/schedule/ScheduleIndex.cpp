#include "schedule/ScheduleIndex.h"

#include "schedule/Schedule.h"

#include <algorithm>

void CScheduleIndex::Clear() {
    m_nodes.clear();
    m_byPos.clear();
    m_root = -1;
}

std::uint32_t CScheduleIndex::NextPriority() {
    // xorshift32: a fixed seed keeps runs reproducible; priorities only shape the tree.
    m_nSeed ^= m_nSeed << 13;
    m_nSeed ^= m_nSeed >> 17;
    m_nSeed ^= m_nSeed << 5;
    return m_nSeed;
}

void CScheduleIndex::Pull(int n) {
    Node& node = m_nodes[n];
    node.tMaxEnd = node.tEnd;
    if (node.left >= 0) node.tMaxEnd = std::max(node.tMaxEnd, m_nodes[node.left].tMaxEnd);
    if (node.right >= 0) node.tMaxEnd = std::max(node.tMaxEnd, m_nodes[node.right].tMaxEnd);
}

int CScheduleIndex::InsertAt(int root, int n) {
    if (root < 0) return n;
    if (Before(m_nodes[n], m_nodes[root])) {
        int child = InsertAt(m_nodes[root].left, n);
        m_nodes[root].left = child;
        if (m_nodes[child].nPriority > m_nodes[root].nPriority) {
            m_nodes[root].left = m_nodes[child].right;
            m_nodes[child].right = root;
            Pull(root);
            Pull(child);
            return child;
        }
    } else {
        int child = InsertAt(m_nodes[root].right, n);
        m_nodes[root].right = child;
        if (m_nodes[child].nPriority > m_nodes[root].nPriority) {
            m_nodes[root].right = m_nodes[child].left;
            m_nodes[child].left = root;
            Pull(root);
            Pull(child);
            return child;
        }
    }
    Pull(root);
    return root;
}

void CScheduleIndex::Add(const CSchedule* pEntry, std::size_t nPos) {
    int n = static_cast<int>(m_nodes.size());
    m_nodes.push_back(Node{pEntry->m_tStart, pEntry->m_tEnd, pEntry->m_tEnd, NextPriority(), -1, -1, nPos, pEntry});
    if (nPos >= m_byPos.size()) m_byPos.resize(nPos + 1, -1);
    m_byPos[nPos] = n;
    m_root = InsertAt(m_root, n);
}

const CSchedule* CScheduleIndex::EntryAt(std::size_t nPos) const {
    if (nPos >= m_byPos.size() || m_byPos[nPos] < 0) return nullptr;
    return m_nodes[m_byPos[nPos]].pEntry;
}

void CScheduleIndex::Stab(std::int32_t t, std::vector<std::size_t>& positions) const {
    std::vector<int> stack;
    if (m_root >= 0) stack.push_back(m_root);
    while (!stack.empty()) {
        const Node& node = m_nodes[stack.back()];
        stack.pop_back();
        if (node.tMaxEnd < t) continue;  // nothing below ends at or after t
        if (node.left >= 0) stack.push_back(node.left);
        if (node.tStart > t) continue;  // this node and everything right of it start after t
        if (node.tEnd >= t) positions.push_back(node.nPos);
        if (node.right >= 0) stack.push_back(node.right);
    }
}
