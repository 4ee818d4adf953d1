// The notebook's file: open, save, the save-changes question and the file's name.
#include "app/NotebookSession.h"

#include "notebook/NotebookSerialize.h"
#include "platform/Archive.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/LimitedRead.h"
#include "platform/MessageBox.h"
#include "platform/PathNames.h"
#include "text/Sjis.h"

#include <memory>
#include <utility>

namespace nelo {

namespace {

/// A UTF-8 path as it can appear inside a code page 932 message.
std::string PathForMessage(const std::string& utf8Path) { return Utf8ToCp932(utf8Path).text; }

}  // namespace

const char* NotebookSession::FormatErrorText() { return Archive::FormatErrorText(); }

std::string NotebookSession::GetTitle() const {
    if (m_pathName.empty()) return "無題"_sj;
    return PathForMessage(FileNameOfPath(m_pathName));
}

void NotebookSession::SetPathName(const std::string& absolutePath) {
    m_lock.Follow(absolutePath);
    m_pathName = absolutePath;
    UpdateTitle();
    m_recentFiles.Add(absolutePath);
    m_recentFiles.WriteList();
}

void NotebookSession::ShowError(const std::string& text) {
    m_messageBox.Show(text, std::string(), MbButtons::Ok, MbIcon::Exclamation);
}

bool NotebookSession::SaveModified() {
    if (!m_notebook.IsModified()) return true;
    if (m_unattended) {
        ShowError(GetTitle() + " への変更を保存せずに続けます（入力が端末ではないため確認できません）。"_sj);
        return true;
    }
    switch (m_messageBox.Show(GetTitle() + " への変更を保存しますか?"_sj, std::string(), MbButtons::YesNoCancel,
                              MbIcon::Exclamation)) {
    case MbAnswer::Yes: return DoFileSave();
    case MbAnswer::No: return true;
    default: return false;
    }
}

bool NotebookSession::OpenNotebookFile(const std::string& path) {
    std::string error;
    const OpenFailure failure = LoadDocumentFile(path, error);
    if (!error.empty()) ShowOpenError(error);
    return failure == OpenFailure::None;
}

void NotebookSession::ShowOpenError(const std::string& error) {
    ShowError(error);
    // The copy of an interrupted save that could not be offered is named after the error.
    if (!m_keptCopyNotice.empty()) ShowError(std::exchange(m_keptCopyNotice, std::string()));
}

NotebookSession::OpenFailure NotebookSession::LoadDocumentFile(const std::string& path, std::string& error) {
    std::string absolute = AbsolutePath(path);
    error.clear();
    if (!m_lock.Prepare(absolute, m_messageBox, m_unattended)) return OpenFailure::Declined;
    std::string bytes;
    FileStamp stamp;
    LimitedReadResult read;
    try {
        read = ReadFileWithin(absolute, kMaxNotebookBytes, bytes, &stamp);
    } catch (const std::bad_alloc&) {
        m_lock.Abandon();
        error = PathForMessage(path) + " を読み込むためのメモリが足りません。"_sj;
        return OpenFailure::NoMemory;
    }
    if (read.tooLarge) {
        m_lock.Abandon();
        // Named by its size where it has one; a device or a pipe only shows there is more.
        const std::string limit = MegabyteText(kMaxNotebookBytes);
        error = PathForMessage(path) + " は大きすぎるため開けません（"_sj +
                (read.size > 0 ? MegabyteText(read.size) + "。ノートは "_sj + limit + " まで）。"_sj
                               : limit + " を超えています）。"_sj);
        return OpenFailure::Unreadable;
    }
    if (!read.ok) {
        m_lock.Abandon();
        error = PathForMessage(path) + " を開けませんでした。("_sj + Utf8ToCp932(read.error).text + ")";
        return OpenFailure::Unreadable;
    }
    // Load into a notebook of its own, so that a file that fails leaves the open
    // notebook exactly as it was.
    auto loaded = std::make_unique<Notebook>();
    try {
        LoadNotebookBytes(*loaded, bytes);
    } catch (const ArchiveException&) {
        // Perhaps a save in place was killed halfway: its copy of the old content is offered.
        if (OpenInterruptedSave(absolute, stamp)) {
            m_lock.Commit();
            return OpenFailure::None;
        }
        m_lock.Abandon();
        error = FormatErrorText();
        return OpenFailure::NotANotebook;
    } catch (const std::bad_alloc&) {
        m_lock.Abandon();
        error = PathForMessage(path) + " を読み込むためのメモリが足りません。"_sj;
        return OpenFailure::NoMemory;
    }
    m_lock.Commit();
    TakeFileContents(m_notebook, *loaded);
    SetPathName(absolute);
    m_fileStamp = stamp;
    // The purge notice sets the schedule flag again in the welcome, after this.
    m_notebook.SetClean();
    InitialUpdateViews();
    return OpenFailure::None;
}

bool NotebookSession::DoFileSave() {
    if (!m_pathName.empty()) return SaveNotebookTo(m_pathName);
    std::string path;
    if (!m_pathPrompt || !m_pathPrompt(path) || path.empty()) return false;
    return SaveNotebookTo(path);
}

bool NotebookSession::MayOverwrite(const std::string& path, const std::string& absolute, bool& unchanged) {
    unchanged = false;
    if (absolute != m_pathName || !m_fileStamp.known) return true;
    FileStamp now;
    // A file that is gone holds nothing the save could lose.
    if (!GetFileStamp(absolute, now)) return true;
    unchanged = now == m_fileStamp;
    if (unchanged) return true;
    const std::string changed = PathForMessage(path) + " はほかのプログラムで変更されています。"_sj;
    if (m_unattended) {
        ShowError(changed + "上書きせずに保存を取りやめました（入力が端末ではないため確認できません）。"_sj);
        return false;
    }
    return m_messageBox.Show(changed + "上書きしますか?"_sj, std::string(), MbButtons::YesNo, MbIcon::Exclamation) ==
           MbAnswer::Yes;
}

bool NotebookSession::SaveNotebookTo(const std::string& path) {
    std::string absolute = AbsolutePath(path);
    bool unchanged;
    if (!MayOverwrite(path, absolute, unchanged)) return false;
    std::string error;
    bool ok = false;
    // The bytes stream into a temporary file beside the old one while they are produced;
    // only a complete, synced file replaces it, and any failure on the way (including an
    // exception here) removes the temporary file, or puts back the old content of a file
    // written in place.
    std::unique_ptr<AtomicFile> file = m_fileFactory ? m_fileFactory() : std::make_unique<AtomicFile>();
    try {
        if (file->Open(absolute, error)) {
            SaveDocument(m_notebook, *file);
            ok = file->Commit(error);
        }
    } catch (const ArchiveException& e) {
        error = e.what();
    } catch (const std::bad_alloc&) {
        error = "out of memory";
    }
    if (!ok) {
        file->Abandon();
        // A file written in place has its old content back, with a new modification
        // time: still the file this notebook last read or wrote.
        if (unchanged && file->GetStamp().known) m_fileStamp = file->GetStamp();
        ShowError(PathForMessage(path) + " に保存できませんでした。("_sj + Utf8ToCp932(error).text + ")");
        return false;
    }
    SetPathName(absolute);
    m_fileStamp = file->GetStamp();
    m_notebook.SetClean();
    return true;
}

}  // namespace nelo
