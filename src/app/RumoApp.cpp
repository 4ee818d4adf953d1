#include "app/RumoApp.h"

#include "view/RumoView.h"

void CRumoApp::OnFileNew() {
    m_doc.OnNewDocument();
    InitialUpdateViews();
}

void CRumoApp::InitialUpdateViews() {
    for (CRumoView* pView : m_doc.GetViews()) pView->OnInitialUpdate(m_doc);
}
