// What the update check decides from a manifest, without a network: which
// version is newer, what the dialog offers and from where, and the numbers
// the download shows.
#include "update/manifest.h"
#include "update/updatelogic.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kCurrent = QStringLiteral("2.0.54");

// A manifest with one linux block; `entries` are the inner elements.
QByteArray ManifestXml(const QByteArray& attributes, const QByteArray& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Update>\n"
           "<Platform Name=\"windows\" LastVersion=\"9.9\">"
           "<Version Ver=\"9.9\" Lang=\"en\" DLURL=\"https://w.example/win.exe\" DLMD5=\"aa\"/>"
           "</Platform>\n<Platform Name=\"Linux\" " +
           attributes + ">\n" + entries + "</Platform>\n</Update>\n";
}

QByteArray Entry(const char* version, const char* lang, const char* url = "", const char* md5 = "",
                 const QByteArray& extra = QByteArray(), const QByteArray& info = QByteArray())
{
    return QByteArray("<Version Ver=\"") + version + "\" Lang=\"" + lang + "\" DLURL=\"" + url +
           "\" DLMD5=\"" + md5 + "\" ReleaseDate=\"2026-11-0" + version[0] + "\" " + extra + ">" +
           info + "</Version>\n";
}

QStringList Urls(const UpdateOffer& offer)
{
    QStringList urls;
    for (const DownloadSource& source : offer.sources)
        urls << source.url + QLatin1Char('#') + source.md5 + QLatin1Char('#') + source.sha256;
    return urls;
}

} // namespace

class TestUpdateLogic : public QObject
{
    Q_OBJECT

private slots:
    void compareVersions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("two parts beat three") << "2.1"
                                              << "2.0.54" << 1;
        QTest::newRow("100 beats 99") << "2.0.100"
                                      << "2.0.99" << 1;
        QTest::newRow("missing part is 0") << "2.0"
                                           << "2.0.0" << 0;
        QTest::newRow("leading zeros") << "2.0.054"
                                       << "2.0.54" << 0;
        QTest::newRow("older") << "2.0.53"
                               << "2.0.54" << -1;
        QTest::newRow("huge part, no overflow") << "2.0.99999999999999999999"
                                                << "2.0.54" << 1;
        QTest::newRow("huge against huger") << "1.99999999999999999998"
                                            << "1.99999999999999999999" << -1;
        QTest::newRow("not a number counts 0") << "2.x.9"
                                               << "2.0.9" << 0;
        QTest::newRow("empty") << ""
                               << "2.0.54" << -1;
        QTest::newRow("spaces") << " 2.0.55 "
                                << "2.0.54" << 1;
    }
    void compareVersions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        QCOMPARE(CompareVersions(a, b), order);
        QCOMPARE(CompareVersions(b, a), -order);
    }

    void offer_data()
    {
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<QString>("version"); // empty: nothing offered
        QTest::addColumn<bool>("mustUpdate");
        QTest::addColumn<QStringList>("sources");

        const QByteArray newer = Entry("2.1", "en", "https://a/en.run", "aa11") +
                                 Entry("2.1", "de", "https://a/de.run", "dd22");
        QTest::newRow("newer, own language first")
            << ManifestXml("LastVersion=\"2.1\"", newer) << false << "2.1" << false
            << QStringList{"https://a/en.run#AA11#", "https://a/de.run#DD22#"};
        QTest::newRow("the checksum stays with its entry")
            << ManifestXml("LastVersion=\"2.1\"",
                           Entry("2.1", "de", "https://a/de.run", "dd22") +
                               Entry("2.1", "en", "https://a/en.run", "aa11"))
            << false << "2.1" << false
            << QStringList{"https://a/en.run#AA11#", "https://a/de.run#DD22#"};
        QTest::newRow("same version")
            << ManifestXml("LastVersion=\"2.0.54\"", Entry("2.0.54", "en", "https://a/x", "aa"))
            << false << "" << false << QStringList{};
        QTest::newRow("other languages only: still offered")
            << ManifestXml("LastVersion=\"2.1\"", Entry("2.1", "fr", "https://a/fr.run", "ff"))
            << false << "2.1" << false << QStringList{"https://a/fr.run#FF#"};
        QTest::newRow("no entry of the version")
            << ManifestXml("LastVersion=\"2.2\"", newer) << false << "" << false << QStringList{};
        QTest::newRow("automatic takes AutoCheckVersion")
            << ManifestXml("LastVersion=\"2.1\" AutoCheckVersion=\"2.0.54\"", newer) << true << ""
            << false << QStringList{};
        QTest::newRow("empty AutoCheckVersion falls back")
            << ManifestXml("LastVersion=\"2.1\" AutoCheckVersion=\"\"", newer) << true << "2.1"
            << false << QStringList{"https://a/en.run#AA11#", "https://a/de.run#DD22#"};
        QTest::newRow("must update, with a second hash")
            << ManifestXml("LastVersion=\"2.1\"", Entry("2.1", "en", "https://a/en.run", "aa",
                                                        "IsMustUpdate=\"1\" "
                                                        "DLSHA256=\"beef\""))
            << false << "2.1" << true << QStringList{"https://a/en.run#AA#BEEF"};
        QTest::newRow("only the windows block is newer")
            << ManifestXml("LastVersion=\"2.0.54\"", Entry("2.0.54", "en")) << false << "" << false
            << QStringList{};
        QTest::newRow("not well formed") << QByteArray("<Update><Platform Name=\"linux\" "
                                                       "LastVersion=\"3.0\"><Version Ver=\"3.0\" "
                                                       "Lang=\"en\" DLURL=\"https://a\"")
                                         << false << "" << false << QStringList{};
        QTest::newRow("not XML") << QByteArray("<html>404</html> garbage <") << false << "" << false
                                 << QStringList{};
        QTest::newRow("empty") << QByteArray() << false << "" << false << QStringList{};
    }
    void offer()
    {
        QFETCH(QByteArray, manifest);
        QFETCH(bool, automatic);
        QFETCH(QString, version);
        const UpdateOffer offer =
            ChooseUpdate(ParseManifest(manifest, QStringLiteral("linux"), automatic), kCurrent,
                         QStringLiteral("EN"));
        QCOMPARE(offer.available, !version.isEmpty());
        QCOMPARE(offer.version, version);
        QTEST(offer.mustUpdate, "mustUpdate");
        QTEST(Urls(offer), "sources");
    }

    void changeLogListsEveryNewerVersionNewestFirst()
    {
        const QByteArray entries =
            Entry("2.0.9", "en", "", "", "", "<Line Info=\"old\"/>") +
            Entry("2.1", "en", "https://a/21", "aa", "",
                  "<Line Info=\"fix A\"/><Line Info=\"fix B\"/>") +
            Entry("2.1", "de", "https://a/21de", "bb", "", "<Line Info=\"Fehler A\"/>") +
            Entry("2.0.100", "de", "", "", "", "<Line Info=\"nur deutsch\"/>") +
            Entry("2.0.54", "en", "", "", "", "<Line Info=\"current\"/>");
        const UpdateOffer offer =
            ChooseUpdate(ParseManifest(ManifestXml("LastVersion=\"2.1\"", entries),
                                       QStringLiteral("linux"), false),
                         kCurrent, QStringLiteral("en"));
        QCOMPARE(offer.changeLog,
                 QStringLiteral("Ver: 2.1 (Build: 2026-11-02)\nfix A\nfix B\n\n\n"
                                "Ver: 2.0.100 (Build: 2026-11-02)\nnur deutsch\n\n\n"));
    }

    void downloadSources_data()
    {
        QTest::addColumn<int>("sources");
        QTest::addColumn<QList<int>>("perAttempt"); // source index of attempts 0, 1, ...
        QTest::addColumn<int>("limit");
        QTest::newRow("one source") << 1 << QList<int>{0, 0, -1} << 2;
        QTest::newRow("two sources") << 2 << QList<int>{0, 0, 1, 1, -1} << 4;
        QTest::newRow("three: the third is never tried")
            << 3 << QList<int>{0, 0, 1, 1, -1, -1} << 4;
        QTest::newRow("none") << 0 << QList<int>{-1} << 2;
    }
    void downloadSources()
    {
        QFETCH(int, sources);
        QFETCH(QList<int>, perAttempt);
        for (int attempt = 0; attempt < perAttempt.size(); ++attempt)
            QCOMPARE(DownloadSourceIndex(attempt, sources), perAttempt.at(attempt));
        QTEST(DownloadAttemptLimit(sources), "limit");
    }

    void progressScale_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum");
        const qint64 mib = 1024 * 1024;
        QTest::newRow("known length") << 5 * mib << 10 * mib << int(5 * mib) << int(10 * mib);
        QTest::newRow("no length: 20 MiB") << mib << qint64(-1) << int(mib) << int(20 * mib);
        QTest::newRow("reached: grows by 2 MiB")
            << 20 * mib << qint64(0) << int(20 * mib) << int(22 * mib);
        QTest::newRow("far past: grows past it")
            << 31 * mib << qint64(0) << int(31 * mib) << int(32 * mib);
        QTest::newRow("over 2 GiB")
            << 3 * 1024 * mib << 4 * 1024 * mib << int(3 * 256 * mib) << int(4 * 256 * mib);
    }
    void progressScale()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        const ProgressScale scale = ScaleProgress(received, total);
        QTEST(scale.value, "value");
        QTEST(scale.maximum, "maximum");
        QVERIFY(scale.value < scale.maximum || total > 0);
    }

    void onlyHttpsIsFetched_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("secure");
        QTest::newRow("https") << "https://example.org/a.xml" << true;
        QTest::newRow("http") << "http://example.org/a.xml" << false;
        QTest::newRow("HTTPS in capitals") << "HTTPS://example.org/a" << true;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("no host") << "https:///a" << false;
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
    }
    void onlyHttpsIsFetched()
    {
        QFETCH(QString, url);
        QTEST(IsSecureUrl(QUrl(url)), "secure");
    }

    void dailyCheck_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("due");
        QTest::newRow("today") << "12-07-2026" << false;
        QTest::newRow("yesterday") << "12-06-2026" << true;
        QTest::newRow("never") << "" << true;
        QTest::newRow("garbage") << "07/12/2026" << true;
    }
    void dailyCheck()
    {
        QFETCH(QString, stored);
        const QDate today(2026, 12, 7);
        QTEST(DailyCheckDue(stored, today), "due");
        QCOMPARE(DailyCheckStamp(today), QStringLiteral("12-07-2026"));
    }

    void installerMatchesOnlyNamedChecksums()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("update.run"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho hi\n");
        file.close();
        const QString md5 = FileMd5Upper(path);
        const QString sha = FileSha256Upper(path);
        QCOMPARE(md5.size(), 32);
        QVERIFY(InstallerMatches(path, {QString(), md5.toLower(), QString()}));
        QVERIFY(InstallerMatches(path, {QString(), md5, sha}));
        QVERIFY(InstallerMatches(path, {QString(), QString(), sha}));
        QVERIFY(!InstallerMatches(path, {QString(), QString(), QString()}));
        QVERIFY(!InstallerMatches(path, {QString(), md5, QString(64, QLatin1Char('0'))}));
        QVERIFY(!InstallerMatches(path, {QString(), QString(32, QLatin1Char('0')), QString()}));
        QVERIFY(!InstallerMatches(dir.filePath(QStringLiteral("missing")), {QString(), md5, {}}));
    }
};

QTEST_GUILESS_MAIN(TestUpdateLogic)
#include "test_updatelogic.moc"
