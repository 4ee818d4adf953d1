#include "platform/Archive.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace nelo;

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

// A record with one string field, enough to exercise the object tags.
struct Item {
    std::string m_str;
    void Serialize(Archive& ar) {
        if (ar.IsStoring())
            ar.WriteString(m_str);
        else
            ar.ReadString(m_str);
    }
};
const ArchiveClass kItem = {"CItem", 3};
const ArchiveClass kOther = {"COther", 3};

TEST(Archive, PrimitivesAreLittleEndian) {
    std::string out;
    Archive ar(out);
    ar.WriteWord(0x1234);
    ar.WriteDWord(0x89ABCDEFu);
    ar.WriteDouble(1.0);
    ar << static_cast<std::int32_t>(-2);
    EXPECT_EQ(out, Bytes({0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0xFE, 0xFF, 0xFF, 0xFF}));

    Archive in(out.data(), out.size());
    EXPECT_EQ(in.ReadWord(), 0x1234);
    EXPECT_EQ(in.ReadDWord(), 0x89ABCDEFu);
    EXPECT_EQ(in.ReadDouble(), 1.0);
    std::int32_t n = 0;
    in >> n;
    EXPECT_EQ(n, -2);
    EXPECT_EQ(in.GetRemaining(), 0u);
}

struct LengthRow {
    std::size_t n;
    std::string prefix;
};

TEST(Archive, StringLengthTakesItsShortMediumOrLongForm) {
    const LengthRow rows[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const LengthRow& r : rows) {
        std::string s(r.n, 'x');
        std::string out;
        Archive ar(out);
        ar.WriteString(s);
        EXPECT_EQ(out.substr(0, r.prefix.size()), r.prefix) << r.n;
        EXPECT_EQ(out.size(), r.prefix.size() + r.n) << r.n;
        Archive in(out.data(), out.size());
        std::string back;
        in.ReadString(back);
        EXPECT_EQ(back, s) << r.n;
    }
}

TEST(Archive, CountTakesAWordBelow65535) {
    const LengthRow rows[] = {
        {0, Bytes({0, 0})},
        {65534, Bytes({0xFE, 0xFF})},
        {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
        {65536, Bytes({0xFF, 0xFF, 0, 0, 1, 0})},
    };
    for (const LengthRow& r : rows) {
        std::string out;
        Archive ar(out);
        ar.WriteCount(r.n);
        EXPECT_EQ(out, r.prefix) << r.n;
        Archive in(out.data(), out.size());
        EXPECT_EQ(in.ReadCount(0), r.n);
    }
}

TEST(Archive, ObjectsAreNumberedWithTheirClasses) {
    Item a{"a"}, b{"b"};
    std::string out;
    Archive ar(out);
    ar.WriteObject(&a, kItem);
    ar.WriteObject(&b, kItem);
    ar.WriteObject<Item>(nullptr, kItem);
    ar.WriteObject(&a, kItem);
    // class 1, objects 2 and 3; the null tag; a back-reference to object 2
    EXPECT_EQ(out, Bytes({0xFF, 0xFF, 3, 0, 5, 0, 'C', 'I', 't', 'e', 'm', 1, 'a', 0x01, 0x80, 1, 'b', 0, 0, 2, 0}));

    Archive in(out.data(), out.size());
    auto ra = in.ReadObject<Item>(kItem);
    auto rb = in.ReadObject<Item>(kItem);
    auto rn = in.ReadObject<Item>(kItem);
    auto rr = in.ReadObject<Item>(kItem);
    ASSERT_TRUE(ra && rb && rr);
    EXPECT_EQ(ra->m_str, "a");
    EXPECT_EQ(rb->m_str, "b");
    EXPECT_EQ(rn, nullptr);
    EXPECT_EQ(rr->m_str, "a");  // a reference gives a record of its own
    EXPECT_NE(rr.get(), ra.get());
}

TEST(Archive, OwnedObjectsGetTheSameNumbersWithoutBeingRemembered) {
    Item a{"a"}, b{"b"}, c{"c"};
    std::string remembered, owned;
    Archive ar1(remembered), ar2(owned);
    ar1.WriteObject(&a, kItem);
    ar1.WriteObject(&b, kItem);
    ar1.WriteObject(&c, kItem);
    ar1.WriteObject(&b, kItem);
    ar2.WriteOwnedObject(&a, kItem);
    ar2.WriteObject(&b, kItem);
    ar2.WriteOwnedObject(&c, kItem);
    ar2.WriteObject(&b, kItem);  // still a back-reference to object 3
    EXPECT_EQ(owned, remembered);
    EXPECT_EQ(owned.substr(owned.size() - 2), Bytes({3, 0}));
}

TEST(Archive, NumbersFrom0x7FFFTakeTheBigTag) {
    // 0x7FFE objects push the numbers past the word form.
    std::vector<Item> items(0x7FFF);
    std::string out;
    Archive ar(out);
    for (Item& it : items) ar.WriteObject(&it, kItem);  // class 1, objects 2..0x8000
    Item other;
    ar.WriteObject(&other, kOther);  // class 0x8001: a new class is always described in full
    Item more;
    ar.WriteObject(&more, kOther);         // class reference 0x8001 needs the big form
    ar.WriteObject(&items.back(), kItem);  // object 0x8000 as a big back-reference
    std::string tail = out.substr(out.size() - 13);
    EXPECT_EQ(tail, Bytes({0xFF, 0x7F, 0x01, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00}));

    Archive in(out.data(), out.size());
    for (std::size_t i = 0; i < items.size(); ++i) ASSERT_TRUE(in.ReadObject<Item>(kItem));
    EXPECT_TRUE(in.ReadObject<Item>(kOther));
    EXPECT_TRUE(in.ReadObject<Item>(kOther));
    EXPECT_TRUE(in.ReadObject<Item>(kItem));
    EXPECT_EQ(in.GetRemaining(), 0u);
}

// A sink that keeps every block it is handed.
class BlockSink : public ByteSink {
public:
    void Write(const char* p, std::size_t n) override { m_blocks.emplace_back(p, n); }
    std::string Joined() const {
        std::string all;
        for (const std::string& b : m_blocks) all += b;
        return all;
    }
    std::vector<std::string> m_blocks;
};

TEST(Archive, StreamingGivesTheSameBytesInWholeBlocks) {
    // String lengths across the length forms and across the buffer's size, so that
    // fields straddle its end and long ones go past it.
    const std::size_t lengths[] = {0, 1, 254, 255, 65533, 65534, 65535, 65536, 3, 131072, 200000, 7, 70000};
    std::vector<Item> items(3);
    auto writeAll = [&](Archive& ar) {
        for (std::size_t n : lengths) {
            ar.WriteWord(static_cast<std::uint16_t>(n));
            ar.WriteString(std::string(n, static_cast<char>('a' + n % 26)));
            ar.WriteDWord(static_cast<std::uint32_t>(n * 7));
            ar.WriteDouble(static_cast<double>(n) / 3);
            ar.WriteCount(n);
            items[n % 3].m_str.assign(n % 300, 'i');
            ar.WriteObject(&items[n % 3], kItem);
        }
    };
    std::string out;
    Archive direct(out);
    writeAll(direct);

    BlockSink sink;
    Archive streamed(sink);
    writeAll(streamed);
    ASSERT_FALSE(sink.m_blocks.empty());
    std::size_t before = sink.m_blocks.size();
    streamed.Flush();
    streamed.Flush();  // nothing more to hand over
    EXPECT_EQ(sink.m_blocks.size(), before + 1);
    EXPECT_EQ(sink.Joined(), out);
    // Every block but the last is whole pages, as the disk likes them.
    for (std::size_t i = 0; i + 1 < sink.m_blocks.size(); ++i) EXPECT_EQ(sink.m_blocks[i].size() % 4096, 0u) << i;

    // A small archive reaches the sink only when flushed.
    BlockSink small;
    Archive ar(small);
    ar.WriteString("abc");
    EXPECT_TRUE(small.m_blocks.empty());
    ar.Flush();
    EXPECT_EQ(small.Joined(), Bytes({3, 'a', 'b', 'c'}));
}

struct BadRow {
    const char* name;
    std::string bytes;
};

TEST(Archive, DamagedObjectsAreRefused) {
    std::string name64(64, 'C');
    const BadRow rows[] = {
        {"unknown class", Bytes({0xFF, 0xFF, 3, 0, 6, 0, 'C', 'O', 't', 'h', 'e', 'r', 0})},
        {"wrong schema", Bytes({0xFF, 0xFF, 2, 0, 5, 0, 'C', 'I', 't', 'e', 'm', 0})},
        {"class name of 64 bytes", Bytes({0xFF, 0xFF, 3, 0, 64, 0}) + name64 + Bytes({0})},
        {"ends in the class name", Bytes({0xFF, 0xFF, 3, 0, 5, 0, 'C', 'I'})},
        {"ends in the tag", Bytes({0xFF})},
        {"ends in the fields", Bytes({0xFF, 0xFF, 3, 0, 5, 0, 'C', 'I', 't', 'e', 'm', 5, 'a'})},
        {"unknown back-reference", Bytes({0x05, 0x00})},
        {"unknown class reference", Bytes({0x01, 0x80, 0})},
        {"class number used as an object", Bytes({0xFF, 0xFF, 3, 0, 5, 0, 'C', 'I', 't', 'e', 'm', 0, 0x01, 0x00})},
        {"object number used as a class", Bytes({0xFF, 0xFF, 3, 0, 5, 0, 'C', 'I', 't', 'e', 'm', 0, 0x02, 0x80, 0})},
        {"big tag beyond the objects", Bytes({0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F})},
    };
    for (const BadRow& r : rows) {
        Archive in(r.bytes.data(), r.bytes.size());
        EXPECT_THROW(
            {
                in.ReadObject<Item>(kItem);
                in.ReadObject<Item>(kItem);
            },
            ArchiveException)
            << r.name;
    }
}

TEST(Archive, ReferenceToAnotherClassIsRefused) {
    std::string bytes = Bytes({0xFF, 0xFF, 3, 0, 5, 0, 'C', 'I', 't', 'e', 'm', 0, 0x02, 0x00});
    Archive in(bytes.data(), bytes.size());
    ASSERT_TRUE(in.ReadObject<Item>(kItem));
    EXPECT_THROW(in.ReadObject<Item>(kOther), ArchiveException);
}

TEST(Archive, LengthsAndCountsBeyondTheFileAreRefused) {
    const BadRow rows[] = {
        {"string longer than the rest", Bytes({5, 'a', 'b'})},
        {"long string of 4 GB", Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'a'})},
        {"wide-string marker", Bytes({0xFF, 0xFE, 0xFF, 1, 'a', 0})},
        {"medium length cut off", Bytes({0xFF, 0x01})},
    };
    for (const BadRow& r : rows) {
        Archive in(r.bytes.data(), r.bytes.size());
        std::string s;
        EXPECT_THROW(in.ReadString(s), ArchiveException) << r.name;
    }
    // Four billion elements in a short file: refused before anything is reserved.
    std::string count = Bytes({0xFF, 0xFF, 0x00, 0x28, 0x6B, 0xEE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Archive in(count.data(), count.size());
    EXPECT_THROW(in.ReadCount(1), ArchiveException);
    Archive in2(count.data(), 4);
    EXPECT_THROW(in2.ReadCount(1), ArchiveException);  // ends inside the long form
}

TEST(Archive, CopiesOfReferencesAreBoundedByTheFileSize) {
    // One record of 200 bytes, then references to it until the budget runs out.
    std::string bytes = Bytes({0xFF, 0xFF, 3, 0, 5, 0, 'C', 'I', 't', 'e', 'm', 200}) + std::string(200, 'x');
    for (int i = 0; i < 1000; ++i) bytes += Bytes({0x02, 0x00});
    Archive in(bytes.data(), bytes.size());
    ASSERT_TRUE(in.ReadObject<Item>(kItem));
    int copies = 0;
    try {
        for (int i = 0; i < 1000; ++i) {
            in.ReadObject<Item>(kItem);
            ++copies;
        }
    } catch (const ArchiveException&) {
    }
    EXPECT_GT(copies, 0);
    EXPECT_LT(copies, 1000);
    EXPECT_LE(static_cast<std::size_t>(copies) * 200, bytes.size());
}

TEST(Archive, FormatErrorTextIsTheFrameworksHalfWidthMessage) {
    EXPECT_EQ(std::string(Archive::FormatErrorText()), std::string("予期しないﾌｧｲﾙ形式です。"_sj));
}

}  // namespace
