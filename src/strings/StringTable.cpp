#include "strings/StringTable.h"

#include "text/Sjis.h"

namespace nelo {

const char* LoadStringId(int id) {
    switch (id) {
    case AnswerCannotCalculate: return "計算できません。"_sj;
    case AnswerBadTime: return "時間の指定が違います。"_sj;
    case AnswerBadDate: return "日付の指定が違います。"_sj;
    case AnswerBadNumber: return "数値の指定が違います。"_sj;
    case AnswerNoDate: return "日付がありません。"_sj;

    case AnswerDontKnow: return "わかりません。"_sj;
    case AnswerUnderstood: return "わかりました。"_sj;
    case AnswerVersion: return "バージョン１．００です。"_sj;

    case AnswerBadPeriod: return "時期が不正です。"_sj;

    case AnswerNoBusiness: return "用件がありません。"_sj;
    case AnswerBadSecondPeriod: return "２番目の時期が適切でありません。"_sj;
    case AnswerNoSchedules: return "予定はありません。"_sj;
    case AnswerScheduleRegistered: return "下記の予定を登録しました。"_sj;
    case AnswerScheduleRegisteredOver: return "既に予定がありますが、下記の予定を登録しました。"_sj;
    case AnswerSchedulesFound: return "次のような予定があります。"_sj;

    case AnswerMemoTooFewItems: return "メモの項目が足りません。"_sj;
    case AnswerMemoRegistered: return "メモに登録しました。"_sj;
    case AnswerMemoNotFound: return "メモに登録されていません。"_sj;
    case AnswerMemoFound: return "次のようなメモがあります。"_sj;
    default: return "";
    }
}

}  // namespace nelo
