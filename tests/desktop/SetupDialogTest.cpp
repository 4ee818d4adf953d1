// The settings dialog: Enter in a name field accepts nothing, only OK does; Escape and
// ｷｬﾝｾﾙ change nothing; accepted names reach the next answers.
#include "DesktopTestSupport.h"
#include "desktop/ConversationPane.h"
#include "desktop/InputPane.h"
#include "desktop/SetupDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace nelo;

class SetupDialogTest : public QObject {
    Q_OBJECT

    TestEnvironment m_env;
    std::unique_ptr<WindowFixture> m_fix;

    MainWindow* Frame() { return m_fix->m_window.get(); }
    QString Conversation() { return Frame()->GetConversationPane()->toPlainText(); }

private Q_SLOTS:
    void init() { m_fix = std::make_unique<WindowFixture>(); }
    void cleanup() { m_fix.reset(); }

    void theDialogIsDrawnAsTheLayoutSays() {
        ModalWatchdog watchdog;
        watchdog.Expect([](QWidget* pWidget) {
            auto* pDialog = qobject_cast<SetupDialog*>(pWidget);
            QVERIFY(pDialog);
            QCOMPARE(pDialog->windowTitle(), QStringLiteral("設定"));
            auto* pUser = pDialog->findChild<QLineEdit*>(QStringLiteral("userName"));
            auto* pResponder = pDialog->findChild<QLineEdit*>(QStringLiteral("responderName"));
            QVERIFY(pUser && pResponder);
            QCOMPARE(pDialog->focusWidget(), pUser);
            QCOMPARE(pUser->text(), QStringLiteral("花子"));
            QCOMPARE(pResponder->text(), QStringLiteral("太郎"));
            const std::pair<QLineEdit*, QString> fields[] = {{pUser, QStringLiteral("あなたの名前")},
                                                             {pResponder, QStringLiteral("回答者の名前")}};
            for (const auto& [pField, label] : fields) {
                QCOMPARE(pField->accessibleName(), label);
                QVERIFY(pField->testAttribute(Qt::WA_InputMethodEnabled));
                auto* pLabel = pDialog->findChild<QLabel*>(pField->objectName() + QStringLiteral("Label"));
                QVERIFY(pLabel);
                QCOMPARE(pLabel->text(), label);
                QCOMPARE(pLabel->buddy(), pField);
                QVERIFY(pLabel->geometry().right() < pField->geometry().left());
            }
            QVERIFY(pUser->geometry().top() < pResponder->geometry().top());
            auto* pOk = pDialog->findChild<QPushButton*>(QStringLiteral("okButton"));
            auto* pCancel = pDialog->findChild<QPushButton*>(QStringLiteral("cancelButton"));
            QVERIFY(pOk && pCancel);
            QCOMPARE(pOk->text(), QStringLiteral("OK"));
            QCOMPARE(pCancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
            // The buttons stand at the right, OK beside the first field.
            QVERIFY(pOk->geometry().left() > pUser->geometry().right());
            QVERIFY(pOk->geometry().top() < pCancel->geometry().top());
            // Nothing is clipped: each label's text fits.
            for (auto* pLabel : pDialog->findChildren<QLabel*>())
                QVERIFY(pLabel->width() >= pLabel->fontMetrics().horizontalAdvance(pLabel->text()));
            if (!qEnvironmentVariableIsEmpty("NELO_GRAB_DIR"))
                pDialog->grab().save(qEnvironmentVariable("NELO_GRAB_DIR") + QStringLiteral("/setup.png"));
            pDialog->reject();
        });
        Frame()->OnSettings();
        QVERIFY(watchdog.AllAnswered());
    }

    void endings_data() {
        QTest::addColumn<QString>("ending");  // "ok", "escape", "cancel"
        QTest::addColumn<bool>("applied");
        QTest::newRow("Enter, then OK") << QStringLiteral("ok") << true;
        QTest::newRow("Enter, then Escape") << QStringLiteral("escape") << false;
        QTest::newRow("Enter, then ｷｬﾝｾﾙ") << QStringLiteral("cancel") << false;
    }

    void endings() {
        QFETCH(QString, ending);
        QFETCH(bool, applied);
        ModalWatchdog watchdog;
        watchdog.Expect([ending](QWidget* pWidget) {
            auto* pDialog = qobject_cast<SetupDialog*>(pWidget);
            QVERIFY(pDialog);
            auto* pUser = pDialog->findChild<QLineEdit*>(QStringLiteral("userName"));
            auto* pResponder = pDialog->findChild<QLineEdit*>(QStringLiteral("responderName"));
            pUser->clear();
            TypeText(pUser, QStringLiteral("一郎"));
            pResponder->clear();
            TypeText(pResponder, QStringLiteral("次郎"));
            for (QLineEdit* pField : {pUser, pResponder}) {
                QTest::keyClick(pField, Qt::Key_Return);
                QTest::keyClick(pField, Qt::Key_Enter, Qt::KeypadModifier);
                QVERIFY2(pDialog->isVisible(), "Enter closed the dialog");
            }
            if (ending == QStringLiteral("ok"))
                QTest::mouseClick(pDialog->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
            else if (ending == QStringLiteral("cancel"))
                QTest::mouseClick(pDialog->findChild<QPushButton*>(QStringLiteral("cancelButton")), Qt::LeftButton);
            else
                QTest::keyClick(pResponder, Qt::Key_Escape);
            QVERIFY(!pDialog->isVisible());
        });
        Frame()->OnSettings();
        QVERIFY(watchdog.AllAnswered());
        QCOMPARE(watchdog.Unanswered(), 0);
        Notebook& doc = m_fix->m_app.GetNotebook();
        // A changed name leaves the notebook modified at once; the next answer uses it.
        QCOMPARE(doc.IsModified(), applied);
        TypeText(Frame()->GetInputPane(), QStringLiteral("1+2\n"));
        const QString said =
            applied ? QStringLiteral("一郎 >> １＋２\n次郎 >> ３") : QStringLiteral("花子 >> １＋２\n太郎 >> ３");
        QVERIFY2(Conversation().contains(said), qPrintable(Conversation()));
    }
};

QTEST_MAIN(SetupDialogTest)
#include "SetupDialogTest.moc"
