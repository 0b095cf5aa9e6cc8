#pragma once

#include <QString>
#include <QUrl>

// The pages the main menu and the feedback button open.
enum class HelpLink
{
    Homepage,
    HowToCut,
    HowToJoin,
    Support,
    Feedback,
};

// The address of a help page: the page shipped in the application folder in
// the current language ("help/<code>/<page>"), else in English. A build may
// point the homepage and the support pages at a web site instead.
QUrl HelpLinkUrl(HelpLink link, const QString& appFolder, const QString& languageCode);
