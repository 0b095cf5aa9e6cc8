#pragma once

#include <QString>
#include <memory>

class QSettings;

// The per-user settings store (organisation Tarnwick, application Splicora).
// Every value is stored as text.
std::unique_ptr<QSettings> OpenSettings();
QString ReadSetting(const QString& key, const QString& defaultValue = QString());
void WriteSetting(const QString& key, const QString& value);
