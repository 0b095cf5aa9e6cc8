// Runs the real preview player on made clips and steers it the way the
// application does: commands on standard input, answers on standard output.

#include "testsupport/testmedia.h"

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

struct Position
{
    double current = -1;
    double duration = -1;
};

class Player
{
public:
    explicit Player(QWidget* window) : m_window(window) {}
    ~Player()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

    void Start(const QStringList& args, const QString& folder = QString())
    {
        QStringList all = args;
        // Draw into a window of ours, as the application does.
        if (m_window)
            all << QStringLiteral("-wid") << QString::number(m_window->winId());
        if (!folder.isEmpty())
            m_process.setWorkingDirectory(folder);
        m_process.start(qEnvironmentVariable("SPLICORA_APP_DIR") + QStringLiteral("/ffplay"), all);
    }

    void Send(const char* command) { m_process.write(QByteArray(command) + '\n'); }

    // Asks for the position and waits for the answer line.
    Position Time()
    {
        Send("time");
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                if (!line.startsWith(QLatin1String("Current:")))
                    continue;
                const QStringList parts = line.split(QLatin1Char(','));
                if (parts.size() != 2)
                    return {};
                return {parts[0].mid(8).toDouble(), parts[1].mid(9).toDouble()};
            }
            m_process.waitForReadyRead(100);
        }
        return {};
    }

    QString Errors()
    {
        m_errors += QString::fromUtf8(m_process.readAllStandardError());
        return m_errors;
    }

    QProcess m_process;

private:
    QWidget* m_window;
    QString m_errors;
};

// The test picture is colourful; an empty window is one flat colour.
bool ShowsPicture(QWidget& window)
{
    const QImage shot = window.screen()->grabWindow(window.winId()).toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 8) {
        for (int x = 0; x < shot.width(); x += 8)
            colours.insert(shot.pixel(x, y));
    }
    return colours.size() > 8;
}

} // namespace

class TestFfplay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (TestMedia::Ffmpeg().isEmpty())
            QSKIP("ffmpeg is not installed");
        QVERIFY(m_dir.isValid());
        m_clip = m_dir.filePath(QStringLiteral("clip.mkv"));
        m_short = m_dir.filePath(QStringLiteral("short.mkv"));
        m_twoTracks = m_dir.filePath(QStringLiteral("two.mkv"));
        QVERIFY(TestMedia::MakeClip(m_clip, 8.0));
        QVERIFY(TestMedia::MakeClip(m_short, 1.5));
        QVERIFY(TestMedia::MakeClip(m_twoTracks, 4.0, 320, 240, 25, true, 2));
        m_window.resize(320, 240);
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
        QVERIFY(!ShowsPicture(m_window));
    }

    void playPauseSeekExit()
    {
        Player player(&m_window);
        player.Start({QStringLiteral("-i"), m_clip, QStringLiteral("-volume"), QStringLiteral("40"),
                      QStringLiteral("-x"), QStringLiteral("320"), QStringLiteral("-autoexit")});
        QVERIFY(player.m_process.waitForStarted());

        // Playing: the position rises.
        QTRY_VERIFY_WITH_TIMEOUT(player.Time().current > 0.3, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(ShowsPicture(m_window), 5000);
        const Position first = player.Time();
        QVERIFY(qAbs(first.duration - 8.0) < 0.2);
        QTRY_VERIFY_WITH_TIMEOUT(player.Time().current > first.current + 0.3, 5000);

        // Paused: it stands, however often it is asked.
        player.Send("pause");
        // Two answers in a row agree once the pause has taken hold.
        QTRY_COMPARE_WITH_TIMEOUT(player.Time().current, player.Time().current, 5000);
        const double paused = player.Time().current;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 700)
            QCOMPARE(player.Time().current, paused);

        // Seek while paused lands on the target.
        player.Send("seek:5");
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(player.Time().current - 5.0) < 0.3, 5000);

        player.Send("resume");
        QTRY_VERIFY_WITH_TIMEOUT(player.Time().current > 5.3, 5000);

        clock.restart();
        player.Send("exit");
        QTRY_COMPARE_WITH_TIMEOUT(player.m_process.state(), QProcess::NotRunning, 3000);
        QVERIFY(clock.elapsed() < 2000);
        QCOMPARE(player.m_process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(player.m_process.exitCode(), 0);
    }

    void volumeIsReported()
    {
        Player player(&m_window);
        player.Start({QStringLiteral("-i"), m_clip, QStringLiteral("-muted"), QStringLiteral("1")});
        player.Send("volume:35");
        QTRY_VERIFY_WITH_TIMEOUT(player.m_process.canReadLine(), 10000);
        QCOMPARE(player.m_process.readLine().trimmed(), QByteArray("volume:35"));
        player.Send("exit");
        QVERIFY(player.m_process.waitForFinished(3000));
    }

    void endsByItselfAtTheEnd()
    {
        Player player(&m_window);
        player.Start({QStringLiteral("-i"), m_short});
        QVERIFY(player.m_process.waitForFinished(15000));
        QCOMPARE(player.m_process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(player.m_process.exitCode(), 0);
    }

    void startsAtTheGivenPosition()
    {
        Player player(&m_window);
        player.Start(
            {QStringLiteral("-i"), m_clip, QStringLiteral("-ss"), QStringLiteral("00:00:03.000")});
        QTRY_VERIFY_WITH_TIMEOUT(player.Time().current > 3.1, 10000);
        QVERIFY(player.Time().current < 5.0);
    }

    void picksTheAudioStreamByIndex_data()
    {
        QTest::addColumn<QString>("stream");
        QTest::addColumn<QString>("rate");
        // Stream 0 is the picture; the two tones follow at different rates.
        QTest::newRow("first tone") << "1"
                                    << "44100";
        QTest::newRow("second tone") << "2"
                                     << "48000";
    }
    void picksTheAudioStreamByIndex()
    {
        QFETCH(QString, stream);
        QFETCH(QString, rate);
        Player player(&m_window);
        player.Start({QStringLiteral("-i"), m_twoTracks, QStringLiteral("-ast"), stream});
        QTRY_VERIFY_WITH_TIMEOUT(player.Errors().contains(QStringLiteral("audio %1 Hz").arg(rate)),
                                 10000);
        QVERIFY(!player.Errors().contains(
            QStringLiteral("audio %1 Hz").arg(rate == QLatin1String("48000") ? 44100 : 48000)));
    }

    void loadsSubtitleFromWorkingFolder()
    {
        QFile srt(m_dir.filePath(QStringLiteral("clip.srt")));
        QVERIFY(srt.open(QIODevice::WriteOnly));
        srt.write("1\n00:00:00,000 --> 00:00:05,000\nHello\n");
        srt.close();
        Player player(&m_window);
        player.Start({QStringLiteral("-i"), m_clip, QStringLiteral("-vf"),
                      QStringLiteral("subtitles=clip.srt")},
                     m_dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(
            player.Errors().contains(QStringLiteral("subtitle clip.srt loaded")), 10000);
    }

    void opensItsOwnWindowWithoutWid()
    {
        Player player(nullptr);
        player.Start({QStringLiteral("-i"), m_clip});
        QTRY_VERIFY_WITH_TIMEOUT(player.Time().current > 0.3, 10000);
        player.Send("exit");
        QVERIFY(player.m_process.waitForFinished(3000));
        QCOMPARE(player.m_process.exitCode(), 0);
    }

private:
    QTemporaryDir m_dir;
    QString m_clip;
    QString m_short;
    QString m_twoTracks;
    QWidget m_window;
};

QTEST_MAIN(TestFfplay)
#include "test_ffplay.moc"
