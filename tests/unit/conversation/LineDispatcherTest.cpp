#include "conversation/LineDispatcher.h"
#include "notebook/Notebook.h"
#include "platform/Clock.h"
#include "text/Sjis.h"
#include "transcript/TranscriptView.h"

#include <gtest/gtest.h>

#include <memory>

using namespace nelo;

namespace {

class LineDispatcherTest : public testing::Test {
protected:
    LineDispatcherTest() : m_clock(MakeLocalTime(2003, 6, 1, 10, 0, 0)), m_send(m_notebook) {
        SetCurrentClock(&m_clock);
        m_notebook.AddListener(&m_view);
        m_notebook.ResetToNew();
        m_notebook.StartConversation();
        m_welcome = m_view.GetText();
    }
    ~LineDispatcherTest() override { SetCurrentClock(nullptr); }

    // The pane text that one line added.
    std::string Submit(const std::string& line) {
        std::size_t before = m_view.GetText().size();
        m_send.ProcessLine(line);
        return m_view.GetText().substr(before);
    }

    FixedClock m_clock;
    Notebook m_notebook;
    TextTranscript m_view;
    LineDispatcher m_send;
    std::string m_welcome;
};

TEST_F(LineDispatcherTest, WelcomeClearsModifiedAndTurnsOnPrefix) {
    EXPECT_TRUE(m_notebook.ShowsNames());
    EXPECT_FALSE(m_notebook.IsModified());
    EXPECT_EQ(m_welcome, Notebook::WelcomeText("花子"_sj, 10));
}

TEST_F(LineDispatcherTest, EchoAndAnswerLines) {
    EXPECT_EQ(Submit("天気"_sj), "花子 >> 天気\r\n太郎 >> わかりません。\r\n"_sj);
    // A line of blanks is still echoed, with nothing after the prefix.
    EXPECT_EQ(Submit(" ").substr(0, 10), "花子 >> \r\n"_sj);
}

TEST_F(LineDispatcherTest, EmptyLineDoesNothing) {
    EXPECT_EQ(Submit(""), "");
    EXPECT_FALSE(m_notebook.IsModified());
}

TEST_F(LineDispatcherTest, AnswerWithoutPrefix) {
    m_notebook.SetShowsNames(false);
    EXPECT_EQ(Submit("天気"_sj), "花子 >> 天気\r\n\r\n"_sj);
    // A cancel word turns the prefix back on.
    EXPECT_EQ(Submit("だめ"_sj), "花子 >> だめ\r\n太郎 >> わかりません。\r\n"_sj);
    EXPECT_TRUE(m_notebook.ShowsNames());
}

TEST_F(LineDispatcherTest, QuestionLeavesDocumentUnmodified) {
    Submit("天気"_sj);
    EXPECT_FALSE(m_notebook.IsModified());
}

TEST_F(LineDispatcherTest, TypedMemoMarksDocumentModified) {
    Submit("田中、電話、03-1234"_sj);
    EXPECT_TRUE(m_notebook.IsMemoChanged());
    EXPECT_TRUE(m_notebook.IsModified());
    Submit("天気"_sj);
    EXPECT_TRUE(m_notebook.IsModified());
}

TEST_F(LineDispatcherTest, LineEndsAtNul) {
    std::string line("天気"_sj);
    line += '\0';
    line += "x";
    EXPECT_EQ(Submit(line), "花子 >> 天気\r\n太郎 >> わかりません。\r\n"_sj);
}

TEST_F(LineDispatcherTest, GreetingByHour) {
    struct Row {
        int hour;
        const char* greeting;
    } rows[] = {{0, "おはようございます。"_sj}, {11, "おはようございます。"_sj}, {12, "こんにちは。"_sj},
                {17, "こんにちは。"_sj},        {18, "こんばんは。"_sj},         {23, "こんばんは。"_sj}};
    const std::string userName = "花子"_sj;
    for (const Row& r : rows) {
        std::string text = Notebook::WelcomeText(userName, r.hour);
        EXPECT_EQ(text.substr(0, std::string("花子さん、"_sj).size() + std::string(r.greeting).size()),
                  std::string("花子さん、"_sj) + r.greeting)
            << r.hour;
    }
}

TEST_F(LineDispatcherTest, PurgeNoticeSetsScheduleFlag) {
    m_notebook.GetScheduleBook().AddSchedule(std::make_unique<ScheduleEntry>());  // starts and ends in 1970
    m_notebook.GetScheduleBook().PurgePastSchedules();
    m_notebook.GetScheduleBook().ClearChanged();
    m_notebook.StartConversation();
    EXPECT_NE(m_view.GetText().find("過去の予定を削除しました。\r\n"_sj), std::string::npos);
    EXPECT_TRUE(m_notebook.GetScheduleBook().IsChanged());
    EXPECT_FALSE(m_notebook.IsModified());
    Submit("天気"_sj);
    EXPECT_TRUE(m_notebook.IsModified());
}

}  // namespace
