// Whole jobs through the real bottom bar, as a user runs them: rows added from
// generated media, ranges set, the start button pressed, the result dialog
// answered. Results are checked with ffprobe.
#include "app/appfolder.h"
#include "convert/convertprogresswidget.h"
#include "convert/vcbottomwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "mainwindow/vctopwidget.h"
#include "media/childprocess.h"
#include "media/frameindex.h"
#include "media/probequeue.h"
#include "media/workfolder.h"
#include "testsupport/testmedia.h"
#include "widgets/mymessagedialog.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <csignal>
#include <tuple>

namespace {

constexpr qint64 kSecond = 1000000;

// Answers every message dialog that opens: the question's "OK" (never "Open
// Folder") or the notice's only button. Keeps the texts it saw.
class DialogAnswerer : public QObject
{
public:
    DialogAnswerer()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<MyMessageDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            texts << dialog->messageLabel()->text();
            MyTempButton2* button =
                dialog->cancelButton()->isVisible() ? dialog->cancelButton() : dialog->okButton();
            QTest::mouseClick(button, Qt::LeftButton);
        });
        m_timer.start(20);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

double Luminance(QRgb pixel)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(pixel)) + 0.7152 * channel(qGreen(pixel)) +
           0.0722 * channel(qBlue(pixel));
}

// The contrast of the percentage as painted over whatever lies beneath it: the
// commonest colour is the background, the one furthest from it the text.
double PercentContrast(QWidget* overlay)
{
    const QLabel* label = static_cast<ConvertProgressWidget*>(overlay)->percentLabel();
    const QImage image =
        overlay->grab(QRect(label->mapTo(overlay, QPoint(0, 0)), label->size())).toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most)
            std::tie(background, most) = std::make_pair(it.key(), it.value());
    }
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double a = Luminance(it.key()) + 0.05;
        const double b = Luminance(background) + 0.05;
        best = std::max(best, std::max(a, b) / std::min(a, b));
    }
    return best;
}

} // namespace

class TestConversionJobs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    std::unique_ptr<QTemporaryDir> m_out;
    std::unique_ptr<VCMainWidget> m_window;
    std::unique_ptr<DialogAnswerer> m_answers;
    bool m_startLockedWhileRunning = false;

    QString media(const QString& name) const { return m_media.filePath(name); }
    VideoListWidget* list() const { return m_window->mediaList(); }
    VCBottomWidget* bar() const { return m_window->bottomBar(); }
    QList<VideoItemWidget*> rows() const { return list()->itemsInUse(); }
    QStringList outputFiles() const
    {
        return QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden);
    }

    bool add(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names)
            paths << media(name);
        const int before = list()->itemCount();
        m_window->AddMediaPaths(paths);
        return QTest::qWaitFor([&] { return !m_window->probeQueue()->isBusy(); }, 30000) &&
               list()->itemCount() == before + names.size();
    }
    static void setRange(VideoItemWidget* row, double start, double end)
    {
        row->cutStart = qint64(start * kSecond);
        row->cutEnd = qint64(end * kSecond);
        row->UpdateCutInfo();
    }
    // Presses start and waits for the report; returns its text.
    QString runJob()
    {
        const int seen = m_answers->texts.size();
        QTest::mouseClick(bar()->startButton(), Qt::LeftButton);
        m_startLockedWhileRunning =
            bar()->isConverting() && !bar()->startButton()->isEnabledState() &&
            !m_window->topBar()->addButton()->isEnabledState() &&
            !m_window->topBar()->clearButton()->isEnabledState() && list()->isJobRunning();
        if (!QTest::qWaitFor([&] { return m_answers->texts.size() > seen; }, 120000))
            return QStringLiteral("<no report>");
        return m_answers->texts.last();
    }
    // The one result in the output folder.
    QString onlyResult() const
    {
        const QStringList files = outputFiles();
        return files.size() == 1 ? m_out->filePath(files.first()) : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        TestMedia::UseBuildAppFolder();
        QVERIFY(TestMedia::MakeClip(media("ten.mp4"), 10.0));
        for (const char* name : {"s1.mp4", "s2.mp4"})
            QVERIFY(TestMedia::MakeClip(media(name), 6.0));
        QVERIFY(TestMedia::MakeClip(media("small25.mp4"), 6.0, 320, 240, 25));
        QVERIFY(TestMedia::MakeClip(media("wide30.mp4"), 6.0, 640, 360, 30));
        QVERIFY(TestMedia::MakeClip(media("two tracks.mp4"), 4.0, 320, 240, 25, true, 2));
        QVERIFY(TestMedia::MakeClip(media("a1.mp3"), 3.0, 0, 0, 0, false, 1));
        QVERIFY(TestMedia::MakeClip(media("long1.mp4"), 12.0, 640, 360, 30));
        QVERIFY(TestMedia::MakeClip(media("long2.mp4"), 12.0, 320, 240, 25));
    }

    void init()
    {
        TestMedia::UseBuildAppFolder();
        m_out = std::make_unique<QTemporaryDir>();
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
        bar()->setOutputFolder(m_out->path());
        m_answers = std::make_unique<DialogAnswerer>();
    }

    void cleanup()
    {
        m_answers.reset();
        m_window.reset();
        m_out.reset();
    }

    void barFollowsTheList()
    {
        QCOMPARE(bar()->startButton()->text(), QStringLiteral("Start"));
        QVERIFY(!bar()->startButton()->isEnabledState());
        QVERIFY(!bar()->profilePanel()->isVisible());

        QVERIFY(add({"a1.mp3"}));
        QCOMPARE(bar()->startButton()->text(), QStringLiteral("Cut"));
        QVERIFY(bar()->startButton()->isEnabledState());
        QVERIFY(bar()->profilePanel()->isVisible());
        // An audio-only format shows no picture entry.
        QVERIFY(!bar()->videoFactsLabel()->isVisible());
        QVERIFY(bar()->audioFactsLabel()->text().startsWith(QLatin1String("MP3 44100 Hz")));

        QVERIFY(add({"s1.mp4"}));
        QCOMPARE(bar()->startButton()->text(), QStringLiteral("Join"));
        m_window->ClearAll();
        QCOMPARE(bar()->startButton()->text(), QStringLiteral("Start"));
        QVERIFY(!bar()->startButton()->isEnabledState());
        QVERIFY(!bar()->profilePanel()->isVisible());
    }

    void cutOneFile()
    {
        QVERIFY(add({"ten.mp4"}));
        setRange(rows().first(), 2.0, 5.0);
        QCOMPARE(runJob(), QStringLiteral("Cut Completed."));
        const QString result = onlyResult();
        QVERIFY2(
            QRegularExpression(QStringLiteral("/Join_file_\\d{9}\\.mp4$")).match(result).hasMatch(),
            qPrintable(result));
        QVERIFY2(qAbs(TestMedia::DurationSeconds(result) - 3.0) <= 0.25,
                 qPrintable(QString::number(TestMedia::DurationSeconds(result))));
        QCOMPARE(TestMedia::StreamTypes(result), (QStringList{"video", "audio"}));
        QVERIFY(!m_window->progressOverlay()->isVisible());
        QVERIFY(!bar()->isConverting());
        // Neither a second job nor a change of the list could be started
        // meanwhile; both can be now.
        QVERIFY(m_startLockedWhileRunning);
        QVERIFY(bar()->startButton()->isEnabledState());
        QVERIFY(m_window->topBar()->addButton()->isEnabledState());
        QVERIFY(!list()->isJobRunning());
    }

    void joinOfDifferentFormatsIsReencoded()
    {
        // Long enough that the engine's progress is polled during the job.
        QVERIFY(add({"long2.mp4", "long1.mp4"}));
        setRange(rows()[0], 1.0, 11.0);
        // The wider file gives the format.
        QTest::mouseClick(rows()[1]->outputFormatButton(), Qt::LeftButton);
        QCOMPARE(bar()->formatItemId(), rows()[1]->itemId);

        QList<int> seen;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, this, [&] {
            if (m_window->progressOverlay()->isVisible())
                seen << m_window->progressOverlay()->progress();
        });
        sampler.start(50);
        QSignalSpy steps(bar(), &VCBottomWidget::toolStepStarted);
        QCOMPARE(runJob(), QStringLiteral("Join Completed."));
        sampler.stop();
        QCOMPARE(steps.size(), 0); // never the stream-copy path
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
        // The engine's progress reached the overlay while the job ran.
        QVERIFY2(std::any_of(seen.begin(), seen.end(), [](int v) { return v > 0 && v < 10000; }),
                 "no progress was shown before the end");
        QCOMPARE(m_window->progressOverlay()->progress(), 10000);

        const QString result = onlyResult();
        QCOMPARE(TestMedia::StreamValues(result, "v:0", "width,height,r_frame_rate"),
                 (QStringList{"640", "360", "30/1"}));
        QCOMPARE(TestMedia::StreamTypes(result), (QStringList{"video", "audio"}));
        QVERIFY2(qAbs(TestMedia::DurationSeconds(result) - 22.0) <= 0.3,
                 qPrintable(QString::number(TestMedia::DurationSeconds(result))));
    }

    // Frames shown before their keyframe tie a group to the one before it,
    // so an exact cut cannot copy from there: the whole cut is encoded again
    // and the report says so.
    void unspliceableCutIsReencoded()
    {
        const QString open = m_out->filePath("../open gop.mov");
        QVERIFY(TestMedia::RunFfmpeg(
            {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=6", "-f", "lavfi", "-i",
             "sine=duration=6", "-c:v", "libx265", "-preset", "ultrafast", "-x265-params",
             "keyint=50:min-keyint=50:scenecut=0:open-gop=1:log-level=error", "-c:a", "aac",
             open}));
        m_window->AddMediaPaths({open});
        QTRY_VERIFY_WITH_TIMEOUT(list()->itemCount() == 1 && !m_window->probeQueue()->isBusy(),
                                 30000);
        bar()->setCutMode(CutMode::Exact);
        setRange(rows().first(), 1.3, 4.7);
        const QString report = runJob();
        QFile::remove(open);
        QVERIFY2(report.startsWith("Cut Completed.\nRe-encoded: the picture uses open groups"),
                 qPrintable(report));
        QVERIFY2(qAbs(TestMedia::DurationSeconds(onlyResult()) - 3.4) <= 0.1,
                 qPrintable(QString::number(TestMedia::DurationSeconds(onlyResult()))));
    }

    void secondAudioTrackIsKept()
    {
        QVERIFY(add({"two tracks.mp4"}));
        VideoItemWidget* row = rows().first();
        row->trackChoice()->setCurrentIndex(1);
        QCOMPARE(row->audioTrackIndex, 1);
        QCOMPARE(runJob(), QStringLiteral("Cut Completed."));
        const QString result = onlyResult();
        QCOMPARE(TestMedia::StreamTypes(result), (QStringList{"video", "audio"}));
        // The first track is 44.1 kHz, the second 48 kHz.
        QCOMPARE(TestMedia::StreamValues(result, "a", "sample_rate"), QStringList{"48000"});
    }

    void cancelLeavesNothing_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("cancelInPhase"); // -1: engine
        QTest::addColumn<bool>("byClosing");    // the window is closed instead
        QTest::newRow("join step") << QStringList{"s1.mp4", "s2.mp4"} << 0 << false;
        QTest::newRow("closing in the join step") << QStringList{"s1.mp4", "s2.mp4"} << 0 << true;
        QTest::newRow("closing during the engine")
            << QStringList{"long1.mp4", "long2.mp4"} << -1 << true;
    }

    void cancelLeavesNothing()
    {
        QFETCH(QStringList, files);
        QFETCH(int, cancelInPhase);
        QFETCH(bool, byClosing);
        QVERIFY(add(files));
        // Starts between keyframes: the frames up to the next one are encoded
        // in a step of their own before the join.
        if (cancelInPhase == 1) {
            for (VideoItemWidget* row : rows())
                setRange(row, 0.5, 5.5);
        }
        ConvertProgressWidget* overlay = m_window->progressOverlay();
        bool cancelled = false;
        const auto cancel = [&] {
            cancelled = true;
            if (byClosing)
                m_window->close();
            else
                QTest::mouseClick(overlay->cancelButton(), Qt::LeftButton);
        };
        connect(bar(), &VCBottomWidget::toolStepStarted, this, [&](int phase, int) {
            if (phase == cancelInPhase && !cancelled)
                cancel();
        });
        QTest::mouseClick(bar()->startButton(), Qt::LeftButton);
        if (cancelInPhase < 0) {
            // Cancel once the engine has begun writing the result.
            QTRY_VERIFY_WITH_TIMEOUT(!outputFiles().isEmpty(), 30000);
            QVERIFY(overlay->isVisible());
            cancel();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!bar()->isConverting(), 30000);
        QVERIFY(cancelled);
        QVERIFY(!overlay->isVisible());
        // Long enough for any late report or engine end to arrive.
        QTest::qWait(1500);
        QVERIFY2(m_answers->texts.isEmpty(), qPrintable(m_answers->texts.join('|')));
        QVERIFY2(outputFiles().isEmpty(), qPrintable(outputFiles().join('|')));
        QVERIFY(!bar()->toolProcess() || bar()->toolProcess()->state() == QProcess::NotRunning);
        QVERIFY(QDir(WorkFolder()).entryList({"job-*"}).isEmpty());
    }

    // What the job says reaches the user: a failure's reason in a notice
    // with no result left, a shorter result's note beside "Completed".
    // (The job's own faults are covered without the window.)
    void faultsAreReportedNotHidden_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file deleted after adding") << "deleted"
                                                   << "can no longer be read";
        QTest::newRow("tool killed") << "killed"
                                     << "stopped unexpectedly";
        QTest::newRow("file cut short after adding")
            << "truncated"
            << "Join Completed.\n\"middle.mp4\" ended early";
    }

    void faultsAreReportedNotHidden()
    {
        QFETCH(QString, fault);
        QFETCH(QString, expected);
        QTemporaryDir own;
        const QString middle = own.filePath("middle.mp4");
        // Sound and picture interleaved from the start, so that a file cut
        // short still opens and plays up to where it was cut.
        QVERIFY(TestMedia::RunFfmpeg(
            {"-i", media("long2.mp4"), "-c", "copy", "-movflags", "+faststart", middle}));
        m_window->AddMediaPaths({media("s1.mp4"), middle, media("s2.mp4")});
        QTRY_VERIFY_WITH_TIMEOUT(list()->itemCount() == 3 && !m_window->probeQueue()->isBusy(),
                                 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!FrameIndexCache::instance()->isBusy(), 30000);
        if (fault == "deleted") {
            QVERIFY(QFile::remove(middle));
        } else if (fault == "truncated") {
            QFile file(middle);
            QVERIFY(file.resize(file.size() * 2 / 5));
        } else if (fault == "killed") {
            connect(bar(), &VCBottomWidget::toolStepStarted, this, [this](int phase, int) {
                if (phase == 0 && bar()->toolProcess())
                    ::kill(pid_t(bar()->toolProcess()->processId()), SIGKILL);
            });
        }
        const QString report = runJob();
        QVERIFY2(report.contains(expected), qPrintable(report));
        QCOMPARE(outputFiles().size(), fault == "truncated" ? 1 : 0);
        QVERIFY(QDir(WorkFolder()).entryList({"job-*"}).isEmpty());
        QVERIFY(!m_window->progressOverlay()->isVisible());
        QVERIFY(!bar()->isConverting());
    }

    void refusedBeforeAnythingRuns_data()
    {
        QTest::addColumn<QString>("folder"); // below the output folder; created
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing folder") << QString() << "does not exist";
        // Deep enough that the path outgrows the engine's 260-byte field.
        QTest::newRow("path too long")
            << QString(5, 'd').replace("d", QString(60, 'x') + "/") << "too long";
    }

    void refusedBeforeAnythingRuns()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QString target = m_out->filePath("missing");
        if (!folder.isEmpty()) {
            target = m_out->filePath(folder);
            QVERIFY(QDir().mkpath(target));
        }
        bar()->setOutputFolder(target);
        QVERIFY(add({"small25.mp4", "wide30.mp4"}));
        const QString report = runJob();
        QVERIFY2(report.contains(expected), qPrintable(report));
        QVERIFY(!m_window->progressOverlay()->isVisible());
        QVERIFY(!bar()->isConverting());
        if (!folder.isEmpty())
            QVERIFY(QDir(target).entryList(QDir::Files).isEmpty());
    }

    void overlayShowsHundredthsOfAPercent()
    {
        ConvertProgressWidget* overlay = m_window->progressOverlay();
        QVERIFY(add({"s1.mp4", "s2.mp4", "a1.mp3"}));
        m_window->ShowProgress(true);
        QCOMPARE(overlay->titleLabel()->text(), QStringLiteral("Joining"));
        const int track = overlay->trackLabel()->width();
        overlay->setProgress(5000, true);
        overlay->setProgress(3000, true);
        QCOMPARE(overlay->percentLabel()->text(), QStringLiteral("50.00%"));
        QCOMPARE(overlay->fillLabel()->width(), track / 2);
        // At half the label sits on the empty track; its text must stand out.
        QVERIFY2(PercentContrast(overlay) >= 4.5,
                 qPrintable(QString::number(PercentContrast(overlay))));
        overlay->setProgress(7, false);
        QCOMPARE(overlay->percentLabel()->text(), QStringLiteral("0.07%"));
        overlay->setProgress(9999, true);
        overlay->setProgress(0, false);
        QVERIFY(!overlay->fillLabel()->isVisible());
        overlay->setProgress(10000, true);
        QVERIFY2(PercentContrast(overlay) >= 4.5,
                 qPrintable(QString::number(PercentContrast(overlay))));
        m_window->ShowProgress(false);
        QCOMPARE(overlay->percentLabel()->text(), QStringLiteral("100.00%"));
        QCOMPARE(overlay->fillLabel()->width(), track);
        list()->removeAll();
        m_window->ClearAll();
        QVERIFY(add({"s1.mp4"}));
        m_window->ShowProgress(true);
        QCOMPARE(overlay->titleLabel()->text(), QStringLiteral("Cutting"));
        m_window->ShowProgress(false);
    }

    // Runs last: it points the program at a folder without the engine.
    void missingEngineEndsTheJob()
    {
        QTemporaryDir bare;
        m_answers.reset();
        m_window.reset();
        SetAppFolder(bare.path());
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
        bar()->setOutputFolder(m_out->path());
        m_answers = std::make_unique<DialogAnswerer>();
        QVERIFY(add({"small25.mp4", "wide30.mp4"}));
        QCOMPARE(runJob(), QStringLiteral("Conversion failed."));
        QVERIFY(!m_window->progressOverlay()->isVisible());
        QVERIFY(outputFiles().isEmpty());
    }
};

QTEST_MAIN(TestConversionJobs)
#include "test_conversionjobs.moc"
