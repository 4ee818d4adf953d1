#include "schedule/ScheduleIndex.h"

#include "schedule/ScheduleEntry.h"

#include <algorithm>
#include <array>
#include <queue>

namespace nelo {

namespace {

// The nodes still to visit: on the stack of the call while the tree is as shallow as a
// balanced one of any real size is, so that a look-up allocates nothing; deeper ones
// spill to the heap.
class NodeStack {
public:
    bool Empty() const { return m_size == 0 && m_spilled.empty(); }
    void Push(std::size_t n) {
        if (m_size < m_kept.size())
            m_kept[m_size++] = n;
        else
            m_spilled.push_back(n);
    }
    std::size_t Pop() {
        if (!m_spilled.empty()) {
            const std::size_t n = m_spilled.back();
            m_spilled.pop_back();
            return n;
        }
        return m_kept[--m_size];
    }

private:
    std::array<std::size_t, 128> m_kept;
    std::size_t m_size = 0;
    std::vector<std::size_t> m_spilled;
};

}  // namespace

void ScheduleIndex::Clear() {
    m_nodes.clear();
    m_root = kNoNode;
}

std::uint32_t ScheduleIndex::NextPriority() {
    // xorshift32: a fixed seed keeps runs reproducible; priorities only shape the tree.
    m_seed ^= m_seed << 13;
    m_seed ^= m_seed >> 17;
    m_seed ^= m_seed << 5;
    return m_seed;
}

void ScheduleIndex::Pull(std::size_t n) {
    Node& node = m_nodes[n];
    node.maxEndTime = node.endTime;
    if (node.left != kNoNode) node.maxEndTime = std::max(node.maxEndTime, m_nodes[node.left].maxEndTime);
    if (node.right != kNoNode) node.maxEndTime = std::max(node.maxEndTime, m_nodes[node.right].maxEndTime);
}

std::size_t ScheduleIndex::InsertAt(std::size_t root, std::size_t n) {
    if (root == kNoNode) return n;
    if (Before(m_nodes[n], m_nodes[root])) {
        const std::size_t child = InsertAt(m_nodes[root].left, n);
        m_nodes[root].left = child;
        if (m_nodes[child].priority > m_nodes[root].priority) {
            m_nodes[root].left = m_nodes[child].right;
            m_nodes[child].right = root;
            Pull(root);
            Pull(child);
            return child;
        }
    } else {
        const std::size_t child = InsertAt(m_nodes[root].right, n);
        m_nodes[root].right = child;
        if (m_nodes[child].priority > m_nodes[root].priority) {
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

void ScheduleIndex::Add(const ScheduleEntry* entry, std::size_t pos) {
    const std::size_t n = m_nodes.size();
    m_nodes.push_back(
        Node{entry->GetStartTime(), entry->GetEndTime(), entry->GetEndTime(), NextPriority(), kNoNode, kNoNode, pos});
    m_root = InsertAt(m_root, n);
}

template <class F>
void ScheduleIndex::Visit(std::int32_t t, F visit) const {
    NodeStack stack;
    if (m_root != kNoNode) stack.Push(m_root);
    while (!stack.Empty()) {
        const Node& node = m_nodes[stack.Pop()];
        if (node.maxEndTime < t) continue;  // nothing below ends at or after t
        if (node.left != kNoNode) stack.Push(node.left);
        if (node.startTime > t) continue;  // this node and everything right of it start after t
        if (node.endTime >= t && !visit(node)) return;
        if (node.right != kNoNode) stack.Push(node.right);
    }
}

std::size_t ScheduleIndex::Conflicts(std::int32_t firstTime, std::int32_t secondTime, std::size_t maxShown,
                                     std::vector<std::size_t>& shown) const {
    // The smallest positions seen so far, the largest of them on top.
    std::priority_queue<std::size_t> smallest;
    std::size_t count = 0;
    auto take = [&](const Node& node) {
        ++count;
        if (smallest.size() < maxShown) {
            smallest.push(node.pos);
        } else if (maxShown > 0 && node.pos < smallest.top()) {
            smallest.pop();
            smallest.push(node.pos);
        }
        return true;
    };
    Visit(firstTime, take);
    if (secondTime != firstTime)
        Visit(secondTime, [&](const Node& node) {
            // An entry that also holds firstTime was counted already.
            return node.startTime <= firstTime && firstTime <= node.endTime ? true : take(node);
        });
    shown.resize(smallest.size());
    for (std::size_t i = shown.size(); i-- > 0; smallest.pop()) shown[i] = smallest.top();
    return count;
}

bool ScheduleIndex::AnyConflict(std::int32_t firstTime, std::int32_t secondTime) const {
    bool foundAny = false;
    auto found = [&foundAny](const Node&) {
        foundAny = true;
        return false;
    };
    Visit(firstTime, found);
    if (!foundAny && secondTime != firstTime) Visit(secondTime, found);
    return foundAny;
}

}  // namespace nelo
