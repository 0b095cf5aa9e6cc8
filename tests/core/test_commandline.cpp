// What a start with arguments asks for: files as absolute paths in their
// order, whatever form the desktop or the shell hands them in.
#include "app/commandline.h"

#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("version");
        QTest::addColumn<bool>("help");
        QTest::addColumn<bool>("error");
        const QStringList none;
        QTest::newRow("nothing") << QStringList{} << none << false << false << false;
        QTest::newRow("relative and absolute, in order")
            << QStringList{"b.mp4", "/data/a clip.mkv", "../up.mp3"}
            << QStringList{"/home/u/b.mp4", "/data/a clip.mkv", "/home/up.mp3"} << false << false
            << false;
        QTest::newRow("file URL from a file manager")
            << QStringList{"file:///data/%C3%BC%20x.mp4"}
            << QStringList{QStringLiteral("/data/\u00fc x.mp4")} << false << false << false;
        QTest::newRow("a name with # is a name")
            << QStringList{"take#2.mp4"} << QStringList{"/home/u/take#2.mp4"} << false << false
            << false;
        QTest::newRow("after --, a dash is a name")
            << QStringList{"--", "-x.mp4"} << QStringList{"/home/u/-x.mp4"} << false << false
            << false;
        QTest::newRow("version") << QStringList{"--version"} << none << true << false << false;
        QTest::newRow("short help") << QStringList{"-h"} << none << false << true << false;
        QTest::newRow("unknown option")
            << QStringList{"--cut", "a.mp4"} << none << false << false << true;
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        arguments.prepend(QStringLiteral("splicora"));
        const CommandLine line = ParseCommandLine(arguments, QStringLiteral("/home/u"));
        QTEST(line.files, "files");
        QTEST(line.showVersion, "version");
        QTEST(line.showHelp, "help");
        QTEST(!line.error.isEmpty(), "error");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
