// The dates and times of a calendar being read: the zones its TZIDs name, and the
// local date and time a value stands for in the notebook.
#pragma once

#include "calendar/ICalLib.h"

#include <ctime>
#include <map>
#include <string>

namespace nelo {

/// The time zones a calendar's values name: the file's own VTIMEZONE components
/// first, then the system's zone data, also under the names other programs write for
/// its zones ("Tokyo Standard Time", "/mozilla.org/20050126_1/Asia/Tokyo").
class ICalZones {
public:
    ICalZones() = default;
    ~ICalZones();
    ICalZones(const ICalZones&) = delete;
    ICalZones& operator=(const ICalZones&) = delete;

    /// Takes a VTIMEZONE of the file; false (and it is dropped) when it has no TZID.
    bool Add(ICalComponentPtr zoneComponent);
    /// The zone a TZID names; nullptr when neither the file nor the system knows it.
    icaltimezone* Find(const std::string& tzid);

private:
    std::map<std::string, icaltimezone*> m_own;     // the file's zones, owned
    std::map<std::string, icaltimezone*> m_system;  // libical's zones (or nullptr), not owned
};

/// The system's zone of a name of the zone database (UTC for "UTC", "Etc/UTC"…);
/// nullptr when the system has no such zone.
icaltimezone* FindSystemZone(const std::string& name);

/// A local calendar date and time as an entry keeps it; hour -1 for a date alone.
struct ICalLocal {
    int year = 0, month = 0, day = 0, hour = -1, minute = 0;
};

/// The value of a date or date-time property with its zone attached (UTC for a value
/// ending in Z, the zone of its TZID, none for a floating time). False with error
/// (code page 932) for a value that names no existing date or time, or a zone that is
/// not known.
bool ReadICalTime(icalproperty* prop, icaltimetype value, ICalZones& zones, icaltimetype& out, std::string& error);

/// Seconds since 1970 of a value: a date-time in its zone (a floating one in the local
/// zone), a date at its local midnight.
std::time_t ICalInstant(const icaltimetype& t);
/// The local date and time of a value (a date gives the date alone).
ICalLocal ICalToLocal(const icaltimetype& t);
/// A number that orders dates and tells them apart (YYYYMMDD).
long ICalDateKey(const icaltimetype& t);
/// The value as the file would write it ("20030602", "20030602T100000").
std::string ICalValueText(const icaltimetype& t);

}  // namespace nelo
