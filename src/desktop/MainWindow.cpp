#include "desktop/MainWindow.h"

#include "app/NotebookSession.h"
#include "desktop/ConversationPane.h"
#include "desktop/FileDialogs.h"
#include "desktop/InputPane.h"
#include "desktop/QtText.h"
#include "desktop/WindowSlot.h"

#include <QCloseEvent>
#include <QLayout>
#include <QSplitter>
#include <QStatusBar>

using namespace nelo;

MainWindow::MainWindow(NotebookSession& session, QWidget* parent) : QMainWindow(parent), m_session(session) {
    setObjectName(QStringLiteral("mainFrame"));
    // The size the window is made with; the saved placement replaces it at the first show.
    resize(760, 600);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateClient();
    m_dispatcher = std::make_unique<LineDispatcher>(session.GetNotebook(), m_input);
    session.GetNotebook().AddListener(m_conversation);
    session.GetNotebook().AddListener(this);
    ApplySavedFont();
    OnTitleChanged(session.GetTitle());
    InstallPathPrompt();
    new FileDialogSize(session.GetProfile(), this);
    UpdateRecentFileMenu();
    UpdateCommandStates();
}

MainWindow::~MainWindow() {
    m_session.SetPathPrompt({});
    m_session.GetNotebook().RemoveListener(this);
    m_session.GetNotebook().RemoveListener(m_conversation);
}

void MainWindow::CreateClient() {
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_splitter->setChildrenCollapsible(false);
    m_conversation = new ConversationPane(m_splitter);
    m_input = new InputPane(m_splitter);
    m_splitter->addWidget(m_conversation);
    m_splitter->addWidget(m_input);
    setCentralWidget(m_splitter);
    connect(m_input, &InputPane::LineSubmitted, this, &MainWindow::SubmitLine);
    // Typing goes to the input pane from the start.
    m_input->setFocus();
}

void MainWindow::SubmitLine(const QString& line) {
    int replacedCount = 0;
    std::string cp932 = ToCp932(line, &replacedCount);
    if (replacedCount > 0)
        ShowNotice(QStringLiteral("%1 文字は使えない文字のため「？」に置き換えました。").arg(replacedCount));
    m_dispatcher->ProcessLine(cp932);
}

void MainWindow::ShowNotice(const QString& text) { statusBar()->showMessage(text, 10000); }

void MainWindow::ShowFirstTime() {
    if (m_firstShow) {
        m_firstShow = false;
        RestorePlacement();
    } else {
        show();
    }
    // The conversation pane gets one third of the client height, the input pane the rest.
    if (!m_splitterSized) {
        m_splitterSized = true;
        if (layout()) layout()->activate();
        const int h = m_splitter->height();
        m_splitter->setSizes({h / 3, h - h / 3});
    }
    m_input->setFocus();
}

void MainWindow::OnModifiedChanged(bool /*modified*/) { UpdateCommandStates(); }

void MainWindow::OnTitleChanged(const std::string& title) {
    setWindowTitle(ToQString(title) + QStringLiteral(" - ＮＥＬＯ"));
}

void MainWindow::OnDataChanged(unsigned what) { Q_EMIT DataChanged(what); }

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closed while a text file is read: the reading stops first, then the window closes.
    if (m_readingTextFile) {
        m_closeAfterRead = true;
        event->ignore();
        return;
    }
    if (!MayClose()) {
        event->ignore();
        return;
    }
    SavePlacement();
    event->accept();
}
