// An interval index over the schedule list, so that the conflict check of a new entry
// does not walk every stored entry: a treap ordered by start whose nodes carry the
// latest end of their subtree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace nelo {

class ScheduleEntry;

class ScheduleIndex {
public:
    /// Forgets every entry.
    void Clear();
    /// Adds the entry that sits at position pos of the schedule list.
    void Add(const ScheduleEntry* entry, std::size_t pos);
    /// The number of entries that hold firstTime or secondTime (start <= t <= end), each counted
    /// once; shown receives the maxShown smallest of their list positions, in order.
    std::size_t Conflicts(std::int32_t firstTime, std::int32_t secondTime, std::size_t maxShown,
                          std::vector<std::size_t>& shown) const;
    /// True when some entry holds firstTime or secondTime; stops at the first it finds.
    bool AnyConflict(std::int32_t firstTime, std::int32_t secondTime) const;

private:
    struct Node {
        std::int32_t startTime;
        std::int32_t endTime;
        std::int32_t maxEndTime;  // the latest end in this node's subtree
        std::uint32_t priority;
        std::size_t left;   // a node number, or kNoNode
        std::size_t right;  // a node number, or kNoNode
        std::size_t pos;
    };
    // The child of a leaf and the root of an empty index.
    static constexpr std::size_t kNoNode = static_cast<std::size_t>(-1);

    static bool Before(const Node& a, const Node& b) {
        return a.startTime < b.startTime || (a.startTime == b.startTime && a.pos < b.pos);
    }
    // Calls visit(node) for every node whose entry holds t, until visit returns false.
    template <class F>
    void Visit(std::int32_t t, F visit) const;
    void Pull(std::size_t n);
    std::size_t InsertAt(std::size_t root, std::size_t n);
    std::uint32_t NextPriority();

    std::vector<Node> m_nodes;
    std::size_t m_root = kNoNode;
    std::uint32_t m_seed = 0x9E3779B9u;
};

}  // namespace nelo
