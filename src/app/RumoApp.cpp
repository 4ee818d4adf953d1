#include "app/RumoApp.h"

#include "view/RumoView.h"

CRumoApp::CRumoApp(CProfile& profile, IMessageBox& messageBox)
    : m_profile(profile), m_messageBox(messageBox), m_recentFiles(profile) {}

void CRumoApp::OnFileNew() {
    m_doc.OnNewDocument();
    m_strPathName.clear();
    m_fileStamp = CFileStamp();
    ClearChangeFlags();
    m_doc.SetModifiedFlag(false);
    InitialUpdateViews();
}

void CRumoApp::InitialUpdateViews() {
    for (CRumoView* pView : m_doc.GetViews()) pView->OnInitialUpdate(m_doc);
}

void CRumoApp::StartUp(const std::string& fileArg, bool bNew) {
    m_recentFiles.ReadList();
    std::string path = fileArg;
    if (path.empty() && !bNew) {
        std::string last = m_profile.GetProfileString(CRecentFileList::kSection, "File1", "???");
        if (last != "???" && !last.empty()) path = last;
    }
    if (!path.empty() && OpenDocumentFile(path)) return;
    OnFileNew();
}

bool CRumoApp::NewWithQuestion() {
    if (!SaveModified()) return false;
    OnFileNew();
    return true;
}

bool CRumoApp::OpenWithQuestion(const std::string& path) {
    // The document already shows this file: the framework only activates it.
    if (!m_strPathName.empty() && AbsolutePath(path) == m_strPathName) return true;
    if (!SaveModified()) return false;
    return OpenDocumentFile(path);
}

void CRumoApp::ClearChangeFlags() {
    // Otherwise every answered line after a save would mark the notebook modified again.
    m_doc.m_calc.m_bCalcChanged = 0;
    m_doc.m_cmdPro.m_bSchedChanged = 0;
    m_doc.m_bMemoChanged = 0;
}
