// Enter in the input pane: which text is submitted, and when nothing is.
#include "DesktopTestSupport.h"
#include "desktop/ConversationPane.h"
#include "desktop/InputPane.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace nelo;

class InputPaneTest : public QObject {
    Q_OBJECT

    TestEnvironment m_env;
    std::unique_ptr<WindowFixture> m_fix;

    InputPane* Input() { return m_fix->m_window->GetInputPane(); }
    QString Conversation() { return m_fix->m_window->GetConversationPane()->toPlainText(); }
    /// The conversation after the welcome.
    QString Said() {
        QString all = Conversation();
        const QString mark = QStringLiteral("入力例が表示されます。\n");
        return all.mid(all.indexOf(mark) + mark.size());
    }
    void PutCaret(int block, int column) {
        QTextCursor c(Input()->document()->findBlockByNumber(block));
        c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        Input()->setTextCursor(c);
    }

private Q_SLOTS:
    void init() { m_fix = std::make_unique<WindowFixture>(); }
    void cleanup() { m_fix.reset(); }

    void enterSubmitsTheLineAndEndsOnAnEmptyLine() {
        TypeText(Input(), QStringLiteral("1+2\n"));
        QCOMPARE(Said(), QStringLiteral("花子 >> １＋２\n太郎 >> ３\n"));
        QCOMPARE(Input()->toPlainText(), QStringLiteral("1+2\n"));
        QCOMPARE(Input()->textCursor().position(), 4);
    }

    void undoNeverTakesBackTheLineBreakAfterASubmission() {
        QAction* undo = m_fix->m_window->findChild<QAction*>(QStringLiteral("actionUndo"));
        QVERIFY(undo);
        TypeText(Input(), QStringLiteral("1+2\n"));
        QVERIFY(!undo->isEnabled());
        QTest::keyClick(Input(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Input()->toPlainText(), QStringLiteral("1+2\n"));
        // What the user types afterwards is undone as usual, and only that.
        TypeText(Input(), QStringLiteral("3*4"));
        QVERIFY(undo->isEnabled());
        QTest::keyClick(Input(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Input()->toPlainText(), QStringLiteral("1+2\n"));
        QTest::keyClick(Input(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Input()->toPlainText(), QStringLiteral("1+2\n"));
    }

    void enterOnAnEmptyLineDoesNothing() {
        TypeText(Input(), QStringLiteral("\n"));
        QCOMPARE(Said(), QString());
        QCOMPARE(Input()->toPlainText(), QString());
        TypeText(Input(), QStringLiteral("1+2\n\n"));
        QCOMPARE(Said(), QStringLiteral("花子 >> １＋２\n太郎 >> ３\n"));
        QCOMPARE(Input()->toPlainText(), QStringLiteral("1+2\n"));
    }

    void anEarlierLineIsSubmittedAgainAndStays() {
        TypeText(Input(), QStringLiteral("1+2\n3*4\n"));
        PutCaret(0, 1);
        TypeText(Input(), QStringLiteral("\n"));
        QCOMPARE(Said(), QStringLiteral("花子 >> １＋２\n太郎 >> ３\n花子 >> ３＊４\n太郎 >> １２\n"
                                        "花子 >> １＋２\n太郎 >> ３\n"));
        QCOMPARE(Input()->toPlainText(), QStringLiteral("1+2\n3*4\n"));
        QCOMPARE(Input()->textCursor().position(), Input()->toPlainText().size());
    }

    void aWrappedLineIsSubmittedWholeFromAnyOfItsRows() {
        m_fix->m_window->resize(200, 400);
        const QString line =
            QStringLiteral("1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21+22+23+24+25+26+27+28");
        TypeText(Input(), line);
        QVERIFY2(Input()->document()->firstBlock().layout()->lineCount() >= 3, "the line should wrap");
        for (int column : {0, int(line.size() / 2), int(line.size())}) {
            PutCaret(0, column);
            TypeText(Input(), QStringLiteral("\n"));
            QVERIFY2(Said().endsWith(QStringLiteral("太郎 >> ４０６\n")), qPrintable(Said()));
        }
        QCOMPARE(Input()->toPlainText(), line + QStringLiteral("\n"));
    }

    void enterThatConfirmsACompositionSubmitsNothing() {
        QInputMethodEvent compose(QStringLiteral("にほん"), {});
        QApplication::sendEvent(Input(), &compose);
        QVERIFY(Input()->IsComposing());
        QTest::keyClick(Input(), Qt::Key_Return);
        QCOMPARE(Said(), QString());
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本"));
        QApplication::sendEvent(Input(), &commit);
        QVERIFY(!Input()->IsComposing());
        QCOMPARE(Input()->toPlainText(), QStringLiteral("日本"));
        QTest::keyClick(Input(), Qt::Key_Return);
        QCOMPARE(Said(), QStringLiteral("花子 >> 日本\n太郎 >> わかりません。\n"));
    }

    void charactersWithoutACodePage932FormBecomeQuestionMarks() {
        TypeText(Input(), QStringLiteral("😀\n"));
        QVERIFY2(Said().startsWith(QStringLiteral("花子 >> ？\n")), qPrintable(Said()));
    }
};

QTEST_MAIN(InputPaneTest)
#include "InputPaneTest.moc"
