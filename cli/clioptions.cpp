#include "cli/clioptions.h"

#include "app/timetext.h"

#include <QRegularExpression>

namespace {

// Which commands an option belongs to.
enum VerbBit : unsigned
{
    ProbeBit = 1,
    CutBit = 2,
    JoinBit = 4,
    RunBit = 8,
    ConvertBits = CutBit | JoinBit | RunBit
};

enum class Option
{
    Help,
    Version,
    Json,
    Start,
    End,
    Track,
    Format,
    Mode,
    Output,
    Overwrite,
    Progress,
    Quiet
};

struct OptionRule
{
    Option option;
    const char* name;  // "--start"
    const char* alias; // "-o", or nullptr
    bool takesValue;
    unsigned verbs;
};

constexpr OptionRule kOptions[] = {
    {Option::Help, "--help", "-h", false, ~0u},
    {Option::Version, "--version", "-v", false, ~0u},
    {Option::Json, "--json", nullptr, false, ProbeBit},
    {Option::Start, "--start", nullptr, true, CutBit},
    {Option::End, "--end", nullptr, true, CutBit},
    {Option::Track, "--track", nullptr, true, CutBit},
    {Option::Format, "--format", nullptr, true, JoinBit},
    {Option::Mode, "--mode", nullptr, true, ConvertBits},
    {Option::Output, "--output", "-o", true, ConvertBits},
    {Option::Overwrite, "--overwrite", nullptr, false, ConvertBits},
    {Option::Progress, "--progress", nullptr, true, ConvertBits},
    {Option::Quiet, "--quiet", "-q", false, ConvertBits},
};

const OptionRule* FindOption(const QString& name)
{
    for (const OptionRule& rule : kOptions) {
        if (name == QLatin1String(rule.name) || (rule.alias && name == QLatin1String(rule.alias)))
            return &rule;
    }
    return nullptr;
}

struct VerbName
{
    CliVerb verb;
    const char* name;
    unsigned bit;
};

constexpr VerbName kVerbs[] = {
    {CliVerb::Probe, "probe", ProbeBit},
    {CliVerb::Cut, "cut", CutBit},
    {CliVerb::Join, "join", JoinBit},
    {CliVerb::Run, "run", RunBit},
};

const VerbName* FindVerb(CliVerb verb)
{
    for (const VerbName& entry : kVerbs) {
        if (entry.verb == verb)
            return &entry;
    }
    return nullptr;
}

QString BadTimeText(const QString& text, const QString& where)
{
    return QStringLiteral("bad time '%1' %2 (use SS, SS.mmm, MM:SS or HH:MM:SS)").arg(text, where);
}

QString EmptyRangeText(qint64 start, qint64 end, const QString& where)
{
    return QStringLiteral("the end %1 is not after the start %2%3")
        .arg(TimeToString(end), TimeToString(start), where);
}

// A count from 1 (a track or an input number); 0 for anything else.
int CountOf(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("\\A[0-9]{1,6}\\z"));
    return digits.match(text).hasMatch() ? text.toInt() : 0;
}

CliRequest Refuse(CliRequest request, const QString& error)
{
    request.error = error;
    return request;
}

} // namespace

bool ParseCliTime(const QString& text, qint64* microseconds)
{
    // Hours and minutes only where the clock form needs them; seconds alone
    // may be any count.
    static const QRegularExpression form(QStringLiteral(
        "\\A(?:(?:([0-9]{1,6}):)?([0-9]{1,6}):)?([0-9]{1,9})(?:\\.([0-9]{1,6}))?\\z"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    const bool hasHours = match.capturedLength(1) > 0;
    const bool hasMinutes = match.capturedLength(2) > 0;
    const qint64 hours = match.captured(1).toLongLong();
    const qint64 minutes = match.captured(2).toLongLong();
    const qint64 seconds = match.captured(3).toLongLong();
    // In a clock, "1:75" or "1:99:00" is a slip of the finger, not a time.
    if (hasMinutes && (match.capturedLength(3) > 2 || seconds > 59))
        return false;
    if (hasHours && (match.capturedLength(2) > 2 || minutes > 59))
        return false;
    const QString fraction = match.captured(4).leftJustified(6, QLatin1Char('0'));
    *microseconds = ((hours * 60 + minutes) * 60 + seconds) * 1000000 + fraction.toLongLong();
    return true;
}

bool ParseInputArgument(const QString& argument, const FileExists& exists, CliInput* input,
                        QString* error)
{
    *input = CliInput();
    if (argument.isEmpty()) {
        *error = QStringLiteral("an empty file name");
        return false;
    }
    // A file's own name wins over any reading of its '@' or '#'.
    if (exists && exists(argument)) {
        input->path = argument;
        return true;
    }
    QString rest = argument;
    const int hash = rest.lastIndexOf(QLatin1Char('#'));
    if (hash > 0) {
        const QString number = rest.mid(hash + 1);
        static const QRegularExpression digits(QStringLiteral("\\A[0-9]+\\z"));
        if (digits.match(number).hasMatch()) {
            const int track = CountOf(number);
            if (track < 1) {
                *error = QStringLiteral("'#%1' in '%2': sound tracks are numbered from 1")
                             .arg(number, argument);
                return false;
            }
            input->track = track - 1;
            rest.truncate(hash);
        }
    }
    const int at = rest.lastIndexOf(QLatin1Char('@'));
    if (at > 0) {
        const QString range = rest.mid(at + 1);
        // Only what could be meant as a range is read as one: "a@b.mp4" is
        // a name.
        static const QRegularExpression rangeish(QStringLiteral("\\A[0-9:.\\-]*\\z"));
        if (rangeish.match(range).hasMatch()) {
            const QStringList ends = range.split(QLatin1Char('-'));
            if (ends.size() != 2) {
                *error = QStringLiteral("'@%1' in '%2' is no range: write START-END, either of "
                                        "them may be left out")
                             .arg(range, argument);
                return false;
            }
            const QString where = QStringLiteral("in '%1'").arg(argument);
            for (int i = 0; i < 2; ++i) {
                qint64* value = i == 0 ? &input->start : &input->end;
                if (!ends.at(i).isEmpty() && !ParseCliTime(ends.at(i), value)) {
                    *error = BadTimeText(ends.at(i), where);
                    return false;
                }
            }
            if (input->start >= 0 && input->end >= 0 && input->end <= input->start) {
                *error = EmptyRangeText(input->start, input->end, QLatin1Char(' ') + where);
                return false;
            }
            rest.truncate(at);
        }
    }
    if (rest.isEmpty()) {
        *error = QStringLiteral("no file name in '%1'").arg(argument);
        return false;
    }
    input->path = rest;
    return true;
}

CliRequest ParseCliArguments(const QStringList& arguments, const FileExists& exists)
{
    CliRequest request;
    if (arguments.isEmpty())
        return request;

    const QString& command = arguments.first();
    if (const OptionRule* rule = FindOption(command);
        rule && (rule->option == Option::Help || rule->option == Option::Version)) {
        request.verb = rule->option == Option::Help ? CliVerb::Help : CliVerb::Version;
        return request;
    }
    if (command == QLatin1String("help")) {
        request.verb = CliVerb::Help;
        return request;
    }
    unsigned verbBit = 0;
    for (const VerbName& entry : kVerbs) {
        if (command == QLatin1String(entry.name)) {
            request.verb = entry.verb;
            verbBit = entry.bit;
        }
    }
    if (verbBit == 0)
        return Refuse(request, QStringLiteral("'%1' is no command").arg(command));
    const QString verbName = QLatin1String(FindVerb(request.verb)->name);

    QStringList positional;
    bool optionsEnded = false;
    bool hasFormat = false;
    QString formatText;
    CliInput cutInput;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || argument.size() < 2 || !argument.startsWith(QLatin1Char('-'))) {
            positional << argument;
            continue;
        }
        QString name = argument;
        QString value;
        bool hasValue = false;
        if (const int equals = argument.indexOf(QLatin1Char('='));
            argument.startsWith(QLatin1String("--")) && equals > 2) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
            hasValue = true;
        }
        const OptionRule* rule = FindOption(name);
        if (!rule)
            return Refuse(request, QStringLiteral("unknown option '%1'").arg(name));
        if (rule->option == Option::Help || rule->option == Option::Version) {
            CliRequest shown;
            shown.verb = rule->option == Option::Help ? CliVerb::Help : CliVerb::Version;
            return shown;
        }
        if (!(rule->verbs & verbBit))
            return Refuse(request, QStringLiteral("'%1' is no option of %2").arg(name, verbName));
        if (rule->takesValue && !hasValue) {
            if (i + 1 >= arguments.size())
                return Refuse(request, QStringLiteral("'%1' needs a value").arg(name));
            value = arguments.at(++i);
        } else if (!rule->takesValue && hasValue) {
            return Refuse(request, QStringLiteral("'%1' takes no value").arg(name));
        }

        switch (rule->option) {
        case Option::Help:
        case Option::Version:
            break;
        case Option::Json:
            request.json = true;
            break;
        case Option::Start:
        case Option::End: {
            qint64* target = rule->option == Option::Start ? &cutInput.start : &cutInput.end;
            if (!ParseCliTime(value, target))
                return Refuse(request, BadTimeText(value, QStringLiteral("for %1").arg(name)));
            break;
        }
        case Option::Track: {
            const int track = CountOf(value);
            if (track < 1)
                return Refuse(request, QStringLiteral("--track '%1': sound tracks are numbered "
                                                      "from 1")
                                           .arg(value));
            cutInput.track = track - 1;
            break;
        }
        case Option::Format:
            hasFormat = true;
            formatText = value;
            break;
        case Option::Mode:
            if (value.compare(QLatin1String("exact"), Qt::CaseInsensitive) == 0)
                request.mode = CutMode::Exact;
            else if (value.compare(QLatin1String("keyframe"), Qt::CaseInsensitive) == 0)
                request.mode = CutMode::Keyframe;
            else
                return Refuse(request,
                              QStringLiteral("--mode '%1': use exact or keyframe").arg(value));
            request.hasMode = true;
            break;
        case Option::Output:
            if (value.isEmpty())
                return Refuse(request, QStringLiteral("'%1' needs a file name").arg(name));
            request.output = value;
            break;
        case Option::Overwrite:
            request.overwrite = true;
            break;
        case Option::Progress:
            if (value == QLatin1String("bar"))
                request.progress = CliProgress::Bar;
            else if (value == QLatin1String("json"))
                request.progress = CliProgress::Json;
            else if (value == QLatin1String("none"))
                request.progress = CliProgress::None;
            else
                return Refuse(request,
                              QStringLiteral("--progress '%1': use bar, json or none").arg(value));
            break;
        case Option::Quiet:
            request.quiet = true;
            break;
        }
    }

    switch (request.verb) {
    case CliVerb::Probe:
        if (positional.isEmpty())
            return Refuse(request, QStringLiteral("probe needs at least one file"));
        for (const QString& path : std::as_const(positional)) {
            CliInput input;
            input.path = path;
            request.inputs << input;
        }
        break;
    case CliVerb::Cut:
        if (positional.size() != 1)
            return Refuse(request, positional.isEmpty()
                                       ? QStringLiteral("cut needs a file")
                                       : QStringLiteral("cut takes one file; join takes several"));
        cutInput.path = positional.first();
        if (cutInput.start >= 0 && cutInput.end >= 0 && cutInput.end <= cutInput.start)
            return Refuse(request, EmptyRangeText(cutInput.start, cutInput.end, QString()));
        request.inputs << cutInput;
        break;
    case CliVerb::Join:
        if (positional.isEmpty())
            return Refuse(request, QStringLiteral("join needs at least one file"));
        for (const QString& argument : std::as_const(positional)) {
            CliInput input;
            QString error;
            if (!ParseInputArgument(argument, exists, &input, &error))
                return Refuse(request, error);
            request.inputs << input;
        }
        break;
    case CliVerb::Run:
        if (positional.size() != 1)
            return Refuse(request, QStringLiteral("run takes one job list"));
        request.jobList = positional.first();
        break;
    default:
        break;
    }

    if (hasFormat) {
        const int format = CountOf(formatText);
        if (format < 1 || format > request.inputs.size())
            return Refuse(request, QStringLiteral("--format '%1': give the number of an input, "
                                                  "1 to %2")
                                       .arg(formatText)
                                       .arg(request.inputs.size()));
        request.formatIndex = format - 1;
    }
    if (request.quiet && request.progress == CliProgress::Json)
        return Refuse(request, QStringLiteral("--quiet and --progress=json exclude each other"));
    return request;
}

QString CliUsageLine(CliVerb verb)
{
    const QString program = QStringLiteral("usage: splicora-cli ");
    const QString common =
        QStringLiteral(" [--mode exact|keyframe] [-o OUT [--overwrite]] [--progress=bar|json|none] "
                       "[-q]");
    switch (verb) {
    case CliVerb::Probe:
        return program + QStringLiteral("probe FILE... [--json]");
    case CliVerb::Cut:
        return program + QStringLiteral("cut FILE [--start T] [--end T] [--track N]") + common;
    case CliVerb::Join:
        return program + QStringLiteral("join FILE[@START-END][#TRACK]... [--format N]") + common;
    case CliVerb::Run:
        return program + QStringLiteral("run LIST.json") + common;
    default:
        return program + QStringLiteral("probe|cut|join|run ... (splicora-cli --help tells more)");
    }
}

QString CliUsageText()
{
    // English only, like the window's own help: no language is loaded here.
    return QStringLiteral(
        "Usage: splicora-cli COMMAND [options]\n"
        "Cuts one video or audio file, or joins several into one, as the Splicora window\n"
        "does: files of one format without re-encoding, differing formats re-encoded to\n"
        "the format of one of them.\n"
        "\n"
        "Commands:\n"
        "  probe FILE... [--json]\n"
        "      What the window's list shows of each file: length, container, picture\n"
        "      and sound streams.\n"
        "  cut FILE [--start T] [--end T] [--track N]\n"
        "      Keeps one range of one file (by default all of it).\n"
        "  join FILE[@START-END][#TRACK]... [--format N]\n"
        "      Joins the files in order, each cut to its range. START or END may be\n"
        "      left out (\"a.mp4@-10\", \"b.mp4@5-\"); #TRACK picks the sound track.\n"
        "  run LIST.json\n"
        "      Runs a list saved by the window; files that are gone are skipped.\n"
        "\n"
        "Options:\n"
        "  --start T, --end T    Where the kept range starts and ends. T is SS, SS.mmm,\n"
        "                        MM:SS(.mmm) or HH:MM:SS(.mmm).\n"
        "  --track N             The sound track to keep, counted from 1 (default 1).\n"
        "  --format N            The input, counted from 1, whose format the result\n"
        "                        takes (default 1).\n"
        "  --mode exact|keyframe exact (default): the result starts on the chosen frame.\n"
        "                        keyframe: nothing is encoded again; each start moves\n"
        "                        back to the keyframe before it.\n"
        "  -o, --output OUT      Writes exactly OUT, whose suffix must be that of the\n"
        "                        output format. Without it the result goes to the\n"
        "                        window's output folder, named as the window names it.\n"
        "  --overwrite           Replaces an existing OUT, once the result is complete.\n"
        "  --progress=bar|json|none\n"
        "                        bar: one line on stderr (the default on a terminal).\n"
        "                        json: one JSON object per update on stdout.\n"
        "  -q, --quiet           Prints nothing but errors.\n"
        "  --json                probe: prints one JSON document.\n"
        "  -h, --help            Shows this help.\n"
        "  -v, --version         Shows the version.\n"
        "\n"
        "Exit status: 0 done, 1 failed, 2 bad usage, 130 interrupted (143 when\n"
        "terminated).\n");
}
