#include "notebook/NotebookSerialize.h"

#include "calc/Variable.h"
#include "notebook/Notebook.h"
#include "platform/Archive.h"
#include "platform/Clock.h"
#include "schedule/ScheduleEntry.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <memory>
#include <string>

using namespace nelo;

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

// 2003-06-01 10:00:00 UTC
constexpr std::time_t kNow = 1054461600;

class NotebookSerializeTest : public testing::Test {
protected:
    NotebookSerializeTest() : m_clock(kNow) { SetCurrentClock(&m_clock); }
    ~NotebookSerializeTest() override { SetCurrentClock(nullptr); }

    static void AddSchedule(Notebook& notebook, std::int32_t startTime, std::int32_t endTime, const std::string& start,
                            const std::string& end, const std::string& business, std::int32_t heap = 0) {
        notebook.GetScheduleBook().AddSchedule(
            std::make_unique<ScheduleEntry>(startTime, endTime, start, end, business, heap));
    }

    // A text variable's record as files hold it, its reserved field 77.
    static std::string TextVariableBytes() {
        std::string bytes;
        Archive out(bytes);
        out << std::string("t") << 0.0 << std::string("文字"_sj) << std::int32_t{77} << std::int32_t{1};
        return bytes;
    }
    static Variable LoadVariable(const std::string& bytes) {
        Variable variable;
        Archive in(bytes.data(), bytes.size());
        variable.Serialize(in);
        return variable;
    }

    // A notebook with something in every part, all of it in the future.
    static void Fill(Notebook& notebook) {
        notebook.SetNames("次郎"_sj, "一郎"_sj);
        notebook.GetCalculator().AddVariable(Variable("半径"_sj, 5.0));
        notebook.GetCalculator().AddVariable(Variable("r", -0.125));
        notebook.GetCalculator().AddVariable(LoadVariable(TextVariableBytes()));
        AddSchedule(notebook, kNow + 3600, kNow + 3600, "2003/06/01(日) 11:00"_sj, "", "会議"_sj, 3);
        AddSchedule(notebook, kNow + 86400, kNow + 90000, "2003/06/02(月) 10:00"_sj, "2003/06/02(月) 11:00"_sj,
                    "打合せ"_sj);
        std::string answer;
        notebook.RegisterMemo(answer, "田中、電話、03-1234"_sj);
        notebook.RegisterMemo(answer, "田中、趣味、釣り"_sj);
        notebook.RegisterMemo(answer, "鈴木、住所、東京都、港区"_sj);
        notebook.RegisterMemo(answer, "abc、x、"_sj);
    }

    FixedClock m_clock;
};

TEST_F(NotebookSerializeTest, NewDocumentIsSixteenBytes) {
    Notebook notebook;
    notebook.ResetToNew();
    EXPECT_EQ(SaveNotebookBytes(notebook),
              Bytes({0x04, 0x91, 0xBE, 0x98, 0x59, 0x04, 0x89, 0xD4, 0x8E, 0x71, 0, 0, 0, 0, 0, 0}));
}

TEST_F(NotebookSerializeTest, OneMemoIsFortyNineBytes) {
    Notebook notebook;
    notebook.ResetToNew();
    std::string answer;
    notebook.RegisterMemo(answer, "田中、電話、03"_sj);
    EXPECT_EQ(
        SaveNotebookBytes(notebook),
        Bytes({0x04, 0x91, 0xBE, 0x98, 0x59, 0x04, 0x89, 0xD4, 0x8E, 0x71, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x04,
               0x93, 0x63, 0x92, 0x86, 0xFF, 0xFF, 0x00, 0x00, 0x05, 0x00, 0x43, 0x4D, 0x65, 0x6D, 0x6F, 0x04, 0x93,
               0x63, 0x92, 0x86, 0x01, 0x00, 0x04, 0x93, 0x64, 0x98, 0x62, 0x01, 0x00, 0x02, 0x30, 0x33}));
}

TEST_F(NotebookSerializeTest, RecordsAreNumberedAcrossTheParts) {
    // Two variables (class 1, objects 2 and 3), a schedule (class 4, object 5) and a memo
    // (class 6, object 7): the second memo of the same class would be tagged 0x8006.
    Notebook notebook;
    notebook.GetCalculator().AddVariable(Variable("a", 1.0));
    notebook.GetCalculator().AddVariable(Variable("b", 2.0));
    AddSchedule(notebook, kNow, kNow, "s", "", "b");
    std::string answer;
    notebook.RegisterMemo(answer, "m、n、v"_sj);
    notebook.RegisterMemo(answer, "o、n、v"_sj);
    std::string bytes = SaveNotebookBytes(notebook);
    EXPECT_NE(bytes.find(Bytes({0x01, 0x80, 0x01, 'a'})) == std::string::npos,
              bytes.find(Bytes({0x01, 0x80, 0x01, 'b'})) == std::string::npos);  // one of them is tagged 0x8001
    EXPECT_NE(bytes.find(Bytes({0xFF, 0xFF, 0x02, 0x00, 0x09, 0x00}) + "CSchedule"), std::string::npos);
    EXPECT_NE(bytes.find(Bytes({0x06, 0x80, 0x01})), std::string::npos);
    Notebook back;
    LoadNotebookBytes(back, bytes);
    EXPECT_EQ(back.GetMemos().GetCount(), 2u);
}

TEST_F(NotebookSerializeTest, RoundTripKeepsEverythingAndTheBytes) {
    Notebook notebook;
    Fill(notebook);
    std::string bytes = SaveNotebookBytes(notebook);

    Notebook back;
    LoadNotebookBytes(back, bytes);
    EXPECT_EQ(back.GetUserName(), "一郎"_sj);
    EXPECT_EQ(back.GetResponderName(), "次郎"_sj);
    ASSERT_EQ(back.GetCalculator().GetVariableCount(), 3u);
    EXPECT_EQ(back.GetCalculator().FindVariable("半径"_sj)->GetValue(), 5.0);
    EXPECT_EQ(back.GetCalculator().FindVariable("r")->GetValue(), -0.125);
    const Variable* t = back.GetCalculator().FindVariable("t");
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->IsText());
    EXPECT_EQ(t->GetText(), "文字"_sj);
    Variable copy = *t;
    std::string stored;
    Archive out(stored);
    copy.Serialize(out);
    EXPECT_EQ(stored, TextVariableBytes());  // the reserved field comes back as it was
    ASSERT_EQ(back.GetScheduleBook().GetSchedules().size(), 2u);
    EXPECT_EQ(back.GetScheduleBook().GetSchedules()[0]->GetBusiness(), "会議"_sj);
    EXPECT_EQ(back.GetScheduleBook().GetSchedules()[0]->GetHeapIndex(), 3);
    EXPECT_EQ(back.GetScheduleBook().GetSchedules()[1]->GetEndTime(), kNow + 90000);
    EXPECT_EQ(back.GetScheduleBook().GetSchedules()[1]->GetEndText(), "2003/06/02(月) 11:00"_sj);
    EXPECT_FALSE(back.GetScheduleBook().IsPastPurged());
    std::string answer;
    back.QueryMemo(answer, "田中"_sj);
    EXPECT_EQ(answer, "次のようなメモがあります。\r\n電話：03-1234\r\n趣味：釣り"_sj);
    back.QueryMemo(answer, "鈴木"_sj);
    EXPECT_EQ(answer, "次のようなメモがあります。\r\n住所：東京都、港区"_sj);

    EXPECT_EQ(SaveNotebookBytes(back), bytes);
}

struct MemoCountRow {
    std::size_t n;
    std::string countBytes;
};

TEST_F(NotebookSerializeTest, MemoCountTakesTheLongFormFrom65535) {
    const MemoCountRow rows[] = {
        {65534, Bytes({0xFE, 0xFF})},
        {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {65536, Bytes({0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00})},
    };
    for (const MemoCountRow& r : rows) {
        Notebook notebook;
        for (std::size_t i = 0; i < r.n; ++i) {
            auto memo = std::make_unique<Memo>(std::to_string(i));
            memo->AddPair("k", "v");
            notebook.AddMemo(std::move(memo));
        }
        std::string bytes = SaveNotebookBytes(notebook);
        EXPECT_EQ(bytes.substr(14, r.countBytes.size()), r.countBytes) << r.n;
        Notebook back;
        LoadNotebookBytes(back, bytes);
        EXPECT_EQ(back.GetMemos().GetCount(), r.n);
        EXPECT_EQ(SaveNotebookBytes(back), bytes) << r.n;
    }
}

TEST_F(NotebookSerializeTest, LongStringsRoundTrip) {
    Notebook notebook;
    std::string answer;
    for (std::size_t n : {254u, 255u, 65533u, 65534u, 100000u}) {
        std::string value(n, 'x');
        notebook.RegisterMemo(answer, "長さ、"_sj + std::to_string(n) + "、"_sj + value);
    }
    notebook.SetNames(notebook.GetResponderName(), std::string(255, 'u'));
    std::string bytes = SaveNotebookBytes(notebook);
    EXPECT_EQ(bytes.substr(5, 4), Bytes({0xFF, 0xFF, 0x00, 'u'}));
    Notebook back;
    LoadNotebookBytes(back, bytes);
    EXPECT_EQ(back.GetUserName(), notebook.GetUserName());
    const Memo* memo = back.GetMemos().Lookup("長さ"_sj);
    ASSERT_NE(memo, nullptr);
    ASSERT_EQ(memo->GetPairCount(), 5u);
    EXPECT_EQ(memo->GetValue(1).size(), 255u);
    EXPECT_EQ(memo->GetValue(3).size(), 65534u);
    EXPECT_EQ(SaveNotebookBytes(back), bytes);
}

TEST_F(NotebookSerializeTest, EveryCutOffFileIsRefused) {
    Notebook notebook;
    Fill(notebook);
    std::string bytes = SaveNotebookBytes(notebook);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        Notebook back;
        EXPECT_THROW(LoadNotebookBytes(back, bytes.substr(0, n)), ArchiveException) << n;
    }
}

struct BadFileRow {
    const char* name;
    std::string bytes;
};

TEST_F(NotebookSerializeTest, DamagedFilesAreRefused) {
    const std::string names = Bytes({0, 0});
    const BadFileRow rows[] = {
        {"symbol with schema 1", names + Bytes({1, 0, 1, 'a', 0xFF, 0xFF, 1, 0, 7, 0}) + "CSymbol"},
        {"memo where a symbol belongs", names + Bytes({1, 0, 1, 'a', 0xFF, 0xFF, 0, 0, 5, 0}) + "CMemo"},
        {"schedule with schema 0", names + Bytes({0, 0, 1, 0, 0xFF, 0xFF, 0, 0, 9, 0}) + "CSchedule"},
        {"memo with more names than values", names + Bytes({0, 0, 0, 0, 1, 0, 1, 'k', 0xFF, 0xFF, 0, 0, 5, 0}) +
                                                 "CMemo" + Bytes({1, 'k', 2, 0, 1, 'a', 1, 'b', 1, 0, 1, 'v'})},
        {"four billion schedules", names + Bytes({0, 0, 0xFF, 0xFF, 0, 0x28, 0x6B, 0xEE, 0, 0, 0, 0})},
        {"back-reference to nothing", names + Bytes({0, 0, 1, 0, 0x09, 0x00, 0, 0})},
    };
    for (const BadFileRow& r : rows) {
        Notebook back;
        EXPECT_THROW(LoadNotebookBytes(back, r.bytes), ArchiveException) << r.name;
    }
}

TEST_F(NotebookSerializeTest, NullRecordsStandForNothing) {
    // One variable entry and one memo entry whose objects are null pointers.
    std::string bytes = Bytes({0, 0, 1, 0, 1, 'a', 0, 0, 1, 0, 0, 0, 1, 0, 1, 'm', 0, 0});
    Notebook back;
    LoadNotebookBytes(back, bytes);
    EXPECT_EQ(back.GetCalculator().GetVariableCount(), 0u);
    EXPECT_EQ(back.GetScheduleBook().GetSchedules().size(), 0u);
    EXPECT_EQ(back.GetMemos().GetCount(), 0u);
}

TEST_F(NotebookSerializeTest, OfTwoEntriesWithOneKeyTheLaterWins) {
    // Two variables "a" and two memos "m", each pair under one key.
    std::string bytes = Bytes({0, 0, 2, 0, 1, 'a', 0xFF, 0xFF, 2, 0, 7, 0}) + "CSymbol" +
                        Bytes({1, 'a', 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0, 0}) +
                        Bytes({1, 'a', 0x01, 0x80, 1, 'a', 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0}) +
                        Bytes({0, 0, 2, 0, 1, 'm', 0xFF, 0xFF, 0, 0, 5, 0}) + "CMemo" +
                        Bytes({1, 'm', 1, 0, 1, 'k', 1, 0, 1, '1'}) +
                        Bytes({1, 'm', 0x04, 0x80, 1, 'm', 1, 0, 1, 'k', 1, 0, 1, '2'});
    Notebook back;
    LoadNotebookBytes(back, bytes);
    ASSERT_EQ(back.GetCalculator().GetVariableCount(), 1u);
    EXPECT_EQ(back.GetCalculator().FindVariable("a")->GetValue(), 2.0);
    ASSERT_EQ(back.GetMemos().GetCount(), 1u);
    EXPECT_EQ(back.GetMemos().Lookup("m")->GetValue(0), "2");
}

struct PurgeRow {
    const char* name;
    std::int32_t startTime, endTime;
    bool hasEnd;
    bool kept;
};

TEST_F(NotebookSerializeTest, LoadingDropsEntriesThatEndedMoreThanADayAgo) {
    const std::int32_t h = 3600;
    const PurgeRow rows[] = {
        {"no end, started 23 hours ago", kNow - 23 * h, kNow - 23 * h, false, true},
        {"no end, started 25 hours ago", kNow - 25 * h, kNow - 25 * h, false, false},
        {"long ago, ended 23 hours ago", kNow - 900 * h, kNow - 23 * h, true, true},
        {"ended 25 hours ago", kNow - 26 * h, kNow - 25 * h, true, false},
        {"no end text: the end value does not count", kNow - 30 * h, kNow + h, false, false},
    };
    for (const PurgeRow& r : rows) {
        Notebook notebook;
        AddSchedule(notebook, r.startTime, r.endTime, "s", r.hasEnd ? "e" : "", "b");
        AddSchedule(notebook, kNow, kNow, "s", "", "today");
        Notebook back;
        LoadNotebookBytes(back, SaveNotebookBytes(notebook));
        EXPECT_EQ(back.GetScheduleBook().GetSchedules().size(), r.kept ? 2u : 1u) << r.name;
        EXPECT_EQ(back.GetScheduleBook().IsPastPurged(), !r.kept) << r.name;
        EXPECT_EQ(back.GetScheduleBook().GetSchedules().back()->GetBusiness(), "today") << r.name;
    }
}

TEST_F(NotebookSerializeTest, SavedNotebooksAlwaysLoad) {
    // Files written by earlier versions: each loads and saves back to the same bytes
    // (on 2003-06-01, before any of their entries is past).
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(NELO_SOURCE_DIR) + "/tests/data")) {
        if (entry.path().extension() != ".nel") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        Notebook notebook;
        ASSERT_NO_THROW(LoadNotebookBytes(notebook, ss.str())) << entry.path();
        EXPECT_EQ(SaveNotebookBytes(notebook), ss.str()) << entry.path();
        ++files;
    }
    EXPECT_GE(files, 4);
}

}  // namespace
