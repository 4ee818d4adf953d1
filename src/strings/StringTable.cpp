#include "strings/StringTable.h"

#include "text/Sjis.h"

namespace nelo {

const char* LoadStringId(int id) {
    switch (id) {
    case IDS_CANNOT_CALCULATE: return "計算できません。"_sj;
    case IDS_BAD_TIME: return "時間の指定が違います。"_sj;
    case IDS_BAD_DATE: return "日付の指定が違います。"_sj;
    case IDS_BAD_NUMBER: return "数値の指定が違います。"_sj;
    case IDS_NO_DATE: return "日付がありません。"_sj;

    case IDS_DONT_KNOW: return "わかりません。"_sj;
    case IDS_UNDERSTOOD: return "わかりました。"_sj;
    case IDS_VERSION: return "バージョン１．００です。"_sj;

    case IDS_BAD_PERIOD: return "時期が不正です。"_sj;

    case IDS_NO_BUSINESS: return "用件がありません。"_sj;
    case IDS_BAD_SECOND_PERIOD: return "２番目の時期が適切でありません。"_sj;
    case IDS_NO_SCHEDULES: return "予定はありません。"_sj;
    case IDS_SCHEDULE_REGISTERED: return "下記の予定を登録しました。"_sj;
    case IDS_SCHEDULE_REGISTERED_OVER: return "既に予定がありますが、下記の予定を登録しました。"_sj;
    case IDS_SCHEDULES_FOUND: return "次のような予定があります。"_sj;

    case IDS_MEMO_TOO_FEW_ITEMS: return "メモの項目が足りません。"_sj;
    case IDS_MEMO_REGISTERED: return "メモに登録しました。"_sj;
    case IDS_MEMO_NOT_FOUND: return "メモに登録されていません。"_sj;
    case IDS_MEMO_FOUND: return "次のようなメモがあります。"_sj;
    default: return "";
    }
}

}  // namespace nelo
