#include "app/RumoApp.h"

#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

/// False only when the path names nothing (a file that cannot be read still exists).
bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 || (errno != ENOENT);
}

}  // namespace

CRumoApp::CRumoApp(CProfile& profile, IMessageBox& messageBox)
    : m_profile(profile), m_messageBox(messageBox), m_recentFiles(profile) {
    m_profile.SetFailureNotice([this](const std::string& path, const std::string& reason) {
        ShowError(Utf8ToCp932(path).text + " に設定を保存できません。("_sj + Utf8ToCp932(reason).text +
                  ")最近使ったファイルなどの設定は次回に引き継がれません。"_sj);
    });
}

CRumoApp::~CRumoApp() { m_profile.SetFailureNotice(nullptr); }

void CRumoApp::OnFileNew() {
    m_doc.OnNewDocument();
    m_strPathName.clear();
    m_fileStamp = CFileStamp();
    m_doc.SetClean();
    UpdateTitle();
    InitialUpdateViews();
}

void CRumoApp::InitialUpdateViews() { m_doc.StartConversation(); }

bool CRumoApp::StartUp(const std::string& fileArg, bool bNew) {
    m_profile.CheckWritable();
    m_recentFiles.ReadList();
    if (!fileArg.empty()) {
        if (!FileExists(fileArg)) {
            // A new notebook that already carries the name, as an editor starts a new file.
            OnFileNew();
            m_strPathName = AbsolutePath(fileArg);
            UpdateTitle();
            ShowError(Utf8ToCp932(fileArg).text + " はまだありません。新しいノートをこの名前で始めます。"_sj);
            return true;
        }
        // A file that is there but does not open ends the start: the caller stops.
        return OpenDocumentFile(fileArg);
    }
    if (!bNew) {
        std::string last = m_profile.GetProfileString(CRecentFileList::kSection, "File1", "???");
        if (last != "???" && !last.empty()) {
            if (!FileExists(last)) {
                // Said once: the entry leaves the list.
                ShowError(Utf8ToCp932(last).text + " が見つかりません。最近使ったファイルの一覧から外しました。"_sj);
                m_recentFiles.Remove(last);
                m_recentFiles.WriteList();
            } else if (OpenDocumentFile(last)) {
                return true;
            }
        }
    }
    OnFileNew();
    return true;
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
