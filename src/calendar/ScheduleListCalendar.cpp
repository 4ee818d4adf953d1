#include "calendar/ScheduleListCalendar.h"

#include "calendar/ICalendar.h"
#include "models/ScheduleListModel.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

namespace nelo {

bool OnSchedListICalExport(ScheduleListModel& model, const std::string& path, const std::string& nameText) {
    std::string answer;
    MessageBox& box = model.GetMessageBox();
    const bool ok = ExportICalendarFile(model.GetScheduleBook(), path, nameText, box, ICalOverwrite::Ask, answer);
    box.Show(answer, ok ? "" : "エラー"_sj, MbButtons::Ok, ok ? MbIcon::None : MbIcon::Exclamation);
    return ok;
}

bool OnSchedListICalImport(ScheduleListModel& model, const std::string& path, const std::string& nameText) {
    std::string answer;
    const ICalImportResult result = ImportICalendarFile(model.GetScheduleBook(), path, nameText, answer);
    if (result.bytesRead > 0) model.OnEntriesAdded();
    const bool trouble = result.fileRefused || result.refusedCount > 0;
    model.GetMessageBox().Show(answer, "", MbButtons::Ok, trouble ? MbIcon::Exclamation : MbIcon::None);
    return result.bytesRead > 0;
}

}  // namespace nelo
