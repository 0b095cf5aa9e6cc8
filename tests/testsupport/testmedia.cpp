#include "testmedia.h"

#include "app/appfolder.h"
#include "media/childprocess.h"

#include <QCryptographicHash>
#include <QDir>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <sys/stat.h>

#include <csignal>
#include <sys/types.h>

namespace TestMedia {

QString Ffmpeg()
{
    return QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
}

QString Ffprobe()
{
    return QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
}

bool RunFfmpeg(const QStringList& args, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(Ffmpeg(), QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                                        QStringLiteral("error"), QStringLiteral("-nostdin"),
                                        QStringLiteral("-y")} +
                                args);
    if (!process.waitForFinished(timeoutMs))
        return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool MakeClip(const QString& path, double seconds, int width, int height, int fps, bool withVideo,
              int audioStreams)
{
    const QString duration = QString::number(seconds, 'f', 3);
    QStringList args;
    if (withVideo) {
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("testsrc2=size=%1x%2:rate=%3:duration=%4")
                    .arg(width)
                    .arg(height)
                    .arg(fps)
                    .arg(duration);
    }
    for (int a = 0; a < audioStreams; ++a) {
        // Each track its own pitch and rate, so tests can tell them apart.
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=%1:sample_rate=%2:duration=%3")
                    .arg(440 + 220 * a)
                    .arg(a == 0 ? 44100 : 48000)
                    .arg(duration);
    }
    int input = 0;
    if (withVideo)
        args << QStringLiteral("-map") << QStringLiteral("%1:v").arg(input++);
    for (int a = 0; a < audioStreams; ++a)
        args << QStringLiteral("-map") << QStringLiteral("%1:a").arg(input++);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (withVideo && (suffix == QLatin1String("mp4") || suffix == QLatin1String("mkv") ||
                      suffix == QLatin1String("mov"))) {
        args << QStringLiteral("-c:v") << QStringLiteral("libx264") << QStringLiteral("-preset")
             << QStringLiteral("ultrafast") << QStringLiteral("-g") << QString::number(fps)
             << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p");
    }
    if (audioStreams > 0 && (suffix == QLatin1String("mp4") || suffix == QLatin1String("mov")))
        args << QStringLiteral("-c:a") << QStringLiteral("aac");
    args << path;
    return RunFfmpeg(args);
}

static QString ProbeText(const QStringList& args)
{
    QProcess process;
    process.start(Ffprobe(), QStringList{QStringLiteral("-v"), QStringLiteral("error")} + args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

double DurationSeconds(const QString& path)
{
    const QString text =
        ProbeText({QStringLiteral("-show_entries"), QStringLiteral("format=duration"),
                   QStringLiteral("-of"), QStringLiteral("default=nw=1:nk=1"), path});
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? value : -1.0;
}

QStringList StreamTypes(const QString& path)
{
    const QString text =
        ProbeText({QStringLiteral("-show_entries"), QStringLiteral("stream=codec_type"),
                   QStringLiteral("-of"), QStringLiteral("default=nw=1:nk=1"), path});
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList StreamValues(const QString& path, const QString& select, const QString& entries)
{
    const QString text =
        ProbeText({QStringLiteral("-select_streams"), select, QStringLiteral("-show_entries"),
                   QStringLiteral("stream=") + entries, QStringLiteral("-of"),
                   QStringLiteral("default=nw=1:nk=1"), path});
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString DecodeErrors(const QString& path)
{
    QProcess process;
    process.start(Ffmpeg(), {QStringLiteral("-v"), QStringLiteral("error"),
                             QStringLiteral("-nostdin"), QStringLiteral("-i"), path,
                             QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")});
    if (!process.waitForFinished(120000))
        return QStringLiteral("<decoding did not finish>");
    return QString::fromUtf8(process.readAllStandardError()).trimmed();
}

bool PacketTimesIncrease(const QString& path, QString* detail)
{
    const QString text =
        ProbeText({QStringLiteral("-show_entries"), QStringLiteral("packet=stream_index,dts"),
                   QStringLiteral("-of"), QStringLiteral("csv=p=0"), path});
    QHash<int, qint64> last;
    int line = 0;
    for (const QString& row : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        ++line;
        const QStringList fields = row.split(QLatin1Char(','));
        bool ok = false;
        const qint64 dts = fields.value(1).toLongLong(&ok);
        if (!ok)
            continue;
        const int stream = fields.value(0).toInt();
        if (last.contains(stream) && dts <= last[stream]) {
            if (detail)
                *detail = QStringLiteral("stream %1, packet line %2: %3 after %4")
                              .arg(stream)
                              .arg(line)
                              .arg(dts)
                              .arg(last[stream]);
            return false;
        }
        last[stream] = dts;
    }
    if (line == 0 && detail)
        *detail = QStringLiteral("no packets");
    return line > 0;
}

double StreamSpanSeconds(const QString& path, const QString& select)
{
    const QString text =
        ProbeText({QStringLiteral("-select_streams"), select, QStringLiteral("-show_entries"),
                   QStringLiteral("packet=pts_time,duration_time"), QStringLiteral("-of"),
                   QStringLiteral("csv=p=0"), path});
    double first = 1e18;
    double end = -1e18;
    for (const QString& row : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = row.split(QLatin1Char(','));
        bool ok = false;
        const double pts = fields.value(0).toDouble(&ok);
        if (!ok)
            continue;
        first = qMin(first, pts);
        end = qMax(end, pts + fields.value(1).toDouble());
    }
    return end > first ? end - first : -1.0;
}

QByteArray GreyFrame(const QString& path, double seconds)
{
    QProcess process;
    process.start(Ffmpeg(),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"),
                   QStringLiteral("-ss"), QString::number(seconds, 'f', 6), QStringLiteral("-i"),
                   path, QStringLiteral("-frames:v"), QStringLiteral("1"), QStringLiteral("-vf"),
                   QStringLiteral("scale=64:48,format=gray"), QStringLiteral("-f"),
                   QStringLiteral("rawvideo"), QStringLiteral("-")});
    if (!process.waitForFinished(60000))
        return {};
    const QByteArray bytes = process.readAllStandardOutput();
    return bytes.size() == 64 * 48 ? bytes : QByteArray();
}

double FrameDifference(const QByteArray& a, const QByteArray& b)
{
    if (a.isEmpty() || a.size() != b.size())
        return 1e9;
    double sum = 0.0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const double d = double(quint8(a[i])) - double(quint8(b[i]));
        sum += d * d;
    }
    return sum / double(a.size());
}

void UseBuildAppFolder()
{
    SetAppFolder(qEnvironmentVariable("SPLICORA_APP_DIR"));
}

QList<qint64> ProcessesNamed(const QString& name, const QString& argument)
{
    return ChildProcess::ProcessesNamed(name, argument);
}

void KillProcessesNamed(const QString& name, const QString& argument)
{
    for (const qint64 pid : ProcessesNamed(name, argument))
        ::kill(pid_t(pid), SIGKILL);
}

QByteArray FileMd5(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("-");
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(&file);
    return hash.result().toHex();
}

unsigned FileMode(const QString& path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? unsigned(info.st_mode) : 0;
}

} // namespace TestMedia
