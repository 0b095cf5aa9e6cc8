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
    void patternLists();
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
    QTest::newRow("MP3 rejected") << "/music/song.MP3" << -1;
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
        QVERIFY2(IsAudioFile(path.toUpper()) == -1, qPrintable(path.toUpper()));
        QVERIFY2(IsAudioFile(path + QStringLiteral(".bak")) == -1, qPrintable(path));
    }
}

void TestFileTypes::patternLists()
{
    const QStringList video{"*.webm", "*.asf",  "*.wmv", "*.vob", "*.ts",  "*.trp",  "*.tod",
                            "*.td",   "*.rmvb", "*.rm",  "*.ra",  "*.mts", "*.mpg",  "*.mpeg",
                            "*.mp4",  "*.mov",  "*.mod", "*.mkv", "*.m4v", "*.m2ts", "*.flv",
                            "*.dv",   "*.avi",  "*.3gp", "*.3g2"};
    const QStringList audio{"*.amr", "*.ac3", "*.aac", "*.wma", "*.wav",  "*.ra",  "*.ogg", "*.mp3",
                            "*.mp2", "*.mka", "*.m4a", "*.iff", "*.flac", "*.ape", "*.aiff"};
    QCOMPARE(VideoPatterns(), video);
    QCOMPARE(AudioPatterns(), audio);
}

void TestFileTypes::dialogFilter()
{
    QCOMPARE(MediaDialogFilter(),
             QStringLiteral("Media (*.mp4 *.mpeg *.mpg *.asf *.avi *.DV *.flv *.M2TS *.M4V *.mkv "
                            "*.MOD *.mov *.MTS *.RA *.3g2 *.3gp *.rm *.rmvb *.td *.TOD *.trp *.ts "
                            "*.vob *.wmv *asf *.aac *.ac3 *.aiff *.amr *.ape *.flac *.iff *.m4a "
                            "*.mka *.mp2 *.mp3 *.ogg *.ra *.wav *.wma *.aac *.ac3 *.amr "
                            "*.webm)"));
}

QTEST_GUILESS_MAIN(TestFileTypes)
#include "test_filetypes.moc"
