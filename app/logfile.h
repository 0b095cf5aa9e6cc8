#pragma once

#include <QString>
#include <QtGlobal>

class QDateTime;

// The diagnostic log: one time-stamped line per message, appended to
// <temp>/Tarnwick/splicora.log. The file is opened and closed for every line
// so that a crash never loses what was written before it.
QString LogFolderPath();
QString LogFilePath();

// Removes the previous run's log file; a missing file is no error.
void RemovePreviousLogFile();

// Formats one log line (without the CR LF) for the given local time.
QString FormatLogLine(const QDateTime& when, const QString& message);

// The process-wide message handler; installed once by start-up.
void LogMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message);
