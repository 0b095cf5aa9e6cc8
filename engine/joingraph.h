#pragma once

#include "engine/mediatool.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace Engine {

// The widest values the engine works with. Anything beyond them in a block
// or a call is no real media and is refused, so that no sum or difference of
// them can overflow.
constexpr int64_t MaxDurationUs = int64_t(100) * 24 * 3600 * 1000000; // 100 days
constexpr int MaxDimension = 16384;
constexpr int MaxFramesPerSecond = 1000;
constexpr int MaxSampleRate = 768000;
constexpr int MaxAudioStreams = 1024;

// The 0-based number of the last sound stream; 0 when there is none.
int LastAudioTrack(const MediaFacts& facts);

// False when the facts of a block hold values no media file has.
bool FactsAreSane(const MediaFacts& facts);

// One input of a join: the file, its probed facts and the kept range.
struct JoinItem
{
    QString path;
    MediaFacts facts;
    int64_t startUs = 0;
    int64_t endUs = -1; // -1: to the end of the file

    // The kept length in microseconds; 0 when unknown or empty.
    int64_t keptUs() const;
};

// What the parameter block asks of the output.
struct OutputSettings
{
    QString path;
    QString videoEncoder;
    int videoBitRate = 0;
    int rateNum = 25;
    int rateDen = 1;
    int width = 0;
    int height = 0;
    bool noVideo = false;
    QString audioEncoder; // empty: no sound in the output
    int audioBitRate = 0;
    int sampleRate = 44100;
    int channels = 2;

    bool wantsVideo() const { return !noVideo; }
    bool wantsAudio() const { return !audioEncoder.isEmpty(); }
};

// Reads the parameter block; false for a block of the wrong size word, with
// an unterminated text field, or asking for a picture or sound no encoder can
// make (negative or absurd size, frame rate or sample rate).
bool ReadOutputSettings(const void* block, OutputSettings* settings);

// Seconds with six decimals, independent of the locale ("12.500000").
QString SecondsText(int64_t us);

// The media tool's arguments that join `items` into `settings.path` through a
// single filter graph. Empty when there is nothing to produce.
QStringList JoinArguments(const std::vector<JoinItem>& items, const OutputSettings& settings);

} // namespace Engine
