// The application's string table: every fixed answer the interpreters give, by id.
//
// The ids group by the part of the program that answers: 200xx the failures several
// interpreters share, 201xx the conversation, 202xx the date phrases, 203xx the
// schedules, 204xx the memos. An answer's bytes live here and nowhere else.
#pragma once

namespace nelo {

enum : int {
    AnswerCannotCalculate = 20000,  ///< "計算できません。"
    AnswerBadTime = 20001,          ///< "時間の指定が違います。"
    AnswerBadDate = 20002,          ///< "日付の指定が違います。"
    AnswerBadNumber = 20003,        ///< "数値の指定が違います。"
    AnswerNoDate = 20004,           ///< "日付がありません。"

    AnswerDontKnow = 20100,    ///< "わかりません。"
    AnswerUnderstood = 20101,  ///< "わかりました。"
    AnswerVersion = 20102,     ///< "バージョン１．００です。"

    AnswerBadPeriod = 20200,  ///< "時期が不正です。"

    AnswerNoBusiness = 20300,              ///< "用件がありません。"
    AnswerBadSecondPeriod = 20301,         ///< "２番目の時期が適切でありません。"
    AnswerNoSchedules = 20302,             ///< "予定はありません。"
    AnswerScheduleRegistered = 20303,      ///< "下記の予定を登録しました。"
    AnswerScheduleRegisteredOver = 20304,  ///< "既に予定がありますが、下記の予定を登録しました。"
    AnswerSchedulesFound = 20305,          ///< "次のような予定があります。"

    AnswerMemoTooFewItems = 20400,  ///< "メモの項目が足りません。"
    AnswerMemoRegistered = 20401,   ///< "メモに登録しました。"
    AnswerMemoNotFound = 20402,     ///< "メモに登録されていません。"
    AnswerMemoFound = 20403,        ///< "次のようなメモがあります。"
};

/// The text (code page 932) of a string-table entry; "" for an unknown id. The text is
/// static: looking it up allocates nothing. An answer that goes on with lines of its own
/// adds the line break after the entry.
const char* LoadStringId(int id);

}  // namespace nelo
