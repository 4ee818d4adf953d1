// The window answers exactly as nelo-cli does: the golden transcripts typed into the
// input pane give the conversation nelo-cli prints, and a notebook saved from the window
// has the bytes nelo-cli writes for the same lines.
#include "DesktopTestSupport.h"
#include "desktop/ConversationPane.h"
#include "desktop/InputPane.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <ctime>

using namespace nelo;

namespace {

QString ReadUtf8(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(f.readAll());
}

/// The typed lines of a transcript and its clock, or false when it needs set-up the
/// window has no part in (terminal commands, copied files, arguments).
bool ReadCase(const QString& path, QStringList& lines, QByteArray& now, QByteArray& tz) {
    now = "2003-06-01 10:00:00";
    tz = "UTC0";
    lines.clear();
    for (const QString& line : ReadUtf8(path).split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("#! NELO_NOW="))) {
            now = line.mid(12).toUtf8();
        } else if (line.startsWith(QStringLiteral("#! TZ="))) {
            tz = line.mid(6).toUtf8();
        } else if (line.startsWith(QStringLiteral("#!")) || line.startsWith(QLatin1Char('\\'))) {
            return false;
        } else {
            lines << line;
        }
    }
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return true;
}

}  // namespace

class ParityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theConversationIsWhatNeloCliPrints_data() {
        QTest::addColumn<QString>("path");
        const QDir golden(QStringLiteral(NELO_SOURCE_DIR "/tests/golden"));
        for (const char* name : {"calc/grammar", "calc/time_sums", "calc/variables", "calc/register",
                                 "memo/register_and_query", "dates/weekday_and_base", "dates/era", "units/table",
                                 "conversation/fixed_words", "conversation/example_pages", "schedule/mend_phrases",
                                 "dates/everyday_phrases", "schedule/everyday_phrases", "schedule/period_queries"})
            QTest::newRow(name) << golden.filePath(QString::fromLatin1(name) + QStringLiteral(".in"));
    }

    void theConversationIsWhatNeloCliPrints() {
        QFETCH(QString, path);
        QStringList lines;
        QByteArray now, tz;
        QVERIFY2(ReadCase(path, lines, now, tz), "the case needs no terminal set-up");
        TestEnvironment env(now.constData());
        setenv("TZ", tz.constData(), 1);
        tzset();
        WindowFixture fix;
        for (const QString& line : lines) {
            if (line.isEmpty()) continue;  // an empty line submits nothing in either program
            TypeText(fix.m_window->GetInputPane(), line + QLatin1Char('\n'));
        }
        QString expected = ReadUtf8(path.chopped(3) + QStringLiteral(".out"));
        QString actual = fix.m_window->GetConversationPane()->toPlainText();
        if (!actual.endsWith(QLatin1Char('\n'))) actual += QLatin1Char('\n');
        // Line by line, so a failure names the first line that differs.
        QCOMPARE(actual.split(QLatin1Char('\n')), expected.split(QLatin1Char('\n')));
    }

    void aSavedNotebookHasTheBytesNeloCliWrites() {
        TestEnvironment env("2026-12-08 09:00:00");
        const QStringList lines = {QStringLiteral("田中、電話、03-1234"), QStringLiteral("半径＝５"),
                                   QStringLiteral("明日１０時～１２時 会議"), QStringLiteral("ｱ、ｲ")};
        const QString windowFile = env.File(QStringLiteral("window.nel"));
        const QString cliFile = env.File(QStringLiteral("cli.nel"));
        {
            WindowFixture fix;
            for (const QString& line : lines) TypeText(fix.m_window->GetInputPane(), line + QLatin1Char('\n'));
            QVERIFY(fix.m_app.SaveNotebookTo(windowFile.toStdString()));
        }
        QProcess cli;
        cli.setWorkingDirectory(env.Path());
        cli.start(QStringLiteral(NELO_CLI), {QStringLiteral("--new")});
        QVERIFY(cli.waitForStarted());
        cli.write((lines.join(QLatin1Char('\n')) + QStringLiteral("\n\\save ") + cliFile + QLatin1Char('\n')).toUtf8());
        cli.closeWriteChannel();
        QVERIFY(cli.waitForFinished(20000));
        QFile a(windowFile), b(cliFile);
        QVERIFY(a.open(QIODevice::ReadOnly));
        QVERIFY(b.open(QIODevice::ReadOnly));
        const QByteArray bytes = a.readAll();
        QVERIFY(bytes.size() > 0);
        QCOMPARE(bytes, b.readAll());
    }
};

QTEST_MAIN(ParityTest)
#include "ParityTest.moc"
