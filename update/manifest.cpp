#include "update/manifest.h"

#include <QXmlStreamReader>

#include <algorithm>

namespace {

// A part's value as digits without leading zeros; empty for zero and for
// anything that is not a number.
QString PartDigits(const QString& part)
{
    const QString trimmed = part.trimmed();
    if (trimmed.isEmpty())
        return QString();
    for (const QChar c : trimmed) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QString();
    }
    int first = 0;
    while (first < trimmed.size() && trimmed.at(first) == QLatin1Char('0'))
        ++first;
    return trimmed.mid(first);
}

QString Attribute(const QXmlStreamAttributes& attributes, const char* name)
{
    return attributes.value(QLatin1String(name)).toString();
}

} // namespace

int CompareVersions(const QString& a, const QString& b)
{
    const QStringList left = a.split(QLatin1Char('.'));
    const QStringList right = b.split(QLatin1Char('.'));
    const qsizetype parts = std::max(left.size(), right.size());
    for (qsizetype i = 0; i < parts; ++i) {
        const QString x = PartDigits(left.value(i));
        const QString y = PartDigits(right.value(i));
        // Without leading zeros the longer number is the larger one.
        if (x.size() != y.size())
            return x.size() < y.size() ? -1 : 1;
        const int order = x.compare(y);
        if (order != 0)
            return order < 0 ? -1 : 1;
    }
    return 0;
}

Manifest ParseManifest(const QByteArray& body, const QString& platform, bool automatic)
{
    Manifest manifest;
    QXmlStreamReader xml(body);
    int depth = 0;
    bool inPlatform = false;
    ManifestEntry* entry = nullptr;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (depth == 2) {
                inPlatform = Attribute(attributes, "Name").toLower() == platform.toLower();
                if (inPlatform) {
                    const QString last = Attribute(attributes, "LastVersion");
                    const QString offered =
                        automatic ? Attribute(attributes, "AutoCheckVersion") : last;
                    // Several blocks of one platform: the last one read wins.
                    manifest.lastVersion = offered.isEmpty() ? last : offered;
                }
            } else if (depth == 3 && inPlatform) {
                ManifestEntry read;
                read.version = Attribute(attributes, "Ver").trimmed();
                read.size = Attribute(attributes, "Size");
                read.releaseDate = Attribute(attributes, "ReleaseDate");
                read.language = Attribute(attributes, "Lang").trimmed().toLower();
                read.downloadUrl = Attribute(attributes, "DLURL").trimmed();
                read.md5 = Attribute(attributes, "DLMD5").trimmed().toUpper();
                read.sha256 = Attribute(attributes, "DLSHA256").trimmed().toUpper();
                read.mustUpdate =
                    Attribute(attributes, "IsMustUpdate").trimmed() == QLatin1String("1");
                manifest.entries.append(read);
                entry = &manifest.entries.last();
            } else if (depth == 4 && inPlatform && entry) {
                entry->changeText += Attribute(attributes, "Info") + QLatin1Char('\n');
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 2)
                inPlatform = false;
            else if (depth == 3)
                entry = nullptr;
            --depth;
        }
    }
    manifest.valid = !xml.hasError() && depth == 0 && !body.trimmed().isEmpty();
    if (!manifest.valid) {
        manifest.lastVersion.clear();
        manifest.entries.clear();
    }
    return manifest;
}

UpdateOffer ChooseUpdate(const Manifest& manifest, const QString& currentVersion,
                         const QString& languageCode)
{
    UpdateOffer offer;
    const QString version = manifest.lastVersion.trimmed();
    if (!manifest.valid || version.isEmpty() || CompareVersions(version, currentVersion) <= 0)
        return offer;

    const QString language = languageCode.toLower();
    QList<const ManifestEntry*> chosen; // the offered version, own language first
    for (const ManifestEntry& entry : manifest.entries) {
        if (CompareVersions(entry.version, version) != 0)
            continue;
        chosen.append(&entry);
    }
    // Stable: the user's language's entries stay ahead of the rest.
    std::stable_partition(chosen.begin(), chosen.end(),
                          [&](const ManifestEntry* entry) { return entry->language == language; });
    if (chosen.isEmpty())
        return offer;

    offer.available = true;
    offer.version = version;
    offer.mustUpdate = std::any_of(chosen.begin(), chosen.end(),
                                   [](const ManifestEntry* entry) { return entry->mustUpdate; });
    for (const ManifestEntry* entry : chosen) {
        if (!entry->downloadUrl.isEmpty())
            offer.sources.append({entry->downloadUrl, entry->md5, entry->sha256});
    }

    // Every newer version the user skipped, newest first, in the user's
    // language where the manifest has it, else in the first language given.
    QList<const ManifestEntry*> log;
    for (const ManifestEntry& entry : manifest.entries) {
        if (CompareVersions(entry.version, currentVersion) <= 0)
            continue;
        const auto same = std::find_if(log.begin(), log.end(), [&](const ManifestEntry* seen) {
            return CompareVersions(seen->version, entry.version) == 0;
        });
        if (same == log.end())
            log.append(&entry);
        else if (entry.language == language && (*same)->language != language)
            *same = &entry;
    }
    std::stable_sort(log.begin(), log.end(), [](const ManifestEntry* a, const ManifestEntry* b) {
        return CompareVersions(a->version, b->version) > 0;
    });
    for (const ManifestEntry* entry : log) {
        offer.changeLog += QStringLiteral("Ver: ") + entry->version + QStringLiteral(" (Build: ") +
                           entry->releaseDate + QStringLiteral(")\n") + entry->changeText +
                           QStringLiteral("\n\n");
    }
    return offer;
}
