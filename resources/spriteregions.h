#pragma once

// The named pictures of the two shared sprite sheets ":/images/public.png" and
// ":/images/4kpublic.png". Windows crop their button states, icons and
// placeholders out of the sheets by these rectangles; the sheet generator draws
// each picture into exactly its rectangle; the tests check the table against
// the drawn sheets. Plain C++ so that all three can share it without linking
// anything.
//
// Usage from Qt code:
//     const Sprites::Region& r = Sprites::region(Sprites::RegionId::VideoIcon);
//     label->setPixmap(PublicSprite().copy(Sprites::toRect<QRect>(r)));
// and for a four-state button:
//     const Sprites::ButtonSprite& b = Sprites::kTopBarCloseButton;
//     for (int state = 0; state < Sprites::kButtonStateCount; ++state) {
//         const Sprites::Region& r = Sprites::region(b.states[state]);
//         button->setStateRect(state, r.x, r.y, r.width, r.height);
//     }

#include <cstddef>

namespace Sprites {

enum class Sheet
{
    Public,
    Public4k
};

struct SheetInfo
{
    Sheet sheet;
    const char* name;            // short name used in messages and test rows
    const char* resourcePath;    // where the program reads it
    const char* fileName;        // path below the generator's output folder
    const char* rawResourcePath; // the same pixels unpacked (see rawsheet.h)
    const char* rawFileName;
    int width;
    int height;
};

// Large enough for every region below, with room to grow.
inline constexpr int kPublicSheetWidth = 1280;
inline constexpr int kPublicSheetHeight = 576;
inline constexpr int kPublic4kSheetWidth = 320;
inline constexpr int kPublic4kSheetHeight = 128;

inline constexpr SheetInfo kSheets[] = {
    {Sheet::Public, "public", ":/images/public.png", "images/public.png", ":/sheets/public.argb",
     "sheets/public.argb", kPublicSheetWidth, kPublicSheetHeight},
    {Sheet::Public4k, "4kpublic", ":/images/4kpublic.png", "images/4kpublic.png",
     ":/sheets/4kpublic.argb", "sheets/4kpublic.argb", kPublic4kSheetWidth, kPublic4kSheetHeight},
};
inline constexpr std::size_t kSheetCount = sizeof(kSheets) / sizeof(kSheets[0]);

constexpr const SheetInfo& sheetInfo(Sheet sheet)
{
    return kSheets[static_cast<std::size_t>(sheet)];
}

// One entry per distinct rectangle. Where several buttons show the same
// picture they refer to the same entry through the button table further down,
// so no two entries of the table may overlap.
//
// The window-button rows (menu, feedback, close, minimise) hold four cells of
// 48 x 48 at x 0, 48, 96 and 144. The top bar shows them as normal = x 48,
// hover = x 96, pressed = x 144, disabled = x 0, while the list row's delete
// button and the message dialog's close button use the close row as normal =
// x 0, hover = x 48, pressed = x 96, disabled = x 144. The cells are therefore
// named after how they look: Dim, Normal, Hover, Pressed.
enum class RegionId : int
{
    // public sheet, window-button rows
    MenuDim,
    MenuNormal,
    MenuHover,
    MenuPressed,
    FeedbackDim,
    FeedbackNormal,
    FeedbackHover,
    FeedbackPressed,
    CloseDim,
    CloseNormal,
    CloseHover,
    ClosePressed,
    MinimiseDim,
    MinimiseNormal,
    MinimiseHover,
    MinimisePressed,
    // public sheet, output-format mark: not chosen / chosen
    FormatMarkOff,
    FormatMarkOn,
    // public sheet, preview controls (normal, hover, pressed, disabled)
    PlayNormal,
    PlayHover,
    PlayPressed,
    PlayDisabled,
    PauseNormal,
    PauseHover,
    PausePressed,
    PauseDisabled,
    SetStartNormal,
    SetStartHover,
    SetStartPressed,
    SetStartDisabled,
    SetEndNormal,
    SetEndHover,
    SetEndPressed,
    SetEndDisabled,
    // public sheet, single pictures
    ThumbnailPlaceholder,
    ListGuide,
    VideoIcon,
    AudioIcon,
    Playhead,
    TrimHandle,
    AddFilesIcon,
    ClearAllIcon,
    // 4kpublic sheet
    DialogCrossNormal,
    DialogCrossHover,
    DialogCrossPressed,
    DialogCrossDisabled,
    OpenFolderNormal,
    OpenFolderHover,
    OpenFolderPressed,
    OpenFolderDisabled,

    Count
};
inline constexpr std::size_t kRegionCount = static_cast<std::size_t>(RegionId::Count);

struct Region
{
    RegionId id;
    const char* name; // stable identifier, also the test row name
    Sheet sheet;
    int x;
    int y;
    int width;
    int height;
};

// In RegionId order; region() relies on it and a static_assert below checks it.
inline constexpr Region kRegions[] = {
    {RegionId::MenuDim, "menu.dim", Sheet::Public, 0, 0, 48, 48},
    {RegionId::MenuNormal, "menu.normal", Sheet::Public, 48, 0, 48, 48},
    {RegionId::MenuHover, "menu.hover", Sheet::Public, 96, 0, 48, 48},
    {RegionId::MenuPressed, "menu.pressed", Sheet::Public, 144, 0, 48, 48},
    {RegionId::FeedbackDim, "feedback.dim", Sheet::Public, 0, 48, 48, 48},
    {RegionId::FeedbackNormal, "feedback.normal", Sheet::Public, 48, 48, 48, 48},
    {RegionId::FeedbackHover, "feedback.hover", Sheet::Public, 96, 48, 48, 48},
    {RegionId::FeedbackPressed, "feedback.pressed", Sheet::Public, 144, 48, 48, 48},
    {RegionId::CloseDim, "close.dim", Sheet::Public, 0, 192, 48, 48},
    {RegionId::CloseNormal, "close.normal", Sheet::Public, 48, 192, 48, 48},
    {RegionId::CloseHover, "close.hover", Sheet::Public, 96, 192, 48, 48},
    {RegionId::ClosePressed, "close.pressed", Sheet::Public, 144, 192, 48, 48},
    {RegionId::MinimiseDim, "minimise.dim", Sheet::Public, 0, 240, 48, 48},
    {RegionId::MinimiseNormal, "minimise.normal", Sheet::Public, 48, 240, 48, 48},
    {RegionId::MinimiseHover, "minimise.hover", Sheet::Public, 96, 240, 48, 48},
    {RegionId::MinimisePressed, "minimise.pressed", Sheet::Public, 144, 240, 48, 48},
    {RegionId::FormatMarkOff, "formatmark.off", Sheet::Public, 0, 288, 48, 48},
    {RegionId::FormatMarkOn, "formatmark.on", Sheet::Public, 48, 288, 48, 48},
    {RegionId::PlayNormal, "play.normal", Sheet::Public, 288, 0, 48, 48},
    {RegionId::PlayHover, "play.hover", Sheet::Public, 336, 0, 48, 48},
    {RegionId::PlayPressed, "play.pressed", Sheet::Public, 384, 0, 48, 48},
    {RegionId::PlayDisabled, "play.disabled", Sheet::Public, 432, 0, 48, 48},
    {RegionId::PauseNormal, "pause.normal", Sheet::Public, 288, 48, 48, 48},
    {RegionId::PauseHover, "pause.hover", Sheet::Public, 336, 48, 48, 48},
    {RegionId::PausePressed, "pause.pressed", Sheet::Public, 384, 48, 48, 48},
    {RegionId::PauseDisabled, "pause.disabled", Sheet::Public, 432, 48, 48, 48},
    {RegionId::SetStartNormal, "setstart.normal", Sheet::Public, 288, 96, 48, 48},
    {RegionId::SetStartHover, "setstart.hover", Sheet::Public, 336, 96, 48, 48},
    {RegionId::SetStartPressed, "setstart.pressed", Sheet::Public, 384, 96, 48, 48},
    {RegionId::SetStartDisabled, "setstart.disabled", Sheet::Public, 432, 96, 48, 48},
    {RegionId::SetEndNormal, "setend.normal", Sheet::Public, 288, 144, 48, 48},
    {RegionId::SetEndHover, "setend.hover", Sheet::Public, 336, 144, 48, 48},
    {RegionId::SetEndPressed, "setend.pressed", Sheet::Public, 384, 144, 48, 48},
    {RegionId::SetEndDisabled, "setend.disabled", Sheet::Public, 432, 144, 48, 48},
    {RegionId::ThumbnailPlaceholder, "thumbnail.placeholder", Sheet::Public, 532, 0, 252, 140},
    {RegionId::ListGuide, "list.guide", Sheet::Public, 876, 0, 350, 244},
    {RegionId::VideoIcon, "icon.video", Sheet::Public, 0, 345, 28, 20},
    {RegionId::AudioIcon, "icon.audio", Sheet::Public, 33, 345, 28, 20},
    {RegionId::Playhead, "trim.playhead", Sheet::Public, 0, 373, 10, 40},
    {RegionId::TrimHandle, "trim.handle", Sheet::Public, 20, 380, 22, 32},
    {RegionId::AddFilesIcon, "icon.addfiles", Sheet::Public, 232, 440, 30, 30},
    {RegionId::ClearAllIcon, "icon.clearall", Sheet::Public, 235, 510, 30, 30},
    {RegionId::DialogCrossNormal, "dialogcross.normal", Sheet::Public4k, 0, 0, 32, 32},
    {RegionId::DialogCrossHover, "dialogcross.hover", Sheet::Public4k, 0, 32, 32, 32},
    {RegionId::DialogCrossPressed, "dialogcross.pressed", Sheet::Public4k, 0, 64, 32, 32},
    {RegionId::DialogCrossDisabled, "dialogcross.disabled", Sheet::Public4k, 0, 96, 32, 32},
    {RegionId::OpenFolderNormal, "openfolder.normal", Sheet::Public4k, 225, 0, 32, 32},
    {RegionId::OpenFolderHover, "openfolder.hover", Sheet::Public4k, 225, 32, 32, 32},
    {RegionId::OpenFolderPressed, "openfolder.pressed", Sheet::Public4k, 225, 64, 32, 32},
    {RegionId::OpenFolderDisabled, "openfolder.disabled", Sheet::Public4k, 225, 96, 32, 32},
};

constexpr bool regionsInIdOrder()
{
    for (std::size_t i = 0; i < sizeof(kRegions) / sizeof(kRegions[0]); ++i) {
        if (static_cast<std::size_t>(kRegions[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(sizeof(kRegions) / sizeof(kRegions[0]) == kRegionCount,
              "every RegionId needs exactly one entry");
static_assert(regionsInIdOrder(), "kRegions must be listed in RegionId order");

constexpr const Region& region(RegionId id)
{
    return kRegions[static_cast<std::size_t>(id)];
}

// Builds any rectangle type with an (x, y, width, height) constructor, such as
// QRect, without this header depending on it.
template <typename Rect> constexpr Rect toRect(const Region& r)
{
    return Rect(r.x, r.y, r.width, r.height);
}

// The four button states in the order the image buttons number them.
inline constexpr int kButtonStateCount = 4;
inline constexpr const char* kButtonStateNames[kButtonStateCount] = {"normal", "hover", "pressed",
                                                                     "disabled"};

// Which region each state of a button shows.
struct ButtonSprite
{
    const char* name;
    RegionId states[kButtonStateCount]; // normal, hover, pressed, disabled
};

// Top bar window buttons.
inline constexpr ButtonSprite kTopBarMenuButton = {
    "topbar.menu",
    {RegionId::MenuNormal, RegionId::MenuHover, RegionId::MenuPressed, RegionId::MenuDim}};
inline constexpr ButtonSprite kTopBarFeedbackButton = {
    "topbar.feedback",
    {RegionId::FeedbackNormal, RegionId::FeedbackHover, RegionId::FeedbackPressed,
     RegionId::FeedbackDim}};
inline constexpr ButtonSprite kTopBarCloseButton = {
    "topbar.close",
    {RegionId::CloseNormal, RegionId::CloseHover, RegionId::ClosePressed, RegionId::CloseDim}};
inline constexpr ButtonSprite kTopBarMinimiseButton = {
    "topbar.minimise",
    {RegionId::MinimiseNormal, RegionId::MinimiseHover, RegionId::MinimisePressed,
     RegionId::MinimiseDim}};

// The message dialog's close button and the list row's delete button share the
// close row, one cell earlier than the top bar.
inline constexpr ButtonSprite kMessageDialogCloseButton = {
    "messagedialog.close",
    {RegionId::CloseDim, RegionId::CloseNormal, RegionId::CloseHover, RegionId::ClosePressed}};
inline constexpr ButtonSprite kMediaItemDeleteButton = {
    "mediaitem.delete",
    {RegionId::CloseDim, RegionId::CloseNormal, RegionId::CloseHover, RegionId::ClosePressed}};

// The output-format mark: every state but normal shows the chosen look, since
// the button is disabled while its row is the output format.
inline constexpr ButtonSprite kMediaItemFormatButton = {
    "mediaitem.format",
    {RegionId::FormatMarkOff, RegionId::FormatMarkOn, RegionId::FormatMarkOn,
     RegionId::FormatMarkOn}};
inline constexpr ButtonSprite kBottomBarFormatMark = {
    "bottombar.formatmark",
    {RegionId::FormatMarkOff, RegionId::FormatMarkOn, RegionId::FormatMarkOn,
     RegionId::FormatMarkOn}};

inline constexpr ButtonSprite kBottomBarOpenFolderButton = {
    "bottombar.openfolder",
    {RegionId::OpenFolderNormal, RegionId::OpenFolderHover, RegionId::OpenFolderPressed,
     RegionId::OpenFolderDisabled}};

// The update dialogs' title-bar cross.
inline constexpr ButtonSprite kUpdateDialogCloseButton = {
    "updatedialog.close",
    {RegionId::DialogCrossNormal, RegionId::DialogCrossHover, RegionId::DialogCrossPressed,
     RegionId::DialogCrossDisabled}};

// Preview controls of the player panel.
inline constexpr ButtonSprite kPlayerPlayButton = {
    "player.play",
    {RegionId::PlayNormal, RegionId::PlayHover, RegionId::PlayPressed, RegionId::PlayDisabled}};
inline constexpr ButtonSprite kPlayerPauseButton = {
    "player.pause",
    {RegionId::PauseNormal, RegionId::PauseHover, RegionId::PausePressed, RegionId::PauseDisabled}};
inline constexpr ButtonSprite kPlayerSetStartButton = {
    "player.setstart",
    {RegionId::SetStartNormal, RegionId::SetStartHover, RegionId::SetStartPressed,
     RegionId::SetStartDisabled}};
inline constexpr ButtonSprite kPlayerSetEndButton = {"player.setend",
                                                     {RegionId::SetEndNormal, RegionId::SetEndHover,
                                                      RegionId::SetEndPressed,
                                                      RegionId::SetEndDisabled}};

// The trim slider's buttons look the same in every state.
inline constexpr ButtonSprite kTrimPlayheadButton = {
    "trim.playhead",
    {RegionId::Playhead, RegionId::Playhead, RegionId::Playhead, RegionId::Playhead}};
inline constexpr ButtonSprite kTrimHandleButton = {
    "trim.handle",
    {RegionId::TrimHandle, RegionId::TrimHandle, RegionId::TrimHandle, RegionId::TrimHandle}};

inline constexpr const ButtonSprite* kButtons[] = {
    &kTopBarMenuButton,        &kTopBarFeedbackButton,     &kTopBarCloseButton,
    &kTopBarMinimiseButton,    &kMessageDialogCloseButton, &kMediaItemDeleteButton,
    &kMediaItemFormatButton,   &kBottomBarFormatMark,      &kBottomBarOpenFolderButton,
    &kUpdateDialogCloseButton, &kPlayerPlayButton,         &kPlayerPauseButton,
    &kPlayerSetStartButton,    &kPlayerSetEndButton,       &kTrimPlayheadButton,
    &kTrimHandleButton,
};
inline constexpr std::size_t kButtonCount = sizeof(kButtons) / sizeof(kButtons[0]);

// Stand-alone pictures next to the sheets, below the generator's output folder
// and below ":/" in the resources.
inline constexpr const char* kProgramIcon = "images/program.png";
inline constexpr const char* kComboArrow = "images/arrowDown.png";
inline constexpr const char* kMuteIcon = "images/mute.png";
inline constexpr const char* kSoundIcon = "images/sound.png";
inline constexpr const char* kUpdateBusyAnimation = "images/small_loadimg.gif";
inline constexpr const char* kProgressBusyAnimation = "images/small_loadimg2.gif";

inline constexpr int kProgramIconSize = 256;
inline constexpr int kComboArrowWidth = 10;
inline constexpr int kComboArrowHeight = 6;
inline constexpr int kSpeakerIconSize = 32;
inline constexpr int kBusyAnimationSize = 20;

// Spin arrows of the time fields: images/arrow/up1.png .. up4.png and
// down1.png .. down4.png, 1 normal, 2 hover, 3 pressed, 4 disabled.
inline constexpr int kSpinArrowWidth = 15;
inline constexpr int kSpinArrowHeight = 10;
inline constexpr int kSpinArrowStates = 4;

} // namespace Sprites
