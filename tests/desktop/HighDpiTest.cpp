// The window and its dialogs on a screen scaled by 2 (ctest runs it again at 1.5): every
// named control lies inside its window and its text fits it, and the icons are drawn for
// the screen's pixels instead of being scaled up from a smaller picture.
#include "DesktopTestSupport.h"
#include "desktop/ConversationPane.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

using namespace nelo;

namespace {

/// Saves a picture of the widget when NELO_GRAB_DIR names a folder (to look at it).
void Grab(QWidget* widget, const QString& name) {
    const QByteArray dir = qgetenv("NELO_GRAB_DIR");
    if (dir.isEmpty()) return;
    const QString scale = QString::number(widget->devicePixelRatioF());
    widget->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(name + QStringLiteral("-") + scale + "x.png"));
}

QString Describe(const QWidget* widget, const QString& what) {
    return QStringLiteral("%1 (%2): %3").arg(widget->objectName(), widget->metaObject()->className(), what);
}

/// Every named, visible control of the window that leaves it or cuts its text.
QStringList ClippedControls(QWidget* top) {
    QStringList faults;
    const QRect inside = top->rect();
    for (QWidget* child : top->findChildren<QWidget*>()) {
        if (child->objectName().isEmpty() || child->isWindow() || !child->isVisibleTo(top)) continue;
        const QRect at(child->mapTo(top, QPoint(0, 0)), child->size());
        if (!inside.contains(at)) {
            faults << Describe(child, QStringLiteral("at %1,%2 %3x%4 leaves %5x%6")
                                          .arg(at.x())
                                          .arg(at.y())
                                          .arg(at.width())
                                          .arg(at.height())
                                          .arg(inside.width())
                                          .arg(inside.height()));
            continue;
        }
        const QFontMetrics fm = child->fontMetrics();
        if (auto* button = qobject_cast<QPushButton*>(child)) {
            QStyleOptionButton opt;
            opt.initFrom(button);
            opt.text = button->text();
            const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
            const QString text = QString(button->text()).remove(QLatin1Char('&'));
            if (contents.width() < fm.horizontalAdvance(text) || contents.height() < fm.height())
                faults << Describe(child, QStringLiteral("「%1」 needs %2x%3, has %4x%5")
                                              .arg(text)
                                              .arg(fm.horizontalAdvance(text))
                                              .arg(fm.height())
                                              .arg(contents.width())
                                              .arg(contents.height()));
        } else if (auto* tool = qobject_cast<QToolButton*>(child)) {
            if (tool->width() < tool->minimumSizeHint().width() || tool->height() < tool->minimumSizeHint().height())
                faults << Describe(child, QStringLiteral("smaller than it needs"));
        } else if (auto* labelWidget = qobject_cast<QLabel*>(child)) {
            if (!labelWidget->wordWrap() && !labelWidget->text().isEmpty() &&
                (labelWidget->contentsRect().width() < fm.horizontalAdvance(labelWidget->text()) ||
                 labelWidget->contentsRect().height() < fm.height()))
                faults << Describe(child, QStringLiteral("「%1」 does not fit").arg(labelWidget->text()));
        } else if (auto* field = qobject_cast<QLineEdit*>(child)) {
            if (field->height() < field->minimumSizeHint().height())
                faults << Describe(child, QStringLiteral("lower than a line of its text"));
        }
    }
    return faults;
}

/// The icon has a drawing for every device pixel at that logical size: it is scalable (it
/// names no fixed sizes) or holds a picture of exactly that size, never one scaled to it.
bool DrawnForTheScreen(const QIcon& icon, QSize logical, qreal ratio) {
    const QSize device(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
    const QList<QSize> sizes = icon.availableSizes();
    if (!sizes.isEmpty() && !sizes.contains(device)) return false;
    const QPixmap pm = icon.pixmap(logical, ratio);
    return pm.size() == device && qFuzzyCompare(pm.devicePixelRatio(), ratio);
}

}  // namespace

class HighDpiTest : public QObject {
    Q_OBJECT

    TestEnvironment m_env;
    std::unique_ptr<WindowFixture> m_fix;

    MainWindow* Frame() { return m_fix->m_window.get(); }

private Q_SLOTS:
    void init() {
        m_fix = std::make_unique<WindowFixture>();
        for (const QString& line :
             {QStringLiteral("田中、電話、03-1234-5678"), QStringLiteral("田中、住所、東京都港区芝公園４－２－８"),
              QStringLiteral("半径＝５"), QStringLiteral("１２月２４日１８時 ２２時 クリスマス会"),
              QStringLiteral("予定")})
            Frame()->SubmitLine(line);
        m_fix->m_app.GetNotebook().SetClean();
        QApplication::processEvents();
    }
    void cleanup() { m_fix.reset(); }

    void theScreenIsScaled() {
        // Run without a scale factor, this test would prove nothing.
        QVERIFY2(Frame()->devicePixelRatioF() > 1.0, "QT_SCALE_FACTOR is not in effect");
    }

    void windowsKeepTheirControlsWhole_data() {
        QTest::addColumn<QString>("action");  // empty: the main window itself
        QTest::newRow("window") << QString();
        QTest::newRow("variables") << QStringLiteral("actionVariables");
        QTest::newRow("schedules") << QStringLiteral("actionSchedules");
        QTest::newRow("memos") << QStringLiteral("actionMemos");
        QTest::newRow("settings") << QStringLiteral("actionSettings");
        QTest::newRow("about") << QStringLiteral("actionAbout");
    }

    void windowsKeepTheirControlsWhole() {
        QFETCH(QString, action);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        if (action.isEmpty()) {
            const QStringList faults = ClippedControls(Frame());
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
            Grab(Frame(), name);
            return;
        }
        ModalWatchdog watchdog;
        QStringList faults;
        bool seen = false;
        watchdog.Expect([&](QWidget* modal) {
            seen = true;
            QApplication::processEvents();
            faults = ClippedControls(modal);
            Grab(modal, name);
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        });
        QAction* qaction = Frame()->findChild<QAction*>(action);
        QVERIFY(qaction);
        qaction->trigger();
        QVERIFY(seen);
        QCOMPARE(watchdog.Unanswered(), 0);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void iconsAreDrawnForTheScreen() {
        const qreal ratio = Frame()->devicePixelRatioF();
        auto* toolBar = Frame()->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QVERIFY(toolBar);
        int icons = 0;
        for (QAction* qaction : toolBar->actions()) {
            if (qaction->isSeparator() || qaction->icon().isNull()) continue;
            ++icons;
            QVERIFY2(DrawnForTheScreen(qaction->icon(), toolBar->iconSize(), ratio), qPrintable(qaction->objectName()));
        }
        QVERIFY(icons >= 10);
        for (int size : {16, 32, 48, 64})
            QVERIFY2(DrawnForTheScreen(Frame()->windowIcon(), QSize(size, size), ratio),
                     qPrintable(QString::number(size)));
    }
};

int main(int argc, char** argv) {
    // A screen of twice the density unless ctest asks for another.
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);  // as QTEST_MAIN does for the other tests
    HighDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HighDpiTest.moc"
