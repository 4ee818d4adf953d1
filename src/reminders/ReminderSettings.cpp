#include "reminders/ReminderSettings.h"

#include "platform/Profile.h"

#include <cstdio>

namespace nelo {

namespace {

constexpr const char* kEnabled = "Enabled";
constexpr const char* kMinutesBefore = "MinutesBefore";
constexpr const char* kAllDayTime = "AllDayTime";
constexpr const char* kStartupSummary = "StartupSummary";

bool ReadFlag(const Profile& profile, const char* entry, bool def) {
    const int n = profile.GetProfileInt(ReminderSettings::kSection, entry, def ? 1 : 0);
    return n == 0 || n == 1 ? n == 1 : def;
}

}  // namespace

std::string MinuteOfDayText(int minute) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", minute / 60 % 100, minute % 60);
    return buf;
}

bool ParseMinuteOfDay(const std::string& text, int& minute) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 2 || text.size() != colon + 3) return false;
    int h = 0, m = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == colon) continue;
        if (text[i] < '0' || text[i] > '9') return false;
        (i < colon ? h : m) = (i < colon ? h : m) * 10 + (text[i] - '0');
    }
    if (h > 23 || m > 59) return false;
    minute = h * 60 + m;
    return true;
}

ReminderSettings ReminderSettings::Read(const Profile& profile) {
    ReminderSettings s;
    s.enabled = ReadFlag(profile, kEnabled, s.enabled);
    const int before = profile.GetProfileInt(kSection, kMinutesBefore, s.minutesBefore);
    if (before >= 0 && before <= kMaxMinutesBefore) s.minutesBefore = before;
    int minute;
    if (ParseMinuteOfDay(profile.GetProfileString(kSection, kAllDayTime), minute)) s.allDayMinute = minute;
    s.startupSummary = ReadFlag(profile, kStartupSummary, s.startupSummary);
    return s;
}

bool ReminderSettings::Write(Profile& profile) const {
    // Each write replaces the file: all four are tried, and one failure is reported.
    bool ok = profile.WriteProfileInt(kSection, kEnabled, enabled ? 1 : 0);
    ok = profile.WriteProfileInt(kSection, kMinutesBefore, minutesBefore) && ok;
    ok = profile.WriteProfileString(kSection, kAllDayTime, MinuteOfDayText(allDayMinute)) && ok;
    ok = profile.WriteProfileInt(kSection, kStartupSummary, startupSummary ? 1 : 0) && ok;
    return ok;
}

}  // namespace nelo
