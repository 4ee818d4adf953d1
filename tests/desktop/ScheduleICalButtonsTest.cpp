// The schedule list's calendar file buttons: "iCalendar出力" proposes its file in the
// notebook's folder and writes every entry; "iCalendar読込み" registers the events of a
// file, shows them in the list at once and leaves the notebook modified.
#include "DesktopTestSupport.h"
#include "desktop/RowListView.h"
#include "desktop/MainWindow.h"
#include "desktop/QtMessageBox.h"
#include "text/Sjis.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace nelo;

namespace {

QStringList Rows(QWidget* dialog) {
    auto* view = dialog->findChild<RowListView*>(QStringLiteral("scheduleList"));
    QStringList rows;
    if (!view) return rows;
    for (int i = 0; i < view->model()->rowCount(); ++i) rows << view->model()->index(i, 0).data().toString();
    return rows;
}

}  // namespace

class ScheduleICalButtonsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<WindowFixture> m_fix;

    Notebook& Doc() { return m_fix->m_app.GetNotebook(); }
    std::vector<std::string>& Shown() { return m_fix->m_messageBox.m_shown; }

    // Opens the schedule list, clicks the button, answers its file dialog with the name
    // in the test's folder, and lets check look at the list once the file is handled.
    void ClickAndChoose(const char* button, const char* fileDialog, const QString& name, QString& proposed,
                        const std::function<void(QDialog*)>& check) {
        ModalWatchdog watchdog;
        watchdog.Expect([button](QWidget* modal) {
            QTimer::singleShot(0, modal->findChild<QPushButton*>(QString::fromLatin1(button)), &QPushButton::click);
        });
        watchdog.Expect([&](QWidget* modal) {
            auto* files = qobject_cast<QFileDialog*>(modal);
            QVERIFY(files);
            QCOMPARE(files->objectName(), QString::fromLatin1(fileDialog));
            proposed = files->selectedFiles().value(0);
            files->setDirectory(m_env->Path());
            auto* nameReply = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(nameReply);
            nameReply->setText(name);
            static_cast<QDialog*>(files)->accept();
        });
        watchdog.Expect([&](QWidget* modal) {
            auto* dialog = qobject_cast<QDialog*>(modal);
            QVERIFY(dialog);
            check(dialog);
            dialog->accept();
        });
        QAction* qaction = m_fix->m_window->findChild<QAction*>(QStringLiteral("actionSchedules"));
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

    void exportThenImportIntoANewNotebookGivesTheSameList() {
        for (const QString& line :
             {QStringLiteral("明日１０時 明日１２時 会議"), QStringLiteral("６月５日 ６月７日 出張")})
            m_fix->m_window->SubmitLine(line);
        Doc().SetClean();
        const QString name = QStringLiteral("予定.ics");
        QString proposed;
        QStringList before;
        ClickAndChoose("icalExportButton", "icalExportDialog", name, proposed,
                       [&](QDialog* dialog) { before = Rows(dialog); });
        // An untitled notebook proposes the home folder.
        QCOMPARE(proposed, QDir::home().filePath(QStringLiteral("ＮＥＬＯ予定.ics")));
        QCOMPARE(QString::fromStdString(Shown().back()), name + QStringLiteral("に予定を 2 件書き出しました。"));
        QFile file(m_env->File(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.startsWith("BEGIN:VCALENDAR\r\n"));
        QVERIFY(!Doc().IsModified());  // exporting changes nothing in the notebook
        QCOMPARE(before.size(), 2);

        // The same name again: the core asks (the file dialog does not), and No keeps the file.
        file.close();
        m_fix->m_messageBox.m_answers.push_back(MbAnswer::No);
        ClickAndChoose("icalExportButton", "icalExportDialog", name, proposed, [](QDialog*) {});
        QCOMPARE(QString::fromStdString(Shown()[Shown().size() - 2]),
                 name + QStringLiteral("ファイルがあります。上書きしますか?"));
        QCOMPARE(QString::fromStdString(Shown().back()), QStringLiteral("予定の書き出しを取りやめました。"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written);

        QVERIFY(m_fix->m_app.NewWithQuestion());
        QVERIFY(Doc().GetScheduleBook().GetSchedules().empty());
        QStringList after;
        ClickAndChoose("icalImportButton", "icalImportDialog", name, proposed, [&](QDialog* dialog) {
            after = Rows(dialog);
            QVERIFY(dialog->findChild<QPushButton*>(QStringLiteral("icalImportButton"))->accessibleName() ==
                    QStringLiteral("iCalendar読込み"));
            const QByteArray dir = qgetenv("NELO_GRAB_DIR");
            if (!dir.isEmpty()) dialog->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath("schedIcal.png"));
        });
        QCOMPARE(QString::fromStdString(Shown().back()), name + QStringLiteral("：予定を 2 件読み込みました。"));
        QCOMPARE(after, before);
        QVERIFY(Doc().IsModified());
    }

    void aLongReportShowsItsBeginningAndScrollsInTheDetails() {
        std::string report = "予定を 60 件読み込みました。"_sj;
        for (int i = 1; i <= 60; ++i) report += "\r\n" + std::to_string(i) + " 件目: 繰り返し 1 件"_sj;
        ModalWatchdog watchdog;
        watchdog.Expect([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            QCOMPARE(box->text().count(QLatin1Char('\n')), 12);
            QVERIFY(box->text().endsWith(QStringLiteral("…（続きは［詳細の表示］で）")));
            QVERIFY(box->detailedText().endsWith(QStringLiteral("60 件目: 繰り返し 1 件")));
            QVERIFY(box->height() < 600);
            box->accept();
        });
        QtMessageBox box;
        box.Show(report, "", MbButtons::Ok);
        QVERIFY(watchdog.AllAnswered());
    }
};

QTEST_MAIN(ScheduleICalButtonsTest)
#include "ScheduleICalButtonsTest.moc"
