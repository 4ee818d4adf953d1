#include "notebook/Notebook.h"

#include "text/Sjis.h"

CRumoDoc::CRumoDoc() : m_strResponderName("太郎"_sj), m_strUserName("花子"_sj) {}

CRumoDoc::~CRumoDoc() = default;

bool CRumoDoc::OnNewDocument() {
    DeleteContents();
    m_strResponderName = "太郎"_sj;
    m_strUserName = "花子"_sj;
    OnContentsReplaced();
    return true;
}

void CRumoDoc::DeleteContents() {
    m_calc.DeleteAllSymbols();
    m_cmdPro.DeleteContents();
    m_memoMap.RemoveAll();
}
