// The user's private folder, with another local user at work in the shared
// temporary folder: what that user plants there is never run, never written
// through and never stops the program; a private folder that others can
// reach is refused and a fresh one used instead. The other user is uid 65534
// when the tests run as root; otherwise the plants are made by the same user,
// which still shows that the program never looks at those places.
#include "app/appfolder.h"
#include "app/platform.h"
#include "media/probe.h"
#include "media/workfolder.h"
#include "testsupport/testmedia.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t Mode(const QString& path)
{
    return mode_t(TestMedia::FileMode(path));
}

QByteArray Md5(const QString& path)
{
    return TestMedia::FileMd5(path);
}

constexpr QDir::Filters kEverything =
    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a shell script as the other user (as the same user when not root).
bool AsOtherUser(const QString& script)
{
    QProcess shell;
    QStringList command{QStringLiteral("sh"), QStringLiteral("-ec"), script};
    if (::geteuid() == 0)
        command = QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                              QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")} +
                  command;
    shell.setProcessChannelMode(QProcess::ForwardedChannels);
    shell.start(command.takeFirst(), command);
    return shell.waitForFinished(10000) && shell.exitStatus() == QProcess::NormalExit &&
           shell.exitCode() == 0;
}

QString Quoted(const QString& path)
{
    return QLatin1Char('\'') + path + QLatin1Char('\'');
}

// A lock that claims a copy runs on another machine: nothing here can prove
// it stale.
QString ForeignLockScript(const QString& path)
{
    return QStringLiteral("printf '1\\nsplicora\\nelsewhere.example\\n' > %1\n").arg(Quoted(path));
}

} // namespace

class TestPrivateFolder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_victimFile;
    QByteArray m_victimMd5;
    std::unique_ptr<QProcess> m_program;

    // A stand-in for /tmp: world-writable and sticky, as the real one is.
    QString makeSharedFolder(const QString& name)
    {
        const QString path = m_root.filePath(name);
        if (!QDir().mkdir(path) || ::chmod(QFile::encodeName(path).constData(), 01777) != 0)
            return QString();
        return path;
    }

    QProcessEnvironment environmentFor(const QString& shared) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"})
            env.insert(QString::fromLatin1(name), shared);
        env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    void startProgram(const QString& shared)
    {
        m_program = std::make_unique<QProcess>();
        m_program->setProcessEnvironment(environmentFor(shared));
        m_program->setProcessChannelMode(QProcess::ForwardedChannels);
        m_program->start(qEnvironmentVariable("SPLICORA_APP_DIR") + QStringLiteral("/splicora"));
        QVERIFY2(m_program->waitForStarted(10000), qPrintable(m_program->errorString()));
    }

    // The other user's traps in the places the program used to take.
    void plantInOldPlaces(const QString& shared)
    {
        const QString maker = shared + QStringLiteral("/Tarnwick");
        const QString script =
            QStringLiteral("mkdir -p %1/Splicora\n"
                           "printf '#!/bin/sh\\ntouch %2\\n' > %1/Splicora/ffmpeg\n"
                           "chmod 755 %1/Splicora/ffmpeg\n"
                           "ln -s %3 %1/splicora.log\n")
                .arg(Quoted(maker), Quoted(shared + QStringLiteral("/ffmpeg-ran")),
                     Quoted(m_victimFile)) +
            ForeignLockScript(shared + QStringLiteral("/Splicora.lock")) +
            ForeignLockScript(shared + QStringLiteral("/Splicora-%1.lock").arg(::getuid()));
        QVERIFY(AsOtherUser(script));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        // The other user must reach the stand-ins inside.
        QCOMPARE(::chmod(QFile::encodeName(m_root.path()).constData(), 0755), 0);
        m_victimFile = m_root.filePath(QStringLiteral("victim.txt"));
        QFile victim(m_victimFile);
        QVERIFY(victim.open(QIODevice::WriteOnly));
        victim.write("the user's own file\n");
        victim.close();
        m_victimMd5 = Md5(m_victimFile);

        // This process's own private folder is settled here, in a shared
        // folder already seeded with traps, under a umask that keeps nothing
        // back.
        const QString shared = makeSharedFolder(QStringLiteral("shared-inprocess"));
        QVERIFY(!shared.isEmpty());
        plantInOldPlaces(shared);
        for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"})
            qputenv(name, QFile::encodeName(shared));
        const mode_t previous = ::umask(0);
        const QString folder = Platform::PrivateFolder();
        ::umask(previous);
        QCOMPARE(folder, shared + QStringLiteral("/splicora"));
        QCOMPARE(Platform::PrivateFolderProblem(), QString());
    }

    void cleanup()
    {
        if (m_program) {
            m_program->kill();
            m_program->waitForFinished(5000);
            m_program.reset();
        }
        QCOMPARE(Md5(m_victimFile), m_victimMd5);
    }

    void folderOthersCanReachIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason"); // empty: the folder is fit
        QTest::newRow("owner only") << "0700"
                                    << "";
        QTest::newRow("readable by all") << "0755"
                                         << "other users can reach it (mode 0755)";
        QTest::newRow("open to the group") << "0750"
                                           << "other users can reach it (mode 0750)";
        QTest::newRow("sticky, open to all") << "1777"
                                             << "other users can reach it (mode 1777)";
        QTest::newRow("not writable") << "0500"
                                      << "it cannot be written";
        QTest::newRow("link to a private folder") << "link"
                                                  << "it is a link to somewhere else";
        QTest::newRow("plain file") << "file"
                                    << "it is not a folder";
        QTest::newRow("missing") << "missing"
                                 << "it cannot be made";
        QTest::newRow("another user's") << "other"
                                        << "it belongs to another user";
    }

    void folderOthersCanReachIsRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("splicora"));
        const QByteArray native = QFile::encodeName(path);
        bool octal = false;
        const int mode = kind.toInt(&octal, 8);
        if (octal) {
            QCOMPARE(::mkdir(native.constData(), 0700), 0);
            QCOMPARE(::chmod(native.constData(), mode_t(mode)), 0);
        } else if (kind == QLatin1String("link")) {
            QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("real"))));
            QCOMPARE(
                ::chmod(QFile::encodeName(dir.filePath(QStringLiteral("real"))).constData(), 0700),
                0);
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("real")), path));
        } else if (kind == QLatin1String("file")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (kind == QLatin1String("other")) {
            if (::geteuid() != 0)
                QSKIP("Making a folder of another user needs root");
            QCOMPARE(::mkdir(native.constData(), 0700), 0);
            QCOMPARE(::chown(native.constData(), 65534, 65534), 0);
        }
        QCOMPARE(Platform::CheckPrivateFolder(path), reason);
    }

    void probeWritesOnlyIntoThePrivateFolder()
    {
        TestMedia::UseBuildAppFolder();
        const QString clip = m_root.filePath(QStringLiteral("clip.mp4"));
        QVERIFY(TestMedia::MakeClip(clip, 1.0, 160, 120));
        const QString shared = m_root.filePath(QStringLiteral("shared-inprocess"));
        const QStringList plantedBefore =
            QDir(shared + QStringLiteral("/Tarnwick/Splicora")).entryList(kEverything);

        ProbeResult result;
        QCOMPARE(RunProbe(clip, &result, 20000), 0);

        QCOMPARE(WorkFolder(), Platform::PrivateFolder() + QStringLiteral("/work"));
        QVERIFY2(result.thumbnailPath.startsWith(WorkFolder() + QStringLiteral("/thumb/")),
                 qPrintable(result.thumbnailPath));
        QVERIFY(QFile::exists(result.thumbnailPath));
        QVERIFY(!QFile::exists(shared + QStringLiteral("/ffmpeg-ran")));
        QCOMPARE(QDir(shared + QStringLiteral("/Tarnwick/Splicora")).entryList(kEverything),
                 plantedBefore);
        QCOMPARE(Mode(Platform::PrivateFolder()), mode_t(S_IFDIR | 0700));
    }

    void startIgnoresWhatOthersPlantedInTheSharedFolder()
    {
        const QString shared = makeSharedFolder(QStringLiteral("shared-start"));
        QVERIFY(!shared.isEmpty());
        plantInOldPlaces(shared);

        startProgram(shared);
        const QString log = shared + QStringLiteral("/splicora/splicora.log");
        QTRY_VERIFY_WITH_TIMEOUT(ReadAll(log).contains("started"), 20000);
        // Neither the planted locks nor anything else sent it away.
        QCOMPARE(m_program->state(), QProcess::Running);
        QCOMPARE(Mode(shared + QStringLiteral("/splicora")), mode_t(S_IFDIR | 0700));
        QCOMPARE(Mode(log), mode_t(S_IFREG | 0600));
        QVERIFY(!QFile::exists(shared + QStringLiteral("/ffmpeg-ran")));
        QCOMPARE(Md5(m_victimFile), m_victimMd5);
    }

    // A run killed during a job leaves its folder; the next start clears it
    // and keeps the thumbnails.
    void leftoverJobFoldersAreRemoved()
    {
        const QString shared = makeSharedFolder(QStringLiteral("shared-leftovers"));
        QVERIFY(!shared.isEmpty());
        const QString work = shared + QStringLiteral("/splicora/work");
        QVERIFY(QDir().mkpath(work + QStringLiteral("/job-AbC123")));
        QVERIFY(QDir().mkpath(work + QStringLiteral("/thumb")));
        QVERIFY(QFile::setPermissions(shared + QStringLiteral("/splicora"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QFile piece(work + QStringLiteral("/job-AbC123/piece-0.mp4"));
        QVERIFY(piece.open(QIODevice::WriteOnly));
        piece.write("half a piece");
        piece.close();

        startProgram(shared);
        QTRY_VERIFY_WITH_TIMEOUT(
            ReadAll(shared + QStringLiteral("/splicora/splicora.log")).contains("started"), 20000);
        QTRY_VERIFY(!QFile::exists(work + QStringLiteral("/job-AbC123")));
        QVERIFY(QFileInfo(work + QStringLiteral("/thumb")).isDir());
    }

    void refusedFolderGivesWayToAFreshOne()
    {
        const QString shared = makeSharedFolder(QStringLiteral("shared-taken"));
        QVERIFY(!shared.isEmpty());
        // The other user got there first: the folder is theirs (or, without
        // root, open to all), with a lock and a link waiting inside.
        const QString taken = shared + QStringLiteral("/splicora");
        QVERIFY(AsOtherUser(QStringLiteral("mkdir -m 755 %1\nln -s %2 %1/splicora.log\n")
                                .arg(Quoted(taken), Quoted(m_victimFile)) +
                            ForeignLockScript(taken + QStringLiteral("/Splicora.lock"))));

        startProgram(shared);
        // The fresh folder has a name nobody could guess beforehand.
        const auto fallbackFolder = [&shared] {
            const QString name =
                QDir(shared).entryList({QStringLiteral("splicora-*")}, QDir::Dirs).value(0);
            return name.isEmpty() ? QString() : shared + QLatin1Char('/') + name;
        };
        QTRY_VERIFY_WITH_TIMEOUT(
            ReadAll(fallbackFolder() + QStringLiteral("/splicora.log")).contains("started"), 20000);
        const QString fallback = fallbackFolder();
        const QString text = QString::fromUtf8(ReadAll(fallback + QStringLiteral("/splicora.log")));
        QVERIFY2(text.contains(QStringLiteral("The private folder %1 is not used: ").arg(taken)),
                 qPrintable(text));
        QCOMPARE(m_program->state(), QProcess::Running);
        QCOMPARE(Mode(fallback), mode_t(S_IFDIR | 0700));
        QCOMPARE(Mode(fallback + QStringLiteral("/splicora.log")), mode_t(S_IFREG | 0600));
        QCOMPARE(Md5(m_victimFile), m_victimMd5);
    }

    void secondCopyStillLeaves()
    {
        Platform::SingleInstance first;
        QVERIFY(first.acquire());
        QCOMPARE(Platform::SingleInstance::lockFilePath(),
                 Platform::PrivateFolder() + QStringLiteral("/Splicora.lock"));
        Platform::SingleInstance second;
        QVERIFY(!second.acquire());
        QCOMPARE(first.problem(), QString());
    }
};

QTEST_GUILESS_MAIN(TestPrivateFolder)
#include "test_privatefolder.moc"
