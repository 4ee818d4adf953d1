#include "view/RumoView.h"

#include "document/RumoDoc.h"
#include "platform/Clock.h"
#include "text/Sjis.h"

std::string CRumoView::WelcomeText(const std::string& userName, int hour) {
    const char* greeting = hour < 12 ? "おはようございます。"_sj : hour < 18 ? "こんにちは。"_sj : "こんばんは。"_sj;
    std::string text = userName;
    text += "さん、"_sj;
    text += greeting;
    text += "\r\n";
    text += "このＮＥＬＯは、個人情報と予定管理及び日常の計算を"_sj;
    text += "行うことができます。\r\n"_sj;
    text += "「例」と入力すると入力例が表示されます。\r\n"_sj;
    return text;
}

void CRumoView::OnInitialUpdate(CRumoDoc& doc) {
    ClearText();
    std::string text = WelcomeText(doc.m_strUserName, LocalNow().tm_hour);
    if (doc.m_cmdPro.m_bPastPurged == 1) {
        text += "過去の予定を削除しました。\r\n"_sj;
        doc.m_cmdPro.m_bSchedChanged = 1;
    }
    AppendText(text);
    doc.m_bNamePrefix = 1;
    doc.SetModifiedFlag(false);
}
