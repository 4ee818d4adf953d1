// The cost of opening the list dialogs on a large notebook: the real main window
// (offscreen) with 100,000 memo objects and 100,000 schedule entries, each dialog
// opened as F3 and F4 open it (the core's command fills the rows, then the dialog is
// shown and painted; exec is replaced by show and processEvents). Prints milliseconds
// per opening, median of a few runs.
#include "BenchWindow.h"
#include "desktop/MemoListDialog.h"
#include "desktop/ScheduleListDialog.h"
#include "models/MemoListModel.h"
#include "models/ScheduleListModel.h"
#include "schedule/ScheduleEntry.h"
#include "text/Sjis.h"

#include <QApplication>
#include <QDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace nelo;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Ms(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    BenchFolder dir;
    QApplication qapp(argc, argv);
    BenchWindow window(dir);
    MainWindow& frame = window.m_frame;
    Notebook& doc = window.m_app.GetNotebook();
    MessageBox& messageBox = window.m_messageBox;

    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    // Memos as typed lines register them: one object with two pairs each.
    auto t0 = std::chrono::steady_clock::now();
    std::string answer;
    for (int i = 0; i < count; ++i) {
        const std::string object = "顧客"_sj + std::to_string(i);
        doc.RegisterMemo(answer, object + "、電話、03-"_sj + std::to_string(1000 + i % 9000));
        answer.clear();
        doc.RegisterMemo(answer, object + "、住所、東京都"_sj);
        answer.clear();
    }
    // Entries in reverse start order, an hour apart, so the command's sort has work.
    const std::int32_t baseTime = 1796000000;
    for (int i = 0; i < count; ++i) {
        const std::int32_t startTime = baseTime - i * 3600;
        doc.GetScheduleBook().AddSchedule(std::make_unique<ScheduleEntry>(
            startTime, startTime, "2026/12/08(火) 10:00"_sj, "", "会議"_sj + std::to_string(i)));
    }
    std::printf("filled %d memo objects and %d schedule entries in %.0f ms\n", count, count, Ms(t0));

    const int runs = 5;
    std::vector<double> memo, sched;
    for (int r = 0; r < runs; ++r) {
        t0 = std::chrono::steady_clock::now();
        RunMemoListCommand(doc, messageBox, [&](MemoListModel& dlg) {
            MemoListDialog dialog(dlg, messageBox, QDir::homePath(), &frame);
            dialog.show();
            QApplication::processEvents();
            memo.push_back(Ms(t0));
        });
        t0 = std::chrono::steady_clock::now();
        RunSchedListCommand(doc, messageBox, [&](ScheduleListModel& dlg) {
            ScheduleListDialog dialog(dlg, messageBox, &frame);
            dialog.show();
            QApplication::processEvents();
            sched.push_back(Ms(t0));
        });
    }
    // The first opening of the schedules also sorts the entries typed in reverse order.
    std::printf("%-32s %8.1f ms median of %d, %8.1f ms first\n", "memo list, open and paint", Median(memo), runs,
                memo[0]);
    std::printf("%-32s %8.1f ms median of %d, %8.1f ms first\n", "schedule list, open and paint", Median(sched), runs,
                sched[0]);
    return 0;
}
