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

MainWindow::MainWindow(NotebookSession& app, QWidget* pParent) : QMainWindow(pParent), m_app(app) {
    setObjectName(QStringLiteral("mainFrame"));
    // The size the window is made with; the saved placement replaces it at the first show.
    resize(760, 600);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateClient();
    m_pSendView = std::make_unique<LineDispatcher>(app.GetDocument(), m_pInput);
    app.GetDocument().AddListener(m_pConversation);
    app.GetDocument().AddListener(this);
    ApplySavedFont();
    OnTitleChanged(app.GetTitle());
    InstallPathPrompt();
    new FileDialogSize(app.GetProfile(), this);
    UpdateRecentFileMenu();
    UpdateCommandStates();
}

MainWindow::~MainWindow() {
    m_app.SetPathPrompt({});
    m_app.GetDocument().RemoveListener(this);
    m_app.GetDocument().RemoveListener(m_pConversation);
}

void MainWindow::CreateClient() {
    m_pSplitter = new QSplitter(Qt::Vertical, this);
    m_pSplitter->setObjectName(QStringLiteral("splitter"));
    m_pSplitter->setChildrenCollapsible(false);
    m_pConversation = new ConversationPane(m_pSplitter);
    m_pInput = new InputPane(m_pSplitter);
    m_pSplitter->addWidget(m_pConversation);
    m_pSplitter->addWidget(m_pInput);
    setCentralWidget(m_pSplitter);
    connect(m_pInput, &InputPane::lineSubmitted, this, &MainWindow::SubmitLine);
    // Typing goes to the input pane from the start.
    m_pInput->setFocus();
}

void MainWindow::SubmitLine(const QString& line) {
    int nReplaced = 0;
    std::string cp932 = ToCp932(line, &nReplaced);
    if (nReplaced > 0) ShowNotice(QStringLiteral("%1 文字は使えない文字のため「？」に置き換えました。").arg(nReplaced));
    m_pSendView->ProcessLine(cp932);
}

void MainWindow::ShowNotice(const QString& text) { statusBar()->showMessage(text, 10000); }

void MainWindow::ShowFirstTime() {
    if (m_bFirstShow) {
        m_bFirstShow = false;
        RestorePlacement();
    } else {
        show();
    }
    // The conversation pane gets one third of the client height, the input pane the rest.
    if (!m_bSplitterSized) {
        m_bSplitterSized = true;
        if (layout()) layout()->activate();
        const int h = m_pSplitter->height();
        m_pSplitter->setSizes({h / 3, h - h / 3});
    }
    m_pInput->setFocus();
}

void MainWindow::OnModifiedChanged(bool /*bModified*/) { UpdateCommandStates(); }

void MainWindow::OnTitleChanged(const std::string& title) {
    setWindowTitle(ToQString(title) + QStringLiteral(" - ＮＥＬＯ"));
}

void MainWindow::OnDataChanged(unsigned what) { Q_EMIT dataChanged(what); }

void MainWindow::closeEvent(QCloseEvent* pEvent) {
    // Closed while a text file is read: the reading stops first, then the window closes.
    if (m_bReadingTextFile) {
        m_bCloseAfterRead = true;
        pEvent->ignore();
        return;
    }
    if (!MayClose()) {
        pEvent->ignore();
        return;
    }
    SavePlacement();
    pEvent->accept();
}

void MainWindow::changeEvent(QEvent* pEvent) { QMainWindow::changeEvent(pEvent); }
