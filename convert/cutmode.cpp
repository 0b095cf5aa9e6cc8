#include "convert/cutmode.h"

#include "app/settings.h"

QString CutModeText(CutMode mode)
{
    return mode == CutMode::Keyframe ? QStringLiteral("Keyframe") : QStringLiteral("Exact");
}

CutMode CutModeFromText(const QString& text)
{
    return text.compare(QLatin1String("Keyframe"), Qt::CaseInsensitive) == 0 ? CutMode::Keyframe
                                                                             : CutMode::Exact;
}

CutMode SavedCutMode()
{
    return CutModeFromText(ReadSetting(QString::fromLatin1(CutModeKey)));
}

void SaveCutMode(CutMode mode)
{
    WriteSetting(QString::fromLatin1(CutModeKey), CutModeText(mode));
}
