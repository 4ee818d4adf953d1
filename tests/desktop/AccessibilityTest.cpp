// Screen readers and scripted checks find every control of the window by its name.
#include "DesktopTestSupport.h"

#include <QTest>

using namespace nelo;

class AccessibilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyControlOfTheWindowHasAName() {
        TestEnvironment env;
        WindowFixture fix;
        const QStringList unnamed = UnnamedControls(fix.m_window.get());
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
        QVERIFY(!fix.m_window->findChild<QWidget*>(QStringLiteral("conversationPane"))->accessibleName().isEmpty());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
