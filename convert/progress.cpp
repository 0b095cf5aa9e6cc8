#include "convert/progress.h"

#include "app/timetext.h"

#include <cmath>

namespace {
// A tool that never ends a line must not make the pending text grow forever.
constexpr qsizetype MaxPendingLength = 64 * 1024;
} // namespace

qint64 ParseProgressTime(const QString& chunk)
{
    QString text = chunk;
    text.replace(QLatin1String(" = "), QLatin1String("="));
    text.replace(QLatin1String(" ="), QLatin1String("="));
    text.replace(QLatin1String("= "), QLatin1String("="));

    const qsizetype at = text.indexOf(QLatin1String("time="));
    if (at < 0)
        return 0;
    const QString clock = text.mid(at + 5, 11);
    if (clock.isEmpty())
        return 0;
    if (clock.contains(QLatin1Char('.')) || clock.contains(QLatin1Char(',')))
        return ClockToMicroseconds(clock);
    return ClockToSeconds(clock.left(8)) * 1000000;
}

QList<qint64> ProgressTextParser::feed(const QString& text)
{
    m_pending += text;
    const qsizetype lastBreak =
        qMax(m_pending.lastIndexOf(QLatin1Char('\r')), m_pending.lastIndexOf(QLatin1Char('\n')));
    QList<qint64> times;
    if (lastBreak < 0) {
        if (m_pending.size() > MaxPendingLength)
            m_pending.clear();
        return times;
    }
    const QString complete = m_pending.left(lastBreak + 1);
    m_pending.remove(0, lastBreak + 1);

    const QStringList parts = complete.split(QStringLiteral("frame="));
    for (const QString& part : parts) {
        const qint64 time = ParseProgressTime(part.trimmed());
        if (time > 0)
            times.append(time);
    }
    return times;
}

int PassProgressValue(qint64 time, qint64 length, int base, int span)
{
    if (time <= 0 || length <= 0)
        return -1;
    const double part = qBound(0.0, double(time) / double(length), 1.0);
    return qMin(RunningProgressMax, base + int(std::trunc(part * span)));
}

int EngineProgressValue(qint64 currentTime, qint64 duration)
{
    if (duration <= 10000)
        duration = 10000;
    const double v = std::trunc(double(currentTime) * 10000.0 / double(duration));
    if (v > 9998)
        return RunningProgressMax;
    if (v < 1)
        return 0;
    return int(v);
}

QString ProgressPercentText(int value)
{
    value = qBound(0, value, ProgressMax);
    return QString::number(value / 100) + QLatin1Char('.') +
           QStringLiteral("%1").arg(value % 100, 2, 10, QLatin1Char('0')) + QLatin1Char('%');
}

bool ProgressTracker::setProgress(int value, bool onlyIncrease)
{
    value = qBound(0, value, ProgressMax);
    if (onlyIncrease && value <= m_value)
        return false;
    const bool changed = value != m_value;
    m_value = value;
    return changed;
}
