#include "app/settings.h"

#include "app/appfolder.h"

#include <QSettings>

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromLatin1(kMakerName),
                                       QString::fromLatin1(kProgramName));
}

QString ReadSetting(const QString& key, const QString& defaultValue)
{
    return OpenSettings()->value(key, defaultValue).toString();
}

void WriteSetting(const QString& key, const QString& value)
{
    auto settings = OpenSettings();
    // Every start stores the language again; an unchanged value is not
    // worth a write and a flush to disk.
    if (settings->contains(key) && settings->value(key).toString() == value)
        return;
    settings->setValue(key, value);
    settings->sync();
}
