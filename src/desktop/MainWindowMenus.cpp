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
QAction* MakeAction(MainWindow* frame, const char* name, const QString& text, const QString& prompt,
                    const QList<QKeySequence>& keys = {}) {
    auto* action = new QAction(text, frame);
    action->setObjectName(QString::fromLatin1(name));
    const qsizetype lineBreak = prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(prompt.left(lineBreak));
    if (lineBreak >= 0) action->setToolTip(prompt.mid(lineBreak + 1));
    action->setShortcuts(keys);
    frame->addAction(action);
    return action;
}

QKeySequence Key(QKeyCombination key) { return QKeySequence(key); }

}  // namespace

void MainWindow::CreateActions() {
    setWindowIcon(AppIcon());
    const auto ctrl = Qt::ControlModifier;
    const auto shift = Qt::ShiftModifier;

    // File
    auto* newAction = MakeAction(this, "actionFileNew", QStringLiteral("新規作成(&N)"),
                                 QStringLiteral("新しいノートを作ります\n新規作成"), {Key(ctrl | Qt::Key_N)});
    auto* openAction = MakeAction(this, "actionFileOpen", QStringLiteral("開く(&O)..."),
                                  QStringLiteral("保存したノートを開きます\n開く"), {Key(ctrl | Qt::Key_O)});
    auto* saveAction = MakeAction(this, "actionFileSave", QStringLiteral("上書き保存(&S)"),
                                  QStringLiteral("ノートを同じ名前で保存します\n上書き保存"), {Key(ctrl | Qt::Key_S)});
    auto* saveAsAction = MakeAction(this, "actionFileSaveAs", QStringLiteral("名前を付けて保存(&A)..."),
                                    QStringLiteral("ノートに名前を付けて保存します\n名前を付けて保存"));
    m_printAction = MakeAction(this, "actionPrint", QStringLiteral("印刷(&P)..."),
                               QStringLiteral("会話を印刷します\n印刷"), {Key(ctrl | Qt::Key_P)});
    m_printPreviewAction = MakeAction(this, "actionPrintPreview", QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&V)"),
                                      QStringLiteral("印刷したときの様子を表示します\n印刷プレビュー"));
    auto* printSetup = MakeAction(this, "actionPrintSetup", QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)..."),
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
    auto* exitAction = MakeAction(this, "actionExit", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"),
                                  QStringLiteral("ＮＥＬＯを終了します\n終了"));
    connect(newAction, &QAction::triggered, this, &MainWindow::OnFileNew);
    connect(openAction, &QAction::triggered, this, &MainWindow::OnFileOpen);
    connect(saveAction, &QAction::triggered, this, &MainWindow::OnFileSave);
    connect(saveAsAction, &QAction::triggered, this, &MainWindow::OnFileSaveAs);
    connect(m_printAction, &QAction::triggered, this, &MainWindow::OnPrint);
    connect(m_printPreviewAction, &QAction::triggered, this, &MainWindow::OnPrintPreview);
    connect(printSetup, &QAction::triggered, this, &MainWindow::OnPrintSetup);
    connect(m_printDirectAction, &QAction::triggered, this, &MainWindow::OnPrintDirect);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    // Edit: the pane that has the focus does the work.
    m_cutAction = MakeAction(this, "actionCut", QStringLiteral("切り取り(&T)"),
                             QStringLiteral("選んだ文字を切り取ってクリップボードに入れます\n切り取り"),
                             {Key(ctrl | Qt::Key_X), Key(shift | Qt::Key_Delete)});
    m_copyAction = MakeAction(this, "actionCopy", QStringLiteral("ｺﾋﾟｰ(&C)"),
                              QStringLiteral("選んだ文字をクリップボードにコピーします\nコピー"),
                              {Key(ctrl | Qt::Key_C), Key(ctrl | Qt::Key_Insert)});
    m_pasteAction = MakeAction(this, "actionPaste", QStringLiteral("貼り付け(&P)"),
                               QStringLiteral("クリップボードの文字を貼り付けます\n貼り付け"),
                               {Key(ctrl | Qt::Key_V), Key(shift | Qt::Key_Insert)});
    m_undoAction =
        MakeAction(this, "actionUndo", QStringLiteral("元に戻す"), QStringLiteral("直前の編集を取り消します\n元に戻す"),
                   {Key(ctrl | Qt::Key_Z), Key(Qt::AltModifier | Qt::Key_Backspace)});
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
    auto* variables =
        MakeAction(this, "actionVariables", QStringLiteral("変数(&R)..."),
                   QStringLiteral("登録されている変数の参照、削除をします\n変数の参照、削除します"), {Key(Qt::Key_F2)});
    auto* schedules =
        MakeAction(this, "actionSchedules", QStringLiteral("予定(&S)..."),
                   QStringLiteral("登録されている予定の参照、削除をします\n予定の参照、削除します"), {Key(Qt::Key_F3)});
    auto* memos =
        MakeAction(this, "actionMemos", QStringLiteral("メモ(&M)..."),
                   QStringLiteral("登録されているメモの参照、削除をします\nメモの参照、削除します"), {Key(Qt::Key_F4)});
    auto* settings = MakeAction(this, "actionSettings", QStringLiteral("設定(&N)...."),
                                QStringLiteral("あなたと回答者の名前を設定します\n設定"), {Key(Qt::Key_F5)});
    connect(variables, &QAction::triggered, this, &MainWindow::OnVariables);
    connect(schedules, &QAction::triggered, this, &MainWindow::OnSchedules);
    connect(memos, &QAction::triggered, this, &MainWindow::OnMemos);
    connect(settings, &QAction::triggered, this, &MainWindow::OnSettings);
    auto* notify = MakeAction(this, "actionNotifySettings", QStringLiteral("通知(&A)..."),
                              QStringLiteral("予定の通知を設定します\n通知の設定"));
    connect(notify, &QAction::triggered, this, &MainWindow::OnNotifySettings);

    // Help and moving between the panes
    auto* topics = MakeAction(this, "actionHelpTopics", QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"),
                              QStringLiteral("ヘルプを表示します\nヘルプ"));
    auto* about = MakeAction(this, "actionAbout", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."),
                             QStringLiteral("プログラムの情報とバージョンを表示します\nバージョン情報"));
    auto* help = MakeAction(this, "actionHelp", QStringLiteral("ﾍﾙﾌﾟ"), QStringLiteral("ヘルプを表示します\nヘルプ"),
                            {Key(Qt::Key_F1)});
    auto* contextHelp =
        MakeAction(this, "actionContextHelp", QStringLiteral("ﾍﾙﾌﾟ"),
                   QStringLiteral("いま使っている欄のヘルプを表示します\nヘルプ"), {Key(shift | Qt::Key_F1)});
    auto* nextPane = MakeAction(this, "actionNextPane", QStringLiteral("次のｳｨﾝﾄﾞｳ"),
                                QStringLiteral("次の欄に移ります\n次の欄"), {Key(Qt::Key_F6)});
    auto* prevPane = MakeAction(this, "actionPrevPane", QStringLiteral("前のｳｨﾝﾄﾞｳ"),
                                QStringLiteral("前の欄に移ります\n前の欄"), {Key(shift | Qt::Key_F6)});
    connect(topics, &QAction::triggered, this, &MainWindow::OnHelp);
    connect(help, &QAction::triggered, this, &MainWindow::OnHelp);
    connect(contextHelp, &QAction::triggered, this, &MainWindow::OnContextHelp);
    connect(about, &QAction::triggered, this, &MainWindow::OnAbout);
    connect(nextPane, &QAction::triggered, this, &MainWindow::OnNextPane);
    connect(prevPane, &QAction::triggered, this, &MainWindow::OnPrevPane);

    // The icons of the tool bar's commands.
    newAction->setIcon(ThemedIcon(QStringLiteral("document-new")));
    openAction->setIcon(ThemedIcon(QStringLiteral("document-open")));
    saveAction->setIcon(ThemedIcon(QStringLiteral("document-save")));
    m_cutAction->setIcon(ThemedIcon(QStringLiteral("edit-cut")));
    m_copyAction->setIcon(ThemedIcon(QStringLiteral("edit-copy")));
    m_pasteAction->setIcon(ThemedIcon(QStringLiteral("edit-paste")));
    m_readTextAction->setIcon(OwnIcon(QStringLiteral("nelo-read-text")));
    variables->setIcon(OwnIcon(QStringLiteral("nelo-variables")));
    schedules->setIcon(OwnIcon(QStringLiteral("nelo-schedules")));
    memos->setIcon(OwnIcon(QStringLiteral("nelo-memos")));
    m_printAction->setIcon(ThemedIcon(QStringLiteral("document-print")));
    about->setIcon(ThemedIcon(QStringLiteral("help-about")));
    contextHelp->setIcon(ThemedIcon(QStringLiteral("help-contextual")));

    // The commands of the pane that last had the focus; a dialog or another window
    // taking the focus leaves that pane the active one.
    connect(qApp, &QApplication::focusChanged, &m_commandContext, [this](QWidget*, QWidget* now) {
        if (!now || now == m_activePane) return;
        if (now == m_input || now == m_conversation) {
            m_activePane = static_cast<QPlainTextEdit*>(now);
            UpdateCommandStates();
        }
    });
}

void MainWindow::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    bar->setAccessibleName(QStringLiteral("メニュー バー"));
    auto addMenu = [&](const char* name, const QString& title, const QString& accessible) {
        QMenu* menu = bar->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        menu->setAccessibleName(accessible);
        return menu;
    };
    auto find = [this](const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); };

    QMenu* file = addMenu("menuFile", QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("ファイル"));
    file->addAction(find("actionFileNew"));
    file->addAction(find("actionFileOpen"));
    file->addAction(find("actionFileSave"));
    file->addAction(find("actionFileSaveAs"));
    file->addSeparator();
    file->addAction(m_printAction);
    file->addAction(m_printPreviewAction);
    file->addAction(find("actionPrintSetup"));
    file->addSeparator();
    for (QAction* recent : m_recentActions) file->addAction(recent);
    file->addSeparator();
    file->addAction(find("actionExit"));

    QMenu* edit = addMenu("menuEdit", QStringLiteral("編集(&E)"), QStringLiteral("編集"));
    edit->addAction(m_cutAction);
    edit->addAction(m_copyAction);
    edit->addAction(m_pasteAction);
    edit->addSeparator();
    edit->addAction(m_readTextAction);

    QMenu* view = addMenu("menuView", QStringLiteral("表示(&V)"), QStringLiteral("表示"));
    view->addAction(m_toolBarAction);
    view->addAction(m_statusBarAction);
    view->addSeparator();
    view->addAction(m_fontAction);

    QMenu* recordMenu = addMenu("menuRecord", QStringLiteral("記憶(&R)"), QStringLiteral("記憶"));
    recordMenu->addAction(find("actionVariables"));
    recordMenu->addAction(find("actionSchedules"));
    recordMenu->addAction(find("actionMemos"));
    recordMenu->addAction(find("actionSettings"));
    recordMenu->addAction(find("actionNotifySettings"));

    QMenu* help = addMenu("menuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"), QStringLiteral("ヘルプ"));
    help->addAction(find("actionHelpTopics"));
    help->addSeparator();
    help->addAction(find("actionAbout"));
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
        QAction* action = findChild<QAction*>(QString::fromLatin1(name));
        m_toolBar->addAction(action);
        QWidget* button = m_toolBar->widgetForAction(action);
        button->setObjectName(QStringLiteral("button") + QString::fromLatin1(name + 6));
        button->setAccessibleName(action->toolTip());
    }
    BindBarToggle(m_toolBarAction, m_toolBar);
}

void MainWindow::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setAccessibleName(QStringLiteral("ステータス バー"));
    new LockIndicators(bar);
    BindBarToggle(m_statusBarAction, bar);
}

QPlainTextEdit* MainWindow::ActivePane() const {
    if (m_activePane) return m_activePane;
    return m_input;
}

void MainWindow::OnNextPane() {
    QPlainTextEdit* other = ActivePane() == m_input ? static_cast<QPlainTextEdit*>(m_conversation) : m_input;
    other->setFocus(Qt::TabFocusReason);
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
        for (QPlainTextEdit* pane :
             {static_cast<QPlainTextEdit*>(m_input), static_cast<QPlainTextEdit*>(m_conversation)}) {
            connect(pane, &QPlainTextEdit::copyAvailable, &m_commandContext, [this] { UpdateCommandStates(); });
            connect(pane, &QPlainTextEdit::undoAvailable, &m_commandContext, [this] { UpdateCommandStates(); });
        }
    }
    QPlainTextEdit* pane = ActivePane();
    const bool isConversation = pane == m_conversation;
    // Printing belongs to the conversation, reading a text file to the input pane; the
    // font can be chosen from either.
    m_printAction->setEnabled(isConversation);
    m_printDirectAction->setEnabled(isConversation);
    m_printPreviewAction->setEnabled(isConversation);
    m_readTextAction->setEnabled(!isConversation);
    m_fontAction->setEnabled(true);
    const bool editable = !pane->isReadOnly();
    const bool hasSelection = pane->textCursor().hasSelection();
    m_cutAction->setEnabled(editable && hasSelection);
    m_copyAction->setEnabled(hasSelection);
    m_pasteAction->setEnabled(editable);
    m_undoAction->setEnabled(editable && pane->document()->isUndoAvailable());
}
