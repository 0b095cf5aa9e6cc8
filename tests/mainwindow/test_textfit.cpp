// No text is cut off in any shipped language: every label and button of the
// main window, empty and with rows, of the update dialogs, and every sentence
// the program shows in its message dialog fits the room it is given at
// scale 1. Prints the widest texts of each language against their widgets.
#include "app/appfolder.h"
#include "list/videolistwidget.h"
#include "mainwindow/languages.h"
#include "mainwindow/vcmainwidget.h"
#include "mainwindow/vctopwidget.h"
#include "media/probequeue.h"
#include "skin/scale.h"
#include "testsupport/testmedia.h"
#include "update/hadupdatewidget.h"
#include "update/noupdatewidget.h"
#include "widgets/mymessagedialog.h"
#include "widgets/mytempbutton.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QSet>

#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <algorithm>
#include <functional>

namespace {

struct Translated
{
    QString context;
    QString source;
    QString translation;
};

// Every message of one language's source file (a numerus message once per
// form).
QList<Translated> ReadTs(const QString& path)
{
    QList<Translated> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Translated current;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            current.source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation") ||
                 xml.name() == QLatin1String("numerusform")) {
            current.context = context;
            current.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            messages.append(current);
        }
    }
    return messages;
}

// English has no file of its own texts: its sources are the texts, read
// from another language's file.
QString TsPath(const QString& code)
{
    return qEnvironmentVariable("SPLICORA_SOURCE_DIR") +
           QStringLiteral("/translations/Lang_%1.ts")
               .arg(code == QLatin1String("EN") ? QStringLiteral("DE") : code);
}

// How wide a label's text is against the room it has; an empty text or a
// picture counts as fitting.
struct Fit
{
    int needed = 0;
    int room = 0;
    bool fits = true;
};

Fit FitOf(const QLabel* label)
{
    Fit fit;
    if (label->text().isEmpty() || label->pixmap().cacheKey() != 0)
        return fit;
    const QRect room = label->contentsRect();
    fit.room = room.width();
    if (label->wordWrap()) {
        const int height = label->heightForWidth(label->width());
        fit.needed = height;
        fit.room = label->height();
        fit.fits = height <= label->height();
        return fit;
    }
    const QFontMetrics metrics(label->font());
    const QSize text = metrics.size(0, label->text());
    fit.needed = text.width() + 2 * label->margin();
    // A line may sit lower than the box by a pixel of leading, not more.
    fit.fits = fit.needed <= fit.room && text.height() <= room.height() + 2;
    return fit;
}

} // namespace

class TestTextFit : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;

    // One row per shipped language.
    static void AddLanguageRows()
    {
        QTest::addColumn<QString>("code");
        for (const QString& code : Codes())
            QTest::newRow(qPrintable(code)) << code;
    }

    static QStringList Codes()
    {
        QStringList codes;
        for (const LanguageEntry& entry : ReadLanguageList(AppFolder()))
            codes << entry.code;
        return codes;
    }

    // Checks every visible label below `root`; `widest` collects, for the
    // language's own texts, the share of its room each one uses.
    static void checkLabels(QWidget* root, const QString& where, QStringList* faults,
                            QMap<QString, double>* widest, const QSet<QString>& translated = {})
    {
        for (QLabel* label : root->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(root) || label->size().isEmpty())
                continue;
            const Fit fit = FitOf(label);
            const QString name = where + QStringLiteral(" \"") + label->text() + QLatin1Char('"');
            // A label sized to its text may instead run out of its panel.
            const QWidget* parent = label->parentWidget();
            if (!fit.fits) {
                *faults << QStringLiteral("%1: needs %2 px, has %3 x %4")
                               .arg(name)
                               .arg(fit.needed)
                               .arg(label->contentsRect().width())
                               .arg(label->contentsRect().height());
            } else if (!fit.needed) {
                continue;
            } else if (!parent->rect().contains(label->geometry())) {
                *faults << QStringLiteral("%1: at %2,%3 %4 x %5 runs out of its %6 x %7 panel")
                               .arg(name)
                               .arg(label->x())
                               .arg(label->y())
                               .arg(label->width())
                               .arg(label->height())
                               .arg(parent->width())
                               .arg(parent->height());
            } else if (translated.contains(label->text())) {
                const double share = double(fit.needed) / fit.room;
                widest->insert(QStringLiteral("\"%1\" %2/%3 px")
                                   .arg(label->text())
                                   .arg(fit.needed)
                                   .arg(fit.room),
                               share);
            }
        }
    }

private slots:
    void initTestCase()
    {
        TestMedia::UseBuildAppFolder();
        QVERIFY(TestMedia::MakeClip(m_media.filePath(QStringLiteral("two tracks.mkv")), 2.0, 160,
                                    120, 25, true, 2));
        QVERIFY(TestMedia::MakeClip(m_media.filePath(QStringLiteral("b.mp4")), 1.0));
    }

    void mainWindowTextsFit_data() { AddLanguageRows(); }
    void mainWindowTextsFit()
    {
        QFETCH(QString, code);
        VCMainWidget window;
        QCOMPARE(ScaleFactor(), 1.0f);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.topBar()->SetLanguage(code);
        QCOMPARE(window.languageCode, code);

        // The widest figure is kept for the language's own texts, not for
        // file facts and times.
        QSet<QString> translated;
        for (const Translated& message : ReadTs(TsPath(code)))
            translated << (code == QLatin1String("EN") ? message.source : message.translation);

        QStringList faults;
        QMap<QString, double> widest;
        checkLabels(&window, QStringLiteral("empty list"), &faults, &widest, translated);
        // One row (a cut), then two (a join): the captions change with them.
        int rows = 0;
        for (const char* name : {"two tracks.mkv", "b.mp4"}) {
            window.AddMediaPaths({m_media.filePath(QString::fromLatin1(name))});
            ++rows;
            QTRY_COMPARE_WITH_TIMEOUT(window.mediaList()->itemCount(), rows, 30000);
            QTRY_VERIFY(!window.probeQueue()->isBusy());
            checkLabels(&window, QStringLiteral("%1 row(s)").arg(rows), &faults, &widest,
                        translated);
        }
        // The three that come closest to their edge.
        QList<QPair<double, QString>> ranked;
        for (auto it = widest.cbegin(); it != widest.cend(); ++it)
            ranked.append({it.value(), it.key()});
        std::sort(ranked.begin(), ranked.end(), std::greater<>());
        QStringList top;
        for (const auto& entry : ranked.mid(0, 3))
            top << entry.second;
        qInfo("%s widest: %s", qPrintable(code), qPrintable(top.join(QStringLiteral(", "))));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void messagesFitTheDialog_data() { AddLanguageRows(); }
    void messagesFitTheDialog()
    {
        QFETCH(QString, code);
        VCMainWidget window;
        window.topBar()->SetLanguage(code);
        const QList<Translated> messages = ReadTs(TsPath(code));
        QVERIFY(!messages.isEmpty());

        QStringList faults;
        int checked = 0;
        const QStringList dialogContexts{"LosslessJob", "Notices", "VCBottomWidget",
                                         "VCMainWidget"};
        for (const Translated& message : messages) {
            // Sentences, not captions: what ends up in a message dialog.
            if (!dialogContexts.contains(message.context) ||
                !message.source.contains(QLatin1Char(' ')) ||
                (message.context == QLatin1String("VCBottomWidget") &&
                 message.source.startsWith(QLatin1String("Start on"))))
                continue;
            // English shows its sources; an unfinished entry fails elsewhere.
            QString text = code == QLatin1String("EN") ? message.source : message.translation;
            if (text.isEmpty())
                continue;
            // A typical file name and folder where the program puts them.
            for (int i = 1; i <= 3; ++i) {
                text.replace(QStringLiteral("%") + QString::number(i),
                             i == 1 ? QStringLiteral("holiday clip 2024.mp4")
                                    : QStringLiteral("00:01:02.500"));
            }
            MyMessageDialog dialog(&window);
            dialog.setupMessage(text);
            dialog.setButtonCaptions(QCoreApplication::translate("VCBottomWidget", "OK"),
                                     QCoreApplication::translate("VCBottomWidget", "Open Folder"));
            QStringList dialogFaults;
            QMap<QString, double> unused;
            checkLabels(&dialog, message.source, &dialogFaults, &unused);
            faults << dialogFaults;
            ++checked;
        }
        QVERIFY(checked > 20);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void updateDialogsFit_data() { AddLanguageRows(); }
    void updateDialogsFit()
    {
        QFETCH(QString, code);
        VCMainWidget window;
        window.topBar()->SetLanguage(code);
        QMap<QString, QString> texts; // source -> what this language shows
        for (const Translated& message : ReadTs(TsPath(code))) {
            texts.insert(message.source,
                         code == QLatin1String("EN") ? message.source : message.translation);
        }

        QStringList faults;
        QMap<QString, double> unused;
        NoUpdateWidget* check = window.updateWindow();
        for (QWidget* part : std::initializer_list<QWidget*>{
                 check->resultLabel(), check->versionLabel(), check->closeButton()})
            part->show();
        // Every answer the check can give, in the label that shows it.
        for (const char* source :
             {"You already have the latest version, no need to update!",
              "Could not reach the update server. Please check your connection and try again.",
              "This copy of Splicora has no update site; it is updated with your system's "
              "packages."}) {
            QVERIFY2(texts.contains(QLatin1String(source)), source);
            check->resultLabel()->setText(texts.value(QLatin1String(source)));
            checkLabels(check, QStringLiteral("check"), &faults, &unused);
        }

        HadUpdateWidget offer;
        UpdateOffer newer;
        newer.available = true;
        newer.version = QStringLiteral("2.1");
        newer.changeLog = QStringLiteral("Ver: 2.1 (Build: 2026-12-01)\nFaster joins\n\n");
        offer.setupOffer(newer);
        offer.show();
        checkLabels(&offer, QStringLiteral("offer"), &faults, &unused);
        for (const char* source :
             {"New version detected, downloading...",
              "This update cannot be verified, so it is not installed automatically. Download it "
              "with the link below."}) {
            QVERIFY2(texts.contains(QLatin1String(source)), source);
            offer.headlineLabel()->setText(texts.value(QLatin1String(source)));
            checkLabels(&offer, QStringLiteral("offer"), &faults, &unused);
        }
        // The download page at its widest: a large file, almost done.
        offer.statusLabel()->show();
        offer.statusLabel()->setText(texts.value(QStringLiteral("Downloading Update")) +
                                     QStringLiteral("... 999.99 M / 1000.00 M"));
        checkLabels(&offer, QStringLiteral("download"), &faults, &unused);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

int main(int argc, char** argv)
{
    // A 1920 x 1080 screen at 96 dpi: the window comes out at scale 1, as on
    // the desktop the layouts were made for.
    QTemporaryDir config;
    const QString path = config.filePath(QStringLiteral("screen.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(R"({"screens": [{"name": "fit", "x": 0, "y": 0, "width": 1920, "height": 1080,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(path));
    QApplication app(argc, argv);
    TestTextFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_textfit.moc"
