#include "mainwindow/mainlayout.h"

#include "skin/scale.h"

#include <algorithm>
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
    // A window wider than its design gives half the extra room to the
    // picture and half to the list; the bars only grow in length.
    const int extra = std::max(0, w - Trunc(1202, s));
    const int panel = Trunc(576, s) + extra / 2;
    layout.mediaList = FromEdges(0, top, w - 1 - panel, bottom);
    layout.playerPanel = FromEdges(w - panel, top, w - 1, bottom);
    return layout;
}

Qt::Edges ResizeEdgesAt(const QSize& size, const QPoint& point, int margin)
{
    Qt::Edges edges;
    if (point.x() < 0 || point.y() < 0 || point.x() >= size.width() || point.y() >= size.height())
        return edges;
    if (point.x() < margin)
        edges |= Qt::LeftEdge;
    if (point.x() >= size.width() - margin)
        edges |= Qt::RightEdge;
    if (point.y() < margin)
        edges |= Qt::TopEdge;
    if (point.y() >= size.height() - margin)
        edges |= Qt::BottomEdge;
    return edges;
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
