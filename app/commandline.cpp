#include "app/commandline.h"

#include <QCommandLineParser>
#include <QDir>
#include <QUrl>

namespace {

// One parser for parsing and for the help text, so the two never differ.
void Describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Cuts one video or audio file, or joins several into one."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("Media files to add to the list, in order."),
                                 QStringLiteral("[FILES...]"));
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments, const QString& workingFolder)
{
    CommandLine line;
    QCommandLineParser parser;
    Describe(parser);
    // "--" ends the options, so a file named "-x.mp4" can still be passed.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    if (!parser.parse(arguments)) {
        line.error = parser.errorText();
        return line;
    }
    line.showVersion = parser.isSet(QStringLiteral("version"));
    line.showHelp =
        parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"));
    const QDir base(workingFolder);
    for (const QString& argument : parser.positionalArguments()) {
        if (argument.isEmpty())
            continue;
        const QUrl url(argument);
        QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        line.files << QDir::cleanPath(base.absoluteFilePath(path));
    }
    return line;
}

QString VersionText()
{
    return QStringLiteral("Splicora ") + QStringLiteral(SPLICORA_VERSION);
}

QString HelpText()
{
    // Written out rather than asked of the parser, which needs a running
    // application object and names the program after however it was started.
    // English only: it is printed before any language is loaded.
    return QStringLiteral("Usage: splicora [options] [FILES...]\n") +
           QStringLiteral("Cuts one video or audio file, or joins several into one.") +
           QStringLiteral("\n\n") + QStringLiteral("Options:") +
           QStringLiteral("\n  -h, --help     ") + QStringLiteral("Shows this help and exits.") +
           QStringLiteral("\n  -v, --version  ") + QStringLiteral("Shows the version and exits.") +
           QStringLiteral("\n\n") + QStringLiteral("Arguments:") +
           QStringLiteral("\n  FILES          ") +
           QStringLiteral("Media files to add to the list, in order. When Splicora "
                          "is already running, they are added to its window.") +
           QStringLiteral("\n");
}
