// The framework's sequential archive, byte for byte: the notebook file is nothing but
// the fields its records write into one of these. All integers are little-endian,
// strings carry their length in a short or long form, and records reached through a
// pointer are written behind a class tag with the class and object numbering of the
// framework. A loading archive trusts nothing in its input: every count and length is
// checked against the bytes that remain, so a damaged file fails fast and never makes
// it reserve memory the file could not fill.
#pragma once

#include "platform/ByteSink.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace nelo {

/// The run-time class of a serialisable record as it appears in a file.
struct ArchiveClass {
    const char* className;  ///< ASCII, at most 63 bytes
    std::uint16_t schema;
};

/// Thrown by a loading archive when the bytes are not a file it can read, and by a
/// storing archive when asked to write what the format cannot hold.
class ArchiveException : public std::runtime_error {
public:
    enum Cause { EndOfFile, BadClass, BadSchema, BadIndex, BadCount, BadString, TooLarge, ExtraBytes };
    explicit ArchiveException(const char* what) : std::runtime_error(what) {}
};

class Archive {
public:
    /// A storing archive: everything written is appended to out at once.
    explicit Archive(std::string& out);
    /// A storing archive that streams into sink through a buffer of its own, so the
    /// bytes never have to be held whole. Flush hands over what is still buffered; an
    /// archive destroyed without it (a save given up halfway) drops that rest.
    explicit Archive(ByteSink& sink);
    /// A loading archive over size bytes at data; the bytes must outlive the archive.
    Archive(const char* data, std::size_t size);
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ~Archive();

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }

    /// Storing into a sink: passes the buffered bytes on.
    void Flush();

    /// Bytes not yet read (loading).
    std::size_t GetRemaining() const { return m_size - m_pos; }
    /// Loading: refuses the file when bytes are left after its last record.
    void ExpectEnd() {
        if (m_pos != m_size) ThrowFormat(ArchiveException::ExtraBytes);
    }

    void WriteWord(std::uint16_t w);
    void WriteDWord(std::uint32_t dw);
    void WriteDouble(double d);
    /// Length in the short (byte), medium (0xFF + WORD) or long (0xFF 0xFFFF + DWORD) form, then the bytes.
    void WriteString(const std::string& s) {
        std::size_t n = s.size();
        // The common case, a short string with room in the buffer, without a call.
        if (n < 255 && n < static_cast<std::size_t>(m_putEnd - m_put)) {
            *m_put++ = static_cast<char>(n);
            std::memcpy(m_put, s.data(), n);
            m_put += n;
            return;
        }
        WriteLongString(s);
    }
    /// A WORD below 0xFFFF, else 0xFFFF and a DWORD.
    void WriteCount(std::size_t n);

    std::uint16_t ReadWord();
    std::uint32_t ReadDWord();
    double ReadDouble();
    void ReadString(std::string& s);
    /// Reads a count and refuses it when n elements of at least minElementBytes bytes
    /// each could not fit in the rest of the file.
    std::size_t ReadCount(std::size_t minElementBytes);

    /// How many of n counted elements to reserve before reading them: a file may claim
    /// more than it holds, so beyond this the container grows as elements arrive.
    static std::size_t ReserveHint(std::size_t n) { return n < 65536 ? n : 65536; }

    /// Writes the tag of an object: the null tag, a back-reference to an object
    /// written before, or the class (described in full the first time) of a new
    /// object. True when the object is new and its fields must follow. remember false
    /// numbers a new object without remembering it (see WriteOwnedObject).
    bool WriteObjectTag(const ArchiveClass& cls, const void* object, bool remember = true);

    enum class TagKind { Null, NewObject, Reference };
    /// Reads an object tag where an object of class cls is expected. For a
    /// back-reference, start and extent give where the fields of the object loaded
    /// earlier under that number lie in the file.
    TagKind ReadObjectTag(const ArchiveClass& cls, std::size_t& start, std::size_t& extent);
    /// Gives the next object number to a new object whose fields start here; the number
    /// becomes referable once EndLoadedObject has recorded where the fields end.
    std::uint32_t BeginLoadedObject(const ArchiveClass& cls);
    void EndLoadedObject(std::uint32_t index);

    /// Writes p (which may be null) with its class tag and, when new, its fields.
    template <class T>
    void WriteObject(const T* p, const ArchiveClass& cls) {
        if (WriteObjectTag(cls, p)) const_cast<T*>(p)->Serialize(*this);
    }
    /// As WriteObject, for a record its container owns and writes exactly once: it gets
    /// its number but is not looked up or remembered, which spares a table lookup per
    /// record. The bytes are the same as WriteObject's, since such a record can never
    /// be written a second time as a back-reference.
    template <class T>
    void WriteOwnedObject(const T* p, const ArchiveClass& cls) {
        if (WriteObjectTag(cls, p, false)) const_cast<T*>(p)->Serialize(*this);
    }

    /// Reads an object of class cls: nullptr for the null tag, a new T for a new
    /// object, and for a back-reference a record of its own read again from the fields
    /// of the earlier object (records have one owner each, and the earlier one may be
    /// gone already). Those second readings are charged against a budget the size of
    /// the file, so a short file full of references cannot multiply memory.
    template <class T>
    std::unique_ptr<T> ReadObject(const ArchiveClass& cls) {
        std::size_t start = 0, extent = 0;
        TagKind kind = ReadObjectTag(cls, start, extent);
        if (kind == TagKind::Null) return nullptr;
        auto p = std::make_unique<T>();
        if (kind == TagKind::Reference) {
            ChargeCopy(extent);
            ReReadAt<T>(*p, start);
            return p;
        }
        std::uint32_t index = BeginLoadedObject(cls);
        p->Serialize(*this);
        EndLoadedObject(index);
        return p;
    }

    Archive& operator<<(const std::string& s) {
        WriteString(s);
        return *this;
    }
    Archive& operator<<(double d) {
        WriteDouble(d);
        return *this;
    }
    Archive& operator<<(std::int32_t n) {
        WriteDWord(static_cast<std::uint32_t>(n));
        return *this;
    }
    Archive& operator<<(std::uint16_t w) {
        WriteWord(w);
        return *this;
    }
    Archive& operator>>(std::string& s) {
        ReadString(s);
        return *this;
    }
    Archive& operator>>(double& d) {
        d = ReadDouble();
        return *this;
    }
    Archive& operator>>(std::int32_t& n) {
        n = static_cast<std::int32_t>(ReadDWord());
        return *this;
    }
    Archive& operator>>(std::uint16_t& w) {
        w = ReadWord();
        return *this;
    }

    /// The framework's message for a file it cannot read (code page 932).
    static const char* FormatErrorText();

    [[noreturn]] static void ThrowFormat(ArchiveException::Cause cause);

private:
    struct LoadEntry {
        const ArchiveClass* archiveClass;  // the class itself, or the class of the object
        std::size_t start;                 // where the object's fields start in the file
        std::size_t extent;                // bytes the object's fields took
        bool isClass;
        bool complete;  // the object's fields have been read
    };

    void Need(std::size_t n);
    /// Appends n bytes: into the buffer when they fit, else through PutSlow.
    void Put(const char* p, std::size_t n) {
        if (n < static_cast<std::size_t>(m_putEnd - m_put)) {
            std::memcpy(m_put, p, n);
            m_put += n;
        } else {
            PutSlow(p, n);
        }
    }
    void PutSlow(const char* p, std::size_t n);
    void WriteLongString(const std::string& s);
    std::uint32_t* FindObjectNumber(const void* object);
    void AddObjectNumber(const void* object, std::uint32_t n);
    void ChargeCopy(std::size_t extent);
    template <class T>
    void ReReadAt(T& object, std::size_t start) {
        // Objects nested in the fields are numbered afresh and forgotten afterwards.
        std::size_t savedPos = m_pos, savedCount = m_loadArray.size();
        m_pos = start;
        object.Serialize(*this);
        m_pos = savedPos;
        m_loadArray.resize(savedCount);
    }
    std::uint32_t NextMapNumber();
    void WriteTagNumber(std::uint32_t n, bool isClass);

    // storing
    bool m_storing = false;
    std::string* m_out = nullptr;      // appended to directly, or
    ByteSink* m_sink = nullptr;        // fed from the buffer
    std::unique_ptr<char[]> m_buffer;  // with a sink: the bytes not yet passed on
    char* m_put = nullptr;             // next free byte of the buffer
    char* m_putEnd = nullptr;          // end of the buffer (both null without a sink)
    std::uint32_t m_mapCount = 1;      // 0 stands for the null pointer
    // The classes written so far with their numbers: a handful, searched by descriptor.
    std::vector<std::pair<const ArchiveClass*, std::uint32_t>> m_classNumbers;
    // The objects written so far with their numbers: an open-addressed table (a power
    // of two of slots, at most half of them used) with no allocation per object.
    std::vector<std::pair<const void*, std::uint32_t>> m_objectSlots;
    unsigned m_slotBits = 0;  // the table has 2^m_slotBits slots
    std::size_t m_objects = 0;

    // loading
    const unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_pos = 0;
    // Entry 0 is the null pointer; the others are classes and objects by number.
    std::vector<LoadEntry> m_loadArray;
    std::size_t m_copyBudget = 0;
};

}  // namespace nelo
