// The engine's parameter block comes through a C interface from whoever
// loads the library: every block, and every item range, must be refused or
// honoured without undefined behaviour.
#include "convert/convertparams.h"
#include "engine/joingraph.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first bytes give up to four items, with the numbers a host could
    // set for them; the rest overwrites a valid block from its second word
    // on, so short inputs still get a block the engine takes.
    constexpr size_t kItemBytes = 40;
    const size_t itemCount = size ? std::min<size_t>(data[0] % 5, (size - 1) / kItemBytes) : 0;
    std::vector<Engine::JoinItem> items;
    for (size_t i = 0; i < itemCount; ++i) {
        const uint8_t* at = data + 1 + i * kItemBytes;
        Engine::JoinItem item;
        item.path = QStringLiteral("/m/in.mkv");
        std::memcpy(&item.startUs, at, 8);
        std::memcpy(&item.endUs, at + 8, 8);
        std::memcpy(&item.facts.durationUs, at + 16, 8);
        std::memcpy(&item.facts.audioCount, at + 24, 4);
        std::memcpy(&item.facts.audioTrack, at + 28, 4);
        std::memcpy(&item.facts.width, at + 32, 4);
        std::memcpy(&item.facts.height, at + 36, 4);
        item.facts.hasVideo = at[0] & 1;
        item.facts.hasAudio = at[0] & 2;
        item.keptUs();
        items.push_back(item);
    }
    const size_t used = size ? 1 + itemCount * kItemBytes : 0;

    QByteArray block(ConvertParams::BlockSize, '\0');
    const int32_t blockSize = ConvertParams::BlockSize;
    std::memcpy(block.data(), &blockSize, sizeof blockSize);
    std::memcpy(block.data() + ConvertParams::OffsetOutputPath, "/o/x.mp4", 8);
    std::memcpy(block.data() + ConvertParams::OffsetVideoEncoder, "libx264", 7);
    std::memcpy(block.data() + ConvertParams::OffsetAudioEncoder, "aac", 3);
    const auto put = [&block](int offset, int32_t value) {
        std::memcpy(block.data() + offset, &value, sizeof value);
    };
    put(ConvertParams::OffsetFrameRateDen, 1);
    put(ConvertParams::OffsetFrameRateNum, 25);
    put(ConvertParams::OffsetWidth, 640);
    put(ConvertParams::OffsetHeight, 360);
    put(ConvertParams::OffsetSampleRate, 48000);
    put(ConvertParams::OffsetChannels, 2);
    std::memcpy(block.data() + 4, data + used,
                std::min<size_t>(size - used, size_t(block.size()) - 4));

    Engine::OutputSettings settings;
    if (Engine::ReadOutputSettings(block.constData(), &settings))
        Engine::JoinArguments(items, settings);
    return 0;
}
