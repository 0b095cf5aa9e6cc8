// Saving the window's list of files and opening it again, as a user does:
// the rows come back in order with their ranges, tracks, mark and cut mode;
// files gone since saving are named and the rest opens; a damaged list or a
// cancelled question leaves the rows as they were.
#include "convert/vcbottomwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "mainwindow/vctopwidget.h"
#include "media/probequeue.h"
#include "player/myqtimeedit.h"
#include "player/videoplayerwidget.h"
#include "testsupport/testmedia.h"
#include "widgets/mymessagedialog.h"
#include "widgets/mytempbutton.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr qint64 kSecond = 1000000;

// What the user sees of a row.
struct Row
{
    QString path;
    qint64 start = 0;
    qint64 end = 0;
    int track = 0;
    QString audioFacts;
    bool marked = false;
};

} // namespace

class TestJobListWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    std::unique_ptr<VCMainWidget> m_window;

    QString media(const QString& name) const { return m_media.filePath(name); }
    VideoListWidget* list() const { return m_window->mediaList(); }
    VideoItemWidget* row(int i) const { return list()->itemsInUse().value(i); }

    // One window at a time: the bottom bar reads the rows of the newest.
    void newWindow(CutMode mode)
    {
        m_window.reset();
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
        m_window->bottomBar()->setCutMode(mode);
    }
    bool waitForRows(int count)
    {
        return QTest::qWaitFor(
                   [&] {
                       return !m_window->probeQueue()->isBusy() && list()->itemCount() == count;
                   },
                   30000) &&
               list()->itemCount() == count;
    }
    bool add(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names)
            paths << media(name);
        const int before = list()->itemCount();
        m_window->AddMediaPaths(paths);
        return waitForRows(before + static_cast<int>(names.size()));
    }
    static void setRange(VideoItemWidget* item, double start, double end)
    {
        item->cutStart = qRound64(start * kSecond);
        item->cutEnd = qRound64(end * kSecond);
        item->UpdateCutInfo();
    }
    QList<Row> rows() const
    {
        QList<Row> shown;
        for (const VideoItemWidget* item : list()->itemsInUse())
            shown.append({item->filePath, item->cutStart, item->cutEnd, item->audioTrackIndex,
                          item->audioFactsLabel()->text(),
                          item->itemId == list()->outputFormatId()});
        return shown;
    }
    static bool sameRows(const QList<Row>& a, const QList<Row>& b)
    {
        if (a.size() != b.size())
            return false;
        for (int i = 0; i < a.size(); ++i) {
            const Row& x = a.at(i);
            const Row& y = b.at(i);
            if (x.path != y.path || qAbs(x.start - y.start) > 1 || qAbs(x.end - y.end) > 1 ||
                x.track != y.track || x.audioFacts != y.audioFacts || x.marked != y.marked) {
                qWarning("row %d differs: %s %lld-%lld track %d%s / %s %lld-%lld track %d%s", i,
                         qPrintable(x.path), x.start, x.end, x.track, x.marked ? " marked" : "",
                         qPrintable(y.path), y.start, y.end, y.track, y.marked ? " marked" : "");
                return false;
            }
        }
        return true;
    }
    // The notices shown over the window, by their texts.
    QStringList notices() const
    {
        QStringList texts;
        for (const MyMessageDialog* dialog : m_window->findChildren<MyMessageDialog*>()) {
            if (dialog->isVisible() && !dialog->cancelButton()->isVisible())
                texts << dialog->messageLabel()->text();
        }
        return texts;
    }
    void closeNotices()
    {
        for (MyMessageDialog* dialog : m_window->findChildren<MyMessageDialog*>()) {
            if (dialog->isVisible())
                QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        }
        QTRY_VERIFY(notices().isEmpty());
    }
    // Opens `path`, answering the question the window asks (if it does)
    // with Replace or Cancel; `asked` gets the question's text.
    bool openAnswering(const QString& path, bool replace, QString* asked = nullptr)
    {
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<MyMessageDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || !dialog->cancelButton()->isVisible())
                return;
            if (asked)
                *asked = dialog->messageLabel()->text();
            QTest::mouseClick(replace ? dialog->okButton() : dialog->cancelButton(),
                              Qt::LeftButton);
        });
        answerer.start(20);
        return m_window->OpenJobList(path);
    }

private Q_SLOTS:
    void initTestCase()
    {
        TestMedia::UseBuildAppFolder();
        QVERIFY(TestMedia::MakeClip(media("a.mp4"), 6.0));
        QVERIFY(TestMedia::MakeClip(media("two tracks.mp4"), 5.0, 320, 240, 25, true, 2));
        QVERIFY(TestMedia::MakeClip(media("c.mp4"), 4.0));
    }
    void cleanup() { m_window.reset(); }

    void savedListOpensAsItWasSaved()
    {
        newWindow(CutMode::Exact);
        QVERIFY(add({"a.mp4", "two tracks.mp4", "c.mp4", "a.mp4"}));
        setRange(row(0), 1.25, 4.5);
        setRange(row(1), 0.5, double(row(1)->mediaInfo.duration) / kSecond);
        setRange(row(2), 0.3333337, 2.0);
        setRange(row(3), 2.0, 3.0); // the same file again, with a range of its own
        row(1)->trackChoice()->setCurrentIndex(1);
        QTRY_VERIFY(!m_window->probeQueue()->isBusy());
        row(1)->setDefaultAction_slots();
        const QList<Row> saved = rows();
        QCOMPARE(saved.at(1).track, 1);
        QVERIFY(saved.at(1).marked);
        const QString path = m_media.filePath("saved.splicora.json");
        QVERIFY(m_window->SaveJobList(path));
        QVERIFY(notices().isEmpty());

        // Another run of the program, left in the other mode.
        newWindow(CutMode::Keyframe);
        QString asked;
        QVERIFY(openAnswering(path, true, &asked));
        QVERIFY2(asked.isEmpty(), qPrintable(asked)); // nothing to replace, nothing asked
        QVERIFY(waitForRows(4));
        QVERIFY(sameRows(rows(), saved));
        QCOMPARE(row(1)->trackChoice()->currentIndex(), 1);
        QCOMPARE(m_window->bottomBar()->cutMode(), CutMode::Exact);
        QVERIFY(notices().isEmpty());
        // The preview shows the first row's range once the list is in.
        VideoPlayerWidget* player = m_window->playerPanel();
        QTRY_COMPARE(player->item(), row(0));
        QCOMPARE(player->startField()->microseconds(), saved.at(0).start);
        QCOMPARE(player->endField()->microseconds(), saved.at(0).end);

        // Saved again unchanged, it is the same file.
        const QString again = m_media.filePath("again.splicora.json");
        QVERIFY(m_window->SaveJobList(again));
        QCOMPARE(TestMedia::FileMd5(again), TestMedia::FileMd5(path));
    }

    void filesGoneSinceSavingAreNamedAndTheRestOpens()
    {
        QVERIFY(QFile::copy(media("c.mp4"), media("gone soon.mp4")));
        newWindow(CutMode::Keyframe);
        QVERIFY(add({"a.mp4", "gone soon.mp4", "c.mp4"}));
        const QString path = m_media.filePath("gone.splicora.json");
        QVERIFY(m_window->SaveJobList(path));
        QVERIFY(QFile::remove(media("gone soon.mp4")));

        newWindow(CutMode::Exact);
        QVERIFY(openAnswering(path, true));
        QVERIFY(waitForRows(2));
        QCOMPARE(row(0)->filePath, media("a.mp4"));
        QCOMPARE(row(1)->filePath, media("c.mp4"));
        QCOMPARE(m_window->bottomBar()->cutMode(), CutMode::Keyframe);
        QCOMPARE(notices().size(), 1);
        QVERIFY2(notices().first().contains("gone soon.mp4"), qPrintable(notices().first()));
        closeNotices();
    }

    void damagedListLeavesTheRows_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("reason");
        QTest::newRow("cut off") << QByteArray(R"({"version": 1, "items": [{"path": "/a.mp4")")
                                 << "JSON";
        QTest::newRow("newer") << QByteArray(R"({"version": 7, "items": []})") << "newer version";
        QTest::newRow("no path") << QByteArray(R"({"version": 1, "items": [{"start": 1}]})")
                                 << "no path";
    }
    void damagedListLeavesTheRows()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, reason);
        newWindow(CutMode::Exact);
        QVERIFY(add({"c.mp4", "a.mp4"}));
        setRange(row(1), 1.0, 2.0);
        const QList<Row> before = rows();
        const QString path = m_media.filePath("damaged.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();

        QString asked;
        QVERIFY(!openAnswering(path, true, &asked));
        QVERIFY(asked.isEmpty()); // refused before anything is asked
        QCOMPARE(notices().size(), 1);
        QVERIFY2(notices().first().contains(reason), qPrintable(notices().first()));
        closeNotices();
        QVERIFY(!m_window->probeQueue()->isBusy());
        QVERIFY(sameRows(rows(), before));
    }

    void cancellingTheQuestionKeepsTheRows()
    {
        newWindow(CutMode::Exact);
        QVERIFY(add({"a.mp4"}));
        const QString path = m_media.filePath("one.splicora.json");
        QVERIFY(m_window->SaveJobList(path));
        QVERIFY(add({"c.mp4", "two tracks.mp4"}));
        setRange(row(2), 1.0, 2.5);
        row(2)->setDefaultAction_slots();
        const QList<Row> before = rows();

        QString asked;
        QVERIFY(!openAnswering(path, false, &asked));
        QVERIFY2(asked.contains("3 files"), qPrintable(asked));
        QVERIFY(!m_window->probeQueue()->isBusy());
        QVERIFY(sameRows(rows(), before));

        // Answered the other way, the saved list takes their place.
        QVERIFY(openAnswering(path, true));
        QVERIFY(waitForRows(1));
        QCOMPARE(row(0)->filePath, media("a.mp4"));
        QVERIFY(notices().isEmpty());
    }

    // A list saved in the window gives the same result whether the window
    // or the command line runs it.
    void windowAndCommandLineRunTheListAlike()
    {
        newWindow(CutMode::Exact);
        QVERIFY(add({"a.mp4", "c.mp4"}));
        setRange(row(0), 1.25, 4.5);
        setRange(row(1), 0.5, 3.0);
        row(1)->setDefaultAction_slots();
        const QString path = m_media.filePath("run.splicora.json");
        QVERIFY(m_window->SaveJobList(path));

        newWindow(CutMode::Keyframe);
        QVERIFY(openAnswering(path, true));
        QVERIFY(waitForRows(2));
        QTemporaryDir out;
        VCBottomWidget* bar = m_window->bottomBar();
        bar->setOutputFolder(out.path());
        QSignalSpy finished(bar, &VCBottomWidget::jobFinished);
        QTimer answerer; // the report's "OK"
        connect(&answerer, &QTimer::timeout, this, [] {
            if (auto* dialog = qobject_cast<MyMessageDialog*>(QApplication::activeModalWidget()))
                QTest::mouseClick(dialog->cancelButton()->isVisible() ? dialog->cancelButton()
                                                                      : dialog->okButton(),
                                  Qt::LeftButton);
        });
        answerer.start(20);
        QTest::mouseClick(bar->startButton(), Qt::LeftButton);
        QVERIFY(finished.wait(60000));
        QVERIFY(finished.first().first().toBool());
        const QString byWindow = bar->outputFile();

        QProcess cli;
        const QString byCli = out.filePath("cli.mp4");
        cli.start(QStringLiteral(SPLICORA_CLI_PATH), {"run", path, "-o", byCli, "--quiet"});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY2(cli.readAllStandardError().isEmpty(), "a quiet run printed on stderr");
        // 3.25 s and 2.5 s, from exact starts, to the frame, by both.
        for (const QString& result : {byWindow, byCli}) {
            QVERIFY2(qAbs(TestMedia::StreamSpanSeconds(result, "v:0") - 5.75) <= 2 * 0.04 + 1e-3,
                     qPrintable(result));
            QCOMPARE(TestMedia::StreamTypes(result), (QStringList{"video", "audio"}));
        }
        QCOMPARE(TestMedia::StreamValues(byCli, "v:0", "nb_frames"),
                 TestMedia::StreamValues(byWindow, "v:0", "nb_frames"));
    }

    // Both menus offer the list entries; during a job only saving, which
    // leaves the rows the job reads alone.
    void menusOfferOpeningOnlyWithoutAJob()
    {
        newWindow(CutMode::Exact);
        QVERIFY(add({"c.mp4"}));
        QMenu* rowMenu = row(0)->contextMenu();
        const QList<QAction*> rowEntries = rowMenu->actions();
        QAction* rowSave = rowEntries.value(rowEntries.size() - 2);
        QAction* rowOpen = rowEntries.value(rowEntries.size() - 1);
        QCOMPARE(rowSave->text(), QStringLiteral("Save List\u2026"));
        QCOMPARE(rowOpen->text(), QStringLiteral("Open List\u2026"));
        QVERIFY(rowEntries.value(rowEntries.size() - 3)->isSeparator());
        VCTopWidget* bar = m_window->topBar();
        for (const bool running : {true, false}) {
            bar->setJobRunning(running);
            list()->setJobRunning(running);
            emit rowMenu->aboutToShow();
            QVERIFY(bar->saveListAction()->isEnabled() && rowSave->isEnabled());
            QCOMPARE(bar->openListAction()->isEnabled(), !running);
            QCOMPARE(rowOpen->isEnabled(), !running);
        }
    }
};

QTEST_MAIN(TestJobListWindow)
#include "test_joblistwindow.moc"
