// A map from code page 932 names to owned records that iterates in the order of the
// framework's string map with 17 hash buckets: the hash of a key starts at 0 and
// becomes hash * 33 + b for each byte b (signed), buckets are walked in ascending order
// and within a bucket the most recently inserted key comes first. Files, lists and
// exports depend on that order. Lookups go through a separate hash index, so they stay
// constant-time however many keys there are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

/// The bucket (0-16) of a key in the 17-bucket order.
inline unsigned StringMapBucket(std::string_view key) {
    std::uint32_t hash = 0;
    for (char c : key) hash = hash * 33u + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    return hash % 17u;
}

template <class T>
class CStringMap {
    struct Node {
        std::unique_ptr<T> value;
        const std::string* key = nullptr;
        Node* prev = nullptr;
        Node* next = nullptr;
        unsigned bucket = 0;
        std::uint64_t seq = 0;  // insertion number: later keys come first in their bucket
    };

public:
    static constexpr unsigned kBuckets = 17;

    CStringMap() = default;
    CStringMap(const CStringMap&) = delete;
    CStringMap& operator=(const CStringMap&) = delete;
    CStringMap(CStringMap&& other) noexcept { Swap(other); }
    CStringMap& operator=(CStringMap&& other) noexcept {
        if (this != &other) {
            RemoveAll();
            Swap(other);
        }
        return *this;
    }

    std::size_t GetCount() const { return m_index.size(); }
    bool IsEmpty() const { return m_index.empty(); }

    /// The record stored under key, or nullptr.
    T* Lookup(const std::string& key) const {
        auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : it->second.value.get();
    }

    /// Stores value under key. An existing record of that key is destroyed and the new
    /// one takes its place in the order; a new key goes to the front of its bucket.
    T* SetAt(const std::string& key, std::unique_ptr<T> value) {
        auto [it, inserted] = m_index.try_emplace(key);
        Node& n = it->second;
        n.value = std::move(value);
        if (inserted) {
            n.key = &it->first;
            n.bucket = StringMapBucket(key);
            n.seq = ++m_nextSeq;
            n.next = m_heads[n.bucket];
            if (n.next) n.next->prev = &n;
            m_heads[n.bucket] = &n;
        }
        return n.value.get();
    }

    /// Removes and destroys the record of key; false when there was none.
    bool RemoveKey(const std::string& key) {
        auto it = m_index.find(key);
        if (it == m_index.end()) return false;
        Unlink(it->second);
        m_index.erase(it);
        return true;
    }

    /// Destroys every record.
    void RemoveAll() {
        m_index.clear();
        for (auto& h : m_heads) h = nullptr;
    }

    void Reserve(std::size_t n) { m_index.reserve(n); }

    /// True when key a (present) comes before key b (present) in the map's order.
    bool ComesBefore(const std::string& a, const std::string& b) const {
        const Node& na = m_index.find(a)->second;
        const Node& nb = m_index.find(b)->second;
        if (na.bucket != nb.bucket) return na.bucket < nb.bucket;
        return na.seq > nb.seq;
    }

    /// Calls f(key, record) for every entry in the map's order. f may not change the map.
    template <class F>
    void ForEach(F f) const {
        for (Node* head : m_heads)
            for (Node* n = head; n; n = n->next) f(*n->key, *n->value);
    }

    /// Position-based walk, as the framework's maps offer it: GetStartPosition, then
    /// GetNextAssoc until the position is null. Removing the entry just returned is safe.
    using Position = const void*;
    Position GetStartPosition() const { return FirstFrom(0); }
    void GetNextAssoc(Position& pos, std::string& key, T*& value) const {
        const Node* n = static_cast<const Node*>(pos);
        key = *n->key;
        value = n->value.get();
        pos = n->next ? n->next : FirstFrom(n->bucket + 1);
    }

private:
    Position FirstFrom(unsigned bucket) const {
        for (unsigned b = bucket; b < kBuckets; ++b)
            if (m_heads[b]) return m_heads[b];
        return nullptr;
    }

    void Unlink(Node& n) {
        if (n.prev)
            n.prev->next = n.next;
        else
            m_heads[n.bucket] = n.next;
        if (n.next) n.next->prev = n.prev;
    }

    void Swap(CStringMap& other) noexcept {
        m_index.swap(other.m_index);
        for (unsigned b = 0; b < kBuckets; ++b) std::swap(m_heads[b], other.m_heads[b]);
        std::swap(m_nextSeq, other.m_nextSeq);
    }

    std::unordered_map<std::string, Node> m_index;
    Node* m_heads[kBuckets] = {};
    std::uint64_t m_nextSeq = 0;
};
