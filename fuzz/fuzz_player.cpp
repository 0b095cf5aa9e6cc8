// The preview player's standard output, in pieces as they arrive: whatever a
// broken or foreign player prints must be read or dropped, never crash.
#include "player/playercommands.h"

#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    ParsePlayerOutputLine(QString::fromUtf8(bytes));

    // The same bytes fed in pieces whose lengths the first byte chooses.
    PlayerOutputParser parser;
    const int step = size ? 1 + data[0] % 17 : 1;
    for (int at = 0; at < bytes.size(); at += step) {
        for (const PlayerOutputLine& line : parser.feed(bytes.mid(at, step)))
            IsEndOfMedia(line.currentSeconds, line.durationSeconds);
    }
    return 0;
}
