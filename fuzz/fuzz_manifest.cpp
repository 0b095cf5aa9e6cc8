// What an update site answers: any bytes must parse to a manifest or none,
// and what is offered from it must come from its own entries only, with
// every download address one of theirs.
#include "update/manifest.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), int(size));
    for (const bool automatic : {false, true}) {
        const Manifest manifest = ParseManifest(body, QStringLiteral("linux"), automatic);
        for (const char* language : {"en", "DE", ""}) {
            const UpdateOffer offer =
                ChooseUpdate(manifest, QStringLiteral("2.0.54"), QString::fromLatin1(language));
            if (offer.available && CompareVersions(offer.version, QStringLiteral("2.0.54")) <= 0)
                std::abort();
            for (const DownloadSource& source : offer.sources) {
                bool listed = false;
                for (const ManifestEntry& entry : manifest.entries)
                    listed = listed || entry.downloadUrl == source.url;
                if (!listed)
                    std::abort();
            }
        }
        // A version compares equal to itself, whatever it holds.
        if (CompareVersions(manifest.lastVersion, manifest.lastVersion) != 0)
            std::abort();
    }
    return 0;
}
