// The reading side of the calendar exchange. Components arrive one at a time from the
// file; an event that stands alone becomes its entry at once, while repeating events
// and moved or cancelled instances wait for the end of the file (an instance may come
// before its series, a zone after its events). Nothing is registered before the whole
// file has been read, so that a file refused as a whole changes nothing.
#include "calendar/ICalendar.h"

#include "calendar/ICalEntry.h"
#include "calendar/ICalEvent.h"
#include "calendar/ICalReport.h"
#include "calendar/ICalSource.h"
#include "calendar/ICalStream.h"
#include "calendar/ICalUid.h"
#include "platform/Clock.h"
#include "schedule/ScheduleBook.h"
#include "text/Sjis.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace nelo {

namespace {

// The properties an entry is made of: a line of them that libical could not read
// refuses the event; a bad line of anything else changes nothing the notebook keeps.
const char* const kUsedProperties[] = {"DTSTART", "DTEND",  "DURATION", "SUMMARY",       "LOCATION", "RRULE",
                                       "RDATE",   "EXDATE", "STATUS",   "RECURRENCE-ID", "UID",      ""};

bool IsUsed(const std::string& name) {
    for (const char* used : kUsedProperties)
        if (name == used) return true;
    return name.compare(0, 7, "X-NELO-") == 0;
}

std::string LineText(std::size_t lineNumber) { return std::to_string(lineNumber) + " 行目"_sj; }

// What makes two entries the same: their times (an hour of 25 is the next day's 1 o'clock),
// whether each has a time of day, and the business.
std::string EntryKey(const ScheduleEntry& e) {
    // "2003/06/02(月)" is 14 bytes; a time of day follows it.
    std::string key = std::to_string(e.GetStartTime()) + (e.GetStartText().size() > 14 ? "T" : "D");
    if (!e.GetEndText().empty()) key += std::to_string(e.GetEndTime()) + (e.GetEndText().size() > 14 ? "T" : "D");
    return key + '\x1F' + e.GetBusiness();
}

// What the file asked for and what became of one of its events.
struct EventRecord {
    std::size_t index = 0, lineNumber = 0;
    std::string business;  // code page 932
    std::string uid;
    std::vector<std::string> notes;  // code page 932
    std::string error;               // why it is not registered
    std::vector<ScheduleEntry> entries;
    bool repeating = false;
    bool countAsRepeated = false;  // its entries count as those of a repeating event
    bool skipped = false;          // left out on purpose (cancelled); counted elsewhere
};

// An instance of a series given on its own (RECURRENCE-ID).
struct Override {
    ICalInstanceKey key;
    bool cancelled = false;
    std::size_t recordIndex = 0;
    ICalOccurrence occurrence;
    bool consumed = false;
};

class ICalImporter {
public:
    ICalImporter(ScheduleBook& pro, std::time_t now) : m_pro(pro), m_window(MakeICalWindow(now)) {}

    // One component of the file; false (error set) stops the reading.
    bool Take(ICalTopComponent&& top, std::string& error);
    // The end of the file: the waiting events.
    bool Finish(std::string& error);
    // Registers what the file gave and fills the report.
    void Register();

    ICalImportReport& GetReport() { return m_report; }

private:
    ICalImportReport m_report;
    using Overrides = std::multimap<std::string, Override>;                     // by the UID of their series
    using WaitingEvents = std::vector<std::pair<std::size_t, icalcomponent*>>;  // record and its event

    bool TakeEvent(ICalTopComponent&& top, std::string& error);
    bool Count(std::size_t entries, std::string& error);
    void AddEntry(EventRecord& record, const ICalOccurrence& occurrence, const std::string& business);
    void SortWaiting(Overrides& overrides, WaitingEvents& series, WaitingEvents& singles);
    void TakeOverride(std::size_t recordIndex, icalcomponent* vevent, icalproperty* ridProperty, Overrides& overrides);
    bool ExpandSeries(std::size_t recordIndex, icalcomponent* vevent, Overrides& overrides, std::string& error);
    void AddInstances(EventRecord& record, Overrides::iterator first, Overrides::iterator last);
    void NoteSeries(EventRecord& record, const ICalExpansion& info);
    bool TakeLoneInstances(Overrides& overrides, std::string& error);
    bool TakeSingles(const WaitingEvents& singles, std::string& error);
    void RegisterRecord(EventRecord& record, std::unordered_map<std::string, int>& held,
                        const std::unordered_set<std::string>& uids);
    void NoteRecord(const EventRecord& record, std::string text);

    ScheduleBook& m_pro;
    ICalWindow m_window;
    ICalZones m_zones;
    std::vector<EventRecord> m_records;
    std::vector<std::pair<std::size_t, ICalComponentPtr>> m_waiting;  // record and its event
    std::unordered_set<std::string> m_cancelledSeries;                // UIDs of cancelled events
    std::size_t m_entries = 0;
    long long m_ruleBudget = kICalRuleBudget;
};

bool ICalImporter::Take(ICalTopComponent&& top, std::string& error) {
    switch (icalcomponent_isa(top.component.get())) {
    case ICAL_VTIMEZONE_COMPONENT: m_zones.Add(std::move(top.component)); return true;
    case ICAL_VEVENT_COMPONENT: return TakeEvent(std::move(top), error);
    case ICAL_VTODO_COMPONENT: ++m_report.todos; return true;
    case ICAL_VJOURNAL_COMPONENT: ++m_report.journals; return true;
    default: ++m_report.others; return true;
    }
}

bool ICalImporter::Count(std::size_t entries, std::string& error) {
    m_entries += entries;
    if (m_entries <= kICalMaxEntries) return true;
    error = "予定が多すぎます（繰り返しを数えて "_sj + std::to_string(kICalMaxEntries) + " 件まで）。"_sj;
    return false;
}

void ICalImporter::AddEntry(EventRecord& record, const ICalOccurrence& occurrence, const std::string& business) {
    ScheduleEntry entry;
    std::string why;
    if (!MakeICalEntry(occurrence, business, entry, why)) {
        if (record.error.empty()) record.error = why;
        return;
    }
    record.entries.push_back(std::move(entry));
}

bool ICalImporter::TakeEvent(ICalTopComponent&& top, std::string& error) {
    icalcomponent* vevent = top.component.get();
    m_records.emplace_back();
    EventRecord& record = m_records.back();
    record.index = m_records.size();
    record.lineNumber = top.lineNumber;

    for (icalcomponent* p = icalcomponent_get_first_component(vevent, ICAL_VALARM_COMPONENT); p;
         p = icalcomponent_get_next_component(vevent, ICAL_VALARM_COMPONENT))
        ++m_report.alarms;
    // A description of blanks alone (Outlook writes "\n") says nothing.
    const char* description = icalcomponent_get_description(vevent);
    if (description && std::any_of(description, description + std::strlen(description),
                                   [](char c) { return static_cast<unsigned char>(c) > 0x20; }))
        ++m_report.descriptions;

    const ICalBusiness business =
        MakeICalBusiness(icalcomponent_get_summary(vevent), icalcomponent_get_location(vevent));
    record.business = business.text;
    if (business.replacedCount > 0)
        record.notes.push_back("シフトJIS（コードページ932）にない文字 "_sj + std::to_string(business.replacedCount) +
                               " 個を「？」に置き換えました。"_sj);
    if (business.wasCut)
        record.notes.push_back("用件が長いため "_sj + std::to_string(kICalMaxBusinessBytes) +
                               " バイトまでにしました。"_sj);
    if (const char* uid = icalcomponent_get_uid(vevent)) record.uid = uid;

    for (const ICalBadLine& bad : top.badLines)
        if (IsUsed(bad.name)) {
            record.error = LineText(bad.lineNumber) + "の書式が正しくありません。"_sj;
            return true;
        }
    if (record.business.empty()) {
        record.error = "用件（SUMMARY）がありません。"_sj;
        return true;
    }
    const bool instance = icalcomponent_get_first_property(vevent, ICAL_RECURRENCEID_PROPERTY) != nullptr;
    const bool cancelled = icalcomponent_get_status(vevent) == ICAL_STATUS_CANCELLED;
    if (!instance && cancelled) {
        record.skipped = true;
        ++m_report.cancelledCount;
        if (!record.uid.empty()) m_cancelledSeries.insert(record.uid);
        return true;
    }
    ICalEvent event;
    std::string why;
    const bool ownerRead = event.Read(vevent, m_zones, why);
    if (instance || (ownerRead && event.IsRepeating()) || !ownerRead) {
        // A zone may still come; a series waits for its instances.
        m_waiting.emplace_back(m_records.size() - 1, std::move(top.component));
        return true;
    }
    AddEntry(record, event.Single(), record.business);
    return Count(record.entries.size(), error);
}

bool ICalImporter::Finish(std::string& error) {
    Overrides overrides;
    WaitingEvents series, singles;
    SortWaiting(overrides, series, singles);
    for (const auto& [recordIndex, vevent] : series)
        if (!ExpandSeries(recordIndex, vevent, overrides, error)) return false;
    if (!TakeLoneInstances(overrides, error) || !TakeSingles(singles, error)) return false;
    m_waiting.clear();
    return true;
}

// Parts the waiting events into instances given on their own, repeating series and
// events that stand alone.
void ICalImporter::SortWaiting(Overrides& overrides, WaitingEvents& series, WaitingEvents& singles) {
    for (auto& [recordIndex, component] : m_waiting) {
        icalcomponent* vevent = component.get();
        if (icalproperty* ridProperty = icalcomponent_get_first_property(vevent, ICAL_RECURRENCEID_PROPERTY)) {
            TakeOverride(recordIndex, vevent, ridProperty, overrides);
            continue;
        }
        ICalEvent probe;
        std::string why;
        if (probe.Read(vevent, m_zones, why) && probe.IsRepeating())
            series.emplace_back(recordIndex, vevent);
        else
            singles.emplace_back(recordIndex, vevent);
    }
}

void ICalImporter::TakeOverride(std::size_t recordIndex, icalcomponent* vevent, icalproperty* ridProperty,
                                Overrides& overrides) {
    EventRecord& record = m_records[recordIndex];
    Override instance;
    instance.recordIndex = recordIndex;
    instance.cancelled = icalcomponent_get_status(vevent) == ICAL_STATUS_CANCELLED;
    icaltimetype rid;
    std::string why;
    if (!ReadICalTime(ridProperty, icalproperty_get_recurrenceid(ridProperty), m_zones, rid, why)) {
        record.error = "RECURRENCE-ID: "_sj + why;
        return;
    }
    instance.key = MakeInstanceKey(rid);
    if (!instance.cancelled) {
        ICalEvent event;
        if (!event.Read(vevent, m_zones, why)) {
            record.error = why;
            return;
        }
        instance.occurrence = event.Single();
    }
    overrides.emplace(record.uid, instance);
}

// A repeating event with its instances given on their own; false (error set) when the
// file holds too many entries. A series that cannot be expanded leaves its instances
// to stand on their own.
bool ICalImporter::ExpandSeries(std::size_t recordIndex, icalcomponent* vevent, Overrides& overrides,
                                std::string& error) {
    EventRecord& record = m_records[recordIndex];
    record.repeating = true;
    // Instances belong to a series by its UID; a series without one has none.
    auto [first, last] =
        record.uid.empty() ? std::make_pair(overrides.end(), overrides.end()) : overrides.equal_range(record.uid);
    std::set<ICalInstanceKey> skip;
    for (auto it = first; it != last; ++it) skip.insert(it->second.key);
    ICalEvent event;
    std::vector<ICalOccurrence> occurrences;
    ICalExpansion info;
    if (!event.Read(vevent, m_zones, record.error) ||
        !event.Expand(m_window, skip, occurrences, info, m_ruleBudget, record.error))
        return true;
    for (const ICalOccurrence& o : occurrences) AddEntry(record, o, record.business);
    AddInstances(record, first, last);
    if (!record.error.empty()) {
        record.entries.clear();
        return true;
    }
    NoteSeries(record, info);
    return Count(record.entries.size(), error);
}

// The instances of a series moved within the window join it; the cancelled ones are counted.
void ICalImporter::AddInstances(EventRecord& record, Overrides::iterator first, Overrides::iterator last) {
    for (auto it = first; it != last; ++it) {
        Override& instance = it->second;
        instance.consumed = true;
        if (instance.cancelled) {
            ++m_report.cancelledInstances;
            continue;
        }
        const ICalLocal& s = instance.occurrence.start;
        const std::time_t t = MakeLocalTime(s.year, s.month, s.day, s.hour < 0 ? 0 : s.hour, s.minute, 0);
        if (t >= m_window.fromTime && t < m_window.toTime)
            AddEntry(record, instance.occurrence, m_records[instance.recordIndex].business);
    }
}

// What became of a series: a run of days merged, its repeats counted, or none in the window.
void ICalImporter::NoteSeries(EventRecord& record, const ICalExpansion& info) {
    if (info.dailyRun) {
        record.notes.push_back("連続する "_sj + std::to_string(info.days) + " 日を "_sj +
                               std::to_string(record.entries.size()) + " 件にまとめました。"_sj);
        return;
    }
    if (record.entries.empty()) {
        record.error = "今日から１年先までに当たる日がありません。"_sj;
        return;
    }
    record.countAsRepeated = true;
    record.notes.push_back(
        "繰り返し "_sj + std::to_string(record.entries.size()) + " 件"_sj +
        (info.capped ? "（"_sj + std::to_string(kICalMaxOccurrences) + " 件までにしました）"_sj : std::string()));
}

// Instances whose series is not in the file stand on their own.
bool ICalImporter::TakeLoneInstances(Overrides& overrides, std::string& error) {
    for (auto& [uid, instance] : overrides) {
        if (instance.consumed) continue;
        EventRecord& record = m_records[instance.recordIndex];
        if (instance.cancelled || m_cancelledSeries.count(uid)) {
            record.skipped = true;
            ++m_report.cancelledInstances;
            continue;
        }
        AddEntry(record, instance.occurrence, record.business);
        if (!Count(record.entries.size(), error)) return false;
    }
    return true;
}

bool ICalImporter::TakeSingles(const WaitingEvents& singles, std::string& error) {
    for (const auto& [recordIndex, vevent] : singles) {
        EventRecord& record = m_records[recordIndex];
        ICalEvent event;
        if (!event.Read(vevent, m_zones, record.error)) continue;
        AddEntry(record, event.Single(), record.business);
        if (!Count(record.entries.size(), error)) return false;
    }
    return true;
}

void ICalImporter::Register() {
    // What the notebook holds already: each entry may stand for one event of the file.
    std::unordered_map<std::string, int> held;
    for (const auto& p : m_pro.GetSchedules()) ++held[EntryKey(*p)];
    std::unordered_set<std::string> uids;
    ForEachExportedUid(m_pro, [&uids](const std::string& uid) { uids.insert(uid); });
    for (EventRecord& record : m_records) RegisterRecord(record, held, uids);
}

void ICalImporter::NoteRecord(const EventRecord& record, std::string text) {
    m_report.notes.push_back(
        ICalEventNote{record.index, record.lineNumber, QuotedBusiness(record.business), std::move(text)});
}

// One event of the file: refused, skipped, already held (by its UID or entry by entry)
// or registered, with what the report says of it.
void ICalImporter::RegisterRecord(EventRecord& record, std::unordered_map<std::string, int>& held,
                                  const std::unordered_set<std::string>& uids) {
    if (!record.error.empty()) {
        ++m_report.refusedCount;
        for (const std::string& text : record.notes) NoteRecord(record, text);
        NoteRecord(record, record.error);
        return;
    }
    if (record.skipped) return;
    if (!record.uid.empty() && uids.count(record.uid)) {
        m_report.alreadyCount += static_cast<int>(record.entries.size());
        return;
    }
    int conflictCount = 0, registeredCount = 0;
    for (ScheduleEntry& entry : record.entries) {
        auto it = held.find(EntryKey(entry));
        if (it != held.end() && it->second > 0) {
            --it->second;
            ++m_report.alreadyCount;
            continue;
        }
        if (m_pro.AddRegistered(std::make_unique<ScheduleEntry>(std::move(entry)))) ++conflictCount;
        ++registeredCount;
    }
    m_report.bytesRead += registeredCount;
    if (record.countAsRepeated && registeredCount > 0) {
        ++m_report.repeatingCount;
        m_report.repeatedEntries += registeredCount;
    }
    for (const std::string& text : record.notes) NoteRecord(record, text);
    if (conflictCount > 0) {
        ++m_report.conflictingCount;
        NoteRecord(record, record.repeating
                               ? "既にある予定と時刻が重なる回 "_sj + std::to_string(conflictCount) + " 件"_sj
                               : std::string("既にある予定と時刻が重なります。"_sj));
    }
    record.entries.clear();
    record.entries.shrink_to_fit();
}

}  // namespace

ICalImportResult ImportICalendar(ScheduleBook& scheduleBook, std::string_view data, std::string& answer) {
    ICalImportResult result;
    std::string error;
    ICalImporter importer(scheduleBook, CurrentClock().Now());
    if (data.size() > kICalMaxFileBytes) {
        error = ICalTooLargeText(data.size(), true, kICalMaxFileBytes);
    } else {
        ICalText text = DecodeICalBytes(data);
        importer.GetReport().isShiftJis = text.isShiftJis;
        const auto sink = [&importer, &error](ICalTopComponent&& top) { return importer.Take(std::move(top), error); };
        if (ReadICalComponents(text.utf8, sink, error)) importer.Finish(error);
    }
    if (!error.empty()) {
        result.fileRefused = true;
        answer = error + "\r\n" + std::string("予定は登録しませんでした。"_sj);
        return result;
    }
    importer.Register();
    const ICalImportReport& report = importer.GetReport();
    result.bytesRead = report.bytesRead;
    result.recurringCount = report.repeatingCount;
    result.refusedCount = report.refusedCount;
    result.skippedCount = report.alreadyCount + report.cancelledCount + report.cancelledInstances;
    answer = FormatICalImportReport(report);
    return result;
}

ICalImportResult ImportICalendarFile(ScheduleBook& scheduleBook, const std::string& path, const std::string& nameText,
                                     std::string& answer) {
    std::string data, error;
    if (!ReadICalFile(path, kICalMaxFileBytes, data, error)) {
        ICalImportResult result;
        result.fileRefused = true;
        answer = nameText + "を読めませんでした。"_sj + error;
        return result;
    }
    ICalImportResult result = ImportICalendar(scheduleBook, data, answer);
    answer = nameText + "："_sj + answer;
    return result;
}

}  // namespace nelo
