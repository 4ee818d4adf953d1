#include "app/NotebookSession.h"

#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

#include <cerrno>
#include <sys/stat.h>

namespace nelo {

namespace {

/// False only when the path names nothing (a file that cannot be read still exists).
bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 || (errno != ENOENT);
}

}  // namespace

NotebookSession::NotebookSession(Profile& profile, MessageBox& messageBox)
    : m_profile(profile), m_messageBox(messageBox), m_recentFiles(profile) {
    m_profile.SetFailureNotice([this](const std::string& path, const std::string& reason) {
        ShowError(Utf8ToCp932(path).text + " に設定を保存できません。("_sj + Utf8ToCp932(reason).text +
                  ")最近使ったファイルなどの設定は次回に引き継がれません。"_sj);
    });
}

NotebookSession::~NotebookSession() { m_profile.SetFailureNotice(nullptr); }

void NotebookSession::OnFileNew() {
    m_lock.Release();
    m_notebook.ResetToNew();
    m_pathName.clear();
    m_fileStamp = FileStamp();
    m_notebook.SetClean();
    UpdateTitle();
    InitialUpdateViews();
}

void NotebookSession::InitialUpdateViews() { m_notebook.StartConversation(); }

bool NotebookSession::StartUp(const std::string& fileArg, bool startNew) {
    m_profile.CheckWritable();
    m_recentFiles.ReadList();
    if (!fileArg.empty()) {
        if (!FileExists(fileArg)) {
            // A new notebook that already carries the name, as an editor starts a new file;
            // another program starting the same one holds its lock.
            const std::string absolute = AbsolutePath(fileArg);
            OnFileNew();
            if (!m_lock.Prepare(absolute, m_messageBox, m_unattended)) return false;
            m_lock.Commit();
            m_pathName = absolute;
            UpdateTitle();
            ShowError(Utf8ToCp932(fileArg).text + " はまだありません。新しいノートをこの名前で始めます。"_sj);
            return true;
        }
        // A file that is there but does not open ends the start: the caller stops.
        return OpenNotebookFile(fileArg);
    }
    if (!startNew) {
        std::string last = m_profile.GetProfileString(RecentFileList::kSection, "File1", "???");
        if (last != "???" && !last.empty() && OpenRecentFile(last)) return true;
    }
    OnFileNew();
    return true;
}

bool NotebookSession::OpenRecentFile(const std::string& path) {
    // Said once: an entry that does not load leaves the list.
    const char* removed = "最近使ったファイルの一覧から外しました。"_sj;
    std::string error;
    OpenFailure failure = OpenFailure::Unreadable;
    if (!FileExists(path)) {
        error = Utf8ToCp932(path).text + " が見つかりません。"_sj;
    } else {
        failure = LoadDocumentFile(path, error);
        // The framework's message alone would not say which file it was.
        if (failure == OpenFailure::NotANotebook) error = Utf8ToCp932(path).text + " は"_sj + error;
    }
    switch (failure) {
    case OpenFailure::None: return true;
    case OpenFailure::Declined: return false;
    case OpenFailure::NoMemory: ShowError(error); return false;
    case OpenFailure::Unreadable:
    case OpenFailure::NotANotebook: break;
    }
    // A notebook whose interrupted save left a copy of its old content stays in the list.
    if (!m_keptCopyNotice.empty()) {
        ShowOpenError(error);
        return false;
    }
    ShowError(error + removed);
    m_recentFiles.Remove(path);
    m_recentFiles.WriteList();
    return false;
}

bool NotebookSession::NewWithQuestion() {
    if (!SaveModified()) return false;
    OnFileNew();
    return true;
}

bool NotebookSession::OpenWithQuestion(const std::string& path) {
    // The notebook already shows this file: the framework only activates it.
    if (!m_pathName.empty() && AbsolutePath(path) == m_pathName) return true;
    if (!SaveModified()) return false;
    return OpenNotebookFile(path);
}

}  // namespace nelo
