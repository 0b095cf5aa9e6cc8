#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The system's multi-selection open-files dialog. Tests install a stand-in
// that answers at once; an empty function restores the real dialog.
using OpenFilesDialog = std::function<QStringList(QWidget* parent, const QString& caption,
                                                  const QString& folder, const QString& filter)>;
void SetOpenFilesDialog(OpenFilesDialog dialog);

// Lets the user choose media files, starting in the folder remembered under
// "addVideoPath". After a choice the folder of the first file is remembered
// and every chosen file is returned in the dialog's order: the probe tells
// media from the rest, and the user hears about the rest. Cancelling returns
// nothing and remembers nothing.
QStringList AddFiles(QWidget* parent);
