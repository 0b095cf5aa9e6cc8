// The platform pieces that need no GUI, so the widget-free core can name
// and find its tools.
#include "app/appfolder.h"
#include "app/platform.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace Platform {

QString ExecutableName(const QString& baseName)
{
#ifdef Q_OS_WIN
    return baseName + QStringLiteral(".exe");
#else
    return baseName;
#endif
}

QString FindTool(const QString& baseName)
{
    const QString name = ExecutableName(baseName);
    if (!AppFolder().isEmpty()) {
        const QString beside = AppFolder() + QLatin1Char('/') + name;
        const QFileInfo info(beside);
        if (info.exists() && info.isExecutable())
            return beside;
    }
    return QStandardPaths::findExecutable(name);
}

} // namespace Platform
