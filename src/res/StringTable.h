// The application's string table: the messages that interpreters load by id.
#pragma once

enum : int {
    IDS_CANNOT_CALCULATE = 20000,  ///< "計算できません。"
    IDS_BAD_TIME = 20001,          ///< "時間の指定が違います。"
    IDS_BAD_DATE = 20002,          ///< "日付の指定が違います。"
    IDS_BAD_NUMBER = 20003,        ///< "数値の指定が違います。"
    IDS_NO_DATE = 20004,           ///< "日付がありません。"
};

/// The text (code page 932) of a string-table entry; "" for an unknown id.
const char* LoadStringId(int id);
