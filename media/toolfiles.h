#pragma once

#include <QString>
#include <QStringList>

// The media tool and the libraries that ship with it. On Windows the tool
// comes with its DLLs; elsewhere it is a single program using the system's
// libraries.
const QStringList& ToolFiles();

// Stages the tool files into `folder` (never overwriting a copy that is
// there) or, with `remove`, deletes them from it. Failures are ignored:
// a missing tool shows up later as a failed probe or conversion.
void CopyToolFiles(const QString& folder, bool remove);
