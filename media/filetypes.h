#pragma once

#include <QString>
#include <QStringList>

// Which files count as media: wildcard patterns matched against the whole
// path, in effect whether the path ends with one of the extensions.

// Tested against the lower-cased path.
const QStringList& VideoPatterns();
// Tested against the path as it stands, so letter case matters.
const QStringList& AudioPatterns();

// 1 when the path matches a pattern of the list, -1 otherwise.
int IsVideoFile(const QString& path);
int IsAudioFile(const QString& path);

// The one filter of the "Add Files" dialog.
QString MediaDialogFilter();
