#include "widgets/sprites.h"

#include "resources/rawsheet.h"
#include "widgets/mypushbutton.h"

#include <QCoreApplication>
#include <QDebug>
#include <QHash>
#include <QPair>
#include <QResource>

namespace {

struct SpriteSheets
{
    bool loaded = false;
    QPixmap publicSheet;
    QPixmap public4kSheet;
    // Regions of the public sheet at the sizes asked for (see ScaledSprite).
    QHash<QPair<int, QPair<int, int>>, QPixmap> scaled;
};

SpriteSheets& Sheets()
{
    static SpriteSheets sheets;
    return sheets;
}

// Pixmaps must not outlive the application object that owns their backing
// store, so the sheets are dropped when it goes away rather than at static
// destruction.
void ReleaseSheets()
{
    SpriteSheets& sheets = Sheets();
    sheets.publicSheet = QPixmap();
    sheets.public4kSheet = QPixmap();
    sheets.scaled.clear();
    sheets.loaded = false;
}

QPixmap LoadSheet(Sprites::Sheet which)
{
    const Sprites::SheetInfo& info = Sprites::sheetInfo(which);
    // The unpacked copy first: a PNG of this size takes longer to inflate
    // than the rest of the window takes to build.
    const QResource raw(QString::fromLatin1(info.rawResourcePath));
    if (raw.isValid() && raw.compressionAlgorithm() == QResource::NoCompression) {
        const QImage pixels = RawSheet::decode(raw.data(), raw.size(), info.width, info.height);
        if (!pixels.isNull())
            return QPixmap::fromImage(pixels);
    }
    const QString path = QString::fromLatin1(info.resourcePath);
    QPixmap sheet(path);
    if (sheet.isNull()) {
        qDebug("Cannot load the sprite sheet %s", qUtf8Printable(path));
    }
    return sheet;
}

} // namespace

void LoadSpriteSheets()
{
    SpriteSheets& sheets = Sheets();
    if (sheets.loaded) {
        return;
    }
    sheets.loaded = true;
    sheets.publicSheet = LoadSheet(Sprites::Sheet::Public);
    sheets.public4kSheet = LoadSheet(Sprites::Sheet::Public4k);
    qAddPostRoutine(ReleaseSheets);
}

const QPixmap& PublicSprite()
{
    LoadSpriteSheets();
    return Sheets().publicSheet;
}

const QPixmap& Public4kSprite()
{
    LoadSpriteSheets();
    return Sheets().public4kSheet;
}

void ApplySpriteButton(MyPushButton* button, const Sprites::ButtonSprite& sprite,
                       const QPixmap& sheet)
{
    button->setSharedSprite(sheet);
    for (int state = 0; state < Sprites::kButtonStateCount; ++state) {
        const Sprites::Region& r = Sprites::region(sprite.states[state]);
        button->setStateRect(state, r.x, r.y, r.width, r.height);
    }
    button->setType(MyPushButton::kDefaultType);
}

void ApplySpriteButton(MyPushButton* button, const Sprites::ButtonSprite& sprite)
{
    ApplySpriteButton(button, sprite, PublicSprite());
}

QPixmap ScaledSprite(Sprites::RegionId id, const QSize& size)
{
    LoadSpriteSheets();
    SpriteSheets& sheets = Sheets();
    const auto key = qMakePair(static_cast<int>(id), qMakePair(size.width(), size.height()));
    const auto found = sheets.scaled.constFind(key);
    if (found != sheets.scaled.constEnd())
        return found.value();
    QPixmap picture = sheets.publicSheet.copy(Sprites::toRect<QRect>(Sprites::region(id)));
    if (!picture.isNull() && !size.isEmpty() && picture.size() != size)
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    sheets.scaled.insert(key, picture);
    return picture;
}
