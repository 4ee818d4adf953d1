// The window under a dark palette, as a dark desktop gives it to Qt (Fusion with a dark
// QPalette): the panes, the lists, the calendar, the dialogs and the help page keep their
// text readable on their backgrounds, and nothing draws a fixed light area.
#include "DesktopTestSupport.h"
#include "desktop/ConversationPane.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QStyleFactory>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

using namespace nelo;

namespace {

/// The colours of a dark desktop theme (the common "Breeze Dark" of KDE).
QPalette DarkPalette() {
    const QColor window(0x31, 0x36, 0x3b), base(0x23, 0x26, 0x29), text(0xef, 0xf0, 0xf1);
    const QColor disabled(0x70, 0x75, 0x7a), highlight(0x3d, 0xae, 0xe9);
    QPalette p(window, window);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, window);
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Button, window);
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::Highlight, highlight);
        p.setColor(group, QPalette::HighlightedText, QColor(0x23, 0x26, 0x29));
        p.setColor(group, QPalette::ToolTipBase, base);
        p.setColor(group, QPalette::ToolTipText, text);
        p.setColor(group, QPalette::Link, QColor(0x1d, 0x99, 0xf3));
        p.setColor(group, QPalette::LinkVisited, QColor(0x9b, 0x59, 0xb6));
        p.setColor(group, QPalette::PlaceholderText, disabled);
    }
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    return p;
}

/// Relative luminance of a colour as the web's accessibility guidelines define it.
double Luminance(const QColor& c) {
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Body text wants 4.5:1; the calendar's coloured days are accents beside plain ones and
// want the 3:1 of large or bold text.
constexpr double kText = 4.5;
constexpr double kAccent = 3.0;

QString Name(const QObject* pObject) {
    return QStringLiteral("%1 (%2)").arg(pObject->objectName(), pObject->metaObject()->className());
}

void Expect(QStringList& faults, const QString& what, const QColor& fg, const QColor& bg, double minimum) {
    const double c = Contrast(fg, bg);
    if (c < minimum)
        faults << QStringLiteral("%1: %2 on %3, contrast %4 < %5")
                      .arg(what, fg.name(), bg.name())
                      .arg(c, 0, 'f', 2)
                      .arg(minimum);
}

/// Every run of text in the document on its own background.
void CheckDocument(QStringList& faults, const QString& where, const QTextDocument* pDoc, const QPalette& palette) {
    for (QTextBlock block = pDoc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.text().trimmed().isEmpty()) continue;
            const QTextCharFormat cf = fragment.charFormat();
            QColor bg = palette.color(QPalette::Base);
            if (block.blockFormat().background().style() != Qt::NoBrush) bg = block.blockFormat().background().color();
            if (cf.background().style() != Qt::NoBrush) bg = cf.background().color();
            const QColor fg =
                cf.foreground().style() != Qt::NoBrush ? cf.foreground().color() : palette.color(QPalette::Text);
            Expect(faults, where + QStringLiteral(" 「%1」").arg(fragment.text().left(20)), fg, bg, kText);
        }
    }
}

/// The days of the page shown, the weekday names and the days with entries.
void CheckCalendar(QStringList& faults, QCalendarWidget* pCalendar) {
    auto* pView = pCalendar->findChild<QAbstractItemView*>();
    const QColor base = pView ? pView->palette().color(QPalette::Base) : pCalendar->palette().color(QPalette::Base);
    const QColor text = pCalendar->palette().color(QPalette::Text);
    const QDate first(pCalendar->yearShown(), pCalendar->monthShown(), 1);
    for (QDate d = first.addDays(-7); d < first.addDays(42); d = d.addDays(1)) {
        QTextCharFormat cf = pCalendar->weekdayTextFormat(Qt::DayOfWeek(d.dayOfWeek()));
        cf.merge(pCalendar->dateTextFormat(d));
        const QColor fg = cf.foreground().style() != Qt::NoBrush ? cf.foreground().color() : text;
        const QColor bg = cf.background().style() != Qt::NoBrush ? cf.background().color() : base;
        Expect(faults, QStringLiteral("calendar ") + d.toString(Qt::ISODate), fg, bg, kAccent);
    }
    const QTextCharFormat header = pCalendar->headerTextFormat();
    if (header.foreground().style() != Qt::NoBrush)
        Expect(faults, QStringLiteral("calendar header"), header.foreground().color(),
               header.background().style() != Qt::NoBrush ? header.background().color() : base, kAccent);
}

/// The colour a widget's text stands on: its own background where it paints one, else that
/// of the nearest parent that does (a label, or a flat tool button, shows its parent's).
QColor Background(QWidget* pWidget, QWidget* pTop) {
    for (QWidget* p = pWidget; p; p = p->parentWidget()) {
        auto* pTool = qobject_cast<QToolButton*>(p);
        const bool bPaints = p == pTop || p->autoFillBackground() ||
                             (qobject_cast<QAbstractButton*>(p) && !(pTool && pTool->autoRaise()));
        if (bPaints) return p->palette().color(p->backgroundRole());
    }
    return pTop->palette().color(QPalette::Window);
}

/// Every cell the view shows, with the colours its model gives it.
void CheckRows(QStringList& faults, QAbstractItemView* pView, double minimum) {
    const QPalette& pal = pView->palette();
    const QAbstractItemModel* pModel = pView->model();
    for (int r = 0; pModel && r < pModel->rowCount(); ++r) {
        for (int c = 0; c < pModel->columnCount(); ++c) {
            const QModelIndex index = pModel->index(r, c);
            const QVariant fg = index.data(Qt::ForegroundRole), bg = index.data(Qt::BackgroundRole);
            if (!fg.isValid() && !bg.isValid()) continue;
            Expect(faults,
                   Name(pView) + QStringLiteral(" cell %1,%2 「%3」").arg(r).arg(c).arg(index.data().toString()),
                   fg.isValid() ? fg.value<QBrush>().color() : pal.color(QPalette::Text),
                   bg.isValid() ? bg.value<QBrush>().color() : pal.color(QPalette::Base), minimum);
        }
    }
}

/// What the window and everything visible in it draw that a dark desktop cannot read.
QStringList Unreadable(QWidget* pTop) {
    QStringList faults;
    QList<QWidget*> widgets = pTop->findChildren<QWidget*>();
    widgets.prepend(pTop);
    for (QWidget* pWidget : widgets) {
        if (pWidget != pTop && (!pWidget->isVisibleTo(pTop) || pWidget->isWindow())) continue;
        if (!pWidget->isEnabled()) continue;
        const QPalette& pal = pWidget->palette();
        auto* pButton = qobject_cast<QAbstractButton*>(pWidget);
        if (!pButton || !pButton->text().isEmpty())  // a button that shows only its icon has no text to read
            Expect(faults, Name(pWidget), pal.color(pWidget->foregroundRole()), Background(pWidget, pTop), kText);
        if (auto* pView = qobject_cast<QAbstractItemView*>(pWidget)) {
            Expect(faults, Name(pView) + QStringLiteral(" selected"), pal.color(QPalette::HighlightedText),
                   pal.color(QPalette::Highlight), kText);
            // The calendar's table is checked as the calendar's days, below.
            const bool bInCalendar =
                qobject_cast<QCalendarWidget*>(pView->parentWidget()) ||
                (pView->parentWidget() && qobject_cast<QCalendarWidget*>(pView->parentWidget()->parentWidget()));
            CheckRows(faults, pView, bInCalendar ? kAccent : kText);
        }
        if (auto* pEdit = qobject_cast<QTextEdit*>(pWidget))
            CheckDocument(faults, Name(pEdit), pEdit->document(), pEdit->viewport()->palette());
        if (auto* pCalendar = qobject_cast<QCalendarWidget*>(pWidget)) CheckCalendar(faults, pCalendar);
    }
    // Drawn: only icons and small marks may be light; a light pane or background would
    // cover far more of the window.
    const QImage image = pTop->grab().toImage().convertToFormat(QImage::Format_RGB32);
    qint64 nLight = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* pLine = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (Luminance(QColor(pLine[x])) > 0.5) ++nLight;
    }
    const double share = double(nLight) / (qint64(image.width()) * image.height());
    if (share > 0.05) faults << QStringLiteral("%1: %2% of it is light").arg(Name(pTop)).arg(share * 100, 0, 'f', 1);
    return faults;
}

void Grab(QWidget* pWidget, const QString& name) {
    const QByteArray dir = qgetenv("NELO_GRAB_DIR");
    if (!dir.isEmpty()) pWidget->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(name + ".png"));
}

}  // namespace

class DarkPaletteTest : public QObject {
    Q_OBJECT

    TestEnvironment m_env;
    std::unique_ptr<WindowFixture> m_fix;

    MainWindow* Frame() { return m_fix->m_window.get(); }

private Q_SLOTS:
    void initTestCase() {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkPalette());
    }

    void init() {
        m_fix = std::make_unique<WindowFixture>();
        for (const QString& line :
             {QStringLiteral("田中、電話、03-1234-5678"), QStringLiteral("田中、住所、東京都港区芝公園４－２－８"),
              QStringLiteral("鈴木、電話、06-6123-4567"), QStringLiteral("半径＝５"),
              QStringLiteral("半径×半径×３．１４"), QStringLiteral("１２月１０日１０時 歯医者"),
              QStringLiteral("１２月１２日 忘年会"), QStringLiteral("１２月２４日１８時 ２２時 クリスマス会"),
              QStringLiteral("予定"), QStringLiteral("曜日 ２００３／１／１"), QStringLiteral("天気")})
            Frame()->SubmitLine(line);
        m_fix->m_app.GetNotebook().SetClean();
        QApplication::processEvents();
    }
    void cleanup() { m_fix.reset(); }

    void theWindowStaysReadable() {
        const QStringList faults = Unreadable(Frame());
        Grab(Frame(), QStringLiteral("dark-window"));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void dialogsStayReadable_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("variables") << QStringLiteral("actionVariables");
        QTest::newRow("schedules") << QStringLiteral("actionSchedules");
        QTest::newRow("memos") << QStringLiteral("actionMemos");
        QTest::newRow("settings") << QStringLiteral("actionSettings");
        QTest::newRow("about") << QStringLiteral("actionAbout");
    }

    void dialogsStayReadable() {
        QFETCH(QString, action);
        ModalWatchdog watchdog;
        QStringList faults;
        bool bSeen = false;
        watchdog.Expect([&](QWidget* pModal) {
            bSeen = true;
            // A selected row shows the highlight, and in the schedule list the marked days.
            if (auto* pList = pModal->findChild<QAbstractItemView*>()) {
                if (pList->model() && pList->model()->rowCount() > 0) {
                    const QModelIndex index = pList->model()->index(0, 0);
                    QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, pList->visualRect(index).center());
                }
            }
            QApplication::processEvents();
            faults = Unreadable(pModal);
            Grab(pModal, QStringLiteral("dark-") + QString::fromLatin1(QTest::currentDataTag()));
            if (auto* pDialog = qobject_cast<QDialog*>(pModal)) pDialog->reject();
        });
        QAction* pAction = Frame()->findChild<QAction*>(action);
        QVERIFY(pAction);
        pAction->trigger();
        QVERIFY(bSeen);
        QCOMPARE(watchdog.Unanswered(), 0);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void toolbarIconsStandOutFromTheBar_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("dark bar") << true;
        QTest::newRow("light bar") << false;
    }

    void toolbarIconsStandOutFromTheBar() {
        // Each icon draws a good part of itself in colours that stand out from the bar
        // (3:1, as for any graphic a user must see), on a dark desktop's bar as on a light
        // one's: an icon drawn in dark greys alone would vanish on a dark bar.
        QFETCH(bool, dark);
        auto* pBar = Frame()->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QVERIFY(pBar);
        const QColor bar = dark ? pBar->palette().color(pBar->backgroundRole())
                                : QApplication::style()->standardPalette().color(QPalette::Window);
        QVERIFY(dark == (Luminance(bar) < 0.2));
        QStringList faults;
        for (QAction* pAction : pBar->actions()) {
            if (pAction->isSeparator() || pAction->icon().isNull()) continue;
            const QImage image = pAction->icon().pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
            int nOpaque = 0, nStandOut = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    if (c.alpha() < 128) continue;
                    ++nOpaque;
                    if (Contrast(c, bar) >= kAccent) ++nStandOut;
                }
            if (nOpaque == 0 || nStandOut * 4 < nOpaque)
                faults << QStringLiteral("%1: %2 of %3 pixels stand out from %4")
                              .arg(pAction->objectName())
                              .arg(nStandOut)
                              .arg(nOpaque)
                              .arg(bar.name());
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void theHelpPageStaysReadable() {
        Frame()->findChild<QAction*>(QStringLiteral("actionHelp"))->trigger();
        auto* pHelp = Frame()->findChild<QTextBrowser*>(QStringLiteral("helpWindow"));
        QVERIFY(pHelp && pHelp->isVisible());
        QApplication::processEvents();
        const QStringList faults = Unreadable(pHelp);
        Grab(pHelp, QStringLiteral("dark-help"));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(DarkPaletteTest)
#include "DarkPaletteTest.moc"
