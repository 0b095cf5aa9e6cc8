// Adds the files named on the command line through the main window, as the
// "Add Files" command does, and prints the wall time from the call to the
// last row shown and the longest gap between 10 ms timer ticks meanwhile.
// Usage: list_bench <application folder> <files at a time> <files...>
#include "app/appfolder.h"
#include "app/logfile.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "media/probequeue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList files = app.arguments().mid(3);
    SetAppFolder(app.arguments().value(1));
    RemovePreviousLogFile();
    qInstallMessageHandler(LogMessageHandler);

    VCMainWidget window;
    // The same parallelism as the shell's runs it is compared with.
    window.probeQueue()->setMaxParallel(std::max(1, app.arguments().value(2).toInt()));
    window.show();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    QElapsedTimer tick;
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, &app, [&] {
        longestGap = qMax(longestGap, tick.restart());
        if (window.mediaList()->itemCount() == files.size())
            app.quit();
    });
    clock.start();
    tick.start();
    ticker.start(10);
    window.AddMediaPaths(files);
    app.exec();
    std::printf("%lld %lld %d\n", static_cast<long long>(clock.elapsed()),
                static_cast<long long>(longestGap), window.mediaList()->itemCount());
    return 0;
}
