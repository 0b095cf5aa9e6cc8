// The log file: line shape, encoding, recreation, thread safety, and that it
// stays the user's own.
#include "app/logfile.h"

#include "testsupport/testmedia.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <sys/stat.h>

namespace {
mode_t Mode(const QString& path)
{
    return mode_t(TestMedia::FileMode(path));
}

QByteArray Md5(const QString& path)
{
    return TestMedia::FileMd5(path);
}
} // namespace

class TestLog : public QObject
{
    Q_OBJECT

    static QByteArray logBytes()
    {
        QFile file(LogFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        RemovePreviousLogFile();
        qInstallMessageHandler(LogMessageHandler);
    }
    void cleanup() { qInstallMessageHandler(nullptr); }

    void lineShape()
    {
        const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
        QCOMPARE(FormatLogLine(when, QStringLiteral("hello")),
                 QStringLiteral("2024-03-05 14:07:09 Tue : hello"));
        // In the user's private folder, never in the shared temporary one.
        QCOMPARE(LogFilePath(), qEnvironmentVariable("XDG_RUNTIME_DIR") +
                                    QStringLiteral("/splicora/splicora.log"));
    }

    void everyMessageIsOneCrLfLine()
    {
        qDebug("first %d", 1);
        qWarning("second");
        qDebug("%s", "two\nlines");
        qDebug("%s", qUtf8Printable(QString::fromUtf8("名字 ünïcode.mp4")));
        const QByteArray bytes = logBytes();
        QVERIFY(bytes.endsWith("\r\n"));
        const QString text = QString::fromUtf8(bytes);
        const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        const QRegularExpression shape(
            QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d [A-Z][a-z]{2} : "));
        for (const QString& line : lines)
            QVERIFY2(shape.match(line).hasMatch(), qPrintable(line));
        QVERIFY(lines[0].endsWith(QLatin1String(" : first 1")));
        QVERIFY(lines[1].endsWith(QLatin1String(" : second"))); // no level written
        QVERIFY(lines[2].endsWith(QLatin1String(" : two\nlines")));
        QVERIFY(lines[3].endsWith(QString::fromUtf8(" : 名字 ünïcode.mp4")));
    }

    void deletedFileOrFolderIsCreatedAgain()
    {
        qDebug("before");
        QVERIFY(QFile::remove(LogFilePath()));
        qDebug("after");
        const QString text = QString::fromUtf8(logBytes());
        QVERIFY(!text.contains(QLatin1String("before")));
        QVERIFY(text.contains(QLatin1String(" : after\r\n")));
        // The whole folder gone: it is made again.
        QDir(LogFolderPath()).removeRecursively();
        qDebug("again");
        QVERIFY(QString::fromUtf8(logBytes()).contains(QLatin1String(" : again")));
        QCOMPARE(Mode(LogFolderPath()) & 07777, mode_t(0700));
    }

    void logIsReadableByTheUserAlone()
    {
        // Even with a umask that would hand the file to everybody.
        const mode_t previous = ::umask(0);
        qDebug("private");
        ::umask(previous);
        QCOMPARE(Mode(LogFolderPath()), mode_t(S_IFDIR | 0700));
        QCOMPARE(Mode(LogFilePath()), mode_t(S_IFREG | 0600));
        QVERIFY(logBytes().contains(" : private\r\n"));
    }

    void nothingIsWrittenThroughWhatStandsInTheLogsPlace_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to a file") << "link";
        QTest::newRow("link to no file yet") << "dangling";
        QTest::newRow("pipe") << "pipe";
    }

    void nothingIsWrittenThroughWhatStandsInTheLogsPlace()
    {
        QFETCH(QString, kind);
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        const QString target = elsewhere.filePath(QStringLiteral("target"));
        if (kind == QLatin1String("link")) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("someone's file\n");
        }
        const QByteArray before = Md5(target);
        QFile::remove(LogFilePath());
        if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(LogFilePath()).constData(), 0600), 0);
        else
            QVERIFY(QFile::link(target, LogFilePath()));

        qDebug("must not land anywhere"); // a pipe without reader must not hang it

        QCOMPARE(Md5(target), before);
        QCOMPARE(QFile::exists(target), kind == QLatin1String("link"));
        QCOMPARE(Mode(LogFilePath()) & S_IFMT, kind == QLatin1String("pipe") ? S_IFIFO : S_IFLNK);
        // The next start removes it, and logging goes on in a file of its own.
        RemovePreviousLogFile();
        QCOMPARE(Md5(target), before);
        qDebug("fresh");
        QCOMPARE(Mode(LogFilePath()), mode_t(S_IFREG | 0600));
        QVERIFY(logBytes().contains(" : fresh\r\n"));
    }

    void threadsNeverInterleaveWithinALine()
    {
        constexpr int kThreads = 6;
        constexpr int kLines = 150;
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back(QThread::create([t] {
                for (int i = 0; i < kLines; ++i)
                    qDebug("thread %d line %d %s", t, i,
                           "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
            }));
            threads.back()->start();
        }
        for (auto& thread : threads)
            QVERIFY(thread->wait(60000));
        const QStringList lines =
            QString::fromUtf8(logBytes()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), kThreads * kLines);
        const QRegularExpression shape(QStringLiteral(
            "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\w{3} : thread \\d line \\d+ x{40}$"));
        for (const QString& line : lines)
            QVERIFY2(shape.match(line).hasMatch(), qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestLog)
#include "test_log.moc"
