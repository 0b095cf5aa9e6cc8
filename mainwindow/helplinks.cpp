#include "mainwindow/helplinks.h"

#include <QFileInfo>
#include <QRegularExpression>

#ifndef SPLICORA_HOMEPAGE_URL
#define SPLICORA_HOMEPAGE_URL ""
#endif
#ifndef SPLICORA_SUPPORT_URL
#define SPLICORA_SUPPORT_URL ""
#endif

namespace {

struct HelpPage
{
    HelpLink link;
    const char* page;       // below help/<code>/
    const char* webAddress; // set by the build; empty for the shipped page
};

constexpr HelpPage kPages[] = {
    {HelpLink::Homepage, "index.html", SPLICORA_HOMEPAGE_URL},
    {HelpLink::HowToCut, "cut.html", ""},
    {HelpLink::HowToJoin, "join.html", ""},
    {HelpLink::Support, "support.html", SPLICORA_SUPPORT_URL},
    {HelpLink::Feedback, "support.html", SPLICORA_SUPPORT_URL},
};

} // namespace

QUrl HelpLinkUrl(HelpLink link, const QString& appFolder, const QString& languageCode)
{
    const HelpPage* entry = &kPages[0];
    for (const HelpPage& page : kPages) {
        if (page.link == link)
            entry = &page;
    }
    if (*entry->webAddress)
        return QUrl(QString::fromUtf8(entry->webAddress));

    const QString page = QString::fromLatin1(entry->page);
    const QString code = languageCode.toUpper();
    // The code comes from a file the user may edit; it names a folder and
    // must not lead out of the help folder.
    static const QRegularExpression plainCode(QStringLiteral("\\A[A-Z_]{1,16}\\z"));
    QString path = appFolder + QStringLiteral("/help/") + code + QLatin1Char('/') + page;
    if (!plainCode.match(code).hasMatch() || !QFileInfo(path).isFile())
        path = appFolder + QStringLiteral("/help/EN/") + page;
    return QUrl::fromLocalFile(path);
}
