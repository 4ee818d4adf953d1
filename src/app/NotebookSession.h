// The application shell without windows: the profile, the one notebook and its
// conversation panes, the notebook's file (new, open, save, the save-changes question,
// the recent-file list) and the start-up steps every front end shares.
#pragma once

#include "app/NotebookLock.h"
#include "app/RecentFileList.h"
#include "notebook/Notebook.h"
#include "platform/FileStamp.h"
#include "platform/Profile.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nelo {

class AtomicFile;
class MessageBox;

class NotebookSession {
public:
    /// The application's title, also the caption of its message boxes.
    static constexpr const char* kAppName = "Nelo";
    /// The program's version, as its about box shows it.
    static constexpr const char* kVersion = "1.00";

    /// Makes the file a save streams into (a plain AtomicFile unless a test injects failures).
    using FileFactory = std::function<std::unique_ptr<AtomicFile>()>;
    /// Asks for the name (UTF-8 path) to save an untitled notebook under; false when none is given.
    using PathPrompt = std::function<bool(std::string& path)>;

    /// The profile's first failed write is told through messageBox (once a run).
    NotebookSession(Profile& profile, MessageBox& messageBox);
    NotebookSession(const NotebookSession&) = delete;
    NotebookSession& operator=(const NotebookSession&) = delete;
    ~NotebookSession();

    Notebook& GetNotebook() { return m_notebook; }
    Profile& GetProfile() { return m_profile; }
    MessageBox& GetMessageBox() { return m_messageBox; }

    /// File New: empty the notebook, default names, fresh welcome in every pane.
    void OnFileNew();
    /// Starts the notebook's conversation afresh in every pane (the welcome).
    void InitialUpdateViews();

    /// Start-up: opens the file named on the command line, else (unless startNew) the newest
    /// file of the recent-file list; a new notebook when there is none or it fails (a
    /// recent file that no longer exists is reported and leaves the list). A named file
    /// that does not exist yet gives a new notebook carrying that name. False when the
    /// named file exists but could not be opened (a message box said why): the program
    /// then ends.
    bool StartUp(const std::string& fileArg, bool startNew);

    /// The notebook's file (absolute, UTF-8); empty while the notebook is untitled.
    const std::string& GetPathName() const { return m_pathName; }
    /// The notebook's title (code page 932): the file name, or "無題".
    std::string GetTitle() const;

    /// The save-changes question for a modified notebook: true to go on (saved, or the
    /// user declined), false to stay (cancelled, or the save failed). Unattended, it
    /// warns and goes on without saving.
    bool SaveModified();
    /// Unattended: nobody can answer a question (the input is not a terminal).
    void SetUnattended(bool unattended) { m_unattended = unattended; }

    /// File New with the save-changes question; false when the user stayed.
    bool NewWithQuestion();
    /// File Open with the save-changes question; false when the user stayed or the file
    /// did not load (the open notebook is then untouched).
    bool OpenWithQuestion(const std::string& path);
    /// Loads a file in place of the notebook. On failure the notebook stays as it was
    /// and a message box says why. A notebook another running program has open is
    /// opened only when the user wants it all the same.
    bool OpenNotebookFile(const std::string& path);
    /// Opens an entry of the recent-file list. One that no longer loads (gone, not
    /// readable, not a notebook) is named in the message and leaves the list; the file
    /// itself is left alone.
    bool OpenRecentFile(const std::string& path);
    /// File Save: to the notebook's file, or under a name from the path prompt.
    bool DoFileSave();
    /// Saves to path and makes it the notebook's file. A failed save says so and leaves
    /// the old file, the notebook's file name and its modified state as they were.
    /// Saving over the notebook's file after it changed on disk (since it was opened or
    /// last saved) asks first; unattended, that save is refused.
    bool SaveNotebookTo(const std::string& path);

    void SetPathPrompt(PathPrompt prompt) { m_pathPrompt = std::move(prompt); }
    /// Replaces the maker of the files saves write (tests inject failures).
    void SetFileFactory(FileFactory factory) { m_fileFactory = std::move(factory); }

    const RecentFileList& GetRecentFileList() const { return m_recentFiles; }
    /// The lock of the open notebook.
    const NotebookLock& GetNotebookLock() const { return m_lock; }
    /// Gives the open notebook's lock up, for a program that ends without destroying
    /// the application.
    void ReleaseNotebookLock() { m_lock.Release(); }

    /// The framework's message for a file it cannot read: "予期しないﾌｧｲﾙ形式です。".
    static const char* FormatErrorText();

private:
    /// Why a file did not open.
    enum class OpenFailure { None, Declined, Unreadable, NotANotebook, NoMemory };
    /// OpenNotebookFile without the message: error says why it failed (code page 932),
    /// empty when the user declined.
    OpenFailure LoadDocumentFile(const std::string& path, std::string& error);
    /// Tells the notebook its title (listeners hear it when it changed).
    void UpdateTitle() { m_notebook.SetTitle(GetTitle()); }
    void SetPathName(const std::string& absolutePath);
    void ShowError(const std::string& text);
    /// Shows why a file did not open, then the kept copy of an interrupted save, if any.
    void ShowOpenError(const std::string& error);
    /// Before saving to absolute: true unless it is the notebook's file, changed on disk
    /// since it was read or written here, and the user does not want it overwritten.
    /// unchanged: it is the notebook's file, as it was read or written here.
    bool MayOverwrite(const std::string& path, const std::string& absolute, bool& unchanged);
    /// The file at absolute (read with stamp) does not load: when a killed save in place
    /// left the old content beside it, offers to open that instead; true when the old
    /// content was opened. Without a terminal to ask, the copy is named in
    /// m_keptCopyNotice for the message that follows the error.
    bool OpenInterruptedSave(const std::string& absolute, const FileStamp& stamp);

    Profile& m_profile;
    MessageBox& m_messageBox;
    Notebook m_notebook;
    RecentFileList m_recentFiles;
    NotebookLock m_lock;
    std::string m_pathName;
    FileStamp m_fileStamp;         // the notebook's file as it was last read or written here
    std::string m_keptCopyNotice;  // said after the error of a file that did not open
    bool m_unattended = false;
    PathPrompt m_pathPrompt;
    FileFactory m_fileFactory;
};

}  // namespace nelo
