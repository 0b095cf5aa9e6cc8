#include "timetext.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QtNumeric>

#include <charconv>
#include <system_error>

namespace {

constexpr qint64 kMsPerSecond = 1000;
constexpr qint64 kMsPerMinute = 60 * kMsPerSecond;
constexpr qint64 kMsPerHour = 60 * kMsPerMinute;
constexpr qint64 kMsPerDay = 24 * kMsPerHour;

// Longest stretch spent in one round of event processing, so that a busy
// event queue cannot stretch a wait much beyond its end.
constexpr int kMaxRoundMs = 100;

constexpr double kPerKilo = 0.0009765625; // 1 / 1024

// The C library's printf follows the user's LC_NUMERIC, which the application
// object adopts on Unix, and would then print "1,50 G". std::to_chars rounds
// exactly as printf does in the "C" locale and never looks at the locale.
QString FormatScaled(double value, const char* unit)
{
    char buffer[64];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (result.ec != std::errc())
        return QString();
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer)) + QLatin1Char(' ') +
           QLatin1String(unit);
}

// A clock field as a base-10 integer; anything else counts as 0.
qint64 FieldValue(const QString& field)
{
    bool ok = false;
    const qint64 value = field.toLongLong(&ok, 10);
    return ok ? value : 0;
}

// total = total * factor + addend. A clock text from a damaged report can hold
// numbers of any size; such a text must not overflow, so the caller treats an
// overflow like any other unreadable clock.
bool Accumulate(qint64& total, qint64 factor, qint64 addend)
{
    qint64 product = 0;
    if (qMulOverflow(total, factor, &product))
        return false;
    return !qAddOverflow(product, addend, &total);
}

// The first three characters of a decimal fraction of a second, missing ones
// counted as zeros: "5" is 500 ms, "03" is 30 ms, "500" is 500 ms.
int FractionMilliseconds(const QString& fraction)
{
    const QString digits = fraction.left(3).leftJustified(3, QLatin1Char('0'));
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    }
    return digits.toInt();
}

} // namespace

QString TimeToString(qint64 microseconds)
{
    const qint64 ms = qMax<qint64>(microseconds, 0) / 1000;
    return QString::asprintf("%02lld:%02lld:%02lld.%03lld", ms / kMsPerHour,
                             (ms / kMsPerMinute) % 60, (ms / kMsPerSecond) % 60, ms % 1000);
}

QString SizeToString(qint64 bytes)
{
    if (bytes < 1024)
        return QString::number(bytes) + QLatin1String(" bytes");
    if (bytes < 1024 * 1024)
        return FormatScaled(static_cast<double>(bytes) * kPerKilo, "KB");
    // The unit is chosen before the value is rounded, so 1,048,575 bytes
    // stays "1024.00 KB" rather than becoming "1.00 M".
    if (bytes < 1024 * 1024 * 1024)
        return FormatScaled(static_cast<double>(bytes / 1024) * kPerKilo, "M");
    return FormatScaled(static_cast<double>(bytes / (1024 * 1024)) * kPerKilo, "G");
}

qint64 ClockToSeconds(const QString& clock)
{
    const QStringList fields = clock.split(QLatin1Char(':'));
    qint64 hours = 0;
    qint64 minutes = 0;
    qint64 seconds = 0;
    if (fields.size() == 3) {
        hours = FieldValue(fields.at(0));
        minutes = FieldValue(fields.at(1));
        seconds = FieldValue(fields.at(2));
    } else if (fields.size() == 2) {
        minutes = FieldValue(fields.at(0));
        seconds = FieldValue(fields.at(1));
    } else {
        return 0;
    }
    qint64 total = hours;
    if (!Accumulate(total, 60, minutes) || !Accumulate(total, 60, seconds))
        return 0;
    return total;
}

qint64 ClockToMicroseconds(const QString& clock)
{
    QString text = clock.trimmed();
    text.remove(QLatin1Char(' '));

    QStringList halves = text.split(QLatin1Char(','));
    if (halves.size() != 2)
        halves = text.split(QLatin1Char('.'));
    if (halves.size() != 2)
        return 0;

    const int milliseconds = FractionMilliseconds(halves.at(1));

    const QStringList fields = halves.at(0).split(QLatin1Char(':'));
    if (fields.size() != 3)
        return 0;

    qint64 total = FieldValue(fields.at(0));
    if (!Accumulate(total, 60, FieldValue(fields.at(1))) ||
        !Accumulate(total, 60, FieldValue(fields.at(2))) ||
        !Accumulate(total, 1000, milliseconds) || !Accumulate(total, 1000, 0))
        return 0;
    return total;
}

qint64 TimeOfDayToMicroseconds(const QTime& time)
{
    // An invalid time reports -1 in every field; reading that as a time would
    // produce a negative cut point.
    if (!time.isValid())
        return 0;
    const qint64 ms =
        ((qint64(time.hour()) * 60 + time.minute()) * 60 + time.second()) * 1000 + time.msec();
    return ms * 1000;
}

QTime MicrosecondsToTimeOfDay(qint64 microseconds)
{
    const qint64 ms = qMax<qint64>(microseconds, 0) / 1000;
    if (ms >= kMsPerDay)
        return QTime();
    return QTime(static_cast<int>(ms / kMsPerHour), static_cast<int>((ms / kMsPerMinute) % 60),
                 static_cast<int>((ms / kMsPerSecond) % 60), static_cast<int>(ms % 1000));
}

void WaitWithEvents(int milliseconds)
{
    if (milliseconds <= 0)
        return;

    // A monotonic clock, so that a wait across midnight (or a change of the
    // system clock) lasts as long as asked.
    QElapsedTimer clock;
    clock.start();

    // Without an event dispatcher on this thread there is nothing to keep
    // responsive.
    if (!QAbstractEventDispatcher::instance()) {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
        return;
    }

    // Between rounds the thread sleeps in the event dispatcher instead of
    // spinning; this timer wakes it at the end of the wait (or after one
    // round's length) even when no other event arrives.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, kMaxRoundMs);
        const qint64 remaining = milliseconds - clock.elapsed();
        if (remaining <= 0)
            break;
        wake.start(static_cast<int>(qMin<qint64>(remaining, kMaxRoundMs)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
