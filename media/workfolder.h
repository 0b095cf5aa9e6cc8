#pragma once

#include <QString>

// Thumbnails ("thumb") and one folder per running job. On Windows it is
// <temp>/Tarnwick/Splicora; elsewhere "work" in the user's private folder
// (Platform::PrivateFolder), out of other users' reach. Made again when
// missing, every time the path is asked for.
QString WorkFolder();

// Removes the job folders a killed earlier run left in the work folder. Only
// for the copy that holds the single-instance lock, before any job starts.
// Returns how many were removed.
int RemoveLeftoverJobFolders();

// The media tool used for probing: the application folder's copy, or the
// one on PATH when the program runs from elsewhere.
QString FfmpegPath();
