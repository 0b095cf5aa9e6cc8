// Clock and size texts: read from the media tool's report and written for
// every row, so no text may crash or overflow them.
#include "app/timetext.h"

#include <QString>

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    ClockToSeconds(text);
    const qint64 us = ClockToMicroseconds(text);
    TimeToString(us);
    MicrosecondsToTimeOfDay(us);
    if (size >= sizeof(qint64)) {
        qint64 raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        TimeToString(raw);
        SizeToString(raw);
        MicrosecondsToTimeOfDay(raw);
    }
    return 0;
}
