// A map from code page 932 names to owned records that iterates in the order of the
// framework's string map with 17 hash buckets: the hash of a key starts at 0 and
// becomes hash * 33 + b for each byte b (signed), buckets are walked in ascending order
// and within a bucket the most recently inserted key comes first. Files, lists and
// exports depend on that order. Lookups go through a separate hash index, so they stay
// constant-time however many keys there are.
#pragma once

#include "platform/HashSlots.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace nelo {

/// The bucket (0-16) of a key in the 17-bucket order.
inline unsigned StringMapBucket(std::string_view key) {
    std::uint32_t hash = 0;
    for (char c : key)
        hash = hash * 33u + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    return hash % 17u;
}

template <class T>
class StringMap {
    // One allocation per key: the key, its record and its place in the order.
    struct Node {
        explicit Node(std::string k) : key(std::move(k)) {}
        std::string key;
        std::unique_ptr<T> value;
        Node* prev = nullptr;
        Node* next = nullptr;
        unsigned bucket = 0;
        std::uint64_t seq = 0;  // insertion number: later keys come first in their bucket
    };
    using Index = HashSlots<Node>;

public:
    static constexpr unsigned kBuckets = 17;

    StringMap() = default;
    StringMap(const StringMap&) = delete;
    StringMap& operator=(const StringMap&) = delete;
    StringMap(StringMap&& other) noexcept { Swap(other); }
    StringMap& operator=(StringMap&& other) noexcept {
        if (this != &other) {
            RemoveAll();
            Swap(other);
        }
        return *this;
    }
    ~StringMap() { RemoveAll(); }

    std::size_t GetCount() const { return m_index.GetCount(); }
    bool IsEmpty() const { return m_index.GetCount() == 0; }

    /// The hash a key is filed under (for Prefetch and the hashed Add).
    static std::uint64_t HashOf(std::string_view key) { return Index::HashOf(key); }

    /// The record stored under key, or nullptr.
    T* Lookup(const std::string& key) const {
        Node* n = Find(HashOf(key), key);
        return n ? n->value.get() : nullptr;
    }

    /// Stores value under key. An existing record of that key is destroyed and the new
    /// one takes its place in the order; a new key goes to the front of its bucket.
    T* SetAt(const std::string& key, std::unique_ptr<T> value) {
        const std::string* newKey = nullptr;
        return SetAt(key, std::move(value), newKey);
    }
    /// As SetAt; newKey is the map's own copy of key when the key was new, else null.
    T* SetAt(const std::string& key, std::unique_ptr<T> value, const std::string*& newKey) {
        std::uint64_t hash = HashOf(key);
        Node* n = Find(hash, key);
        newKey = nullptr;
        if (!n) {
            n = Insert(hash, std::string(key));
            newKey = &n->key;
        }
        n->value = std::move(value);
        return n->value.get();
    }

    /// Stores value under key unless the key is there already, with one look-up: the
    /// stored record and, in storedKey, the map's own copy of the key; or nullptr when
    /// the key was present (value then stays with the caller). hash is HashOf(key).
    T* Add(std::string&& key, std::uint64_t hash, std::unique_ptr<T>& value, const std::string*& storedKey) {
        storedKey = nullptr;
        if (Find(hash, key)) return nullptr;
        Node* n = Insert(hash, std::move(key));
        n->value = std::move(value);
        storedKey = &n->key;
        return n->value.get();
    }
    T* Add(std::string&& key, std::unique_ptr<T>& value, const std::string*& storedKey) {
        std::uint64_t hash = HashOf(key);
        return Add(std::move(key), hash, value, storedKey);
    }

    /// Asks the processor for the index slot of a key of this hash, a few keys ahead of
    /// adding it (see HashSlots::Prefetch).
    void Prefetch(std::uint64_t hash) const { m_index.Prefetch(hash); }

    /// Removes and destroys the record of key; false when there was none.
    bool RemoveKey(const std::string& key) {
        std::uint64_t hash = HashOf(key);
        Node* n = Find(hash, key);
        if (!n) return false;
        m_index.Erase(hash, [n](const Node& other) { return &other == n; });
        Unlink(*n);
        delete n;
        return true;
    }

    /// Destroys every record.
    void RemoveAll() {
        // Along the order, which follows the order the nodes were made in far more
        // closely than the index does.
        for (Node*& head : m_heads)
            for (Node* n = std::exchange(head, nullptr); n;) delete std::exchange(n, n->next);
        m_index.Clear();
    }

    /// Room for n keys without the index growing.
    void Reserve(std::size_t n) { m_index.Reserve(n); }

    /// True when key a (present) comes before key b (present) in the map's order.
    bool ComesBefore(const std::string& a, const std::string& b) const {
        const Node& na = *Find(HashOf(a), a);
        const Node& nb = *Find(HashOf(b), b);
        if (na.bucket != nb.bucket) return na.bucket < nb.bucket;
        return na.seq > nb.seq;
    }

    /// Calls f(key, record) for every entry in the map's order. f may not change the map.
    template <class F>
    void ForEach(F f) const {
        for (Node* head : m_heads)
            for (Node* n = head; n; n = n->next) f(n->key, *n->value);
    }

    /// Position-based walk, as the framework's maps offer it: GetStartPosition, then
    /// GetNextAssoc until the position is null. Removing the entry just returned is safe.
    using Position = const void*;
    Position GetStartPosition() const { return FirstFrom(0); }
    void GetNextAssoc(Position& pos, std::string& key, T*& value) const {
        const Node* n = static_cast<const Node*>(pos);
        key = n->key;
        value = n->value.get();
        pos = n->next ? n->next : FirstFrom(n->bucket + 1);
    }

private:
    Node* Find(std::uint64_t hash, std::string_view key) const {
        return m_index.Find(hash, [key](const Node& n) { return n.key == key; });
    }

    // A node for a new key, entered in the index and put at the front of its bucket.
    Node* Insert(std::uint64_t hash, std::string&& key) {
        auto owned = std::make_unique<Node>(std::move(key));
        m_index.Insert(hash, owned.get());
        Node* n = owned.release();
        n->bucket = StringMapBucket(n->key);
        n->seq = ++m_nextSeq;
        n->next = m_heads[n->bucket];
        if (n->next) n->next->prev = n;
        m_heads[n->bucket] = n;
        return n;
    }

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

    void Swap(StringMap& other) noexcept {
        m_index.Swap(other.m_index);
        for (unsigned b = 0; b < kBuckets; ++b) std::swap(m_heads[b], other.m_heads[b]);
        std::swap(m_nextSeq, other.m_nextSeq);
    }

    Index m_index;  // owns the nodes
    Node* m_heads[kBuckets] = {};
    std::uint64_t m_nextSeq = 0;
};

}  // namespace nelo
