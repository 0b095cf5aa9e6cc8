// The update check and download against a real HTTPS server on 127.0.0.1:
// what the user is told, which addresses are asked and how often, and that
// only an installer matching its checksum is ever started.
#include "app/settings.h"
#include "mainwindow/vcmainwidget.h"
#include "mainwindow/vctopwidget.h"
#include "media/workfolder.h"
#include "testsupport/testmedia.h"
#include "testsupport/updateserver.h"
#include "update/hadupdatewidget.h"
#include "update/noupdatewidget.h"
#include "update/updatelogic.h"
#include "update/updatenetwork.h"
#include "widgets/mymessagedialog.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(UpdateTestServer::Route)

namespace {

const QString kManifestPath = QStringLiteral("/upgrade/klemvasti_check_update.xml");
const QDate kToday(2026, 12, 7);
QDate g_today = kToday;

using Route = UpdateTestServer::Route;

Route Serve(const QByteArray& body, int status = 200)
{
    Route route;
    route.status = status;
    route.body = body;
    return route;
}

// A manifest for this platform; `entries` are its version elements.
QByteArray ManifestXml(const QByteArray& last, const QByteArray& entries,
                       const QByteArray& autoCheck = QByteArray())
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Update>\n<Platform Name=\"" +
           UpdatePlatformName().toUtf8() + "\" LastVersion=\"" + last + "\" AutoCheckVersion=\"" +
           autoCheck + "\">\n" + entries + "</Platform>\n</Update>\n";
}

QByteArray Entry(const QByteArray& version, const QByteArray& lang, const QString& url = QString(),
                 const QByteArray& md5 = QByteArray(), const QByteArray& extra = QByteArray())
{
    return "<Version Ver=\"" + version + "\" Lang=\"" + lang +
           "\" ReleaseDate=\"2026-12-01\" "
           "DLURL=\"" +
           url.toUtf8() + "\" DLMD5=\"" + md5 + "\" " + extra +
           "><Line Info=\"Faster joins\"/><Line Info=\"&lt;b&gt;bold&lt;/b&gt; is not markup\"/>"
           "</Version>\n";
}

QString LabelShown(const QLabel* label)
{
    return label->isVisibleTo(label->window()) ? label->text() : QString();
}

} // namespace

class TestUpdateCheck : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<UpdateTestServer> m_main;
    std::unique_ptr<UpdateTestServer> m_second;
    std::unique_ptr<VCMainWidget> m_window;
    QByteArray m_installer; // a script that leaves a marker when it runs
    QByteArray m_installerMd5;

    NoUpdateWidget* checkDialog() const { return m_window->updateWindow(); }
    HadUpdateWidget* offerDialog() const { return checkDialog()->updateDialog(); }
    QString marker() const { return m_dir.filePath(QStringLiteral("installer-ran")); }
    QString installerUrl(const UpdateTestServer* server, const char* name = "setup.run") const
    {
        return server->baseUrl() + QStringLiteral("/dl/") + QLatin1String(name);
    }

    QStringList notices() const
    {
        QStringList texts;
        for (const MyMessageDialog* dialog : m_window->findChildren<MyMessageDialog*>()) {
            if (dialog->isVisible())
                texts << dialog->messageLabel()->text();
        }
        return texts;
    }

    // Runs the menu's check and waits for its end.
    bool runManualCheck()
    {
        QSignalSpy finished(checkDialog(), &NoUpdateWidget::checkFinished);
        m_window->CheckForUpdatesNow();
        return finished.wait(20000);
    }

    // A newer version whose installer is served at /dl/setup.run.
    void offerInstaller(const Route& installer, const QByteArray& md5,
                        const QByteArray& extra = QByteArray())
    {
        m_main->setRoute(QStringLiteral("/dl/setup.run"), installer);
        m_main->setRoute(
            kManifestPath,
            Serve(ManifestXml("2.1", Entry("2.1", "en", installerUrl(m_main.get()), md5, extra))));
        QVERIFY(runManualCheck());
        QVERIFY(offerDialog() && offerDialog()->isVisible());
    }

private slots:
    void initTestCase()
    {
        TestMedia::UseBuildAppFolder();
        const QList<QSslCertificate> authority = UpdateTestServer::caCertificates();
        QVERIFY2(!authority.isEmpty(), "openssl is needed to make the test certificates");
        TrustCertificatesForTest(authority);
        SetUpdateTodayForTest([] { return g_today; });
        m_installer = "#!/bin/sh\necho started > '" + QFile::encodeName(marker()) + "'\n";
        m_installerMd5 = QCryptographicHash::hash(m_installer, QCryptographicHash::Md5).toHex();
    }

    void init()
    {
        g_today = kToday;
        // The automatic check is not due unless a test says so.
        WriteSetting(QStringLiteral("ckfirstCheckUpdate"), DailyCheckStamp(kToday));
        QFile::remove(marker());
        m_main = std::make_unique<UpdateTestServer>();
        m_second = std::make_unique<UpdateTestServer>();
        QVERIFY2(m_main->start(), qPrintable(m_main->errorString()));
        QVERIFY2(m_second->start(), qPrintable(m_second->errorString()));
        SetManifestAddressesForTest(
            {m_main->baseUrl() + kManifestPath, m_second->baseUrl() + kManifestPath});
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
        checkDialog()->setTransferTimeout(3000);
    }

    void cleanup()
    {
        m_window.reset();
        m_main.reset();
        m_second.reset();
    }

    void manualCheck_data()
    {
        QTest::addColumn<Route>("first");
        QTest::addColumn<Route>("second");
        QTest::addColumn<QString>("result"); // empty: a newer version is offered
        QTest::addColumn<bool>("closeShown");
        QTest::addColumn<int>("secondAsked");

        const Route same = Serve(ManifestXml("2.0.54", Entry("2.0.54", "en")));
        const Route newer = Serve(ManifestXml("2.1", Entry("2.1", "en", "https://x/a.run", "aa")));
        const QString upToDate = QStringLiteral("You already have the latest version, no need to "
                                                "update!");
        const QString unreachable = QStringLiteral("Could not reach the update server. Please "
                                                   "check your connection and try again.");
        Route stall;
        stall.stallAfterBytes = 0;
        Route huge = Serve(ManifestXml("2.1", QByteArray(2 * 1024 * 1024, ' ') +
                                                  Entry("2.1", "en", "https://x/a.run", "aa")));

        QTest::newRow("up to date") << same << newer << upToDate << false << 0;
        QTest::newRow("newer") << newer << same << QString() << false << 0;
        QTest::newRow("first missing, second newer")
            << Serve("gone", 404) << newer << QString() << false << 1;
        QTest::newRow("first not a manifest")
            << Serve("<html><body>") << same << upToDate << false << 1;
        QTest::newRow("first 2 MiB") << huge << same << upToDate << false << 1;
        QTest::newRow("first stalls") << stall << same << upToDate << false << 1;
        QTest::newRow("server error twice")
            << Serve("", 500) << Serve("", 503) << unreachable << true << 1;
        QTest::newRow("other languages only")
            << Serve(ManifestXml("2.1", Entry("2.1", "fr", "https://x/fr.run", "ff"))) << same
            << QString() << false << 0;
        QTest::newRow("newer for automatic checks only")
            << Serve(ManifestXml("2.0.54", Entry("2.1", "en", "https://x/a.run", "aa"), "2.1"))
            << same << upToDate << false << 0;
    }
    void manualCheck()
    {
        QFETCH(Route, first);
        QFETCH(Route, second);
        QFETCH(QString, result);
        m_main->setRoute(kManifestPath, first);
        m_second->setRoute(kManifestPath, second);
        QVERIFY(runManualCheck());

        QCOMPARE(m_main->requestCount(kManifestPath), 1);
        QTEST(m_second->requestCount(kManifestPath), "secondAsked");
        if (result.isEmpty()) {
            QVERIFY(!checkDialog()->isVisible());
            QVERIFY(offerDialog()->isVisible());
            QVERIFY(offerDialog()->cancelButton()->isVisible());
            QCOMPARE(offerDialog()->changeLogLabel()->textFormat(), Qt::PlainText);
            QVERIFY(offerDialog()->changeLogLabel()->text().startsWith(
                QStringLiteral("Ver: 2.1 (Build: 2026-12-01)\nFaster joins\n<b>bold</b> is not "
                               "markup\n")));
            return;
        }
        QVERIFY(checkDialog()->isVisible());
        QVERIFY(!offerDialog() || !offerDialog()->isVisible());
        QCOMPARE(LabelShown(checkDialog()->resultLabel()), result);
        QCOMPARE(checkDialog()->versionLabel()->isVisible(), result.startsWith("You already"));
        QTEST(checkDialog()->closeButton()->isVisible(), "closeShown");
    }

    void refusedConnections_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("certificate of no trusted authority")
            << int(UpdateTestServer::Mode::HttpsUntrusted);
        QTest::newRow("plain http") << int(UpdateTestServer::Mode::Http);
    }
    void refusedConnections()
    {
        QFETCH(int, mode);
        UpdateTestServer server(static_cast<UpdateTestServer::Mode>(mode));
        QVERIFY(server.start());
        server.setRoute(kManifestPath,
                        Serve(ManifestXml("2.1", Entry("2.1", "en", "https://x/a.run", "aa"))));
        SetManifestAddressesForTest({server.baseUrl() + kManifestPath});
        QVERIFY(runManualCheck());
        // Nothing was read from it: no request line arrived, or none was sent.
        QCOMPARE(server.requestCount(kManifestPath), 0);
        QVERIFY(!offerDialog());
        QVERIFY(LabelShown(checkDialog()->resultLabel()).startsWith("Could not reach"));
    }

    void menuEntryRunsTheCheck()
    {
        m_main->setRoute(kManifestPath, Serve(ManifestXml("2.0.54", Entry("2.0.54", "en"))));
        QSignalSpy finished(checkDialog(), &NoUpdateWidget::checkFinished);
        const QList<QAction*> entries = m_window->topBar()->mainMenu()->actions();
        const auto update = std::find_if(entries.cbegin(), entries.cend(),
                                         [](const QAction* a) { return a->text() == "Update"; });
        QVERIFY(update != entries.cend());
        (*update)->trigger();
        QVERIFY(checkDialog()->isVisible());
        QVERIFY(finished.wait(20000));
        QCOMPARE(m_main->requestCount(kManifestPath), 1);
    }

    void dailyCheckRunsOncePerDay()
    {
        m_main->setRoute(
            kManifestPath,
            Serve(ManifestXml("2.1", Entry("2.1", "en", "https://x/a", "aa"), "2.0.54")));
        QSignalSpy finished(checkDialog(), &NoUpdateWidget::checkFinished);
        WriteSetting(QStringLiteral("ckfirstCheckUpdate"), QStringLiteral("12-06-2026"));
        m_window->firstCheckUpdate_slots();
        QVERIFY(finished.wait(20000));
        QCOMPARE(m_main->requestCount(kManifestPath), 1);
        QCOMPARE(ReadSetting(QStringLiteral("ckfirstCheckUpdate")), QStringLiteral("12-07-2026"));
        // Automatic: offered the AutoCheckVersion, which is this one; nothing shows.
        QVERIFY(!checkDialog()->isVisible());
        QVERIFY(!offerDialog() || !offerDialog()->isVisible());

        // Not due again today: no request is even started.
        m_window->firstCheckUpdate_slots();
        QVERIFY(!checkDialog()->isChecking());
        QCOMPARE(m_main->requestCount(kManifestPath), 1);

        g_today = kToday.addDays(1);
        m_window->firstCheckUpdate_slots();
        QVERIFY(checkDialog()->isChecking());
        QVERIFY(finished.wait(20000));
        QCOMPARE(m_main->requestCount(kManifestPath), 2);
    }

    void automaticCheckWaitsForTheWindow()
    {
        m_main->setRoute(kManifestPath, Serve(ManifestXml("2.0.54", Entry("2.0.54", "en"))));
        WriteSetting(QStringLiteral("ckfirstCheckUpdate"), QString());
        QElapsedTimer clock;
        clock.start();
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
        QTRY_COMPARE_WITH_TIMEOUT(m_main->requestCount(kManifestPath), 1, 15000);
        // Deferred until the window is up, not made while it is built.
        QVERIFY2(clock.elapsed() >= 4500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!checkDialog()->isVisible());
    }

    void mustUpdateHidesCancel()
    {
        offerInstaller(Serve(m_installer), m_installerMd5, "IsMustUpdate=\"1\"");
        QVERIFY(!offerDialog()->cancelButton()->isVisible());
        QVERIFY(offerDialog()->updateButton()->isVisible());
        QVERIFY(offerDialog()->crossButton()->isVisible());
    }

    void download_data()
    {
        QTest::addColumn<Route>("installer");
        QTest::addColumn<int>("checksum"); // 0 right, 1 wrong, 2 none
        QTest::addColumn<bool>("launched");
        QTest::addColumn<int>("requests");

        Route noLength = Serve(m_installer);
        noLength.sendContentLength = false;
        QTest::newRow("with length") << Serve(m_installer) << 0 << true << 1;
        QTest::newRow("without length") << noLength << 0 << true << 1;
        QTest::newRow("wrong checksum") << Serve(m_installer) << 1 << false << 1;
        QTest::newRow("no checksum: not even fetched") << Serve(m_installer) << 2 << false << 0;
    }
    void download()
    {
        QFETCH(Route, installer);
        QFETCH(int, checksum);
        QFETCH(bool, launched);
        const QByteArray md5 = checksum == 0   ? m_installerMd5
                               : checksum == 1 ? QByteArray(32, 'a')
                                               : QByteArray();
        offerInstaller(installer, md5);
        QTest::mouseClick(offerDialog()->updateButton(), Qt::LeftButton);

        const QString installerPath = WorkFolder() + QLatin1Char('/') + InstallerFileName();
        if (launched) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker()), 10000);
            // The program makes way for the installer a second later.
            QTRY_VERIFY_WITH_TIMEOUT(!m_window->isVisible(), 5000);
        } else if (checksum == 1) {
            QTRY_VERIFY_WITH_TIMEOUT(!notices().isEmpty(), 10000);
            QCOMPARE(notices().first(), QStringLiteral("Download update file failed, Please try "
                                                       "again for other time."));
            QVERIFY(!QFile::exists(installerPath));
            // The offer stays, to try again or to cancel.
            QVERIFY(offerDialog()->isVisible());
            QVERIFY(offerDialog()->updateButton()->isVisible());
        } else {
            QVERIFY(offerDialog()->linkLabel()->isVisible());
            QVERIFY(offerDialog()->linkLabel()->text().contains(installerUrl(m_main.get())));
            QVERIFY(offerDialog()->headlineLabel()->text().contains("cannot be verified"));
        }
        QTest::qWait(300);
        QCOMPARE(QFile::exists(marker()), launched);
        QTEST(m_main->requestCount(QStringLiteral("/dl/setup.run")), "requests");
    }

    void progressAssumes20MiBWithoutALength()
    {
        Route slow = Serve(QByteArray(64 * 1024, 'x'));
        slow.sendContentLength = false;
        slow.chunkBytes = 4096;
        slow.chunkDelayMs = 40;
        offerInstaller(slow, QByteArray(32, 'a'));
        QTest::mouseClick(offerDialog()->updateButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(offerDialog()->progressBar()->maximum(), 20 * 1024 * 1024, 10000);
        QVERIFY(offerDialog()->statusLabel()->text().startsWith("Downloading Update..."));
        QTRY_VERIFY_WITH_TIMEOUT(!notices().isEmpty(), 10000); // the checksum is wrong
    }

    void retries_data()
    {
        QTest::addColumn<Route>("installer");
        QTest::addColumn<int>("sources");
        QTest::addColumn<QList<int>>("requests"); // per source

        Route stallAfterFirstBytes = Serve(QByteArray(100000, 'x'));
        stallAfterFirstBytes.stallAfterBytes = 1000;
        QTest::newRow("missing, one source") << Serve("no", 404) << 1 << QList<int>{2};
        QTest::newRow("missing, three sources: the third never asked")
            << Serve("no", 404) << 3 << QList<int>{2, 2, 0};
        QTest::newRow("stalls after the first bytes")
            << stallAfterFirstBytes << 2 << QList<int>{2, 2};
    }
    void retries()
    {
        QFETCH(Route, installer);
        QFETCH(int, sources);
        QFETCH(QList<int>, requests);
        QByteArray entries;
        const QList<QByteArray> languages{"en", "de", "fr"};
        for (int i = 0; i < sources; ++i) {
            const QString path = QStringLiteral("/dl/%1.run").arg(i);
            m_main->setRoute(path, installer);
            entries += Entry("2.1", languages.at(i), m_main->baseUrl() + path, m_installerMd5);
        }
        m_main->setRoute(kManifestPath, Serve(ManifestXml("2.1", entries)));
        QVERIFY(runManualCheck());
        offerDialog()->setStallTimeout(400);
        QTest::mouseClick(offerDialog()->updateButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!notices().isEmpty(), 20000);
        QCOMPARE(notices().first(),
                 QStringLiteral("Download update file failed, Please try again for other time."));
        QVERIFY(!offerDialog()->isVisible());
        for (int i = 0; i < sources; ++i)
            QCOMPARE(m_main->requestCount(QStringLiteral("/dl/%1.run").arg(i)), requests.at(i));
        QVERIFY(!QFile::exists(WorkFolder() + QLatin1Char('/') + InstallerFileName()));
        QVERIFY(!QFile::exists(marker()));
    }

    void plainHttpDownloadIsRefused()
    {
        UpdateTestServer plain(UpdateTestServer::Mode::Http);
        QVERIFY(plain.start());
        plain.setRoute(QStringLiteral("/dl/setup.run"), Serve(m_installer));
        m_main->setRoute(
            kManifestPath,
            Serve(ManifestXml("2.1", Entry("2.1", "en", installerUrl(&plain), m_installerMd5))));
        QVERIFY(runManualCheck());
        QTest::mouseClick(offerDialog()->updateButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!notices().isEmpty(), 10000);
        QCOMPARE(plain.requestCount(QStringLiteral("/dl/setup.run")), 0);
        // Not offered as a link either.
        QVERIFY(!offerDialog()->linkLabel()->text().contains("http://"));
        QVERIFY(!QFile::exists(marker()));
    }

    void crossAbortsTheDownload()
    {
        Route slow = Serve(QByteArray(400 * 1024, 'x'));
        slow.chunkBytes = 4096;
        slow.chunkDelayMs = 50;
        offerInstaller(slow, m_installerMd5);
        QTest::mouseClick(offerDialog()->updateButton(), Qt::LeftButton);
        const QString partial = WorkFolder() + QLatin1Char('/') + InstallerFileName();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(partial).size() > 0, 10000);
        QTest::mouseClick(offerDialog()->crossButton(), Qt::LeftButton);
        QVERIFY(!offerDialog()->isVisible());
        QVERIFY(!offerDialog()->isDownloading());
        QVERIFY(!QFile::exists(partial));
        QTest::qWait(500);
        QVERIFY(!QFile::exists(partial));
        QVERIFY(notices().isEmpty());
    }

    void noInstallerStartsDuringAJob()
    {
        offerInstaller(Serve(m_installer), m_installerMd5);
        checkDialog()->setJobRunning(true);
        QTest::mouseClick(offerDialog()->updateButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!notices().isEmpty(), 10000);
        QVERIFY(notices().first().contains("Finish or cancel"));
        QTest::qWait(300);
        QVERIFY(!QFile::exists(marker()));
        QVERIFY(m_window->isVisible());
        QVERIFY(!QFile::exists(WorkFolder() + QLatin1Char('/') + InstallerFileName()));
    }

    void linkIsEscaped()
    {
        const QString url = m_main->baseUrl() + QStringLiteral("/dl/a&b<i>.run");
        m_main->setRoute(kManifestPath,
                         Serve(ManifestXml("2.1", Entry("2.1", "en", url.toHtmlEscaped(), ""))));
        QVERIFY(runManualCheck());
        QTest::mouseClick(offerDialog()->updateButton(), Qt::LeftButton);
        const QString link = offerDialog()->linkLabel()->text();
        QVERIFY2(link.contains(QStringLiteral("a&amp;b&lt;i&gt;.run")), qPrintable(link));
        QVERIFY(!link.contains(QStringLiteral("<i>.run")));
    }
};

QTEST_MAIN(TestUpdateCheck)
#include "test_updatecheck.moc"
