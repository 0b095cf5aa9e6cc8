#pragma once

#include <QList>
#include <QString>

// Progress values are hundredths of a percent, 0 to 10,000. Running jobs
// report at most 9,999; only the end of a job shows 10,000.
inline constexpr int ProgressMax = 10000;
inline constexpr int RunningProgressMax = 9999;

// The position in microseconds that one status chunk of the media tool reports
// after "time=" (spaces around "=" allowed); 0 when there is none or it is not
// a clock ("N/A").
qint64 ParseProgressTime(const QString& chunk);

// Collects the media tool's merged output as it arrives and hands back the
// positions of the complete status chunks. Output arrives in arbitrary pieces;
// a chunk cut off at the end of a piece could read as an earlier time (a cut
// "00:01" reads as one second), so text after the last line break is kept
// until the rest of it arrives.
class ProgressTextParser
{
public:
    // The positions (> 0) found in the chunks completed by `text`, in order.
    QList<qint64> feed(const QString& text);
    void reset() { m_pending.clear(); }

private:
    QString m_pending;
};

// The progress of a job at position `time` of a pass that writes `length`
// microseconds and fills the bar from `base` over `span`: never past 9,999
// while the job runs; -1 when there is no position or length to go by.
int PassProgressValue(qint64 time, qint64 length, int base, int span);

// The engine path's progress from its current time and total duration; a
// total of 10,000 or less counts as 10,000. 0 to 9,999.
int EngineProgressValue(qint64 currentTime, qint64 duration);

// "74.60%" for 7,460: whole percent, ".", two zero-padded hundredths, "%".
QString ProgressPercentText(int value);

// The value the progress display holds. It takes values in 0 to 10,000 and,
// when asked to only increase, ignores anything not above the current value.
class ProgressTracker
{
public:
    // True when the value changed.
    bool setProgress(int value, bool onlyIncrease);
    int value() const { return m_value; }

private:
    int m_value = 0;
};
