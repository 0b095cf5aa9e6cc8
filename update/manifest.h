#pragma once

#include <QList>
#include <QString>

// Version texts compare part by part as numbers ("2.1" > "2.0.54",
// "2.0.100" > "2.0.99"); a missing part counts 0, a part that is not a
// number counts 0, and no length of digits overflows. Returns -1, 0 or 1.
int CompareVersions(const QString& a, const QString& b);

// One version entry of the manifest's platform block.
struct ManifestEntry
{
    QString version;
    QString size;
    QString releaseDate;
    QString language; // lower case
    QString downloadUrl;
    QString md5;    // upper case hexadecimal, may be empty
    QString sha256; // upper case hexadecimal, may be empty
    bool mustUpdate = false;
    QString changeText; // the entry's "Info" lines, each ended by "\n"
};

struct Manifest
{
    bool valid = false;           // well-formed XML
    QString lastVersion;          // the version offered to this mode of check
    QList<ManifestEntry> entries; // of the platform block, in document order
};

// Reads a manifest. `platform` names the block used ("linux", "windows");
// the automatic check is offered "AutoCheckVersion" (falling back to
// "LastVersion"), the manual one "LastVersion".
Manifest ParseManifest(const QByteArray& body, const QString& platform, bool automatic);

// Where an installer comes from and what it must hash to.
struct DownloadSource
{
    QString url;
    QString md5;
    QString sha256;
};

// What the update dialog offers, if anything.
struct UpdateOffer
{
    bool available = false;
    QString version;
    bool mustUpdate = false;
    QString changeLog;
    // The chosen version's entries: the user's language first, then the
    // others in document order. Each carries its own checksums.
    QList<DownloadSource> sources;
};

// Decides against the running version and the interface language.
UpdateOffer ChooseUpdate(const Manifest& manifest, const QString& currentVersion,
                         const QString& languageCode);
