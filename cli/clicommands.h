#pragma once

#include "cli/clioptions.h"

class SignalChannel;

// The exit statuses of splicora-cli; an interrupted run ends with 128 plus
// the signal's number (130 for SIGINT, 143 for SIGTERM).
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// One function per command. Each prints its own messages and returns the
// exit status. A QCoreApplication must exist.
int RunProbeCommand(const CliRequest& request, SignalChannel& channel);
// cut, join and run: one conversion job from the inputs to one result.
int RunConvertCommand(const CliRequest& request, SignalChannel& channel);

// The whole program: arguments, start-up, the command.
int RunSplicoraCli(int argc, char* argv[]);
