// Adding files through the main window as a user does: the file commands
// and drops end in rows, in order, while the window keeps responding, and
// one notice names every file that was refused, with its reason.
#include "app/appfolder.h"
#include "app/timetext.h"
#include "list/listnoitemwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "mainwindow/vctopwidget.h"
#include "media/addfilesdialog.h"
#include "media/probequeue.h"
#include "player/videoplayerwidget.h"
#include "testsupport/testmedia.h"
#include "widgets/mymessagedialog.h"
#include "widgets/mytempbutton.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

class TestAddingFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    std::unique_ptr<VCMainWidget> m_window;

    QString media(const QString& name) const { return m_media.filePath(name); }
    QStringList media(std::initializer_list<const char*> names) const
    {
        QStringList paths;
        for (const char* name : names)
            paths << media(QString::fromUtf8(name));
        return paths;
    }
    VideoListWidget* list() const { return m_window->mediaList(); }
    QStringList rowPaths() const
    {
        QStringList paths;
        for (const VideoItemWidget* item : list()->itemsInUse())
            paths << item->filePath;
        return paths;
    }
    void waitIdle() { QTRY_VERIFY_WITH_TIMEOUT(!m_window->probeQueue()->isBusy(), 30000); }
    QList<MyMessageDialog*> notices() const
    {
        QList<MyMessageDialog*> shown;
        for (MyMessageDialog* dialog : m_window->findChildren<MyMessageDialog*>()) {
            if (dialog->isVisible())
                shown << dialog;
        }
        return shown;
    }
    // Expects exactly one notice, centred over the window with one button,
    // and answers it; `lines` gets its text, line by line.
    void answerNotice(QStringList* lines)
    {
        QTRY_VERIFY(!notices().isEmpty());
        QCOMPARE(notices().size(), 1);
        MyMessageDialog* notice = notices().first();
        QVERIFY(notice->isModal());
        QVERIFY(!notice->cancelButton()->isVisible());
        const QPoint offCentre = notice->geometry().center() - m_window->geometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, qPrintable(QString::number(offCentre.x())));
        // Nothing is cut off: the message area does not grow with the text.
        const QLabel* label = notice->messageLabel();
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
        *lines = label->text().split(QLatin1Char('\n'));
        QTest::mouseClick(notice->okButton(), Qt::LeftButton);
        QTRY_VERIFY(notices().isEmpty());
    }
    // A stand-in for the media tool in `folder`: a shell script running `body`.
    static bool writeTool(const QString& folder, const QByteArray& body)
    {
        QFile tool(folder + QStringLiteral("/ffmpeg"));
        return tool.open(QIODevice::WriteOnly) && tool.write("#!/bin/sh\n" + body) > 0 &&
               tool.setPermissions(tool.permissions() | QFile::ExeOwner);
    }

private Q_SLOTS:
    void initTestCase()
    {
        TestMedia::UseBuildAppFolder();
        QVERIFY(TestMedia::MakeClip(media("a.mp4"), 3.0));
        QVERIFY(TestMedia::MakeClip(media("b clip 'ü'.mkv"), 2.0, 160, 120));
        QVERIFY(TestMedia::RunFfmpeg(
            {"-f", "lavfi", "-i", "sine=duration=4", "-c:a", "libmp3lame", media("-c.mp3")}));
        QVERIFY(TestMedia::MakeClip(media("talk.oga"), 2.0, 0, 0, 25, false));
        QVERIFY(TestMedia::MakeClip(media("LOUD.MP3"), 1.0, 0, 0, 25, false));
        // An mp3 under another name.
        QVERIFY(QFile::copy(media("-c.mp3"), media("song.dat")));
        for (const QString& path : media({"notes.mp4", "readme.txt"})) {
            QFile text(path);
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("not a video\n");
        }
        // Cut off while being copied: the index, written last, is gone.
        QVERIFY(QFile::copy(media("a.mp4"), media("half.mp4")));
        QFile half(media("half.mp4"));
        QVERIFY(half.resize(half.size() / 2));
        QVERIFY(QFile::copy(media("a.mp4"), media("locked.mp4")));
        QVERIFY(QFile::setPermissions(media("locked.mp4"), {}));
        QVERIFY(QDir(m_media.path()).mkdir("Clips"));
    }

    void init()
    {
        TestMedia::UseBuildAppFolder();
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
    }

    void cleanup() { m_window.reset(); }

    // Neither beside the program nor on PATH (or the media tool without its
    // prober): the user is told at start and at every try to add, and no
    // file dialog opens for nothing.
    void missingMediaToolIsSaid_data()
    {
        QTest::addColumn<bool>("withFfmpeg");
        QTest::newRow("no media tool") << false;
        QTest::newRow("media tool without its prober") << true;
    }
    void missingMediaToolIsSaid()
    {
        QFETCH(bool, withFfmpeg);
        m_window.reset();
        QTemporaryDir bare;
        QVERIFY(bare.isValid());
        // A program of its own, not a link: nothing is found beside it.
        if (withFfmpeg)
            QVERIFY(writeTool(bare.path(), "exec " + TestMedia::Ffmpeg().toUtf8() + " \"$@\"\n"));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bare.path()));
        SetAppFolder(bare.path());
        int asked = 0;
        SetOpenFilesDialog([&](QWidget*, const QString&, const QString&, const QString&) {
            ++asked;
            return QStringList{media("a.mp4")};
        });
        QStringList atStart;
        QStringList onAdd;
        QStringList onDrop;
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
        answerNotice(&atStart);
        QTest::mouseClick(m_window->topBar()->addButton(), Qt::LeftButton);
        answerNotice(&onAdd);
        m_window->AddMediaPaths({media("a.mp4")}); // a drop
        answerNotice(&onDrop);
        qputenv("PATH", path);
        SetOpenFilesDialog({});

        const QStringList expected{"The media tool ffmpeg was not found.",
                                   "Debian, Ubuntu: sudo apt install ffmpeg",
                                   "or put ffmpeg beside Splicora."};
        QCOMPARE(atStart, expected);
        QCOMPARE(onAdd, expected);
        QCOMPARE(onDrop, expected);
        QCOMPARE(asked, 0);
        QVERIFY(!m_window->probeQueue()->isBusy());
        QCOMPARE(list()->itemCount(), 0);
    }

    void addsMediaInOrderAndNamesEveryRefusal()
    {
        QVERIFY(list()->guide()->isVisible());
        QVERIFY(!m_window->topBar()->clearButton()->isVisible());
        // Letter case and extensions decide nothing; the probe does.
        const QStringList accepted =
            media({"a.mp4", "talk.oga", "LOUD.MP3", "song.dat", "b clip 'ü'.mkv", "-c.mp3"});
        QStringList paths = accepted;
        paths.insert(1, media("notes.mp4"));
        paths.insert(5, media("half.mp4"));
        paths.insert(6, media("gone.mp4"));
        QStringList refusals{"These files were not added:", "notes.mp4: not a media file",
                             "half.mp4: damaged", "gone.mp4: cannot be read"};
        // Root reads any file.
        if (geteuid() != 0) {
            paths.insert(7, media("locked.mp4"));
            refusals << "locked.mp4: cannot be read";
        }
        m_window->AddMediaPaths(paths);
        // The window says that it is working while the tool runs.
        QVERIFY(list()->totalsLabel()->text().contains(QLatin1String("Adding files")));
        QCOMPARE(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                : Qt::ArrowCursor,
                 Qt::BusyCursor);
        waitIdle();
        QStringList notice;
        answerNotice(&notice);
        QCOMPARE(notice, refusals);
        QCOMPARE(rowPaths(), accepted);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!list()->guide()->isVisible());
        QVERIFY(m_window->topBar()->clearButton()->isVisible());
        QCOMPARE(list()->outputFormatId(), list()->itemsInUse().first()->itemId);
        // The batch's first row is selected and handed to the preview.
        QCOMPARE(m_window->playingItem(), list()->itemsInUse().first());
        QCOMPARE(m_window->playerPanel()->item(), list()->itemsInUse().first());
        qint64 kept = 0;
        for (const VideoItemWidget* item : list()->itemsInUse())
            kept += item->cutEnd - item->cutStart;
        // 3 + 2 + 1 + 4 + 2 + 4 seconds; each mp3 reports a few hundredths more.
        QVERIFY2(qAbs(kept - 16'000'000) < 250'000, qPrintable(QString::number(kept)));
        QCOMPARE(list()->totalsLabel()->text(), "File: 6 \t Total: " + TimeToString(kept));
    }

    void manyRefusalsAreCounted()
    {
        QStringList paths;
        for (int i = 1; i <= 12; ++i)
            paths << media(QStringLiteral("gone %1.mp4").arg(i));
        m_window->AddMediaPaths(paths);
        waitIdle();
        QStringList notice;
        answerNotice(&notice);
        // The heading, the files that fit, in order, and a count of the others.
        const int listed = notice.size() - 2;
        QVERIFY(listed > 0);
        for (int i = 0; i < listed; ++i)
            QCOMPARE(notice[i + 1], QStringLiteral("gone %1.mp4: cannot be read").arg(i + 1));
        QCOMPARE(notice.last(), QStringLiteral("... and %1 more.").arg(paths.size() - listed));
    }

    // A drop from a file manager, then more files while it is still being
    // probed: they queue behind, the same file may come twice, and the
    // batches that overlap share one notice.
    void dropThenMoreWhileProbing()
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(media("-c.mp3")),
                      QUrl::fromLocalFile(media("readme.txt")),
                      QUrl::fromLocalFile(media("Clips/")), QUrl::fromLocalFile(media("a.mp4"))});
        QVERIFY(data.hasFormat("text/uri-list"));
        const QPoint at = list()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list(), &drop);
        m_window->AddMediaPaths(media({"b clip 'ü'.mkv", "gone.mp4", "a.mp4"}));
        waitIdle();
        QCOMPARE(rowPaths(), media({"-c.mp3", "a.mp4", "b clip 'ü'.mkv", "a.mp4"}));
        QStringList notice;
        answerNotice(&notice);
        QCOMPARE(notice, (QStringList{"These files were not added:", "readme.txt: not a media file",
                                      "Clips: not a media file", "gone.mp4: cannot be read"}));
    }

    void clearAllEmptiesTheListAndThePreview()
    {
        m_window->AddMediaPaths({media("a.mp4")});
        waitIdle();
        QCOMPARE(list()->itemCount(), 1);
        // Nothing refused, nothing to tell.
        QVERIFY(notices().isEmpty());
        m_window->ClearAll();
        QCOMPARE(list()->itemCount(), 0);
        QCOMPARE(m_window->playingItem(), nullptr);
        QVERIFY(list()->guide()->isVisible());
        QVERIFY(!m_window->topBar()->clearButton()->isVisible());
        QVERIFY(list()->totalsLabel()->text().startsWith("File: 0 \t Total: 00:00:00.000"));
    }

    void closingWhileProbingLeavesNoTool()
    {
        // A tool that never finishes: closing must not leave it running.
        QTemporaryDir fake;
        const QString pidFile = fake.filePath("pid");
        QVERIFY(writeTool(fake.path(), "echo $$ > '" + pidFile.toUtf8() + "'\nexec sleep 30\n"));
        SetAppFolder(fake.path());
        // The folder is refused at once; its notice would come once the
        // queue is idle.
        m_window->AddMediaPaths(media({"Clips", "a.mp4"}));
        QTRY_VERIFY(QFile(pidFile).size() > 0);
        QTRY_COMPARE(m_window->probeQueue()->pendingCount(), 1); // the folder is out
        QFile pid(pidFile);
        QVERIFY(pid.open(QIODevice::ReadOnly));
        const QString proc = "/proc/" + QString::fromLatin1(pid.readAll().trimmed());
        QVERIFY(QFile::exists(proc));
        m_window->close();
        QTRY_VERIFY(!QFile::exists(proc));
        QCOMPARE(list()->itemCount(), 0);
        // Nobody is left to read about the folder.
        QVERIFY(m_window->findChildren<MyMessageDialog*>().isEmpty());
    }
};

QTEST_MAIN(TestAddingFiles)
#include "test_addingfiles.moc"
