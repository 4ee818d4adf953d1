// The calendar's files: where an export may write (never over a notebook, a device or
// a file the user did not agree to replace), and reads bounded by what is read.
#include "CalendarTestSupport.h"
#include "unit/models/ScriptedMessageBox.h"

#include "calendar/ICalSource.h"
#include "calendar/ScheduleListCalendar.h"
#include "models/ScheduleListModel.h"
#include "notebook/NotebookSerialize.h"
#include "notebook/Notebook.h"
#include "platform/AtomicFile.h"
#include "text/Sjis.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace nelo;

namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class ICalFilesTest : public CalendarTest {
protected:
    ICalFilesTest() { Type(m_pro, {"明日１０時 会議"}); }

    // Exports to path; the answer in UTF-8.
    std::string Export(const std::string& path, ICalOverwrite overwrite, ScriptedMessageBox& box, bool& written) {
        std::string answer;
        written = ExportICalendarFile(m_pro, path, Utf8ToCp932(path).text, box, overwrite, answer);
        return Cp932ToUtf8(answer).text;
    }

    TempFolder m_folder;
};

TEST_F(ICalFilesTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
    struct Row {
        const char* name;
        ICalOverwrite overwrite;
        std::initializer_list<MbAnswer> answers;
        bool replaced;
        const char* answerPart;
    };
    const Row rows[] = {
        {"asked, no", ICalOverwrite::Ask, {MbAnswer::No}, false, "予定の書き出しを取りやめました。"},
        {"asked, yes", ICalOverwrite::Ask, {MbAnswer::Yes}, true, "に予定を 1 件書き出しました。"},
        {"nobody to ask",
         ICalOverwrite::Refuse,
         {},
         false,
         "上書きしませんでした（上書きするには --force を付けます）。"},
        {"forced", ICalOverwrite::Force, {}, true, "に予定を 1 件書き出しました。"},
    };
    for (const Row& row : rows) {
        const std::string path = m_folder.File("old.ics");
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(path, "old", error));
        ScriptedMessageBox box(row.answers);
        bool written = false;
        const std::string answer = Export(path, row.overwrite, box, written);
        EXPECT_EQ(written, row.replaced) << row.name;
        EXPECT_NE(answer.find(row.answerPart), std::string::npos) << row.name << ": " << answer;
        EXPECT_EQ(Contents(path) == "old", !row.replaced) << row.name;
        EXPECT_TRUE(box.ScriptUsedUp()) << row.name;
        if (row.overwrite == ICalOverwrite::Ask) {
            ASSERT_EQ(box.GetShown().size(), 1u);
            EXPECT_EQ(Cp932ToUtf8(box.GetShown()[0].text).text, path + "ファイルがあります。上書きしますか?");
        }
    }
    // A new file needs no question.
    ScriptedMessageBox box;
    bool written = false;
    EXPECT_EQ(Export(m_folder.File("new.ics"), ICalOverwrite::Refuse, box, written),
              m_folder.File("new.ics") + "に予定を 1 件書き出しました。");
    EXPECT_TRUE(written);
}

TEST_F(ICalFilesTest, ANotebookADeviceAPipeOrAFolderIsNeverWritten) {
    Notebook empty;
    const std::string notebook = SaveNotebookBytes(empty);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(m_folder.File("book.nel"), notebook, error));
    ASSERT_TRUE(WriteFileAtomically(m_folder.File("book.ics"), notebook, error));  // a notebook by another name
    ASSERT_EQ(mkfifo(m_folder.File("pipe").c_str(), 0600), 0);
    const struct {
        std::string path;
        const char* answerPart;
    } rows[] = {
        {m_folder.File("book.nel"),
         "はノートのファイルです。予定で置き換えるとノートが失われるため、書き出しませんでした。"},
        {m_folder.File("book.ics"), "はノートのファイルです。"},
        {m_folder.File("pipe"), "は通常のファイルではない（装置やパイプ）ため、予定は書き出しませんでした。"},
        {"/dev/null", "は通常のファイルではない"},
        {m_folder.File(""), "はフォルダーです。"},
    };
    for (const auto& row : rows) {
        struct stat before;
        ASSERT_EQ(stat(row.path.c_str(), &before), 0) << row.path;
        ScriptedMessageBox box;
        bool written = true;
        const std::string answer = Export(row.path, ICalOverwrite::Force, box, written);
        EXPECT_FALSE(written) << row.path;
        EXPECT_NE(answer.find(row.answerPart), std::string::npos) << answer;
        struct stat after;
        ASSERT_EQ(stat(row.path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode) << row.path;
        EXPECT_EQ(after.st_ino, before.st_ino) << row.path;
    }
    EXPECT_EQ(Contents(m_folder.File("book.ics")), notebook);
}

TEST_F(ICalFilesTest, AFailedWriteSaysSoWithItsReason) {
    ScriptedMessageBox box;
    bool written = true;
    const std::string path = m_folder.File("no/such/folder/x.ics");
    const std::string answer = Export(path, ICalOverwrite::Force, box, written);
    EXPECT_FALSE(written);
    EXPECT_EQ(answer.rfind(path + "を書き出せませんでした。(", 0), 0u) << answer;
}

TEST_F(ICalFilesTest, ReadsCountWhatIsReadNotWhatStatSays) {
    constexpr std::size_t kLimit = 1u << 20;
    std::string bytes, error;
    // A regular file over the limit is named with its size.
    std::string error2;
    ASSERT_TRUE(WriteFileAtomically(m_folder.File("big.ics"), std::string(2u << 20, 'x'), error2));
    EXPECT_FALSE(ReadICalFile(m_folder.File("big.ics"), kLimit, bytes, error));
    EXPECT_EQ(Cp932ToUtf8(error).text, "ファイルが大きすぎます（2.0 MB。読み込めるのは 1.0 MB までです）。");
    // A device without end, and a pipe that goes on, stop at the limit.
    EXPECT_FALSE(ReadICalFile("/dev/zero", kLimit, bytes, error));
    EXPECT_EQ(Cp932ToUtf8(error).text,
              "ファイルが大きすぎます（1.0 MB を超えています。読み込めるのは 1.0 MB までです）。");
    EXPECT_TRUE(bytes.empty());
    const std::string pipe = m_folder.File("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const auto oldPipe = std::signal(SIGPIPE, SIG_IGN);
    std::thread writer([&pipe] {
        const int fd = open(pipe.c_str(), O_WRONLY);
        const std::string chunk(1u << 16, 'y');
        for (int i = 0; i < 64 && write(fd, chunk.data(), chunk.size()) > 0; ++i) {
        }
        close(fd);
    });
    EXPECT_FALSE(ReadICalFile(pipe, kLimit, bytes, error));
    writer.join();
    std::signal(SIGPIPE, oldPipe);
    EXPECT_NE(Cp932ToUtf8(error).text.find("を超えています"), std::string::npos);
    // A folder is told as one.
    EXPECT_FALSE(ReadICalFile(m_folder.File(""), kLimit, bytes, error));
    EXPECT_EQ(error, "フォルダーです。"_sj);
}

TEST_F(ICalFilesTest, TheLimitHoldsWhatTheExportWritesForTwoHundredThousandEntries) {
    SetZone("Asia/Tokyo");
    SetNow(2003, 6, 1, 10, 0);
    ScheduleBook pro;
    std::string answer;
    for (int i = 0; i < 1000; ++i) {
        const auto t = static_cast<std::int32_t>(MakeLocalTime(2003, 6, 2 + i % 28, 9 + i % 8, 30, 0));
        pro.RegisterSchedule("2003/06/02(月) 09:30"_sj, "2003/06/02(月) 11:00"_sj,
                             "営業部との打合せ（第三会議室、資料持参）"_sj + std::to_string(i), answer, t, t + 5400);
    }
    const std::size_t size = FormatICalendar(pro, m_clock.Now(), "Asia/Tokyo").size();
    EXPECT_LT(size * 200, kICalMaxFileBytes) << size;
}

TEST_F(ICalFilesTest, TheScheduleListButtonsAskAndShowTheNewRowsInOrder) {
    const std::string path = m_folder.File("list.ics");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "old", error));
    Notebook notebook;
    Type(notebook.GetScheduleBook(), {"６月９日 後", "６月３日 先"});
    ScriptedMessageBox box({MbAnswer::Yes});
    RunSchedListCommand(notebook, box, [&](ScheduleListModel& model) {
        EXPECT_TRUE(OnSchedListICalExport(model, path, "list.ics"));
        notebook.GetScheduleBook().ClearContents();
        model.FillRows();
        EXPECT_TRUE(OnSchedListICalImport(model, path, "list.ics"));
        EXPECT_EQ(model.GetList().GetRows(), (std::vector<std::string>{"06/03(火)　先"_sj, "06/09(月)　後"_sj}));
    });
    ASSERT_EQ(box.GetShown().size(), 3u);  // the question, the export's answer, the import's report
    EXPECT_EQ(box.GetShown()[0].buttons, MbButtons::YesNo);
    EXPECT_EQ(Cp932ToUtf8(box.GetShown()[2].text).text, "list.ics：予定を 2 件読み込みました。");
    EXPECT_TRUE(notebook.IsModified());
}

}  // namespace
