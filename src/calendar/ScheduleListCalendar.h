// The schedule list's calendar file buttons, "iCalendar出力" and "iCalendar読込み": the
// desktop's dialog asks for the file and hands it here.
#pragma once

#include <string>

namespace nelo {

class ScheduleListModel;

/// "iCalendar出力": writes every entry to path, asking through the dialog's message box
/// before it replaces a file, and tells how it went (nameText names the file). True
/// when the file was written.
bool OnSchedListICalExport(ScheduleListModel& model, const std::string& path, const std::string& nameText);

/// "iCalendar読込み": registers the events of path, shows the report, and shows the rows
/// afresh in start order. True when an entry was registered.
bool OnSchedListICalImport(ScheduleListModel& model, const std::string& path, const std::string& nameText);

}  // namespace nelo
