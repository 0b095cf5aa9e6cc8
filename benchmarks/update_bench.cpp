// Figures of the update check, against a local HTTPS server:
//  1. from building the main window to the automatic check's request
//     (the design asks for 4.8 s);
//  2. from a manual check's start to its "Could not reach" answer when the
//     server accepts the request and never answers;
//  3. an installer's download, checksum and start through the update dialog,
//     against curl fetching the same file and the same checksum computed,
//     in interleaved rounds.
// Every round checks its own outcome and the benchmark fails loudly on a
// wrong one. Usage (see update_bench.sh): update_bench APPFOLDER [rounds]
#include "app/appfolder.h"
#include "app/settings.h"
#include "mainwindow/vcmainwidget.h"
#include "media/workfolder.h"
#include "testsupport/updateserver.h"
#include "update/hadupdatewidget.h"
#include "update/noupdatewidget.h"
#include "update/updatelogic.h"
#include "update/updatenetwork.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kManifestPath = QStringLiteral("/upgrade/klemvasti_check_update.xml");

[[noreturn]] void Fail(const QString& why)
{
    std::fprintf(stderr, "update_bench: FAILED: %s\n", qPrintable(why));
    std::exit(1);
}

// Runs the event loop until `done` holds or `timeoutMs` passes.
template <typename Done> bool WaitFor(Done done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

QString Figures(QList<double> values, const char* unit)
{
    std::sort(values.begin(), values.end());
    const double median =
        values.size() % 2 ? values.at(values.size() / 2)
                          : (values.at(values.size() / 2 - 1) + values.at(values.size() / 2)) / 2;
    return QStringLiteral("median %1 %4 [%2-%3]")
        .arg(median, 0, 'f', 1)
        .arg(values.first(), 0, 'f', 1)
        .arg(values.last(), 0, 'f', 1)
        .arg(QLatin1String(unit));
}

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.size() % 2
               ? values.at(values.size() / 2)
               : (values.at(values.size() / 2 - 1) + values.at(values.size() / 2)) / 2;
}

QByteArray Md5(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray();
    return hash.result().toHex();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        Fail(QStringLiteral("usage: update_bench APPFOLDER [rounds]"));
    SetAppFolder(QString::fromLocal8Bit(argv[1]));
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QTemporaryDir work;

    const QList<QSslCertificate> authority = UpdateTestServer::caCertificates();
    if (authority.isEmpty())
        Fail(QStringLiteral("no test certificates (is openssl installed?)"));
    TrustCertificatesForTest(authority);
    UpdateTestServer server;
    if (!server.start())
        Fail(server.errorString());
    SetManifestAddressesForTest({server.baseUrl() + kManifestPath});

    // 1. The automatic check's delay.
    UpdateTestServer::Route upToDate;
    upToDate.body = "<Update><Platform Name=\"" + UpdatePlatformName().toUtf8() +
                    "\" LastVersion=\"2.0.54\"><Version Ver=\"2.0.54\" Lang=\"en\"/></Platform>"
                    "</Update>";
    server.setRoute(kManifestPath, upToDate);
    QList<double> delays;
    for (int r = 0; r < rounds; ++r) {
        WriteSetting(QStringLiteral("ckfirstCheckUpdate"), QString());
        const int before = server.requestCount(kManifestPath);
        QElapsedTimer clock;
        clock.start();
        auto window = std::make_unique<VCMainWidget>();
        window->show();
        if (!WaitFor([&] { return server.requestCount(kManifestPath) > before; }, 15000))
            Fail(QStringLiteral("the automatic check made no request"));
        delays << double(clock.elapsed());
        WaitFor([&] { return !window->updateWindow()->isChecking(); }, 5000);
        if (server.requestCount(kManifestPath) != before + 1)
            Fail(QStringLiteral("the automatic check asked more than once"));
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("automatic check: window built to request %s (design: 4800 ms)\n",
                qPrintable(Figures(delays, "ms")));

    // 2. A server that takes the request and never answers.
    UpdateTestServer::Route stall;
    stall.stallAfterBytes = 0;
    server.setRoute(kManifestPath, stall);
    QList<double> stalls;
    const int stallRounds = std::min(rounds, 3);
    for (int r = 0; r < stallRounds; ++r) {
        VCMainWidget window;
        bool finished = false;
        QObject::connect(window.updateWindow(), &NoUpdateWidget::checkFinished, &window,
                         [&] { finished = true; });
        QElapsedTimer clock;
        clock.start();
        window.CheckForUpdatesNow();
        if (!WaitFor([&] { return finished; }, 60000))
            Fail(QStringLiteral("the stalled check never ended"));
        stalls << clock.elapsed() / 1000.0;
        if (!window.updateWindow()->resultLabel()->text().startsWith(QLatin1String("Could not")))
            Fail(QStringLiteral("the stalled check said: ") +
                 window.updateWindow()->resultLabel()->text());
    }
    std::printf("stalled manifest server: detected after %s\n", qPrintable(Figures(stalls, "s")));

    // 3. Download throughput: an installer script padded to 50 MiB.
    const QString marker = work.filePath(QStringLiteral("ran"));
    QByteArray installer = "#!/bin/sh\necho ran > '" + QFile::encodeName(marker) + "'\nexit 0\n";
    installer += '#' + QByteArray(50 * 1024 * 1024, 'x') + '\n';
    const QByteArray md5 = QCryptographicHash::hash(installer, QCryptographicHash::Md5).toHex();
    UpdateTestServer::Route file;
    file.body = installer;
    server.setRoute(QStringLiteral("/setup.run"), file);
    const QString url = server.baseUrl() + QStringLiteral("/setup.run");
    const QString caFile = work.filePath(QStringLiteral("ca.pem"));
    {
        QFile pem(caFile);
        if (!pem.open(QIODevice::WriteOnly))
            Fail(QStringLiteral("cannot write the CA file"));
        for (const QSslCertificate& certificate : authority)
            pem.write(certificate.toPem());
    }
    UpdateOffer offer;
    offer.available = true;
    offer.version = QStringLiteral("2.1");
    offer.sources = {{url, QString::fromLatin1(md5).toUpper(), QString()}};

    QList<double> program;
    QList<double> curl;
    for (int r = 0; r < rounds; ++r) {
        // Interleaved, the order alternating, so neither side always runs warm.
        for (int side = 0; side < 2; ++side) {
            const bool programFirst = r % 2 == 0;
            if ((side == 0) == programFirst) {
                QFile::remove(marker);
                HadUpdateWidget dialog;
                dialog.setupOffer(offer);
                bool started = false;
                QObject::connect(&dialog, &HadUpdateWidget::installerStarted, &dialog,
                                 [&] { started = true; });
                QElapsedTimer clock;
                clock.start();
                dialog.updateButton_slots();
                if (!WaitFor([&] { return started; }, 120000))
                    Fail(QStringLiteral("the program's download did not end in a start"));
                program << clock.elapsed();
                if (!WaitFor([&] { return QFile::exists(marker); }, 10000))
                    Fail(QStringLiteral("the started installer did not run"));
                if (Md5(dialog.installerPath()) != md5)
                    Fail(QStringLiteral("the program's installer differs from the served one"));
            } else {
                const QString out = work.filePath(QStringLiteral("curl.run"));
                QFile::remove(out);
                QElapsedTimer clock;
                clock.start();
                QProcess process;
                process.start(QStringLiteral("curl"),
                              {QStringLiteral("-sS"), QStringLiteral("--cacert"), caFile,
                               QStringLiteral("-o"), out, url});
                // The server answers in this process's event loop: wait with it.
                if (!WaitFor([&] { return process.state() == QProcess::NotRunning; }, 120000) ||
                    process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
                    Fail(QStringLiteral("curl failed: ") +
                         QString::fromLocal8Bit(process.readAllStandardError()));
                const QByteArray sum = Md5(out); // the same check the program makes
                curl << clock.elapsed();
                if (sum != md5)
                    Fail(QStringLiteral("curl's file differs from the served one"));
            }
        }
    }
    const double mib = installer.size() / (1024.0 * 1024.0);
    QList<double> programRate;
    QList<double> curlRate;
    for (double ms : program)
        programRate << mib / (ms / 1000.0);
    for (double ms : curl)
        curlRate << mib / (ms / 1000.0);
    std::printf("download of %.0f MiB with its checksum: program %s, %s; curl %s, %s\n", mib,
                qPrintable(Figures(program, "ms")), qPrintable(Figures(programRate, "MiB/s")),
                qPrintable(Figures(curl, "ms")), qPrintable(Figures(curlRate, "MiB/s")));
    std::printf("throughput program / curl (medians): %.2f x (target >= 0.9)\n",
                Median(programRate) / Median(curlRate));
    return 0;
}
