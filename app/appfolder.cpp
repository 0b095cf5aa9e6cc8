#include "app/appfolder.h"

#include <QDir>

namespace {
QString& AppFolderStorage()
{
    static QString folder;
    return folder;
}
} // namespace

QString AppFolder()
{
    return AppFolderStorage();
}

void SetAppFolder(const QString& folder)
{
    QString clean = QDir::fromNativeSeparators(folder);
    while (clean.size() > 1 && clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    AppFolderStorage() = clean;
}
