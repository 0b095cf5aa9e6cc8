#pragma once

#include <QString>

// The folder that holds the executable, with forward slashes and no trailing
// slash. Files beside the program are named by appending a path that begins
// with "/". Set once at start-up; tests point it at the build's application
// folder.
QString AppFolder();
void SetAppFolder(const QString& folder);

// The maker and program names used for the settings store, the temporary
// work folder and the log folder.
inline constexpr const char* kMakerName = "Tarnwick";
inline constexpr const char* kProgramName = "Splicora";
