// A stand-in for the program as far as the engine is concerned: loads the
// library, starts one conversion and then just waits, so that a test can kill
// it the hard way while the engine's tool is writing.
//   engine_host LIBRARY INPUT OUTPUT WIDTHxHEIGHT
// Prints "started <handle>" once the conversion runs.
#include "convert/convertparams.h"
#include "convert/outputprofile.h"
#include "engine/orvelane.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QtEndian>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    QLibrary library(args[1]);
    const auto getInfo =
        reinterpret_cast<decltype(&Orvelane_GetInfo)>(library.resolve("Orvelane_GetInfo"));
    const auto addFile =
        reinterpret_cast<decltype(&Quillet_AddFile)>(library.resolve("Quillet_AddFile"));
    const auto convertAll =
        reinterpret_cast<decltype(&Orvelane_ConvertAll)>(library.resolve("Orvelane_ConvertAll"));
    if (!getInfo || !addFile || !convertAll)
        return 3;

    QByteArray info(OrvelaneInfoSize, '\0');
    qToLittleEndian<qint32>(OrvelaneInfoSize, info.data());
    const QByteArray input = args[2].toUtf8();
    if (getInfo(input.constData(), info.data(), 0) != 0 ||
        addFile(input.constData(), info.constData(), 0) < 1)
        return 4;

    MediaInfo format;
    format.suffix = QStringLiteral("mp4");
    format.videoCodec = QStringLiteral("h264");
    format.width = args[4].section(QLatin1Char('x'), 0, 0).toInt();
    format.height = args[4].section(QLatin1Char('x'), 1, 1).toInt();
    format.frameRateText = QStringLiteral("30 fps");
    format.audioCodec = QStringLiteral("aac");
    format.sampleRateText = QStringLiteral("48000 Hz");
    format.channelsText = QStringLiteral("stereo");
    const QByteArray block = EngineParameterBlock(args[3], OutputProfileFor(format, {}));
    const int handle = block.isEmpty() ? 0 : convertAll(block.constData(), 0, 0);
    if (handle < 1)
        return 5;
    std::printf("started %d\n", handle);
    std::fflush(stdout);
    return app.exec();
}
