// The probe queue against real ffmpeg and against small shell scripts that
// play the tool (slow, hanging, counting how many run at once).
#include "app/appfolder.h"
#include "media/probequeue.h"
#include "media/workfolder.h"
#include "testsupport/testmedia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Collects what a queue hands out, as "ok:<file name>" or
// "fail:<file name> (<reason>)".
struct Recorder
{
    QStringList events;
    QList<bool> busy;
    QList<ProbeResult> results;

    explicit Recorder(ProbeQueue& queue)
    {
        QObject::connect(&queue, &ProbeQueue::probed, &queue, [this](const ProbeResult& r) {
            events << QStringLiteral("ok:") + QFileInfo(r.filePath).fileName();
            results << r;
        });
        QObject::connect(
            &queue, &ProbeQueue::failed, &queue, [this](const QString& path, ProbeRefusal reason) {
                events << QStringLiteral("fail:%1 (%2)")
                              .arg(QFileInfo(path).fileName(), RefusalReasonText(reason));
            });
        QObject::connect(&queue, &ProbeQueue::busyChanged, &queue, [this](bool b) { busy << b; });
    }
};

} // namespace

class TestProbeQueue : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tool;
    QTemporaryDir m_media;

    QString media(const QString& name) const { return m_media.filePath(name); }
    QStringList media(std::initializer_list<const char*> names) const
    {
        QStringList paths;
        for (const char* name : names)
            paths << media(QString::fromUtf8(name));
        return paths;
    }
    // A stand-in prober: `before` runs first with $in set to the media path
    // and $dir to the tool's folder, then a short JSON answer is printed.
    void installTool(const QByteArray& before)
    {
        // The input is the last argument, given as "file:<path>".
        QFile script(m_tool.filePath("ffprobe"));
        QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write("#!/bin/sh\nfor a; do in=\"$a\"; done\nin=\"${in#file:}\"\ndir='" +
                     m_tool.path().toUtf8() + "'\n" + before +
                     "\necho '{\"streams\": [{\"index\": 0, \"codec_type\": \"video\", "
                     "\"codec_name\": \"h264\", \"width\": 640, \"height\": 360}], "
                     "\"format\": {\"format_name\": \"mov\", \"duration\": \"5\"}}'\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
        // The prober is found beside the media tool; this one draws nothing.
        QFile::remove(m_tool.filePath("ffmpeg"));
        QVERIFY(QFile::link("/bin/true", m_tool.filePath("ffmpeg")));
        SetAppFolder(m_tool.path());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!TestMedia::Ffmpeg().isEmpty(), "ffmpeg must be installed");
        QVERIFY(m_tool.isValid() && m_media.isValid());
        // The first clip is much larger, so its probe tends to end last.
        QVERIFY(TestMedia::MakeClip(media("big.mp4"), 12.0, 1280, 720, 30));
        QVERIFY(TestMedia::MakeClip(media("small.mkv"), 1.0, 160, 120));
        QVERIFY(TestMedia::MakeClip(media("tone.mp3"), 1.0, 0, 0, 25, false));
        QFile junk(media("notes.mp4"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("a text file that only looks like a video\n");
        QVERIFY(QDir(m_media.path()).mkdir("folder"));
    }
    void init()
    {
        QDir(m_tool.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_tool.path()));
    }
    void realFilesKeepOrderAndFailInPlace_data()
    {
        QTest::addColumn<bool>("thumbnails");
        QTest::newRow("with thumbnails") << true;
        QTest::newRow("without") << false; // as the command line probes
    }

    void realFilesKeepOrderAndFailInPlace()
    {
        QFETCH(bool, thumbnails);
        TestMedia::UseBuildAppFolder();
        const QString picture = WorkFolder() + "/thumb/" + ThumbnailName(media("big.mp4")) + ".jpg";
        QFile::remove(picture);
        ProbeQueue queue;
        queue.setThumbnails(thumbnails);
        Recorder rec(queue);
        queue.enqueue(
            media({"big.mp4", "notes.mp4", "readme.txt", "folder", "small.mkv", "tone.mp3"}));
        QCOMPARE(queue.pendingCount(), 6);
        QTRY_VERIFY_WITH_TIMEOUT(!queue.isBusy(), 20000);
        QCOMPARE(rec.events,
                 QStringList({"ok:big.mp4", "fail:notes.mp4 (not a media file)",
                              "fail:readme.txt (cannot be read)", "fail:folder (not a media file)",
                              "ok:small.mkv", "ok:tone.mp3"}));
        QCOMPARE(rec.busy, QList<bool>({true, false}));
        QCOMPARE(rec.results[0].videoStreamLines.size(), 1);
        QCOMPARE(rec.results[0].formatName, QStringLiteral("mov,mp4,m4a,3gp,3g2,mj2"));
        QCOMPARE(QFileInfo(picture).size() > 0, thumbnails);
        QCOMPARE(rec.results[0].thumbnailPath, thumbnails ? picture : QString());
        QCOMPARE(rec.results[2].audioStreamLines.size(), 1);
    }
    void slowEarlyFileStillComesFirst()
    {
        installTool("case \"$in\" in *slow*) sleep 1;; esac");
        ProbeQueue queue;
        queue.setMaxParallel(4);
        Recorder rec(queue);
        // The name decides nothing: every path goes to the tool.
        queue.enqueue(media({"slow.mp4", "a.mp4", "x.txt", "b.mkv", "B.MP3", "c"}));
        QCOMPARE(queue.pendingCount(), 6);
        QTRY_VERIFY_WITH_TIMEOUT(!queue.isBusy(), 10000);
        QCOMPARE(rec.events, QStringList({"ok:slow.mp4", "ok:a.mp4", "ok:x.txt", "ok:b.mkv",
                                          "ok:B.MP3", "ok:c"}));
    }
    void neverRunsMoreThanMaxParallel()
    {
        // Each run leaves a marker while it works and logs how many markers it saw.
        installTool("mkdir -p \"$dir/run\"; touch \"$dir/run/$$\"\n"
                    "ls \"$dir/run\" | wc -l >> \"$dir/seen\"\n"
                    "sleep 0.3; rm \"$dir/run/$$\"");
        ProbeQueue queue;
        queue.setMaxParallel(2);
        Recorder rec(queue);
        queue.enqueue(media({"1.mp4", "2.mp4", "3.mp4", "4.mp4", "5.mp4", "6.mp4"}));
        QTRY_VERIFY_WITH_TIMEOUT(!queue.isBusy(), 10000);
        QCOMPARE(rec.events.size(), 6);
        QFile seen(m_tool.filePath("seen"));
        QVERIFY(seen.open(QIODevice::ReadOnly));
        int most = 0;
        const QList<QByteArray> counts = seen.readAll().split('\n');
        for (const QByteArray& count : counts)
            most = std::max(most, count.trimmed().toInt());
        QCOMPARE(most, 2);
    }
    void samePathNeverRunsTwiceAtOnce()
    {
        // mkdir fails when another run of the same file holds the lock.
        installTool("lock=\"$dir/$(basename \"$in\").lock\"\n"
                    "mkdir \"$lock\" 2>/dev/null || touch \"$dir/overlap\"\n"
                    "sleep 0.3; rmdir \"$lock\"");
        ProbeQueue queue;
        queue.setMaxParallel(4);
        Recorder rec(queue);
        queue.enqueue(media({"same.mp4", "other.mp4", "same.mp4", "same.mp4"}));
        QTRY_VERIFY_WITH_TIMEOUT(!queue.isBusy(), 10000);
        QCOMPARE(rec.events,
                 QStringList({"ok:same.mp4", "ok:other.mp4", "ok:same.mp4", "ok:same.mp4"}));
        QVERIFY(!QFile::exists(m_tool.filePath("overlap")));
    }
    void hangingToolIsEndedByTheWatchdog()
    {
        // Reports at once, then hangs: the report still counts, after the wait.
        // Hanging without a report refuses the file; a tool that ran out of time
        // says nothing against it, even when it looks like a media file.
        installTool("case \"$in\" in *mute*) exec sleep 30;; esac\n"
                    "echo '{\"streams\": [{\"codec_type\": \"audio\", \"codec_name\": \"aac\", "
                    "\"sample_rate\": \"44100\", \"channels\": 2}], "
                    "\"format\": {\"format_name\": \"mov\", \"duration\": \"7.5\"}}'\n"
                    "echo $$ > \"$dir/pid\"; exec sleep 30");
        QFile ogg(media("mute.oga"));
        QVERIFY(ogg.open(QIODevice::WriteOnly));
        ogg.write(QByteArray("OggS\0\x02", 6));
        ogg.close();
        ProbeQueue queue;
        queue.setMaxParallel(2);
        Recorder rec(queue);
        queue.enqueue(media({"hang.mp4", "mute.oga"}));
        QTRY_VERIFY_WITH_TIMEOUT(!queue.isBusy(), 10000);
        QCOMPARE(rec.events, QStringList({"ok:hang.mp4", "fail:mute.oga (cannot be read)"}));
        QCOMPARE(rec.results[0].audioStreamLines.size(), 1);
        QFile pid(m_tool.filePath("pid"));
        QVERIFY(pid.open(QIODevice::ReadOnly));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/") + pid.readAll().trimmed()));
    }
    void destroyingOrCancellingEndsTheTools()
    {
        installTool("mkdir -p \"$dir/pids\"; touch \"$dir/pids/$$\"; exec sleep 30");
        QDir pids(m_tool.filePath("pids"));
        auto queue = std::make_unique<ProbeQueue>();
        queue->setMaxParallel(2);
        queue->enqueue(media({"a.mp4", "b.mp4", "c.mp4"}));
        QTRY_COMPARE(pids.entryList(QDir::Files).size(), 2);
        QStringList started = pids.entryList(QDir::Files);
        queue.reset();
        for (const QString& pid : started)
            QVERIFY2(!QFileInfo::exists(QStringLiteral("/proc/") + pid), qPrintable(pid));

        QVERIFY(pids.removeRecursively());
        ProbeQueue cancelled;
        Recorder rec(cancelled);
        cancelled.enqueue(media({"a.mp4", "b.mp4"}));
        QTRY_COMPARE(pids.entryList(QDir::Files).size(), 2);
        started = pids.entryList(QDir::Files);
        cancelled.cancelAll();
        QVERIFY(!cancelled.isBusy());
        QCOMPARE(cancelled.pendingCount(), 0);
        for (const QString& pid : started)
            QVERIFY2(!QFileInfo::exists(QStringLiteral("/proc/") + pid), qPrintable(pid));
        QTest::qWait(100);
        QVERIFY(rec.events.isEmpty());
        QCOMPARE(rec.busy, QList<bool>({true, false}));
    }
    void toolThatCannotStartFailsEveryPath()
    {
        SetAppFolder(m_tool.path()); // empty: no tool beside the program
        const QByteArray path = qgetenv("PATH");
        const auto restorePath = qScopeGuard([path] { qputenv("PATH", path); });
        qputenv("PATH", m_tool.path().toUtf8());
        ProbeQueue queue;
        Recorder rec(queue);
        for (const char* name : {"small.mkv", "tone.mp3"}) {
            QTest::ignoreMessage(
                QtDebugMsg, qPrintable(QStringLiteral("probe of %1: the media tool printed nothing")
                                           .arg(media(QString::fromUtf8(name)))));
        }
        // Good files: without a tool nothing is known against them.
        queue.enqueue(media({"small.mkv", "tone.mp3"}));
        QTRY_VERIFY_WITH_TIMEOUT(!queue.isBusy(), 5000);
        QCOMPARE(rec.events, QStringList({"fail:small.mkv (cannot be read)",
                                          "fail:tone.mp3 (cannot be read)"}));
        QCOMPARE(rec.busy, QList<bool>({true, false}));
    }
};

QTEST_GUILESS_MAIN(TestProbeQueue)
#include "test_probequeue.moc"
