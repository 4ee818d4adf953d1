// The dates of an event in local time: floating, UTC and named-zone values, and
// durations.
#include "schedule/ICalendarParse.h"

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "text/Sjis.h"

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

namespace {

// Zone names some calendar programs write instead of the zone database's.
const struct {
    const char* pszName;
    const char* pszZone;
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
    {"UTC", "UTC"},
    {"GMT", "UTC"},
    {"Z", "UTC"},
};

int Digits(std::string_view s, std::size_t at, std::size_t n) {
    int v = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        if (i >= s.size() || s[i] < '0' || s[i] > '9') return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && bLeap ? 29 : kDays[month - 1];
}

bool SafeZoneName(const std::string& name) {
    if (name.empty() || name.size() > 64 || name[0] == '/' || name.find("..") != std::string::npos) return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '_' || c == '-' || c == '+'))
            return false;
    return true;
}

bool ZoneFileExists(const std::string& name) {
    const char* dir = std::getenv("TZDIR");
    const std::string path = std::string(dir && *dir ? dir : "/usr/share/zoneinfo") + "/" + name;
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The zone database's name for a TZID; empty when it names no zone this system has.
std::string ResolveZone(const std::string& tzid) {
    for (const auto& alias : kZoneAliases)
        if (tzid == alias.pszName) return ZoneFileExists(alias.pszZone) ? alias.pszZone : "";
    // Some programs prefix the name with their own path ("/mozilla.org/20050126_1/Asia/Tokyo"):
    // the shortest tail that names a zone is taken.
    std::string name = tzid;
    while (!name.empty()) {
        if (SafeZoneName(name) && ZoneFileExists(name)) return name;
        const std::size_t slash = name.find('/', 1);
        if (slash == std::string::npos) break;
        name.erase(0, slash + 1);
    }
    return "";
}

// Seconds since 1970 of a wall-clock time in a zone: the C library's own conversion
// with TZ pointed at the zone for the moment.
std::time_t ZoneTime(const std::string& zone, std::tm tm) {
    const char* old = std::getenv("TZ");
    const bool bHad = old != nullptr;
    const std::string saved = bHad ? old : "";
    setenv("TZ", zone.c_str(), 1);
    tzset();
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (bHad)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    return t;
}

void FromTimeValue(std::time_t t, ICalLocal& local) {
    const std::tm tm = LocalTime(t);
    local.year = tm.tm_year + 1900;
    local.month = tm.tm_mon + 1;
    local.day = tm.tm_mday;
    local.hour = tm.tm_hour;
    local.minute = tm.tm_min;
}

}  // namespace

bool ICalToLocal(const ICalDateProp& prop, ICalLocal& local, std::string& error) {
    const std::string& v = prop.strValue;
    const bool bDate = v.size() == 8;
    const bool bUtc = v.size() == 16 && (v[15] == 'Z' || v[15] == 'z');
    const int year = Digits(v, 0, 4), month = Digits(v, 4, 2), day = Digits(v, 6, 2);
    int hour = -1, minute = 0, second = 0;
    bool bOk = (bDate || v.size() == 15 || bUtc) && year >= 1 && month >= 1 && month <= 12 && day >= 1 &&
               day <= DaysInMonth(year, month) && !(prop.bDateValue && !bDate);
    if (bOk && !bDate) {
        hour = Digits(v, 9, 2);
        minute = Digits(v, 11, 2);
        second = Digits(v, 13, 2);
        bOk = (v[8] == 'T' || v[8] == 't') && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 &&
              second <= 60;
    }
    if (!bOk) {
        error = "日時「"_sj + Utf8ToCp932(v).text + "」が正しくありません。"_sj;
        return false;
    }
    local = ICalLocal{year, month, day, hour, minute};
    if (bDate) return true;

    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    if (bUtc) {
        FromTimeValue(timegm(&tm), local);
    } else if (!prop.strTzid.empty()) {
        const std::string zone = ResolveZone(prop.strTzid);
        if (zone.empty()) {
            error = "時間帯「"_sj + Utf8ToCp932(prop.strTzid).text + "」がわかりません。"_sj;
            return false;
        }
        FromTimeValue(ZoneTime(zone, tm), local);
    }
    return true;
}

bool AddICalDuration(ICalLocal& local, std::string_view d) {
    if (!d.empty() && d[0] == '+') d.remove_prefix(1);
    if (d.empty() || (d[0] != 'P' && d[0] != 'p')) return false;
    long long days = 0, minutes = 0;
    bool bTime = false, bAny = false;
    for (std::size_t i = 1; i < d.size();) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(d[i])));
        if (c == 'T') {
            bTime = true;
            ++i;
            continue;
        }
        long long n = 0;
        std::size_t digits = 0;
        while (i < d.size() && d[i] >= '0' && d[i] <= '9' && digits < 7) {
            n = n * 10 + (d[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || i >= d.size()) return false;
        const char unit = static_cast<char>(std::toupper(static_cast<unsigned char>(d[i++])));
        if (!bTime && unit == 'W')
            days += n * 7;
        else if (!bTime && unit == 'D')
            days += n;
        else if (bTime && unit == 'H')
            minutes += n * 60;
        else if (bTime && unit == 'M')
            minutes += n;
        else if (bTime && unit == 'S')
            minutes += n / 60;
        else
            return false;
        bAny = true;
    }
    if (!bAny) return false;
    long long total = DaysFromCivil(local.year, local.month, local.day) + days;
    if (local.hour >= 0) {
        long long m = local.hour * 60LL + local.minute + minutes;
        total += m / 1440;
        m %= 1440;
        local.hour = static_cast<int>(m / 60);
        local.minute = static_cast<int>(m % 60);
    } else {
        total += minutes / 1440;
    }
    CivilFromDays(total, local.year, local.month, local.day);
    return true;
}
