#include "res/StringTable.h"

#include "text/Sjis.h"

const char* LoadStringId(int id) {
    switch (id) {
    case IDS_CANNOT_CALCULATE: return "計算できません。"_sj;
    case IDS_BAD_TIME: return "時間の指定が違います。"_sj;
    case IDS_BAD_DATE: return "日付の指定が違います。"_sj;
    case IDS_BAD_NUMBER: return "数値の指定が違います。"_sj;
    case IDS_NO_DATE: return "日付がありません。"_sj;
    default: return "";
    }
}
