#pragma once

#include "media/probe.h"

#include <functional>

// Receives each successfully probed file; the media list installs itself
// here, and tests may install their own receiver.
using MediaSink = std::function<void(const ProbeResult&)>;
void SetMediaSink(MediaSink sink);

// Probes one file and hands it to the sink. Returns 0 when the file was
// added or skipped as an unsupported type, -1 when probing failed.
int AddMediaFile(const QString& path);
