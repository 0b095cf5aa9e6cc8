// The language list, the stored choice, the translators and the help pages:
// what a user sees in the Language menu, which language a start picks, and
// which page a help entry opens.
#include "mainwindow/helplinks.h"
#include "mainwindow/languages.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString AppDir()
{
    return qEnvironmentVariable("SPLICORA_APP_DIR");
}

QString Join(const QList<LanguageEntry>& entries)
{
    QStringList parts;
    for (const LanguageEntry& entry : entries)
        parts << entry.code + QLatin1Char('=') + entry.name;
    return parts.join(QLatin1Char('|'));
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray TestQm(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A text every language translates, read through the installed translators.
QString AddFilesText()
{
    return QCoreApplication::translate("VCTopWidget", "Add Files");
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { InstallLanguage(AppDir(), QStringLiteral("EN")); }

    void parseList_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("entries");

        QTest::newRow("stops at the first empty line")
            << QByteArray("EN=English\nFR=Fran\xc3\xa7"
                          "ais\n\nDE=Deutsch\n")
            << QStringLiteral("EN=English|FR=Fran\u00e7ais");
        QTest::newRow("line without = is skipped, the rest read")
            << QByteArray("EN=English\nbroken\nDE=Deutsch") << "EN=English|DE=Deutsch";
        QTest::newRow("blank-looking line is skipped")
            << QByteArray("EN=English\n   \nDE=Deutsch") << "EN=English|DE=Deutsch";
        QTest::newRow("trimmed, Windows line ends, no final break")
            << QByteArray("  EN=English  \r\nES=Espa\xc3\xb1ol")
            << QStringLiteral("EN=English|ES=Espa\u00f1ol");
        QTest::newRow("only the first two pieces")
            << QByteArray("ZH=\xe7\xae\x80\xe4\xbd\x93=extra\n")
            << QStringLiteral("ZH=\u7b80\u4f53");
        QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf"
                                                       "EN=English")
                                         << "EN=English";
        QTest::newRow("no code") << QByteArray("=Nameless\nEN=English") << "EN=English";
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("not text at all") << QByteArray("\x00\xff\xfe=\x01\n", 6) << QString();
    }
    void parseList()
    {
        QFETCH(QByteArray, file);
        QBuffer buffer(&file);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QTEST(Join(ParseLanguageList(&buffer)), "entries");
    }

    void longLineIsReadInPieces()
    {
        // A line is read up to 512 characters; what follows is read as the
        // next line, so an overlong name cannot grow without bound.
        QByteArray file = "EN=" + QByteArray(600, 'x') + "\nDE=Deutsch\n";
        QBuffer buffer(&file);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const QList<LanguageEntry> entries = ParseLanguageList(&buffer);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).name.size(), 509);
        QCOMPARE(entries.at(1).code, QStringLiteral("DE"));
    }

    void missingOrEmptyListGivesEnglishAlone()
    {
        QTemporaryDir dir;
        QCOMPARE(Join(ReadLanguageList(dir.path())), QStringLiteral("EN=English"));
        QVERIFY(WriteFile(LanguageListPath(dir.path()), "no languages here\n"));
        QCOMPARE(Join(ReadLanguageList(dir.path())), QStringLiteral("EN=English"));
    }

    void shippedListNamesEveryShippedLanguage()
    {
        const QList<LanguageEntry> entries = ReadLanguageList(AppDir());
        QStringList codes;
        for (const LanguageEntry& entry : entries) {
            codes << entry.code;
            QVERIFY2(QFileInfo(LanguageFilePath(AppDir(), entry.code)).isFile(),
                     qPrintable(entry.code));
        }
        QCOMPARE(codes, (QStringList{"EN", "DE", "FR", "ES", "ZH"}));
    }

    void storedValue_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("lower case") << "fr"
                                    << "FR"
                                    << "DE";
        QTest::newRow("empty") << ""
                               << ""
                               << "DE";
        QTest::newRow("longer value keeps its tail") << "frXY"
                                                     << "FR"
                                                     << "DEXY";
        QTest::newRow("one character") << "e"
                                       << "E"
                                       << "DE";
    }
    void storedValue()
    {
        QFETCH(QString, stored);
        QTEST(CodeOfStoredLanguage(stored), "code");
        QTEST(StoredLanguageWithCode(stored, QStringLiteral("DE")), "storedAfter");
    }

    void cjkFontByScript_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("cjk");
        QTest::newRow("English") << "EN" << false;
        QTest::newRow("German") << "DE" << false;
        QTest::newRow("French") << "FR" << false;
        QTest::newRow("Spanish") << "ES" << false;
        QTest::newRow("Chinese") << "ZH" << true;
        QTest::newRow("Chinese, lower case") << "zh" << true;
        QTest::newRow("Japanese") << "JA" << true;
    }
    void cjkFontByScript()
    {
        QFETCH(QString, code);
        QTEST(NeedsCjkFont(code), "cjk");
    }

    void installSwitchesOurTextsAndTheToolkits_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("toolkitCancel");
        // The standard buttons' caption, from the toolkit's own translation.
        QTest::newRow("DE") << "DE"
                            << "Abbrechen";
        QTest::newRow("FR") << "FR"
                            << "Annuler";
        QTest::newRow("ES") << "ES"
                            << "Cancelar";
        QTest::newRow("ZH") << "ZH" << QStringLiteral("\u53d6\u6d88");
    }
    void installSwitchesOurTextsAndTheToolkits()
    {
        QFETCH(QString, code);
        QFETCH(QString, toolkitCancel);
        QCOMPARE(InstallLanguage(AppDir(), code), code);
        QVERIFY(AddFilesText() != QLatin1String("Add Files"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), toolkitCancel);

        // Back to English: neither our texts nor the toolkit's stay behind.
        QCOMPARE(InstallLanguage(AppDir(), QStringLiteral("EN")), QStringLiteral("EN"));
        QCOMPARE(AddFilesText(), QStringLiteral("Add Files"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }

    void missingOrDamagedFileFallsBackToEnglish()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Lang/Kelvane"))));
        for (const QString& code : {QStringLiteral("EN"), QStringLiteral("DE")})
            QVERIFY(
                QFile::copy(LanguageFilePath(AppDir(), code), LanguageFilePath(dir.path(), code)));
        QCOMPARE(InstallLanguage(dir.path(), QStringLiteral("DE")), QStringLiteral("DE"));

        // Deleted while the program runs.
        QVERIFY(QFile::remove(LanguageFilePath(dir.path(), QStringLiteral("DE"))));
        QCOMPARE(InstallLanguage(dir.path(), QStringLiteral("DE")), QStringLiteral("EN"));
        QCOMPARE(AddFilesText(), QStringLiteral("Add Files"));

        // Present but not a translation: English, and said so.
        QVERIFY(WriteFile(LanguageFilePath(dir.path(), QStringLiteral("DE")), "not a qm file"));
        QCOMPARE(InstallLanguage(dir.path(), QStringLiteral("DE")), QStringLiteral("EN"));
        QCOMPARE(AddFilesText(), QStringLiteral("Add Files"));

        // Not in the list at all, or not a plain code.
        QCOMPARE(InstallLanguage(dir.path(), QStringLiteral("XX")), QStringLiteral("EN"));
        QVERIFY(WriteFile(dir.filePath(QStringLiteral("Lang/x.qm")),
                          TestQm(LanguageFilePath(AppDir(), QStringLiteral("DE")))));
        QCOMPARE(InstallLanguage(dir.path(), QStringLiteral("/../x")), QStringLiteral("EN"));
    }

    void helpPages_data()
    {
        QTest::addColumn<int>("link");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("page");
        const int home = int(HelpLink::Homepage);
        QTest::newRow("homepage, German") << home << "DE"
                                          << "help/DE/index.html";
        QTest::newRow("code in lower case") << home << "de"
                                            << "help/DE/index.html";
        QTest::newRow("no page in that language") << home << "FR"
                                                  << "help/EN/index.html";
        QTest::newRow("no language yet") << home << ""
                                         << "help/EN/index.html";
        QTest::newRow("a code that climbs out") << home << ".."
                                                << "help/EN/index.html";
        QTest::newRow("how to cut") << int(HelpLink::HowToCut) << "DE"
                                    << "help/DE/cut.html";
        QTest::newRow("how to join") << int(HelpLink::HowToJoin) << "DE"
                                     << "help/DE/join.html";
        QTest::newRow("support") << int(HelpLink::Support) << "DE"
                                 << "help/DE/support.html";
        QTest::newRow("feedback") << int(HelpLink::Feedback) << "EN"
                                  << "help/EN/support.html";
    }
    void helpPages()
    {
        QFETCH(int, link);
        QFETCH(QString, code);
        QFETCH(QString, page);
        QTemporaryDir dir;
        for (const char* name : {"index", "cut", "join", "support"}) {
            QVERIFY(WriteFile(dir.filePath(QStringLiteral("help/EN/%1.html").arg(name)), "<p>"));
            QVERIFY(WriteFile(dir.filePath(QStringLiteral("help/DE/%1.html").arg(name)), "<p>"));
        }
        // A file named like the page one level up must not be taken.
        QVERIFY(WriteFile(dir.filePath(QStringLiteral("index.html")), "<p>"));
        const QUrl url = HelpLinkUrl(static_cast<HelpLink>(link), dir.path(), code);
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), dir.filePath(page));
    }

    void shippedHelpPagesExistInEveryLanguage()
    {
        for (const LanguageEntry& entry : ReadLanguageList(AppDir())) {
            for (const HelpLink link :
                 {HelpLink::Homepage, HelpLink::HowToCut, HelpLink::HowToJoin, HelpLink::Support}) {
                const QUrl url = HelpLinkUrl(link, AppDir(), entry.code);
                QVERIFY2(url.toLocalFile().contains(QStringLiteral("/help/") + entry.code + '/'),
                         qPrintable(url.toString()));
                QFile page(url.toLocalFile());
                QVERIFY(page.open(QIODevice::ReadOnly));
                const QByteArray html = page.readAll();
                QVERIFY2(html.contains("<title>") && html.contains("<h1"),
                         qPrintable(url.toString()));
                QVERIFY2(html.contains("lang=\""), qPrintable(url.toString()));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestLanguages)
#include "test_languages.moc"
