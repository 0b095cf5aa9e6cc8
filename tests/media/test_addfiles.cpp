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

// What the stand-in dialog was asked.
struct DialogCall
{
    int count = 0;
    QWidget* parent = nullptr;
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
    QString defaultFolder() const { return home() + "/Documents/Tarnwick/Splicora"; }

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
        SetOpenFilesDialog(
            [this](QWidget* parent, const QString&, const QString& folder, const QString& filter) {
                m_call = {m_call.count + 1, parent, folder, filter};
                return m_answer;
            });
    }

    void cleanup()
    {
        SetOpenFilesDialog({});
        qputenv("HOME", m_realHome);
        m_home.reset();
    }

    // The dialog starts in the stored folder while it exists, else under the
    // documents folder, made on the way; that default is never written back.
    void startFolder_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        const QString fallback = "/Documents/Tarnwick/Splicora";
        QTest::newRow("Documents and My Documents")
            << QStringList{"Documents", "My Documents"} << "" << fallback;
        QTest::newRow("My Documents only") << QStringList{"My Documents"} << ""
                                           << "/My Documents/Tarnwick/Splicora";
        QTest::newRow("neither, nothing stored") << QStringList{} << "" << fallback;
        QTest::newRow("stored, with slash") << QStringList{"Clips"} << "/Clips/"
                                            << "/Clips/";
        QTest::newRow("stored, removed") << QStringList{} << "/Gone/" << fallback;
        QTest::newRow("stored, a file") << QStringList{} << "/note.txt" << fallback;
    }
    void startFolder()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        for (const QString& name : existing)
            QVERIFY(QDir(home()).mkdir(name));
        QVERIFY(QFile(home() + "/note.txt").open(QIODevice::WriteOnly));
        const QString value = stored.isEmpty() ? QString() : home() + stored;
        SaveFolderSetting(kKey, value);

        const QString folder = FolderSetting(kKey);
        QCOMPARE(folder, home() + expected);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(ReadSetting(kKey), value);
    }

    // Every chosen file goes on, whatever its name: the probe tells media from
    // the rest. The first file's folder is remembered, even when it is no media.
    void choiceGoesOnAndItsFirstFolderIsRemembered_data()
    {
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("remembered");
        QTest::newRow("media") << QStringList{"/x/Videos/a.mp4", "/x/Videos/b.mkv"} << "/x/Videos/";
        QTest::newRow("any name") << QStringList{"/x/first.avi", "/x/SONG.MP3", "/x/readme.txt",
                                                 "/x/song", "/x/-i -y.mov"}
                                  << "/x/";
        QTest::newRow("first is no media")
            << QStringList{"/x/Notes/readme.txt", "/x/Videos/a.mp4"} << "/x/Notes/";
        QTest::newRow("root") << QStringList{"/a.mp4"} << "/";
        QTest::newRow("bare name") << QStringList{"a.mp4"} << "";
    }
    void choiceGoesOnAndItsFirstFolderIsRemembered()
    {
        QFETCH(QStringList, chosen);
        QFETCH(QString, remembered);
        m_answer = chosen;
        QWidget parent;
        QCOMPARE(AddFiles(&parent), chosen);
        QCOMPARE(ReadSetting(kKey), remembered);

        QCOMPARE(m_call.parent, &parent);
        QCOMPARE(m_call.filter, MediaDialogFilter());
        QCOMPARE(m_call.folder, defaultFolder());
        QVERIFY(QFileInfo(m_call.folder).isDir());
    }

    // Cancelling hands on nothing and keeps the remembered folder.
    void nextDialogOpensInTheRememberedFolder()
    {
        const QString clips = home() + QString::fromUtf8("/Clips 'été' -1");
        QVERIFY(QDir().mkpath(clips));
        m_answer = {clips + "/a.mp4"};
        AddFiles(nullptr);
        m_answer.clear();
        QCOMPARE(AddFiles(nullptr), QStringList());
        QCOMPARE(m_call.count, 2);
        QCOMPARE(m_call.folder, clips + "/");
        QCOMPARE(ReadSetting(kKey), clips + "/");

        // Gone before the next dialog: back to the default under Documents.
        QVERIFY(QDir(clips).removeRecursively());
        AddFiles(nullptr);
        QCOMPARE(m_call.folder, defaultFolder());
    }
};

QTEST_MAIN(TestAddFiles)
#include "test_addfiles.moc"
