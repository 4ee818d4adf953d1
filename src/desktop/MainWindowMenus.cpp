// The menus, the tool bar, the status bar and the enabling of commands by focus.
#include "desktop/MainWindow.h"

#include "desktop/BarToggle.h"
#include "desktop/ConversationPane.h"
#include "desktop/DesktopIcons.h"
#include "desktop/InputPane.h"
#include "desktop/LockIndicators.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

using namespace nelo;

namespace {

/// A command of the window. prompt is the status-bar text and the tool tip separated by
/// "\n"; the keys work wherever the focus is in the window, whether or not the bars show.
QAction* MakeAction(MainWindow* pFrame, const char* name, const QString& text, const QString& prompt,
                    const QList<QKeySequence>& keys = {}) {
    auto* pAction = new QAction(text, pFrame);
    pAction->setObjectName(QString::fromLatin1(name));
    const qsizetype nBreak = prompt.indexOf(QLatin1Char('\n'));
    pAction->setStatusTip(prompt.left(nBreak));
    if (nBreak >= 0) pAction->setToolTip(prompt.mid(nBreak + 1));
    pAction->setShortcuts(keys);
    pFrame->addAction(pAction);
    return pAction;
}

QKeySequence Key(QKeyCombination key) { return QKeySequence(key); }

}  // namespace

void MainWindow::CreateActions() {
    setWindowIcon(AppIcon());
    const auto C = Qt::ControlModifier;
    const auto S = Qt::ShiftModifier;

    // File
    auto* pNew = MakeAction(this, "actionFileNew", QStringLiteral("新規作成(&N)"),
                            QStringLiteral("新しいノートを作ります\n新規作成"), {Key(C | Qt::Key_N)});
    auto* pOpen = MakeAction(this, "actionFileOpen", QStringLiteral("開く(&O)..."),
                             QStringLiteral("保存したノートを開きます\n開く"), {Key(C | Qt::Key_O)});
    auto* pSave = MakeAction(this, "actionFileSave", QStringLiteral("上書き保存(&S)"),
                             QStringLiteral("ノートを同じ名前で保存します\n上書き保存"), {Key(C | Qt::Key_S)});
    auto* pSaveAs = MakeAction(this, "actionFileSaveAs", QStringLiteral("名前を付けて保存(&A)..."),
                               QStringLiteral("ノートに名前を付けて保存します\n名前を付けて保存"));
    m_printAction = MakeAction(this, "actionPrint", QStringLiteral("印刷(&P)..."),
                               QStringLiteral("会話を印刷します\n印刷"), {Key(C | Qt::Key_P)});
    m_printPreviewAction = MakeAction(this, "actionPrintPreview", QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&V)"),
                                      QStringLiteral("印刷したときの様子を表示します\n印刷プレビュー"));
    auto* pPrintSetup = MakeAction(this, "actionPrintSetup", QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)..."),
                                   QStringLiteral("プリンタと用紙を選びます\nプリンタの設定"));
    m_printDirectAction =
        MakeAction(this, "actionPrintDirect", QStringLiteral("印刷"), QStringLiteral("会話をすぐに印刷します\n印刷"));
    for (int i = 0; i < 4; ++i) {
        // While the list is empty the first entry stands grey for it, the others are hidden;
        // the recent-file list fills in their texts.
        m_recentActions[i] = new QAction(i == 0 ? QStringLiteral("最新のﾌｧｲﾙ") : QString(), this);
        m_recentActions[i]->setObjectName(QStringLiteral("actionRecentFile%1").arg(i + 1));
        m_recentActions[i]->setStatusTip(QStringLiteral("このノートを開きます"));
        m_recentActions[i]->setEnabled(false);
        m_recentActions[i]->setVisible(i == 0);
        connect(m_recentActions[i], &QAction::triggered, this, [this, i] { OnOpenRecentFile(i); });
    }
    auto* pExit = MakeAction(this, "actionExit", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"),
                             QStringLiteral("ＮＥＬＯを終了します\n終了"));
    connect(pNew, &QAction::triggered, this, &MainWindow::OnFileNew);
    connect(pOpen, &QAction::triggered, this, &MainWindow::OnFileOpen);
    connect(pSave, &QAction::triggered, this, &MainWindow::OnFileSave);
    connect(pSaveAs, &QAction::triggered, this, &MainWindow::OnFileSaveAs);
    connect(m_printAction, &QAction::triggered, this, &MainWindow::OnPrint);
    connect(m_printPreviewAction, &QAction::triggered, this, &MainWindow::OnPrintPreview);
    connect(pPrintSetup, &QAction::triggered, this, &MainWindow::OnPrintSetup);
    connect(m_printDirectAction, &QAction::triggered, this, &MainWindow::OnPrintDirect);
    connect(pExit, &QAction::triggered, this, &QWidget::close);

    // Edit: the pane that has the focus does the work.
    m_cutAction = MakeAction(this, "actionCut", QStringLiteral("切り取り(&T)"),
                             QStringLiteral("選んだ文字を切り取ってクリップボードに入れます\n切り取り"),
                             {Key(C | Qt::Key_X), Key(S | Qt::Key_Delete)});
    m_copyAction = MakeAction(this, "actionCopy", QStringLiteral("ｺﾋﾟｰ(&C)"),
                              QStringLiteral("選んだ文字をクリップボードにコピーします\nコピー"),
                              {Key(C | Qt::Key_C), Key(C | Qt::Key_Insert)});
    m_pasteAction = MakeAction(this, "actionPaste", QStringLiteral("貼り付け(&P)"),
                               QStringLiteral("クリップボードの文字を貼り付けます\n貼り付け"),
                               {Key(C | Qt::Key_V), Key(S | Qt::Key_Insert)});
    m_undoAction =
        MakeAction(this, "actionUndo", QStringLiteral("元に戻す"), QStringLiteral("直前の編集を取り消します\n元に戻す"),
                   {Key(C | Qt::Key_Z), Key(Qt::AltModifier | Qt::Key_Backspace)});
    m_readTextAction = MakeAction(this, "actionReadTextFile", QStringLiteral("テキスト読込み(&R)..."),
                                  QStringLiteral("テキストファイルを読み込み処理します\nテキストファイルの読込み処理"),
                                  {Key(Qt::Key_F9)});
    connect(m_cutAction, &QAction::triggered, this, [this] { ActivePane()->cut(); });
    connect(m_copyAction, &QAction::triggered, this, [this] { ActivePane()->copy(); });
    connect(m_pasteAction, &QAction::triggered, this, [this] { ActivePane()->paste(); });
    connect(m_undoAction, &QAction::triggered, this, [this] { ActivePane()->undo(); });
    connect(m_readTextAction, &QAction::triggered, this, &MainWindow::OnReadTextFile);

    // View: the bars' items are bound to the bars when those exist.
    m_toolBarAction = MakeAction(this, "actionViewToolBar", QStringLiteral("ﾂｰﾙ ﾊﾞｰ(&T)"),
                                 QStringLiteral("ツール バーを表示するかどうかを切り替えます\nツール バー"));
    m_statusBarAction = MakeAction(this, "actionViewStatusBar", QStringLiteral("ｽﾃｰﾀｽ ﾊﾞｰ(&S)"),
                                   QStringLiteral("ステータス バーを表示するかどうかを切り替えます\nステータス バー"));
    m_fontAction = MakeAction(this, "actionFont", QStringLiteral("ﾌｫﾝﾄ(&F)"),
                              QStringLiteral("フォントを変更します\nフォントの変更"));
    connect(m_fontAction, &QAction::triggered, this, &MainWindow::OnFont);

    // Notebook data
    auto* pVariables =
        MakeAction(this, "actionVariables", QStringLiteral("変数(&R)..."),
                   QStringLiteral("登録されている変数の参照、削除をします\n変数の参照、削除します"), {Key(Qt::Key_F2)});
    auto* pSchedules =
        MakeAction(this, "actionSchedules", QStringLiteral("予定(&S)..."),
                   QStringLiteral("登録されている予定の参照、削除をします\n予定の参照、削除します"), {Key(Qt::Key_F3)});
    auto* pMemos =
        MakeAction(this, "actionMemos", QStringLiteral("メモ(&M)..."),
                   QStringLiteral("登録されているメモの参照、削除をします\nメモの参照、削除します"), {Key(Qt::Key_F4)});
    auto* pSettings = MakeAction(this, "actionSettings", QStringLiteral("設定(&N)...."),
                                 QStringLiteral("あなたと回答者の名前を設定します\n設定"), {Key(Qt::Key_F5)});
    connect(pVariables, &QAction::triggered, this, &MainWindow::OnVariables);
    connect(pSchedules, &QAction::triggered, this, &MainWindow::OnSchedules);
    connect(pMemos, &QAction::triggered, this, &MainWindow::OnMemos);
    connect(pSettings, &QAction::triggered, this, &MainWindow::OnSettings);
    auto* pNotify = MakeAction(this, "actionNotifySettings", QStringLiteral("通知(&A)..."),
                               QStringLiteral("予定の通知を設定します\n通知の設定"));
    connect(pNotify, &QAction::triggered, this, &MainWindow::OnNotifySettings);

    // Help and moving between the panes
    auto* pTopics = MakeAction(this, "actionHelpTopics", QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"),
                               QStringLiteral("ヘルプを表示します\nヘルプ"));
    auto* pAbout = MakeAction(this, "actionAbout", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."),
                              QStringLiteral("プログラムの情報とバージョンを表示します\nバージョン情報"));
    auto* pHelp = MakeAction(this, "actionHelp", QStringLiteral("ﾍﾙﾌﾟ"), QStringLiteral("ヘルプを表示します\nヘルプ"),
                             {Key(Qt::Key_F1)});
    auto* pContextHelp =
        MakeAction(this, "actionContextHelp", QStringLiteral("ﾍﾙﾌﾟ"),
                   QStringLiteral("いま使っている欄のヘルプを表示します\nヘルプ"), {Key(S | Qt::Key_F1)});
    auto* pNextPane = MakeAction(this, "actionNextPane", QStringLiteral("次のｳｨﾝﾄﾞｳ"),
                                 QStringLiteral("次の欄に移ります\n次の欄"), {Key(Qt::Key_F6)});
    auto* pPrevPane = MakeAction(this, "actionPrevPane", QStringLiteral("前のｳｨﾝﾄﾞｳ"),
                                 QStringLiteral("前の欄に移ります\n前の欄"), {Key(S | Qt::Key_F6)});
    connect(pTopics, &QAction::triggered, this, &MainWindow::OnHelp);
    connect(pHelp, &QAction::triggered, this, &MainWindow::OnHelp);
    connect(pContextHelp, &QAction::triggered, this, &MainWindow::OnContextHelp);
    connect(pAbout, &QAction::triggered, this, &MainWindow::OnAbout);
    connect(pNextPane, &QAction::triggered, this, &MainWindow::OnNextPane);
    connect(pPrevPane, &QAction::triggered, this, &MainWindow::OnPrevPane);

    // The icons of the tool bar's commands.
    pNew->setIcon(ThemedIcon(QStringLiteral("document-new")));
    pOpen->setIcon(ThemedIcon(QStringLiteral("document-open")));
    pSave->setIcon(ThemedIcon(QStringLiteral("document-save")));
    m_cutAction->setIcon(ThemedIcon(QStringLiteral("edit-cut")));
    m_copyAction->setIcon(ThemedIcon(QStringLiteral("edit-copy")));
    m_pasteAction->setIcon(ThemedIcon(QStringLiteral("edit-paste")));
    m_readTextAction->setIcon(OwnIcon(QStringLiteral("nelo-read-text")));
    pVariables->setIcon(OwnIcon(QStringLiteral("nelo-variables")));
    pSchedules->setIcon(OwnIcon(QStringLiteral("nelo-schedules")));
    pMemos->setIcon(OwnIcon(QStringLiteral("nelo-memos")));
    m_printAction->setIcon(ThemedIcon(QStringLiteral("document-print")));
    pAbout->setIcon(ThemedIcon(QStringLiteral("help-about")));
    pContextHelp->setIcon(ThemedIcon(QStringLiteral("help-contextual")));

    // The commands of the pane that last had the focus; a dialog or another window
    // taking the focus leaves that pane the active one.
    connect(qApp, &QApplication::focusChanged, &m_commandContext, [this](QWidget*, QWidget* pNow) {
        if (!pNow || pNow == m_activePane) return;
        if (pNow == m_input || pNow == m_conversation) {
            m_activePane = static_cast<QPlainTextEdit*>(pNow);
            UpdateCommandStates();
        }
    });
}

void MainWindow::CreateMenus() {
    QMenuBar* pBar = menuBar();
    pBar->setObjectName(QStringLiteral("menuBar"));
    pBar->setAccessibleName(QStringLiteral("メニュー バー"));
    auto addMenu = [&](const char* name, const QString& title, const QString& accessible) {
        QMenu* pMenu = pBar->addMenu(title);
        pMenu->setObjectName(QString::fromLatin1(name));
        pMenu->setAccessibleName(accessible);
        return pMenu;
    };
    auto find = [this](const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); };

    QMenu* pFile = addMenu("menuFile", QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("ファイル"));
    pFile->addAction(find("actionFileNew"));
    pFile->addAction(find("actionFileOpen"));
    pFile->addAction(find("actionFileSave"));
    pFile->addAction(find("actionFileSaveAs"));
    pFile->addSeparator();
    pFile->addAction(m_printAction);
    pFile->addAction(m_printPreviewAction);
    pFile->addAction(find("actionPrintSetup"));
    pFile->addSeparator();
    for (QAction* pRecent : m_recentActions) pFile->addAction(pRecent);
    pFile->addSeparator();
    pFile->addAction(find("actionExit"));

    QMenu* pEdit = addMenu("menuEdit", QStringLiteral("編集(&E)"), QStringLiteral("編集"));
    pEdit->addAction(m_cutAction);
    pEdit->addAction(m_copyAction);
    pEdit->addAction(m_pasteAction);
    pEdit->addSeparator();
    pEdit->addAction(m_readTextAction);

    QMenu* pView = addMenu("menuView", QStringLiteral("表示(&V)"), QStringLiteral("表示"));
    pView->addAction(m_toolBarAction);
    pView->addAction(m_statusBarAction);
    pView->addSeparator();
    pView->addAction(m_fontAction);

    QMenu* pData = addMenu("menuRecord", QStringLiteral("記憶(&R)"), QStringLiteral("記憶"));
    pData->addAction(find("actionVariables"));
    pData->addAction(find("actionSchedules"));
    pData->addAction(find("actionMemos"));
    pData->addAction(find("actionSettings"));
    pData->addAction(find("actionNotifySettings"));

    QMenu* pHelp = addMenu("menuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"), QStringLiteral("ヘルプ"));
    pHelp->addAction(find("actionHelpTopics"));
    pHelp->addSeparator();
    pHelp->addAction(find("actionAbout"));
}

void MainWindow::CreateToolBar() {
    m_toolBar = addToolBar(QStringLiteral("ﾂｰﾙ ﾊﾞｰ"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setAccessibleName(QStringLiteral("ツール バー"));
    m_toolBar->setIconSize(QSize(16, 16));
    const char* const buttons[] = {"actionFileNew", "actionFileOpen",  "actionFileSave",   nullptr,
                                   "actionCut",     "actionCopy",      "actionPaste",      "actionReadTextFile",
                                   nullptr,         "actionVariables", "actionSchedules",  "actionMemos",
                                   "actionPrint",   "actionAbout",     "actionContextHelp"};
    for (const char* name : buttons) {
        if (!name) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* pAction = findChild<QAction*>(QString::fromLatin1(name));
        m_toolBar->addAction(pAction);
        QWidget* pButton = m_toolBar->widgetForAction(pAction);
        pButton->setObjectName(QStringLiteral("button") + QString::fromLatin1(name + 6));
        pButton->setAccessibleName(pAction->toolTip());
    }
    BindBarToggle(m_toolBarAction, m_toolBar);
}

void MainWindow::CreateStatusBar() {
    QStatusBar* pBar = statusBar();
    pBar->setObjectName(QStringLiteral("statusBar"));
    pBar->setAccessibleName(QStringLiteral("ステータス バー"));
    new LockIndicators(pBar);
    BindBarToggle(m_statusBarAction, pBar);
}

QPlainTextEdit* MainWindow::ActivePane() const {
    if (m_activePane) return m_activePane;
    return m_input;
}

void MainWindow::OnNextPane() {
    QPlainTextEdit* pOther = ActivePane() == m_input ? static_cast<QPlainTextEdit*>(m_conversation) : m_input;
    pOther->setFocus(Qt::TabFocusReason);
}

void MainWindow::OnPrevPane() {
    // With two panes the previous one is the next one.
    OnNextPane();
}

void MainWindow::UpdateCommandStates() {
    if (!m_input || !m_conversation) return;
    if (!m_activePane) {
        // The first call comes when the window is complete: from here on the panes tell
        // when their selection or undo state changes.
        m_activePane = m_input;
        for (QPlainTextEdit* pPane :
             {static_cast<QPlainTextEdit*>(m_input), static_cast<QPlainTextEdit*>(m_conversation)}) {
            connect(pPane, &QPlainTextEdit::copyAvailable, &m_commandContext, [this] { UpdateCommandStates(); });
            connect(pPane, &QPlainTextEdit::undoAvailable, &m_commandContext, [this] { UpdateCommandStates(); });
        }
    }
    QPlainTextEdit* pPane = ActivePane();
    const bool bConversation = pPane == m_conversation;
    // Printing belongs to the conversation, reading a text file to the input pane; the
    // font can be chosen from either.
    m_printAction->setEnabled(bConversation);
    m_printDirectAction->setEnabled(bConversation);
    m_printPreviewAction->setEnabled(bConversation);
    m_readTextAction->setEnabled(!bConversation);
    m_fontAction->setEnabled(true);
    const bool bEditable = !pPane->isReadOnly();
    const bool bSelection = pPane->textCursor().hasSelection();
    m_cutAction->setEnabled(bEditable && bSelection);
    m_copyAction->setEnabled(bSelection);
    m_pasteAction->setEnabled(bEditable);
    m_undoAction->setEnabled(bEditable && pPane->document()->isUndoAvailable());
}
