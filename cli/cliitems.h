#pragma once

#include "cli/clioptions.h"
#include "convert/convertitem.h"
#include "list/joblist.h"

#include <QList>
#include <QString>

// From the command's inputs and the probed facts of their files to the items
// a conversion job takes, as the window's rows would hand them over.

// The inputs of a saved list: its ranges ("to the end" stays open) and
// chosen tracks.
QList<CliInput> InputsOfJobList(const JobList& list);

// One item per input, in order: the range (the whole file where it is left
// open), the chosen sound track with its facts in the item's MediaInfo.
// False with `error` set, before anything runs, for a track the file does not
// have, a start or end past the end of the file, or a range that keeps
// nothing. `infos` are parallel to `inputs`.
bool MakeConvertItems(const QList<CliInput>& inputs, const QList<MediaInfo>& infos,
                      QList<ConvertItem>* items, QString* error);

// Why `output` cannot take a result whose container is `suffix` (the output
// format's file suffix); empty when it can. Suffixes compare without case.
QString OutputSuffixProblem(const QString& output, const QString& suffix);
