#pragma once

#include <QString>

// Thumbnails ("thumb") and one folder per running job. On Windows it is
// <temp>/Tarnwick/Splicora; elsewhere "work" in the user's private folder
// (Platform::PrivateFolder), out of other users' reach. Made again when
// missing, every time the path is asked for.
QString WorkFolder();

// The media tool used for probing: the application folder's copy, or the
// one on PATH when the program runs from elsewhere.
QString FfmpegPath();
