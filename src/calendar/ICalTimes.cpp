#include "calendar/ICalTimes.h"

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "text/Sjis.h"

#include <cctype>
#include <cstdio>

namespace nelo {

namespace {

// Zone names some calendar programs write instead of the zone database's.
const struct {
    const char* name;
    const char* systemZone;
} kZoneAliases[] = {
    {"Tokyo Standard Time", "Asia/Tokyo"},
    {"Korea Standard Time", "Asia/Seoul"},
    {"China Standard Time", "Asia/Shanghai"},
    {"Taipei Standard Time", "Asia/Taipei"},
    {"Singapore Standard Time", "Asia/Singapore"},
    {"India Standard Time", "Asia/Kolkata"},
    {"AUS Eastern Standard Time", "Australia/Sydney"},
    {"GMT Standard Time", "Europe/London"},
    {"W. Europe Standard Time", "Europe/Berlin"},
    {"Romance Standard Time", "Europe/Paris"},
    {"Eastern Standard Time", "America/New_York"},
    {"Central Standard Time", "America/Chicago"},
    {"Mountain Standard Time", "America/Denver"},
    {"Pacific Standard Time", "America/Los_Angeles"},
};

const char* const kUtcNames[] = {"UTC", "GMT", "Z", "Etc/UTC", "Etc/GMT", "Etc/Universal", "Etc/Zulu"};

// A name that can only name a file inside the zone folder: libical opens the file of
// the name it is given.
bool SafeZoneName(const std::string& name) {
    if (name.empty() || name.size() > 64 || name[0] == '/' || name.find("..") != std::string::npos) return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '_' || c == '-' || c == '+'))
            return false;
    return true;
}

// The system's zone for a TZID; nullptr when it names none.
icaltimezone* ResolveSystemZone(const std::string& tzid) {
    for (const auto& alias : kZoneAliases)
        if (tzid == alias.name) return FindSystemZone(alias.systemZone);
    // Some programs put their own path before the name: the shortest tail that names
    // a zone is taken.
    std::string name = tzid;
    while (!name.empty()) {
        if (icaltimezone* zone = FindSystemZone(name)) return zone;
        const std::size_t slash = name.find('/', 1);
        if (slash == std::string::npos) break;
        name.erase(0, slash + 1);
    }
    return nullptr;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool isLeap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && isLeap ? 29 : kDays[month - 1];
}

// libical takes "20030631" and "T250000" as they stand; the notebook does not.
bool Exists(const icaltimetype& t) {
    if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month))
        return false;
    return t.is_date ||
           (t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 60);
}

}  // namespace

icaltimezone* FindSystemZone(const std::string& name) {
    for (const char* utc : kUtcNames)
        if (name == utc) return icaltimezone_get_utc_timezone();
    return SafeZoneName(name) ? icaltimezone_get_builtin_timezone(name.c_str()) : nullptr;
}

ICalZones::~ICalZones() {
    for (auto& own : m_own) icaltimezone_free(own.second, 1);
}

bool ICalZones::Add(ICalComponentPtr zoneComponent) {
    icalproperty* tzidField = icalcomponent_get_first_property(zoneComponent.get(), ICAL_TZID_PROPERTY);
    const char* tzid = tzidField ? icalproperty_get_tzid(tzidField) : nullptr;
    if (!tzid || !*tzid || m_own.count(tzid)) return false;
    icaltimezone* zone = icaltimezone_new();
    if (!zone) return false;
    const std::string name = tzid;
    // The zone owns the component from here on, also when it refuses it.
    if (!icaltimezone_set_component(zone, zoneComponent.release())) {
        icaltimezone_free(zone, 1);
        return false;
    }
    m_own[name] = zone;
    return true;
}

icaltimezone* ICalZones::Find(const std::string& tzid) {
    if (auto own = m_own.find(tzid); own != m_own.end()) return own->second;
    auto known = m_system.find(tzid);
    if (known == m_system.end()) known = m_system.emplace(tzid, ResolveSystemZone(tzid)).first;
    return known->second;
}

bool ReadICalTime(icalproperty* prop, icaltimetype value, ICalZones& zones, icaltimetype& out, std::string& error) {
    if (icaltime_is_null_time(value) || !Exists(value)) {
        error = "日時「"_sj + Utf8ToCp932(ICalValueText(value)).text + "」が正しくありません。"_sj;
        return false;
    }
    out = value;
    if (value.is_date || icaltime_is_utc(value)) return true;
    icalparameter* tzidField = icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER);
    const char* tzid = tzidField ? icalparameter_get_tzid(tzidField) : nullptr;
    if (!tzid || !*tzid) {
        out.zone = nullptr;  // floating: the local time wherever the calendar is read
        return true;
    }
    icaltimezone* zone = zones.Find(tzid);
    if (!zone) {
        error = "時間帯「"_sj + Utf8ToCp932(std::string(tzid).substr(0, 64)).text + "」がわかりません。"_sj;
        return false;
    }
    icaltime_set_timezone(&out, zone);
    return true;
}

std::time_t ICalInstant(const icaltimetype& t) {
    if (t.is_date || !t.zone)
        return MakeLocalTime(t.year, t.month, t.day, t.is_date ? 0 : t.hour, t.is_date ? 0 : t.minute,
                             t.is_date ? 0 : t.second);
    return icaltime_as_timet_with_zone(t, t.zone);
}

ICalLocal ICalToLocal(const icaltimetype& t) {
    if (t.is_date) return ICalLocal{t.year, t.month, t.day, -1, 0};
    if (!t.zone) return ICalLocal{t.year, t.month, t.day, t.hour, t.minute};
    const std::tm tm = LocalTime(icaltime_as_timet_with_zone(t, t.zone));
    return ICalLocal{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

long ICalDateKey(const icaltimetype& t) { return (static_cast<long>(t.year) * 100 + t.month) * 100 + t.day; }

std::string ICalValueText(const icaltimetype& t) {
    char buf[64];
    if (t.is_date)
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", t.year, t.month, t.day);
    else
        std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02d%s", t.year, t.month, t.day, t.hour, t.minute,
                      t.second, icaltime_is_utc(t) ? "Z" : "");
    return buf;
}

}  // namespace nelo
