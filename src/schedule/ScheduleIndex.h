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
    /// Adds the entry that sits at position nPos of the schedule list.
    void Add(const ScheduleEntry* pEntry, std::size_t nPos);
    /// The number of entries that hold tFirst or tSecond (start <= t <= end), each counted
    /// once; shown receives the nShown smallest of their list positions, in order.
    std::size_t Conflicts(std::int32_t tFirst, std::int32_t tSecond, std::size_t nShown,
                          std::vector<std::size_t>& shown) const;
    /// True when some entry holds tFirst or tSecond; stops at the first it finds.
    bool AnyConflict(std::int32_t tFirst, std::int32_t tSecond) const;
    /// The entry recorded for a list position by Add (nullptr when none).
    const ScheduleEntry* EntryAt(std::size_t nPos) const;

    std::size_t Count() const { return m_nodes.size(); }

private:
    struct Node {
        std::int32_t tStart;
        std::int32_t tEnd;
        std::int32_t tMaxEnd;  // the latest end in this node's subtree
        std::uint32_t nPriority;
        int left;
        int right;
        std::size_t nPos;
        const ScheduleEntry* pEntry;
    };

    static bool Before(const Node& a, const Node& b) {
        return a.tStart < b.tStart || (a.tStart == b.tStart && a.nPos < b.nPos);
    }
    // Calls visit(node) for every node whose entry holds t, until visit returns false.
    template <class F>
    void Visit(std::int32_t t, F visit) const;
    void Pull(int n);
    int InsertAt(int root, int n);
    std::uint32_t NextPriority();

    std::vector<Node> m_nodes;
    std::vector<int> m_byPos;  // node of each list position, -1 when none
    int m_root = -1;
    std::uint32_t m_seed = 0x9E3779B9u;
};

}  // namespace nelo
