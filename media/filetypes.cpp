#include "filetypes.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <vector>

namespace {

// A whole-text expression for a wildcard pattern in which "*" matches any
// characters, path separators included. The toolkit's own conversion stops
// "*" at "/", which would reject every path that has a folder in it.
QRegularExpression WildcardExpression(const QString& pattern)
{
    QString expression;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('*'))
            expression += QLatin1String(".*");
        else if (c == QLatin1Char('?'))
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString(c));
    }
    // Dot-matches-everything: a file name on Linux may contain a line break.
    QRegularExpression compiled(QRegularExpression::anchoredPattern(expression),
                                QRegularExpression::DotMatchesEverythingOption);
    compiled.optimize();
    return compiled;
}

std::vector<QRegularExpression> CompileAll(const QStringList& patterns)
{
    std::vector<QRegularExpression> compiled;
    compiled.reserve(static_cast<size_t>(patterns.size()));
    for (const QString& pattern : patterns)
        compiled.push_back(WildcardExpression(pattern));
    return compiled;
}

int MatchesAny(const std::vector<QRegularExpression>& expressions, const QString& path)
{
    for (const QRegularExpression& expression : expressions) {
        if (expression.match(path).hasMatch())
            return 1;
    }
    return -1;
}

} // namespace

const QStringList& VideoPatterns()
{
    static const QStringList patterns = {
        QStringLiteral("*.webm"), QStringLiteral("*.asf"),  QStringLiteral("*.wmv"),
        QStringLiteral("*.vob"),  QStringLiteral("*.ts"),   QStringLiteral("*.trp"),
        QStringLiteral("*.tod"),  QStringLiteral("*.td"),   QStringLiteral("*.rmvb"),
        QStringLiteral("*.rm"),   QStringLiteral("*.ra"),   QStringLiteral("*.mts"),
        QStringLiteral("*.mpg"),  QStringLiteral("*.mpeg"), QStringLiteral("*.mp4"),
        QStringLiteral("*.mov"),  QStringLiteral("*.mod"),  QStringLiteral("*.mkv"),
        QStringLiteral("*.m4v"),  QStringLiteral("*.m2ts"), QStringLiteral("*.flv"),
        QStringLiteral("*.dv"),   QStringLiteral("*.avi"),  QStringLiteral("*.3gp"),
        QStringLiteral("*.3g2"),  QStringLiteral("*.ogv"),  QStringLiteral("*.mxf"),
    };
    return patterns;
}

const QStringList& AudioPatterns()
{
    static const QStringList patterns = {
        QStringLiteral("*.amr"),  QStringLiteral("*.ac3"),  QStringLiteral("*.aac"),
        QStringLiteral("*.wma"),  QStringLiteral("*.wav"),  QStringLiteral("*.ra"),
        QStringLiteral("*.ogg"),  QStringLiteral("*.mp3"),  QStringLiteral("*.mp2"),
        QStringLiteral("*.mka"),  QStringLiteral("*.m4a"),  QStringLiteral("*.iff"),
        QStringLiteral("*.flac"), QStringLiteral("*.ape"),  QStringLiteral("*.aiff"),
        QStringLiteral("*.oga"),  QStringLiteral("*.opus"), QStringLiteral("*.caf"),
        QStringLiteral("*.wv"),   QStringLiteral("*.m4b"),
    };
    return patterns;
}

int IsVideoFile(const QString& path)
{
    static const std::vector<QRegularExpression> expressions = CompileAll(VideoPatterns());
    return MatchesAny(expressions, path.toLower());
}

int IsAudioFile(const QString& path)
{
    static const std::vector<QRegularExpression> expressions = CompileAll(AudioPatterns());
    // Letter case does not matter: "SONG.MP3" is as much a sound file as
    // "song.mp3", and the dialog lists both.
    return MatchesAny(expressions, path.toLower());
}

QString MediaDialogFilter()
{
    // The historical list first, then every type the program takes, then
    // everything: the probe, not the name, decides what is media, so a
    // recording with an odd or missing extension can still be chosen.
    QStringList all;
    for (const QStringList* list : {&VideoPatterns(), &AudioPatterns()}) {
        for (const QString& pattern : *list) {
            if (!all.contains(pattern))
                all << pattern;
        }
    }
    return QStringLiteral(
               "Media (*.mp4 *.mpeg *.mpg *.asf *.avi *.DV *.flv *.M2TS *.M4V *.mkv *.MOD *.mov "
               "*.MTS *.RA *.3g2 *.3gp *.rm *.rmvb *.td *.TOD *.trp *.ts *.vob *.wmv *asf *.aac "
               "*.ac3 *.aiff *.amr *.ape *.flac *.iff *.m4a *.mka *.mp2 *.mp3 *.ogg *.ra *.wav "
               "*.wma *.aac *.ac3 *.amr *.webm)") +
           QStringLiteral(";;") + QCoreApplication::translate("VCTopWidget", "All media files") +
           QStringLiteral(" (") + all.join(QLatin1Char(' ')) + QStringLiteral(");;") +
           QCoreApplication::translate("VCTopWidget", "All files") + QStringLiteral(" (*)");
}
