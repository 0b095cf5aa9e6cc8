#include "media/workfolder.h"

#include "app/appfolder.h"
#include "app/platform.h"

#include <QDir>

QString WorkFolder()
{
#ifdef Q_OS_WIN
    const QString maker = QDir::tempPath() + QLatin1Char('/') + QLatin1String(kMakerName);
    const QString folder = maker + QLatin1Char('/') + QLatin1String(kProgramName);
    QDir dir;
    if (!dir.exists(maker))
        dir.mkdir(maker);
    if (!dir.exists(folder))
        dir.mkdir(folder);
    return folder;
#else
    const QString privateFolder = Platform::PrivateFolder();
    if (privateFolder.isEmpty())
        return QString(); // no safe place: jobs fail with a message
    const QString folder = privateFolder + QStringLiteral("/work");
    QDir().mkdir(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
#endif
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

int RemoveLeftoverJobFolders()
{
    int removed = 0;
    QDir work(WorkFolder());
    const QStringList jobs = work.entryList({QStringLiteral("job-*")},
                                            QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& name : jobs) {
        if (QDir(work.filePath(name)).removeRecursively())
            ++removed;
    }
    return removed;
}
