#pragma once

#include <QString>
#include <QTime>
#include <QtGlobal>

// Every duration, position and cut point inside the program is a signed 64-bit
// count of microseconds. These functions are the only places where that unit
// meets text or the time-of-day values of the time fields.

// "HH:MM:SS.mmm"; negative durations show as zero, sub-millisecond parts are
// dropped (never rounded) and hours may take more than two digits.
QString TimeToString(qint64 microseconds);

// "1023 bytes", "1.50 KB", "12.34 M", "1.50 G" (1 KB = 1024 bytes).
QString SizeToString(qint64 bytes);

// Whole seconds of "H:M:S" or "M:S"; any other shape gives 0.
qint64 ClockToSeconds(const QString& clock);

// Microseconds of "HH:MM:SS.ff", "HH:MM:SS.fff" or the same with ","; a text
// without a fraction or without exactly three clock fields gives 0.
qint64 ClockToMicroseconds(const QString& clock);

// Microseconds of a time-of-day value; an invalid time gives 0.
qint64 TimeOfDayToMicroseconds(const QTime& time);

// The time of day for a duration; negative counts as 0, 24 hours or more give
// an invalid time.
QTime MicrosecondsToTimeOfDay(qint64 microseconds);

// Keeps the windows responsive while waiting: processes events (at most
// 100 ms per round) until the wait time has passed. Returns at once for 0 or
// less.
void WaitWithEvents(int milliseconds);
