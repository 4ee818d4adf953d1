// The list dialogs through their widgets: F2, F3 and F4 open them on the notebook's
// data; rows are selected with the mouse, deletions are confirmed or cancelled, the memo
// search and the row-for-row pair lists, the modified flag after closing, the CSV export
// in both encodings, the calendar's bold days, and a layout in which nothing is clipped.
#include "DesktopTestSupport.h"
#include "desktop/RowListView.h"
#include "desktop/MemoListDialog.h"
#include "desktop/ScheduleListDialog.h"
#include "desktop/VariablesDialog.h"
#include "models/RowList.h"

#include <QAction>
#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextCharFormat>
#include <cstdlib>

using namespace nelo;

namespace {

/// Saves a picture of the widget when NELO_GRAB_DIR names a folder (to look at it).
void Grab(QWidget* pWidget, const QString& name) {
    const QByteArray dir = qgetenv("NELO_GRAB_DIR");
    if (!dir.isEmpty()) pWidget->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(name));
}

/// Closes the dialog however the handler's checks end, so a failed check never hangs.
struct CloseOnExit {
    QDialog* pDialog;
    bool bKeepOpen = false;  ///< the handler left the dialog to a later one
    ~CloseOnExit() {
        if (!bKeepOpen && pDialog->isVisible()) pDialog->accept();
    }
};

RowListView* List(QWidget* pDialog, const char* name) {
    return pDialog->findChild<RowListView*>(QString::fromLatin1(name));
}

void Click(QWidget* pDialog, const char* name) {
    auto* pButton = pDialog->findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY2(pButton, name);
    QTest::mouseClick(pButton, Qt::LeftButton);
}

/// Clicks row i of a list as the user does.
void ClickRow(RowListView* pView, int i) {
    const QModelIndex index = pView->model()->index(i, 0);
    pView->scrollTo(index);
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, {}, pView->visualRect(index).center());
}

/// The rows the view shows.
QStringList Rows(RowListView* pView) {
    QStringList rows;
    for (int i = 0; i < pView->model()->rowCount(); ++i) rows << pView->model()->index(i, 0).data().toString();
    return rows;
}

int SelectedRow(RowListView* pView) {
    const QModelIndexList rows = pView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

}  // namespace

class ListDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<WindowFixture> m_fix;

    MainWindow* Frame() { return m_fix->m_window.get(); }
    Notebook& Doc() { return m_fix->m_app.GetNotebook(); }
    std::vector<std::string>& Shown() { return m_fix->m_messageBox.m_shown; }

    /// Submits the lines as typed; the notebook then counts as just saved.
    void Fill(const QStringList& lines) {
        for (const QString& line : lines) Frame()->SubmitLine(line);
        Doc().SetClean();
        Shown().clear();
    }

    /// Opens the dialog of the action and lets handler play the user while it is open.
    /// With more modals to answer (nMoreModals), the first handler leaves the dialog open.
    void Run(const char* action, const std::function<void(QDialog*)>& handler, int nMoreModals = 0,
             const std::function<void(QWidget*)>& more = {}) {
        ModalWatchdog watchdog;
        watchdog.Expect([handler, nMoreModals](QWidget* pModal) {
            auto* pDialog = qobject_cast<QDialog*>(pModal);
            QVERIFY(pDialog);
            CloseOnExit closer{pDialog, nMoreModals > 0};
            handler(pDialog);
        });
        for (int i = 0; i < nMoreModals; ++i) watchdog.Expect(more);
        QAction* pAction = Frame()->findChild<QAction*>(QString::fromLatin1(action));
        QVERIFY(pAction);
        pAction->trigger();
        QCOMPARE(watchdog.Unanswered(), 0);
        QVERIFY(watchdog.AllAnswered());
    }

private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnvironment>();
        m_fix = std::make_unique<WindowFixture>();
    }
    void cleanup() {
        m_fix.reset();
        m_env.reset();
    }

    // Variables and schedules: one list and "削除" each.
    void aDeletionAsksAndActsAtOnce_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("question");
        const QStringList vars{QStringLiteral("半径＝５"), QStringLiteral("円周＝３１．４")};
        const QStringList vrows{QStringLiteral("半径 5"), QStringLiteral("円周 31.4")};
        // Typed out of order: the list opens sorted by start.
        const QStringList sched{QStringLiteral("１２月２０日 会議"), QStringLiteral("１２月１０日１０時 歯医者")};
        QTest::newRow("variables") << "actionVariables"
                                   << "variablesList" << vars << vrows
                                   << QStringLiteral("削除する変数を選択してください。")
                                   << QStringLiteral("選択されている変数を削除してよいですか？");
        QTest::newRow("schedules") << "actionSchedules"
                                   << "scheduleList" << sched << QStringList{}
                                   << QStringLiteral("削除する予定を選択してください。")
                                   << QStringLiteral("選択されている予定を削除してよいですか？");
    }

    void aDeletionAsksAndActsAtOnce() {
        QFETCH(QString, action);
        QFETCH(QString, list);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, rows);
        QFETCH(QString, notice);
        QFETCH(QString, question);
        Fill(lines);
        const QByteArray actionName = action.toLatin1();
        const QByteArray listName = list.toLatin1();
        QStringList shownRows;
        Run(actionName.constData(), [&](QDialog* pDialog) {
            RowListView* pView = List(pDialog, listName.constData());
            QVERIFY(pView);
            shownRows = Rows(pView);
            QCOMPARE(shownRows.size(), 2);
            QCOMPARE(SelectedRow(pView), -1);
            // The list has the focus, and no row looks selected while none is.
            pView->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(pView->hasFocus());
            QVERIFY(!pView->currentIndex().isValid());
            Click(pDialog, "deleteButton");  // nothing selected: the notice only
            ClickRow(pView, 1);
            QCOMPARE(pView->GetList().GetCurSel(), 1);
            m_fix->m_messageBox.m_answers = {MbAnswer::Cancel, MbAnswer::Ok};
            Click(pDialog, "deleteButton");  // cancelled
            QCOMPARE(Rows(pView).size(), 2);
            Click(pDialog, "deleteButton");  // confirmed
            QCOMPARE(Rows(pView), QStringList{shownRows[0]});
            QCOMPARE(SelectedRow(pView), -1);  // the selection does not move on
            QVERIFY(!pView->currentIndex().isValid());
            // The keyboard starts at the first row, which is then selected.
            pView->setFocus(Qt::TabFocusReason);
            QTest::keyClick(pView, Qt::Key_Down);
            QCOMPARE(pView->GetList().GetCurSel(), 0);
            QCOMPARE(pView->currentIndex().row(), 0);
            QCOMPARE(SelectedRow(pView), 0);
            // The window's data is changed at once, the flag waits for the dialog to close.
            QVERIFY(!Doc().IsModified());
            Grab(pDialog, list + QStringLiteral(".png"));
        });
        QCOMPARE(Shown().size(), std::size_t(3));
        QCOMPARE(QString::fromStdString(Shown()[0]), notice);
        QCOMPARE(QString::fromStdString(Shown()[1]), question);
        QCOMPARE(QString::fromStdString(Shown()[2]), question);
        QVERIFY(Doc().IsModified());
        if (!rows.isEmpty()) {
            // The symbol table's own order.
            shownRows.sort();
            rows.sort();
            QCOMPARE(shownRows, rows);
        } else {
            QVERIFY(shownRows[0].contains(QStringLiteral("歯医者")));
            QVERIFY(shownRows[1].contains(QStringLiteral("会議")));
        }
        // Closing without a change leaves the notebook unmodified.
        Doc().SetClean();
        Run(actionName.constData(), [](QDialog*) {});
        QVERIFY(!Doc().IsModified());
    }

    void theCalendarShowsTheDaysWithEntries() {
        Fill({QStringLiteral("１２月２０日 会議"), QStringLiteral("１２月１０日１０時 歯医者"),
              QStringLiteral("２０２７年１月５日 旅行")});
        Run("actionSchedules", [&](QDialog* pDialog) {
            auto* pCalendar = pDialog->findChild<QCalendarWidget*>(QStringLiteral("calendar"));
            RowListView* pView = List(pDialog, "scheduleList");
            QVERIFY(pCalendar && pView);
            const auto bold = [pCalendar](int y, int m, int d) {
                return pCalendar->dateTextFormat(QDate(y, m, d)).fontWeight() == QFont::Bold;
            };
            QCOMPARE(pCalendar->yearShown(), 2026);  // the program's clock: December 2026
            QCOMPARE(pCalendar->monthShown(), 12);
            QVERIFY(bold(2026, 12, 10));
            QVERIFY(bold(2026, 12, 20));
            QVERIFY(!bold(2026, 12, 11));
            // Saturday blue, Sunday red, the other days in the text colour; readable on a
            // light and on a dark background (by a wide margin of lightness).
            const QColor saturday = pCalendar->weekdayTextFormat(Qt::Saturday).foreground().color();
            const QColor sunday = pCalendar->weekdayTextFormat(Qt::Sunday).foreground().color();
            QVERIFY2(saturday.blue() > saturday.red() + 60, qPrintable(saturday.name()));
            QVERIFY2(sunday.red() > sunday.blue() + 60, qPrintable(sunday.name()));
            QVERIFY(pCalendar->weekdayTextFormat(Qt::Friday).foreground().color() != saturday);
            QVERIFY(pCalendar->weekdayTextFormat(Qt::Friday).foreground().color() != sunday);
            for (const QColor& base : {QColor(Qt::white), QColor(0x20, 0x20, 0x20)}) {
                QPalette palette;
                palette.setColor(QPalette::Base, base);
                for (const auto& [day, colour] : ScheduleListDialog::WeekendColours(palette))
                    QVERIFY2(std::abs(colour.lightness() - base.lightness()) > 80,
                             qPrintable(colour.name() + u' ' + base.name()));
            }
            Grab(pDialog, QStringLiteral("schedules.png"));
            ClickRow(pView, 2);  // the journey: its month comes up
            QCOMPARE(pCalendar->yearShown(), 2027);
            QCOMPARE(pCalendar->monthShown(), 1);
            QVERIFY(bold(2027, 1, 5));
            m_fix->m_messageBox.m_answers = {MbAnswer::Ok};
            Click(pDialog, "deleteButton");
            QVERIFY(!bold(2027, 1, 5));
            // The calendar changes no entry: a click on a day leaves the rows as they are.
            QTest::mouseClick(pCalendar, Qt::LeftButton, {}, pCalendar->rect().center());
            QCOMPARE(Rows(pView).size(), 2);
        });
        QCOMPARE(Doc().m_scheduleBook.GetSchedules().size(), 2u);
    }

    void theMemoListSearchesAndKeepsItsListsRowForRow() {
        QStringList lines{QStringLiteral("鈴木、電話、０６"), QStringLiteral("田中、電話、０３")};
        for (int i = 0; i < 40; ++i) lines << QStringLiteral("田中、項目%1、値%1").arg(i);
        Fill(lines);
        Run("actionMemos", [&](QDialog* pDialog) {
            auto* pSearch = pDialog->findChild<QLineEdit*>(QStringLiteral("searchField"));
            RowListView* pObjects = List(pDialog, "objectList");
            RowListView* pNames = List(pDialog, "nameList");
            RowListView* pValues = List(pDialog, "valueList");
            QVERIFY(pSearch && pObjects && pNames && pValues);
            // Japanese input in the search field only.
            for (QWidget* pChild : pDialog->findChildren<QWidget*>())
                QCOMPARE(pChild->testAttribute(Qt::WA_InputMethodEnabled), pChild == pSearch);
            QCOMPARE(pSearch->accessibleName(), QStringLiteral("オブジェクト名"));
            QCOMPARE(Rows(pObjects).size(), 2);
            QCOMPARE(SelectedRow(pObjects), 0);  // the first object is shown
            QCOMPARE(Rows(pNames).size(), pNames->GetList().GetCount());

            pSearch->setFocus();
            TypeText(pSearch, QStringLiteral("田中\n"));  // Enter searches, the dialog stays
            QVERIFY(pDialog->isVisible());
            QCOMPARE(pObjects->model()->index(SelectedRow(pObjects), 0).data().toString(), QStringLiteral("田中"));
            QCOMPARE(Rows(pNames).size(), 41);
            QCOMPARE(Rows(pValues).size(), 41);
            QCOMPARE(Rows(pValues)[1], QStringLiteral("値0"));

            // A row chosen in either list is chosen in the other; they scroll together.
            ClickRow(pValues, 3);
            QCOMPARE(SelectedRow(pNames), 3);
            ClickRow(pNames, 38);
            QCOMPARE(SelectedRow(pValues), 38);
            QVERIFY(pNames->verticalScrollBar()->value() > 0);
            QCOMPARE(pValues->verticalScrollBar()->value(), pNames->verticalScrollBar()->value());
            pValues->verticalScrollBar()->setValue(0);
            QCOMPARE(pNames->verticalScrollBar()->value(), 0);

            // A pair: Cancel keeps it, OK deletes it from both lists.
            ClickRow(pNames, 1);
            m_fix->m_messageBox.m_answers = {MbAnswer::Cancel, MbAnswer::Ok};
            Click(pDialog, "deletePairButton");
            QCOMPARE(Rows(pNames).size(), 41);
            Click(pDialog, "deletePairButton");
            QCOMPARE(Rows(pNames).size(), 40);
            QCOMPARE(Rows(pValues)[1], QStringLiteral("値1"));
            QCOMPARE(Rows(pNames)[1], QStringLiteral("項目1"));

            // An object: the row goes, the pair lists empty.
            ClickRow(pObjects, Rows(pObjects).indexOf(QStringLiteral("鈴木")));
            QCOMPARE(Rows(pNames), QStringList{QStringLiteral("電話")});
            m_fix->m_messageBox.m_answers = {MbAnswer::Ok};
            Click(pDialog, "deleteObjectButton");
            QCOMPARE(Rows(pObjects), QStringList{QStringLiteral("田中")});
            QVERIFY(Rows(pNames).isEmpty());
            // A search that finds nothing leaves no row selected.
            pSearch->clear();
            TypeText(pSearch, QStringLiteral("山田"));
            Click(pDialog, "searchButton");
            QCOMPARE(SelectedRow(pObjects), -1);
        });
        QCOMPARE(Shown().size(), std::size_t(3));
        QCOMPARE(QString::fromStdString(Shown()[0]), QStringLiteral("選択されている属性を削除してよいですか？"));
        QCOMPARE(QString::fromStdString(Shown()[2]),
                 QStringLiteral("選択されているオブジェクトを削除してよいですか？"));
        QVERIFY(Doc().IsModified());
        QCOMPARE(Doc().m_memoMap.GetCount(), 1u);
    }

    void theExportWritesTheChosenFileInTheChosenEncoding_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        // 田中 電話 ０３ / 住所 港区、芝 in code page 932.
        const QByteArray cp932 = QByteArray(
            "\x93\x63\x92\x86,\x93\x64\x98\x62,\x82\x4f\x82\x52\r\n"
            "\x93\x63\x92\x86,\x8f\x5a\x8f\x8a,\x8d\x60\x8b\xe6\x81\x41\x8e\xc5\r\n");
        QTest::newRow("code page 932, CR LF") << 0 << QStringLiteral("ＮＥＬＯメモ.csv") << cp932;
        QTest::newRow("UTF-8") << 1 << QStringLiteral("メモ.csv")
                               << QStringLiteral("田中,電話,０３\n田中,住所,港区、芝\n").toUtf8();
    }

    void theExportWritesTheChosenFileInTheChosenEncoding() {
        QFETCH(int, nType);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        Fill({QStringLiteral("田中、電話、０３"), QStringLiteral("田中、住所、港区、芝")});
        const QString path = m_env->File(name);
        QString proposed;
        QString type;
        for (int nRound = 0; nRound < 2; ++nRound) {
            // The second round finds the file there and is told not to overwrite it.
            Run(
                "actionMemos",
                [](QDialog* pDialog) {
                    QTimer::singleShot(0, pDialog->findChild<QPushButton*>(QStringLiteral("exportButton")),
                                       &QPushButton::click);
                },
                2,
                [&](QWidget* pModal) {
                    if (auto* pFiles = qobject_cast<QFileDialog*>(pModal)) {
                        QCOMPARE(pFiles->objectName(), QStringLiteral("memoExportDialog"));
                        proposed = pFiles->selectedFiles().value(0);
                        type = pFiles->selectedNameFilter();
                        pFiles->selectNameFilter(MemoListDialog::ExportFileTypes()[nType]);
                        // The user goes to the folder and types the name.
                        pFiles->setDirectory(m_env->Path());
                        auto* pName = pFiles->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                        QVERIFY(pName);
                        pName->setText(name);
                        static_cast<QDialog*>(pFiles)->accept();
                    } else {
                        static_cast<QDialog*>(pModal)->accept();  // the memo list again
                    }
                });
            QVERIFY(!Shown().empty());
            if (nRound == 0) {
                m_fix->m_messageBox.m_answers = {MbAnswer::No};
                QCOMPARE(QString::fromStdString(Shown().back()), name + QStringLiteral("を作成しました"));
            }
        }
        // An untitled notebook proposes the home folder, code page 932 first.
        QCOMPARE(proposed, QDir::home().filePath(QStringLiteral("ＮＥＬＯメモ.csv")));
        QCOMPARE(type, MemoListDialog::ExportFileTypes()[0]);
        QCOMPARE(QString::fromStdString(Shown().back()), name + QStringLiteral("ファイルがあります。上書きしますか。"));
        QCOMPARE(ReadBytes(path), bytes);
        QVERIFY(!Doc().IsModified());  // exporting changes nothing in the notebook
    }

    void nothingIsClipped_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("variables") << "actionVariables";
        QTest::newRow("schedules") << "actionSchedules";
        QTest::newRow("memos") << "actionMemos";
    }

    void nothingIsClipped() {
        QFETCH(QString, action);
        Fill({QStringLiteral("田中、電話、03-1234-5678"), QStringLiteral("田中、住所、東京都港区芝公園４－２－８"),
              QStringLiteral("田中、誕生日、５月３日"), QStringLiteral("鈴木、電話、06-6123-4567"),
              QStringLiteral("ﾊﾞｰｺｰﾄﾞ、JAN、4901234567894"), QStringLiteral("半径＝５"),
              QStringLiteral("円周＝３１．４"), QStringLiteral("１２月１０日１０時 歯医者"),
              QStringLiteral("１２月２４日１８時 ２２時 クリスマス会")});
        const QByteArray name = action.toLatin1();
        Run(name.constData(), [&](QDialog* pDialog) {
            const QRect inside = pDialog->rect();
            for (QWidget* pChild : pDialog->findChildren<QWidget*>()) {
                if (pChild->parentWidget() != pDialog) continue;
                QVERIFY2(!pChild->objectName().isEmpty(), pChild->metaObject()->className());
                QVERIFY2(!pChild->accessibleName().isEmpty(), qPrintable(pChild->objectName()));
                QVERIFY2(inside.contains(pChild->geometry()), qPrintable(pChild->objectName()));
                if (qobject_cast<QPushButton*>(pChild) || qobject_cast<QLabel*>(pChild) ||
                    qobject_cast<QCalendarWidget*>(pChild) || qobject_cast<QLineEdit*>(pChild)) {
                    QVERIFY2(pChild->width() >= pChild->minimumSizeHint().width(), qPrintable(pChild->objectName()));
                    QVERIFY2(pChild->height() >= pChild->minimumSizeHint().height(), qPrintable(pChild->objectName()));
                }
            }
            if (RowListView* pObjects = List(pDialog, "objectList"))
                ClickRow(pObjects, Rows(pObjects).indexOf(QStringLiteral("田中")));
            Grab(pDialog, action + QStringLiteral(".png"));
        });
    }
};

QTEST_MAIN(ListDialogsTest)
#include "ListDialogsTest.moc"
