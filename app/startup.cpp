#include "app/startup.h"

#include "app/appfolder.h"
#include "app/commandline.h"
#include "app/instancechannel.h"
#include "app/logfile.h"
#include "app/platform.h"
#include "app/settings.h"
#include "mainwindow/mainlayout.h"
#include "mainwindow/vcmainwidget.h"
#include "media/workfolder.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSettings>

#include <cstdio>
#include <memory>

int RunSplicora(int argc, char* argv[])
{
    // Before the toolkit: --version and --help must work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = ParseCommandLine(arguments, QDir::currentPath());
    if (!command.error.isEmpty()) {
        std::fprintf(stderr, "splicora: %s\n\n%s", qPrintable(command.error),
                     qPrintable(HelpText()));
        return 2;
    }
    if (command.showHelp) {
        std::fputs(qPrintable(HelpText()), stdout);
        return 0;
    }
    if (command.showVersion) {
        std::printf("%s\n", qPrintable(VersionText()));
        return 0;
    }

    Platform::PreferX11Platform();
    auto app = std::make_unique<QApplication>(argc, argv);

    SetAppFolder(QCoreApplication::applicationDirPath());
    Platform::ResetLibraryPaths(AppFolder());
    ApplyLatinFonts(AppFolder());

    // A second copy hands its files to the running one, which comes to the
    // front, and leaves: no window, no log line, and the running copy's log
    // stays as it is. The lock lives in the user's private folder, where
    // nobody else can plant one.
    Platform::SingleInstance instance;
    if (!instance.acquire()) {
        if (!InstanceChannel::sendToRunningCopy(command.files))
            std::fprintf(stderr, "splicora: Splicora is already running, but does not answer.\n");
        return 0;
    }

    RemovePreviousLogFile();
    auto settings = OpenSettings();
    if (settings->value(QStringLiteral("NoLogfile"), QStringLiteral("FALSE")).toString() !=
        QLatin1String("TRUE"))
        qInstallMessageHandler(LogMessageHandler);
    qDebug("Splicora %s started from %s", SPLICORA_VERSION, qUtf8Printable(AppFolder()));
    // Said only now: the folder and the lock are settled before the log can
    // take a line. The main window tells the user about the folder.
    if (!Platform::PrivateFolderProblem().isEmpty())
        qDebug("The private folder %s is not used: %s. This run keeps its files in %s",
               qUtf8Printable(Platform::PreferredPrivateFolder()),
               qUtf8Printable(Platform::PrivateFolderProblem()),
               qUtf8Printable(Platform::PrivateFolder()));
    if (!instance.problem().isEmpty())
        qDebug("%s", qUtf8Printable(instance.problem()));
    // A run that was killed during a job could not clean up after it.
    if (const int leftovers = RemoveLeftoverJobFolders())
        qDebug("removed %d job folders left by an earlier run", leftovers);

    int desktopWidth = 0;
    int usableHeight = 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        desktopWidth = screen->geometry().width();
        usableHeight = screen->geometry().height() - 20;
    }

    auto window = std::make_unique<VCMainWidget>();
    window->move(CenteredOnDesktop(desktopWidth, usableHeight, window->width(), window->height()));
    window->show();

    InstanceChannel channel;
    if (channel.listen()) {
        QObject::connect(&channel, &InstanceChannel::filesReceived, window.get(),
                         [&window](const QStringList& files) {
                             window->BringToFront();
                             window->AddMediaPaths(files);
                         });
    }
    // As a drop would: in order, refused ones named in one notice.
    if (!command.files.isEmpty())
        window->AddMediaPaths(command.files);
    const int result = app->exec();

    window.reset();
    settings.reset();
    app.reset();
    return result;
}
