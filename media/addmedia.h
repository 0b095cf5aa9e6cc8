#pragma once

#include "media/probe.h"

#include <functional>

// Receives each successfully probed file; the media list installs itself
// here, and tests may install their own receiver.
using MediaSink = std::function<void(const ProbeResult&)>;
void SetMediaSink(MediaSink sink);

// Probes one file, whatever its name, and hands it to the sink. Returns 0
// when the file was added, -1 when the probe found no recording in it.
int AddMediaFile(const QString& path);
