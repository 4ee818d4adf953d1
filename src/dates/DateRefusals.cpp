// The sentences that refuse a date phrase: each names the phrase as written and says why.
#include "dates/DateReader.h"

#include "text/Decimal.h"
#include "text/JText.h"
#include "text/Sjis.h"

namespace nelo {

namespace {

std::string Quoted(std::string_view phrase) {
    std::string out = "「"_sj;
    out.append(phrase);
    out += "」"_sj;
    return out;
}

}  // namespace

std::string RefusalText(const DateReading& reading, std::string_view phrase, PhraseUse use) {
    const std::string word = Quoted(phrase);
    if (reading.outcome == ReadOutcome::Read) {
        switch (reading.precision) {
        case ReadPrecision::Week:
            return word + "だけでは日が決まりません。「来週の月曜」のように日まで入力してください。"_sj;
        case ReadPrecision::Month:
            return word + "だけでは日が決まりません。「来月５日」のように日まで入力してください。"_sj;
        case ReadPrecision::Year:
            return word + "だけでは日が決まりません。「来年１月５日」のように日まで入力してください。"_sj;
        case ReadPrecision::Day: break;
        }
        return std::string();
    }
    switch (reading.refusal) {
    case PhraseRefusal::Repeating:
        if (use == PhraseUse::Schedule)
            return word + "は繰り返しの予定のため登録できません。日付ごとに入力してください。"_sj;
        return word + "は繰り返しのため、日付が一つに決まりません。"_sj;
    case PhraseRefusal::WhichWeekday:
        return word + "は何週目の曜日かわかりません。「来月の第２金曜」のように入力してください。"_sj;
    case PhraseRefusal::WhichMonth:
        return word + "はどの月かわかりません。「来月の第２金曜」のように入力してください。"_sj;
    case PhraseRefusal::NoTimeOfDay:
        return word + "は時刻がわかりません。「明日の朝９時」のように時刻まで入力してください。"_sj;
    case PhraseRefusal::Vague:
        return word + "では日付が一つに決まりません。「１２／２８」のように日付で入力してください。"_sj;
    case PhraseRefusal::NoStart:
        return word + "には始まりがありません。「今日から金曜まで」のように入力してください。"_sj;
    case PhraseRefusal::WeekdayDiffers: {
        std::string date;
        AppendDecimal(date, reading.date.year);
        date += "年"_sj;
        AppendDecimal(date, reading.date.month);
        date += "月"_sj;
        AppendDecimal(date, reading.date.day);
        date += "日は"_sj;
        std::string out = ToFullWidth(date);
        out.append(kWeekdayNames[WeekdayOf(reading.date)], 2);
        out += "曜日で、"_sj;
        out.append(
            kWeekdayNames[reading.annotatedWeekday >= 0 && reading.annotatedWeekday < 7 ? reading.annotatedWeekday : 0],
            2);
        out += "曜日ではありません。"_sj;
        return out;
    }
    case PhraseRefusal::Unread:
    case PhraseRefusal::EndBeforeStart:
    case PhraseRefusal::None: break;
    }
    return word + "という日付の書き方は読めません。"_sj;
}

std::string EndBeforeStartText(std::string_view endPhrase, std::string_view startPhrase) {
    return "終わりの"_sj + Quoted(endPhrase) + "が始まりの"_sj + Quoted(startPhrase) + "より前です。"_sj;
}

}  // namespace nelo
