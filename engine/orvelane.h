#pragma once

// The engine library's C interface. The program loads the library at run time
// (QLibrary) and looks the functions up by these names; nothing else links
// against it. All integers are 32-bit unless stated; times are signed 64-bit
// microseconds.

#include <stdint.h>

#if defined(_WIN32)
#define ORVELANE_EXPORT __declspec(dllexport)
#else
#define ORVELANE_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Called once per conversion, on an engine thread, when it has finished,
// failed or been aborted. itemid is the conversion's handle, so a caller can
// tell a late end of an earlier conversion from the current one.
// flags: 0 finished, 1 aborted, -1 failed.
typedef void (*ConvertEndCallback)(int itemid, int flags);

// Fills `info` (OrvelaneInfoSize bytes, first word OrvelaneInfoSize) with the
// facts of the file. 0 on success, -1 when the file cannot be read as media.
ORVELANE_EXPORT int Orvelane_GetInfo(const char* utf8Path, void* info, int reserved);

// Adds a file, described by a block from Orvelane_GetInfo, to the items of the
// next conversion. Returns the item id (1 or more), or -1 on failure.
ORVELANE_EXPORT int Quillet_AddFile(const char* utf8Path, const void* info, int reserved);

// The part of the item to keep: [start, end) in microseconds.
ORVELANE_EXPORT void Quillet_SetItemTime(int itemId, int64_t start, int64_t end);

// Removes an item; unknown ids are ignored.
ORVELANE_EXPORT void Quillet_DelItem(int itemId);

// Starts converting every item, in the order they were added, into the file and
// format that the parameter block names. Returns a handle (1 or more), or 0
// when nothing could be started (no items, a bad block, an output file that
// already exists, no media tool).
ORVELANE_EXPORT int Orvelane_ConvertAll(const void* params, int reserved1, int reserved2);

// Registers the end callback. If the conversion ended before this call, the
// callback still runs once, on an engine thread, after registration.
ORVELANE_EXPORT void Orvelane_Convert_SetConvertEndCallBackFun(int handle,
                                                               ConvertEndCallback callback);

// The total and current output time of the conversion, in microseconds.
ORVELANE_EXPORT int64_t Orvelane_Convert_GetDuration(int handle);
ORVELANE_EXPORT int64_t Orvelane_Convert_GetCurrentTime(int handle);

// Stops the conversion; the end callback follows with flags 1.
ORVELANE_EXPORT void Orvelane_Convert_Abort(int handle);

// Stops the conversion if it still runs and frees it. No callback runs after
// this returns.
ORVELANE_EXPORT void Orvelane_Convert_Destroy(int handle);

#ifdef __cplusplus
}
#endif

// Layout of the 72-byte information block (little-endian).
enum OrvelaneInfoLayout
{
    OrvelaneInfoSize = 72,
    OrvelaneInfoOffsetSize = 0,        // int32: 72
    OrvelaneInfoOffsetFlags = 4,       // int32: bit 0 has video, bit 1 has audio
    OrvelaneInfoOffsetDuration = 8,    // int64: microseconds
    OrvelaneInfoOffsetWidth = 16,      // int32
    OrvelaneInfoOffsetHeight = 20,     // int32
    OrvelaneInfoOffsetRateNum = 24,    // int32: frame rate numerator
    OrvelaneInfoOffsetRateDen = 28,    // int32: frame rate denominator
    OrvelaneInfoOffsetSampleRate = 32, // int32: Hz
    OrvelaneInfoOffsetChannels = 36,   // int32
    OrvelaneInfoOffsetAudioCount = 40, // int32: number of audio streams
    OrvelaneInfoOffsetAudioTrack = 44  // int32: audio stream to use, 0-based; set by the caller
};
