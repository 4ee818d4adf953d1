// The window comes back where it was left, and the panes' one font goes to and from the
// profile: saved values, the font dialog from either pane, the Japanese faces.
#include "DesktopTestSupport.h"
#include "desktop/ConversationPane.h"
#include "desktop/FontMapping.h"
#include "desktop/InputPane.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>

using namespace nelo;

class PlacementFontTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<WindowFixture> m_fix;

    MainWindow* Frame() { return m_fix->m_window.get(); }
    /// Starts the program (again) on the profile as it is now.
    void Start() {
        m_fix.reset();
        m_fix = std::make_unique<WindowFixture>();
        if (!Frame()->isMinimized()) QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    }
    /// Closes the window as the user does, which saves the placement.
    void Close() {
        QVERIFY(Frame()->close());
        m_fix.reset();
    }
    static QString ProfileValue(const char* section, const char* entry) {
        return QString::fromStdString(Profile(Profile::DefaultPath()).GetProfileString(section, entry));
    }
    static void SetProfile(const char* section, const char* entry, const std::string& value) {
        QVERIFY(Profile(Profile::DefaultPath()).WriteProfileString(section, entry, value));
    }
    QList<QPlainTextEdit*> Panes() { return {Frame()->GetConversationPane(), Frame()->GetInputPane()}; }
    void OnFont() { Frame()->OnFont(); }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() {
        m_fix.reset();
        m_env.reset();
    }

    /// Moves and sizes the window as the user does: by its frame.
    void SetFrame(const QRect& rc) {
        const QSize decorations = Frame()->frameGeometry().size() - Frame()->geometry().size();
        Frame()->resize(rc.size() - decorations);
        Frame()->move(rc.topLeft());
        QTRY_COMPARE(Frame()->frameGeometry(), rc);
    }

    void firstStartIsAtTenTenAndComesBackAsLeft() {
        // The rectangles are the frame's, decorations included.
        Start();
        QTRY_COMPARE(Frame()->frameGeometry(), QRect(10, 10, 490, 390));
        QCOMPARE(Frame()->windowState(), Qt::WindowNoState);
        SetFrame(QRect(120, 60, 500, 380));
        Close();
        QCOMPARE(ProfileValue("Window size", "Rect"), QStringLiteral("0120 0060 0620 0440"));
        QCOMPARE(ProfileValue("Window size", "icon"), QStringLiteral("0"));
        QCOMPARE(ProfileValue("Window size", "max"), QStringLiteral("0"));
        Start();
        QTRY_COMPARE(Frame()->frameGeometry(), QRect(120, 60, 500, 380));
        Close();
        QCOMPARE(ProfileValue("Window size", "Rect"), QStringLiteral("0120 0060 0620 0440"));
    }

    void maximisedComesBackMaximisedOverItsNormalPlace() {
        SetProfile("Window size", "Rect", "0100 0050 0700 0450");
        Start();
        Frame()->showMaximized();
        QTRY_VERIFY(Frame()->isMaximized());
        Close();
        QCOMPARE(ProfileValue("Window size", "Rect"), QStringLiteral("0100 0050 0700 0450"));
        QCOMPARE(ProfileValue("Window size", "max"), QStringLiteral("1"));
        Start();
        QVERIFY(Frame()->isMaximized());
        Frame()->showNormal();
        QTRY_COMPARE(Frame()->frameGeometry(), QRect(100, 50, 600, 400));
    }

    void minimisedFromMaximisedComesBackMinimisedAndRestoresMaximised() {
        Start();
        Frame()->showMaximized();
        Frame()->showMinimized();
        Close();
        QCOMPARE(ProfileValue("Window size", "icon"), QStringLiteral("1"));
        QCOMPARE(ProfileValue("Window size", "max"), QStringLiteral("1"));
        QCOMPARE(ProfileValue("Window size", "Rect"), QStringLiteral("0010 0010 0500 0400"));
        Start();
        QCOMPARE(Frame()->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized),
                 Qt::WindowMinimized | Qt::WindowMaximized);
        QCOMPARE(Frame()->normalGeometry(), QRect(10, 10, 490, 390));
    }

    void aWindowOnNoScreenComesBackVisible_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QSize>("size");
        QTest::newRow("monitor unplugged") << "5000 0100 5600 0500" << QSize(600, 400);
        QTest::newRow("wider than the screen") << "20000 20000 29000 29000" << QSize();
    }
    void aWindowOnNoScreenComesBackVisible() {
        QFETCH(QString, saved);
        QFETCH(QSize, size);
        SetProfile("Window size", "Rect", saved.toStdString());
        Start();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTRY_VERIFY(screen.contains(Frame()->frameGeometry()));
        if (size.isValid()) QCOMPARE(Frame()->frameGeometry().size(), size);
    }

    void barVisibilityComesBack() {
        Start();
        QVERIFY(Frame()->statusBar()->isVisible());
        Frame()->statusBar()->hide();
        Close();
        QCOMPARE(Profile(Profile::DefaultPath()).GetProfileInt("Nelo-Bar1", "Visible", 1), 0);
        Start();
        QVERIFY(Frame()->statusBar()->isHidden());
    }

    void savedFontReachesBothPanes_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("drawnWith");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<QColor>("colour");
        const QColor theme = QPalette().color(QPalette::Text);
        QTest::newRow("nothing saved") << ""
                                       << "ＭＳ Ｐゴシック"
                                       << "IPAPGothic" << 9.0 << false << false << theme;
        QTest::newRow("bold italic 12 points in red") << "f800000f 3 240 0 ff 80 32 IPAMincho"
                                                      << "IPAMincho"
                                                      << "IPAMincho" << 12.0 << true << true << QColor(255, 0, 0);
        QTest::newRow("a Windows face") << "f800000f 0 200 0 ff0000 80 31 ＭＳ 明朝"
                                        << "ＭＳ 明朝"
                                        << "IPAMincho" << 10.0 << false << false << QColor(0, 0, 255);
        QTest::newRow("Meiryo") << "f800000f 0 180 0 0 80 32 メイリオ"
                                << "メイリオ"
                                << "IPAPGothic" << 9.0 << false << false << theme;
    }
    void savedFontReachesBothPanes() {
        QFETCH(QString, saved);
        QFETCH(QString, family);
        QFETCH(QString, drawnWith);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(QColor, colour);
        if (!saved.isEmpty()) SetProfile("SendViewFont", "FontAttr", saved.toStdString());
        Start();
        for (QPlainTextEdit* pane : Panes()) {
            QCOMPARE(pane->font().family(), family);
            QCOMPARE(QFontInfo(pane->font()).family(), drawnWith);
            QCOMPARE(pane->font().pointSizeF(), points);
            QCOMPARE(pane->font().bold(), bold);
            QCOMPARE(pane->font().italic(), italic);
            QCOMPARE(pane->palette().color(QPalette::Text), colour);
        }
    }

    void fontChosenInEitherPaneGoesToBothAndIsSaved_data() {
        QTest::addColumn<bool>("fromConversation");
        QTest::newRow("input pane") << false;
        QTest::newRow("conversation pane") << true;
    }
    void fontChosenInEitherPaneGoesToBothAndIsSaved() {
        QFETCH(bool, fromConversation);
        Start();
        QPlainTextEdit* from = Panes()[fromConversation ? 0 : 1];
        from->setFocus();
        QApplication::setActiveWindow(Frame());
        ModalWatchdog watchdog;
        QWidget* parent = nullptr;
        watchdog.Expect([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFontDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->objectName(), QStringLiteral("fontDialog"));
            QCOMPARE(dialog->currentFont().family(), QStringLiteral("IPAPGothic"));
            parent = dialog->parentWidget();
            // The IPA fonts come in one weight only: the dialog offers no bold for them.
            QFont chosen(QStringLiteral("IPAGothic"));
            chosen.setPointSize(12);
            chosen.setUnderline(true);
            chosen.setStrikeOut(true);
            dialog->setCurrentFont(chosen);
            dialog->accept();
        });
        OnFont();
        QVERIFY(watchdog.AllAnswered());
        QCOMPARE(parent, from);
        QCOMPARE(ProfileValue("SendViewFont", "FontAttr"), QStringLiteral("f800000f c 240 0 0 80 32 IPAGothic"));
        for (QPlainTextEdit* pane : Panes()) {
            QCOMPARE(QFontInfo(pane->font()).family(), QStringLiteral("IPAGothic"));
            QCOMPARE(pane->font().pointSize(), 12);
            QVERIFY(pane->font().underline());
            QVERIFY(pane->font().strikeOut());
        }
        // And after a restart.
        Close();
        Start();
        for (QPlainTextEdit* pane : Panes()) {
            QCOMPARE(pane->font().family(), QStringLiteral("IPAGothic"));
            QCOMPARE(pane->font().pointSize(), 12);
            QVERIFY(pane->font().strikeOut());
        }
    }

    void theDefaultFaceStaysWhenOnlyTheSizeChanges() {
        Start();
        {
            ModalWatchdog watchdog;
            watchdog.Expect([](QWidget* modal) {
                auto* dialog = qobject_cast<QFontDialog*>(modal);
                QFont chosen = dialog->currentFont();
                chosen.setPointSize(11);
                dialog->setCurrentFont(chosen);
                dialog->accept();
            });
            OnFont();
            QVERIFY(watchdog.AllAnswered());
        }
        QCOMPARE(ProfileValue("SendViewFont", "FontAttr"), QStringLiteral("f800000f 0 220 0 0 80 32 ＭＳ Ｐゴシック"));
        // Cancel changes nothing.
        {
            ModalWatchdog watchdog;
            watchdog.Expect([](QWidget* modal) {
                auto* dialog = qobject_cast<QFontDialog*>(modal);
                dialog->setCurrentFont(QFont(QStringLiteral("IPAMincho"), 20));
                dialog->reject();
            });
            OnFont();
            QVERIFY(watchdog.AllAnswered());
        }
        QCOMPARE(ProfileValue("SendViewFont", "FontAttr"), QStringLiteral("f800000f 0 220 0 0 80 32 ＭＳ Ｐゴシック"));
        QCOMPARE(Frame()->GetInputPane()->font().pointSizeF(), 11.0);
    }

    void theColourIsChosenWithTheFontAndKeptWithIt() {
        struct Row {
            const char* name;
            std::uint32_t chosen;  // 0x00BBGGRR
            const char* saved;
            QColor shown;  // invalid: the theme's text colour
        };
        const Row rows[] = {
            {"red", 0x0000FF, "f800000f 0 180 0 ff 80 32 ＭＳ Ｐゴシック", QColor(255, 0, 0)},
            {"navy", 0x800000, "f800000f 0 180 0 800000 80 32 ＭＳ Ｐゴシック", QColor(0, 0, 128)},
            {"automatic again", 0, "f800000f 0 180 0 0 80 32 ＭＳ Ｐゴシック", QColor()},
        };
        Start();
        std::uint32_t before = 0;
        for (const Row& r : rows) {
            ModalWatchdog watchdog;
            watchdog.Expect([&](QWidget* modal) {
                auto* colour = modal->findChild<QComboBox*>(QStringLiteral("fontColour"));
                auto* sample = modal->findChild<QLineEdit*>(QStringLiteral("qt_fontDialog_sampleEdit"));
                QVERIFY(colour && sample);
                // The dialog starts on the colour the panes show, with a Japanese sample.
                QCOMPARE(colour->currentData().value<std::uint32_t>(), before);
                QCOMPARE(sample->text(), QStringLiteral("あア亜ｱ Aa"));
                QCOMPARE(colour->count(), 16);
                colour->setCurrentIndex(colour->findData(QVariant::fromValue(r.chosen)));
                if (r.shown.isValid()) QCOMPARE(sample->palette().color(QPalette::Text), r.shown);
                // NELO_GRAB_DIR=<folder> keeps a picture of the dialog with red chosen.
                const QByteArray dir = qgetenv("NELO_GRAB_DIR");
                if (!dir.isEmpty() && r.chosen == 0x0000FF)
                    modal->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/font-dialog.png"));
                qobject_cast<QDialog*>(modal)->accept();
            });
            OnFont();
            QVERIFY2(watchdog.AllAnswered(), r.name);
            QCOMPARE(ProfileValue("SendViewFont", "FontAttr"), QString::fromUtf8(r.saved));
            // Both panes, now and after a restart.
            for (int run = 0; run < 2; ++run) {
                const QColor expected = r.shown.isValid() ? r.shown : QPalette().color(QPalette::Text);
                for (QPlainTextEdit* pane : Panes()) QCOMPARE(pane->palette().color(QPalette::Text), expected);
                if (run == 0) {
                    Close();
                    Start();
                }
            }
            before = r.chosen;
        }
    }

    void theConversationKeepsShowingItsLastLineAfterAFontChange() {
        Start();
        for (int i = 0; i < 60; ++i) TypeText(Frame()->GetInputPane(), QStringLiteral("%1+1\n").arg(i));
        ConversationPane* pane = Frame()->GetConversationPane();
        // The last answer's line shows whole in the pane.
        auto lastLineShows = [pane] {
            QTextCursor cursor(pane->document()->lastBlock().previous());
            const QRect line = pane->cursorRect(cursor);
            return line.top() >= 0 && line.bottom() <= pane->viewport()->height();
        };
        QTRY_VERIFY(pane->verticalScrollBar()->maximum() > 0);
        QVERIFY(lastLineShows());
        for (int points : {20, 6}) {
            ModalWatchdog watchdog;
            watchdog.Expect([points](QWidget* modal) {
                auto* dialog = qobject_cast<QFontDialog*>(modal);
                QFont chosen = dialog->currentFont();
                chosen.setPointSize(points);
                dialog->setCurrentFont(chosen);
                dialog->accept();
            });
            OnFont();
            QVERIFY(watchdog.AllAnswered());
            QTRY_VERIFY2(lastLineShows(), qPrintable(QString::number(points)));
        }
        // A pane scrolled back by the user stays where the user left it.
        pane->verticalScrollBar()->setValue(0);
        Frame()->resize(Frame()->width() - 100, Frame()->height());
        QTest::qWait(50);
        QCOMPARE(pane->verticalScrollBar()->value(), 0);
    }

    void chosenFontsBecomeTheFormatToSave() {
        CharFormat cf;
        QVERIFY(ChosenCharFormat(DefaultCharFormat(), QFont(QStringLiteral("IPAMincho"), 14, QFont::Bold, true), cf));
        QCOMPARE(QString::fromStdString(FormatFontAttr(cf)), QStringLiteral("f800000f 3 280 0 0 80 32 IPAMincho"));
        // A face that has no code page 932 name, or a longer one than 31 bytes, is not
        // saved: the current face stays.
        QFont chosen(QStringLiteral("Fürstenberg Sans"));
        chosen.setPointSize(11);
        QVERIFY(!ChosenCharFormat(DefaultCharFormat(), chosen, cf));
        QCOMPARE(cf.height, 220);
        QCOMPARE(cf.faceName, DefaultCharFormat().faceName);
        QVERIFY(
            !ChosenCharFormat(DefaultCharFormat(), QFont(QStringLiteral("An Extremely Long Family Name Beyond")), cf));
    }

    void theWindowLooksRight() {
        // NELO_GRAB_DIR=<folder> keeps a picture of the window with the default font.
        Start();
        Frame()->resize(490, 390);
        TypeText(Frame()->GetInputPane(), QStringLiteral("予定\n"));
        const QByteArray dir = qgetenv("NELO_GRAB_DIR");
        if (!dir.isEmpty())
            QVERIFY(Frame()->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/placement-font.png")));
        QVERIFY(Frame()->GetConversationPane()->toPlainText().contains(QStringLiteral("予定")));
    }
};

QTEST_MAIN(PlacementFontTest)
#include "PlacementFontTest.moc"
