// The window's file commands over the core: the save-changes question on every path that
// replaces the notebook or closes the window, the Save As prompt of an untitled notebook,
// start-up from the recent-file list, F9 against nelo-cli's \read, and the recovery copy
// when the session ends from outside.
#include "DesktopTestSupport.h"
#include "app/RecoveryCopy.h"
#include "desktop/ConversationPane.h"
#include "desktop/DesktopApplication.h"
#include "desktop/FileDialogs.h"
#include "desktop/InputPane.h"
#include "desktop/QtText.h"
#include "desktop/SessionEnd.h"
#include "platform/CodePage.h"
#include "platform/LockFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLockFile>
#include <QSysInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <new>

using namespace nelo;

namespace {

enum class Path { New, Open, Recent, Close };
enum class Title { Untitled, Named };

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

/// A watchdog handler that picks path in a file dialog.
std::function<void(QWidget*)> ChooseFile(const QString& objectName, const QString& path) {
    return [objectName, path](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        QVERIFY2(dialog, widget->metaObject()->className());
        QCOMPARE(dialog->objectName(), objectName);
        // selectFile() leaves the name field alone while it has the focus: type the name.
        auto* nameReply = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(nameReply);
        nameReply->setText(path);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog checks the name first
    };
}

std::string Utf8(const QString& s) { return s.toStdString(); }

}  // namespace

Q_DECLARE_METATYPE(Path)
Q_DECLARE_METATYPE(Title)
Q_DECLARE_METATYPE(MbAnswer)

class FilesTest : public QObject {
    Q_OBJECT

    TestEnvironment m_env;
    std::unique_ptr<WindowFixture> m_fix;

    MainWindow* Frame() { return m_fix->m_window.get(); }
    NotebookSession& App() { return m_fix->m_app; }
    ScriptedMessageBox& Boxes() { return m_fix->m_messageBox; }
    QString Conversation() { return Frame()->GetConversationPane()->toPlainText(); }

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { m_fix = std::make_unique<WindowFixture>(); }
    void cleanup() { m_fix.reset(); }

    void theSaveQuestionOnEachPath_data() {
        QTest::addColumn<Path>("path");
        QTest::addColumn<Title>("title");
        QTest::addColumn<MbAnswer>("answer");
        const std::pair<const char*, Path> paths[] = {
            {"new", Path::New}, {"open", Path::Open}, {"recent", Path::Recent}, {"close", Path::Close}};
        for (const auto& [name, path] : paths) {
            QTest::addRow("%s, named, yes", name) << path << Title::Named << MbAnswer::Yes;
            QTest::addRow("%s, untitled, yes", name) << path << Title::Untitled << MbAnswer::Yes;
            QTest::addRow("%s, named, no", name) << path << Title::Named << MbAnswer::No;
            QTest::addRow("%s, untitled, cancel", name) << path << Title::Untitled << MbAnswer::Cancel;
            QTest::addRow("%s, named, cancel", name) << path << Title::Named << MbAnswer::Cancel;
        }
    }

    void theSaveQuestionOnEachPath() {
        QFETCH(Path, path);
        QFETCH(Title, title);
        QFETCH(MbAnswer, answer);
        QTemporaryDir dir;
        const QString other = dir.filePath(QStringLiteral("other.nel"));
        const QString mine = dir.filePath(QStringLiteral("mine.nel"));
        QVERIFY(App().SaveNotebookTo(Utf8(other)));
        if (title == Title::Named)
            QVERIFY(App().SaveNotebookTo(Utf8(mine)));
        else
            App().OnFileNew();
        const QByteArray mineBefore = ReadBytes(mine);
        TypeText(Frame()->GetInputPane(), QStringLiteral("半径=5\n"));
        QVERIFY(App().GetNotebook().IsModified());
        const std::string titleBefore = App().GetTitle();

        ModalWatchdog watchdog;
        if (path == Path::Open) watchdog.Expect(ChooseFile(QStringLiteral("openNotebookDialog"), other));
        const QString saved = dir.filePath(QStringLiteral("saved"));
        if (answer == MbAnswer::Yes && title == Title::Untitled)
            watchdog.Expect(ChooseFile(QStringLiteral("saveNotebookDialog"), saved));
        Boxes().m_answers = {answer};
        switch (path) {
        case Path::New: Frame()->OnFileNew(); break;
        case Path::Open: Frame()->OnFileOpen(); break;
        case Path::Recent: {
            const auto& entries = App().GetRecentFileList().GetEntries();
            const auto it = std::find(entries.begin(), entries.end(), Utf8(other));
            QVERIFY(it != entries.end());
            Frame()->OnOpenRecentFile(static_cast<int>(it - entries.begin()));
            break;
        }
        case Path::Close: Frame()->close(); break;
        }
        QVERIFY(watchdog.AllAnswered());
        QCOMPARE(watchdog.Unanswered(), 0);
        QCOMPARE(Boxes().m_shown.size(), std::size_t(1));
        QCOMPARE(Boxes().m_shown[0], Cp932ToUtf8(titleBefore).text + " への変更を保存しますか?");

        if (answer == MbAnswer::Cancel) {
            // Nothing happened: the same notebook, still modified, the window still open.
            QVERIFY(App().GetNotebook().IsModified());
            QCOMPARE(App().GetTitle(), titleBefore);
            QVERIFY(Frame()->isVisible());
            QVERIFY(Conversation().contains(QStringLiteral("半径＝５")));
            QCOMPARE(ReadBytes(mine), mineBefore);
            return;
        }
        if (answer == MbAnswer::Yes && title == Title::Named) QVERIFY(ReadBytes(mine) != mineBefore);
        if (answer == MbAnswer::Yes && title == Title::Untitled)
            QVERIFY2(QFile::exists(saved + QStringLiteral(".nel")), "the Save As prompt adds .nel");
        if (answer == MbAnswer::No) QCOMPARE(ReadBytes(mine), mineBefore);
        switch (path) {
        case Path::New:
            QCOMPARE(App().GetPathName(), std::string());
            QVERIFY(!Conversation().contains(QStringLiteral("半径＝５")));
            break;
        case Path::Open:
        case Path::Recent:
            QCOMPARE(App().GetPathName(), Utf8(other));
            QCOMPARE(Frame()->windowTitle(), QStringLiteral("other.nel - ＮＥＬＯ"));
            break;
        case Path::Close: QVERIFY(!Frame()->isVisible()); break;
        }
    }

    void aFailedOpenLeavesTheNotebookShown() {
        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("bad.nel"));
        WriteBytes(bad, QByteArray("not a notebook at all"));
        TypeText(Frame()->GetInputPane(), QStringLiteral("1+2\n"));
        const QString before = Conversation();
        ModalWatchdog watchdog;
        watchdog.Expect(ChooseFile(QStringLiteral("openNotebookDialog"), bad));
        Boxes().m_answers = {MbAnswer::No};
        Frame()->OnFileOpen();
        QVERIFY(watchdog.AllAnswered());
        QCOMPARE(Boxes().m_shown.size(), std::size_t(1));
        QCOMPARE(Boxes().m_shown.back(), std::string(Cp932ToUtf8(NotebookSession::FormatErrorText()).text));
        QCOMPARE(Conversation(), before);
        QCOMPARE(Frame()->windowTitle(), QStringLiteral("無題 - ＮＥＬＯ"));
    }

    void aRecentFileThatNoLongerOpensLeavesTheList() {
        QTemporaryDir dir;
        const QString gone = dir.filePath(QStringLiteral("gone.nel"));
        QVERIFY(App().SaveNotebookTo(Utf8(gone)));
        App().OnFileNew();
        QFile::remove(gone);
        Frame()->OnOpenRecentFile(0);
        QCOMPARE(Boxes().m_shown.size(), std::size_t(1));
        const auto& entries = App().GetRecentFileList().GetEntries();
        QVERIFY(std::find(entries.begin(), entries.end(), Utf8(gone)) == entries.end());
        QCOMPARE(Frame()->windowTitle(), QStringLiteral("無題 - ＮＥＬＯ"));
    }

    void startUpFromTheRecentList_data() {
        QTest::addColumn<QByteArray>("damage");  // "" keeps the file, "gone" removes it, else its new bytes
        QTest::addColumn<QString>("message");    // the start-up's message box (UTF-8), empty for none
        QTest::newRow("saved file reopens") << QByteArray() << QString();
        QTest::newRow("vanished file") << QByteArray("gone") << QStringLiteral("が見つかりません。");
        QTest::newRow("unreadable file") << QByteArray("garbage bytes") << Q(NotebookSession::FormatErrorText());
    }

    void startUpFromTheRecentList() {
        QFETCH(QByteArray, damage);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("book.nel"));
        TypeText(Frame()->GetInputPane(), QStringLiteral("半径=5\n"));
        QVERIFY(App().SaveNotebookTo(Utf8(file)));
        App().OnFileNew();
        if (damage == "gone")
            QFile::remove(file);
        else if (!damage.isEmpty())
            WriteBytes(file, damage);
        Boxes().m_shown.clear();

        QVERIFY(Frame()->StartUp(std::string(), false));
        if (message.isEmpty()) {
            QVERIFY(Boxes().m_shown.empty());
            QCOMPARE(Frame()->windowTitle(), QStringLiteral("book.nel - ＮＥＬＯ"));
            QVERIFY(!App().GetNotebook().IsModified());
            return;
        }
        QCOMPARE(Boxes().m_shown.size(), std::size_t(1));
        QVERIFY2(QString::fromStdString(Boxes().m_shown[0]).contains(message), Boxes().m_shown[0].c_str());
        // Named, and out of the list; the file itself stays as it was.
        QVERIFY2(QString::fromStdString(Boxes().m_shown[0]).startsWith(file), Boxes().m_shown[0].c_str());
        const auto& entries = App().GetRecentFileList().GetEntries();
        QVERIFY(std::find(entries.begin(), entries.end(), Utf8(file)) == entries.end());
        if (damage != "gone") QCOMPARE(ReadBytes(file), damage);
        QCOMPARE(Frame()->windowTitle(), QStringLiteral("無題 - ＮＥＬＯ"));
        QCOMPARE(App().GetPathName(), std::string());
        QVERIFY(Conversation().contains(QStringLiteral("入力例が表示されます。")));
    }

    void fileDialogsOpenWideEnoughAndKeepTheirSize() {
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size() * 9 / 10;
        const QSize first = FileDialogSize::DefaultSize().boundedTo(screen);
        struct Step {
            void (MainWindow::*command)();
            const char* dialog;
            QSize expected;
            QSize leftAt;  // the size the user leaves it at
        };
        const Step steps[] = {
            {&MainWindow::OnFileOpen, "openNotebookDialog", first, QSize(600, 420)},
            {&MainWindow::OnReadTextFile, "readTextFileDialog", QSize(600, 420), QSize(640, 400)},
            {&MainWindow::OnFileSaveAs, "saveNotebookDialog", QSize(640, 400), QSize(640, 400)},
        };
        for (const Step& step : steps) {
            ModalWatchdog watchdog;
            watchdog.Expect([&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                QVERIFY(dialog);
                QCOMPARE(dialog->objectName(), QString::fromLatin1(step.dialog));
                QCOMPARE(dialog->size(), step.expected);
                // Whole on the screen.
                QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(dialog->frameGeometry()));
                dialog->resize(step.leftAt);
                dialog->reject();
            });
            (Frame()->*step.command)();
            QVERIFY(watchdog.AllAnswered());
        }
        QCOMPARE(QString::fromStdString(App().GetProfile().GetProfileString("Settings", "FileDialogSize")),
                 QStringLiteral("640 400"));
    }

    void aNotebookOpenInNeloCliIsOpenedOnlyWhenWanted() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("shared.nel"));
        QVERIFY(App().SaveNotebookTo(Utf8(file)));
        App().OnFileNew();
        const QString lock = QString::fromStdString(NotebookLockPath(ResolvedPath(Utf8(file))));
        QVERIFY(!QFile::exists(lock));
        // nelo-cli keeps the notebook open while its input is open.
        QProcess cli;
        cli.start(QStringLiteral(NELO_CLI), {file});
        QVERIFY(cli.waitForStarted());
        QTRY_VERIFY(QFile::exists(lock));
        const QString said =
            file + QStringLiteral(" は nelo-cli（プロセス番号 %1）で開かれています。").arg(cli.processId());
        for (MbAnswer answer : {MbAnswer::No, MbAnswer::Yes}) {
            App().OnFileNew();
            Boxes().m_shown.clear();
            Boxes().m_answers = {answer};
            QCOMPARE(App().OpenNotebookFile(Utf8(file)), answer == MbAnswer::Yes);
            QCOMPARE(Boxes().m_shown.size(), std::size_t(1));
            QVERIFY2(QString::fromStdString(Boxes().m_shown[0]).startsWith(said), Boxes().m_shown[0].c_str());
        }
        QCOMPARE(Frame()->windowTitle(), QStringLiteral("shared.nel - ＮＥＬＯ"));
        // Once nelo-cli has ended, the lock is free and nothing is asked.
        cli.closeWriteChannel();
        QVERIFY(cli.waitForFinished(30000));
        QVERIFY(!QFile::exists(lock));
        App().OnFileNew();
        Boxes().m_shown.clear();
        QVERIFY(App().OpenNotebookFile(Utf8(file)));
        QVERIFY(Boxes().m_shown.empty());
        QVERIFY(QFile::exists(lock));
    }

    void theLockIsOneThatQLockFileRespectsAndTheOtherWayRound() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lock"));
        {
            LockFile ours(Utf8(path));
            QCOMPARE(ours.TryLock(), LockResult::Taken);
            QLockFile theirs(path);
            theirs.setStaleLockTime(0);
            QVERIFY(!theirs.tryLock());
            QCOMPARE(theirs.error(), QLockFile::LockFailedError);
            qint64 pid = 0;
            QString host, program;
            QVERIFY(theirs.getLockInfo(&pid, &host, &program));
            QCOMPARE(pid, QCoreApplication::applicationPid());
            QCOMPARE(program, QStringLiteral("desktop_FilesTest"));
        }
        QVERIFY(!QFile::exists(path));
        QLockFile theirs(path);
        theirs.setStaleLockTime(0);
        QVERIFY(theirs.tryLock());
        LockFile ours(Utf8(path));
        QCOMPARE(ours.TryLock(), LockResult::Held);
        QCOMPARE(ours.GetHolder().pid, QCoreApplication::applicationPid());
        QCOMPARE(QString::fromStdString(ours.GetHolder().program), QStringLiteral("desktop_FilesTest"));
        QCOMPARE(QString::fromStdString(ours.GetHolder().bootId), QString::fromLatin1(QSysInfo::bootUniqueId()));
        QCOMPARE(QString::fromStdString(ours.GetHolder().machineId), QString::fromLatin1(QSysInfo::machineUniqueId()));
        theirs.unlock();
        QCOMPARE(ours.TryLock(), LockResult::Taken);
    }

    void aStartWithoutNewIgnoresTheListWhenAFileIsNamed() {
        QTemporaryDir dir;
        const QString recent = dir.filePath(QStringLiteral("recent.nel"));
        const QString named = dir.filePath(QStringLiteral("named.nel"));
        QVERIFY(App().SaveNotebookTo(Utf8(recent)));
        QVERIFY(App().SaveNotebookTo(Utf8(named)));
        QVERIFY(App().SaveNotebookTo(Utf8(recent)));
        App().OnFileNew();
        QVERIFY(Frame()->StartUp(Utf8(named), false));
        QCOMPARE(Frame()->windowTitle(), QStringLiteral("named.nel - ＮＥＬＯ"));
    }

    void recoveryCopiesAreMentionedOnce() {
        QVERIFY(QDir().mkpath(QString::fromStdString(RecoveryFolder())));
        const QString copy =
            QDir(QString::fromStdString(RecoveryFolder())).filePath(QStringLiteral("無題-20261208-090000.nel"));
        WriteBytes(copy, QByteArray("x"));
        Frame()->MentionRecoveryCopies();
        QCOMPARE(Boxes().m_shown.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(Boxes().m_shown[0]).contains(copy));
        Frame()->MentionRecoveryCopies();
        QCOMPARE(Boxes().m_shown.size(), std::size_t(1));
    }

    void recentFileMenuTexts_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::newRow("first") << 0 << QStringLiteral("/home/u/memo.nel") << QStringLiteral("&1 /home/u/memo.nel");
        QTest::newRow("fourth") << 3 << QStringLiteral("/a/b.nel") << QStringLiteral("&4 /a/b.nel");
        QTest::newRow("ampersand") << 1 << QStringLiteral("/x/R&D.nel") << QStringLiteral("&2 /x/R&&D.nel");
    }

    void recentFileMenuTexts() {
        QFETCH(int, index);
        QFETCH(QString, path);
        QFETCH(QString, text);
        QCOMPARE(RecentFileMenuText(index, path), text);
    }

    void readingATextFileGivesNeloCliConversation() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("lines.txt"));
        // The usual cases: an empty line, a memo, a variable, no final line break, and
        // long lines (255, 1,000 and 10,000 bytes), each submitted whole.
        QByteArray text = QStringLiteral("1+2\r\n\r\n田中、電話、03-1234\n半径=5\n半径*2\n").toUtf8();
        text += QByteArray(127, '1') + "+" + QByteArray(127, '2') + "\n";
        text += QStringLiteral("山田、住所、").toUtf8() + QByteArray(1000 - 18, 'x') + "\n";
        text += QStringLiteral("山田、メモ、").toUtf8() + QByteArray(10000 - 18, 'y') + "\n山田は\n10/4";
        WriteBytes(file, text);

        ModalWatchdog watchdog;
        watchdog.Expect(ChooseFile(QStringLiteral("readTextFileDialog"), file));
        Frame()->OnReadTextFile();
        QVERIFY(watchdog.AllAnswered());

        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("cli-config")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("cli-state")));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(NELO_CLI), {QStringLiteral("--new")});
        QVERIFY(cli.waitForStarted());
        cli.write((QStringLiteral("\\read ") + file + QStringLiteral("\n")).toUtf8());
        cli.closeWriteChannel();
        QVERIFY(cli.waitForFinished(30000));
        const QString expected = QString::fromUtf8(cli.readAllStandardOutput());
        QVERIFY(expected.contains(QStringLiteral("太郎 >> ２．５")));
        auto chopped = [](QString s) {
            while (s.endsWith(QLatin1Char('\n'))) s.chop(1);
            return s;
        };
        QCOMPARE(chopped(Conversation()), chopped(expected));
        // Every line shows in the input pane, the caret on an empty last line.
        QVERIFY(expected.contains(QStringLiteral("メモ：") + QString(10000 - 18, QLatin1Char('y'))));
        const QStringList inputLines = Frame()->GetInputPane()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(inputLines.size(), 9 + 1);
        QCOMPARE(inputLines.back(), QString());
    }

    void aLongReadCanBeCancelledBetweenLines() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("long.txt"));
        const int lines = 40000;
        WriteBytes(file, QByteArray("1+1\n").repeated(lines));
        ModalWatchdog watchdog;
        watchdog.Expect([](QWidget* widget) {
            auto* progress = qobject_cast<QProgressDialog*>(widget);
            QVERIFY2(progress, widget->metaObject()->className());
            auto* cancel = progress->findChild<QPushButton*>();
            QVERIFY(cancel);
            QCOMPARE(cancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
            cancel->click();
        });
        Frame()->ReadTextFile(file, 0);
        QVERIFY(watchdog.AllAnswered());
        const int done = int(Conversation().count(QStringLiteral("太郎 >> ２")));
        QVERIFY2(done > 0 && done < lines, qPrintable(QString::number(done)));
        QCOMPARE(Frame()->GetInputPane()->toPlainText(), QStringLiteral("1+1\n").repeated(done));
        QVERIFY(Frame()->statusBar()->currentMessage().contains(QStringLiteral("取り消しました")));
        // The command is free again.
        const QString small = dir.filePath(QStringLiteral("small.txt"));
        WriteBytes(small, QByteArray("3*3\n"));
        Frame()->ReadTextFile(small);
        QVERIFY2(Conversation().trimmed().endsWith(QStringLiteral("太郎 >> ９")), qPrintable(Conversation()));
    }

    void theSessionEndKeepsUnsavedChanges_data() {
        QTest::addColumn<int>("signo");
        QTest::addColumn<bool>("modified");
        QTest::newRow("SIGTERM, changes") << int(SIGTERM) << true;
        QTest::newRow("SIGHUP, changes") << int(SIGHUP) << true;
        QTest::newRow("SIGINT, changes") << int(SIGINT) << true;
        QTest::newRow("SIGTERM, nothing to keep") << int(SIGTERM) << false;
    }

    void theSessionEndKeepsUnsavedChanges() {
        QFETCH(int, signo);
        QFETCH(bool, modified);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--session-end-child"), modified ? QStringLiteral("1") : QStringLiteral("0")});
        QVERIFY(child.waitForStarted());
        QByteArray out;
        while (!out.contains("READY") && child.waitForReadyRead(20000)) out += child.readAllStandardOutput();
        QVERIFY2(out.contains("READY"), child.readAllStandardError().constData());
        ::kill(static_cast<pid_t>(child.processId()), signo);
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        const QString err = QString::fromUtf8(child.readAllStandardError());
        const std::vector<std::string> copies = TakeUnmentionedRecoveryCopies();
        if (!modified) {
            QVERIFY(copies.empty());
            return;
        }
        QCOMPARE(copies.size(), std::size_t(1));
        QVERIFY2(err.contains(QStringLiteral("復元用のコピーに保存しました: ") + QString::fromStdString(copies[0])),
                 qPrintable(err));
        // The copy holds the change.
        QVERIFY(App().OpenNotebookFile(copies[0]));
        TypeText(Frame()->GetInputPane(), QStringLiteral("半径*1\n"));
        QVERIFY2(Conversation().trimmed().endsWith(QStringLiteral("太郎 >> ５")), qPrintable(Conversation()));
    }

    /// Starts the session-end child with an unsaved change (and mode), waits until it is
    /// ready; false when it did not start.
    static bool StartChild(QProcess& child, const QStringList& extra, const QProcessEnvironment& env) {
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    QStringList{QStringLiteral("--session-end-child"), QStringLiteral("1")} + extra);
        if (!child.waitForStarted()) return false;
        QByteArray out;
        while (!out.contains("READY") && child.waitForReadyRead(20000)) out += child.readAllStandardOutput();
        return out.contains("READY");
    }

    /// The one recovery copy written since the last look holds the child's change, and
    /// stderr says where it is.
    void CheckChildCopy(const QString& err) {
        const std::vector<std::string> copies = TakeUnmentionedRecoveryCopies();
        QCOMPARE(copies.size(), std::size_t(1));
        QVERIFY2(err.contains(QStringLiteral("復元用のコピーに保存しました: ") + QString::fromStdString(copies[0])),
                 qPrintable(err));
        QVERIFY(App().OpenNotebookFile(copies[0]));
        TypeText(Frame()->GetInputPane(), QStringLiteral("半径*1\n"));
        QVERIFY2(Conversation().trimmed().endsWith(QStringLiteral("太郎 >> ５")), qPrintable(Conversation()));
    }

    // SIGTERM in the middle of a long F9 ends the read and the program within a moment,
    // with the lines read so far in the copy.
    void aSignalDuringALongReadActsAtOnce() {
        // Two million lines: a read of many seconds.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.txt"));
        WriteBytes(path, QByteArray("1+1\n").repeated(2000000));
        QProcess child;
        QVERIFY(StartChild(child, {QStringLiteral("long-read"), path}, QProcessEnvironment::systemEnvironment()));
        QTest::qWait(500);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        ::kill(static_cast<pid_t>(child.processId()), SIGTERM);
        QVERIFY(child.waitForFinished(20000));
        QVERIFY2(sinceSignal.elapsed() < 1000, qPrintable(QString::number(sinceSignal.elapsed())));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        CheckChildCopy(QString::fromUtf8(child.readAllStandardError()));
    }

    // The X server goes away under the window: Qt ends the program with exit(1) from the
    // event loop, and the changes go to a recovery copy on the way out.
    void aBrokenDisplayConnectionKeepsUnsavedChanges() {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty()) QSKIP("needs Xvfb");
        QProcess server;
        // -displayfd: the server picks a free display and writes its number when ready.
        server.start(xvfb,
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                      QStringLiteral("800x600x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QVERIFY(server.waitForStarted());
        QByteArray display;
        while (!display.contains('\n') && server.waitForReadyRead(20000)) display += server.readAllStandardOutput();
        QVERIFY2(display.contains('\n'), server.readAllStandardError().constData());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(display.trimmed()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QProcess child;
        QVERIFY(StartChild(child, {}, env));
        server.kill();
        server.waitForFinished();
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 1);
        CheckChildCopy(QString::fromUtf8(child.readAllStandardError()));
    }

    // An allocation that fails in an event handler reaches the application object, which
    // keeps the changes before the program ends.
    void runningOutOfMemoryKeepsUnsavedChanges() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer ends the program on a failed allocation instead of throwing");
#endif
        QProcess child;
        QVERIFY(StartChild(child, {QStringLiteral("out-of-memory")}, QProcessEnvironment::systemEnvironment()));
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 1);
        const QString err = QString::fromUtf8(child.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("メモリが足りなくなったため終了します。")), qPrintable(err));
        CheckChildCopy(err);
    }
};

/// The child of the session-end tests: a window with (or without) an unsaved change,
/// wired as the program's main does, waiting for the signal; "out-of-memory" also has an
/// allocation fail in an event handler a moment later, "long-read FILE" reads FILE (F9).
static int RunSessionEndChild(int argc, char** argv) {
    DesktopApplication app(argc, argv);
    WindowFixture fix;
    SessionEnd sessionEnd(fix.m_app, fix.m_window.get());
    app.SetOutOfMemoryHandler([&sessionEnd] { sessionEnd.EndOutOfMemory(); });
    if (argc > 2 && argv[2][0] == '1') TypeText(fix.m_window->GetInputPane(), QStringLiteral("半径=5\n"));
    if (argc > 3 && std::string(argv[3]) == "out-of-memory")
        QTimer::singleShot(100, [] {
            // More than any address space holds; kept, so that the request is made.
            [[maybe_unused]] static void* volatile s_pKept = nullptr;
            s_pKept = ::operator new (std::size_t{1} << 52);
        });
    if (argc > 4 && std::string(argv[3]) == "long-read") {
        const QString path = QString::fromLocal8Bit(argv[4]);
        QTimer::singleShot(0, [&fix, path] { fix.m_window->ReadTextFile(path, 0); });
    }
    std::printf("READY\n");
    std::fflush(stdout);
    return QApplication::exec();
}

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--session-end-child") return RunSessionEndChild(argc, argv);
    QApplication app(argc, argv);
    FilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FilesTest.moc"
