// The application's string table: every fixed answer the interpreters give, by id.
//
// The ids group by the part of the program that answers: 200xx the failures several
// interpreters share, 201xx the conversation, 202xx the date phrases, 203xx the
// schedules, 204xx the memos. An answer's bytes live here and nowhere else.
#pragma once

namespace nelo {

enum : int {
    IDS_CANNOT_CALCULATE = 20000,  ///< "計算できません。"
    IDS_BAD_TIME = 20001,          ///< "時間の指定が違います。"
    IDS_BAD_DATE = 20002,          ///< "日付の指定が違います。"
    IDS_BAD_NUMBER = 20003,        ///< "数値の指定が違います。"
    IDS_NO_DATE = 20004,           ///< "日付がありません。"

    IDS_DONT_KNOW = 20100,   ///< "わかりません。"
    IDS_UNDERSTOOD = 20101,  ///< "わかりました。"
    IDS_VERSION = 20102,     ///< "バージョン１．００です。"

    IDS_BAD_PERIOD = 20200,  ///< "時期が不正です。"

    IDS_NO_BUSINESS = 20300,               ///< "用件がありません。"
    IDS_BAD_SECOND_PERIOD = 20301,         ///< "２番目の時期が適切でありません。"
    IDS_NO_SCHEDULES = 20302,              ///< "予定はありません。"
    IDS_SCHEDULE_REGISTERED = 20303,       ///< "下記の予定を登録しました。"
    IDS_SCHEDULE_REGISTERED_OVER = 20304,  ///< "既に予定がありますが、下記の予定を登録しました。"
    IDS_SCHEDULES_FOUND = 20305,           ///< "次のような予定があります。"

    IDS_MEMO_TOO_FEW_ITEMS = 20400,  ///< "メモの項目が足りません。"
    IDS_MEMO_REGISTERED = 20401,     ///< "メモに登録しました。"
    IDS_MEMO_NOT_FOUND = 20402,      ///< "メモに登録されていません。"
    IDS_MEMO_FOUND = 20403,          ///< "次のようなメモがあります。"
};

/// The text (code page 932) of a string-table entry; "" for an unknown id. The text is
/// static: looking it up allocates nothing. An answer that goes on with lines of its own
/// adds the line break after the entry.
const char* LoadStringId(int id);

}  // namespace nelo
