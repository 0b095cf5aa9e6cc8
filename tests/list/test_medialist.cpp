// The media list as the user meets it: rows made from real probes, their
// order, the output-format mark, the totals line, the track choice and the
// guide shown while the list is empty.
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
        QVERIFY(m_list->guide()->isHidden());
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

        // A file with a single audio stream offers no choice.
        addRows({"a.mp4"});
        QVERIFY(row(1)->trackChoice()->isHidden());
        QCOMPARE(row(1)->audioTrackIndex, 0);
    }
    void droppedFilesKeepUrlOrder()
    {
        QSignalSpy dropped(m_list.get(), &VideoListWidget::filesDropped);
        const QStringList paths = {m_media.filePath("c.mp4"), m_media.filePath("a.mp4"),
                                   m_media.filePath("b.mp4")};
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
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
    }
    void contextMenuMovesMarksAndRemoves()
    {
        addRows({"a.mp4", "b.mp4", "c.mp4"});
        QStringList texts;
        for (QAction* action : row(0)->contextMenu()->actions())
            if (!action->isSeparator())
                texts << action->text();
        QCOMPARE(texts, (QStringList{"Set as default format", "Move Up", "Move Down", "Remove",
                                     "Remove All"}));

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
