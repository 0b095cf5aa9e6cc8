// The media list as the user meets it: rows made from real probes, their
// order, the output-format mark, the totals line, the track choice, the facts
// and name a row shows, where the view goes as files arrive, what a running
// job locks, and the guide shown while the list is empty.
#include "list/listnoitemwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "media/probe.h"
#include "testsupport/testmedia.h"
#include "widgets/mypushbutton.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(VideoItemWidget*)

class TestMediaList : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_media;
    QMap<QString, ProbeResult> m_probes;
    std::unique_ptr<VideoListWidget> m_list;

    ProbeResult probe(const QString& name) const { return m_probes.value(name); }
    void addRows(const QStringList& names)
    {
        for (const QString& name : names)
            m_list->addItem(probe(name));
    }
    QStringList order() const
    {
        QStringList names;
        for (VideoItemWidget* row : m_list->itemsInUse())
            names.append(row->fileNameLabel()->text());
        return names;
    }
    VideoItemWidget* row(int index) const { return m_list->itemsInUse().value(index); }
    static QAction* menuAction(VideoItemWidget* item, const QString& text)
    {
        for (QAction* action : item->contextMenu()->actions())
            if (action->text() == text)
                return action;
        return nullptr;
    }
    // The menu entries the user can pick, as the menu shows them.
    static QStringList enabledEntries(VideoItemWidget* item)
    {
        QMenu* menu = item->contextMenu();
        menu->popup(item->mapToGlobal(QPoint(20, 20)));
        QStringList entries;
        for (QAction* action : menu->actions())
            if (action->isEnabled() && !action->isSeparator())
                entries << action->text();
        menu->hide();
        return entries;
    }
    // A probe as the media tool reports it, for facts no test clip needs.
    static ProbeResult reported(const QString& name, const QStringList& video,
                                const QStringList& audio, const QStringList& titles = {})
    {
        ProbeResult result;
        result.filePath = QStringLiteral("/media/") + name;
        result.durationLine =
            QStringLiteral("Duration: 00:00:10.00, start: 0.000000, bitrate: 900 kb/s");
        result.videoStreamLines = video;
        result.audioStreamLines = audio;
        result.audioStreamTitles = titles;
        return result;
    }
    // Whether the whole row, with the gap above it, lies in the list's view.
    bool rowInView(VideoItemWidget* item) const
    {
        QWidget* viewport = m_list->scrollArea()->viewport();
        const QRect onViewport(item->mapTo(viewport, QPoint(0, 0)), item->size());
        return viewport->rect().contains(onViewport);
    }
    // Drags the files, or without any plain text, onto the list and drops
    // them there; true when the drag was taken.
    bool dragAndDrop(const QStringList& paths, const QString& text = QString())
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        if (urls.isEmpty())
            data.setText(text);
        else
            data.setUrls(urls);
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(m_list.get(), &enter);
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_list.get(), &drop);
        return enter.isAccepted();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!TestMedia::Ffmpeg().isEmpty(), "ffmpeg must be installed");
        QVERIFY(m_media.isValid());
        TestMedia::UseBuildAppFolder();
        const struct
        {
            const char* name;
            double seconds;
            int audioStreams;
        } clips[] = {{"a.mp4", 1.0, 1}, {"b.mp4", 2.0, 1}, {"c.mp4", 3.0, 1}, {"tri.mkv", 1.0, 3}};
        for (const auto& clip : clips) {
            const QString name = QString::fromLatin1(clip.name);
            const QString path = m_media.filePath(name);
            QVERIFY(TestMedia::MakeClip(path, clip.seconds, 320, 240, 25, true, clip.audioStreams));
            ProbeResult result;
            QCOMPARE(RunProbe(path, &result), 0);
            m_probes.insert(name, result);
        }
    }
    void init()
    {
        m_list = std::make_unique<VideoListWidget>();
        m_list->resize(600, 500);
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
        m_list->layoutList();
        m_list->applySkin();
        m_list->retranslate();
    }
    void cleanup() { m_list.reset(); }
    void addsRowsInOrderAndMarksTheFirst()
    {
        QSignalSpy played(m_list.get(), &VideoListWidget::playItemRequested);
        addRows({"a.mp4", "b.mp4", "c.mp4"});

        QCOMPARE(m_list->itemCount(), 3);
        QCOMPARE(order(), QStringList({"a.mp4", "b.mp4", "c.mp4"}));
        QVERIFY(row(0)->y() < row(1)->y() && row(1)->y() < row(2)->y());
        QVERIFY(m_list->guide()->isHidden());

        // The first file gives the output its format, and its mark stays in view.
        QCOMPARE(m_list->outputFormatId(), row(0)->itemId);
        QCOMPARE(m_list->outputFormatName(), QStringLiteral("a.mp4"));
        QVERIFY(row(0)->outputFormatButton()->isVisible());
        QVERIFY(!row(1)->isDefaultOutput());

        // The newest file is selected and handed to the player.
        QVERIFY(row(2)->selected && !row(0)->selected);
        QCOMPARE(played.last().at(0).value<VideoItemWidget*>(), row(2));
    }
    void removedRowsAreReused()
    {
        addRows({"a.mp4", "b.mp4"});
        VideoItemWidget* first = row(0);
        const int oldId = first->itemId;
        first->audioTrackIndex = 2; // as if a track had been chosen
        first->deleteButton_slots();
        QVERIFY(!m_list->findItemById(oldId));
        m_list->addItem(probe("c.mp4"));
        QCOMPARE(m_list->rowObjectCount(), 2);
        // The same object comes back at the end, as a new row for the new file.
        QCOMPARE(row(1), first);
        QVERIFY(first->itemId != oldId);
        QCOMPARE(first->audioTrackIndex, 0);
        QCOMPARE(first->cutEnd, first->mediaInfo.duration);
    }
    void dragReorders_data()
    {
        QTest::addColumn<int>("dragged");
        QTest::addColumn<int>("dy");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("c up over b") << 2 << -60 << QStringList{"a.mp4", "c.mp4", "b.mp4"};
        QTest::newRow("a down over b") << 0 << 60 << QStringList{"b.mp4", "a.mp4", "c.mp4"};
    }
    void dragReorders()
    {
        QFETCH(int, dragged);
        QFETCH(int, dy);
        QFETCH(QStringList, expected);
        addRows({"a.mp4", "b.mp4", "c.mp4"});
        VideoItemWidget* item = row(dragged);
        // Grab the row on its name, away from the buttons and the track choice.
        const QPoint start = item->fileNameLabel()->geometry().center();
        // Points after the press are given in the list's coordinates, which stay
        // put while the row follows the pointer.
        const QPoint onList = item->mapTo(m_list.get(), start);
        QTest::mousePress(item, Qt::LeftButton, Qt::NoModifier, start);
        for (int step = 1; step <= 6; ++step)
            QTest::mouseMove(m_list.get(), onList + QPoint(0, dy * step / 6));
        QTest::mouseRelease(item, Qt::LeftButton, Qt::NoModifier,
                            item->mapFrom(m_list.get(), onList + QPoint(0, dy)));

        QCOMPARE(order(), expected);
        QVERIFY(item->selected);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(row(i)->y(), 10 + i * (row(i)->height() + 10));
    }
    // Only the kept part of each row counts; a reversed range adds nothing.
    void totalsCountKeptLengths()
    {
        addRows({"a.mp4", "b.mp4", "c.mp4"});
        const qint64 ranges[3][2] = {{0, 500000}, {250000, 1250000}, {2000000, 1000000}};
        for (int i = 0; i < 3; ++i) {
            row(i)->cutStart = ranges[i][0];
            row(i)->cutEnd = ranges[i][1];
            row(i)->UpdateCutInfo();
        }
        const QString expected = QStringLiteral("File: 3 \t Total: 00:00:01.500");
        QCOMPARE(m_list->totalsLabel()->text(), expected);
        m_list->setBusyNote(QStringLiteral("Adding files..."));
        QVERIFY(m_list->totalsLabel()->text().startsWith(expected));
    }
    void emptyListShowsGuide()
    {
        QVERIFY(m_list->guide()->isVisible());
        addRows({"a.mp4"});
        QSignalSpy played(m_list.get(), &VideoListWidget::playItemRequested);
        QSignalSpy rows(m_list.get(), &VideoListWidget::rowCountChanged);
        row(0)->removeAction_slots();

        QCOMPARE(m_list->itemCount(), 0);
        QVERIFY(m_list->guide()->isVisible());
        QCOMPARE(played.last().at(0).value<VideoItemWidget*>(), nullptr);
        QCOMPARE(rows.last().at(0).toInt(), 0);
        QCOMPARE(m_list->outputFormatId(), 0);
        QCOMPARE(m_list->totalsLabel()->text(), QStringLiteral("File: 0 \t Total: 00:00:00.000"));
    }
    void trackChoice()
    {
        addRows({"tri.mkv"});
        VideoItemWidget* item = row(0);
        QComboBox* tracks = item->trackChoice();
        QVERIFY(tracks->isVisible());
        QCOMPARE(tracks->count(), 3);
        QCOMPARE(tracks->itemText(2), QStringLiteral("Track 3"));

        QSignalSpy clicked(item, &VideoItemWidget::clicked);
        tracks->setCurrentIndex(1);
        QCOMPARE(item->audioTrackIndex, 1);
        QCOMPARE(clicked.size(), 2);
        QCOMPARE(clicked.at(0).at(0).value<VideoItemWidget*>(), nullptr);
        QCOMPARE(clicked.at(1).at(0).value<VideoItemWidget*>(), item);

        // Matroska reports no bit rate per stream; the frame rate still shows.
        QVERIFY2(item->videoFactsLabel()->text().endsWith(QLatin1String(" 25fps")),
                 qPrintable(item->videoFactsLabel()->text()));

        // A file with a single audio stream offers no choice.
        addRows({"a.mp4"});
        QVERIFY(row(1)->trackChoice()->isHidden());
        QCOMPARE(row(1)->audioTrackIndex, 0);
    }
    // Tracks are told apart by language and title, and the row (and the
    // output, which reads the same record) describes the chosen one.
    void namedTracksShowTheChosenTracksFacts()
    {
        m_list->addItem(reported(
            QStringLiteral("film.mkv"),
            {QStringLiteral("Stream #0:0: Video: h264 (High), yuv420p(progressive), 1280x720, "
                            "23.98 fps, 23.98 tbr, 1k tbn")},
            {QStringLiteral("Stream #0:1(ger): Audio: ac3, 48000 Hz, 5.1(side), fltp, 448 kb/s "
                            "(default)"),
             QStringLiteral("Stream #0:2(und): Audio: aac (LC), 44100 Hz, stereo, fltp"),
             QStringLiteral("Stream #0:3(eng): Audio: mp3, 22050 Hz, mono, fltp, 64 kb/s")},
            {QStringLiteral("HighTone"), QString(), QStringLiteral("Commentary")}));
        VideoItemWidget* item = row(0);
        QComboBox* tracks = item->trackChoice();
        QStringList entries;
        for (int i = 0; i < tracks->count(); ++i)
            entries << tracks->itemText(i);
        QCOMPARE(entries,
                 (QStringList{"Track 1 (ger, HighTone)", "Track 2", "Track 3 (eng, Commentary)"}));
        QCOMPARE(item->audioFactsLabel()->text(), QStringLiteral("ac3 48000 Hz 5.1"));

        QSignalSpy format(m_list.get(), &VideoListWidget::outputFormatChanged);
        tracks->setCurrentIndex(2);
        QCOMPARE(item->audioFactsLabel()->text(), QStringLiteral("mp3 22050 Hz mono"));
        QCOMPARE(item->mediaInfo.audioCodec, QStringLiteral("mp3"));
        // The output's profile is read again from the chosen track.
        QCOMPARE(format.size(), 1);
        QCOMPARE(format.last().at(1).toInt(), item->itemId);
        tracks->setCurrentIndex(0);
        QCOMPARE(item->audioFactsLabel()->text(), QStringLiteral("ac3 48000 Hz 5.1"));
    }
    // Each half of the file gets its icon and facts only when the file has it.
    void factsShowOnlyTheStreamsThereAre_data()
    {
        const QString video = QStringLiteral("Stream #0:0(und): Video: h264 (High), yuv420p(tv), "
                                             "640x360 [SAR 1:1 DAR 16:9], 900 kb/s, 25 fps, 25 "
                                             "tbr, 12800 tbn (default)");
        const QString audio =
            QStringLiteral("Stream #0:1(und): Audio: aac (LC), 44100 Hz, stereo, fltp, 128 kb/s");
        QTest::addColumn<QStringList>("videoLines");
        QTest::addColumn<QStringList>("audioLines");
        QTest::addColumn<QString>("videoFacts");
        QTest::addColumn<QString>("audioFacts"); // empty: no audio entry
        QTest::newRow("both") << QStringList{video} << QStringList{audio}
                              << "00:00:10.000 h264 640x360 25fps"
                              << "aac 44100 Hz stereo";
        QTest::newRow("audio only") << QStringList{} << QStringList{audio} << "00:00:10.000"
                                    << "aac 44100 Hz stereo";
        QTest::newRow("video only") << QStringList{video} << QStringList{}
                                    << "00:00:10.000 h264 640x360 25fps" << QString();
    }
    void factsShowOnlyTheStreamsThereAre()
    {
        QFETCH(QStringList, videoLines);
        QFETCH(QStringList, audioLines);
        QFETCH(QString, videoFacts);
        QFETCH(QString, audioFacts);
        m_list->addItem(reported(QStringLiteral("clip.mkv"), videoLines, audioLines));
        VideoItemWidget* item = row(0);
        QLabel* facts = item->videoFactsLabel();
        QCOMPARE(facts->text(), videoFacts);
        QCOMPARE(item->videoIcon()->isVisible(), !videoLines.isEmpty());
        // Without the icon the duration starts the line.
        QCOMPARE(facts->x() == 0, videoLines.isEmpty());
        QCOMPARE(item->audioIcon()->isVisible(), !audioFacts.isEmpty());
        QCOMPARE(item->audioFactsLabel()->isVisible(), !audioFacts.isEmpty());
        if (!audioFacts.isEmpty()) {
            QCOMPARE(item->audioFactsLabel()->text(), audioFacts);
            QVERIFY(item->audioIcon()->x() > facts->geometry().right());
        }
    }
    // Files are read one by one; the view stays where the batch starts, and
    // the selected row is always in view.
    void addedRowsStayInView_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("added");
        QTest::addColumn<bool>("batch");
        QTest::addColumn<int>("selected");
        QTest::newRow("first batch") << 0 << 9 << true << 0;
        QTest::newRow("batch below rows") << 9 << 4 << true << 9;
        QTest::newRow("single files") << 0 << 9 << false << 8;
    }
    void addedRowsStayInView()
    {
        QFETCH(int, before);
        QFETCH(int, added);
        QFETCH(bool, batch);
        QFETCH(int, selected);
        const auto addBatch = [this](int count, bool asBatch) {
            m_list->setBusyNote(asBatch ? QStringLiteral("Adding files...") : QString());
            for (int i = 0; i < count; ++i)
                m_list->addItem(probe("a.mp4"));
            m_list->setBusyNote(QString());
        };
        addBatch(before, true);
        // The user looks at the top of the list again.
        m_list->scrollArea()->verticalScrollBar()->setValue(0);
        addBatch(added, batch);

        QVERIFY(m_list->scrollArea()->verticalScrollBar()->maximum() > 0); // more than fit
        QVERIFY(row(selected)->selected);
        QCOMPARE(m_list->itemCount(), before + added);
        for (int i = 0; i < m_list->itemCount(); ++i)
            QCOMPARE(row(i)->selected, i == selected);
        QVERIFY(rowInView(row(selected)));
    }
    // However long the list, the rows scrolled to are there, each with the
    // picture of its own file (fitted, so narrower than the placeholder's
    // frame for these 4:3 clips), and one row stays selected.
    void longListShowsWhatIsScrolledTo()
    {
        m_list->setBusyNote(QStringLiteral("Adding files..."));
        for (int i = 0; i < 60; ++i)
            m_list->addItem(probe(i % 2 ? "a.mp4" : "b.mp4"));
        m_list->setBusyNote(QString());
        QCOMPARE(m_list->itemCount(), 60);
        QScrollBar* bar = m_list->scrollArea()->verticalScrollBar();
        QWidget* viewport = m_list->scrollArea()->viewport();
        for (const int value : {bar->maximum(), bar->maximum() / 2, 0}) {
            bar->setValue(value);
            int inView = 0;
            for (VideoItemWidget* item : m_list->itemsInUse()) {
                const QRect onViewport(item->mapTo(viewport, QPoint(0, 0)), item->size());
                if (!viewport->rect().intersects(onViewport))
                    continue;
                ++inView;
                QVERIFY(item->isVisible());
                QLabel* picture = item->thumbnailPicture();
                QTRY_VERIFY(!picture->pixmap().isNull());
                QCOMPARE(picture->pixmap().size(), picture->size());
                QVERIFY(picture->width() < item->height() * 2);
            }
            QVERIFY2(inView >= 3, qPrintable(QString::number(inView)));
        }
        m_list->selectNeighbour(+1);
        int selected = 0;
        for (VideoItemWidget* item : m_list->itemsInUse())
            selected += item->selected ? 1 : 0;
        QCOMPARE(selected, 1);
        QVERIFY(row(1)->selected);
    }
    // A long name ends before the row's buttons, elided where it says least.
    void longNamesAreElidedBeforeTheButtons()
    {
        const QString name = QStringLiteral("Holiday in the mountains with the whole family and "
                                            "the neighbours, second week, day four, the long walk "
                                            "up to the lake and back again - part 2.mp4");
        m_list->addItem(reported(name, {},
                                 {QStringLiteral("Stream #0:0: Audio: mp3, 44100 Hz, "
                                                 "stereo, fltp, 128 kb/s")}));
        addRows({"a.mp4"});
        VideoItemWidget* item = row(0);
        QLabel* label = item->fileNameLabel();
        const auto check = [&] {
            const QString shown = label->text();
            QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
            QVERIFY(shown.startsWith(QLatin1String("Holiday")));
            QVERIFY(shown.endsWith(QLatin1String("part 2.mp4")));
            QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width());
            QVERIFY(label->geometry().right() < item->outputFormatButton()->x());
            QCOMPARE(label->toolTip(), name);
        };
        check();
        const QString narrow = label->text();
        // A wider window shows more of the name.
        m_list->resize(900, 500);
        m_list->layoutList();
        check();
        QVERIFY(label->text().size() > narrow.size());
        // A short name is shown whole.
        QCOMPARE(row(1)->fileNameLabel()->text(), QStringLiteral("a.mp4"));
    }
    // During a job nothing in the list can change; afterwards all works again.
    void runningJobLocksTheList()
    {
        addRows({"a.mp4", "b.mp4"});
        m_list->setJobRunning(true);
        m_list->addItem(probe("c.mp4")); // a probe that was already under way
        QSignalSpy dropped(m_list.get(), &VideoListWidget::filesDropped);
        QSignalSpy removeAll(m_list.get(), &VideoListWidget::deleteAllRequested);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(!row(i)->deleteButton()->isEnabled());
            // Saving the list only reads it.
            QCOMPARE(enabledEntries(row(i)), QStringList{QStringLiteral("Save List\u2026")});
            QTest::mouseClick(row(i)->deleteButton(), Qt::LeftButton);
        }
        menuAction(row(1), "Move Up")->trigger();
        menuAction(row(1), "Set as default format")->trigger();
        menuAction(row(1), "Remove All")->trigger();
        QCOMPARE(order(), (QStringList{"a.mp4", "b.mp4", "c.mp4"}));
        QCOMPARE(m_list->outputFormatName(), QStringLiteral("a.mp4"));
        QCOMPARE(removeAll.size(), 0);

        QVERIFY(!dragAndDrop({m_media.filePath("a.mp4")}));
        QCOMPARE(dropped.size(), 0);

        m_list->setJobRunning(false);
        QVERIFY(row(2)->deleteButton()->isEnabled());
        QTest::mouseClick(row(2)->deleteButton(), Qt::LeftButton);
        QCOMPARE(order(), (QStringList{"a.mp4", "b.mp4"}));
    }
    void droppedFilesKeepUrlOrder()
    {
        QSignalSpy dropped(m_list.get(), &VideoListWidget::filesDropped);
        const QStringList paths = {m_media.filePath("c.mp4"), m_media.filePath("a.mp4"),
                                   m_media.filePath("b.mp4")};
        QVERIFY(dragAndDrop(paths));
        QCOMPARE(dropped.size(), 1);
        QCOMPARE(dropped.at(0).at(0).toStringList(), paths);

        // Data without file locations is refused.
        QVERIFY(!dragAndDrop({}, QStringLiteral("not a file")));
        QCOMPARE(dropped.size(), 1);
    }
    void contextMenuMovesMarksAndRemoves()
    {
        addRows({"a.mp4", "b.mp4", "c.mp4"});
        QStringList texts;
        for (QAction* action : row(0)->contextMenu()->actions())
            if (!action->isSeparator())
                texts << action->text();
        const QString save = QStringLiteral("Save List\u2026");
        const QString open = QStringLiteral("Open List\u2026");
        QCOMPARE(texts, (QStringList{"Set as default format", "Move Up", "Move Down", "Remove",
                                     "Remove All", save, open}));
        // Only the moves that can happen are offered.
        QCOMPARE(enabledEntries(row(0)), (QStringList{"Set as default format", "Move Down",
                                                      "Remove", "Remove All", save, open}));
        QCOMPARE(enabledEntries(row(1)), texts);
        QCOMPARE(enabledEntries(row(2)), (QStringList{"Set as default format", "Move Up", "Remove",
                                                      "Remove All", save, open}));
        // Saving and opening a list are the main window's: the list passes them on.
        QSignalSpy saves(m_list.get(), &VideoListWidget::saveListRequested);
        QSignalSpy opens(m_list.get(), &VideoListWidget::openListRequested);
        menuAction(row(2), "Save List\u2026")->trigger();
        menuAction(row(0), "Open List\u2026")->trigger();
        QCOMPARE(saves.count(), 1);
        QCOMPARE(opens.count(), 1);

        // The first row cannot go up; the others move one place.
        menuAction(row(0), "Move Up")->trigger();
        QCOMPARE(order(), (QStringList{"a.mp4", "b.mp4", "c.mp4"}));
        menuAction(row(0), "Move Down")->trigger();
        menuAction(row(2), "Move Up")->trigger();
        QCOMPARE(order(), (QStringList{"b.mp4", "c.mp4", "a.mp4"}));
        QVERIFY(row(0)->y() < row(1)->y() && row(1)->y() < row(2)->y());

        menuAction(row(1), "Set as default format")->trigger();
        QCOMPARE(m_list->outputFormatId(), row(1)->itemId);
        menuAction(row(1), "Remove")->trigger();
        QCOMPARE(order(), (QStringList{"b.mp4", "a.mp4"}));
        // The mark moves to the first row left, and only one row carries it.
        QCOMPARE(m_list->outputFormatName(), QStringLiteral("b.mp4"));
        QVERIFY(row(0)->isDefaultOutput() && !row(1)->isDefaultOutput());

        QSignalSpy removeAll(m_list.get(), &VideoListWidget::deleteAllRequested);
        menuAction(row(1), "Remove All")->trigger();
        QCOMPARE(removeAll.count(), 1);
    }
};

QTEST_MAIN(TestMediaList)
#include "test_medialist.moc"
