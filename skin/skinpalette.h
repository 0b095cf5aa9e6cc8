#pragma once

#include <QString>

#include <array>
#include <map>

// Moves the hue of a colour text ("#rrggbb" or another colour name the toolkit
// knows) by `shift` degrees and returns it as "#RRGGBB". The new hue is pinned
// to 0..359 rather than wrapped, and a colour without hue (a grey) keeps its
// value. "none" (white space around it allowed) and text that names no colour
// come back unchanged.
QString ShiftHue(const QString& colour, int shift);

// The current palette's colour for `key`.
QString SkinColour(const char* key);

// The dark menu look shared by the main menu and the row menu; items are at
// least `minItemWidth` units wide.
QString MenuStyleSheet(int minItemWidth);

// The one colour palette of the program: a fixed dark base palette tinted as a
// whole by the hue shift from the settings ("SkincolorDxy", default "-6").
// Windows look colours up by key and ask for the style sheets of their
// push buttons here.
class SkinPalette
{
public:
    // Button states of the colour table; the third is "pressed" for some
    // buttons and "disabled" for others.
    enum ButtonState
    {
        Normal = 0,
        Hover = 1,
        Third = 2
    };
    static constexpr int kStateCount = 3;
    static constexpr int kSchemeCount = 5;

    // The palette of the process, created on the first call with the hue shift
    // read from the settings store; later changes of the setting take effect
    // at the next start.
    static SkinPalette* instance();

    // The hue shift stored under "SkincolorDxy" (default "-6"); text that is
    // not an integer counts as 0.
    static int ReadHueShift();
    static int ParseHueShift(const QString& text);

    explicit SkinPalette(int hueShift);

    int hueShift() const { return m_hueShift; }

    // The colour for a key such as "leftbgcolor" or "txtcolor_main", compared
    // without regard to case. An unknown key answers with "leftbgcolor".
    QString colorOf(const QString& key) const;

    // The style sheet of one state of a custom push button:
    // QLabel{font-size:..px;font-weight:..;border-radius:..px;color:..;
    // background-color:..;border-left:..;border-top:..;border-right:..;
    // border-bottom:..;}. Size, weight and radius are left out when not
    // positive. A state outside 0..2 draws as Normal; a scheme outside 0..4
    // as scheme 0. fontSize is in pixels, already scaled.
    QString buttonStyleSheet(int state, int scheme, int fontSize, int fontWeight, int radius,
                             bool left, bool top, bool right, bool bottom) const;

private:
    struct StateColours
    {
        std::array<QString, kSchemeCount> text;
        std::array<QString, kSchemeCount> background;
        std::array<QString, kSchemeCount> border;
    };

    int m_hueShift = 0;
    std::map<QString, QString> m_colours;
    std::array<StateColours, kStateCount> m_buttonColours;
};
