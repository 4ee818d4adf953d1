#include "platform/Archive.h"

#include <cstring>

namespace nelo {

namespace {

// The framework's tag values.
constexpr std::uint16_t kNullTag = 0;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint32_t kBigClassTag = 0x80000000u;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kMaxMapCount = 0x3FFFFFFEu;
// The framework reads a class name into a buffer of 64 bytes with its terminator.
constexpr std::size_t kMaxClassName = 63;
// A storing archive's buffer before it goes to the sink.
constexpr std::size_t kBufferSize = 64 * 1024;

// The first slot to try for a pointer in a table of 2^bits slots: Fibonacci hashing
// (the top bits of the pointer times 2^64 / golden ratio), which spreads pointers
// that lie at regular distances evenly, and does so in a regular pattern of slots.
std::size_t PointerSlot(const void* p, unsigned bits) {
    auto v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
    return static_cast<std::size_t>((v * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}

}  // namespace

Archive::Archive(std::string& out) : m_storing(true), m_out(&out) {}

Archive::Archive(ByteSink& sink) : m_storing(true), m_sink(&sink), m_buffer(new char[kBufferSize]) {
    m_put = m_buffer.get();
    m_putEnd = m_put + kBufferSize;
}

Archive::~Archive() = default;

Archive::Archive(const char* data, std::size_t size)
    : m_data(reinterpret_cast<const unsigned char*>(data)), m_size(size), m_copyBudget(size) {
    m_loadArray.push_back({nullptr, 0, 0, false, true});
}

const char* Archive::FormatErrorText() {
    // Half-width katakana, as the framework writes it: 予期しないﾌｧｲﾙ形式です。
    return "\x97\x5C\x8A\xFA\x82\xB5\x82\xC8\x82\xA2\xCC\xA7\xB2\xD9\x8C\x60\x8E\xAE\x82\xC5\x82\xB7\x81\x42";
}

void Archive::ThrowFormat(ArchiveException::Cause cause) {
    static const char* const kWhat[] = {"unexpected end of file", "unexpected class",   "wrong schema",
                                        "bad object index",       "count too large",    "bad string length",
                                        "too large to store",     "bytes after the end"};
    throw ArchiveException(kWhat[cause]);
}

void Archive::Need(std::size_t n) {
    if (n > m_size - m_pos) ThrowFormat(ArchiveException::EndOfFile);
}

// --- storing ----------------------------------------------------------------------

void Archive::PutSlow(const char* p, std::size_t n) {
    if (m_out) {
        m_out->append(p, n);
        return;
    }
    // Fill the buffer to its end, so that the sink gets whole blocks.
    std::size_t room = static_cast<std::size_t>(m_putEnd - m_put);
    std::memcpy(m_put, p, room);
    m_put += room;
    p += room;
    n -= room;
    Flush();
    if (n >= kBufferSize) {
        // Whole blocks straight from the caller: too big to be worth copying.
        std::size_t whole = n - n % kBufferSize;
        m_sink->Write(p, whole);
        p += whole;
        n -= whole;
    }
    std::memcpy(m_put, p, n);
    m_put += n;
}

void Archive::Flush() {
    if (!m_sink || m_put == m_buffer.get()) return;
    m_sink->Write(m_buffer.get(), static_cast<std::size_t>(m_put - m_buffer.get()));
    m_put = m_buffer.get();
}

void Archive::WriteWord(std::uint16_t w) {
    char b[2] = {static_cast<char>(w & 0xFF), static_cast<char>(w >> 8)};
    Put(b, 2);
}

void Archive::WriteDWord(std::uint32_t dw) {
    char b[4];
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((dw >> (8 * i)) & 0xFF);
    Put(b, 4);
}

void Archive::WriteDouble(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    char b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    Put(b, 8);
}

void Archive::WriteLongString(const std::string& s) {
    std::size_t n = s.size();
    if (n < 255) {
        char b = static_cast<char>(n);
        Put(&b, 1);
    } else if (n < 0xFFFE) {
        // 0xFFFE is the framework's marker of a wide string, so 65534 takes the long form.
        Put("\xFF", 1);
        WriteWord(static_cast<std::uint16_t>(n));
    } else {
        if (n >= 0xFFFFFFFFu) ThrowFormat(ArchiveException::TooLarge);
        Put("\xFF", 1);
        WriteWord(0xFFFF);
        WriteDWord(static_cast<std::uint32_t>(n));
    }
    Put(s.data(), n);
}

void Archive::WriteCount(std::size_t n) {
    if (n < 0xFFFF) {
        WriteWord(static_cast<std::uint16_t>(n));
    } else {
        if (n > 0xFFFFFFFFu) ThrowFormat(ArchiveException::TooLarge);
        WriteWord(0xFFFF);
        WriteDWord(static_cast<std::uint32_t>(n));
    }
}

std::uint32_t Archive::NextMapNumber() {
    if (m_mapCount >= kMaxMapCount) ThrowFormat(ArchiveException::TooLarge);
    return m_mapCount++;
}

void Archive::WriteTagNumber(std::uint32_t n, bool isClass) {
    if (n < kBigObjectTag) {
        WriteWord(static_cast<std::uint16_t>(isClass ? (kClassTag | n) : n));
    } else {
        WriteWord(kBigObjectTag);
        WriteDWord(isClass ? (kBigClassTag | n) : n);
    }
}

std::uint32_t* Archive::FindObjectNumber(const void* object) {
    if (m_objectSlots.empty()) return nullptr;
    std::size_t mask = m_objectSlots.size() - 1;
    for (std::size_t i = PointerSlot(object, m_slotBits);; i = (i + 1) & mask) {
        auto& slot = m_objectSlots[i];
        if (slot.first == object) return &slot.second;
        if (slot.first == nullptr) return nullptr;
    }
}

void Archive::AddObjectNumber(const void* object, std::uint32_t n) {
    if (2 * (m_objects + 1) > m_objectSlots.size()) {
        m_slotBits = m_objectSlots.empty() ? 10 : m_slotBits + 1;
        std::vector<std::pair<const void*, std::uint32_t>> old(std::size_t{1} << m_slotBits);
        old.swap(m_objectSlots);
        m_objects = 0;
        for (const auto& slot : old)
            if (slot.first) AddObjectNumber(slot.first, slot.second);
    }
    std::size_t mask = m_objectSlots.size() - 1;
    std::size_t i = PointerSlot(object, m_slotBits);
    while (m_objectSlots[i].first) i = (i + 1) & mask;
    m_objectSlots[i] = {object, n};
    ++m_objects;
}

bool Archive::WriteObjectTag(const ArchiveClass& cls, const void* object, bool remember) {
    if (object == nullptr) {
        WriteWord(kNullTag);
        return false;
    }
    if (const std::uint32_t* knownNumber = remember ? FindObjectNumber(object) : nullptr) {
        WriteTagNumber(*knownNumber, false);
        return false;
    }
    // Class names are unique among the entries, so the first match is the only one.
    const std::pair<const ArchiveClass*, std::uint32_t>* known = nullptr;
    for (const auto& c : m_classNumbers)
        if (c.first == &cls) {
            known = &c;
            break;
        }
    if (!known)
        for (const auto& c : m_classNumbers)
            if (std::strcmp(c.first->className, cls.className) == 0) {
                known = &c;
                break;
            }
    if (known) {
        WriteTagNumber(known->second, true);
    } else {
        std::size_t len = std::strlen(cls.className);
        if (len > kMaxClassName) ThrowFormat(ArchiveException::BadClass);
        WriteWord(kNewClassTag);
        WriteWord(cls.schema);
        WriteWord(static_cast<std::uint16_t>(len));
        Put(cls.className, len);
        m_classNumbers.emplace_back(&cls, NextMapNumber());
    }
    std::uint32_t number = NextMapNumber();
    if (remember) AddObjectNumber(object, number);
    return true;
}

// --- loading ----------------------------------------------------------------------

std::uint16_t Archive::ReadWord() {
    Need(2);
    std::uint16_t w = static_cast<std::uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return w;
}

std::uint32_t Archive::ReadDWord() {
    Need(4);
    std::uint32_t dw = 0;
    for (int i = 3; i >= 0; --i) dw = (dw << 8) | m_data[m_pos + static_cast<std::size_t>(i)];
    m_pos += 4;
    return dw;
}

double Archive::ReadDouble() {
    Need(8);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | m_data[m_pos + static_cast<std::size_t>(i)];
    m_pos += 8;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

void Archive::ReadString(std::string& s) {
    Need(1);
    std::size_t n = m_data[m_pos++];
    if (n == 0xFF) {
        std::uint16_t w = ReadWord();
        if (w == 0xFFFE) ThrowFormat(ArchiveException::BadString);  // wide strings are never written
        if (w == 0xFFFF) {
            std::uint32_t dw = ReadDWord();
            if (dw == 0xFFFFFFFFu) ThrowFormat(ArchiveException::BadString);
            n = dw;
        } else {
            n = w;
        }
    }
    Need(n);
    s.assign(reinterpret_cast<const char*>(m_data + m_pos), n);
    m_pos += n;
}

std::size_t Archive::ReadCount(std::size_t minElementBytes) {
    std::size_t n = ReadWord();
    if (n == 0xFFFF) n = ReadDWord();
    if (minElementBytes > 0 && n > GetRemaining() / minElementBytes) ThrowFormat(ArchiveException::BadCount);
    return n;
}

Archive::TagKind Archive::ReadObjectTag(const ArchiveClass& cls, std::size_t& start, std::size_t& extent) {
    start = 0;
    extent = 0;
    std::uint16_t tag = ReadWord();
    if (tag == kNewClassTag) {
        std::uint16_t schema = ReadWord();
        std::uint16_t len = ReadWord();
        if (len > kMaxClassName) ThrowFormat(ArchiveException::BadClass);
        Need(len);
        const char* name = reinterpret_cast<const char*>(m_data + m_pos);
        m_pos += len;
        // The only class this place can hold; any other name is unknown here.
        if (len != std::strlen(cls.className) || std::memcmp(name, cls.className, len) != 0)
            ThrowFormat(ArchiveException::BadClass);
        if (schema != cls.schema) ThrowFormat(ArchiveException::BadSchema);
        if (m_loadArray.size() >= kMaxMapCount) ThrowFormat(ArchiveException::BadIndex);
        m_loadArray.push_back({&cls, 0, 0, true, true});
        return TagKind::NewObject;
    }
    std::uint32_t obTag;
    if (tag == kBigObjectTag)
        obTag = ReadDWord();
    else
        obTag = (static_cast<std::uint32_t>(tag & kClassTag) << 16) | static_cast<std::uint32_t>(tag & ~kClassTag);

    if (obTag & kBigClassTag) {
        std::uint32_t classIndex = obTag & ~kBigClassTag;
        if (classIndex == 0 || classIndex >= m_loadArray.size()) ThrowFormat(ArchiveException::BadIndex);
        const LoadEntry& e = m_loadArray[classIndex];
        if (!e.isClass) ThrowFormat(ArchiveException::BadIndex);
        if (std::strcmp(e.archiveClass->className, cls.className) != 0) ThrowFormat(ArchiveException::BadClass);
        return TagKind::NewObject;
    }
    if (obTag == 0) return TagKind::Null;
    if (obTag >= m_loadArray.size()) ThrowFormat(ArchiveException::BadIndex);
    const LoadEntry& e = m_loadArray[obTag];
    if (e.isClass || !e.complete) ThrowFormat(ArchiveException::BadIndex);
    if (std::strcmp(e.archiveClass->className, cls.className) != 0) ThrowFormat(ArchiveException::BadClass);
    start = e.start;
    extent = e.extent;
    return TagKind::Reference;
}

std::uint32_t Archive::BeginLoadedObject(const ArchiveClass& cls) {
    if (m_loadArray.size() >= kMaxMapCount) ThrowFormat(ArchiveException::BadIndex);
    m_loadArray.push_back({&cls, m_pos, 0, false, false});
    return static_cast<std::uint32_t>(m_loadArray.size() - 1);
}

void Archive::EndLoadedObject(std::uint32_t index) {
    LoadEntry& e = m_loadArray[index];
    e.extent = m_pos - e.start;
    e.complete = true;
}

void Archive::ChargeCopy(std::size_t extent) {
    // Every copy costs at least a little, so even references to empty records add up.
    std::size_t cost = extent + 16;
    if (cost > m_copyBudget) ThrowFormat(ArchiveException::TooLarge);
    m_copyBudget -= cost;
}

}  // namespace nelo
