// Draws every picture the program ships into the folder named on the command
// line. Run by the build, so the pictures are never kept as binary files in
// the source tree.

#include "artwork.h"
#include "gifwriter.h"
#include "resources/rawsheet.h"
#include "resources/spriteregions.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QList>
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

bool writeFile(const QDir& out, const QString& name, const QByteArray& data)
{
    const QString path = out.filePath(name);
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

bool writeGif(const QDir& out, const QString& name, const QList<QImage>& frames, QRgb matte,
              int delayCs)
{
    QString error;
    const QByteArray data = Gif::encode(Gif::fromImages(frames, matte, delayCs), &error);
    if (data.isEmpty()) {
        std::fprintf(stderr, "cannot encode %s: %s\n", qPrintable(out.filePath(name)),
                     qPrintable(error));
        return false;
    }
    return writeFile(out, name, data);
}

// The program icon for the desktop, laid out as an icon theme folder
// (<size>x<size>/apps/, scalable/apps/) so it installs as it is. Desktops
// pick the nearest of these sizes rather than scaling one picture.
bool writeDesktopIcons(const QDir& out, const QList<int>& sizes)
{
    const QString name = QStringLiteral("splicora");
    bool ok = true;
    for (const int size : sizes) {
        ok = writePng(out, QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(name),
                      Artwork::drawProgramIcon(size)) &&
             ok;
    }
    ok = writeFile(out, QStringLiteral("scalable/apps/%1.svg").arg(name),
                   Artwork::programIconSvg()) &&
         ok;
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    // Drawing needs no screen; this also lets the build run on machines
    // without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 3 && args.at(1) == QLatin1String("--icons")) {
        QList<int> sizes;
        for (const QString& arg : args.mid(3)) {
            bool number = false;
            const int size = arg.toInt(&number);
            if (!number || size < 16 || size > 1024) {
                std::fprintf(stderr, "not an icon size: %s\n", qPrintable(arg));
                return 2;
            }
            sizes << size;
        }
        return writeDesktopIcons(QDir(args.at(2)), sizes) ? 0 : 1;
    }
    if (args.size() != 2) {
        const QByteArray name = QFileInfo(args.value(0)).fileName().toLocal8Bit();
        std::fprintf(stderr,
                     "usage: %s <output folder>\n       %s --icons <icon theme folder> <size>...\n",
                     name.constData(), name.constData());
        return 2;
    }
    const QDir out(args.at(1));

    bool ok = true;
    for (const Sprites::SheetInfo& sheet : Sprites::kSheets) {
        const QImage picture = Artwork::drawSheet(sheet.sheet);
        ok = writePng(out, QString::fromLatin1(sheet.fileName), picture) && ok;
        ok =
            writeFile(out, QString::fromLatin1(sheet.rawFileName), RawSheet::encode(picture)) && ok;
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
