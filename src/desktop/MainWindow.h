// The main window: menu, tool bar and status bar around a vertical splitter with the
// conversation pane above and the input pane below. It listens to the notebook for the
// title, the modified state and the notebook's data; the commands are split by concern
// over MainWindow*.cpp (menus and tool bar, files, placement, fonts, the other commands).
#pragma once

#include "conversation/LineDispatcher.h"
#include "notebook/NotebookListener.h"
#include "transcript/CharFormat.h"

#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <functional>
#include <memory>

class ConversationPane;
class DesktopReminders;
class HelpWindow;
class InputPane;
namespace nelo {
class NotebookSession;
class ScheduleEntry;
class TextFileInput;
}  // namespace nelo
class QAction;
class QPlainTextEdit;
class QPrinter;
class QProgressDialog;
class QSplitter;
class QToolBar;
class WindowSlot;

class MainWindow : public QMainWindow, public nelo::NotebookListener {
    Q_OBJECT
public:
    explicit MainWindow(nelo::NotebookSession& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    nelo::LineDispatcher& GetDispatcher() { return *m_dispatcher; }
    ConversationPane* GetConversationPane() const { return m_conversation; }
    InputPane* GetInputPane() const { return m_input; }

    /// Shows the window the first time: the saved placement, not the size it was made with.
    void ShowFirstTime();

    /// Submits a line typed or read (as the widgets hold it); characters without a code
    /// page 932 form are replaced by "？" and the status bar says so.
    void SubmitLine(const QString& line);
    /// A short notice in the status bar's message pane.
    void ShowNotice(const QString& text);
    /// Prints the conversation on the printer as it is set up, without a dialog; marks
    /// the notebook modified. False (and a message box) when printing could not start.
    bool PrintConversation(QPrinter& printer);

    // NotebookListener
    void OnModifiedChanged(bool modified) override;
    void OnTitleChanged(const std::string& title) override;
    void OnDataChanged(unsigned what) override;

Q_SIGNALS:
    /// The notebook's data changed (a combination of NotebookPart).
    void DataChanged(unsigned what);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateClient();

    // Menus, tool bar, status bar and the enabling of commands (MainWindowMenus.cpp).
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateCommandStates();
    /// The pane the commands go to: the one of the two that last had the focus.
    QPlainTextEdit* ActivePane() const;
    /// F6 and Shift+F6: the focus to the other pane.
    void OnNextPane();
    void OnPrevPane();

    // Files (MainWindowFiles.cpp).
public:
    /// Start-up: opens the file named on the command line, else (unless startNew) the newest
    /// recent file; false when a named file exists but does not open (the program ends).
    bool StartUp(const std::string& fileArg, bool startNew);
    /// Mentions, once, the recovery copies an earlier session left behind.
    void MentionRecoveryCopies();
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnOpenRecentFile(int index);
    void UpdateRecentFileMenu();
    /// Asks about unsaved changes before the window closes; false to stay.
    bool MayClose();

private:
    /// Lets the core ask for a file name (Save As) when an untitled notebook is saved.
    void InstallPathPrompt();
    bool AskSavePath(std::string& path);
    /// The folder the file dialogs start in: the notebook's own, else the home folder.
    QString DialogFolder() const;

    // Window placement and bar state (MainWindowPlacement.cpp).
    void RestorePlacement();
    void SavePlacement();
    /// The window manager's decorations around the client area (none yet: null).
    QMargins FrameMargins() const;
    /// Puts the frame at rcFrame, the client area inside it by the decorations known.
    void PlaceFrame(const QRect& rcFrame);
    /// Once the window manager has framed the window: the frame the size wanted.
    void FitFrameOnceDecorated();

    // The font of both panes (MainWindowFonts.cpp).
    void ApplySavedFont();
    void OnFont();
    /// Shows the format in both panes and keeps it as the current one.
    void ApplyCharFormat(const nelo::CharFormat& cf);
    /// The font both panes show, as the profile keeps it.
    nelo::CharFormat m_font;
    friend class PlacementFontTest;

    // Text-file input and the settings dialog (MainWindowCommands.cpp).
public:
    void OnReadTextFile();
    /// Reads the lines of the text file at path into the conversation; a progress dialog
    /// shows after progressDelayMs and can cancel between lines.
    void ReadTextFile(const QString& path, int progressDelayMs = 500);
    void OnSettings();

private:
    /// How far a read of a text file has come.
    struct TextReadCount {
        long long done = 0;
        long long total = -1;  ///< -1: not counted beforehand (a pipe, a device)
        QString totalText;     ///< " / total", or empty
    };
    /// Reads the lines into the panes, showing progress; true when the user cancelled.
    bool ReadTextLines(nelo::TextFileInput& reader, QProgressDialog& progress, const std::function<bool()>& keepUp,
                       TextReadCount& count, int& replacedCount);
    void CloseIfAskedWhileReading();

    // The about box and the help page (MainWindowHelp.cpp).
    void OnAbout();
    void OnHelp();
    /// Shift+F1: the help page at the part about the pane that has the focus.
    void OnContextHelp();
    void ShowHelpPage(const QString& anchor);

    // Printing, from the conversation pane (MainWindowPrint.cpp).
    void OnPrint();
    void OnPrintDirect();
    void OnPrintPreview();
    void OnPrintSetup();
    /// The printer of the session: the print dialog, page setup and preview share it.
    QPrinter& Printer();
    struct PrinterDeleter {
        void operator()(QPrinter* printer) const;
    };

    // The list dialogs of variables, schedules and memos (MainWindowLists.cpp).
    void OnVariables();
    void OnSchedules();
    void OnMemos();

    // Reminders of the schedule entries and their settings (MainWindowReminders.cpp).
public:
    /// Starts the reminders (after the first notebook is open).
    void StartReminders();
    /// The reminders, once started.
    DesktopReminders* GetReminders() const { return m_reminders; }
    void OnNotifySettings();
    /// The schedule list, with the first entry that select accepts selected.
    void OpenScheduleList(const std::function<bool(const nelo::ScheduleEntry&)>& select);
    /// The window's first show leaves it minimised (nelo --minimized).
    void SetStartMinimized(bool minimized) { m_startMinimized = minimized; }

private:
    DesktopReminders* m_reminders = nullptr;
    bool m_startMinimized = false;

    nelo::NotebookSession& m_session;
    ConversationPane* m_conversation = nullptr;
    InputPane* m_input = nullptr;
    QSplitter* m_splitter = nullptr;
    QToolBar* m_toolBar = nullptr;
    // The commands whose enabling follows the focus, and the bars' check marks.
    QAction* m_printAction = nullptr;
    QAction* m_printDirectAction = nullptr;
    QAction* m_printPreviewAction = nullptr;
    QAction* m_readTextAction = nullptr;
    QAction* m_fontAction = nullptr;
    QAction* m_cutAction = nullptr;
    QAction* m_copyAction = nullptr;
    QAction* m_pasteAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_toolBarAction = nullptr;
    QAction* m_statusBarAction = nullptr;
    QPlainTextEdit* m_activePane = nullptr;
    /// Receives the application-wide signals (focus, clipboard) and the panes' signals:
    /// a member, so those connections end before the widgets are torn down.
    QObject m_commandContext;
    /// The help page, opened once and raised again.
    HelpWindow* m_helpWindow = nullptr;
    /// The four entries of the recent-file list in the file menu (grey while empty).
    QAction* m_recentActions[4] = {};
    std::unique_ptr<nelo::LineDispatcher> m_dispatcher;
    std::unique_ptr<QPrinter, PrinterDeleter> m_printer;
    /// Which of the windows open at once this is (a later one is set off).
    std::unique_ptr<WindowSlot> m_windowSlot;
    /// The frame the first show asked for, and whether the window still waits for the
    /// window manager's decorations to make the frame that size.
    QRect m_frameWanted;
    QRect m_placed;
    bool m_fittingFrame = false;
    /// The decorations last measured around the normal window.
    QMargins m_frameMargins;
    bool m_firstShow = true;
    bool m_splitterSized = false;
    /// A text file is being read (F9 does not start another).
    bool m_readingTextFile = false;
    /// The window was asked to close while a text file was read.
    bool m_closeAfterRead = false;
};
