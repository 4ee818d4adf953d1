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
void Grab(QWidget* widget, const QString& name) {
    const QByteArray dir = qgetenv("NELO_GRAB_DIR");
    if (!dir.isEmpty()) widget->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(name));
}

/// Closes the dialog however the handler's checks end, so a failed check never hangs.
struct CloseOnExit {
    QDialog* dialog;
    bool keepOpen = false;  ///< the handler left the dialog to a later one
    ~CloseOnExit() {
        if (!keepOpen && dialog->isVisible()) dialog->accept();
    }
};

RowListView* List(QWidget* dialog, const char* name) {
    return dialog->findChild<RowListView*>(QString::fromLatin1(name));
}

void Click(QWidget* dialog, const char* name) {
    auto* button = dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

/// Clicks row i of a list as the user does.
void ClickRow(RowListView* view, qsizetype i) {
    const QModelIndex index = view->model()->index(static_cast<int>(i), 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

/// The rows the view shows.
QStringList Rows(RowListView* view) {
    QStringList rows;
    for (int i = 0; i < view->model()->rowCount(); ++i) rows << view->model()->index(i, 0).data().toString();
    return rows;
}

int SelectedRow(RowListView* view) {
    const QModelIndexList rows = view->selectionModel()->selectedRows();
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
    /// With more modals to answer (moreModals), the first handler leaves the dialog open.
    void Run(const char* action, const std::function<void(QDialog*)>& handler, int moreModals = 0,
             const std::function<void(QWidget*)>& more = {}) {
        ModalWatchdog watchdog;
        watchdog.Expect([handler, moreModals](QWidget* modal) {
            auto* dialog = qobject_cast<QDialog*>(modal);
            QVERIFY(dialog);
            CloseOnExit closer{dialog, moreModals > 0};
            handler(dialog);
        });
        for (int i = 0; i < moreModals; ++i) watchdog.Expect(more);
        QAction* qaction = Frame()->findChild<QAction*>(QString::fromLatin1(action));
        QVERIFY(qaction);
        qaction->trigger();
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
        Run(actionName.constData(), [&](QDialog* dialog) {
            RowListView* view = List(dialog, listName.constData());
            QVERIFY(view);
            shownRows = Rows(view);
            QCOMPARE(shownRows.size(), 2);
            QCOMPARE(SelectedRow(view), -1);
            // The list has the focus, and no row looks selected while none is.
            view->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(view->hasFocus());
            QVERIFY(!view->currentIndex().isValid());
            Click(dialog, "deleteButton");  // nothing selected: the notice only
            ClickRow(view, 1);
            QCOMPARE(view->GetList().GetCurSel(), 1);
            m_fix->m_messageBox.m_answers = {MbAnswer::Cancel, MbAnswer::Ok};
            Click(dialog, "deleteButton");  // cancelled
            QCOMPARE(Rows(view).size(), 2);
            Click(dialog, "deleteButton");  // confirmed
            QCOMPARE(Rows(view), QStringList{shownRows[0]});
            QCOMPARE(SelectedRow(view), -1);  // the selection does not move on
            QVERIFY(!view->currentIndex().isValid());
            // The keyboard starts at the first row, which is then selected.
            view->setFocus(Qt::TabFocusReason);
            QTest::keyClick(view, Qt::Key_Down);
            QCOMPARE(view->GetList().GetCurSel(), 0);
            QCOMPARE(view->currentIndex().row(), 0);
            QCOMPARE(SelectedRow(view), 0);
            // The window's data is changed at once, the flag waits for the dialog to close.
            QVERIFY(!Doc().IsModified());
            Grab(dialog, list + QStringLiteral(".png"));
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
        Run("actionSchedules", [&](QDialog* dialog) {
            auto* calendar = dialog->findChild<QCalendarWidget*>(QStringLiteral("calendar"));
            RowListView* view = List(dialog, "scheduleList");
            QVERIFY(calendar && view);
            const auto bold = [calendar](int y, int m, int d) {
                return calendar->dateTextFormat(QDate(y, m, d)).fontWeight() == QFont::Bold;
            };
            QCOMPARE(calendar->yearShown(), 2026);  // the program's clock: December 2026
            QCOMPARE(calendar->monthShown(), 12);
            QVERIFY(bold(2026, 12, 10));
            QVERIFY(bold(2026, 12, 20));
            QVERIFY(!bold(2026, 12, 11));
            // Saturday blue, Sunday red, the other days in the text colour; readable on a
            // light and on a dark background (by a wide margin of lightness).
            const QColor saturday = calendar->weekdayTextFormat(Qt::Saturday).foreground().color();
            const QColor sunday = calendar->weekdayTextFormat(Qt::Sunday).foreground().color();
            QVERIFY2(saturday.blue() > saturday.red() + 60, qPrintable(saturday.name()));
            QVERIFY2(sunday.red() > sunday.blue() + 60, qPrintable(sunday.name()));
            QVERIFY(calendar->weekdayTextFormat(Qt::Friday).foreground().color() != saturday);
            QVERIFY(calendar->weekdayTextFormat(Qt::Friday).foreground().color() != sunday);
            for (const QColor& base : {QColor(Qt::white), QColor(0x20, 0x20, 0x20)}) {
                QPalette palette;
                palette.setColor(QPalette::Base, base);
                for (const auto& [day, colour] : ScheduleListDialog::WeekendColours(palette))
                    QVERIFY2(std::abs(colour.lightness() - base.lightness()) > 80,
                             qPrintable(colour.name() + u' ' + base.name()));
            }
            Grab(dialog, QStringLiteral("schedules.png"));
            ClickRow(view, 2);  // the journey: its month comes up
            QCOMPARE(calendar->yearShown(), 2027);
            QCOMPARE(calendar->monthShown(), 1);
            QVERIFY(bold(2027, 1, 5));
            m_fix->m_messageBox.m_answers = {MbAnswer::Ok};
            Click(dialog, "deleteButton");
            QVERIFY(!bold(2027, 1, 5));
            // The calendar changes no entry: a click on a day leaves the rows as they are.
            QTest::mouseClick(calendar, Qt::LeftButton, {}, calendar->rect().center());
            QCOMPARE(Rows(view).size(), 2);
        });
        QCOMPARE(Doc().GetScheduleBook().GetSchedules().size(), 2u);
    }

    void theMemoListSearchesAndKeepsItsListsRowForRow() {
        QStringList lines{QStringLiteral("鈴木、電話、０６"), QStringLiteral("田中、電話、０３")};
        for (int i = 0; i < 40; ++i) lines << QStringLiteral("田中、項目%1、値%1").arg(i);
        Fill(lines);
        Run("actionMemos", [&](QDialog* dialog) {
            auto* search = dialog->findChild<QLineEdit*>(QStringLiteral("searchField"));
            RowListView* objects = List(dialog, "objectList");
            RowListView* names = List(dialog, "nameList");
            RowListView* values = List(dialog, "valueList");
            QVERIFY(search && objects && names && values);
            // Japanese input in the search field only.
            for (QWidget* child : dialog->findChildren<QWidget*>())
                QCOMPARE(child->testAttribute(Qt::WA_InputMethodEnabled), child == search);
            QCOMPARE(search->accessibleName(), QStringLiteral("オブジェクト名"));
            QCOMPARE(Rows(objects).size(), 2);
            QCOMPARE(SelectedRow(objects), 0);  // the first object is shown
            QCOMPARE(Rows(names).size(), names->GetList().GetCount());

            search->setFocus();
            TypeText(search, QStringLiteral("田中\n"));  // Enter searches, the dialog stays
            QVERIFY(dialog->isVisible());
            QCOMPARE(objects->model()->index(SelectedRow(objects), 0).data().toString(), QStringLiteral("田中"));
            QCOMPARE(Rows(names).size(), 41);
            QCOMPARE(Rows(values).size(), 41);
            QCOMPARE(Rows(values)[1], QStringLiteral("値0"));

            // A row chosen in either list is chosen in the other; they scroll together.
            ClickRow(values, 3);
            QCOMPARE(SelectedRow(names), 3);
            ClickRow(names, 38);
            QCOMPARE(SelectedRow(values), 38);
            QVERIFY(names->verticalScrollBar()->value() > 0);
            QCOMPARE(values->verticalScrollBar()->value(), names->verticalScrollBar()->value());
            values->verticalScrollBar()->setValue(0);
            QCOMPARE(names->verticalScrollBar()->value(), 0);

            // A pair: Cancel keeps it, OK deletes it from both lists.
            ClickRow(names, 1);
            m_fix->m_messageBox.m_answers = {MbAnswer::Cancel, MbAnswer::Ok};
            Click(dialog, "deletePairButton");
            QCOMPARE(Rows(names).size(), 41);
            Click(dialog, "deletePairButton");
            QCOMPARE(Rows(names).size(), 40);
            QCOMPARE(Rows(values)[1], QStringLiteral("値1"));
            QCOMPARE(Rows(names)[1], QStringLiteral("項目1"));

            // An object: the row goes, the pair lists empty.
            ClickRow(objects, Rows(objects).indexOf(QStringLiteral("鈴木")));
            QCOMPARE(Rows(names), QStringList{QStringLiteral("電話")});
            m_fix->m_messageBox.m_answers = {MbAnswer::Ok};
            Click(dialog, "deleteObjectButton");
            QCOMPARE(Rows(objects), QStringList{QStringLiteral("田中")});
            QVERIFY(Rows(names).isEmpty());
            // A search that finds nothing leaves no row selected.
            search->clear();
            TypeText(search, QStringLiteral("山田"));
            Click(dialog, "searchButton");
            QCOMPARE(SelectedRow(objects), -1);
        });
        QCOMPARE(Shown().size(), std::size_t(3));
        QCOMPARE(QString::fromStdString(Shown()[0]), QStringLiteral("選択されている属性を削除してよいですか？"));
        QCOMPARE(QString::fromStdString(Shown()[2]),
                 QStringLiteral("選択されているオブジェクトを削除してよいですか？"));
        QVERIFY(Doc().IsModified());
        QCOMPARE(Doc().GetMemos().GetCount(), 1u);
    }

    void theExportWritesTheChosenFileInTheChosenEncoding_data() {
        QTest::addColumn<int>("typeIndex");
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
        QFETCH(int, typeIndex);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        Fill({QStringLiteral("田中、電話、０３"), QStringLiteral("田中、住所、港区、芝")});
        const QString path = m_env->File(name);
        QString proposed;
        QString type;
        for (int round = 0; round < 2; ++round) {
            // The second round finds the file there and is told not to overwrite it.
            Run(
                "actionMemos",
                [](QDialog* dialog) {
                    QTimer::singleShot(0, dialog->findChild<QPushButton*>(QStringLiteral("exportButton")),
                                       &QPushButton::click);
                },
                2,
                [&](QWidget* modal) {
                    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                        QCOMPARE(files->objectName(), QStringLiteral("memoExportDialog"));
                        proposed = files->selectedFiles().value(0);
                        type = files->selectedNameFilter();
                        files->selectNameFilter(MemoListDialog::ExportFileTypes()[typeIndex]);
                        // The user goes to the folder and types the name.
                        files->setDirectory(m_env->Path());
                        auto* nameReply = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                        QVERIFY(nameReply);
                        nameReply->setText(name);
                        static_cast<QDialog*>(files)->accept();
                    } else {
                        static_cast<QDialog*>(modal)->accept();  // the memo list again
                    }
                });
            QVERIFY(!Shown().empty());
            if (round == 0) {
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
        Run(name.constData(), [&](QDialog* dialog) {
            const QRect inside = dialog->rect();
            for (QWidget* child : dialog->findChildren<QWidget*>()) {
                if (child->parentWidget() != dialog) continue;
                QVERIFY2(!child->objectName().isEmpty(), child->metaObject()->className());
                QVERIFY2(!child->accessibleName().isEmpty(), qPrintable(child->objectName()));
                QVERIFY2(inside.contains(child->geometry()), qPrintable(child->objectName()));
                if (qobject_cast<QPushButton*>(child) || qobject_cast<QLabel*>(child) ||
                    qobject_cast<QCalendarWidget*>(child) || qobject_cast<QLineEdit*>(child)) {
                    QVERIFY2(child->width() >= child->minimumSizeHint().width(), qPrintable(child->objectName()));
                    QVERIFY2(child->height() >= child->minimumSizeHint().height(), qPrintable(child->objectName()));
                }
            }
            if (RowListView* objects = List(dialog, "objectList"))
                ClickRow(objects, Rows(objects).indexOf(QStringLiteral("田中")));
            Grab(dialog, action + QStringLiteral(".png"));
        });
    }
};

QTEST_MAIN(ListDialogsTest)
#include "ListDialogsTest.moc"
