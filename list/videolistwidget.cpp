#include "list/videolistwidget.h"
#include "widgets/stylesheet.h"

#include "app/timetext.h"
#include "list/listnoitemwidget.h"
#include "list/medialistlogic.h"
#include "list/videoitemwidget.h"
#include "media/thumbnailloader.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>

#include <algorithm>

namespace {

void FillBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

VideoListWidget::VideoListWidget(QWidget* parent) : QWidget(parent)
{
    m_frame = new QWidget(this);

    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->horizontalScrollBar()->hide();
    m_scrollArea->horizontalScrollBar()->setFixedHeight(0);
    SetStyleSheet(
        m_scrollArea->horizontalScrollBar(),
        QStringLiteral("QScrollBar:horizontal {border: 0px;width: 0px;margin: 0px 0 0px 0}"));
    SetStyleSheet(
        m_scrollArea->verticalScrollBar(),
        QStringLiteral(
            "QScrollBar:vertical {border:0px;background:transparent;width: 5px;margin-top:0px; "
            "margin-bottom:0px;margin-left:0px;margin-right:0px;}    "
            "QScrollBar::handle:vertical {background: #b6ced6; min-height: 5px;}    "
            "QScrollBar::add-line:vertical {border: 0px;background:transparent;height: "
            "10px;subcontrol-position: bottom;subcontrol-origin: margin;}    "
            "QScrollBar::sub-line:vertical {border: 0px;background:transparent;height: "
            "10px;subcontrol-position: top;subcontrol-origin: margin;}    "
            "QScrollBar::up-arrow:vertical, QScrollBar::down-arrow:vertical {border: 0px;width: "
            "0px;height: 0px;background: transparent;}    "
            "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical {background: "
            "transparent;}"));

    m_container = new QWidget;
    FillBackground(m_container, QColor(QStringLiteral("#ffffff")));
    connect(m_scrollArea->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &VideoListWidget::showRowsInView);
    m_thumbnails = new ThumbnailLoader(this);
    m_scrollArea->setWidget(m_container);

    m_totalsLabel = new QLabel(this);
    m_totalsLabel->setAlignment(Qt::AlignCenter);

    m_guide = new ListNoItemWidget(this);

    setAcceptDrops(true);
}

VideoListWidget::~VideoListWidget() = default;

VideoItemWidget* VideoListWidget::addItem(const ProbeResult& probe)
{
    return addRow(probe);
}

void VideoListWidget::addItem(const QString& path, const QString& thumbnailPath,
                              const QString& durationLine, const QStringList& videoStreamLines,
                              const QStringList& audioStreamLines, const QString& unused)
{
    Q_UNUSED(unused);
    ProbeResult probe;
    probe.filePath = path;
    probe.thumbnailPath = thumbnailPath;
    probe.durationLine = durationLine;
    probe.videoStreamLines = videoStreamLines;
    probe.audioStreamLines = audioStreamLines;
    addRow(probe);
}

VideoItemWidget* VideoListWidget::addRow(const ProbeResult& probe)
{
    // Where the view goes as rows arrive. Files are read one after another,
    // so a batch arrives as a run of rows; following each to the end of the
    // list left the user looking at the last file, with the first ones (where
    // the new material starts) scrolled away. Instead the first row of a
    // batch is selected and scrolled just into view, and the rest of the
    // batch joins below it without taking the selection or moving the view,
    // so a row the user picks meanwhile stays picked. A row added while no
    // busy note is shown is a batch of its own.
    const bool joinsBatch = !m_busyNote.isEmpty() && m_batchFirst && m_batchFirst->inUse;

    VideoItemWidget* item = takeFreeRow();
    item->setGeometry(Scaled(18), 0, m_container->width() - Scaled(36), 2 + Scaled(72));
    item->LayoutChildren();
    item->ApplySkin();
    // Fills the texts in the current language as well.
    item->SetMediaInfo(probe.filePath, probe.thumbnailPath, probe.durationLine,
                       probe.videoStreamLines, probe.audioStreamLines, probe.audioStreamTitles);
    item->setJobRunning(m_jobRunning);
    item->inUse = true;
    // Shown by relayout() when it lies in view.
    relayout();
    if (!joinsBatch) {
        m_batchFirst = m_busyNote.isEmpty() ? nullptr : item;
        clickedItem_slots(item);
        ensureRowVisible(item);
    }
    if (!markedRow())
        item->SetDefaultOutput(true);
    updateTotals();
    return item;
}

VideoItemWidget* VideoListWidget::takeFreeRow()
{
    for (int i = 0; i < m_items.size(); ++i) {
        VideoItemWidget* row = m_items.at(i);
        if (!row->inUse) {
            m_items.removeAt(i);
            m_items.append(row);
            row->Reset();
            return row;
        }
    }
    auto* row = new VideoItemWidget(m_container);
    row->setThumbnailLoader(m_thumbnails);
    connect(row, &VideoItemWidget::deleteItem, this, &VideoListWidget::deleteItem_slots);
    connect(row, &VideoItemWidget::clicked, this, &VideoListWidget::clickedItem_slots);
    connect(row, &VideoItemWidget::press_clicked, this, &VideoListWidget::pressClickedItem_slots);
    connect(row, &VideoItemWidget::setDefaultOutput_signal, this,
            &VideoListWidget::setDefaultOutputItem_slots);
    connect(row, &VideoItemWidget::moveupItem, this, &VideoListWidget::moveupItem_slots);
    connect(row, &VideoItemWidget::movedownItem, this, &VideoListWidget::movedownItem_slots);
    connect(row, &VideoItemWidget::deleteAllItem, this, &VideoListWidget::deleteAllItem_slots);
    connect(row, &VideoItemWidget::outputFormatMarked, this,
            &VideoListWidget::onOutputFormatMarked);
    connect(row, &VideoItemWidget::cutRangeChanged, this, &VideoListWidget::updateTotals);
    connect(row, &VideoItemWidget::audioTrackChanged, this, &VideoListWidget::onAudioTrackChanged);
    connect(row, &VideoItemWidget::saveListRequested, this, &VideoListWidget::saveListRequested);
    connect(row, &VideoItemWidget::openListRequested, this, &VideoListWidget::openListRequested);
    m_items.append(row);
    return row;
}

int VideoListWidget::itemCount() const
{
    return static_cast<int>(itemsInUse().size());
}

QList<VideoItemWidget*> VideoListWidget::itemsInUse() const
{
    QList<VideoItemWidget*> rows;
    for (VideoItemWidget* row : m_items) {
        if (row->inUse)
            rows.append(row);
    }
    return rows;
}

VideoItemWidget* VideoListWidget::findItemById(int id) const
{
    for (VideoItemWidget* row : m_items) {
        if (row->inUse && row->itemId == id)
            return row;
    }
    return nullptr;
}

void VideoListWidget::removeAll()
{
    m_draggedItem = nullptr;
    m_batchFirst = nullptr;
    for (VideoItemWidget* row : m_items) {
        row->inUse = false;
        row->selected = false;
        row->SetDefaultOutput(false);
        row->hide();
    }
    relayout();
    selectFirstInUse();
    markFirstIfUnmarked();
}

void VideoListWidget::updateTotals()
{
    const QList<VideoItemWidget*> rows = itemsInUse();
    qint64 total = 0;
    for (const VideoItemWidget* row : rows)
        total += KeptLength(row->cutStart, row->cutEnd);
    QString text = tr("File:") + QLatin1Char(' ') + QString::number(rows.size()) +
                   QStringLiteral(" \t ") + tr("Total:") + QLatin1Char(' ') + TimeToString(total);
    if (!m_busyNote.isEmpty())
        text += QStringLiteral("    ") + m_busyNote;
    m_totalsLabel->setText(text);
}

void VideoListWidget::setBusyNote(const QString& note)
{
    m_busyNote = note;
    if (note.isEmpty())
        m_batchFirst = nullptr;
    updateTotals();
}

void VideoListWidget::setJobRunning(bool running)
{
    m_jobRunning = running;
    // A row caught mid-drag snaps back into its slot.
    if (running && m_draggedItem) {
        relayout();
        m_draggedItem = nullptr;
    }
    for (VideoItemWidget* row : m_items)
        row->setJobRunning(running);
}

void VideoListWidget::relayout()
{
    const int gap = Scaled(10);
    const int count = itemCount();
    int y = gap;
    int n = 0;
    for (VideoItemWidget* row : m_items) {
        if (!row->inUse)
            continue;
        row->move(row->x(), y);
        row->listPosition = n;
        row->listRowCount = count;
        y += row->height() + gap;
        ++n;
    }
    const int contentHeight = qMax(y, m_scrollArea->viewport()->height());
    if (m_container->height() != contentHeight)
        m_container->setGeometry(0, 0, m_container->width(), contentHeight);
    showRowsInView();

    if (n == 0) {
        emit playItemRequested(nullptr);
        m_guide->refreshGuide();
        m_guide->show();
        m_guide->raise();
    } else {
        m_guide->hide();
    }
    emit rowCountChanged(n);
}

void VideoListWidget::showRowsInView()
{
    // Only the rows in and near the view are shown. The toolkit works out
    // which shown children cover others each time the list changes, at a
    // cost that grows faster than the number of rows; a list of a thousand
    // rows would make every addition dearer than the one before.
    // Before the first layout the view has no height yet; a window's worth.
    const int viewHeight = qMax(m_scrollArea->viewport()->height(), Scaled(752));
    const int top = m_scrollArea->verticalScrollBar()->value() - viewHeight;
    const int bottom = m_scrollArea->verticalScrollBar()->value() + 2 * viewHeight;
    for (VideoItemWidget* row : m_items) {
        const bool inView = row->inUse && row->y() + row->height() >= top && row->y() <= bottom;
        if (row->isVisibleTo(m_container) != inView)
            row->setVisible(inView);
    }
}

void VideoListWidget::layoutList()
{
    const int w = width();
    const int h = height();
    m_frame->setGeometry(0, 0, w, h);
    m_scrollArea->setGeometry(1, Scaled(8), w, h - Scaled(8) - Scaled(35));
    m_container->setGeometry(0, 0, m_scrollArea->width(), m_scrollArea->height());
    // Rows follow the list's width, so their names are elided again to what
    // fits now and their cut strips keep their scale.
    const int rowWidth = m_container->width() - Scaled(36);
    for (VideoItemWidget* row : m_items) {
        if (!row->inUse || row->width() == rowWidth)
            continue;
        row->resize(rowWidth, row->height());
        row->LayoutChildren();
        row->UpdateCutInfo();
    }
    m_totalsLabel->setGeometry(0, h - Scaled(35), w, Scaled(35));
    m_guide->setGeometry(1, 1, w - 2, h - 2);
    relayout();
}

void VideoListWidget::applySkin()
{
    SetStyleSheet(m_frame, QStringLiteral("QWidget{border:1px solid ") + SkinColour("linecolor") +
                               QStringLiteral("; border-bottom:none;border-right:none;"
                                              "background-color:") +
                               SkinColour("rightbgcolor") + QStringLiteral(";}"));
    const QColor background(SkinColour("rightbgcolor"));
    FillBackground(m_container, background);
    FillBackground(m_scrollArea, background);
    FillBackground(m_scrollArea->viewport(), background);
}

void VideoListWidget::retranslate()
{
    // Rows already listed switch language with the rest of the window.
    for (VideoItemWidget* row : itemsInUse())
        row->Retranslate();
    m_guide->refreshGuide();
    SetStyleSheet(
        m_totalsLabel,
        QStringLiteral("QLabel{border-top: 1px solid ") + SkinColour("linecolor") +
            QStringLiteral("; border-left:none;border-bottom:none;border-right:none; font-size:") +
            QString::number(Scaled(12)) + QStringLiteral("px;color:") +
            SkinColour("txtcolor_main2") + QStringLiteral(";background-color:") +
            SkinColour("rightbgcolor") + QStringLiteral(";}"));
    m_totalsLabel->setAlignment(Qt::AlignCenter);
    updateTotals();
}

void VideoListWidget::deleteItem_slots(VideoItemWidget* item)
{
    if (m_jobRunning || !item || !item->inUse)
        return;
    if (item->isDefaultOutput())
        item->SetDefaultOutput(false);
    item->inUse = false;
    item->selected = false;
    item->hide();
    if (m_draggedItem == item)
        m_draggedItem = nullptr;
    relayout();
    selectFirstInUse();
    markFirstIfUnmarked();
    scrollToTop();
    updateTotals();
}

VideoItemWidget* VideoListWidget::selectedItem() const
{
    for (VideoItemWidget* row : itemsInUse()) {
        if (row->selected)
            return row;
    }
    return nullptr;
}

void VideoListWidget::removeSelected()
{
    VideoItemWidget* row = selectedItem();
    if (!row || m_jobRunning)
        return;
    // The row that takes its place keeps the keyboard where it was.
    const QList<VideoItemWidget*> rows = itemsInUse();
    const qsizetype at = rows.indexOf(row);
    VideoItemWidget* next = rows.value(at + 1, rows.value(at - 1));
    deleteItem_slots(row);
    if (next && next->inUse) {
        clickedItem_slots(next);
        ensureRowVisible(next);
    }
}

void VideoListWidget::selectNeighbour(int step)
{
    const QList<VideoItemWidget*> rows = itemsInUse();
    if (rows.isEmpty())
        return;
    const qsizetype at = rows.indexOf(selectedItem());
    const qsizetype target = at < 0 ? 0 : std::clamp<qsizetype>(at + step, 0, rows.size() - 1);
    if (target == at)
        return;
    clickedItem_slots(rows.at(target));
    ensureRowVisible(rows.at(target));
}

void VideoListWidget::clickedItem_slots(VideoItemWidget* item)
{
    if (m_draggedItem) {
        relayout();
        m_draggedItem = nullptr;
    }
    if (!item) {
        emit playItemRequested(nullptr);
        return;
    }
    if (!item->inUse)
        return;
    // Only rows whose state changes are touched, so a click costs the same
    // in a list of three rows or of a thousand.
    for (VideoItemWidget* row : m_items) {
        if (row->selected && row != item)
            row->SetSelected(false);
    }
    item->SetSelected(true);
    emit playItemRequested(item);
}

void VideoListWidget::pressClickedItem_slots(VideoItemWidget* item)
{
    // Dragging reorders the list, which the running job is reading.
    if (!m_jobRunning && item && item->inUse)
        m_draggedItem = item;
}

void VideoListWidget::setDefaultOutputItem_slots(VideoItemWidget* item)
{
    if (m_jobRunning || !item || !item->inUse)
        return;
    for (VideoItemWidget* row : m_items) {
        if (row->inUse)
            row->SetDefaultOutput(false);
    }
    item->SetDefaultOutput(true);
}

int VideoListWidget::neighbourInUse(int index, int step) const
{
    for (int i = index + step; i >= 0 && i < m_items.size(); i += step) {
        if (m_items.at(i)->inUse)
            return i;
    }
    return -1;
}

void VideoListWidget::moveupItem_slots(VideoItemWidget* item)
{
    if (m_jobRunning)
        return;
    const int index = static_cast<int>(m_items.indexOf(item));
    const int other = index < 0 ? -1 : neighbourInUse(index, -1);
    if (other >= 0)
        m_items.swapItemsAt(index, other);
    relayout();
}

void VideoListWidget::movedownItem_slots(VideoItemWidget* item)
{
    if (m_jobRunning)
        return;
    const int index = static_cast<int>(m_items.indexOf(item));
    const int other = index < 0 ? -1 : neighbourInUse(index, +1);
    if (other >= 0)
        m_items.swapItemsAt(index, other);
    relayout();
}

void VideoListWidget::deleteAllItem_slots()
{
    if (m_jobRunning)
        return;
    emit deleteAllRequested();
    updateTotals();
}

void VideoListWidget::selectFirstInUse()
{
    for (VideoItemWidget* row : m_items) {
        if (row->inUse) {
            clickedItem_slots(row);
            return;
        }
    }
}

void VideoListWidget::markFirstIfUnmarked()
{
    if (markedRow())
        return;
    for (VideoItemWidget* row : m_items) {
        if (row->inUse) {
            row->SetDefaultOutput(true);
            return;
        }
    }
}

void VideoListWidget::onOutputFormatMarked(const QString& name, int itemId)
{
    emit outputFormatChanged(name, itemId);
}

void VideoListWidget::onAudioTrackChanged(VideoItemWidget* item)
{
    Q_UNUSED(item);
    // The output's profile is worked out from the rows' audio facts, which
    // now describe another track: whoever shows it must read it again.
    if (const VideoItemWidget* marked = markedRow())
        emit outputFormatChanged(QFileInfo(marked->filePath).fileName().trimmed(), marked->itemId);
}

VideoItemWidget* VideoListWidget::markedRow() const
{
    for (VideoItemWidget* row : m_items) {
        if (row->inUse && row->isDefaultOutput())
            return row;
    }
    return nullptr;
}

int VideoListWidget::outputFormatId() const
{
    const VideoItemWidget* row = markedRow();
    return row ? row->itemId : 0;
}

QString VideoListWidget::outputFormatName() const
{
    const VideoItemWidget* row = markedRow();
    return row ? QFileInfo(row->filePath).fileName().trimmed() : QString();
}

void VideoListWidget::scrollToTop()
{
    m_scrollArea->verticalScrollBar()->setValue(0);
}

void VideoListWidget::ensureRowVisible(VideoItemWidget* row)
{
    // Just far enough, with the gap around the row in view too.
    m_scrollArea->ensureWidgetVisible(row, 0, Scaled(10));
}

void VideoListWidget::dragEnterEvent(QDragEnterEvent* event)
{
    // Refused during a job, so the pointer shows at once that the files
    // would not be taken.
    if (!m_jobRunning && event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void VideoListWidget::dropEvent(QDropEvent* event)
{
    if (m_jobRunning || !event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QStringList paths;
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl& url : urls) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty())
            paths.append(path);
    }
    event->acceptProposedAction();
    if (!paths.isEmpty())
        emit filesDropped(paths);
}

void VideoListWidget::mousePressEvent(QMouseEvent* event)
{
    m_lastMouseY = qRound(event->position().y());
    QWidget::mousePressEvent(event);
}

void VideoListWidget::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if (!m_draggedItem)
        return;
    const int y = qRound(event->position().y());
    const int dy = y - m_lastMouseY;
    m_lastMouseY = y;
    m_draggedItem->move(m_draggedItem->x(), m_draggedItem->y() + dy);

    const int gap = Scaled(10);
    const int index = static_cast<int>(m_items.indexOf(m_draggedItem));
    if (index < 0)
        return;
    const int previous = neighbourInUse(index, -1);
    const int next = neighbourInUse(index, +1);
    DragGeometry g;
    g.top = m_draggedItem->y();
    g.height = m_draggedItem->height();
    g.gap = gap;
    if (previous >= 0) {
        g.hasPrevious = true;
        g.previousTop = m_items.at(previous)->y();
        g.previousHeight = m_items.at(previous)->height();
    }
    if (next >= 0) {
        g.hasNext = true;
        g.nextTop = m_items.at(next)->y();
        g.nextHeight = m_items.at(next)->height();
    }
    switch (DecideDragSwap(g)) {
    case DragSwap::WithPrevious:
        m_items.swapItemsAt(index, previous);
        break;
    case DragSwap::WithNext:
        m_items.swapItemsAt(index, next);
        break;
    case DragSwap::None:
        break;
    }

    // The other rows make room at once; the dragged one follows the pointer
    // and snaps into its slot on release.
    int slotY = gap;
    int n = 0;
    for (VideoItemWidget* row : m_items) {
        if (!row->inUse)
            continue;
        if (row != m_draggedItem)
            row->move(row->x(), slotY);
        row->listPosition = n++;
        slotY += row->height() + gap;
    }
    m_draggedItem->raise();
}

void VideoListWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (m_draggedItem) {
        relayout();
        m_draggedItem = nullptr;
    }
}
