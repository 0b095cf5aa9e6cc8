#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line.
struct CommandLine
{
    bool showVersion = false;
    bool showHelp = false;
    // Media files to add, in order, as absolute paths (file URLs, as some
    // file managers pass them, are turned into paths).
    QStringList files;
    // Set when the arguments make no sense; shown with the help text.
    QString error;
};

// `arguments` as the process got them, the program's name first.
// `workingFolder` resolves relative paths.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& workingFolder);

// "Splicora 2.0.54".
QString VersionText();
QString HelpText();
