#include "schedule/CmdPro.h"

#include "dates/DateAnswers.h"
#include "dates/DateParser.h"
#include "dates/DateText.h"
#include "dates/DateTimeRec.h"
#include "dates/NextOccurrence.h"
#include "platform/Clock.h"
#include "res/StringTable.h"
#include "schedule/PeriodQuery.h"
#include "schedule/PhraseParts.h"
#include "schedule/Priqueue.h"
#include "schedule/RangeMark.h"
#include "text/JText.h"
#include "text/Sjis.h"
#include "units/UnitConvert.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>
#include <cstdio>
#include <limits>

const CmdWord g_cmdWords[10] = {
    {"何曜日"_sj, 1}, {"曜日"_sj, 1}, {"何歳"_sj, 2},   {"何才"_sj, 2}, {"年齢"_sj, 2},
    {"年令"_sj, 2},   {"日付"_sj, 3}, {"基準日"_sj, 3}, {"日数"_sj, 4}, {"予定"_sj, 5},
};

// "斤", the usual character of the weight unit, counts as "斥".
const CmdWord g_unitWords[12] = {
    {"年"_sj, 0}, {"尺"_sj, 1}, {"間"_sj, 2}, {"里"_sj, 3}, {"坪"_sj, 4},  {"反"_sj, 5},
    {"町"_sj, 6}, {"合"_sj, 7}, {"升"_sj, 8}, {"貫"_sj, 9}, {"斥"_sj, 10}, {"斤"_sj, 10},
};

namespace {

const char* NoBusinessText() { return LoadStringId(IDS_NO_BUSINESS); }
const char* BadSecondText() { return LoadStringId(IDS_BAD_SECOND_PERIOD); }

bool FitsInt32(std::time_t t) {
    return t >= std::numeric_limits<std::int32_t>::min() && t <= std::numeric_limits<std::int32_t>::max();
}

// A result text of the phrase parser read back into its fields; hour -1 when it has no
// time of day. Comparing these orders dates as the texts do for four-digit years, a date
// without time before the same day with one.
struct ResultFields {
    int year = 0, month = 0, day = 0, hour = -1, minute = 0;

    static ResultFields Read(const std::string& text) {
        ResultFields f;
        int n = std::sscanf(text.c_str(), "%d/%d/%d %d:%d", &f.year, &f.month, &f.day, &f.hour, &f.minute);
        if (n < 5) {
            f.hour = -1;
            f.minute = 0;
        }
        return f;
    }
    long long DateKey() const { return (static_cast<long long>(year) * 100 + month) * 100 + day; }
    bool Before(const ResultFields& o) const {
        if (DateKey() != o.DateKey()) return DateKey() < o.DateKey();
        if (hour < 0 || o.hour < 0) return hour < 0 && o.hour >= 0;
        return hour != o.hour ? hour < o.hour : minute < o.minute;
    }
    std::string Text() const {
        char buf[96];
        if (hour < 0)
            std::snprintf(buf, sizeof buf, "%d/%02d/%02d", year, month, day);
        else
            std::snprintf(buf, sizeof buf, "%d/%02d/%02d %02d:%02d", year, month, day, hour, minute);
        return buf;
    }
};

// The words of text up to the end of its line (split at blanks and tabs) joined by one
// full-width blank.
std::string JoinWords(const char* text) {
    std::string out;
    const char* p = text;
    while (*p && *p != '\n') {
        while (*p == ' ' || *p == '\t') ++p;
        if (!*p || *p == '\n') break;
        const char* q = p;
        while (*q && *q != ' ' && *q != '\t' && *q != '\n') ++q;
        if (!out.empty()) out += "　"_sj;
        out.append(p, q);
        p = q;
    }
    return out;
}

// word == g_cmdWords[k].pszWord, with the lengths of the words counted once.
bool IsCmdWord(const std::string& word, std::size_t k) {
    static const auto kViews = [] {
        std::array<std::string_view, std::size(g_cmdWords)> views;
        for (std::size_t i = 0; i < views.size(); ++i) views[i] = g_cmdWords[i].pszWord;
        return views;
    }();
    return word == kViews[k];
}

// Where the text of the current token starts (after its leading blanks).
std::size_t TokenTextStart(const CCalcScanner& scan) {
    std::size_t pos = scan.m_nTokenStart;
    while (scan.ByteAt(pos) == ' ' || scan.ByteAt(pos) == '\t') ++pos;
    return pos;
}

}  // namespace

bool CCmdPro::IsCommandWord(const std::string& word) {
    for (std::size_t k = 0; k < std::size(g_cmdWords); ++k)
        if (IsCmdWord(word, k)) return true;
    return false;
}

int CCmdPro::GetToken() { return m_scan.GetToken(true); }

int CCmdPro::DoCommand(std::string& answer, const std::string& text) {
    m_strLine.clear();
    AppendFullWidthHalfBlank(m_strLine, text);
    m_scan.Reset(m_strLine);

    if (GetToken() != tokWord) return 0;
    // The whole first word; the scanner's token text keeps at most 63 characters of it.
    const std::size_t firstStart = TokenTextStart(m_scan);
    const std::string firstWord = m_strLine.substr(firstStart, m_scan.m_nCursor - firstStart);

    std::string startResult, startDisplay;
    std::int32_t tStart = 0;
    // A word ending in "年" is a year for the era conversion, never a schedule start; a
    // command word never reads as a date (its parse would fail without touching the
    // working date), so it goes straight to its command.
    bool bStart = false;
    int range = 0;
    std::string rangeEnd;
    if (IsCommandWord(firstWord)) {
        EnsureWorkingDate();
    } else if (!EndsWithDbcs(firstWord, "年"_sj)) {
        range = ParseRangeStart(startResult, startDisplay, m_scan.m_szToken, tStart, rangeEnd);
        if (range == 1)
            bStart = true;
        else if (range == 0)
            bStart = ParseScheduleStart(startResult, startDisplay, m_scan.m_szToken, tStart) == 1;
    }
    if (!bStart) {
        if (startResult == BadPeriodText()) {
            answer = BadPeriodText();
            return 1;
        }
        return DoKeywordCommand(firstWord, answer);
    }

    std::string endResult, endDisplay;
    std::int32_t tEnd = tStart;
    if (range == 1) {
        // The end stands in the first word; the business follows it.
        if (ParseScheduleEnd(endResult, endDisplay, rangeEnd, tEnd, startResult) != 1) {
            answer = BadSecondText();
            return 1;
        }
        return RegisterWithNextWord(startDisplay, endDisplay, answer, tStart, tEnd);
    }

    if (GetToken() != tokWord) {
        answer = NoBusinessText();
        return 1;
    }
    const std::size_t secondStart = TokenTextStart(m_scan);
    // A day without its time of day, then a range of times: 「１２／２５　１４：００－１６：００」.
    const int timeRange = startResult.size() < 12
                              ? ParseTimeRange(startResult, startDisplay, tStart, endDisplay, tEnd, m_scan.m_szToken)
                              : 0;
    if (timeRange != 0) {
        if (timeRange < 0) {
            answer = BadSecondText();
            return 1;
        }
        return RegisterWithNextWord(startDisplay, endDisplay, answer, tStart, tEnd);
    }
    std::size_t businessStart;
    if (ParseScheduleEnd(endResult, endDisplay, m_scan.m_szToken, tEnd, startResult) == 1) {
        if (GetToken() != tokWord) {
            answer = NoBusinessText();
            return 1;
        }
        businessStart = TokenTextStart(m_scan);
    } else {
        // An impossible date in second place is a mistaken end, not the business.
        if (GetToken() == tokWord || endResult == BadPeriodText()) {
            answer = BadSecondText();
            return 1;
        }
        endDisplay.clear();
        tEnd = tStart;
        businessStart = secondStart;
    }
    RegisterSchedule(startDisplay, endDisplay, JoinWords(m_scan.LineFrom(businessStart)), answer, tStart, tEnd);
    return 1;
}

int CCmdPro::RegisterWithNextWord(const std::string& startDisplay, const std::string& endDisplay, std::string& answer,
                                  std::int32_t tStart, std::int32_t tEnd) {
    if (GetToken() != tokWord) {
        answer = NoBusinessText();
        return 1;
    }
    RegisterSchedule(startDisplay, endDisplay, JoinWords(m_scan.LineFrom(TokenTextStart(m_scan))), answer, tStart,
                     tEnd);
    return 1;
}

int CCmdPro::RegisterPhrases(const std::string& startPhrase, const std::string& endPhrase, const std::string& business,
                             std::string& answer) {
    std::string startResult, startDisplay;
    std::int32_t tStart = 0;
    if (ParseScheduleStart(startResult, startDisplay, startPhrase, tStart) != 1) {
        answer = BadPeriodText();
        return 0;
    }
    std::string endResult, endDisplay;
    std::int32_t tEnd = tStart;
    if (!endPhrase.empty() && ParseScheduleEnd(endResult, endDisplay, endPhrase, tEnd, startResult) != 1) {
        answer = BadSecondText();
        return 0;
    }
    if (business.empty()) {
        answer = NoBusinessText();
        return 0;
    }
    return RegisterSchedule(startDisplay, endDisplay, business, answer, tStart, tEnd);
}

int CCmdPro::ParseRangeStart(std::string& result, std::string& display, const std::string& word, std::int32_t& tStart,
                             std::string& end) {
    const std::string::size_type mark = FindRangeMark(word);
    if (mark == std::string::npos) return 0;
    const DateTimeRec saved = g_dtWork;
    if (ParseScheduleStart(result, display, word.substr(0, mark), tStart) == 1) {
        end.assign(word, mark + 2, std::string::npos);
        return 1;
    }
    if (result == BadPeriodText()) return -1;
    // Not a date before the mark: the word is read whole, as if it held no mark.
    g_dtWork = saved;
    AdjustMonthTable(saved.year);
    result.clear();
    return 0;
}

int CCmdPro::ParseTimeRange(std::string& startResult, std::string& startDisplay, std::int32_t& tStart,
                            std::string& endDisplay, std::int32_t& tEnd, const std::string& word) {
    const std::string::size_type mark = FindRangeMark(word);
    if (mark == std::string::npos) return 0;
    const std::string before = word.substr(0, mark), after = word.substr(mark + 2);
    // Only a time of day before the mark joins the start's day.
    const PhraseParts parts = AnalyzePhraseParts(before);
    if (parts.bYear || parts.bMonth || parts.bDay || parts.bDigitsOnly) return 0;
    const DateTimeRec saved = g_dtWork;
    std::string result, display, endResult;
    std::int32_t t = 0, tAfter = 0;
    if (ParseScheduleStart(result, display, before, t) == 1) {
        if (ParseScheduleEnd(endResult, endDisplay, after, tAfter, result) == 1) {
            startResult = result;
            startDisplay = display;
            tStart = t;
            tEnd = tAfter;
            return 1;
        }
        // A date or time after the mark that cannot end the range is a mistaken end.
        std::string probe;
        if (ParseDatePhrase(probe, after) == 1 || probe == BadPeriodText()) return -1;
    }
    g_dtWork = saved;
    AdjustMonthTable(saved.year);
    return 0;
}

int CCmdPro::DoKeywordCommand(const std::string& word, std::string& answer) {
    for (std::size_t k = 0; k < std::size(g_cmdWords); ++k) {
        const CmdWord& cmd = g_cmdWords[k];
        if (!IsCmdWord(word, k)) continue;
        m_nCommand = cmd.nCode;
        if (cmd.nCode == 5)
            QuerySchedules(answer);
        else
            DateQuestion(answer);
        return 1;
    }
    if (PeriodQuery(word, answer)) return 1;
    for (const CmdWord& unit : g_unitWords) {
        if (!EndsWithDbcs(word, unit.pszWord)) continue;
        // The whole word: a quantity is never cut to what the scanner's token text keeps.
        ConvertCommand(unit.nCode, word, answer);
        return 1;
    }
    return 0;
}

int CCmdPro::DateQuestion(std::string& answer) {
    if (GetToken() == tokEnd) {
        answer = LoadStringId(IDS_NO_DATE);
        return 1;
    }
    // Both buffers are members so that a question costs no allocation once warm.
    std::string& phrase = m_strPhrase;
    phrase.assign(m_scan.m_szToken);
    std::string& out = m_strDateOut;
    if (m_nCommand >= 1 && m_nCommand <= 3 && ParseDatePhrase(out, phrase) == 0) {
        answer = LoadStringId(IDS_BAD_DATE);
        return 1;
    }
    out.clear();
    // Parsing the phrase again from a valid working date would leave it exactly as it is,
    // so the answer is read from what the first parse left.
    const bool bParsed = m_nCommand >= 1 && m_nCommand <= 3 && IsWorkingDateValid();
    int ok = 0;
    switch (m_nCommand) {
    case 1: ok = bParsed ? WeekdayOfWorkingDate(out) : AnswerWeekday(out, phrase); break;
    case 2: ok = bParsed ? AgeAtWorkingDate(out) : AnswerAge(out, phrase); break;
    case 3: ok = bParsed ? BaseDateOfWorkingDate(out) : AnswerBaseDate(out, phrase); break;
    case 4: ok = AnswerDayCount(out, phrase); break;
    default: break;
    }
    // The day count answers its own failure ("わかりません。"), and so does the age of a
    // date that parsed but lies after today.
    if (ok == 0 && m_nCommand != 4 && !(m_nCommand == 2 && out == LoadStringId(IDS_DONT_KNOW))) {
        answer = LoadStringId(IDS_BAD_DATE);
        return 1;
    }
    answer.clear();
    AppendFullWidth(answer, out);
    return 1;
}

int CCmdPro::ConvertCommand(int code, const std::string& word, std::string& answer) {
    std::string out;
    if (code == 0) {
        AnswerEra(out, word);
    } else if (ConvertUnit(code, word, out) == 0) {
        answer = LoadStringId(IDS_BAD_NUMBER);
        return 1;
    }
    answer = ToFullWidth(out);
    return 1;
}

int CCmdPro::ParseScheduleStart(std::string& result, std::string& display, const std::string& phrase,
                                std::int32_t& tStart) {
    DateFill fill;
    if (ParseDatePhrase(result, phrase, fill) == 0) return 0;
    // Without its year a date before today means its next occurrence.
    MoveToNextOccurrence(result, fill);
    std::time_t t = 0;
    if (FormatEntryDate(display, result, t) == 0) {
        // More than ten years away: the entry still needs a time value to be ordered by.
        const bool bTime = result.size() >= 12;
        t = MakeLocalTime(g_dtWork.year, g_dtWork.month, g_dtWork.day, bTime ? g_dtWork.hour : 0,
                          bTime ? g_dtWork.minute : 0, 0);
        if (t == static_cast<std::time_t>(-1)) t = std::numeric_limits<std::time_t>::max();
    }
    // Times are stored in 32 bits: a start beyond them cannot be kept.
    if (!FitsInt32(t)) {
        result = BadPeriodText();
        return 0;
    }
    tStart = static_cast<std::int32_t>(t);
    return 1;
}

int CCmdPro::ParseScheduleEnd(std::string& result, std::string& display, const std::string& phrase, std::int32_t& tEnd,
                              const std::string& startResult) {
    const PhraseParts parts = AnalyzePhraseParts(phrase);
    const ResultFields start = ResultFields::Read(startResult);
    // A day without its year (or month) takes the start's, not today's.
    const bool bOwnYear = !parts.bDay || parts.bYear;
    const bool bOwnMonth = !parts.bDay || parts.bMonth;

    ResultFields end;
    if (parts.bDigitsOnly) {
        end.year = start.year;
        end.month = start.month;
        end.day = parts.nDay;
    } else {
        const int ok = ParseDatePhrase(result, phrase);
        if (ok == 1) {
            end = ResultFields::Read(result);
        } else {
            // Only a date left without year or month may be impossible just in today's
            // year or month (「２月２９日」, 「３１日」); with the start's it may be fine.
            if (result != BadPeriodText() || bOwnYear) return 0;
            end.month = parts.nMonth;
            end.day = parts.nDay;
            if (g_dtWork.hour != NO_TIME) {
                end.hour = g_dtWork.hour;
                end.minute = g_dtWork.minute;
            }
        }
        if (!bOwnYear) end.year = start.year;
        if (!bOwnMonth) end.month = start.month;
    }

    if (!bOwnYear || !bOwnMonth) {
        if (ParseDateRest(result, end.Text()) == 0) return 0;
        // Before the start: the next such date after it.
        if (end.Before(start)) {
            if (!bOwnMonth) {
                if (++end.month > 12) {
                    end.month = 1;
                    ++end.year;
                }
            } else {
                ++end.year;
            }
            if (ParseDateRest(result, end.Text()) == 0) return 0;
        }
    }
    if (end.Before(start)) return 0;

    std::time_t t = 0;
    if (FormatEntryDate(display, result, t) == 0 || !FitsInt32(t)) return 0;
    tEnd = static_cast<std::int32_t>(t);
    return 1;
}

void CCmdPro::UpdateIndex() {
    if (m_bIndexValid) return;
    m_index.Clear();
    for (std::size_t i = 0; i < m_schedules.size(); ++i) m_index.Add(m_schedules[i].get(), i);
    m_bIndexValid = true;
}

int CCmdPro::RegisterSchedule(const std::string& strStart, const std::string& strEnd, const std::string& strBusiness,
                              std::string& answer, std::int32_t tStart, std::int32_t tEnd) {
    UpdateIndex();
    // Only the entries the answer shows are looked at closely; the rest are counted.
    std::vector<std::size_t> conflicts;
    const std::size_t nConflicts = m_index.Conflicts(tStart, tEnd, kMaxConflictLines, conflicts);

    const std::string strYear = CurrentYearText();
    std::string line;
    if (conflicts.empty()) {
        answer = LoadStringId(IDS_SCHEDULE_REGISTERED);
        answer += "\r\n";
    } else {
        answer = LoadStringId(IDS_SCHEDULE_REGISTERED_OVER);
        answer += "\r\n";
        for (std::size_t pos : conflicts) {
            m_schedules[pos]->Format(line, strYear);
            answer += line;
            answer += "\r\n";
        }
        if (nConflicts > conflicts.size())
            answer += "（ほか "_sj + std::to_string(nConflicts - conflicts.size()) + " 件）\r\n"_sj;
    }

    auto entry = std::make_unique<CSchedule>();
    entry->m_tStart = tStart;
    entry->m_tEnd = tEnd;
    entry->m_strStart = strStart;
    entry->m_strEnd = strEnd;
    entry->m_strBusiness = strBusiness;
    entry->Format(line, strYear);
    m_schedules.push_back(std::move(entry));
    m_index.Add(m_schedules.back().get(), m_schedules.size() - 1);

    answer += line;
    NoteChange();
    return 1;
}

bool CCmdPro::AddRegistered(std::unique_ptr<CSchedule> pEntry) {
    UpdateIndex();
    const bool bConflict = m_index.AnyConflict(pEntry->m_tStart, pEntry->m_tEnd);
    m_schedules.push_back(std::move(pEntry));
    m_index.Add(m_schedules.back().get(), m_schedules.size() - 1);
    NoteChange();
    return bConflict;
}

int CCmdPro::QuerySchedules(std::string& answer) {
    if (GetToken() != tokWord) return ListSchedules(answer);
    const std::size_t start = TokenTextStart(m_scan);
    const std::string word = m_strLine.substr(start, m_scan.m_nCursor - start);
    SchedulePeriod period;
    const int found = ReadSchedulePeriod(word, period);
    if (found < 0) {
        answer = BadPeriodText();
        return 1;
    }
    // A word that names no period is ignored, as it always was.
    if (found == 0) return ListSchedules(answer);
    return ListSchedulesBetween(answer, period.tFrom, period.tTo);
}

int CCmdPro::PeriodQuery(const std::string& word, std::string& answer) {
    std::string periodWord;
    if (!SplitPeriodQuery(word, periodWord)) return 0;
    SchedulePeriod period;
    const int found = ReadSchedulePeriod(periodWord, period);
    if (found == 0) return 0;
    m_nCommand = 5;
    if (found < 0) {
        answer = BadPeriodText();
        return 1;
    }
    return ListSchedulesBetween(answer, period.tFrom, period.tTo);
}

int CCmdPro::ListSchedules(std::string& answer) { return ListMatching(answer, true, 0, 0); }

int CCmdPro::ListSchedulesBetween(std::string& answer, std::time_t tFrom, std::time_t tTo) {
    return ListMatching(answer, false, tFrom, tTo);
}

int CCmdPro::ListMatching(std::string& answer, bool bAll, std::time_t tFrom, std::time_t tTo) {
    std::size_t count = m_schedules.size();
    if (!bAll) {
        count = 0;
        for (auto& entry : m_schedules)
            if (entry->Overlaps(tFrom, tTo)) ++count;
    }
    CPriqueue queue(static_cast<int>(count));
    for (auto& entry : m_schedules)
        if (bAll || entry->Overlaps(tFrom, tTo)) queue.Insert(entry.get());
    if (queue.m_nCount == 0) {
        answer = LoadStringId(IDS_NO_SCHEDULES);
        return 1;
    }
    const std::string strYear = CurrentYearText();
    std::string line;
    answer = LoadStringId(IDS_SCHEDULES_FOUND);
    answer += "\r\n";
    bool bFirst = true;
    while (CSchedule* p = queue.RemoveTop()) {
        if (!bFirst) answer += "\r\n";
        bFirst = false;
        p->Format(line, strYear);
        answer += line;
    }
    return 1;
}

void CCmdPro::SortSchedules() {
    const std::size_t n = m_schedules.size();
    CPriqueue queue(static_cast<int>(n));
    for (auto& entry : m_schedules) queue.Insert(entry.release());
    const int count = queue.m_nCount;
    for (int i = 0; i < count; ++i) m_schedules[i].reset(queue.RemoveTop());
    queue.DeleteContents();
    m_bIndexValid = false;
}

void CCmdPro::PurgePastSchedules() {
    const long long now = static_cast<long long>(CurrentClock().Now());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_schedules.size(); ++i) {
        const CSchedule& e = *m_schedules[i];
        const long long t = e.m_strEnd.empty() ? e.m_tStart : e.m_tEnd;
        if (t + 86400 < now) {
            m_schedules[i].reset();
            NoteChange();
            m_bPastPurged = 1;
        } else {
            if (kept != i) m_schedules[kept] = std::move(m_schedules[i]);
            ++kept;
        }
    }
    if (kept != m_schedules.size()) m_bIndexValid = false;
    m_schedules.resize(kept);
}

bool CCmdPro::DeleteSchedule(std::size_t nPos) {
    if (nPos >= m_schedules.size()) return false;
    m_schedules.erase(m_schedules.begin() + static_cast<std::ptrdiff_t>(nPos));
    // The entries after it moved up one place.
    m_bIndexValid = false;
    NoteChange();
    return true;
}

void CCmdPro::AddSchedule(std::unique_ptr<CSchedule> pEntry) {
    m_schedules.push_back(std::move(pEntry));
    if (m_bIndexValid) m_index.Add(m_schedules.back().get(), m_schedules.size() - 1);
}

void CCmdPro::TakeSchedules(CCmdPro& from) {
    m_schedules = std::move(from.m_schedules);
    m_bPastPurged = from.m_bPastPurged;
    m_bIndexValid = false;
    from.m_schedules.clear();
    from.m_index.Clear();
    from.m_bIndexValid = true;
}

void CCmdPro::DeleteContents() {
    m_schedules.clear();
    m_index.Clear();
    m_bIndexValid = true;
    m_bSchedChanged = 0;
    m_bPastPurged = 0;
}
