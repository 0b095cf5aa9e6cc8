#pragma once

#include <QList>
#include <QString>

class QIODevice;

// One entry of the language list file: the code names the translation file
// ("Lang_" + code + ".qm"), the name is what the Language menu shows.
struct LanguageEntry
{
    QString code;
    QString name;
};

// The language list file and a language's translation file, below the
// application folder.
QString LanguageListPath(const QString& appFolder);
QString LanguageFilePath(const QString& appFolder, const QString& code);

// Reads a list file: one "CODE=Name" per line, UTF-8. Lines are trimmed and
// read up to 512 characters; reading stops at the first empty line. A line
// without "=", or whose code is not plain letters, names no language and is
// skipped.
QList<LanguageEntry> ParseLanguageList(QIODevice* device);
// The list file of the application folder; English alone when it cannot be
// read or names no language.
QList<LanguageEntry> ReadLanguageList(const QString& appFolder);

// The stored "Language" value holds the code in its first two characters.
QString CodeOfStoredLanguage(const QString& stored);
// `stored` with its first two characters replaced by `code`; an empty value
// becomes the code, a longer one keeps its tail.
QString StoredLanguageWithCode(const QString& stored, const QString& code);

// Whether the language is written in a script the Latin interface fonts do
// not cover, so the CJK font must be used.
bool NeedsCjkFont(const QString& code);

// The base name of the toolkit's own translation for a language code
// ("qtbase_de"; Chinese is the simplified "qtbase_zh_CN").
QString ToolkitTranslationName(const QString& code);

// Loads the language's translation and the toolkit's own one into the two
// process-wide translators and installs them. Returns the code applied: "EN"
// when the language's file is missing or does not load.
QString InstallLanguage(const QString& appFolder, const QString& code);
