// The media list as the user meets it: rows made from real probes, their
// order, the output-format mark, the totals line, the track choice and the
// guide shown while the list is empty.
#include "app/timetext.h"
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
    static QAction* menuAction(VideoItemWidget* item, const char* text)
    {
        for (QAction* action : item->contextMenu()->actions())
            if (action->text() == QLatin1String(text))
                return action;
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void addsRowsInOrderAndMarksTheFirst();
    void removingRowsKeepsOneMark_data();
    void removingRowsKeepsOneMark();
    void removedRowsAreReused();
    void moveUpAndDown_data();
    void moveUpAndDown();
    void dragReorders_data();
    void dragReorders();
    void totalsCountKeptLengths_data();
    void totalsCountKeptLengths();
    void emptyListShowsGuide();
    void trackChoice();
    void cutBar_data();
    void cutBar();
    void droppedFilesKeepUrlOrder();
    void guideGeometry();
    void contextMenuEntries();
};

void TestMediaList::initTestCase()
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

void TestMediaList::init()
{
    m_list = std::make_unique<VideoListWidget>();
    m_list->resize(600, 500);
    m_list->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
    m_list->layoutList();
    m_list->applySkin();
    m_list->retranslate();
}

void TestMediaList::cleanup()
{
    m_list.reset();
}

void TestMediaList::addsRowsInOrderAndMarksTheFirst()
{
    QSignalSpy played(m_list.get(), &VideoListWidget::playItemRequested);
    addRows({"a.mp4", "b.mp4", "c.mp4"});

    QCOMPARE(m_list->itemCount(), 3);
    QCOMPARE(order(), QStringList({"a.mp4", "b.mp4", "c.mp4"}));
    QVERIFY(row(0)->y() < row(1)->y() && row(1)->y() < row(2)->y());
    QCOMPARE(row(2)->listPosition, 2);
    QVERIFY(m_list->guide()->isHidden());

    // The first file gives the output its format, and its mark stays in view.
    QCOMPARE(m_list->outputFormatId(), row(0)->itemId);
    QCOMPARE(m_list->outputFormatName(), QStringLiteral("a.mp4"));
    QVERIFY(row(0)->outputFormatButton()->isVisible());
    QVERIFY(!row(0)->outputFormatButton()->isEnabledState());
    QVERIFY(!row(1)->isDefaultOutput());

    // The newest file is selected and handed to the player.
    QVERIFY(row(2)->selected && !row(0)->selected);
    QCOMPARE(played.last().at(0).value<VideoItemWidget*>(), row(2));
    // A 4:3 picture in the 128 x 72 frame: 96 wide, centred.
    QCOMPARE(row(0)->thumbnailPicture()->geometry(), QRect(16, 0, 96, 72));
    QCOMPARE(row(1)->cutLengthLabel()->text(), TimeToString(row(1)->mediaInfo.duration));
}

void TestMediaList::removingRowsKeepsOneMark_data()
{
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("marked");
    QTest::newRow("output-format row") << 0 << "b.mp4";
    QTest::newRow("another row") << 1 << "a.mp4";
}

void TestMediaList::removingRowsKeepsOneMark()
{
    QFETCH(int, removed);
    QFETCH(QString, marked);
    addRows({"a.mp4", "b.mp4", "c.mp4"});
    row(removed)->deleteButton_slots();

    QCOMPARE(m_list->itemCount(), 2);
    int marks = 0;
    for (VideoItemWidget* r : m_list->itemsInUse())
        marks += r->isDefaultOutput() ? 1 : 0;
    QCOMPARE(marks, 1);
    QCOMPARE(m_list->outputFormatName(), marked);
    QCOMPARE(m_list->findItemById(m_list->outputFormatId())->fileNameLabel()->text(), marked);
}

void TestMediaList::removedRowsAreReused()
{
    addRows({"a.mp4", "b.mp4"});
    for (int round = 0; round < 3; ++round) {
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
}

void TestMediaList::moveUpAndDown_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("first up") << 0 << true << QStringList{"a.mp4", "b.mp4", "c.mp4"};
    QTest::newRow("last down") << 2 << false << QStringList{"a.mp4", "b.mp4", "c.mp4"};
    QTest::newRow("first down") << 0 << false << QStringList{"b.mp4", "a.mp4", "c.mp4"};
    QTest::newRow("last up") << 2 << true << QStringList{"a.mp4", "c.mp4", "b.mp4"};
}

void TestMediaList::moveUpAndDown()
{
    QFETCH(int, index);
    QFETCH(bool, up);
    QFETCH(QStringList, expected);
    addRows({"a.mp4", "b.mp4", "c.mp4"});
    // Through the row's context menu, as the user moves rows.
    menuAction(row(index), up ? "Move Up" : "Move Down")->trigger();
    QCOMPARE(order(), expected);
    QVERIFY(row(0)->y() < row(1)->y() && row(1)->y() < row(2)->y());
}

void TestMediaList::dragReorders_data()
{
    QTest::addColumn<int>("dragged");
    QTest::addColumn<int>("dy");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("c up over b") << 2 << -60 << QStringList{"a.mp4", "c.mp4", "b.mp4"};
    QTest::newRow("a down over b") << 0 << 60 << QStringList{"b.mp4", "a.mp4", "c.mp4"};
    QTest::newRow("click only") << 1 << 0 << QStringList{"a.mp4", "b.mp4", "c.mp4"};
}

void TestMediaList::dragReorders()
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
    for (int step = 1; step <= 6 && dy != 0; ++step)
        QTest::mouseMove(m_list.get(), onList + QPoint(0, dy * step / 6));
    QTest::mouseRelease(item, Qt::LeftButton, Qt::NoModifier,
                        item->mapFrom(m_list.get(), onList + QPoint(0, dy)));

    QCOMPARE(order(), expected);
    QVERIFY(item->selected);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(row(i)->y(), 10 + i * (row(i)->height() + 10));
}

void TestMediaList::totalsCountKeptLengths_data()
{
    QTest::addColumn<QList<qint64>>("ranges"); // start, end in ms, per row
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole files") << QList<qint64>{} << "File: 3 \t Total: 00:00:06.000";
    QTest::newRow("kept parts") << QList<qint64>{0, 500, 250, 1250, 1000, 3000}
                                << "File: 3 \t Total: 00:00:03.500";
    QTest::newRow("reversed range adds nothing")
        << QList<qint64>{0, 1000, 1500, 1500, 2000, 1000} << "File: 3 \t Total: 00:00:01.000";
}

void TestMediaList::totalsCountKeptLengths()
{
    QFETCH(QList<qint64>, ranges);
    QFETCH(QString, expected);
    addRows({"a.mp4", "b.mp4", "c.mp4"});
    for (int i = 0; i + 1 < ranges.size(); i += 2) {
        VideoItemWidget* r = row(i / 2);
        r->cutStart = ranges.at(i) * 1000;
        r->cutEnd = ranges.at(i + 1) * 1000;
        r->UpdateCutInfo();
    }
    // Probed durations may differ from the requested length by a few frames.
    if (ranges.isEmpty()) {
        qint64 total = 0;
        for (VideoItemWidget* r : m_list->itemsInUse())
            total += r->mediaInfo.duration;
        QVERIFY(qAbs(total - 6000000) < 200000);
        expected = QStringLiteral("File: 3 \t Total: ") + TimeToString(total);
    }
    QCOMPARE(m_list->totalsLabel()->text(), expected);
    m_list->setBusyNote(QStringLiteral("Adding files..."));
    QVERIFY(m_list->totalsLabel()->text().startsWith(expected));
    QVERIFY(m_list->totalsLabel()->text().endsWith(QStringLiteral("Adding files...")));
}

void TestMediaList::emptyListShowsGuide()
{
    QVERIFY(m_list->guide()->isVisible());
    addRows({"a.mp4"});
    QVERIFY(m_list->guide()->isHidden());
    QSignalSpy played(m_list.get(), &VideoListWidget::playItemRequested);
    QSignalSpy rows(m_list.get(), &VideoListWidget::rowCountChanged);
    row(0)->removeAction_slots();

    QCOMPARE(m_list->itemCount(), 0);
    QVERIFY(m_list->guide()->isVisible());
    QVERIFY(!played.isEmpty());
    QCOMPARE(played.last().at(0).value<VideoItemWidget*>(), nullptr);
    QCOMPARE(rows.last().at(0).toInt(), 0);
    QCOMPARE(m_list->outputFormatId(), 0);
    QCOMPARE(m_list->totalsLabel()->text(), QStringLiteral("File: 0 \t Total: 00:00:00.000"));
}

void TestMediaList::trackChoice()
{
    addRows({"tri.mkv"});
    VideoItemWidget* item = row(0);
    QComboBox* tracks = item->trackChoice();
    QVERIFY(tracks->isVisible());
    QCOMPARE(tracks->count(), 3);
    QCOMPARE(tracks->itemText(0), QStringLiteral("Track 1"));
    QCOMPARE(tracks->itemText(2), QStringLiteral("Track 3"));
    QCOMPARE(tracks->currentIndex(), 0);
    QCOMPARE(item->audioTrackIndex, 0);

    QSignalSpy clicked(item, &VideoItemWidget::clicked);
    tracks->setCurrentIndex(1);
    QCOMPARE(item->audioTrackIndex, 1);
    QCOMPARE(clicked.size(), 2);
    QCOMPARE(clicked.at(0).at(0).value<VideoItemWidget*>(), nullptr);
    QCOMPARE(clicked.at(1).at(0).value<VideoItemWidget*>(), item);
    tracks->setCurrentIndex(1);
    QCOMPARE(clicked.size(), 2);

    // A file with a single audio stream offers no choice.
    addRows({"a.mp4"});
    QVERIFY(row(1)->trackChoice()->isHidden());
    QCOMPARE(row(1)->audioTrackIndex, 0);
}

void TestMediaList::cutBar_data()
{
    QTest::addColumn<QString>("durationLine");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::newRow("40 s file") << "Duration: 00:00:40.00, start: 0.000000, bitrate: 1205 kb/s"
                               << true << 100 << 199;
    QTest::newRow("unknown duration")
        << "Duration: N/A, start: 0.000000, bitrate: N/A" << false << 0 << 0;
}

void TestMediaList::cutBar()
{
    QFETCH(QString, durationLine);
    QFETCH(bool, shown);
    QFETCH(int, left);
    QFETCH(int, right);
    m_list->addItem(m_media.filePath("x.mp4"), QString(), durationLine,
                    {"Stream #0:0: Video: h264 (High), yuv420p(progressive), 1280x720, 25 fps"},
                    {"Stream #0:1: Audio: aac (LC), 44100 Hz, stereo, fltp, 128 kb/s"});
    VideoItemWidget* item = row(0);
    item->resize(400, item->height());
    item->cutStart = 10000000;
    item->cutEnd = 20000000;
    item->UpdateCutInfo();
    QCOMPARE(item->cutLengthLabel()->text(), QStringLiteral("00:00:10.000"));
    QCOMPARE(item->cutBar()->isVisible(), shown);
    if (shown) {
        QCOMPARE(item->cutBar()->x(), left);
        QCOMPARE(item->cutBar()->geometry().right(), right);
    }
}

void TestMediaList::droppedFilesKeepUrlOrder()
{
    QSignalSpy dropped(m_list.get(), &VideoListWidget::filesDropped);
    const QStringList paths = {m_media.filePath("c.mp4"), m_media.filePath("a.mp4"),
                               m_media.filePath("b.mp4")};
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(paths.at(0)), QUrl::fromLocalFile(paths.at(1)),
                  QUrl::fromLocalFile(paths.at(2))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_list.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_list.get(), &drop);
    QCOMPARE(dropped.size(), 1);
    QCOMPARE(dropped.at(0).at(0).toStringList(), paths);

    QMimeData text;
    text.setText(QStringLiteral("not a file"));
    QDragEnterEvent textEnter(QPoint(100, 100), Qt::CopyAction, &text, Qt::LeftButton,
                              Qt::NoModifier);
    QCoreApplication::sendEvent(m_list.get(), &textEnter);
    QVERIFY(!textEnter.isAccepted());
    QDropEvent textDrop(QPointF(100, 100), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_list.get(), &textDrop);
    QCOMPARE(dropped.size(), 1);
}

void TestMediaList::guideGeometry()
{
    ListNoItemWidget guide;
    guide.resize(600, 400);
    guide.refreshGuide();
    QCOMPARE(guide.picture()->geometry(), QRect(212, 99, 175, 122));
    QCOMPARE(guide.hint()->geometry(), QRect(10, 221, 580, 40));
    QCOMPARE(guide.hint()->text(), QStringLiteral("Drag and drop files to start"));
    QVERIFY(!guide.picture()->pixmap().isNull());
}

QTEST_MAIN(TestMediaList)
#include "test_medialist.moc"

void TestMediaList::contextMenuEntries()
{
    addRows({"a.mp4", "b.mp4", "c.mp4"});
    QStringList texts;
    for (QAction* action : row(0)->contextMenu()->actions())
        if (!action->isSeparator())
            texts << action->text();
    QCOMPARE(texts, (QStringList{"Set as default format", "Move Up", "Move Down", "Remove",
                                 "Remove All"}));

    menuAction(row(2), "Set as default format")->trigger();
    QCOMPARE(m_list->outputFormatId(), row(2)->itemId);
    menuAction(row(2), "Remove")->trigger();
    QCOMPARE(order(), (QStringList{"a.mp4", "b.mp4"}));
    QCOMPARE(m_list->outputFormatId(), row(0)->itemId);

    QSignalSpy removeAll(m_list.get(), &VideoListWidget::deleteAllRequested);
    menuAction(row(1), "Remove All")->trigger();
    QCOMPARE(removeAll.count(), 1);
}
