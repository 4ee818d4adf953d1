// Which schedule entry is to be reminded of when, what the reminder says, and which
// reminders this session has shown. Each entry is reminded of once: from its due time
// (minutes before its start, or a time of its day for an entry without one) until it
// begins (a minute's grace after the start; the end of the day for an entry without a
// time). Entries are known by their content, so an entry that reappears with its file
// (opened again, imported) is not reminded of twice, two identical entries are
// reminded of once each, and a deleted entry is never reminded of.
#pragma once

#include "reminders/ReminderSettings.h"

#include <cstddef>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace nelo {

class ScheduleEntry;

/// What tells an entry from another: all it shows and stores.
struct ReminderKey {
    long long startTime = 0;
    long long endTime = 0;
    std::string startText;
    std::string endText;
    std::string business;

    bool operator==(const ReminderKey&) const = default;
    /// True when the key is that of entry.
    bool Matches(const ScheduleEntry& entry) const;
    static ReminderKey Of(const ScheduleEntry& entry);
};

struct ReminderKeyHash {
    std::size_t operator()(const ReminderKey& key) const;
};

/// One notification (texts in code page 932).
struct Reminder {
    ReminderKey key;      ///< the entry it is about (empty for the start-up summary)
    std::string summary;  ///< "10:00 会議", "終日 大掃除"
    std::string body;     ///< the entry's date and end, as the schedule list shows them
};

class ReminderPlan {
public:
    using Entries = std::vector<std::unique_ptr<ScheduleEntry>>;

    /// Seconds after an entry's start during which its reminder may still be shown.
    static constexpr std::time_t kGraceSeconds = 60;

    void SetSettings(const ReminderSettings& settings) { m_settings = settings; }
    const ReminderSettings& GetSettings() const { return m_settings; }

    /// When the entry's reminder falls due.
    std::time_t DueTime(const ScheduleEntry& entry) const;
    /// The first moment at which it is too late for it (the entry has begun).
    std::time_t LateTime(const ScheduleEntry& entry) const;

    /// The reminders due at now that this session has not shown, in start order; they
    /// count as shown from here on. None while reminders are turned off.
    std::vector<Reminder> TakeDue(const Entries& entries, std::time_t now);
    /// The first time after now at which a reminder falls due; none when no entry's
    /// reminder lies ahead or reminders are turned off.
    std::optional<std::time_t> NextDue(const Entries& entries, std::time_t now) const;
    /// The start-up summary: today's entries still to come or under way; none when
    /// there are none or it is turned off (it has its own switch).
    std::optional<Reminder> TodaySummary(const Entries& entries, std::time_t now) const;

    /// The reminder of one entry (its texts; the current year left out as the schedule
    /// list leaves it out).
    static Reminder ReminderOf(const ScheduleEntry& entry);

private:
    ReminderSettings m_settings;
    /// How many reminders of entries with this key were shown.
    std::unordered_map<ReminderKey, int, ReminderKeyHash> m_shown;
};

}  // namespace nelo
