// Probes the files named on the command line through AddMediaFile, the way
// the program does, and prints the wall time in milliseconds.
#include "app/appfolder.h"
#include "app/logfile.h"
#include "media/addmedia.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList files = app.arguments().mid(2);
    SetAppFolder(app.arguments().value(1));
    // Logged as in the program: every report is written to the log file.
    RemovePreviousLogFile();
    qInstallMessageHandler(LogMessageHandler);
    int added = 0;
    SetMediaSink([&added](const ProbeResult&) { ++added; });
    QElapsedTimer clock;
    clock.start();
    for (const QString& file : files)
        AddMediaFile(file);
    const qint64 elapsed = clock.elapsed();
    std::printf("%lld %d\n", static_cast<long long>(elapsed), added);
    return added == files.size() ? 0 : 1;
}
