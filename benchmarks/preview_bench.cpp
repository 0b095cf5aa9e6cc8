// Selecting a row in the main window until the player's first position line
// for a loaded file, and the peak memory of the program and of the player
// after a few seconds of preview. Needs an X display.
// Usage: preview_bench <application folder> <rounds> <file A> <file B>
#include "app/appfolder.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "media/probequeue.h"
#include "player/cmyplayer.h"
#include "player/videoplayerwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <cstdio>

namespace {
void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// Peak resident memory in KiB of a process ("self" or a pid).
long PeakKib(const QString& process)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression peak(QStringLiteral("VmHWM:\\s*(\\d+)"));
    const QRegularExpressionMatch match = peak.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLong() : -1;
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: preview_bench APP ROUNDS FILE_A FILE_B\n");
        return 2;
    }
    SetAppFolder(args.at(1));
    qInstallMessageHandler(Quiet);
    const int rounds = args.at(2).toInt();

    VCMainWidget window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.AddMediaPaths(args.mid(3, 2));
    while (window.probeQueue()->isBusy() || window.mediaList()->itemCount() < 2)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const QList<VideoItemWidget*> rows = window.mediaList()->itemsInUse();
    CMyPlayer* player = window.playerPanel()->player();

    for (int r = 0; r < rounds; ++r) {
        VideoItemWidget* row = rows.at(r % 2);
        bool loaded = false;
        QElapsedTimer clock;
        const auto connection = QObject::connect(player, &CMyPlayer::update_duration, &app,
                                                 [&](int64_t, int64_t duration) {
                                                     if (duration > 0)
                                                         loaded = true;
                                                 });
        clock.start();
        QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(5, 5));
        while (!loaded && clock.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        std::printf("select %lld\n", static_cast<long long>(loaded ? clock.elapsed() : -1));
        QObject::disconnect(connection);
        QTest::qWait(300);
    }
    QTest::qWait(3000);
    std::printf("program_kib %ld\nplayer_kib %ld\n", PeakKib(QStringLiteral("self")),
                PeakKib(QString::number(player->processId())));
    return 0;
}
