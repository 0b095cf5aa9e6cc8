#include "app/startup.h"

#include "app/appfolder.h"
#include "app/logfile.h"
#include "app/platform.h"
#include "app/settings.h"
#include "mainwindow/mainlayout.h"
#include "mainwindow/vcmainwidget.h"

#include <QApplication>
#include <QScreen>
#include <QSettings>
#include <memory>

int RunSplicora(int argc, char* argv[])
{
    Platform::PreferX11Platform();
    auto app = std::make_unique<QApplication>(argc, argv);

    SetAppFolder(QCoreApplication::applicationDirPath());
    Platform::ResetLibraryPaths(AppFolder());
    ApplyLatinFonts(AppFolder());

    // A second copy leaves at once and silently: no window, no log line,
    // and the running copy's log stays as it is.
    Platform::SingleInstance instance;
    if (!instance.acquire())
        return 0;

    RemovePreviousLogFile();
    auto settings = OpenSettings();
    if (settings->value(QStringLiteral("NoLogfile"), QStringLiteral("FALSE")).toString() !=
        QLatin1String("TRUE"))
        qInstallMessageHandler(LogMessageHandler);
    qDebug("Splicora %s started from %s", SPLICORA_VERSION, qUtf8Printable(AppFolder()));

    int desktopWidth = 0;
    int usableHeight = 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        desktopWidth = screen->geometry().width();
        usableHeight = screen->geometry().height() - 20;
    }

    auto window = std::make_unique<VCMainWidget>();
    window->move(CenteredOnDesktop(desktopWidth, usableHeight, window->width(), window->height()));
    window->show();
    const int result = app->exec();

    window.reset();
    settings.reset();
    app.reset();
    return result;
}
