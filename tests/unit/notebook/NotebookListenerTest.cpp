#include "app/NotebookSession.h"
#include "models/NamesModel.h"
#include "models/VariableListModel.h"
#include "conversation/LineDispatcher.h"
#include "notebook/NotebookListener.h"
#include "notebook/NotebookSerialize.h"
#include "models/MemoListModel.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "models/ScheduleListModel.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

// Writes down every call, in order.
class RecordingListener : public NotebookListener {
public:
    void OnTextAppended(const std::string&) override { m_calls.push_back("text"); }
    void OnPaneCleared() override { m_calls.push_back("cleared"); }
    void OnModifiedChanged(bool modified) override { m_calls.push_back(modified ? "modified" : "unmodified"); }
    void OnTitleChanged(const std::string& title) override { m_calls.push_back("title " + title); }
    void OnDataChanged(unsigned what) override { m_calls.push_back("data " + std::to_string(what)); }
    std::vector<std::string> m_calls;
};

// Says OK to every question and No to the save-changes question.
class AgreeingBox : public MessageBox {
public:
    MbAnswer Show(const std::string&, const std::string&, MbButtons buttons, MbIcon) override {
        return buttons == MbButtons::YesNoCancel ? MbAnswer::No : MbAnswer::Ok;
    }
};

class NotebookListenerTest : public testing::Test {
public:  // the rows below act on the fixture
    NotebookListenerTest() : m_clock(MakeLocalTime(2003, 6, 1, 10, 0, 0)) {
        SetCurrentClock(&m_clock);
        static int s_n = 0;
        m_dir = fs::temp_directory_path() / ("nelo-listen-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
        fs::create_directories(m_dir);
        m_profile = std::make_unique<Profile>((m_dir / "profile.conf").string());
        m_app = std::make_unique<NotebookSession>(*m_profile, m_box);
        m_app->GetNotebook().AddListener(&m_listener);
        m_app->OnFileNew();
    }
    ~NotebookListenerTest() override {
        m_app->GetNotebook().RemoveListener(&m_listener);
        SetCurrentClock(nullptr);
        fs::remove_all(m_dir);
    }
    std::string File(const std::string& name) const { return (m_dir / name).string(); }
    void Type(const std::string& line) { LineDispatcher(m_app->GetNotebook()).ProcessLine(line); }

    FixedClock m_clock;
    fs::path m_dir;
    AgreeingBox m_box;
    RecordingListener m_listener;
    std::unique_ptr<Profile> m_profile;
    std::unique_ptr<NotebookSession> m_app;
};

TEST_F(NotebookListenerTest, HearsEachChangeOnceItIsSettled) {
    using Step = std::function<void(NotebookListenerTest&)>;
    const std::string data = "data ";
    struct Row {
        const char* name;
        Step before;  // brings the notebook to the state the row starts from
        Step action;
        std::vector<std::string> heard;
    } rows[] = {
        {"a question leaves the state alone",
         nullptr,
         [](NotebookListenerTest& t) { t.Type("１＋１"_sj); },
         {"text", "text"}},
        {"an assignment",
         nullptr,
         [](NotebookListenerTest& t) { t.Type("半径＝５"_sj); },
         {"text", "text", data + std::to_string(VariablesPart), "modified"}},
        {"a second assignment, already modified",
         [](NotebookListenerTest& t) { t.Type("a＝1"_sj); },
         [](NotebookListenerTest& t) { t.Type("b＝2"_sj); },
         {"text", "text", data + std::to_string(VariablesPart)}},
        {"a memo line",
         nullptr,
         [](NotebookListenerTest& t) { t.Type("山田、電話、１２３"_sj); },
         {"text", "text", data + std::to_string(MemosPart), "modified"}},
        {"a schedule line",
         nullptr,
         [](NotebookListenerTest& t) { t.Type("明日１０時 会議"_sj); },
         {"text", "text", data + std::to_string(SchedulesPart), "modified"}},
        {"a schedule deleted in the list",
         [](NotebookListenerTest& t) {
             t.Type("明日１０時 会議"_sj);
             t.m_app->SaveNotebookTo(t.File("s.nel"));
         },
         [](NotebookListenerTest& t) {
             RunSchedListCommand(t.m_app->GetNotebook(), t.m_box, [](ScheduleListModel& model) {
                 model.Select(0);
                 model.OnDelete();
             });
         },
         {data + std::to_string(SchedulesPart), "modified"}},
        {"the schedule list closed without a deletion",
         nullptr,
         [](NotebookListenerTest& t) { RunSchedListCommand(t.m_app->GetNotebook(), t.m_box, nullptr); },
         {}},
        {"a memo deleted in the list",
         [](NotebookListenerTest& t) { t.Type("山田、電話、１２３"_sj); },
         [](NotebookListenerTest& t) {
             t.m_app->GetNotebook().SetClean();
             RunMemoListCommand(t.m_app->GetNotebook(), t.m_box, [](MemoListModel& model) {
                 model.SelectObject(0);
                 model.OnDeleteObject();
             });
         },
         {"unmodified", data + std::to_string(MemosPart), "modified"}},
        {"a variable deleted in the list",
         [](NotebookListenerTest& t) { t.Type("半径＝５"_sj); },
         [](NotebookListenerTest& t) {
             RunVariablesCommand(t.m_app->GetNotebook(), t.m_box, [](VariableListModel& model) {
                 model.GetList().SetCurSel(0);
                 model.OnDelete();
             });
         },
         {data + std::to_string(VariablesPart)}},
        {"a name changed in the settings",
         nullptr,
         [](NotebookListenerTest& t) {
             OnSettings(t.m_app->GetNotebook(), [](NamesModel& model) {
                 model.SetUserName("次郎"_sj);
                 model.OnOkButton();
             });
         },
         {"modified", data + std::to_string(NamesPart)}},
        {"Save",
         [](NotebookListenerTest& t) { t.Type("半径＝５"_sj); },
         [](NotebookListenerTest& t) { t.m_app->SaveNotebookTo(t.File("a.nel")); },
         {"title a.nel", "unmodified"}},
        {"a failed Save",
         [](NotebookListenerTest& t) { t.Type("半径＝５"_sj); },
         [](NotebookListenerTest& t) { t.m_app->SaveNotebookTo(t.File("no/such/folder/a.nel")); },
         {}},
        {"New over a saved, modified notebook",
         [](NotebookListenerTest& t) {
             t.m_app->SaveNotebookTo(t.File("b.nel"));
             t.Type("半径＝５"_sj);
         },
         [](NotebookListenerTest& t) { t.m_app->NewWithQuestion(); },
         {data + std::to_string(AllParts), "unmodified", "title 無題"_sj, "cleared", "text"}},
        {"Open",
         [](NotebookListenerTest& t) {
             Notebook notebook;
             std::string answer, error;
             notebook.RegisterMemo(answer, "山田、電話、１"_sj);
             ASSERT_TRUE(WriteFileAtomically(t.File("c.nel"), SaveNotebookBytes(notebook), error));
         },
         [](NotebookListenerTest& t) { t.m_app->OpenWithQuestion(t.File("c.nel")); },
         {data + std::to_string(AllParts), "title c.nel", "cleared", "text"}},
    };
    for (const Row& r : rows) {
        m_app->OnFileNew();
        if (r.before) r.before(*this);
        m_listener.m_calls.clear();
        r.action(*this);
        EXPECT_EQ(m_listener.m_calls, r.heard) << r.name;
        EXPECT_EQ(m_app->GetNotebook().GetTitle(), m_app->GetTitle()) << r.name;
    }
}

}  // namespace
