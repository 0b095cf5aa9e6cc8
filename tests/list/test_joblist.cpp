// Saved lists of files as a user keeps them: what is written comes back,
// lists that are no lists are refused with a reason that names the fault,
// files gone since saving are left out and named, and a failed save leaves
// nothing behind.
#include "list/joblist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestJobList : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString touch(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        return QFileInfo(path).absoluteFilePath();
    }
    QString writeText(const QString& name, const QByteArray& text)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return QString();
        return path;
    }

private Q_SLOTS:
    void writtenListReadsBackWhole()
    {
        JobList list;
        list.hasMode = true;
        list.mode = CutMode::Keyframe;
        list.entries = {{touch("a.mp4"), 1234567, 4000001, 0, false},
                        {touch("b b.mkv"), 0, -1, 1, true},
                        {touch("a.mp4"), 500000, 900000, 0, false}};
        const QString path = m_dir.filePath("list.splicora.json");
        QString error;
        QVERIFY2(JobListFile::Write(path, list, &error), qPrintable(error));

        JobList read;
        QStringList missing{"stale"};
        QVERIFY2(JobListFile::Read(path, &read, &missing, &error), qPrintable(error));
        QVERIFY(missing.isEmpty());
        QVERIFY(read.hasMode);
        QCOMPARE(read.mode, CutMode::Keyframe);
        QCOMPARE(read.entries.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const JobListEntry& a = list.entries.at(i);
            const JobListEntry& b = read.entries.at(i);
            QCOMPARE(b.filePath, a.filePath);
            QCOMPARE(b.cutStart, a.cutStart);
            QCOMPARE(b.cutEnd, a.cutEnd);
            QCOMPARE(b.audioTrackIndex, a.audioTrackIndex);
            QCOMPARE(b.outputFormat, a.outputFormat);
        }
        QCOMPARE(read.formatIndex(), 1);

        // The text a person opens: one mark, no end where the file's own is meant.
        const QByteArray text = JobListFile::ToJson(list);
        QCOMPARE(text.count("\"format\""), 1);
        QCOMPARE(text.count("\"end\""), 2);
        QVERIFY(text.contains("\n    \"items\""));
    }

    void relativePathsAreReadFromTheListsFolder()
    {
        const QString clip = touch("sub/clip.mp4");
        const QString path = writeText(
            "sub/rel.json", R"({"version": 1, "items": [{"path": "clip.mp4", "start": 0.0000014},
                               {"path": "../sub/./clip.mp4", "end": 2, "format": true,
                                "comment": "unknown fields are ignored"}],
                               "made by": "hand"})");
        JobList read;
        QStringList missing;
        QString error;
        QVERIFY2(JobListFile::Read(path, &read, &missing, &error), qPrintable(error));
        QCOMPARE(read.entries.size(), 2);
        QCOMPARE(read.entries.at(0).filePath, clip);
        QCOMPARE(read.entries.at(1).filePath, clip);
        // Times that are not whole microseconds round to the nearest.
        QCOMPARE(read.entries.at(0).cutStart, qint64(1));
        QCOMPARE(read.entries.at(0).cutEnd, qint64(-1));
        QCOMPARE(read.entries.at(1).cutEnd, qint64(2000000));
        QCOMPARE(read.entries.at(1).audioTrackIndex, 0);
        QVERIFY(!read.hasMode);
        QCOMPARE(read.formatIndex(), 1);

        QVERIFY(JobListFile::FromJson(R"({"version": 1, "items": [{"path": "/x", "start": 0.0000016,
                                           "end": 1.0000004}], "mode": "fast"})",
                                      QString(), &read, &error));
        QCOMPARE(read.entries.at(0).cutStart, qint64(2));
        QCOMPARE(read.entries.at(0).cutEnd, qint64(1000000));
        QVERIFY(!read.hasMode);
        QCOMPARE(read.formatIndex(), 0); // nothing marked: the first entry
    }

    void filesGoneSinceSavingAreLeftOutAndNamed()
    {
        const QString kept = touch("kept.mp4");
        const QString gone = m_dir.filePath("gone.mp4");
        JobList list;
        list.entries = {{gone, 0, -1, 0, true}, {kept, 0, -1, 0, false}, {gone, 0, -1, 0, false}};
        const QString path = m_dir.filePath("gone.json");
        QVERIFY(JobListFile::Write(path, list, nullptr));
        JobList read;
        QStringList missing;
        QVERIFY(JobListFile::Read(path, &read, &missing, nullptr));
        QCOMPARE(read.entries.size(), 1);
        QCOMPARE(read.entries.at(0).filePath, kept);
        QCOMPARE(missing, (QStringList{gone, gone}));
    }

    void refusedListsSayWhy_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("not JSON") << QByteArray("{\"version\": 1, \"items\": [")
                                  << QStringList{"JSON"};
        QTest::newRow("no object") << QByteArray("[1, 2]") << QStringList{"JSON object"};
        QTest::newRow("no version") << QByteArray(R"({"items": []})") << QStringList{"version"};
        QTest::newRow("version not whole")
            << QByteArray(R"({"version": 1.5, "items": []})") << QStringList{"version"};
        QTest::newRow("newer version")
            << QByteArray(R"({"version": 2, "items": []})") << QStringList{"newer version"};
        QTest::newRow("no items") << QByteArray(R"({"version": 1})") << QStringList{"items"};
        QTest::newRow("items not array")
            << QByteArray(R"({"version": 1, "items": {"path": "/a"}})") << QStringList{"items"};
        QTest::newRow("item not object")
            << QByteArray(R"({"version": 1, "items": [{"path": "/a"}, "/b"]})")
            << QStringList{"Item 2", "object"};
        QTest::newRow("item without path")
            << QByteArray(R"({"version": 1, "items": [{"path": "/a"}, {"path": "/b"},
                                                      {"start": 1}]})")
            << QStringList{"Item 3", "no path"};
        QTest::newRow("end before start")
            << QByteArray(R"({"version": 1, "items": [{"path": "/a", "start": 4, "end": 3}]})")
            << QStringList{"Item 1", "ends before its start"};
        QTest::newRow("empty range")
            << QByteArray(R"({"version": 1, "items": [{"path": "/a", "start": 2, "end": 2}]})")
            << QStringList{"Item 1", "ends before its start"};
        QTest::newRow("negative start")
            << QByteArray(R"({"version": 1, "items": [{"path": "/a", "start": -0.5}]})")
            << QStringList{"Item 1", "start"};
        QTest::newRow("start as text")
            << QByteArray(R"({"version": 1, "items": [{"path": "/a", "start": "1.0"}]})")
            << QStringList{"Item 1", "start"};
        QTest::newRow("negative track")
            << QByteArray(R"({"version": 1, "items": [{"path": "/a", "track": -1}]})")
            << QStringList{"Item 1", "track"};
    }
    void refusedListsSayWhy()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, words);
        JobList list;
        list.entries = {{"/untouched", 0, -1, 0, false}};
        QString error;
        QVERIFY(!JobListFile::FromJson(json, m_dir.path(), &list, &error));
        for (const QString& word : words)
            QVERIFY2(error.contains(word, Qt::CaseInsensitive), qPrintable(error));
        // A refused list hands back nothing half-read.
        QCOMPARE(list.entries.size(), 1);

        // Read from a file, the same reason comes back.
        QString readError;
        QVERIFY(!JobListFile::Read(writeText("bad.json", json), &list, nullptr, &readError));
        QCOMPARE(readError, error);
    }

    void unreadableFilesAreNamed()
    {
        QString error;
        const QString absent = m_dir.filePath("absent.json");
        QVERIFY(!JobListFile::Read(absent, nullptr, nullptr, &error));
        QVERIFY2(error.contains("cannot be read") &&
                     error.contains(QDir::toNativeSeparators(absent)),
                 qPrintable(error));
        QVERIFY(!JobListFile::Read(m_dir.path(), nullptr, nullptr, &error));
        QVERIFY2(error.contains("cannot be read"), qPrintable(error));
    }

    void failedSaveLeavesNothingBehind()
    {
        JobList list;
        list.entries = {{touch("c.mp4"), 0, -1, 0, true}};
        const QString folder = m_dir.filePath("no such folder");
        QString error;
        QVERIFY(!JobListFile::Write(folder + "/list.json", list, &error));
        QVERIFY2(error.contains("list.json"), qPrintable(error));
        QVERIFY(!QFileInfo::exists(folder));

        // An existing list is replaced whole, and a folder in the way is left alone.
        const QString path = writeText("old.json", "old list");
        QVERIFY(JobListFile::Write(path, list, &error));
        JobList read;
        QVERIFY(JobListFile::Read(path, &read, nullptr, &error));
        QCOMPARE(read.entries.size(), 1);
        QDir(m_dir.path()).mkdir("taken.json");
        QVERIFY(!JobListFile::Write(m_dir.filePath("taken.json"), list, &error));
        QVERIFY(QFileInfo(m_dir.filePath("taken.json")).isDir());
        const QStringList left = QDir(m_dir.path()).entryList({"*.json*"}, QDir::Files);
        QVERIFY2(!left.join(' ').contains("taken"), qPrintable(left.join(' ')));
    }
};

QTEST_GUILESS_MAIN(TestJobList)
#include "test_joblist.moc"
