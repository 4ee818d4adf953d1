// How the desktop program reminds of schedule entries, kept in the profile's
// "Reminders" section.
#pragma once

#include <string>

namespace nelo {

class Profile;

struct ReminderSettings {
    static constexpr const char* kSection = "Reminders";
    static constexpr int kMaxMinutesBefore = 1440;

    bool enabled = true;         ///< reminders are shown at all
    int minutesBefore = 10;      ///< how long before an entry with a time (0-1440)
    int allDayMinute = 9 * 60;   ///< minute of the day for an entry without a time (0-1439)
    bool startupSummary = true;  ///< at start-up, one notification lists today's remaining entries

    /// The settings of the profile; a missing or unreadable value reads as its default.
    static ReminderSettings Read(const Profile& profile);
    /// Writes every value; false when the profile could not be written.
    bool Write(Profile& profile) const;

    bool operator==(const ReminderSettings&) const = default;
};

/// "HH:MM" of a minute of the day.
std::string MinuteOfDayText(int minute);
/// Reads "H:MM" or "HH:MM" (00:00-23:59); false for anything else.
bool ParseMinuteOfDay(const std::string& text, int& minute);

}  // namespace nelo
