#include "mainwindow/languages.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <QTranslator>

namespace {

const QString kEnglish = QStringLiteral("EN");

// Created on first use and kept for the life of the process: the toolkit
// holds on to installed translators.
QTranslator& OwnTranslator()
{
    static QTranslator* translator = new QTranslator(QCoreApplication::instance());
    return *translator;
}

QTranslator& ToolkitTranslator()
{
    static QTranslator* translator = new QTranslator(QCoreApplication::instance());
    return *translator;
}

// Installs `translator` with the file loaded, or leaves it out when the file
// does not load, so no text of the previous language stays behind.
bool Reinstall(QTranslator& translator, const QString& file, const QString& folder = QString())
{
    QCoreApplication::removeTranslator(&translator);
    const bool loaded = folder.isEmpty() ? translator.load(file) : translator.load(file, folder);
    if (loaded)
        QCoreApplication::installTranslator(&translator);
    return loaded;
}

// A code is part of a file name and must stay one.
bool IsPlainCode(const QString& code)
{
    static const QRegularExpression plain(QStringLiteral("\\A[A-Za-z_]{1,16}\\z"));
    return plain.match(code).hasMatch();
}

} // namespace

QString LanguageListPath(const QString& appFolder)
{
    return appFolder + QStringLiteral("/Lang/Kelvane/Lang_config");
}

QString LanguageFilePath(const QString& appFolder, const QString& code)
{
    return appFolder + QStringLiteral("/Lang/Kelvane/Lang_") + code + QStringLiteral(".qm");
}

QList<LanguageEntry> ParseLanguageList(QIODevice* device)
{
    QList<LanguageEntry> entries;
    QTextStream stream(device);
    stream.setEncoding(QStringConverter::Utf8);
    for (;;) {
        const QString line = stream.readLine(512);
        if (line.isEmpty())
            break;
        const QStringList pieces = line.trimmed().split(QLatin1Char('='));
        const QString code = pieces.value(0).trimmed();
        if (pieces.size() >= 2 && IsPlainCode(code))
            entries.append({code, pieces.at(1).trimmed()});
        if (stream.atEnd())
            break;
    }
    return entries;
}

QList<LanguageEntry> ReadLanguageList(const QString& appFolder)
{
    QFile file(LanguageListPath(appFolder));
    QList<LanguageEntry> entries;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        entries = ParseLanguageList(&file);
    if (entries.isEmpty())
        entries.append({kEnglish, QStringLiteral("English")});
    return entries;
}

QString CodeOfStoredLanguage(const QString& stored)
{
    return stored.left(2).toUpper();
}

QString StoredLanguageWithCode(const QString& stored, const QString& code)
{
    return code + stored.mid(2);
}

bool NeedsCjkFont(const QString& code)
{
    const QString upper = code.toUpper();
    return upper == QLatin1String("ZH") || upper == QLatin1String("JA") ||
           upper == QLatin1String("KO");
}

QString ToolkitTranslationName(const QString& code)
{
    const QString lower = code.toLower();
    if (lower == QLatin1String("zh"))
        return QStringLiteral("qtbase_zh_CN");
    return QStringLiteral("qtbase_") + lower;
}

QString InstallLanguage(const QString& appFolder, const QString& code)
{
    QString applied = code;
    QString file = LanguageFilePath(appFolder, code);
    if (!IsPlainCode(code) || !QFileInfo::exists(file)) {
        applied = kEnglish;
        file = LanguageFilePath(appFolder, kEnglish);
    }
    if (!Reinstall(OwnTranslator(), file) && applied != kEnglish) {
        // A damaged file would leave English texts under another language's
        // name and fonts.
        qDebug("language file %s does not load", qUtf8Printable(file));
        applied = kEnglish;
        Reinstall(OwnTranslator(), LanguageFilePath(appFolder, kEnglish));
    }
    // The file dialog and the standard buttons speak the language too.
    Reinstall(ToolkitTranslator(), ToolkitTranslationName(applied),
              QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return applied;
}
