#pragma once

#include <QString>
#include <QtGlobal>

class QDateTime;

// The diagnostic log: one time-stamped line per message, appended to
// splicora.log in the user's private folder (Platform::PrivateFolder). The
// file is opened and closed for every line so that a crash never loses what
// was written before it. A link or anything but a plain file of the user in
// its place is never written through: the line is dropped instead.
QString LogFolderPath();
QString LogFilePath();

// Removes the previous run's log file; a missing file is no error.
void RemovePreviousLogFile();

// Formats one log line (without the CR LF) for the given local time.
QString FormatLogLine(const QDateTime& when, const QString& message);

// The process-wide message handler; installed once by start-up.
void LogMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message);
