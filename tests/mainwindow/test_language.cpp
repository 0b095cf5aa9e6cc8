// The main menu and the language switch as a user meets them: the entries and
// languages offered, the whole window (rows included) speaking the chosen
// language at once and at the next start, the fallbacks to English, and the
// help pages each entry opens.
#include "app/appfolder.h"
#include "app/settings.h"
#include "convert/vcbottomwidget.h"
#include "list/listnoitemwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "mainwindow/vctopwidget.h"
#include "media/probequeue.h"
#include "player/videoplayerwidget.h"
#include "skin/scale.h"
#include "testsupport/testmedia.h"
#include "testsupport/urlcatcher.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

QString Tr(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text);
}

QStringList ActionTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    return texts;
}

QStringList LabelTexts(const QWidget* root)
{
    QStringList texts;
    for (const QLabel* label : root->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

// Copies the language files (and nothing else) of the build's application
// folder, so a test can change them without touching the build.
bool CopyLanguages(const QString& to)
{
    const QDir from(qEnvironmentVariable("SPLICORA_APP_DIR") + QStringLiteral("/Lang/Kelvane"));
    if (!QDir().mkpath(to + QStringLiteral("/Lang/Kelvane")))
        return false;
    for (const QString& name : from.entryList(QDir::Files)) {
        if (!QFile::copy(from.filePath(name), to + QStringLiteral("/Lang/Kelvane/") + name))
            return false;
    }
    return true;
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    std::unique_ptr<VCMainWidget> m_window;

    VCTopWidget* topBar() const { return m_window->topBar(); }
    void newWindow()
    {
        m_window.reset();
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
    }
    QAction* languageAction(const QString& name) const
    {
        for (QAction* action : topBar()->languageMenu()->actions()) {
            if (action->text() == name)
                return action;
        }
        return nullptr;
    }
    void choose(const QString& name)
    {
        QAction* action = languageAction(name);
        QVERIFY2(action, qPrintable(name));
        action->trigger();
    }

private slots:
    void initTestCase()
    {
        TestMedia::UseBuildAppFolder();
        // Two sound tracks, so the row offers a track choice to keep.
        QVERIFY(TestMedia::MakeClip(m_media.filePath(QStringLiteral("two tracks.mkv")), 2.0, 160,
                                    120, 25, true, 2));
    }

    void init()
    {
        TestMedia::UseBuildAppFolder();
        WriteSetting(QStringLiteral("Language"), QString());
        newWindow();
    }

    void cleanup()
    {
        m_window.reset();
        TestMedia::UseBuildAppFolder();
    }

    void menuOffersTheEntriesAndLanguagesInOrder()
    {
        QCOMPARE(ActionTexts(topBar()->mainMenu()),
                 (QStringList{QStringLiteral("Save List\u2026"), QStringLiteral("Open List\u2026"),
                              "", "Homepage", "How to cut video", "How to join videos", "Support",
                              "Update", "Language"}));
        QVERIFY(topBar()->mainMenu()->actions().at(2)->isSeparator());
        QCOMPARE(topBar()->mainMenu()->actions().last()->menu(), topBar()->languageMenu());
        QCOMPARE(ActionTexts(topBar()->languageMenu()),
                 (QStringList{"English", "Deutsch", QStringLiteral("Fran\u00e7ais"),
                              QStringLiteral("Espa\u00f1ol"),
                              QStringLiteral("\u7b80\u4f53\u4e2d\u6587")}));
        QCOMPARE(m_window->languageCode, QStringLiteral("EN"));
        QVERIFY(languageAction(QStringLiteral("English"))->isChecked());
    }

    void menuOpensBelowItsButton()
    {
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QMenu* menu = topBar()->mainMenu();
        QPoint shownAt;
        QTimer::singleShot(0, menu, [&] {
            shownAt = menu->pos();
            menu->close();
        });
        QTest::mouseClick(topBar()->menuButton(), Qt::LeftButton);
        const MyPushButton* button = topBar()->menuButton();
        QCOMPARE(shownAt.y(), button->mapToGlobal(QPoint(0, button->height())).y());
        // Asked for at the bar's right end; the screen's edge may push it in.
        QCOMPARE(topBar()->menuPosition().x(), m_window->x() + topBar()->width() - Scaled(120));
    }

    void choosingALanguageSwitchesTheWholeWindow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::newRow("German") << "Deutsch"
                                << "DE";
        QTest::newRow("French") << QStringLiteral("Fran\u00e7ais") << "FR";
        QTest::newRow("Spanish") << QStringLiteral("Espa\u00f1ol") << "ES";
        QTest::newRow("Chinese") << QStringLiteral("\u7b80\u4f53\u4e2d\u6587") << "ZH";
    }
    void choosingALanguageSwitchesTheWholeWindow()
    {
        QFETCH(QString, name);
        QFETCH(QString, code);
        m_window->AddMediaPaths({m_media.filePath(QStringLiteral("two tracks.mkv"))});
        QTRY_COMPARE_WITH_TIMEOUT(m_window->mediaList()->itemCount(), 1, 30000);
        QTRY_VERIFY(!m_window->probeQueue()->isBusy());
        VideoItemWidget* row = m_window->mediaList()->itemsInUse().first();
        auto* tracks = row->findChild<QComboBox*>();
        QVERIFY(tracks);
        QCOMPARE(tracks->count(), 2);
        tracks->setCurrentIndex(1);
        QCOMPARE(row->audioTrackIndex, 1);

        choose(name);

        QCOMPARE(m_window->languageCode, code);
        QCOMPARE(ReadSetting(QStringLiteral("Language")), code);
        QVERIFY(languageAction(name)->isChecked());
        QVERIFY(!languageAction(QStringLiteral("English"))->isChecked());
        const QString addFiles = Tr("VCTopWidget", "Add Files");
        QVERIFY(addFiles != QLatin1String("Add Files"));
        QCOMPARE(topBar()->addButton()->text(), addFiles);
        QCOMPARE(topBar()->languageMenu()->title(), Tr("VCTopWidget", "Language"));
        QCOMPARE(ActionTexts(topBar()->mainMenu()).at(3), Tr("VCTopWidget", "Homepage"));
        QVERIFY(LabelTexts(m_window->mediaList())
                    .contains(Tr("ListNoItemWidget", "Drag and drop files to start")));
        QCOMPARE(m_window->bottomBar()->startButton()->text(), Tr("VCBottomWidget", "Cut"));
        QVERIFY(LabelTexts(m_window->playerPanel()).contains(Tr("VideoPlayerWidget", "Start:")));
        // The row already listed speaks the language too and keeps its track.
        QVERIFY(LabelTexts(row).contains(Tr("VideoItemWidget", "Duration:")));
        QVERIFY(tracks->itemText(1).startsWith(Tr("VideoItemWidget", "Track") + " 2"));
        QCOMPARE(tracks->currentIndex(), 1);
        QCOMPARE(row->audioTrackIndex, 1);
        // Chinese needs the CJK font; the others keep the Latin one.
        const QString family = QApplication::font().family();
        QVERIFY2(family.contains(QLatin1String("Lato")) != (code == QLatin1String("ZH")),
                 qPrintable(family));

        // The next start speaks it from the first moment.
        newWindow();
        QCOMPARE(m_window->languageCode, code);
        QCOMPARE(topBar()->addButton()->text(), addFiles);

        choose(QStringLiteral("English"));
        QCOMPARE(topBar()->addButton()->text(), QStringLiteral("Add Files"));
        QVERIFY(QApplication::font().family().contains(QLatin1String("Lato")));
        QCOMPARE(ReadSetting(QStringLiteral("Language")), QStringLiteral("EN"));
    }

    void storedValueIsApplied_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("lower case") << "fr"
                                    << "FR"
                                    << "FR";
        QTest::newRow("longer value keeps its tail") << "deXY"
                                                     << "DE"
                                                     << "DEXY";
        QTest::newRow("no such language") << "xx"
                                          << "EN"
                                          << "EN";
    }
    void storedValueIsApplied()
    {
        QFETCH(QString, stored);
        QFETCH(QString, code);
        WriteSetting(QStringLiteral("Language"), stored);
        newWindow();
        QCOMPARE(m_window->languageCode, code);
        QTEST(ReadSetting(QStringLiteral("Language")), "storedAfter");
        QCOMPARE(topBar()->clearButton()->text(), Tr("VCTopWidget", "Clear All"));
        QCOMPARE(code == QLatin1String("EN"),
                 topBar()->clearButton()->text() == QLatin1String("Clear All"));
    }

    void languageFileDeletedAfterStartGivesEnglish()
    {
        QTemporaryDir folder;
        QVERIFY(CopyLanguages(folder.path()));
        SetAppFolder(folder.path());
        newWindow();
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("Lang/Kelvane/Lang_DE.qm"))));
        choose(QStringLiteral("Deutsch"));
        QCOMPARE(m_window->languageCode, QStringLiteral("EN"));
        QCOMPARE(ReadSetting(QStringLiteral("Language")), QStringLiteral("EN"));
        QCOMPARE(topBar()->addButton()->text(), QStringLiteral("Add Files"));
        QVERIFY(languageAction(QStringLiteral("English"))->isChecked());
    }

    void languageList_data()
    {
        QTest::addColumn<QByteArray>("list"); // empty: no list file
        QTest::addColumn<QStringList>("names");
        QTest::newRow("missing") << QByteArray() << QStringList{"English"};
        QTest::newRow("line without =") << QByteArray("EN=English\nnonsense\nDE=Deutsch\n")
                                        << QStringList{"English", "Deutsch"};
        QTest::newRow("two languages, one name")
            << QByteArray("EN=English\nDE=Deutsch\nFR=Deutsch\n")
            << QStringList{"English", "Deutsch", "Deutsch"};
    }
    void languageList()
    {
        QFETCH(QByteArray, list);
        QFETCH(QStringList, names);
        QTemporaryDir folder;
        QVERIFY(CopyLanguages(folder.path()));
        const QString listPath = folder.filePath(QStringLiteral("Lang/Kelvane/Lang_config"));
        QVERIFY(QFile::remove(listPath));
        if (!list.isEmpty()) {
            QFile file(listPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(list);
        }
        SetAppFolder(folder.path());
        newWindow();
        QCOMPARE(ActionTexts(topBar()->languageMenu()), names);
        QCOMPARE(m_window->languageCode, QStringLiteral("EN"));
        // The action is found by its code, not by its name: the second of two
        // entries named alike is French.
        if (names.size() == 3) {
            topBar()->languageMenu()->actions().at(2)->trigger();
            QCOMPARE(m_window->languageCode, QStringLiteral("FR"));
        }
    }

    void entriesOpenThePageOfTheLanguage_data()
    {
        QTest::addColumn<QString>("entry"); // a menu entry, or "feedback"
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("page");
        QTest::newRow("homepage, English") << "Homepage"
                                           << "English"
                                           << "help/EN/index.html";
        QTest::newRow("how to cut, German") << "How to cut video"
                                            << "Deutsch"
                                            << "help/DE/cut.html";
        QTest::newRow("how to join, German") << "How to join videos"
                                             << "Deutsch"
                                             << "help/DE/join.html";
        QTest::newRow("support, German") << "Support"
                                         << "Deutsch"
                                         << "help/DE/support.html";
        QTest::newRow("feedback, German") << "feedback"
                                          << "Deutsch"
                                          << "help/DE/support.html";
        QTest::newRow("no French page: English")
            << "How to cut video" << QStringLiteral("Fran\u00e7ais") << "help/EN/cut.html";
    }
    void entriesOpenThePageOfTheLanguage()
    {
        QFETCH(QString, entry);
        QFETCH(QString, language);
        QFETCH(QString, page);
        QTemporaryDir folder;
        QVERIFY(CopyLanguages(folder.path()));
        for (const QString& code : {QStringLiteral("EN"), QStringLiteral("DE")}) {
            QVERIFY(QDir().mkpath(folder.filePath("help/" + code)));
            for (const char* name : {"index", "cut", "join", "support"}) {
                QFile file(folder.filePath(QStringLiteral("help/%1/%2.html").arg(code, name)));
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        }
        SetAppFolder(folder.path());
        newWindow();

        // The entry is looked up before the switch, by its English text.
        const int index = ActionTexts(topBar()->mainMenu()).indexOf(entry);
        QVERIFY(entry == QLatin1String("feedback") || index >= 0);
        choose(language);

        UrlCatcher catcher;
        if (index >= 0)
            topBar()->mainMenu()->actions().at(index)->trigger();
        else
            QTest::mouseClick(topBar()->feedbackButton(), Qt::LeftButton);

        QCOMPARE(catcher.opened.size(), 1);
        QCOMPARE(catcher.opened.first(), QUrl::fromLocalFile(folder.filePath(page)));
    }
};

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
