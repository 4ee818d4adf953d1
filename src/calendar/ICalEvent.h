// One event of a calendar being read, as the entries it gives: its own start and end,
// or for a repeating event every occurrence from today to a year ahead (RRULE, RDATE,
// EXDATE and the instances moved or cancelled elsewhere in the file taken into account).
#pragma once

#include "calendar/ICalTimes.h"

#include <cstddef>
#include <ctime>
#include <set>
#include <string>
#include <vector>

namespace nelo {

/// A repeating event gives at most this many entries.
inline constexpr std::size_t kICalMaxOccurrences = 500;
/// What one import may spend on walking repeating rules, in steps of their walk (days,
/// or hours for an hourly rule): about three thousand series of a year each.
inline constexpr long long kICalRuleBudget = 1000000;

/// The days repeating events are expanded over: from the start of today (local) to
/// the start of the same day a year later.
struct ICalWindow {
    std::time_t fromTime = 0, toTime = 0;  ///< seconds since 1970
    icaltimetype dateFrom{}, dateTo{};     ///< the same two days as dates
};
ICalWindow MakeICalWindow(std::time_t now);

/// Which instance of a series a start is: RECURRENCE-ID names an instance this way.
struct ICalInstanceKey {
    bool isDate = false;
    long long value = 0;  ///< the date (YYYYMMDD) or the seconds since 1970
    bool operator<(const ICalInstanceKey& o) const { return isDate != o.isDate ? isDate < o.isDate : value < o.value; }
};
ICalInstanceKey MakeInstanceKey(const icaltimetype& t);

/// One entry an event gives.
struct ICalOccurrence {
    ICalLocal start;
    ICalLocal end;  ///< year 0: no end
    ICalInstanceKey key;
};

/// What expanding a repeating event found, for the report.
struct ICalExpansion {
    bool capped = false;            ///< more occurrences than kICalMaxOccurrences lay in the window
    bool dailyRun = false;          ///< a run of whole days (a multi-day entry written day by day)
    std::size_t days = 0;           ///< the days of such runs
    std::size_t excludedCount = 0;  ///< occurrences left out by EXDATE
};

class ICalEvent {
public:
    /// Reads the event's start, end and recurrence; false with error (code page 932)
    /// when they cannot be taken.
    bool Read(icalcomponent* vevent, ICalZones& zones, std::string& error);

    /// RRULE or RDATE present.
    bool IsRepeating() const { return m_repeating; }
    /// The entry of an event that does not repeat (or of one instance of a series).
    ICalOccurrence Single() const;
    /// The entries of a repeating event in the window, without the instances named in
    /// skip; false with error (code page 932) when its rule cannot be expanded. budget
    /// is what the import may still spend on walking rules (in days, or hours for an
    /// hourly rule); the walk takes its part of it, and an event whose walk would cost
    /// more is refused.
    bool Expand(const ICalWindow& window, const std::set<ICalInstanceKey>& skip, std::vector<ICalOccurrence>& out,
                ICalExpansion& info, long long& budget, std::string& error);

private:
    ICalOccurrence Occurrence(const icaltimetype& start, long long length) const;
    bool IsExcluded(const icaltimetype& start) const;
    bool IsDailyRun(const icalrecurrencetype& rule) const;
    void ReadMarks(icalcomponent* vevent);
    bool ReadEnd(icalcomponent* vevent, ICalZones& zones, std::string& error);
    bool ReadRdate(icalproperty* p, ICalZones& zones, std::string& error);
    bool ReadExDate(icalproperty* p, ICalZones& zones, std::string& error);
    bool ExpandRule(icalrecurrencetype rule, const ICalWindow& window, std::vector<icaltimetype>& starts,
                    long long& budget, std::string& error) const;
    static bool IsReadableRule(const icalrecurrencetype& rule, std::string& error);
    bool ChargeWalk(const icalrecurrencetype& rule, const ICalWindow& window, bool jump, long long& budget,
                    std::string& error) const;
    icaltimetype WalkStartToday(const ICalWindow& window) const;
    void CollectStarts(icalrecur_iterator* it, const ICalWindow& window, std::vector<icaltimetype>& starts) const;
    void MergeDays(const std::vector<icaltimetype>& days, std::vector<ICalOccurrence>& out) const;
    bool IsKept(const icaltimetype& t, const std::set<ICalInstanceKey>& skip, ICalExpansion& info) const;
    bool ExpandDailyRun(const std::set<ICalInstanceKey>& skip, std::vector<ICalOccurrence>& out, ICalExpansion& info,
                        long long& budget) const;

    icalcomponent* m_event = nullptr;
    icaltimetype m_start{};
    bool m_end = false;
    long long m_length = 0;        // seconds, or days for an event of whole days
    bool m_startDateOnly = false;  // X-NELO-START:DATE
    bool m_endDateOnly = false;    // X-NELO-END:DATE
    bool m_repeating = false;
    std::vector<icalrecurrencetype> m_rules;
    std::vector<std::pair<icaltimetype, long long>> m_rdates;  // start, length
    std::set<long long> m_exInstants;                          // EXDATE date-times (seconds since 1970)
    std::set<long> m_exDates;                                  // EXDATE dates (YYYYMMDD)
};

}  // namespace nelo
