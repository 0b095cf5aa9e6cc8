#include "mainwindow/mainlayout.h"

#include "skin/scale.h"

#include <cstdlib>

namespace {
int Trunc(double k, float s)
{
    return ScaledBy(k, s);
}

QRect FromEdges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}
} // namespace

MainLayout ComputeMainLayout(int w, int h, float s)
{
    MainLayout layout;
    layout.background = FromEdges(0, 0, w - 1, h - 1);
    layout.topBar = FromEdges(1, 1, w - 2, Trunc(54, s) + Trunc(40, s));
    layout.bottomBar = FromEdges(0, h - Trunc(124, s), w - 1, h - 1);
    layout.progressOverlay = FromEdges(0, Trunc(34, s), w - 1, h - 1);
    const int top = layout.topBar.bottom() + 1;
    const int bottom = layout.bottomBar.top() - 1;
    layout.mediaList = FromEdges(0, top, w - 1 - Trunc(576, s), bottom);
    layout.playerPanel = FromEdges(w - Trunc(576, s), top, w - 1, bottom);
    return layout;
}

QPoint CenteredOnDesktop(int desktopWidth, int usableHeight, int windowWidth, int windowHeight)
{
    return QPoint(std::abs(desktopWidth - windowWidth) / 2,
                  std::abs(usableHeight - windowHeight) / 2);
}

QPoint CenteredOver(const QRect& host, const QSize& child)
{
    return QPoint(host.x() + (host.width() - child.width()) / 2,
                  host.y() + (host.height() - child.height()) / 2);
}
