// Adding files through the main window as a user does: the file commands
// and drops end in rows, in order, while the window keeps responding.
#include "app/appfolder.h"
#include "app/timetext.h"
#include "list/listnoitemwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "mainwindow/vctopwidget.h"
#include "media/probequeue.h"
#include "player/videoplayerwidget.h"
#include "testsupport/testmedia.h"
#include "widgets/mytempbutton.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

class TestAddingFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    std::unique_ptr<VCMainWidget> m_window;

    QString media(const QString& name) const { return m_media.filePath(name); }
    VideoListWidget* list() const { return m_window->mediaList(); }
    QStringList rowPaths() const
    {
        QStringList paths;
        for (const VideoItemWidget* item : list()->itemsInUse())
            paths << item->filePath;
        return paths;
    }
    void waitIdle() { QTRY_VERIFY_WITH_TIMEOUT(!m_window->probeQueue()->isBusy(), 30000); }

private Q_SLOTS:
    void initTestCase()
    {
        TestMedia::UseBuildAppFolder();
        QVERIFY(TestMedia::MakeClip(media(QStringLiteral("a.mp4")), 3.0));
        QVERIFY(TestMedia::MakeClip(media(QStringLiteral("b clip 'ü'.mkv")), 2.0, 160, 120));
        QVERIFY(TestMedia::RunFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"),
                                      QStringLiteral("-i"), QStringLiteral("sine=duration=4"),
                                      QStringLiteral("-c:a"), QStringLiteral("libmp3lame"),
                                      media(QStringLiteral("-c.mp3"))}));
        QFile text(media(QStringLiteral("notes.mp4")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a video\n");
    }

    void init()
    {
        TestMedia::UseBuildAppFolder();
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
    }

    void cleanup() { m_window.reset(); }

    void addsInPathOrderAndSkipsWhatIsNotMedia()
    {
        QVERIFY(list()->guide()->isVisible());
        QVERIFY(!m_window->topBar()->clearButton()->isVisible());
        const QStringList paths{media(QStringLiteral("a.mp4")), media(QStringLiteral("notes.mp4")),
                                media(QStringLiteral("b clip 'ü'.mkv")),
                                media(QStringLiteral("-c.mp3"))};
        m_window->AddMediaPaths(paths);
        // The window says that it is working while the tool runs.
        QVERIFY(list()->totalsLabel()->text().contains(QLatin1String("Adding files")));
        QCOMPARE(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                : Qt::ArrowCursor,
                 Qt::BusyCursor);
        waitIdle();
        QCOMPARE(rowPaths(), (QStringList{paths[0], paths[2], paths[3]}));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!list()->guide()->isVisible());
        QVERIFY(m_window->topBar()->clearButton()->isVisible());
        QCOMPARE(list()->outputFormatId(), list()->itemsInUse().first()->itemId);
        // The last added row is selected and handed to the preview.
        QCOMPARE(m_window->playingItem(), list()->itemsInUse().last());
        QCOMPARE(m_window->playerPanel()->item(), list()->itemsInUse().last());
        qint64 kept = 0;
        for (const VideoItemWidget* item : list()->itemsInUse())
            kept += item->cutEnd - item->cutStart;
        QVERIFY2(qAbs(kept - 9'000'000) < 150'000, qPrintable(QString::number(kept)));
        QCOMPARE(list()->totalsLabel()->text(),
                 QStringLiteral("File: 3 \t Total: ") + TimeToString(kept));
    }

    void pathsAddedWhileProbingQueueBehind()
    {
        m_window->AddMediaPaths(
            {media(QStringLiteral("b clip 'ü'.mkv")), media(QStringLiteral("a.mp4"))});
        m_window->AddMediaPaths({media(QStringLiteral("-c.mp3")), media(QStringLiteral("a.mp4"))});
        waitIdle();
        QCOMPARE(
            rowPaths(),
            (QStringList{media(QStringLiteral("b clip 'ü'.mkv")), media(QStringLiteral("a.mp4")),
                         media(QStringLiteral("-c.mp3")), media(QStringLiteral("a.mp4"))}));
    }

    void dropFromAFileManager()
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(media(QStringLiteral("-c.mp3"))),
                      QUrl::fromLocalFile(media(QStringLiteral("readme.txt"))),
                      QUrl::fromLocalFile(media(QStringLiteral("a.mp4")))});
        QVERIFY(data.hasFormat(QStringLiteral("text/uri-list")));
        const QPoint at = list()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list(), &drop);
        waitIdle();
        QCOMPARE(rowPaths(),
                 (QStringList{media(QStringLiteral("-c.mp3")), media(QStringLiteral("a.mp4"))}));

        // Data without file locations is refused.
        QMimeData words;
        words.setText(QStringLiteral("hello"));
        QDragEnterEvent refused(at, Qt::CopyAction, &words, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list(), &refused);
        QVERIFY(!refused.isAccepted());
    }

    void clearAllEmptiesTheListAndThePreview()
    {
        m_window->AddMediaPaths({media(QStringLiteral("a.mp4"))});
        waitIdle();
        QCOMPARE(list()->itemCount(), 1);
        m_window->ClearAll();
        QCOMPARE(list()->itemCount(), 0);
        QCOMPARE(m_window->playingItem(), nullptr);
        QVERIFY(list()->guide()->isVisible());
        QVERIFY(!m_window->topBar()->clearButton()->isVisible());
        QVERIFY(list()->totalsLabel()->text().startsWith(
            QLatin1String("File: 0 \t Total: 00:00:00.000")));
    }

    void closingWhileProbingLeavesNoTool()
    {
        // A tool that never finishes: closing must not leave it running.
        QTemporaryDir fake;
        const QString pidFile = fake.filePath(QStringLiteral("pid"));
        QFile script(fake.filePath(QStringLiteral("ffmpeg")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho $$ > '" + pidFile.toUtf8() + "'\nexec sleep 30\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        SetAppFolder(fake.path());
        m_window->AddMediaPaths({media(QStringLiteral("a.mp4"))});
        QTRY_VERIFY(QFile(pidFile).size() > 0);
        QFile pid(pidFile);
        QVERIFY(pid.open(QIODevice::ReadOnly));
        const QString proc =
            QStringLiteral("/proc/") + QString::fromLatin1(pid.readAll().trimmed());
        QVERIFY(QFile::exists(proc));
        m_window->close();
        QTRY_VERIFY(!QFile::exists(proc));
        QCOMPARE(list()->itemCount(), 0);
    }
};

QTEST_MAIN(TestAddingFiles)
#include "test_addingfiles.moc"
