#pragma once

#include <QString>
#include <QStringList>

#ifdef Q_OS_WIN
// The media tool and the libraries that ship with it. Only Windows stages
// them; elsewhere the tool always runs from where it was found.
const QStringList& ToolFiles();

// Stages the tool files into `folder` (never overwriting a copy that is
// there) or, with `remove`, deletes them from it. Failures are ignored:
// a missing tool shows up later as a failed probe or conversion.
void CopyToolFiles(const QString& folder, bool remove);
#endif
