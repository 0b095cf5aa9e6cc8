#include "skin/skinpalette.h"

#include "app/settings.h"
#include "skin/scale.h"

#include <QColor>

namespace {

constexpr const char* kHueShiftKey = "SkincolorDxy";
constexpr const char* kDefaultHueShift = "-6";
constexpr const char* kFallbackKey = "leftbgcolor";

struct NamedColour
{
    const char* key;
    const char* base;
};

// The untinted palette. Keys are lower case, as lookups are.
constexpr NamedColour kBaseColours[] = {
    {"leftbgcolor", "#2a3137"},
    {"rightbgcolor", "#161b1f"},
    {"company_color", "#feffff"},
    {"txtcolor_main", "#feffff"},
    {"txtcolor_main2", "#f8fdff"},
    {"txtcolor_main3", "#f8fdff"},
    {"linecolor", "#080b10"},
    {"linecolor_select", "#3d4751"},
    {"dlprogress_color", "#0477d4"},
    {"dlprogress_bgcolor", "#4f5f6f"},
    {"trimslider_bgcolor", "#787878"},
    {"trimslider_lightcolor", "#007adf"},
    {"trimslider_trimcolor", "#007adf"},
    {"item_selectbgcolor", "#3d4751"},
};

using SchemeRow = const char * [SkinPalette::kSchemeCount];

struct BaseStateColours
{
    SchemeRow text;
    SchemeRow background;
    SchemeRow border;
};

// Button colours by state (normal, hover, third) and role; the column is the
// button scheme.
constexpr BaseStateColours kBaseButtonColours[SkinPalette::kStateCount] = {
    {{"#ffffff", "#ffffff", "#ffffff", "#ffffff", "#555555"},
     {"#262c33", "#293138", "#16191e", "#0078d7", "#ffffff"},
     {"#39434d", "#778a9e", "#647585", "#0078d7", "#a5a5a5"}},
    {{"#ffffff", "#ffffff", "#ffffff", "#ffffff", "#333333"},
     {"#0076d6", "#171b1f", "#101317", "#0065c5", "#ffffff"},
     {"#005aa3", "#505e6b", "#647585", "#005aa3", "#5b5960"}},
    {{"#ffffff", "#ffffff", "#47505a", "#cccfd2", "#bbbbbb"},
     {"#39434d", "#2a3137", "#2b323c", "#505e6b", "#ffffff"},
     {"#718599", "#505e6b", "#2b323c", "#3d4752", "#bbbbbb"}},
};

void ShiftRow(const SchemeRow& base, std::array<QString, SkinPalette::kSchemeCount>& out, int shift)
{
    for (int i = 0; i < SkinPalette::kSchemeCount; ++i) {
        out[i] = ShiftHue(QString::fromLatin1(base[i]), shift);
    }
}

} // namespace

QString ShiftHue(const QString& colour, int shift)
{
    if (colour.trimmed() == QLatin1String("none")) {
        return colour;
    }
    const QColor parsed(colour);
    // Text that names no colour would otherwise come out as black and paint
    // a window the user cannot read; leaving it alone keeps the fault visible
    // in the style sheet instead.
    if (!parsed.isValid()) {
        return colour;
    }
    int hue = 0;
    int saturation = 0;
    int value = 0;
    int alpha = 0;
    parsed.getHsv(&hue, &saturation, &value, &alpha);

    // Pinned, not wrapped: a big shift runs into the red end of the circle.
    // A grey's hue of -1 becomes 0, which with its zero saturation leaves the
    // grey as it was. Computed in 64 bits so no shift can overflow.
    const long long shifted = static_cast<long long>(hue) + shift;
    const int newHue = shifted <= 0 ? 0 : (shifted >= 360 ? 359 : static_cast<int>(shifted));

    const QColor result = QColor::fromHsv(newHue, saturation, value, alpha);
    return QString::asprintf("#%02X%02X%02X", result.red(), result.green(), result.blue());
}

SkinPalette* SkinPalette::instance()
{
    // Created on first use, after the settings store can be opened, and kept
    // for the life of the process.
    static SkinPalette palette(ReadHueShift());
    return &palette;
}

int SkinPalette::ReadHueShift()
{
    return ParseHueShift(
        ReadSetting(QString::fromLatin1(kHueShiftKey), QString::fromLatin1(kDefaultHueShift)));
}

int SkinPalette::ParseHueShift(const QString& text)
{
    bool ok = false;
    const int shift = text.trimmed().toInt(&ok);
    return ok ? shift : 0;
}

SkinPalette::SkinPalette(int hueShift) : m_hueShift(hueShift)
{
    for (const NamedColour& entry : kBaseColours) {
        m_colours[QString::fromLatin1(entry.key)] =
            ShiftHue(QString::fromLatin1(entry.base), m_hueShift);
    }
    for (int state = 0; state < kStateCount; ++state) {
        ShiftRow(kBaseButtonColours[state].text, m_buttonColours[state].text, m_hueShift);
        ShiftRow(kBaseButtonColours[state].background, m_buttonColours[state].background,
                 m_hueShift);
        ShiftRow(kBaseButtonColours[state].border, m_buttonColours[state].border, m_hueShift);
    }
}

QString SkinPalette::colorOf(const QString& key) const
{
    const auto found = m_colours.find(key.toLower());
    if (found != m_colours.end()) {
        return found->second;
    }
    return m_colours.at(QString::fromLatin1(kFallbackKey));
}

QString SkinPalette::buttonStyleSheet(int state, int scheme, int fontSize, int fontWeight,
                                      int radius, bool left, bool top, bool right,
                                      bool bottom) const
{
    if (state < 0 || state >= kStateCount) {
        state = Normal;
    }
    if (scheme < 0 || scheme >= kSchemeCount) {
        scheme = 0;
    }
    const StateColours& colours = m_buttonColours[state];
    const QString& border = colours.border[scheme];

    QString sheet = QStringLiteral("QLabel{");
    if (fontSize > 0) {
        sheet += QStringLiteral("font-size:%1px;").arg(fontSize);
    }
    if (fontWeight > 0) {
        sheet += QStringLiteral("font-weight:%1;").arg(fontWeight);
    }
    if (radius > 0) {
        sheet += QStringLiteral("border-radius:%1px;").arg(radius);
    }
    sheet += QStringLiteral("color:") + colours.text[scheme] + QLatin1Char(';');
    sheet += QStringLiteral("background-color:") + colours.background[scheme] + QLatin1Char(';');

    const struct
    {
        const char* side;
        bool on;
    } sides[] = {{"left", left}, {"top", top}, {"right", right}, {"bottom", bottom}};
    for (const auto& side : sides) {
        const QString name = QStringLiteral("border-") + QLatin1String(side.side);
        if (side.on) {
            sheet += name + QStringLiteral(":1px solid ") + border + QLatin1Char(';');
        } else {
            sheet += name + QStringLiteral(": none;");
        }
    }
    sheet += QLatin1Char('}');
    return sheet;
}

QString SkinColour(const char* key)
{
    return SkinPalette::instance()->colorOf(QLatin1String(key));
}

QString MenuStyleSheet(int minItemWidth)
{
    return QStringLiteral("QMenu{background-color: #2a3139;border: 1px solid #08080a;}") +
           QStringLiteral("QMenu::item{min-width:%1px;height:%2px;background-color: "
                          "#2a3139;color:#ffffff;font-size: %3px;padding-left: 8px;padding-right: "
                          "2px;}")
               .arg(Scaled(minItemWidth))
               .arg(Scaled(30))
               .arg(Scaled(12)) +
           QStringLiteral("QMenu::item:selected{background:#3d4751;color:#ffffff;}"
                          "QMenu::separator{height: 1px;background-color:#3d4751;margin-left: "
                          "5px;margin-right: 5px;}"
                          // Greyed, not white: an entry that cannot act must look it.
                          "QMenu::item:disabled{color:#6b7785;}");
}
