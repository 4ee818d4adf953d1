#include "calendar/ScheduleListCalendar.h"

#include "calendar/ICalendar.h"
#include "models/ScheduleListModel.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

namespace nelo {

bool OnSchedListICalExport(ScheduleListModel& dlg, const std::string& path, const std::string& nameText) {
    std::string answer;
    MessageBox& box = dlg.GetMessageBox();
    const bool bOk = ExportICalendarFile(dlg.GetScheduleBook(), path, nameText, box, ICalOverwrite::Ask, answer);
    box.Show(answer, bOk ? "" : "エラー"_sj, MbButtons::Ok, bOk ? MbIcon::None : MbIcon::Exclamation);
    return bOk;
}

bool OnSchedListICalImport(ScheduleListModel& dlg, const std::string& path, const std::string& nameText) {
    std::string answer;
    const ICalImportResult result = ImportICalendarFile(dlg.GetScheduleBook(), path, nameText, answer);
    if (result.nRead > 0) dlg.OnEntriesAdded();
    const bool bTrouble = result.bFileRefused || result.nRefused > 0;
    dlg.GetMessageBox().Show(answer, "", MbButtons::Ok, bTrouble ? MbIcon::Exclamation : MbIcon::None);
    return result.nRead > 0;
}

}  // namespace nelo
