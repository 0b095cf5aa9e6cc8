#pragma once

#include <QRect>

// Where the main window's panels stand for a window of w x h at scale s:
// the top bar across the top, the bottom bar across the bottom, the media
// list on the left and the player panel in a 576-unit strip on the right,
// both between the bars. A window wider than its design gives half of the
// extra width to each of the two. The progress overlay covers everything
// below the top strip while a job runs.
struct MainLayout
{
    QRect background;
    QRect topBar;
    QRect bottomBar;
    QRect progressOverlay;
    QRect mediaList;
    QRect playerPanel;
};

MainLayout ComputeMainLayout(int width, int height, float scale);

// Which edges of a frameless window of `size` a point (in the window's
// coordinates) grabs for resizing: those within `margin` pixels.
Qt::Edges ResizeEdgesAt(const QSize& size, const QPoint& point, int margin);

// Top-left corner that centres a window of the given size on a desktop of
// the given size; never negative, even for a window larger than the desktop.
QPoint CenteredOnDesktop(int desktopWidth, int usableHeight, int windowWidth, int windowHeight);

// Top-left corner that puts the centre of `child` over the centre of `host`.
QPoint CenteredOver(const QRect& host, const QSize& child);
