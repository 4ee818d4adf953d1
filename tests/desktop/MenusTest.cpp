// The window's command vocabulary: the menus item by item, the keys, the tool bar, which
// commands the focused pane enables, the view menu's bars, the about box and the help page.
#include "DesktopTestSupport.h"
#include "desktop/ConversationPane.h"
#include "desktop/InputPane.h"
#include "desktop/LockIndicators.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>

using namespace nelo;

namespace {

/// A menu's items as "text|shortcut" lines, separators as "-"; hidden items left out.
QStringList Items(QMenu* menu) {
    QStringList items;
    for (QAction* qaction : menu->actions()) {
        if (!qaction->isVisible()) continue;
        if (qaction->isSeparator())
            items << QStringLiteral("-");
        else
            items << qaction->text() + QLatin1Char('|') + qaction->shortcut().toString(QKeySequence::PortableText);
    }
    return items;
}

}  // namespace

class MenusTest : public QObject {
    Q_OBJECT

    TestEnvironment m_env;
    std::unique_ptr<WindowFixture> m_fix;

    MainWindow* Frame() { return m_fix->m_window.get(); }
    QAction* Action(const char* name) {
        QAction* qaction = Frame()->findChild<QAction*>(QString::fromLatin1(name));
        if (!qaction) qFatal("no action %s", name);
        return qaction;
    }
    QToolBar* ToolBar() { return Frame()->findChild<QToolBar*>(QStringLiteral("toolBar")); }
    void Activate() {
        Frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Frame()));
    }
    /// Saves a picture of the widget when NELO_GRAB_DIR names a folder (to look at it).
    static void Grab(QWidget* widget, const QString& name) {
        const QByteArray dir = qgetenv("NELO_GRAB_DIR");
        if (!dir.isEmpty()) widget->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(name));
    }

private Q_SLOTS:
    void init() { m_fix = std::make_unique<WindowFixture>(); }
    void cleanup() { m_fix.reset(); }

    void theMenusHoldEveryItemInOrder_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("file") << QStringLiteral("ﾌｧｲﾙ(&F)")
                              << QStringList{QStringLiteral("新規作成(&N)|Ctrl+N"),
                                             QStringLiteral("開く(&O)...|Ctrl+O"),
                                             QStringLiteral("上書き保存(&S)|Ctrl+S"),
                                             QStringLiteral("名前を付けて保存(&A)...|"),
                                             QStringLiteral("-"),
                                             QStringLiteral("印刷(&P)...|Ctrl+P"),
                                             QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&V)|"),
                                             QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)...|"),
                                             QStringLiteral("-"),
                                             QStringLiteral("最新のﾌｧｲﾙ|"),
                                             QStringLiteral("-"),
                                             QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)|")};
        QTest::newRow("edit") << QStringLiteral("編集(&E)")
                              << QStringList{QStringLiteral("切り取り(&T)|Ctrl+X"), QStringLiteral("ｺﾋﾟｰ(&C)|Ctrl+C"),
                                             QStringLiteral("貼り付け(&P)|Ctrl+V"), QStringLiteral("-"),
                                             QStringLiteral("テキスト読込み(&R)...|F9")};
        QTest::newRow("view") << QStringLiteral("表示(&V)")
                              << QStringList{QStringLiteral("ﾂｰﾙ ﾊﾞｰ(&T)|"), QStringLiteral("ｽﾃｰﾀｽ ﾊﾞｰ(&S)|"),
                                             QStringLiteral("-"), QStringLiteral("ﾌｫﾝﾄ(&F)|")};
        QTest::newRow("record") << QStringLiteral("記憶(&R)")
                                << QStringList{QStringLiteral("変数(&R)...|F2"), QStringLiteral("予定(&S)...|F3"),
                                               QStringLiteral("メモ(&M)...|F4"), QStringLiteral("設定(&N)....|F5"),
                                               QStringLiteral("通知(&A)...|")};
        QTest::newRow("help") << QStringLiteral("ﾍﾙﾌﾟ(&H)")
                              << QStringList{QStringLiteral("ﾄﾋﾟｯｸの検索(&H)|"), QStringLiteral("-"),
                                             QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)...|")};
    }

    void theMenusHoldEveryItemInOrder() {
        QFETCH(QString, title);
        QFETCH(QStringList, items);
        static const QStringList titles = {QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("編集(&E)"),
                                           QStringLiteral("表示(&V)"), QStringLiteral("記憶(&R)"),
                                           QStringLiteral("ﾍﾙﾌﾟ(&H)")};
        const QList<QAction*> bar = Frame()->menuBar()->actions();
        QCOMPARE(bar.size(), titles.size());
        const qsizetype index = titles.indexOf(title);
        QCOMPARE(bar[index]->text(), title);
        QCOMPARE(Items(bar[index]->menu()), items);
        if (!qgetenv("NELO_GRAB_DIR").isEmpty()) {
            bar[index]->menu()->popup(QPoint(0, 0));
            Grab(bar[index]->menu(), QStringLiteral("menu%1.png").arg(index));
            bar[index]->menu()->hide();
        }
        // The recent-file entry stands grey while the list is empty.
        if (index == 0) QVERIFY(!Action("actionRecentFile1")->isEnabled());
    }

    void everyKeyOfTheWindowHasItsCommand_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("action");
        const char* const rows[][2] = {
            {"Ctrl+N", "actionFileNew"},  {"Ctrl+O", "actionFileOpen"},
            {"Ctrl+S", "actionFileSave"}, {"Ctrl+P", "actionPrint"},
            {"Ctrl+X", "actionCut"},      {"Shift+Del", "actionCut"},
            {"Ctrl+C", "actionCopy"},     {"Ctrl+Ins", "actionCopy"},
            {"Ctrl+V", "actionPaste"},    {"Shift+Ins", "actionPaste"},
            {"Ctrl+Z", "actionUndo"},     {"Alt+Backspace", "actionUndo"},
            {"F1", "actionHelp"},         {"Shift+F1", "actionContextHelp"},
            {"F2", "actionVariables"},    {"F3", "actionSchedules"},
            {"F4", "actionMemos"},        {"F5", "actionSettings"},
            {"F6", "actionNextPane"},     {"Shift+F6", "actionPrevPane"},
            {"F9", "actionReadTextFile"},
        };
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    }

    void everyKeyOfTheWindowHasItsCommand() {
        QFETCH(QString, key);
        QFETCH(QString, action);
        const QKeySequence sequence = QKeySequence::fromString(key, QKeySequence::PortableText);
        QStringList owners;
        for (QAction* qaction : Frame()->actions())
            if (qaction->shortcuts().contains(sequence)) owners << qaction->objectName();
        QCOMPARE(owners, QStringList{action});
    }

    void theToolBarHasItsButtonsPromptsAndIcons() {
        QStringList order;
        for (QAction* qaction : ToolBar()->actions()) {
            order << (qaction->isSeparator() ? QStringLiteral("-") : qaction->objectName());
            if (!qaction->isSeparator()) {
                QVERIFY2(!qaction->icon().isNull(), qPrintable(qaction->objectName()));
                QVERIFY(!qaction->toolTip().isEmpty());
                QVERIFY(!qaction->statusTip().isEmpty());
                QVERIFY(!ToolBar()->widgetForAction(qaction)->accessibleName().isEmpty());
            }
        }
        QCOMPARE(order,
                 (QStringList{"actionFileNew", "actionFileOpen", "actionFileSave", "-", "actionCut", "actionCopy",
                              "actionPaste", "actionReadTextFile", "-", "actionVariables", "actionSchedules",
                              "actionMemos", "actionPrint", "actionAbout", "actionContextHelp"}));
        const char* const prompts[][3] = {
            {"actionVariables", "登録されている変数の参照、削除をします", "変数の参照、削除します"},
            {"actionReadTextFile", "テキストファイルを読み込み処理します", "テキストファイルの読込み処理"},
            {"actionSchedules", "登録されている予定の参照、削除をします", "予定の参照、削除します"},
            {"actionFont", "フォントを変更します", "フォントの変更"},
            {"actionMemos", "登録されているメモの参照、削除をします", "メモの参照、削除します"},
        };
        for (const auto& row : prompts) {
            QCOMPARE(Action(row[0])->statusTip(), QString::fromUtf8(row[1]));
            QCOMPARE(Action(row[0])->toolTip(), QString::fromUtf8(row[2]));
        }
        // Resting on a button shows its prompt in the status bar.
        QWidget* button = ToolBar()->widgetForAction(Action("actionMemos"));
        QStatusTipEvent tip(button->statusTip());
        QApplication::sendEvent(button, &tip);
        QCOMPARE(Frame()->statusBar()->currentMessage(), QStringLiteral("登録されているメモの参照、削除をします"));
    }

    void theFocusedPaneDecidesWhatIsEnabled() {
        Activate();
        const char* const printing[] = {"actionPrint", "actionPrintPreview", "actionPrintDirect"};
        struct MenuRow {
            QWidget* pane;
            bool print, ownerRead, wasCut, paste;
        };
        const MenuRow rows[] = {
            {Frame()->GetInputPane(), false, true, true, true},
            {Frame()->GetConversationPane(), true, false, false, false},
            {Frame()->GetInputPane(), false, true, true, true},
        };
        TypeText(Frame()->GetInputPane(), QStringLiteral("1+2\n"));
        for (const MenuRow& row : rows) {
            row.pane->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), row.pane);
            // A selection in the pane: copy is available in both, cut only where it edits.
            auto* edit = static_cast<QPlainTextEdit*>(row.pane);
            edit->selectAll();
            for (const char* name : printing) QCOMPARE(Action(name)->isEnabled(), row.print);
            QCOMPARE(ToolBar()->widgetForAction(Action("actionPrint"))->isEnabled(), row.print);
            QCOMPARE(Action("actionReadTextFile")->isEnabled(), row.ownerRead);
            QCOMPARE(ToolBar()->widgetForAction(Action("actionReadTextFile"))->isEnabled(), row.ownerRead);
            QVERIFY(Action("actionFont")->isEnabled());
            QCOMPARE(Action("actionCut")->isEnabled(), row.wasCut);
            QCOMPARE(Action("actionPaste")->isEnabled(), row.paste);
            QVERIFY(Action("actionCopy")->isEnabled());
            edit->moveCursor(QTextCursor::End);
            QVERIFY(!Action("actionCopy")->isEnabled());
            QVERIFY(!Action("actionCut")->isEnabled());
        }
        // A dialog or another window taking the focus leaves the last pane in charge.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!Action("actionPrint")->isEnabled());
        QVERIFY(Action("actionReadTextFile")->isEnabled());
    }

    void f6MovesTheFocusBetweenThePanes() {
        Activate();
        QCOMPARE(QApplication::focusWidget(), Frame()->GetInputPane());
        const struct {
            Qt::KeyboardModifiers modifiers;
            QWidget* expected;
        } steps[] = {
            {Qt::NoModifier, Frame()->GetConversationPane()},
            {Qt::NoModifier, Frame()->GetInputPane()},
            {Qt::ShiftModifier, Frame()->GetConversationPane()},
            {Qt::ShiftModifier, Frame()->GetInputPane()},
        };
        for (const auto& step : steps) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, step.modifiers);
            QTRY_COMPARE(QApplication::focusWidget(), step.expected);
        }
        // Alt+Backspace undoes the typing in the input pane.
        TypeText(Frame()->GetInputPane(), QStringLiteral("12"));
        QVERIFY(Action("actionUndo")->isEnabled());
        QTest::keyClick(Frame()->GetInputPane(), Qt::Key_Backspace, Qt::AltModifier);
        QCOMPARE(Frame()->GetInputPane()->toPlainText(), QString());
        // After F6 to the conversation pane the commands follow.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QTRY_VERIFY(Action("actionPrint")->isEnabled());
        QVERIFY(!Action("actionReadTextFile")->isEnabled());
    }

    void theViewMenuShowsAndHidesTheBars() {
        QWidget* const bars[] = {ToolBar(), Frame()->statusBar()};
        QAction* const items[] = {Action("actionViewToolBar"), Action("actionViewStatusBar")};
        for (int i = 0; i < 2; ++i) {
            QVERIFY(items[i]->isChecked());
            items[i]->trigger();
            QVERIFY(bars[i]->isHidden());
            QVERIFY(!items[i]->isChecked());
            items[i]->trigger();
            QVERIFY(bars[i]->isVisible());
            QVERIFY(items[i]->isChecked());
            // Shown or hidden by other means (the saved state at start): the mark follows.
            bars[i]->hide();
            QVERIFY(!items[i]->isChecked());
            bars[i]->show();
            QVERIFY(items[i]->isChecked());
        }
        // Hidden before the window first shows, as the saved placement may do.
        MainWindow fresh(m_fix->m_app);
        fresh.findChild<QToolBar*>(QStringLiteral("toolBar"))->setVisible(false);
        fresh.statusBar()->setVisible(false);
        fresh.show();
        QVERIFY(!fresh.findChild<QAction*>(QStringLiteral("actionViewToolBar"))->isChecked());
        QVERIFY(!fresh.findChild<QAction*>(QStringLiteral("actionViewStatusBar"))->isChecked());
    }

    void theAboutBoxShowsNameVersionAndIcon() {
        Grab(Frame(), QStringLiteral("window.png"));
        ModalWatchdog watchdog;
        bool seen = false;
        watchdog.Expect([&](QWidget* modal) {
            seen = true;
            QCOMPARE(modal->windowTitle(), QStringLiteral("ＮＥＬＯのﾊﾞｰｼﾞｮﾝ情報"));
            auto* text = modal->findChild<QLabel*>(QStringLiteral("aboutText"));
            QVERIFY(text);
            QCOMPARE(text->text(), QStringLiteral("ＮＥＬＯ バージョン  １．００"));
            // The whole text fits its label.
            QVERIFY(text->width() >= text->fontMetrics().horizontalAdvance(text->text()));
            auto* icon = modal->findChild<QLabel*>(QStringLiteral("aboutIcon"));
            QVERIFY(icon && !icon->pixmap().isNull());
            auto* ok = modal->findChild<QPushButton*>(QStringLiteral("okButton"));
            QVERIFY(ok);
            QCOMPARE(ok->text(), QStringLiteral("OK"));
            for (QWidget* child : modal->findChildren<QWidget*>()) QVERIFY(!child->accessibleName().isEmpty());
            Grab(modal, QStringLiteral("about.png"));
            ok->click();
        });
        Action("actionAbout")->trigger();
        QVERIFY(seen);
        QCOMPARE(watchdog.Unanswered(), 0);
        QVERIFY(!Frame()->windowIcon().isNull());
    }

    void theHelpCommandsOpenTheShippedPage() {
        Action("actionHelp")->trigger();
        auto* help = Frame()->findChild<QTextBrowser*>(QStringLiteral("helpWindow"));
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(help->toPlainText().contains(QStringLiteral("花子、ＴＥＬ、０１２３－４５－６７８９")));
        Grab(help, QStringLiteral("help.png"));
        // Context help from the input pane opens the same window at the input pane's part.
        help->close();
        Action("actionContextHelp")->trigger();
        QVERIFY(help->isVisible());
        QCOMPARE(help->source().fragment(), QStringLiteral("input"));
        QCOMPARE(Frame()->findChildren<QTextBrowser*>(QStringLiteral("helpWindow")).size(), 1);
    }

    void theLockPanesShowWhatTheKeyboardLightsReport() {
        QTemporaryDir leds;
        auto light = [&](const char* device, const char* value) {
            QDir(leds.path()).mkpath(QString::fromLatin1(device));
            QFile file(leds.filePath(QString::fromLatin1(device) + QStringLiteral("/brightness")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(value);
        };
        light("input3::capslock", "1\n");
        light("input3::numlock", "0\n");
        light("input7::numlock", "1\n");  // a second keyboard with NUM on
        light("input3::scrolllock", "0\n");
        QStatusBar bar;
        LockIndicators indicators(&bar, leds.path());
        QCOMPARE(indicators.ReadLight(QStringLiteral("capslock")), ELockState::On);
        QCOMPARE(indicators.ReadLight(QStringLiteral("numlock")), ELockState::On);
        QCOMPARE(indicators.ReadLight(QStringLiteral("scrolllock")), ELockState::Off);
        QCOMPARE(indicators.ReadLight(QStringLiteral("kana")), ELockState::Unknown);
        auto* caps = bar.findChild<QLabel*>(QStringLiteral("indicatorCaps"));
        auto* scroll = bar.findChild<QLabel*>(QStringLiteral("indicatorScroll"));
        auto* kana = bar.findChild<QLabel*>(QStringLiteral("indicatorKana"));
        QVERIFY(caps && scroll && kana);
        QCOMPARE(caps->text(), QStringLiteral("CAP"));
        QVERIFY(caps->isEnabled());
        QCOMPARE(scroll->text(), QString());
        QCOMPARE(kana->text(), QStringLiteral("ｶﾅ"));
        QVERIFY(!kana->isEnabled());
        // The window's own status bar carries the four panes.
        for (const char* name : {"indicatorKana", "indicatorCaps", "indicatorNum", "indicatorScroll"})
            QVERIFY(Frame()->statusBar()->findChild<QLabel*>(QString::fromLatin1(name)));
    }
};

QTEST_MAIN(MenusTest)
#include "MenusTest.moc"
