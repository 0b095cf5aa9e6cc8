// The real program started as a user would start it (under Xvfb): the
// window it shows, the single running copy and the log it leaves.
#include "app/logfile.h"
#include "app/platform.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kTitle = QStringLiteral("Tarnwick Splicora");

QString Program()
{
    return qEnvironmentVariable("SPLICORA_APP_DIR") + QStringLiteral("/splicora");
}

QString RunText(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// Absolute geometry of our top-level window, or an empty rect while there is none.
QRect WindowGeometry()
{
    const QString text = RunText(QStringLiteral("xwininfo"), {QStringLiteral("-name"), kTitle});
    auto number = [&text](const char* label) {
        const QRegularExpression re(QString::fromLatin1(label) + QStringLiteral(":\\s+(-?\\d+)"));
        const auto match = re.match(text);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    };
    const int width = number("Width");
    if (width <= 0 || !text.contains(QLatin1String("IsViewable")))
        return QRect();
    return QRect(number("Absolute upper-left X"), number("Absolute upper-left Y"), width,
                 number("Height"));
}

QByteArray LogBytes()
{
    QFile file(LogFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteStaleLog()
{
    QDir().mkpath(LogFolderPath());
    QFile file(LogFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("2001-01-01 00:00:00 Mon : a line of an earlier run\r\n");
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<QProcess> m_first;

    void startFirstCopy(const QStringList& arguments = {})
    {
        m_first = std::make_unique<QProcess>();
        m_first->setProcessChannelMode(QProcess::ForwardedChannels);
        m_first->start(Program(), arguments);
        QVERIFY2(m_first->waitForStarted(10000), qPrintable(m_first->errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(!WindowGeometry().isEmpty(), 20000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(Program()), qPrintable(Program()));
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty(),
                 "xwininfo (x11-utils) is needed to look at the window");
        QVERIFY(!qEnvironmentVariableIsEmpty("DISPLAY"));
    }

    void cleanup()
    {
        if (m_first) {
            m_first->kill();
            m_first->waitForFinished(5000);
            m_first.reset();
        }
        QTRY_VERIFY_WITH_TIMEOUT(WindowGeometry().isEmpty(), 10000);
        OpenSettingsForTest().remove(QStringLiteral("NoLogfile"));
    }

    static QSettings& OpenSettingsForTest()
    {
        static QSettings settings(QStringLiteral("Tarnwick"), QStringLiteral("Splicora"));
        return settings;
    }

    void showsCentredFramelessWindowAndOnlyOneCopy()
    {
        WriteStaleLog();
        startFirstCopy();

        // 1920 x 1080 at 96 DPI: scale 1, centred on the desktop less 20
        // pixels of task bar.
        QCOMPARE(WindowGeometry(), QRect((1920 - 1202) / 2, (1060 - 752) / 2, 1202, 752));
        const QString hints = RunText(QStringLiteral("xprop"), {QStringLiteral("-name"), kTitle,
                                                                QStringLiteral("_MOTIF_WM_HINTS")});
        // flags = decorations, decorations = none: the window draws its own frame.
        QVERIFY2(hints.split(QLatin1Char(',')).value(2).trimmed() == QLatin1String("0x0"),
                 qPrintable(hints));

        // Only the current run's lines, each stamped and ended with CR LF.
        QTRY_VERIFY(LogBytes().contains("started"));
        const QByteArray before = LogBytes();
        QVERIFY(!before.contains("earlier run"));
        QVERIFY(before.endsWith("\r\n"));
        const QRegularExpression shape(
            QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\w{3} : "));
        const QStringList lines =
            QString::fromUtf8(before).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        for (const QString& line : lines)
            QVERIFY2(shape.match(line).hasMatch(), qPrintable(line));

        QProcess second;
        second.start(Program());
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(LogBytes(), before);
        QCOMPARE(m_first->state(), QProcess::Running);
        // Still exactly one window on the screen.
        const QString tree =
            RunText(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
        QCOMPARE(tree.count(QStringLiteral("\"") + kTitle + QStringLiteral("\"")), 1);
    }

    void secondStartHandsOverItsFiles()
    {
        QTemporaryDir media;
        for (const char* name : {"first.mp4", "second clip.mp4"}) {
            QProcess ffmpeg;
            ffmpeg.start(QStringLiteral("ffmpeg"),
                         {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                          QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                          QStringLiteral("-i"), QStringLiteral("testsrc=size=160x120:duration=1"),
                          QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
                          media.filePath(QString::fromLatin1(name))});
            QVERIFY(ffmpeg.waitForFinished(30000) && ffmpeg.exitCode() == 0);
        }
        const QString first = media.filePath(QStringLiteral("first.mp4"));
        const QString second = media.filePath(QStringLiteral("second clip.mp4"));
        startFirstCopy({first});
        // Its own command line's file arrives as a drop would.
        QTRY_VERIFY_WITH_TIMEOUT(LogBytes().contains("probe of " + first.toUtf8()), 20000);

        // A second start, from the folder of its file, named relatively.
        QProcess again;
        again.setWorkingDirectory(media.path());
        again.start(Program(), {QStringLiteral("second clip.mp4")});
        QVERIFY(again.waitForFinished(10000));
        QCOMPARE(again.exitStatus(), QProcess::NormalExit);
        QCOMPARE(again.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(LogBytes().contains("probe of " + second.toUtf8()), 20000);
        QCOMPARE(LogBytes().count("probe of "), 2);
        QCOMPARE(m_first->state(), QProcess::Running);
    }

    void versionAndHelpNeedNoDisplay_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("--version") << "--version" << 0 << "Splicora 2.0.54\n";
        QTest::newRow("--help") << "--help" << 0 << "Usage: splicora [options] [FILES...]";
        QTest::newRow("unknown option") << "--cut" << 2 << "";
    }
    void versionAndHelpNeedNoDisplay()
    {
        QFETCH(QString, argument);
        QFETCH(QString, output);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process.setProcessEnvironment(environment);
        process.start(Program(), {argument});
        QVERIFY(process.waitForFinished(10000));
        QTEST(process.exitCode(), "exitCode");
        const QString printed = QString::fromLocal8Bit(process.readAllStandardOutput());
        QVERIFY2(output.isEmpty() ? printed.isEmpty() : printed.startsWith(output),
                 qPrintable(printed));
        if (process.exitCode() == 2)
            QVERIFY(process.readAllStandardError().contains("Unknown option 'cut'"));
        // Printing, not starting: no window appeared.
        QVERIFY(WindowGeometry().isEmpty());
    }

    void noLogfileSetting_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("logged");
        QTest::newRow("TRUE") << "TRUE" << false;
        QTest::newRow("true") << "true" << true;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("absent") << "" << true;
    }

    void noLogfileSetting()
    {
        QFETCH(QString, value);
        QFETCH(bool, logged);
        if (!value.isEmpty()) {
            OpenSettingsForTest().setValue(QStringLiteral("NoLogfile"), value);
            OpenSettingsForTest().sync();
        }
        WriteStaleLog();
        startFirstCopy();
        if (logged) {
            QTRY_VERIFY(LogBytes().contains("started"));
        } else {
            // The earlier run's file is removed all the same.
            QVERIFY(!QFile::exists(LogFilePath()));
        }
        QVERIFY(!LogBytes().contains("earlier run"));
    }

    void lockOfACrashedCopyIsTakenOver()
    {
        // A lock whose owner no longer runs, as a crash leaves it.
        QProcess gone;
        gone.start(QStringLiteral("true"));
        QVERIFY(gone.waitForStarted(5000));
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished(5000));
        QFile lock(Platform::SingleInstance::lockFilePath());
        QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(QByteArray::number(deadPid) + "\nsplicora\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        startFirstCopy();
        QCOMPARE(m_first->state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
