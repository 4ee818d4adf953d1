#include "notebook/Notebook.h"
#include "memo/MemoCsvExport.h"
#include "platform/CodePage.h"
#include "text/Sjis.h"
#include "unit/models/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace nelo;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary);
    out << data;
}

struct FieldRow {
    const char* name;
    std::string field;
    std::string written;
};

void PrintTo(const FieldRow& row, std::ostream* os) { *os << row.name; }

const FieldRow kFields[] = {
    {"plain", "abc", "abc"},
    {"empty", "", ""},
    {"double-byte", "電話"_sj, "電話"_sj},
    {"trail byte like a backslash", "表"_sj, "表"_sj},
    {"blanks stay bare", " a b ", " a b "},
    {"comma", "1,2", "\"1,2\""},
    {"double quote", "say \"hi\"", "\"say \"\"hi\"\"\""},
    {"carriage return", "a\rb", "\"a\rb\""},
    {"line feed", "a\nb", "\"a\nb\""},
    {"ideographic comma stays bare", "東京都、港区"_sj, "東京都、港区"_sj},
    // What a spreadsheet would run as a formula is made text; a signed number stays one.
    {"formula", "=1+2", "'=1+2"},
    {"formula with a comma", "=HYPERLINK(\"x\",\"y\")", "\"'=HYPERLINK(\"\"x\"\",\"\"y\"\")\""},
    {"at sign", "@SUM(A1)", "'@SUM(A1)"},
    {"leading tab", "\tx", "'\tx"},
    {"leading carriage return", "\rx", "\"'\rx\""},
    {"phone number with a plus", "+81-3-1234-5678", "'+81-3-1234-5678"},
    {"minus and a word", "-abc", "'-abc"},
    {"a dash alone", "-", "'-"},
    {"negative number", "-5", "-5"},
    {"signed decimal", "+1.5", "+1.5"},
    {"negative number with grouping", "-1,234", "\"-1,234\""},
    {"number then an operator", "-5+1", "'-5+1"},
    {"full-width negative number", "－１，２００"_sj, "－１，２００"_sj},
    {"full-width formula", "＝１＋２"_sj, "'" + std::string("＝１＋２"_sj)},
    {"full-width plus and a word", "＋αβ"_sj, "'" + std::string("＋αβ"_sj)},
    {"full-width at sign", "＠ｘ"_sj, "'" + std::string("＠ｘ"_sj)},
    {"minus inside stays", "03-1234", "03-1234"},
};

class MemoCsvFieldTest : public ::testing::TestWithParam<FieldRow> {};

TEST_P(MemoCsvFieldTest, QuotesOnlyWhatNeedsItAndNeutralisesFormulas) {
    std::string out;
    AppendCsvField(out, GetParam().field);
    EXPECT_EQ(out, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Rows, MemoCsvFieldTest, ::testing::ValuesIn(kFields), RowName());

class MemoCsvExportTest : public ::testing::Test {
protected:
    void Register(const std::string& line) {
        std::string answer;
        notebook.RegisterMemo(answer, line);
    }
    Notebook notebook;
    TempFolder folder;
};

TEST_F(MemoCsvExportTest, OneLinePerPairInStoreOrder) {
    Register("田中、電話、03-1234"_sj);
    Register("田中、住所、東京都、港区"_sj);
    Register("X、v、1,5"_sj);
    std::string expected;
    notebook.GetMemos().ForEach([&](const std::string& key, const Memo&) {
        if (key == "X")
            expected += "X,v,\"1,5\"\r\n";
        else
            expected += "田中,電話,03-1234\r\n田中,住所,東京都、港区\r\n"_sj;
    });
    EXPECT_EQ(FormatMemoCsv(notebook.GetMemos()), expected);
}

TEST_F(MemoCsvExportTest, NoMemosWritesAnEmptyFile) {
    ScriptedMessageBox mb;
    const std::string path = folder.File(kMemoCsvFileName);
    EXPECT_TRUE(MemoCsvExport(mb, path).Export(notebook.GetMemos()));
    EXPECT_EQ(ReadFile(path), "");
    ASSERT_EQ(mb.GetShown().size(), 1u);
    EXPECT_EQ(mb.GetShown()[0].text, "ＮＥＬＯメモ.csvを作成しました"_sj);
    EXPECT_EQ(mb.GetShown()[0].caption, "");
}

TEST_F(MemoCsvExportTest, AnswerNoLeavesAnExistingFileUntouched) {
    Register("田中、電話、03"_sj);
    const std::string path = folder.File(kMemoCsvFileName);
    WriteFile(path, "old");
    ScriptedMessageBox mb{MbAnswer::No};
    EXPECT_FALSE(MemoCsvExport(mb, path).Export(notebook.GetMemos()));
    EXPECT_EQ(ReadFile(path), "old");
    ASSERT_EQ(mb.GetShown().size(), 1u);
    EXPECT_EQ(mb.GetShown()[0].text, "ＮＥＬＯメモ.csvファイルがあります。上書きしますか。"_sj);
    EXPECT_EQ(mb.GetShown()[0].buttons, MbButtons::YesNo);
    EXPECT_EQ(mb.GetShown()[0].icon, MbIcon::Exclamation);
}

TEST_F(MemoCsvExportTest, AnswerYesOverwrites) {
    Register("田中、電話、03"_sj);
    const std::string path = folder.File("memo.csv");
    WriteFile(path, "old content that is longer");
    ScriptedMessageBox mb{MbAnswer::Yes};
    EXPECT_TRUE(MemoCsvExport(mb, path).Export(notebook.GetMemos()));
    EXPECT_EQ(ReadFile(path), "田中,電話,03\r\n"_sj);
}

TEST_F(MemoCsvExportTest, UnwritableFileIsAnErrorNotASuccess) {
    ScriptedMessageBox mb;
    EXPECT_FALSE(
        MemoCsvExport(mb, folder.File(std::string("no-such-folder/") + kMemoCsvFileName)).Export(notebook.GetMemos()));
    ASSERT_EQ(mb.GetShown().size(), 1u);
    EXPECT_EQ(mb.GetShown()[0].text, "ＮＥＬＯメモ.csvファイルを開けませんでした。(No such file or directory)"_sj);
    EXPECT_EQ(mb.GetShown()[0].caption, "エラー"_sj);
}

TEST_F(MemoCsvExportTest, Utf8WithLineFeedsAndTheChosenNameInTheMessages) {
    Register("田中、電話、03"_sj);
    Register("田中、住所、東京都、港区"_sj);
    Register("田中、札、1,5"_sj);
    const std::string path = folder.File("メモ.csv");
    ScriptedMessageBox mb;
    MemoCsvExport exporter(mb, path, CsvEncoding::Utf8Lf);
    exporter.SetFileNameText("メモ.csv"_sj);
    EXPECT_TRUE(exporter.Export(notebook.GetMemos()));
    EXPECT_EQ(ReadFile(path), "田中,電話,03\n田中,住所,東京都、港区\n田中,札,\"1,5\"\n");
    ASSERT_EQ(mb.GetShown().size(), 1u);
    EXPECT_EQ(mb.GetShown()[0].text, "メモ.csvを作成しました"_sj);

    ScriptedMessageBox again{MbAnswer::No};
    MemoCsvExport second(again, path, CsvEncoding::Utf8Lf);
    second.SetFileNameText("メモ.csv"_sj);
    EXPECT_FALSE(second.Export(notebook.GetMemos()));
    EXPECT_EQ(again.GetShown()[0].text, "メモ.csvファイルがあります。上書きしますか。"_sj);
}

TEST_F(MemoCsvExportTest, TheMessagesNameTheChosenPath) {
    const struct {
        const char* file;
        std::string shown;  // empty: the path itself
    } rows[] = {
        {"ＮＥＬＯメモ.csv", "ＮＥＬＯメモ.csv"_sj},
        {"out.csv", ""},
        {"メモ一覧.csv", ""},
    };
    for (const auto& r : rows) {
        const std::string path = folder.File(r.file);
        const std::string shown = r.shown.empty() ? Utf8ToCp932(path).text : r.shown;
        ScriptedMessageBox mb;
        EXPECT_TRUE(MemoCsvExport(mb, path).Export(notebook.GetMemos())) << r.file;
        ScriptedMessageBox again{MbAnswer::No};
        EXPECT_FALSE(MemoCsvExport(again, path).Export(notebook.GetMemos())) << r.file;
        ASSERT_EQ(mb.GetShown().size(), 1u);
        EXPECT_EQ(mb.GetShown()[0].text, shown + "を作成しました"_sj) << r.file;
        ASSERT_EQ(again.GetShown().size(), 1u);
        EXPECT_EQ(again.GetShown()[0].text, shown + "ファイルがあります。上書きしますか。"_sj) << r.file;
    }
}

TEST_F(MemoCsvExportTest, WhatIsNotARegularFileIsNeverReplaced) {
    Register("田中、電話、03"_sj);
    const std::string fifo = folder.File("fifo.csv");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string dir = folder.File("dir.csv");
    std::filesystem::create_directory(dir);
    const struct {
        std::string path;
        const char* reason;
    } rows[] = {{fifo, "(Not a regular file)"}, {dir, "(Is a directory)"}};
    for (const auto& r : rows) {
        // Asked nothing: there is nothing the user could agree to replace.
        ScriptedMessageBox mb;
        MemoCsvExport exporter(mb, r.path);
        exporter.SetOverwrite(true);
        EXPECT_FALSE(exporter.Export(notebook.GetMemos())) << r.path;
        ASSERT_EQ(mb.GetShown().size(), 1u) << r.path;
        EXPECT_EQ(mb.GetShown()[0].buttons, MbButtons::Ok) << r.path;
        EXPECT_NE(mb.GetShown()[0].text.find(r.reason), std::string::npos) << r.path;
    }
    struct stat st;
    ASSERT_EQ(stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

}  // namespace
