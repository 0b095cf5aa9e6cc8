#pragma once

#include <QString>

// How a lossless job treats the start of each kept range.
// Exact: the result starts on the chosen frame; the frames up to the next
// keyframe are encoded again, the rest is copied.
// Keyframe: nothing is encoded again; the start moves back to the keyframe
// at or before it, and the window shows the moved start.
enum class CutMode
{
    Exact,
    Keyframe
};

// The settings key and its two texts ("Exact", "Keyframe").
inline constexpr char CutModeKey[] = "CutMode";
QString CutModeText(CutMode mode);
// Anything but "Keyframe" reads as Exact, the default.
CutMode CutModeFromText(const QString& text);

// The mode the user chose last, from the settings store.
CutMode SavedCutMode();
void SaveCutMode(CutMode mode);
