#pragma once

#include <QString>

// <temp>/Tarnwick/Splicora: thumbnails, segment files, the join list, staged
// tool copies and update downloads. Each level is created when missing,
// every time the path is asked for.
QString WorkFolder();

// The media tool used for probing: the application folder's copy, or the
// one on PATH when the program runs from elsewhere.
QString FfmpegPath();
