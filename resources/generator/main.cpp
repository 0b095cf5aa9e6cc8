// Draws every picture the program ships into the folder named on the command
// line. Run by the build, so the pictures are never kept as binary files in
// the source tree.

#include "artwork.h"
#include "gifwriter.h"
#include "resources/spriteregions.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

namespace {

bool ensureFolder(const QString& filePath)
{
    return QDir().mkpath(QFileInfo(filePath).absolutePath());
}

bool writePng(const QDir& out, const QString& name, const QImage& image)
{
    const QString path = out.filePath(name);
    if (image.isNull() || !ensureFolder(path)) {
        std::fprintf(stderr, "cannot prepare %s\n", qPrintable(path));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeGif(const QDir& out, const QString& name, const QList<QImage>& frames, QRgb matte,
              int delayCs)
{
    const QString path = out.filePath(name);
    QString error;
    const QByteArray data = Gif::encode(Gif::fromImages(frames, matte, delayCs), &error);
    if (data.isEmpty()) {
        std::fprintf(stderr, "cannot encode %s: %s\n", qPrintable(path), qPrintable(error));
        return false;
    }
    if (!ensureFolder(path)) {
        std::fprintf(stderr, "cannot prepare %s\n", qPrintable(path));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Drawing needs no screen; this also lets the build run on machines
    // without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n",
                     qPrintable(QFileInfo(args.value(0)).fileName()));
        return 2;
    }
    const QDir out(args.at(1));

    bool ok = true;
    for (const Sprites::SheetInfo& sheet : Sprites::kSheets) {
        ok = writePng(out, QString::fromLatin1(sheet.fileName), Artwork::drawSheet(sheet.sheet)) &&
             ok;
    }
    ok =
        writePng(out, QString::fromLatin1(Sprites::kProgramIcon), Artwork::drawProgramIcon()) && ok;
    ok = writePng(out, QString::fromLatin1(Sprites::kComboArrow), Artwork::drawComboArrow()) && ok;
    ok = writePng(out, QString::fromLatin1(Sprites::kMuteIcon), Artwork::drawSpeaker(true)) && ok;
    ok = writePng(out, QString::fromLatin1(Sprites::kSoundIcon), Artwork::drawSpeaker(false)) && ok;
    for (int state = 1; state <= Sprites::kSpinArrowStates; ++state) {
        ok = writePng(out, QStringLiteral("images/arrow/up%1.png").arg(state),
                      Artwork::drawSpinArrow(true, state)) &&
             ok;
        ok = writePng(out, QStringLiteral("images/arrow/down%1.png").arg(state),
                      Artwork::drawSpinArrow(false, state)) &&
             ok;
    }
    ok = writeGif(out, QString::fromLatin1(Sprites::kUpdateBusyAnimation),
                  Artwork::drawDotSpinnerFrames(), Artwork::dotSpinnerMatte(), 10) &&
         ok;
    ok = writeGif(out, QString::fromLatin1(Sprites::kProgressBusyAnimation),
                  Artwork::drawArcSpinnerFrames(), Artwork::arcSpinnerMatte(), 7) &&
         ok;
    return ok ? 0 : 1;
}
