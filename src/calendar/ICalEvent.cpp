#include "calendar/ICalEvent.h"

#include "platform/Clock.h"
#include "text/Sjis.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace nelo {

namespace {

// A rule is followed from its first instance to the end of the window for at most this
// many of its steps (days, or hours for an hourly rule). libical walks a rule whose
// parts never meet (the 30th of February) step by step up to its UNTIL, so the walk
// must be short; a rule without COUNT starts at today instead and never needs more.
constexpr long long kMaxRuleSteps = 40000;
// A run of whole days is merged into one entry when it is at most this long.
constexpr std::size_t kMaxRunDays = 3660;

bool HasNoByParts(const icalrecurrencetype& r) {
    return r.by_second[0] == ICAL_RECURRENCE_ARRAY_MAX && r.by_minute[0] == ICAL_RECURRENCE_ARRAY_MAX &&
           r.by_hour[0] == ICAL_RECURRENCE_ARRAY_MAX && r.by_day[0] == ICAL_RECURRENCE_ARRAY_MAX &&
           r.by_month_day[0] == ICAL_RECURRENCE_ARRAY_MAX && r.by_year_day[0] == ICAL_RECURRENCE_ARRAY_MAX &&
           r.by_week_no[0] == ICAL_RECURRENCE_ARRAY_MAX && r.by_month[0] == ICAL_RECURRENCE_ARRAY_MAX &&
           r.by_set_pos[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

icaltimetype DateValue(int year, int month, int day) {
    icaltimetype t = icaltime_null_date();
    t.year = year;
    t.month = month;
    t.day = day;
    return t;
}

icaltimetype AddDays(icaltimetype t, int days) {
    icaltime_adjust(&t, days, 0, 0, 0);
    return t;
}

// Days from 1970-01-01 to a date.
long long DayNumber(const icaltimetype& t) {
    const long long y = static_cast<long long>(t.year) - (t.month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (t.month + (t.month > 2 ? -3 : 9)) + 2) / 5 + t.day - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

bool IsMark(icalproperty* p, const char* name) {
    const char* x = icalproperty_get_x_name(p);
    const char* value = icalproperty_get_x(p);
    return x && value && strcasecmp(x, name) == 0 && strcasecmp(value, "DATE") == 0;
}

// The seconds of one step of a rule's walk: a day, or an hour for an hourly rule.
long long StepSeconds(bool byDays) { return byDays ? 86400 : 3600; }

// The places of starts in the order of their instances, each instance once.
std::vector<std::size_t> InstanceOrder(const std::vector<icaltimetype>& starts) {
    std::vector<std::pair<ICalInstanceKey, std::size_t>> order;  // instance and its place in starts
    order.reserve(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) order.emplace_back(MakeInstanceKey(starts[i]), i);
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    order.erase(std::unique(order.begin(), order.end(),
                            [](const auto& a, const auto& b) { return !(a.first < b.first) && !(b.first < a.first); }),
                order.end());
    std::vector<std::size_t> places;
    places.reserve(order.size());
    for (const auto& entry : order) places.push_back(entry.second);
    return places;
}

ICalLocal LocalOf(std::time_t t) {
    const std::tm tm = LocalTime(t);
    return ICalLocal{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

}  // namespace

ICalWindow MakeICalWindow(std::time_t now) {
    const std::tm today = LocalTime(now);
    ICalWindow w;
    w.fromTime = MakeLocalTime(today.tm_year + 1900, today.tm_mon + 1, today.tm_mday, 0, 0, 0);
    w.toTime = MakeLocalTime(today.tm_year + 1901, today.tm_mon + 1, today.tm_mday, 0, 0, 0);
    w.dateFrom = DateValue(today.tm_year + 1900, today.tm_mon + 1, today.tm_mday);
    const std::tm end = LocalTime(w.toTime);
    w.dateTo = DateValue(end.tm_year + 1900, end.tm_mon + 1, end.tm_mday);
    return w;
}

ICalInstanceKey MakeInstanceKey(const icaltimetype& t) {
    return t.is_date ? ICalInstanceKey{true, ICalDateKey(t)} : ICalInstanceKey{false, ICalInstant(t)};
}

bool ICalEvent::Read(icalcomponent* vevent, ICalZones& zones, std::string& error) {
    m_event = vevent;
    icalproperty* startProperty = icalcomponent_get_first_property(vevent, ICAL_DTSTART_PROPERTY);
    if (!startProperty) {
        error = "開始日時（DTSTART）がありません。"_sj;
        return false;
    }
    if (!ReadICalTime(startProperty, icalproperty_get_dtstart(startProperty), zones, m_start, error)) return false;
    ReadMarks(vevent);
    if (!ReadEnd(vevent, zones, error)) return false;
    for (icalproperty* p = icalcomponent_get_first_property(vevent, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(vevent, ICAL_RRULE_PROPERTY))
        m_rules.push_back(icalproperty_get_rrule(p));
    for (icalproperty* p = icalcomponent_get_first_property(vevent, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(vevent, ICAL_RDATE_PROPERTY))
        if (!ReadRdate(p, zones, error)) return false;
    for (icalproperty* p = icalcomponent_get_first_property(vevent, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(vevent, ICAL_EXDATE_PROPERTY))
        if (!ReadExDate(p, zones, error)) return false;
    m_repeating = !m_rules.empty() || !m_rdates.empty();
    return true;
}

// The notebook marks a start or end that is a day without a time of day.
void ICalEvent::ReadMarks(icalcomponent* vevent) {
    for (icalproperty* p = icalcomponent_get_first_property(vevent, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(vevent, ICAL_X_PROPERTY)) {
        m_startDateOnly = m_startDateOnly || IsMark(p, "X-NELO-START");
        m_endDateOnly = m_endDateOnly || IsMark(p, "X-NELO-END");
    }
}

// The length of the event, from DTEND or DURATION; an event with neither has no end.
bool ICalEvent::ReadEnd(icalcomponent* vevent, ICalZones& zones, std::string& error) {
    if (icalproperty* endProperty = icalcomponent_get_first_property(vevent, ICAL_DTEND_PROPERTY)) {
        icaltimetype end;
        if (!ReadICalTime(endProperty, icalproperty_get_dtend(endProperty), zones, end, error)) return false;
        m_end = true;
        if (m_start.is_date)
            m_length = DayNumber(end) - DayNumber(m_start);
        else
            m_length = static_cast<long long>(ICalInstant(end)) - ICalInstant(m_start);
        if (m_length < 0) {
            error = "終了日時（DTEND）が開始日時より前です。"_sj;
            return false;
        }
        return true;
    }
    icalproperty* duration = icalcomponent_get_first_property(vevent, ICAL_DURATION_PROPERTY);
    if (!duration) return true;
    const icaldurationtype d = icalproperty_get_duration(duration);
    if (icaldurationtype_is_bad_duration(d) || d.is_neg) {
        error = "期間（DURATION）が正しくありません。"_sj;
        return false;
    }
    m_end = true;
    m_length = icaldurationtype_as_int(d);
    if (m_start.is_date) m_length /= 86400;
    return true;
}

// One RDATE: a start, or a period with its own end or length.
bool ICalEvent::ReadRdate(icalproperty* p, ICalZones& zones, std::string& error) {
    const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
    const bool isPeriod = icaltime_is_null_time(rdate.time);
    icaltimetype start;
    if (!ReadICalTime(p, isPeriod ? rdate.period.start : rdate.time, zones, start, error)) return false;
    long long length = m_length;
    if (isPeriod && !icaltime_is_null_time(rdate.period.end)) {
        icaltimetype end;
        if (!ReadICalTime(p, rdate.period.end, zones, end, error)) return false;
        length = std::max<long long>(0, static_cast<long long>(ICalInstant(end)) - ICalInstant(start));
    } else if (isPeriod) {
        length = icaldurationtype_as_int(rdate.period.duration);
    }
    // A date-time among the dates of a whole-day event stands for its day.
    if (m_start.is_date && !start.is_date) start = DateValue(start.year, start.month, start.day);
    m_rdates.emplace_back(start, length);
    return true;
}

bool ICalEvent::ReadExDate(icalproperty* p, ICalZones& zones, std::string& error) {
    icaltimetype ex;
    if (!ReadICalTime(p, icalproperty_get_exdate(p), zones, ex, error)) return false;
    if (ex.is_date)
        m_exDates.insert(ICalDateKey(ex));
    else
        m_exInstants.insert(ICalInstant(ex));
    return true;
}

ICalOccurrence ICalEvent::Single() const { return Occurrence(m_start, m_length); }

ICalOccurrence ICalEvent::Occurrence(const icaltimetype& start, long long length) const {
    ICalOccurrence o;
    o.key = MakeInstanceKey(start);
    o.start = ICalToLocal(start);
    if (m_startDateOnly && o.start.hour >= 0) o.start = ICalLocal{o.start.year, o.start.month, o.start.day, -1, 0};
    if (!m_end) return o;
    if (start.is_date) {
        // The end of whole days is the day after the last one; a single day has no end
        // unless the notebook wrote one.
        if (length > 1 || (length == 1 && m_endDateOnly))
            o.end = ICalToLocal(AddDays(start, static_cast<int>(length - 1)));
        return o;
    }
    const std::time_t endTime = ICalInstant(start) + static_cast<std::time_t>(length);
    o.end = LocalOf(endTime);
    if (m_endDateOnly) {
        // The notebook writes a day's end as the start of the day after it.
        if (o.end.hour == 0 && o.end.minute == 0) o.end = LocalOf(endTime - 1);
        o.end.hour = -1;
        o.end.minute = 0;
    }
    return o;
}

bool ICalEvent::IsExcluded(const icaltimetype& start) const {
    if (start.is_date) return m_exDates.count(ICalDateKey(start)) > 0;
    if (m_exInstants.count(ICalInstant(start))) return true;
    const ICalLocal local = ICalToLocal(start);
    return !m_exDates.empty() && m_exDates.count((static_cast<long>(local.year) * 100 + local.month) * 100 + local.day);
}

bool ICalEvent::IsDailyRun(const icalrecurrencetype& rule) const {
    return m_start.is_date && m_rules.size() == 1 && m_rdates.empty() && rule.freq == ICAL_DAILY_RECURRENCE &&
           rule.interval <= 1 && (rule.count > 0 || !icaltime_is_null_time(rule.until)) && HasNoByParts(rule) &&
           (!m_end || m_length <= 1);
}

bool ICalEvent::ExpandRule(icalrecurrencetype rule, const ICalWindow& window, std::vector<icaltimetype>& starts,
                           long long& budget, std::string& error) const {
    if (!IsReadableRule(rule, error)) return false;
    const std::time_t startTime = ICalInstant(m_start);
    if (startTime >= window.toTime) return true;  // everything after the window
    const bool byDays = rule.freq != ICAL_HOURLY_RECURRENCE;
    const bool jump = startTime < window.fromTime && rule.count == 0 && byDays;
    if (!jump && (window.toTime - startTime) / StepSeconds(byDays) > kMaxRuleSteps) {
        error = "繰り返しの始まり（DTSTART）が古すぎるため、今日からの回を数えられません。"_sj;
        return false;
    }
    if (!ChargeWalk(rule, window, jump, budget, error)) return false;
    // The walk ends a day after the window at the latest.
    const icaltimetype limit =
        m_start.is_date ? AddDays(window.dateTo, 1)
                        : icaltime_from_timet_with_zone(window.toTime + 86400, 0, icaltimezone_get_utc_timezone());
    if (icaltime_is_null_time(rule.until) || icaltime_compare(rule.until, limit) > 0) rule.until = limit;

    ICalIteratorPtr it(icalrecur_iterator_new(rule, m_start));
    if (!it) {
        error = "繰り返しの規則（RRULE）が正しくありません。"_sj;
        return false;
    }
    if (jump) icalrecur_iterator_set_start(it.get(), WalkStartToday(window));
    CollectStarts(it.get(), window, starts);
    return true;
}

// Rules of seconds or minutes, and rules libical could not make sense of, are refused.
bool ICalEvent::IsReadableRule(const icalrecurrencetype& rule, std::string& error) {
    if (rule.freq == ICAL_SECONDLY_RECURRENCE || rule.freq == ICAL_MINUTELY_RECURRENCE) {
        error = "秒や分ごとの繰り返しは読み込めません。"_sj;
        return false;
    }
    if (rule.freq == ICAL_NO_RECURRENCE || rule.interval < 0) {
        error = "繰り返しの規則（RRULE）が正しくありません。"_sj;
        return false;
    }
    return true;
}

// Takes the walk's cost from the budget: the steps between where it starts and where it
// ends at the latest. false (error set) when the budget cannot pay it.
bool ICalEvent::ChargeWalk(const icalrecurrencetype& rule, const ICalWindow& window, bool jump, long long& budget,
                           std::string& error) const {
    long long lastTime = window.toTime;
    if (!icaltime_is_null_time(rule.until)) lastTime = std::min<long long>(lastTime, ICalInstant(rule.until));
    const long long firstTime = jump ? window.fromTime : ICalInstant(m_start);
    const long long steps =
        std::max<long long>(0, lastTime - firstTime) / StepSeconds(rule.freq != ICAL_HOURLY_RECURRENCE) + 1;
    if (steps > budget) {
        error = "繰り返しの予定が多すぎるため、この予定は今日からの回を数えませんでした。"_sj;
        return false;
    }
    budget -= steps;
    return true;
}

// Where the walk of a rule begun before today starts instead: today, in the zone (or as
// the kind of time) of the event's start.
icaltimetype ICalEvent::WalkStartToday(const ICalWindow& window) const {
    if (m_start.is_date) return window.dateFrom;
    if (m_start.zone) return icaltime_from_timet_with_zone(window.fromTime, 0, m_start.zone);
    const ICalLocal l = LocalOf(window.fromTime);
    icaltimetype from = icaltime_null_time();
    from.year = l.year;
    from.month = l.month;
    from.day = l.day;
    return from;
}

// The instances the walk gives in the window, as many as may be kept after the exclusions.
void ICalEvent::CollectStarts(icalrecur_iterator* it, const ICalWindow& window,
                              std::vector<icaltimetype>& starts) const {
    const std::size_t enough = kICalMaxOccurrences + m_exDates.size() + m_exInstants.size() + 1;
    for (std::size_t n = 0; n < enough;) {
        const icaltimetype next = icalrecur_iterator_next(it);
        if (icaltime_is_null_time(next)) break;
        if (next.is_date ? ICalDateKey(next) >= ICalDateKey(window.dateTo) : ICalInstant(next) >= window.toTime) break;
        if (next.is_date ? ICalDateKey(next) < ICalDateKey(window.dateFrom) : ICalInstant(next) < window.fromTime)
            continue;
        starts.push_back(next);
        ++n;
    }
}

void ICalEvent::MergeDays(const std::vector<icaltimetype>& days, std::vector<ICalOccurrence>& out) const {
    std::size_t i = 0;
    while (i < days.size()) {
        std::size_t j = i;
        while (j + 1 < days.size() && DayNumber(days[j + 1]) == DayNumber(days[j]) + 1) ++j;
        ICalOccurrence o;
        o.key = MakeInstanceKey(days[i]);
        o.start = ICalToLocal(days[i]);
        if (j > i) o.end = ICalToLocal(days[j]);
        out.push_back(o);
        i = j + 1;
    }
}

// An instance is kept unless EXDATE leaves it out (counted) or it is given on its own.
bool ICalEvent::IsKept(const icaltimetype& t, const std::set<ICalInstanceKey>& skip, ICalExpansion& info) const {
    if (IsExcluded(t)) {
        ++info.excludedCount;
        return false;
    }
    return skip.count(MakeInstanceKey(t)) == 0;
}

// A multi-day entry written as one day repeated (calcurse does so) is one entry again,
// wherever its days lie. false when the event is not such a run, or its rule goes on
// too long to be one.
bool ICalEvent::ExpandDailyRun(const std::set<ICalInstanceKey>& skip, std::vector<ICalOccurrence>& out,
                               ICalExpansion& info, long long& budget) const {
    if (m_rules.empty() || !IsDailyRun(m_rules.front()) || budget <= static_cast<long long>(kMaxRunDays)) return false;
    ICalIteratorPtr it(icalrecur_iterator_new(m_rules.front(), m_start));
    std::vector<icaltimetype> days;
    for (std::size_t n = 0; it && n <= kMaxRunDays; ++n) {
        const icaltimetype next = icalrecur_iterator_next(it.get());
        --budget;
        if (icaltime_is_null_time(next)) {
            info.dailyRun = true;
            info.days = days.size();
            MergeDays(days, out);
            return true;
        }
        if (IsKept(next, skip, info)) days.push_back(next);
    }
    info.excludedCount = 0;
    return false;
}

bool ICalEvent::Expand(const ICalWindow& window, const std::set<ICalInstanceKey>& skip,
                       std::vector<ICalOccurrence>& out, ICalExpansion& info, long long& budget, std::string& error) {
    if (ExpandDailyRun(skip, out, info, budget)) return true;

    std::vector<icaltimetype> starts;
    starts.push_back(m_start);  // the first instance, whether the rule gives it or not
    for (const icalrecurrencetype& rule : m_rules)
        if (!ExpandRule(rule, window, starts, budget, error)) return false;
    const std::size_t firstRdate = starts.size();
    for (const auto& rdate : m_rdates) starts.push_back(rdate.first);
    for (const std::size_t i : InstanceOrder(starts)) {
        const icaltimetype& t = starts[i];
        const bool inWindow =
            t.is_date ? ICalDateKey(t) >= ICalDateKey(window.dateFrom) && ICalDateKey(t) < ICalDateKey(window.dateTo)
                      : ICalInstant(t) >= window.fromTime && ICalInstant(t) < window.toTime;
        if (!inWindow || !IsKept(t, skip, info)) continue;
        if (out.size() >= kICalMaxOccurrences) {
            info.capped = true;
            break;
        }
        const long long length = i >= firstRdate ? m_rdates[i - firstRdate].second : m_length;
        out.push_back(Occurrence(t, length));
    }
    return true;
}

}  // namespace nelo
