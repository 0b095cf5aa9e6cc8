#pragma once

#include <QString>
#include <QStringList>

// Which files count as media: wildcard patterns matched against the whole
// path, in effect whether the path ends with one of the extensions.

// Both are tested against the lower-cased path: letter case does not matter.
const QStringList& VideoPatterns();
const QStringList& AudioPatterns();

// 1 when the path matches a pattern of the list, -1 otherwise.
int IsVideoFile(const QString& path);
int IsAudioFile(const QString& path);

// The filters of the "Add Files" dialog: the historical "Media (...)" list,
// then "All media files (...)" with every type the program takes, then
// "All files (*)".
QString MediaDialogFilter();
