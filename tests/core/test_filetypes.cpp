#include "media/filetypes.h"

#include <QTest>

class TestFileTypes : public QObject
{
    Q_OBJECT

private slots:
    void isVideoFile_data();
    void isVideoFile();
    void isAudioFile_data();
    void isAudioFile();
    void everyVideoPatternMatchesAcrossFolders();
    void everyAudioPatternMatchesAcrossFolders();
    void dialogFilter();
};

void TestFileTypes::isVideoFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("expected");

    QTest::newRow("plain") << "C:/Videos/a.mp4" << 1;
    QTest::newRow("mixed case") << "/home/u/Clip.MkV" << 1;
    QTest::newRow("ends otherwise") << "/home/u/clip.ts.txt" << -1;
    QTest::newRow("extension in folder only") << "/home/u/films.mp4/clip" << -1;
    QTest::newRow("backslashes") << "C:\\Users\\me\\clip.avi" << 1;
    QTest::newRow("bare extension") << ".mov" << 1;
    QTest::newRow("trailing space") << "/home/u/clip.mp4 " << -1;
    QTest::newRow(".ra is video too") << "/home/u/stream.RA" << 1;
    QTest::newRow("name ending in asf without dot") << "/home/u/movie.myasf" << -1;
    QTest::newRow("rm is not rmvb") << "/home/u/clip.rmv" << -1;
    QTest::newRow("line break in folder") << "/home/u/a\nb/clip.mp4" << 1;
    QTest::newRow("unicode name") << QStringLiteral("/home/\u00fc/Vid\u00e9o \u00c9T\u00c9.MKV")
                                  << 1;
    QTest::newRow("unicode extension") << QStringLiteral("/home/u/clip.mp\u2074") << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestFileTypes::isVideoFile()
{
    QFETCH(QString, path);
    QTEST(IsVideoFile(path), "expected");
}

void TestFileTypes::isAudioFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("expected");

    QTest::newRow("mp3") << "/music/song.mp3" << 1;
    QTest::newRow("MP3 in capitals") << "/music/LENA.MP3" << 1;
    QTest::newRow("opus") << "/music/talk.opus" << 1;
    QTest::newRow("oga") << "/music/talk.oga" << 1;
    QTest::newRow("caf") << "/music/memo.Caf" << 1;
    QTest::newRow(".ra is audio too") << "/music/stream.ra" << 1;
    QTest::newRow("aiff") << "/music/take.aiff" << 1;
    QTest::newRow("aif not listed") << "/music/take.aif" << -1;
    QTest::newRow("extension in folder only") << "/music/a.mp3/notes.txt" << -1;
    QTest::newRow("ends otherwise") << "/music/song.mp3.part" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestFileTypes::isAudioFile()
{
    QFETCH(QString, path);
    QTEST(IsAudioFile(path), "expected");
}

void TestFileTypes::everyVideoPatternMatchesAcrossFolders()
{
    for (const QString& pattern : VideoPatterns()) {
        const QString extension = pattern.mid(1); // ".mp4"
        const QString path = QStringLiteral("/home/u/v.1/sub dir/name") + extension;
        QVERIFY2(IsVideoFile(path) == 1, qPrintable(path));
        QVERIFY2(IsVideoFile(path.toUpper()) == 1, qPrintable(path.toUpper()));
        QVERIFY2(IsVideoFile(path + QStringLiteral(".bak")) == -1, qPrintable(path));
    }
}

void TestFileTypes::everyAudioPatternMatchesAcrossFolders()
{
    for (const QString& pattern : AudioPatterns()) {
        const QString extension = pattern.mid(1);
        const QString path = QStringLiteral("/home/u/a.1/sub dir/name") + extension;
        QVERIFY2(IsAudioFile(path) == 1, qPrintable(path));
        QVERIFY2(IsAudioFile(path.toUpper()) == 1, qPrintable(path.toUpper()));
        QVERIFY2(IsAudioFile(path + QStringLiteral(".bak")) == -1, qPrintable(path));
    }
}

void TestFileTypes::dialogFilter()
{
    // The historical list stays first; the second filter offers every type
    // the program takes, and nothing twice; the last one every file.
    const QStringList filters = MediaDialogFilter().split(QStringLiteral(";;"));
    QCOMPARE(filters.size(), 3);
    QCOMPARE(filters[2], QStringLiteral("All files (*)"));
    QVERIFY(filters[0].startsWith(QLatin1String("Media (*.mp4 *.mpeg")));
    QVERIFY(filters[1].startsWith(QLatin1String("All media files (")));
    QStringList offered = filters[1].mid(17).chopped(1).split(QLatin1Char(' '));
    for (const char* extension :
         {"oga", "opus", "caf", "aiff", "wv",  "ape", "mka",  "m4b", "ts",  "m2ts",
          "mts", "vob",  "3gp", "ogv",  "wmv", "flv", "webm", "mxf", "mp3", "mp4"})
        QVERIFY2(offered.contains(QStringLiteral("*.") + QLatin1String(extension)), extension);
    QCOMPARE(offered.removeDuplicates(), 0);
}

QTEST_GUILESS_MAIN(TestFileTypes)
#include "test_filetypes.moc"
