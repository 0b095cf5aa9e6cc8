#pragma once

#include <QString>

#include <cstdint>

namespace Engine {

// The facts of one media file, as the 72-byte information block carries them.
struct MediaFacts
{
    bool hasVideo = false;
    bool hasAudio = false;
    int64_t durationUs = 0;
    int width = 0;
    int height = 0;
    int rateNum = 25;
    int rateDen = 1;
    int sampleRate = 0;
    int channels = 0;
    int audioCount = 0;
    int audioTrack = 0; // chosen by the caller
};

// The folder this library was loaded from.
QString LibraryFolder();

// The media tool beside the library, else on PATH; empty when there is none.
QString FfmpegPath();
// The probe tool beside the (symlink-resolved) media tool, else on PATH.
QString FfprobePath();

// Probes `path`; false when the file is unreadable or holds neither picture
// nor sound.
bool ProbeFile(const QString& path, MediaFacts* facts);

// Reads and writes the information block (little-endian, OrvelaneInfoSize bytes).
MediaFacts FactsFromBlock(const void* block);
void FactsToBlock(const MediaFacts& facts, void* block);

} // namespace Engine
