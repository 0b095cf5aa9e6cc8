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
        QVERIFY(TestMedia::MakeClip(media(QStringLiteral("talk.oga")), 2.0, 0, 0, 25, false));
        QVERIFY(TestMedia::MakeClip(media(QStringLiteral("LOUD.MP3")), 1.0, 0, 0, 25, false));
        // An mp3 under another name.
        QVERIFY(QFile::copy(media(QStringLiteral("-c.mp3")), media(QStringLiteral("song.dat"))));
        for (const char* name : {"notes.mp4", "readme.txt"}) {
            QFile text(media(QString::fromUtf8(name)));
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("not a video\n");
        }
        // Cut off while being copied: the index, written last, is gone.
        QVERIFY(QFile::copy(media(QStringLiteral("a.mp4")), media(QStringLiteral("half.mp4"))));
        QFile half(media(QStringLiteral("half.mp4")));
        QVERIFY(half.resize(half.size() / 2));
        QVERIFY(QFile::copy(media(QStringLiteral("a.mp4")), media(QStringLiteral("locked.mp4"))));
        QVERIFY(QFile::setPermissions(media(QStringLiteral("locked.mp4")), {}));
        QVERIFY(QDir(m_media.path()).mkdir(QStringLiteral("Clips")));
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
        if (withFfmpeg) {
            // A program of its own, not a link: nothing is found beside it.
            QFile tool(bare.filePath(QStringLiteral("ffmpeg")));
            QVERIFY(tool.open(QIODevice::WriteOnly));
            tool.write(("#!/bin/sh\nexec " + TestMedia::Ffmpeg().toUtf8() + " \"$@\"\n"));
            tool.close();
            QVERIFY(tool.setPermissions(tool.permissions() | QFile::ExeOwner));
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bare.path()));
        SetAppFolder(bare.path());
        int asked = 0;
        SetOpenFilesDialog([&](QWidget*, const QString&, const QString&, const QString&) {
            ++asked;
            return QStringList{media(QStringLiteral("a.mp4"))};
        });
        QStringList atStart;
        QStringList onAdd;
        QStringList onDrop;
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
        answerNotice(&atStart);
        QTest::mouseClick(m_window->topBar()->addButton(), Qt::LeftButton);
        answerNotice(&onAdd);
        m_window->AddMediaPaths({media(QStringLiteral("a.mp4"))}); // a drop
        answerNotice(&onDrop);
        qputenv("PATH", path);
        SetOpenFilesDialog({});

        const QStringList expected{QStringLiteral("The media tool ffmpeg was not found."),
                                   QStringLiteral("Debian, Ubuntu: sudo apt install ffmpeg"),
                                   QStringLiteral("or put ffmpeg beside Splicora.")};
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
        const QStringList accepted{
            media(QStringLiteral("a.mp4")),          media(QStringLiteral("talk.oga")),
            media(QStringLiteral("LOUD.MP3")),       media(QStringLiteral("song.dat")),
            media(QStringLiteral("b clip 'ü'.mkv")), media(QStringLiteral("-c.mp3"))};
        QStringList paths = accepted;
        paths.insert(1, media(QStringLiteral("notes.mp4")));
        paths.insert(5, media(QStringLiteral("half.mp4")));
        paths.insert(6, media(QStringLiteral("gone.mp4")));
        QStringList refusals{QStringLiteral("These files were not added:"),
                             QStringLiteral("notes.mp4: not a media file"),
                             QStringLiteral("half.mp4: damaged"),
                             QStringLiteral("gone.mp4: cannot be read")};
        // Root reads any file.
        if (geteuid() != 0) {
            paths.insert(7, media(QStringLiteral("locked.mp4")));
            refusals << QStringLiteral("locked.mp4: cannot be read");
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
        QCOMPARE(list()->totalsLabel()->text(),
                 QStringLiteral("File: 6 \t Total: ") + TimeToString(kept));
    }

    void pathsAddedWhileProbingQueueBehind()
    {
        m_window->AddMediaPaths({media(QStringLiteral("b clip 'ü'.mkv")),
                                 media(QStringLiteral("notes.mp4")),
                                 media(QStringLiteral("a.mp4"))});
        m_window->AddMediaPaths({media(QStringLiteral("-c.mp3")), media(QStringLiteral("gone.mp4")),
                                 media(QStringLiteral("a.mp4"))});
        waitIdle();
        QCOMPARE(
            rowPaths(),
            (QStringList{media(QStringLiteral("b clip 'ü'.mkv")), media(QStringLiteral("a.mp4")),
                         media(QStringLiteral("-c.mp3")), media(QStringLiteral("a.mp4"))}));
        // Batches that overlap share one notice.
        QStringList notice;
        answerNotice(&notice);
        QCOMPARE(notice, (QStringList{QStringLiteral("These files were not added:"),
                                      QStringLiteral("notes.mp4: not a media file"),
                                      QStringLiteral("gone.mp4: cannot be read")}));
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

    void dropFromAFileManager()
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(media(QStringLiteral("-c.mp3"))),
                      QUrl::fromLocalFile(media(QStringLiteral("readme.txt"))),
                      QUrl::fromLocalFile(media(QStringLiteral("Clips")) + QLatin1Char('/')),
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
        QStringList notice;
        answerNotice(&notice);
        QCOMPARE(notice, (QStringList{QStringLiteral("These files were not added:"),
                                      QStringLiteral("readme.txt: not a media file"),
                                      QStringLiteral("Clips: not a media file")}));

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
        // Nothing refused, nothing to tell.
        QVERIFY(notices().isEmpty());
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
        // The folder is refused at once; its notice would come once the
        // queue is idle.
        m_window->AddMediaPaths({media(QStringLiteral("Clips")), media(QStringLiteral("a.mp4"))});
        QTRY_VERIFY(QFile(pidFile).size() > 0);
        QTRY_COMPARE(m_window->probeQueue()->pendingCount(), 1); // the folder is out
        QFile pid(pidFile);
        QVERIFY(pid.open(QIODevice::ReadOnly));
        const QString proc =
            QStringLiteral("/proc/") + QString::fromLatin1(pid.readAll().trimmed());
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
