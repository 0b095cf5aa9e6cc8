#include "media/addfiles.h"

#include "app/appfolder.h"
#include "app/settings.h"

#include <QDir>
#include <QFileInfo>

QString DefaultMediaFolder()
{
    const QString home = QDir::homePath();
    QString documents;
    if (QFileInfo(home + QStringLiteral("/Documents")).isDir()) {
        documents = home + QStringLiteral("/Documents/");
    } else if (QFileInfo(home + QStringLiteral("/My Documents")).isDir()) {
        documents = home + QStringLiteral("/My Documents/");
    } else {
        QDir(home).mkdir(QStringLiteral("Documents"));
        documents = home + QStringLiteral("/Documents/");
    }

    const QString maker = documents + QLatin1String(kMakerName);
    QDir().mkdir(maker);
    const QString folder = maker + QLatin1Char('/') + QLatin1String(kProgramName);
    QDir().mkdir(folder);
    return folder;
}

QString FolderSetting(const QString& key)
{
    const QString stored = ReadSetting(key);
    // A folder that was renamed or lives on a drive that is gone would leave
    // the dialog somewhere arbitrary.
    if (!stored.isEmpty() && QFileInfo(stored).isDir())
        return stored;
    return DefaultMediaFolder();
}

void SaveFolderSetting(const QString& key, const QString& value)
{
    WriteSetting(key, value);
}

QString FolderOfFile(const QString& path)
{
    // The dialog hands back forward slashes on every platform.
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}
