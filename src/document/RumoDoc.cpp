#include "document/RumoDoc.h"

#include "text/Sjis.h"

#include <algorithm>

CRumoDoc::CRumoDoc() : m_strResponderName("太郎"_sj), m_strUserName("花子"_sj) {}

CRumoDoc::~CRumoDoc() = default;

bool CRumoDoc::OnNewDocument() {
    DeleteContents();
    m_strResponderName = "太郎"_sj;
    m_strUserName = "花子"_sj;
    return true;
}

void CRumoDoc::DeleteContents() {
    m_calc.DeleteAllSymbols();
    m_cmdPro.DeleteContents();
    m_memoMap.RemoveAll();
}

void CRumoDoc::AppendToViews(const std::string& text) {
    for (CView* pView : m_views) pView->AppendText(text);
    // Appending to the conversation pane marks the document modified, as a rich-edit
    // control's modify flag does; the line handler sets the real state afterwards.
    m_bModified = true;
}

void CRumoDoc::AddView(CView* pView) {
    if (std::find(m_views.begin(), m_views.end(), pView) == m_views.end()) m_views.push_back(pView);
}

void CRumoDoc::RemoveView(CView* pView) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
}
