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
        watchdog.Expect([](QWidget* widget) {
            auto* dialog = qobject_cast<SetupDialog*>(widget);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("設定"));
            auto* user = dialog->findChild<QLineEdit*>(QStringLiteral("userName"));
            auto* responder = dialog->findChild<QLineEdit*>(QStringLiteral("responderName"));
            QVERIFY(user && responder);
            QCOMPARE(dialog->focusWidget(), user);
            QCOMPARE(user->text(), QStringLiteral("花子"));
            QCOMPARE(responder->text(), QStringLiteral("太郎"));
            const std::pair<QLineEdit*, QString> fields[] = {{user, QStringLiteral("あなたの名前")},
                                                             {responder, QStringLiteral("回答者の名前")}};
            for (const auto& [field, label] : fields) {
                QCOMPARE(field->accessibleName(), label);
                QVERIFY(field->testAttribute(Qt::WA_InputMethodEnabled));
                auto* labelWidget = dialog->findChild<QLabel*>(field->objectName() + QStringLiteral("Label"));
                QVERIFY(labelWidget);
                QCOMPARE(labelWidget->text(), label);
                QCOMPARE(labelWidget->buddy(), field);
                QVERIFY(labelWidget->geometry().right() < field->geometry().left());
            }
            QVERIFY(user->geometry().top() < responder->geometry().top());
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("okButton"));
            auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"));
            QVERIFY(ok && cancel);
            QCOMPARE(ok->text(), QStringLiteral("OK"));
            QCOMPARE(cancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
            // The buttons stand at the right, OK beside the first field.
            QVERIFY(ok->geometry().left() > user->geometry().right());
            QVERIFY(ok->geometry().top() < cancel->geometry().top());
            // Nothing is clipped: each label's text fits.
            for (auto* labelWidget : dialog->findChildren<QLabel*>())
                QVERIFY(labelWidget->width() >= labelWidget->fontMetrics().horizontalAdvance(labelWidget->text()));
            if (!qEnvironmentVariableIsEmpty("NELO_GRAB_DIR"))
                dialog->grab().save(qEnvironmentVariable("NELO_GRAB_DIR") + QStringLiteral("/setup.png"));
            dialog->reject();
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
        watchdog.Expect([ending](QWidget* widget) {
            auto* dialog = qobject_cast<SetupDialog*>(widget);
            QVERIFY(dialog);
            auto* user = dialog->findChild<QLineEdit*>(QStringLiteral("userName"));
            auto* responder = dialog->findChild<QLineEdit*>(QStringLiteral("responderName"));
            user->clear();
            TypeText(user, QStringLiteral("一郎"));
            responder->clear();
            TypeText(responder, QStringLiteral("次郎"));
            for (QLineEdit* field : {user, responder}) {
                QTest::keyClick(field, Qt::Key_Return);
                QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
                QVERIFY2(dialog->isVisible(), "Enter closed the dialog");
            }
            if (ending == QStringLiteral("ok"))
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
            else if (ending == QStringLiteral("cancel"))
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cancelButton")), Qt::LeftButton);
            else
                QTest::keyClick(responder, Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
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
