// Probing real files made with ffmpeg's lavfi sources: what the media list
// is handed, what is logged, and what happens when the tool misbehaves.
#include "app/appfolder.h"
#include "app/logfile.h"
#include "app/timetext.h"
#include "list/medialistlogic.h"
#include "media/addmedia.h"
#include "media/mediainfo.h"
#include "media/probe.h"
#include "media/workfolder.h"
#include "testsupport/testmedia.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

#include <unistd.h>

class TestProbe : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_media;
    QList<ProbeResult> m_received;

    QString mediaPath(const QString& name) const { return m_media.filePath(name); }
    QString logText() const
    {
        QFile file(LogFilePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void addsRealFiles_data();
    void addsRealFiles();
    void hostileNamesAndTagsAreNotRead_data();
    void hostileNamesAndTagsAreNotRead();
    void nameThatIsNotUtf8IsRefused();
    void coverArtCountsAsPicture();
    void missingPiecesKeepDefaults();
    void refusedFileNamesItsReason_data();
    void refusedFileNamesItsReason();
    void refusalNotice_data();
    void refusalNotice();
    void slowToolIsEndedAfterTheWait();
    void missingToolFailsQuietly();
};

void TestProbe::initTestCase()
{
    QVERIFY2(!TestMedia::Ffmpeg().isEmpty(), "ffmpeg must be installed");
    QVERIFY(m_media.isValid());
    TestMedia::UseBuildAppFolder();
    QVERIFY(TestMedia::MakeClip(mediaPath(QStringLiteral("va2.mp4")), 4.0, 320, 240, 25, true, 2));
    QVERIFY(TestMedia::RunFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"),
                                  QStringLiteral("-i"), QStringLiteral("sine=duration=3"),
                                  QStringLiteral("-c:a"), QStringLiteral("libmp3lame"),
                                  mediaPath(QStringLiteral("tone.mp3"))}));
    QVERIFY(
        TestMedia::MakeClip(mediaPath(QStringLiteral("silent.mkv")), 2.0, 160, 120, 30, true, 0));
    // Names that break naive command lines: spaces, quotes, a leading dash
    // and characters outside ASCII.
    QVERIFY(TestMedia::MakeClip(mediaPath(QStringLiteral("-clip 'ü' \"片\".mp4")), 2.0, 192, 108,
                                25, true, 1));
    // Text long enough for the tool to offer showing a .txt file as pictures.
    const QByteArray text =
        QByteArray("this is a text file that only looks like media\n").repeated(60);
    for (const char* name : {"notes.mp4", "notes.flac", "notes.txt"}) {
        QFile junk(mediaPath(QString::fromUtf8(name)));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(text);
    }
    QVERIFY(QFile(mediaPath(QStringLiteral("empty.mp4"))).open(QIODevice::WriteOnly));
    QFile subtitles(mediaPath(QStringLiteral("words.srt")));
    QVERIFY(subtitles.open(QIODevice::WriteOnly));
    subtitles.write("1\n00:00:01,000 --> 00:00:02,000\nHello\n");
    subtitles.close();
    QVERIFY(
        TestMedia::RunFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                              QStringLiteral("testsrc2=size=64x48"), QStringLiteral("-frames:v"),
                              QStringLiteral("1"), mediaPath(QStringLiteral("still.png"))}));
    // Cut-off recordings: an mp4 whose index (written last) is gone, and an
    // Ogg file cut within its headers, whose reader gives up without naming
    // its type.
    for (const char* name : {"half.mp4", "cut.oga"}) {
        const QString path = mediaPath(QString::fromUtf8(name));
        const bool video = path.endsWith(QLatin1String("mp4"));
        QVERIFY(TestMedia::MakeClip(path, 3.0, 320, 240, 25, video));
        QFile file(path);
        QVERIFY(file.resize(video ? file.size() * 2 / 5 : 2000));
    }
    // Names and tags that the media tool prints raw in its text report,
    // where they read like report lines of their own.
    for (const char* name : {"x\nStream #0:9: Audio: mp3.mp4", "clip Duration: 00:00:01.00.mp4",
                             "it's \"quoted\" 'twice'.mp4"}) {
        QVERIFY(
            TestMedia::MakeClip(mediaPath(QString::fromUtf8(name)), 3.0, 160, 120, 25, true, 1));
    }
    const QStringList tenSeconds{QStringLiteral("-f"), QStringLiteral("lavfi"),
                                 QStringLiteral("-i"), QStringLiteral("sine=duration=10")};
    // Inputs, then the picture's encoder (options before an input would
    // apply to that input).
    const QStringList tenSecondsOfPicture{
        QStringLiteral("-f"),      QStringLiteral("lavfi"),
        QStringLiteral("-i"),      QStringLiteral("testsrc2=size=160x120:rate=25:duration=10"),
        QStringLiteral("-f"),      QStringLiteral("lavfi"),
        QStringLiteral("-i"),      QStringLiteral("sine=duration=10"),
        QStringLiteral("-c:v"),    QStringLiteral("libx264"),
        QStringLiteral("-preset"), QStringLiteral("ultrafast")};
    QVERIFY(TestMedia::RunFfmpeg(tenSecondsOfPicture +
                                 QStringList{QStringLiteral("-c:a"), QStringLiteral("aac"),
                                             QStringLiteral("-metadata"),
                                             QStringLiteral("title=Duration: 00:01.00"),
                                             mediaPath(QStringLiteral("title.mp4"))}));
    const QString forgedStream = QStringLiteral("x\n  Stream #0:5: Video: h264");
    QVERIFY(TestMedia::RunFfmpeg(
        tenSecondsOfPicture +
        QStringList{QStringLiteral("-c:a"), QStringLiteral("libvorbis"),
                    QStringLiteral("-metadata"), QStringLiteral("title=") + forgedStream,
                    QStringLiteral("-metadata:s:a:0"), QStringLiteral("title=") + forgedStream,
                    QStringLiteral("-metadata:s:a:0"), QStringLiteral("language=eng"),
                    mediaPath(QStringLiteral("lines.mkv"))}));
    // MP3 and FLAC keep a tag's key as written, line breaks and all.
    const QString forgedKey =
        QStringLiteral("x\n  Duration: 00:00:01.00, start: 0.000000, bitrate: 1 kb/s=1");
    for (const char* name : {"key.mp3", "key.flac"}) {
        QVERIFY(
            TestMedia::RunFfmpeg(tenSeconds + QStringList{QStringLiteral("-metadata"), forgedKey,
                                                          mediaPath(QString::fromUtf8(name))}));
    }
    QVERIFY(TestMedia::RunFfmpeg(
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("sine=duration=3"), QStringLiteral("-i"),
         mediaPath(QStringLiteral("still.png")), QStringLiteral("-map"), QStringLiteral("0"),
         QStringLiteral("-map"), QStringLiteral("1"), QStringLiteral("-c:a"),
         QStringLiteral("libmp3lame"), QStringLiteral("-c:v"), QStringLiteral("mjpeg"),
         QStringLiteral("-disposition:v"), QStringLiteral("attached_pic"),
         mediaPath(QStringLiteral("cover.mp3"))}));
    QVERIFY(QDir(m_media.path()).mkdir(QStringLiteral("folder.mp4")));
    QVERIFY(
        QFile::copy(mediaPath(QStringLiteral("va2.mp4")), mediaPath(QStringLiteral("locked.mp4"))));
    QVERIFY(QFile::setPermissions(mediaPath(QStringLiteral("locked.mp4")), {}));
    qInstallMessageHandler(LogMessageHandler);
    SetMediaSink([this](const ProbeResult& result) { m_received << result; });
}

void TestProbe::init()
{
    m_received.clear();
    RemovePreviousLogFile();
    TestMedia::UseBuildAppFolder();
}

void TestProbe::cleanupTestCase()
{
    SetMediaSink(nullptr);
    qInstallMessageHandler(nullptr);
}

void TestProbe::addsRealFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("videoLines");
    QTest::addColumn<int>("audioLines");
    QTest::addColumn<QString>("videoCodec");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("audioCodec");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<bool>("thumbnail");

    QTest::newRow("one video, two audio")
        << "va2.mp4" << 1 << 2 << "h264" << 320 << 240 << "aac" << 4.0 << true;
    QTest::newRow("audio only") << "tone.mp3" << 0 << 1 << "" << 0 << 0 << "mp3" << 3.0 << false;
    QTest::newRow("video only") << "silent.mkv" << 1 << 0 << "h264" << 160 << 120 << "" << 2.0
                                << true;
    QTest::newRow("awkward name") << "-clip 'ü' \"片\".mp4" << 1 << 1 << "h264" << 192 << 108
                                  << "aac" << 2.0 << true;
}

void TestProbe::addsRealFiles()
{
    QFETCH(QString, name);
    QFETCH(int, videoLines);
    QFETCH(int, audioLines);
    QFETCH(QString, videoCodec);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, audioCodec);
    QFETCH(double, seconds);
    QFETCH(bool, thumbnail);

    const QString path = mediaPath(name);
    QCOMPARE(AddMediaFile(path), 0);
    QCOMPARE(m_received.size(), 1);
    const ProbeResult& result = m_received.first();
    QCOMPARE(result.filePath, path);
    // Only the input's streams count: the thumbnail written in the same run
    // is not a stream of the user's file.
    QCOMPARE(result.videoStreamLines.size(), videoLines);
    QCOMPARE(result.audioStreamLines.size(), audioLines);

    MediaInfo info;
    FillMediaInfo(info, result.filePath, result.durationLine, result.videoStreamLines,
                  result.audioStreamLines);
    QCOMPARE(info.videoCodec, videoCodec);
    QCOMPARE(info.width, width);
    QCOMPARE(info.height, height);
    QCOMPARE(info.audioCodec, audioCodec);
    QVERIFY2(qAbs(info.duration - qint64(seconds * 1e6)) <= 60000,
             qPrintable(QString::number(info.duration)));

    QCOMPARE(result.thumbnailPath, WorkFolder() + QStringLiteral("/thumb/") + ThumbnailName(path) +
                                       QStringLiteral(".jpg"));
    const QImage picture(result.thumbnailPath);
    QCOMPARE(!picture.isNull(), thumbnail);
    if (thumbnail)
        QCOMPARE(picture.size(), QSize(width, height));

    // The prober's answer reaches the log, so a user's complaint can be read.
    QVERIFY(logText().contains(
        QStringLiteral("\"codec_name\": \"%1\"").arg(audioLines ? audioCodec : videoCodec)));
}

void TestProbe::hostileNamesAndTagsAreNotRead_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("videoFacts"); // the row's facts lines, after the duration
    QTest::addColumn<QString>("audioFacts");
    QTest::addColumn<int>("audioTracks");
    QTest::addColumn<QString>("trackDetail");

    const QString clip = QStringLiteral(" h264 160x120 25fps");
    const QString aac = QStringLiteral("aac 44100 Hz mono");
    QTest::newRow("stream line in the name")
        << "x\nStream #0:9: Audio: mp3.mp4" << 3.0 << clip << aac << 1 << "";
    QTest::newRow("duration in the name")
        << "clip Duration: 00:00:01.00.mp4" << 3.0 << clip << aac << 1 << "";
    QTest::newRow("quotes in the name")
        << "it's \"quoted\" 'twice'.mp4" << 3.0 << clip << aac << 1 << "";
    QTest::newRow("duration in the title") << "title.mp4" << 10.0 << clip << aac << 1 << "";
    // The title is shown as one line; the line it holds is no stream.
    QTest::newRow("stream line in titles") << "lines.mkv" << 10.0 << clip << "vorbis 44100 Hz mono"
                                           << 1 << "eng, x Stream #0:5: Video: h264";
    QTest::newRow("duration in a tag's key (mp3)") << "key.mp3" << 10.0 << ""
                                                   << "mp3 44100 Hz mono" << 1 << "";
    QTest::newRow("duration in a tag's key (flac)") << "key.flac" << 10.0 << ""
                                                    << "flac 44100 Hz mono" << 1 << "";
}

void TestProbe::hostileNamesAndTagsAreNotRead()
{
    QFETCH(QString, name);
    QFETCH(double, seconds);
    QFETCH(QString, videoFacts);
    QFETCH(int, audioTracks);

    const QString path = mediaPath(name);
    QCOMPARE(AddMediaFile(path), 0);
    QCOMPARE(m_received.size(), 1);
    const ProbeResult& result = m_received.first();
    QCOMPARE(result.videoStreamLines.size(), videoFacts.isEmpty() ? 0 : 1);
    QCOMPARE(result.audioStreamLines.size(), audioTracks);
    QCOMPARE(result.filePath, path);

    MediaInfo info;
    FillMediaInfo(info, result.filePath, result.durationLine, result.videoStreamLines,
                  result.audioStreamLines, result.audioStreamTitles);
    // The true length: a cut or join of the row keeps all of it.
    QVERIFY2(qAbs(info.duration - qint64(seconds * 1e6)) <= 60000, qPrintable(result.durationLine));
    QCOMPARE(VideoFactsText(info), TimeToString(info.duration) + videoFacts);
    QTEST(AudioFactsText(info), "audioFacts");
    QTEST(AudioTrackDetail(info, 0), "trackDetail");
    QCOMPARE(!QImage(result.thumbnailPath).isNull(), !videoFacts.isEmpty());
}

void TestProbe::nameThatIsNotUtf8IsRefused()
{
    // The toolkit reads file names as UTF-8: a name with other bytes reaches
    // the program changed and names no file any more. It is refused as
    // unreadable rather than probed as something else.
    const QByteArray raw = QFile::encodeName(m_media.path()) + "/bad\xff\xfe name.mp4";
    QFile::remove(QFile::decodeName(raw));
    {
        QFile source(mediaPath(QStringLiteral("va2.mp4")));
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray bytes = source.readAll();
        FILE* file = std::fopen(raw.constData(), "wb");
        QVERIFY(file);
        QCOMPARE(std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file),
                 size_t(bytes.size()));
        std::fclose(file);
    }
    const QString path = QFile::decodeName(raw);
    ProbeResult result;
    ProbeRefusal refusal = ProbeRefusal::None;
    QCOMPARE(RunProbe(path, &result, kProbeTimeoutMs, &refusal), -1);
    QCOMPARE(refusal, ProbeRefusal::Unreadable);
    QVERIFY(!RefusedFileName(path).contains(QLatin1Char('\n')));
    std::remove(raw.constData());
}

void TestProbe::coverArtCountsAsPicture()
{
    // As the media tool's report always had it: the cover is a picture
    // stream of the file, and it is the row's thumbnail.
    QCOMPARE(AddMediaFile(mediaPath(QStringLiteral("cover.mp3"))), 0);
    QCOMPARE(m_received.size(), 1);
    const ProbeResult& result = m_received.first();
    QCOMPARE(result.audioStreamLines.size(), 1);
    QCOMPARE(result.videoStreamLines.size(), 1);
    QVERIFY2(result.videoStreamLines[0].endsWith(QLatin1String("(attached pic)")),
             qPrintable(result.videoStreamLines[0]));
    MediaInfo info;
    FillMediaInfo(info, result.filePath, result.durationLine, result.videoStreamLines,
                  result.audioStreamLines);
    QCOMPARE(info.videoCodec, QStringLiteral("mjpeg"));
    QCOMPARE(QImage(result.thumbnailPath).size(), QSize(64, 48));
}

void TestProbe::missingPiecesKeepDefaults()
{
    // Matroska reports neither a stream bit rate nor, in the fps position, a
    // frame rate; the encoding numbers fall back to their defaults.
    QCOMPARE(AddMediaFile(mediaPath(QStringLiteral("silent.mkv"))), 0);
    QCOMPARE(m_received.size(), 1);
    MediaInfo info;
    FillMediaInfo(info, m_received[0].filePath, m_received[0].durationLine,
                  m_received[0].videoStreamLines, m_received[0].audioStreamLines);
    QVERIFY2(info.videoBitRateText.isEmpty(), qPrintable(m_received[0].videoStreamLines.value(0)));
    ComputeEncodingParameters(info);
    QCOMPARE(info.videoBitRate, 25000);
    QCOMPARE(info.audioBitRate, 128000);
}

void TestProbe::refusedFileNamesItsReason_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<ProbeRefusal>("reason");
    QTest::addColumn<QString>("logged");
    const auto notMedia = ProbeRefusal::NotMedia;
    const auto damaged = ProbeRefusal::Damaged;
    const auto unreadable = ProbeRefusal::Unreadable;
    // The type the tool guessed from the name alone, with a warning.
    QTest::newRow("text named like a video") << "notes.mp4" << notMedia << "misdetection possible";
    QTest::newRow("text named like a sound") << "notes.flac" << notMedia << "misdetection possible";
    // The tool shows a text file as pictures; that is no recording.
    QTest::newRow("text file") << "notes.txt" << notMedia << "\"tty\"";
    QTest::newRow("still picture") << "still.png" << notMedia << "\"png_pipe\"";
    QTest::newRow("subtitles only") << "words.srt" << notMedia << "\"subrip\"";
    QTest::newRow("folder") << "folder.mp4" << notMedia << "not a plain file";
    QTest::newRow("cut-off mp4") << "half.mp4" << damaged << "moov atom not found";
    // Known by its signature only: the tool names no type.
    QTest::newRow("cut-off ogg") << "cut.oga" << damaged << "End of file";
    QTest::newRow("missing") << "gone.mkv" << unreadable << "No such file";
    QTest::newRow("empty file") << "empty.mp4" << notMedia << "Invalid data";
    QTest::newRow("name too long")
        << QString(300, QLatin1Char('a')) + ".mp4" << unreadable << "File name too long";
    QTest::newRow("no permission") << "locked.mp4" << unreadable << "Permission denied";
}

void TestProbe::refusedFileNamesItsReason()
{
    QFETCH(QString, name);
    QFETCH(ProbeRefusal, reason);
    QFETCH(QString, logged);
    if (name == QLatin1String("locked.mp4") && geteuid() == 0)
        QSKIP("root reads any file");
    const QString path = mediaPath(name);
    // A picture from an earlier run of the same path must not survive, nor
    // one the tool draws of a text file.
    const QString thumbnail = PrepareThumbnailPath(path);
    QFile stale(thumbnail);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("old");
    stale.close();

    const QByteArray before = TestMedia::FileMd5(path);
    ProbeResult result;
    ProbeRefusal refusal = ProbeRefusal::None;
    QCOMPARE(RunProbe(path, &result, kProbeTimeoutMs, &refusal), -1);
    QCOMPARE(refusal, reason);
    QVERIFY(result.filePath.isEmpty());
    QVERIFY(!QFile::exists(thumbnail));
    QVERIFY2(logText().contains(logged), qPrintable(logText()));
    // Reading a file never changes it.
    const QByteArray after = TestMedia::FileMd5(path);
    QCOMPARE(after, before);
    // The test's own log handler takes qInfo; the figures go to the console.
    std::printf("REFUSED %s | %s | md5 %s before, %s after\n", QTest::currentDataTag(),
                qPrintable(RefusalReasonText(refusal)), before.constData(), after.constData());
}

void TestProbe::refusalNotice_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("text");
    QTest::newRow("one") << QStringList{"/x/notes.mp4"} << 1
                         << "This file was not added:\nnotes.mp4: not a media file";
    QTest::newRow("all listed") << QStringList{"/x/notes.mp4", "/x/half.mp4", "/x/Clips/"} << 3
                                << "These files were not added:\nnotes.mp4: not a media file\n"
                                   "half.mp4: damaged\nClips: cannot be read";
    QTest::newRow("the rest counted")
        << QStringList{"/x/notes.mp4", "/x/a\nb.mp4", "/x/Clips/"} << 1
        << "These files were not added:\nnotes.mp4: not a media file\n... and 2 more.";
    QTest::newRow("line break in a name")
        << QStringList{"/x/notes.mp4", "/x/a\nb.mp4"} << 2
        << "These files were not added:\nnotes.mp4: not a media file\na b.mp4: damaged";
}

void TestProbe::refusalNotice()
{
    QFETCH(QStringList, paths);
    QFETCH(int, listed);
    const ProbeRefusal reasons[] = {ProbeRefusal::NotMedia, ProbeRefusal::Damaged,
                                    ProbeRefusal::Unreadable};
    QList<RefusedFile> refused;
    for (int i = 0; i < paths.size(); ++i)
        refused.append({RefusedFileName(paths[i]), reasons[i % 3]});
    QTEST(RefusalNoticeText(refused, listed), "text");
}

void TestProbe::slowToolIsEndedAfterTheWait()
{
    // A prober that answers at once and then hangs: the answer is used and
    // the prober does not outlive the probe.
    QTemporaryDir fakeFolder;
    QVERIFY(fakeFolder.isValid());
    const QString pidFile = fakeFolder.filePath(QStringLiteral("pid"));
    QFile script(fakeFolder.filePath(QStringLiteral("ffprobe")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n"
                 "echo $$ > '" +
                 pidFile.toUtf8() +
                 "'\n"
                 "echo '{\"streams\": [{\"index\": 0, \"codec_type\": \"video\", "
                 "\"codec_name\": \"h264\", \"width\": 640, \"height\": 360}], "
                 "\"format\": {\"format_name\": \"matroska,webm\", \"duration\": \"7.5\", "
                 "\"start_time\": \"0\", \"bit_rate\": \"100000\"}}'\n"
                 "exec sleep 30\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    // The prober is found beside the media tool; this one draws nothing.
    QVERIFY(
        QFile::link(QStringLiteral("/bin/true"), fakeFolder.filePath(QStringLiteral("ffmpeg"))));
    SetAppFolder(fakeFolder.path());

    QCOMPARE(AddMediaFile(mediaPath(QStringLiteral("hanging.mkv"))), 0);
    QCOMPARE(m_received.size(), 1);
    QCOMPARE(m_received[0].durationLine,
             QStringLiteral("Duration: 00:00:07.50, start: 0.000000, bitrate: 100 kb/s"));
    QFile pid(pidFile);
    QVERIFY(pid.open(QIODevice::ReadOnly));
    const QString proc = QStringLiteral("/proc/") + QString::fromLatin1(pid.readAll().trimmed());
    QTRY_VERIFY(!QFile::exists(proc));
}

void TestProbe::missingToolFailsQuietly()
{
    QTemporaryDir empty;
    SetAppFolder(empty.path());
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", empty.path().toUtf8());
    const int result = AddMediaFile(mediaPath(QStringLiteral("va2.mp4")));
    qputenv("PATH", path);
    QCOMPARE(result, -1);
    QVERIFY(m_received.isEmpty());
}

QTEST_MAIN(TestProbe)
#include "test_probe.moc"
