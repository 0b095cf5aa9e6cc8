// The player process controller without a display: its command line from the
// stored settings, the subtitle lookup, and a player program that cannot start.
#include "app/appfolder.h"
#include "app/settings.h"
#include "player/cmyplayer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString ValueOf(const QStringList& args, const QString& option)
{
    const qsizetype at = args.indexOf(option);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
}

void Touch(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}
} // namespace

class TestCMyPlayer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_noPlayer; // an application folder without the player

private slots:
    void init() { SetAppFolder(m_noPlayer.path()); }

    void storedVolumeAndMuteShapeTheCommandLine_data()
    {
        QTest::addColumn<QString>("storedVolume");
        QTest::addColumn<QString>("storedMute");
        QTest::addColumn<int>("track");
        QTest::addColumn<QString>("volumeArgument");
        QTest::addColumn<bool>("muted");
        QTest::newRow("too loud") << "250"
                                  << "FALSE" << 2 << "100" << false;
        QTest::newRow("negative") << "-7"
                                  << "FALSE" << 0 << "0" << false;
        QTest::newRow("not a number") << "loud"
                                      << "TRUE" << 2 << "0" << true;
        QTest::newRow("absent") << QString() << "true" << 1 << "80" << false;
    }

    void storedVolumeAndMuteShapeTheCommandLine()
    {
        QFETCH(QString, storedVolume);
        QFETCH(QString, storedMute);
        QFETCH(int, track);
        QFETCH(QString, volumeArgument);
        QFETCH(bool, muted);
        auto settings = OpenSettings();
        if (storedVolume.isNull())
            settings->remove(QStringLiteral("volume"));
        else
            settings->setValue(QStringLiteral("volume"), storedVolume);
        settings->setValue(QStringLiteral("mute"), storedMute);
        settings->sync();

        CMyPlayer player;
        QCOMPARE(player.isMuted(), muted);
        player.play(QStringLiteral("/m/a.mp4"), QStringLiteral("77"),
                    QStringLiteral("00:00:30.000"), QStringLiteral("none"), track);
        const QStringList args = player.lastArguments();
        QCOMPARE(ValueOf(args, QStringLiteral("-volume")), volumeArgument);
        QCOMPARE(ValueOf(args, QStringLiteral("-wid")), QStringLiteral("77"));
        QCOMPARE(ValueOf(args, QStringLiteral("-ss")), QStringLiteral("00:00:30.000"));
        QCOMPARE(args.contains(QStringLiteral("-muted")), muted);
        QCOMPARE(ValueOf(args, QStringLiteral("-ast")),
                 track > 0 ? QString::number(track) : QString());
    }

    void changesAreStored()
    {
        {
            CMyPlayer player;
            player.setVolume(140);
            QCOMPARE(player.volume(), 100);
            const bool before = player.isMuted();
            player.toggleMute();
            QCOMPARE(player.isMuted(), !before);
        }
        CMyPlayer again;
        QCOMPARE(ReadSetting(QStringLiteral("volume")), QStringLiteral("100"));
        QCOMPARE(again.volume(), 100);
        QCOMPARE(ReadSetting(QStringLiteral("mute")),
                 again.isMuted() ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    }

    void subtitleBesideTheMedia()
    {
        QTemporaryDir dir;
        const QString movie = dir.filePath(QStringLiteral("movie.mkv"));
        QCOMPARE(CMyPlayer::findSubtitle(movie), QString());
        Touch(dir.filePath(QStringLiteral("movie.vtt")));
        Touch(dir.filePath(QStringLiteral("movie.SRT")));
        QCOMPARE(CMyPlayer::findSubtitle(movie), dir.filePath(QStringLiteral("movie.SRT")));
        Touch(dir.filePath(QStringLiteral("movie.srt")));
        QCOMPARE(CMyPlayer::findSubtitle(movie), dir.filePath(QStringLiteral("movie.srt")));

        CMyPlayer player;
        player.play(movie, QStringLiteral("1"), QString(), QString(), 0);
        QCOMPARE(ValueOf(player.lastArguments(), QStringLiteral("-vf")),
                 QStringLiteral("subtitles=movie.srt"));
        // The panel's "none" turns the lookup off.
        player.play(movie, QStringLiteral("1"), QString(), QStringLiteral("none"), 0);
        QVERIFY(!player.lastArguments().contains(QStringLiteral("-vf")));
    }

    void aPlayerThatCannotStartStillEnds()
    {
        CMyPlayer player;
        QSignalSpy ended(&player, &CMyPlayer::playerend);
        QSignalSpy positions(&player, &CMyPlayer::update_duration);
        player.play(QStringLiteral("/m/a.mp4"), QStringLiteral("1"), QString(),
                    QStringLiteral("none"), 0);
        QTRY_COMPARE(ended.size(), 1);
        QVERIFY(!player.isRunning());
        // Commands to no process go nowhere and change nothing.
        player.pause();
        player.resume();
        player.seek(5000000);
        player.stop();
        QCOMPARE(ended.size(), 1);
        QCOMPARE(positions.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCMyPlayer)
#include "test_cmyplayer.moc"
