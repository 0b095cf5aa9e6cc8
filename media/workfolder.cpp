#include "media/workfolder.h"

#include "app/appfolder.h"
#include "app/platform.h"

#include <QDir>

QString WorkFolder()
{
    const QString maker = QDir::tempPath() + QLatin1Char('/') + QLatin1String(kMakerName);
    const QString folder = maker + QLatin1Char('/') + QLatin1String(kProgramName);
    QDir dir;
    if (!dir.exists(maker))
        dir.mkdir(maker);
    if (!dir.exists(folder))
        dir.mkdir(folder);
    return folder;
}

QString FfmpegPath()
{
    const QString found = Platform::FindTool(QStringLiteral("ffmpeg"));
    // Never hand an empty program to a process: a clear path in the log
    // tells the user what is missing.
    return found.isEmpty()
               ? AppFolder() + QLatin1Char('/') + Platform::ExecutableName(QStringLiteral("ffmpeg"))
               : found;
}
