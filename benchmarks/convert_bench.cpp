// Runs one job through the main window as a user does: the files are added,
// every row is trimmed to [start, end], the start button is pressed. Prints
// the wall time from the press to the report, the result path, and for a
// re-encoding job the media tool command the engine ran.
// Usage: convert_bench <application folder> <output folder> <start s> <end s>
//        <format row (1-based)> <files...>
#include "app/appfolder.h"
#include "convert/vcbottomwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "media/probequeue.h"
#include "widgets/mymessagedialog.h"
#include "widgets/mypushbutton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

namespace {
QString g_engineCommand;

QElapsedTimer g_since;

void KeepEngineCommand(QtMsgType, const QMessageLogContext&, const QString& message)
{
    // SPLICORA_BENCH_TRACE=1 shows where the time goes.
    static const bool trace = qEnvironmentVariableIsSet("SPLICORA_BENCH_TRACE");
    if (trace)
        std::fprintf(stderr, "%6lld %s\n", static_cast<long long>(g_since.elapsed()),
                     qUtf8Printable(message.left(160)));
    if (message.startsWith(QLatin1String("engine: ")) &&
        message.contains(QLatin1String(" -filter_complex ")))
        g_engineCommand = message.mid(8).trimmed();
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 7) {
        std::fprintf(stderr, "usage: convert_bench APP OUT START END FORMATROW FILES...\n");
        return 2;
    }
    SetAppFolder(args.at(1));
    qInstallMessageHandler(KeepEngineCommand);
    const qint64 start = qint64(args.at(3).toDouble() * 1e6);
    const qint64 end = qint64(args.at(4).toDouble() * 1e6);
    const int formatRow = args.at(5).toInt() - 1;
    const QStringList files = args.mid(6);

    VCMainWidget window;
    window.show();
    window.bottomBar()->setOutputFolder(args.at(2));
    window.AddMediaPaths(files);
    while (window.probeQueue()->isBusy() || window.mediaList()->itemCount() < files.size())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const QList<VideoItemWidget*> rows = window.mediaList()->itemsInUse();
    for (VideoItemWidget* row : rows) {
        row->cutStart = start;
        row->cutEnd = qMin(end, row->mediaInfo.duration);
        row->UpdateCutInfo();
    }
    if (formatRow > 0 && formatRow < rows.size())
        rows.at(formatRow)->defaultoutputformatBtn_slots();
    // A user looks at the rows before pressing start; the preview of the
    // selected row has started by then.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

    QElapsedTimer clock;
    qint64 elapsed = -1;
    g_since.start();
    bool succeeded = false;
    QObject::connect(window.bottomBar(), &VCBottomWidget::jobFinished, &app, [&](bool ok) {
        elapsed = clock.elapsed();
        succeeded = ok;
        // The report dialog opens next; close it and leave.
        QTimer::singleShot(0, &app, [&app] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
            app.quit();
        });
    });
    clock.start();
    window.bottomBar()->convertAllButton_slots();
    if (elapsed < 0)
        app.exec();
    std::printf("ms %lld\nok %d\nresult %s\nengine %s\n", static_cast<long long>(elapsed),
                succeeded ? 1 : 0, qUtf8Printable(window.bottomBar()->outputFile()),
                qUtf8Printable(g_engineCommand));
    return succeeded ? 0 : 1;
}
