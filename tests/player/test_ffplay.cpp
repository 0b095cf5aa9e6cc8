// Runs the real preview player on made clips and steers it the way the
// application does: commands on standard input, answers on standard output.

#include "testsupport/testmedia.h"

#include <QFile>
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

// Draws into a window of ours, as the application does.
class Player
{
public:
    explicit Player(QWidget* window) : m_window(window) {}
    ~Player()
    {
        m_process.kill();
        m_process.waitForFinished(2000);
    }

    void Start(const QStringList& args, const QString& folder = QString())
    {
        m_process.setWorkingDirectory(folder);
        m_process.start(qEnvironmentVariable("SPLICORA_APP_DIR") + QStringLiteral("/ffplay"),
                        args + QStringList{"-wid", QString::number(m_window->winId())});
    }

    void Send(const char* command) { m_process.write(QByteArray(command) + '\n'); }

    // Asks for the position and waits for the answer line.
    Position Time()
    {
        Send("time");
        for (int wait = 0; wait < 50; ++wait) {
            while (m_process.canReadLine()) {
                const QStringList parts = QString::fromUtf8(m_process.readLine()).split(',');
                if (parts.size() == 2 && parts[0].startsWith(QLatin1String("Current:")))
                    return {parts[0].mid(8).toDouble(), parts[1].trimmed().mid(9).toDouble()};
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
        m_twoTracks = m_dir.filePath(QStringLiteral("two.mkv"));
        QVERIFY(TestMedia::MakeClip(m_clip, 8.0));
        QVERIFY(TestMedia::MakeClip(m_twoTracks, 4.0, 320, 240, 25, true, 2));
        m_window.resize(320, 240);
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
        QVERIFY(!ShowsPicture(m_window));
    }

    void playPauseSeekExit()
    {
        Player player(&m_window);
        player.Start({"-i", m_clip, "-volume", "40", "-x", "320", "-autoexit"});
        QVERIFY(player.m_process.waitForStarted());

        // Playing: the picture shows in our window and the position rises.
        QTRY_VERIFY_WITH_TIMEOUT(player.Time().current > 0.3, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(ShowsPicture(m_window), 5000);
        const Position first = player.Time();
        QVERIFY(qAbs(first.duration - 8.0) < 0.2);
        QTRY_VERIFY_WITH_TIMEOUT(player.Time().current > first.current + 0.3, 5000);

        // Paused: it stands, however often it is asked.
        player.Send("pause");
        QTRY_COMPARE_WITH_TIMEOUT(player.Time().current, player.Time().current, 5000);
        const double paused = player.Time().current;
        for (int i = 0; i < 5; ++i)
            QCOMPARE(player.Time().current, paused);

        // Seek while paused lands on the target.
        player.Send("seek:5");
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(player.Time().current - 5.0) < 0.3, 5000);
        player.Send("resume");
        QTRY_VERIFY_WITH_TIMEOUT(player.Time().current > 5.3, 5000);

        player.Send("exit");
        QTRY_COMPARE_WITH_TIMEOUT(player.m_process.state(), QProcess::NotRunning, 3000);
        QCOMPARE(player.m_process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(player.m_process.exitCode(), 0);
    }

    // Starts where -ss says (not at 0 and then running there) and ends by
    // itself at the end of the file.
    void startsAtTheGivenPositionAndEnds()
    {
        Player player(&m_window);
        player.Start({"-i", m_clip, "-ss", "00:00:05.000"});
        double first = -1;
        QTRY_VERIFY_WITH_TIMEOUT((first = player.Time().current) > 0, 10000);
        QVERIFY2(first >= 4.5, qPrintable(QString::number(first)));
        QVERIFY(player.m_process.waitForFinished(15000));
        QCOMPARE(player.m_process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(player.m_process.exitCode(), 0);
    }

    void picksTheAudioStreamByIndex_data()
    {
        QTest::addColumn<QString>("stream");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("otherRate");
        // Stream 0 is the picture; the two tones follow at different rates.
        QTest::newRow("first tone") << "1" << 44100 << 48000;
        QTest::newRow("second tone") << "2" << 48000 << 44100;
    }
    void picksTheAudioStreamByIndex()
    {
        QFETCH(QString, stream);
        QFETCH(int, rate);
        QFETCH(int, otherRate);
        Player player(&m_window);
        player.Start({"-i", m_twoTracks, "-ast", stream});
        QTRY_VERIFY_WITH_TIMEOUT(player.Errors().contains(QStringLiteral("audio %1 Hz").arg(rate)),
                                 10000);
        QVERIFY(!player.Errors().contains(QStringLiteral("audio %1 Hz").arg(otherRate)));
    }

    // A subtitle named without its folder is found in the working folder; a
    // volume command is answered with the new volume.
    void subtitleFromWorkingFolderAndVolumeReply()
    {
        QFile srt(m_dir.filePath(QStringLiteral("clip.srt")));
        QVERIFY(srt.open(QIODevice::WriteOnly));
        srt.write("1\n00:00:00,000 --> 00:00:05,000\nHello\n");
        srt.close();
        Player player(&m_window);
        player.Start({"-i", m_clip, "-muted", "1", "-vf", "subtitles=clip.srt"}, m_dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(
            player.Errors().contains(QStringLiteral("subtitle clip.srt loaded")), 10000);
        player.Send("volume:35");
        QTRY_VERIFY_WITH_TIMEOUT(player.m_process.canReadLine(), 10000);
        QCOMPARE(player.m_process.readLine().trimmed(), QByteArray("volume:35"));
        player.Send("exit");
        QVERIFY(player.m_process.waitForFinished(3000));
    }

private:
    QTemporaryDir m_dir;
    QString m_clip;
    QString m_twoTracks;
    QWidget m_window;
};

QTEST_MAIN(TestFfplay)
#include "test_ffplay.moc"
