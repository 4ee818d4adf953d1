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

QString Name(const QObject* object) {
    return QStringLiteral("%1 (%2)").arg(object->objectName(), object->metaObject()->className());
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
void CheckDocument(QStringList& faults, const QString& where, const QTextDocument* doc, const QPalette& palette) {
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
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
void CheckCalendar(QStringList& faults, QCalendarWidget* calendar) {
    auto* view = calendar->findChild<QAbstractItemView*>();
    const QColor base = view ? view->palette().color(QPalette::Base) : calendar->palette().color(QPalette::Base);
    const QColor text = calendar->palette().color(QPalette::Text);
    const QDate first(calendar->yearShown(), calendar->monthShown(), 1);
    for (QDate d = first.addDays(-7); d < first.addDays(42); d = d.addDays(1)) {
        QTextCharFormat cf = calendar->weekdayTextFormat(Qt::DayOfWeek(d.dayOfWeek()));
        cf.merge(calendar->dateTextFormat(d));
        const QColor fg = cf.foreground().style() != Qt::NoBrush ? cf.foreground().color() : text;
        const QColor bg = cf.background().style() != Qt::NoBrush ? cf.background().color() : base;
        Expect(faults, QStringLiteral("calendar ") + d.toString(Qt::ISODate), fg, bg, kAccent);
    }
    const QTextCharFormat header = calendar->headerTextFormat();
    if (header.foreground().style() != Qt::NoBrush)
        Expect(faults, QStringLiteral("calendar header"), header.foreground().color(),
               header.background().style() != Qt::NoBrush ? header.background().color() : base, kAccent);
}

/// The colour a widget's text stands on: its own background where it paints one, else that
/// of the nearest parent that does (a label, or a flat tool button, shows its parent's).
QColor Background(QWidget* widget, QWidget* top) {
    for (QWidget* p = widget; p; p = p->parentWidget()) {
        auto* tool = qobject_cast<QToolButton*>(p);
        const bool paints =
            p == top || p->autoFillBackground() || (qobject_cast<QAbstractButton*>(p) && !(tool && tool->autoRaise()));
        if (paints) return p->palette().color(p->backgroundRole());
    }
    return top->palette().color(QPalette::Window);
}

/// Every cell the view shows, with the colours its model gives it.
void CheckRows(QStringList& faults, QAbstractItemView* view, double minimum) {
    const QPalette& pal = view->palette();
    const QAbstractItemModel* model = view->model();
    for (int r = 0; model && r < model->rowCount(); ++r) {
        for (int c = 0; c < model->columnCount(); ++c) {
            const QModelIndex index = model->index(r, c);
            const QVariant fg = index.data(Qt::ForegroundRole), bg = index.data(Qt::BackgroundRole);
            if (!fg.isValid() && !bg.isValid()) continue;
            Expect(faults, Name(view) + QStringLiteral(" cell %1,%2 「%3」").arg(r).arg(c).arg(index.data().toString()),
                   fg.isValid() ? fg.value<QBrush>().color() : pal.color(QPalette::Text),
                   bg.isValid() ? bg.value<QBrush>().color() : pal.color(QPalette::Base), minimum);
        }
    }
}

/// What the window and everything visible in it draw that a dark desktop cannot read.
QStringList Unreadable(QWidget* top) {
    QStringList faults;
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (QWidget* widget : widgets) {
        if (widget != top && (!widget->isVisibleTo(top) || widget->isWindow())) continue;
        if (!widget->isEnabled()) continue;
        const QPalette& pal = widget->palette();
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!button || !button->text().isEmpty())  // a button that shows only its icon has no text to read
            Expect(faults, Name(widget), pal.color(widget->foregroundRole()), Background(widget, top), kText);
        if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
            Expect(faults, Name(view) + QStringLiteral(" selected"), pal.color(QPalette::HighlightedText),
                   pal.color(QPalette::Highlight), kText);
            // The calendar's table is checked as the calendar's days, below.
            const bool inCalendar =
                qobject_cast<QCalendarWidget*>(view->parentWidget()) ||
                (view->parentWidget() && qobject_cast<QCalendarWidget*>(view->parentWidget()->parentWidget()));
            CheckRows(faults, view, inCalendar ? kAccent : kText);
        }
        if (auto* edit = qobject_cast<QTextEdit*>(widget))
            CheckDocument(faults, Name(edit), edit->document(), edit->viewport()->palette());
        if (auto* calendar = qobject_cast<QCalendarWidget*>(widget)) CheckCalendar(faults, calendar);
    }
    // Drawn: only icons and small marks may be light; a light pane or background would
    // cover far more of the window.
    const QImage image = top->grab().toImage().convertToFormat(QImage::Format_RGB32);
    qint64 light = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (Luminance(QColor(line[x])) > 0.5) ++light;
    }
    const double share = double(light) / (double(image.width()) * image.height());
    if (share > 0.05) faults << QStringLiteral("%1: %2% of it is light").arg(Name(top)).arg(share * 100, 0, 'f', 1);
    return faults;
}

void Grab(QWidget* widget, const QString& name) {
    const QByteArray dir = qgetenv("NELO_GRAB_DIR");
    if (!dir.isEmpty()) widget->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(name + ".png"));
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
        bool seen = false;
        watchdog.Expect([&](QWidget* modal) {
            seen = true;
            // A selected row shows the highlight, and in the schedule list the marked days.
            if (auto* list = modal->findChild<QAbstractItemView*>()) {
                if (list->model() && list->model()->rowCount() > 0) {
                    const QModelIndex index = list->model()->index(0, 0);
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
                }
            }
            QApplication::processEvents();
            faults = Unreadable(modal);
            Grab(modal, QStringLiteral("dark-") + QString::fromLatin1(QTest::currentDataTag()));
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        });
        QAction* qaction = Frame()->findChild<QAction*>(action);
        QVERIFY(qaction);
        qaction->trigger();
        QVERIFY(seen);
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
        auto* toolBar = Frame()->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QVERIFY(toolBar);
        const QColor bar = dark ? toolBar->palette().color(toolBar->backgroundRole())
                                : QApplication::style()->standardPalette().color(QPalette::Window);
        QVERIFY(dark == (Luminance(bar) < 0.2));
        QStringList faults;
        for (QAction* qaction : toolBar->actions()) {
            if (qaction->isSeparator() || qaction->icon().isNull()) continue;
            const QImage image = qaction->icon().pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
            int opaque = 0, standOut = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    if (c.alpha() < 128) continue;
                    ++opaque;
                    if (Contrast(c, bar) >= kAccent) ++standOut;
                }
            if (opaque == 0 || standOut * 4 < opaque)
                faults << QStringLiteral("%1: %2 of %3 pixels stand out from %4")
                              .arg(qaction->objectName())
                              .arg(standOut)
                              .arg(opaque)
                              .arg(bar.name());
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void theHelpPageStaysReadable() {
        Frame()->findChild<QAction*>(QStringLiteral("actionHelp"))->trigger();
        auto* help = Frame()->findChild<QTextBrowser*>(QStringLiteral("helpWindow"));
        QVERIFY(help && help->isVisible());
        QApplication::processEvents();
        const QStringList faults = Unreadable(help);
        Grab(help, QStringLiteral("dark-help"));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(DarkPaletteTest)
#include "DarkPaletteTest.moc"
