// The "Add Files" command with a stand-in for the system dialog: where the
// dialog opens, what it is asked to show, which files go on to the probe and
// which folder is remembered.
#include "app/settings.h"
#include "media/addfiles.h"
#include "media/addfilesdialog.h"
#include "media/filetypes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

namespace {
const QString kKey = QStringLiteral("addVideoPath");

// What the stand-in dialog was asked, and what it answers.
struct DialogCall
{
    int count = 0;
    QWidget* parent = nullptr;
    QString caption;
    QString folder;
    QString filter;
};
} // namespace

class TestAddFiles : public QObject
{
    Q_OBJECT

    QByteArray m_realHome;
    std::unique_ptr<QTemporaryDir> m_home;
    DialogCall m_call;
    QStringList m_answer;

    QString home() const { return m_home->path(); }

private Q_SLOTS:
    void init()
    {
        // A fresh home per test, so no Documents folder exists at first.
        m_realHome = qgetenv("HOME");
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        qputenv("HOME", QFile::encodeName(home()));
        QCOMPARE(QDir::homePath(), home());
        WriteSetting(kKey, QString());
        m_call = {};
        m_answer.clear();
        SetOpenFilesDialog([this](QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter) {
            m_call = {m_call.count + 1, parent, caption, folder, filter};
            return m_answer;
        });
    }

    void cleanup()
    {
        SetOpenFilesDialog({});
        qputenv("HOME", m_realHome);
        m_home.reset();
    }

    void defaultFolderPrefersDocuments_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both") << QStringList{"Documents", "My Documents"}
                              << "/Documents/Tarnwick/Splicora";
        QTest::newRow("My Documents")
            << QStringList{"My Documents"} << "/My Documents/Tarnwick/Splicora";
        QTest::newRow("neither") << QStringList{} << "/Documents/Tarnwick/Splicora";
    }
    void defaultFolderPrefersDocuments()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        for (const QString& name : existing)
            QVERIFY(QDir(home()).mkdir(name));

        const QString folder = DefaultMediaFolder();
        QCOMPARE(folder, home() + expected);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(ReadSetting(kKey), QString()); // the default is not written back
    }

    void storedFolderIsUsedOnlyWhileItExists_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("exists");
        QTest::newRow("existing with slash") << "/Clips/" << true;
        QTest::newRow("removed") << "/Gone/" << false;
        QTest::newRow("a file, not a folder") << "/note.txt" << false;
        QTest::newRow("empty") << "" << false;
    }
    void storedFolderIsUsedOnlyWhileItExists()
    {
        QFETCH(QString, stored);
        QFETCH(bool, exists);
        QVERIFY(QDir(home()).mkdir("Clips"));
        QFile file(home() + "/note.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString value = stored.isEmpty() ? QString() : home() + stored;
        SaveFolderSetting(kKey, value);

        const QString expected = exists ? value : home() + "/Documents/Tarnwick/Splicora";
        QCOMPARE(FolderSetting(kKey), expected);
        QCOMPARE(ReadSetting(kKey), value);
    }

    void folderOfFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << "/x/Videos/a.mp4"
                               << "/x/Videos/";
        QTest::newRow("root") << "/a.mp4"
                              << "/";
        QTest::newRow("bare name") << "a.mp4"
                                   << "";
    }
    void folderOfFile()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(FolderOfFile(path), folder);
    }

    void everyChosenFileGoesToTheProbe()
    {
        // Whatever the name: the probe tells media from the rest.
        m_answer = {"/x/first.avi", "/x/SONG.MP3", "/x/readme.txt", "/x/song", "/x/-i -y.mov"};
        QCOMPARE(AddFiles(nullptr), m_answer);
    }

    void choosingFilesRemembersTheFirstFolder()
    {
        m_answer = {"/x/Videos/a.mp4", "/x/Videos/b.mkv"};
        QWidget parent;
        QCOMPARE(AddFiles(&parent), m_answer);
        QCOMPARE(ReadSetting(kKey), QString("/x/Videos/"));

        QCOMPARE(m_call.parent, &parent);
        QCOMPARE(m_call.filter, MediaDialogFilter());
        QCOMPARE(m_call.folder, home() + "/Documents/Tarnwick/Splicora");
        QVERIFY(QFileInfo(m_call.folder).isDir());
    }

    void folderOfTheFirstFileEvenWhenItIsNoMedia()
    {
        m_answer = {"/x/Notes/readme.txt", "/x/Videos/a.mp4"};
        AddFiles(nullptr);
        QCOMPARE(ReadSetting(kKey), QString("/x/Notes/"));
    }

    void nextDialogOpensInTheRememberedFolder()
    {
        const QString clips = home() + QString::fromUtf8("/Clips 'été' -1");
        QVERIFY(QDir().mkpath(clips));
        m_answer = {clips + "/a.mp4"};
        AddFiles(nullptr);
        m_answer.clear();
        AddFiles(nullptr);
        QCOMPARE(m_call.folder, clips + "/");

        // Gone before the next dialog: back to the default under Documents.
        QVERIFY(QDir(clips).removeRecursively());
        AddFiles(nullptr);
        QCOMPARE(m_call.folder, home() + "/Documents/Tarnwick/Splicora");
    }

    void cancellingChangesNothing()
    {
        const QString clips = home() + "/Clips/";
        QVERIFY(QDir().mkpath(clips));
        SaveFolderSetting(kKey, clips);
        m_answer.clear();
        QCOMPARE(AddFiles(nullptr), QStringList());
        QCOMPARE(m_call.count, 1);
        QCOMPARE(m_call.folder, clips);
        QCOMPARE(ReadSetting(kKey), clips);
    }
};

QTEST_MAIN(TestAddFiles)
#include "test_addfiles.moc"
