// Each notebook keeps its own base date: the date questions and date offsets of one never
// move another's, and no schedule line reads it.
#include "conversation/LineDispatcher.h"
#include "notebook/NotebookListener.h"
#include "notebook/Notebook.h"
#include "platform/Clock.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace nelo;

namespace {

// Keeps the last answer line of the conversation.
class LastLine : public NotebookListener {
public:
    void OnTextAppended(const std::string& text) override { m_lastText = text; }
    void OnPaneCleared() override {}
    void OnModifiedChanged(bool) override {}
    void OnTitleChanged(const std::string&) override {}
    void OnDataChanged(unsigned) override {}
    std::string m_lastText;
};

class AnsweringNotebook {
public:
    AnsweringNotebook() : m_view(m_notebook) { m_notebook.AddListener(&m_last); }
    ~AnsweringNotebook() { m_notebook.RemoveListener(&m_last); }
    // The answer to a typed line, without the responder's name.
    std::string Answer(const std::string& line) {
        m_view.ProcessLine(line);
        std::string text = m_last.m_lastText;
        const std::string::size_type mark = text.find(" >> ");
        if (mark != std::string::npos) text.erase(0, mark + 4);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        return text;
    }

private:
    Notebook m_notebook;
    LineDispatcher m_view;
    LastLine m_last;
};

class BaseDate : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC0", 1);
        tzset();
        SetCurrentClock(&m_clock);
    }
    void TearDown() override { SetCurrentClock(nullptr); }
    FixedClock m_clock{MakeLocalTime(2024, 2, 25, 10, 0, 0)};
};

}  // namespace

TEST_F(BaseDate, TwoNotebooksKeepSeparateDates) {
    AnsweringNotebook a, b;
    EXPECT_EQ(a.Answer("日付 ２０２０／１／１"_sj), "基準日は２０２０年１月１日です。"_sj);
    EXPECT_EQ(b.Answer("日付 ２０２５／５／５"_sj), "基準日は２０２５年５月５日です。"_sj);
    EXPECT_EQ(a.Answer("＋１０日"_sj), "２０２０年１月１１日です。"_sj);
    EXPECT_EQ(a.Answer("＋１０日"_sj), "２０２０年１月２１日です。"_sj);
    EXPECT_EQ(b.Answer("＋１日"_sj), "２０２５年５月６日です。"_sj);
    EXPECT_EQ(a.Answer("日数 ２０２０／１／３１"_sj), "１０日です。"_sj);
    EXPECT_EQ(b.Answer("日数 ２０２５／５／１６"_sj), "１０日です。"_sj);
}

// A question leaves the base date where it asked; a schedule line starts from today all
// the same, and leaves the base date alone.
TEST_F(BaseDate, ScheduleLinesNeitherReadNorMoveIt) {
    AnsweringNotebook a;
    a.Answer("曜日 ２０２０／１／１"_sj);
    EXPECT_EQ(a.Answer("１０時 会議"_sj), "下記の予定を登録しました。\r\n02/25(日) 10:00　会議"_sj);
    a.Answer("何歳 １９７０年５月５日"_sj);
    EXPECT_EQ(a.Answer("１４時 会議"_sj), "下記の予定を登録しました。\r\n02/25(日) 14:00　会議"_sj);
    a.Answer("３日後１５時半 歯医者"_sj);
    EXPECT_EQ(a.Answer("午後３時半 打合せ"_sj), "下記の予定を登録しました。\r\n02/25(日) 15:30　打合せ"_sj);
    EXPECT_EQ(a.Answer("＋１日"_sj), "１９７０年５月６日です。"_sj);
}
