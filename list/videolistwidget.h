#pragma once

#include "media/probe.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class ListNoItemWidget;
class QLabel;
class QScrollArea;
class ThumbnailLoader;
class VideoItemWidget;

// The media list: one row per added file, stacked in the order in which the
// files are joined. It selects, reorders (drag, move up/down), removes and
// clears rows, keeps exactly one row marked as the output format while rows
// exist, accepts dropped files and shows the number of files and the sum of
// their kept lengths. Row objects are pooled: removed rows are hidden and
// reused by the next addItem.
class VideoListWidget : public QWidget
{
    Q_OBJECT

public:
    explicit VideoListWidget(QWidget* parent = nullptr);
    ~VideoListWidget() override;

    // Makes a row for a probed file. The first row of a batch is selected
    // and scrolled into view; the rest of the batch only joins the list (see
    // setBusyNote). Returns the new row.
    VideoItemWidget* addItem(const ProbeResult& probe);
    void addItem(const QString& path, const QString& thumbnailPath, const QString& durationLine,
                 const QStringList& videoStreamLines, const QStringList& audioStreamLines,
                 const QString& unused = QString());

    int itemCount() const;
    VideoItemWidget* findItemById(int id) const;
    void removeAll();
    void updateTotals();
    void relayout();
    void layoutList();
    void applySkin();
    void retranslate();

    // The rows in use, in list order (the order of the output).
    QList<VideoItemWidget*> itemsInUse() const;
    // Every row object ever made, in use or waiting for reuse.
    int rowObjectCount() const { return static_cast<int>(m_items.size()); }

    // The keyboard's way to the list: the selected row, removing it, and
    // moving the selection one row up (-1) or down (+1).
    VideoItemWidget* selectedItem() const;
    void removeSelected();
    void selectNeighbour(int step);

    // The row that carries the output-format mark (0 or less: none).
    int outputFormatId() const;
    QString outputFormatName() const;

    QLabel* totalsLabel() const { return m_totalsLabel; }
    ListNoItemWidget* guide() const { return m_guide; }
    QScrollArea* scrollArea() const { return m_scrollArea; }

    // Shown after the totals while files are being probed; empty clears it.
    // The rows added while a note is shown form one batch.
    void setBusyNote(const QString& note);

    // While a job runs the list cannot change: rows cannot be removed,
    // moved, re-marked or given another track, and drops are refused.
    // Rows added meanwhile (probes already under way) follow the same rule.
    void setJobRunning(bool running);
    bool isJobRunning() const { return m_jobRunning; }

signals:
    void filesDropped(const QStringList& localPaths);
    void playItemRequested(VideoItemWidget* item);
    void rowCountChanged(int rowsInUse);
    void deleteAllRequested();
    void outputFormatChanged(const QString& name, int itemId);
    // A row's "Save List…" and "Open List…".
    void saveListRequested();
    void openListRequested();

private slots:
    void deleteItem_slots(VideoItemWidget* item);
    void clickedItem_slots(VideoItemWidget* item);
    void pressClickedItem_slots(VideoItemWidget* item);
    void setDefaultOutputItem_slots(VideoItemWidget* item);
    void moveupItem_slots(VideoItemWidget* item);
    void movedownItem_slots(VideoItemWidget* item);
    void deleteAllItem_slots();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    VideoItemWidget* addRow(const ProbeResult& probe);
    VideoItemWidget* takeFreeRow();
    void selectFirstInUse();
    void markFirstIfUnmarked();
    VideoItemWidget* markedRow() const;
    void onOutputFormatMarked(const QString& name, int itemId);
    void onAudioTrackChanged(VideoItemWidget* item);
    int neighbourInUse(int index, int step) const;
    void scrollToTop();
    void showRowsInView();
    void ensureRowVisible(VideoItemWidget* row);

    QList<VideoItemWidget*> m_items;
    ThumbnailLoader* m_thumbnails = nullptr;
    QWidget* m_frame = nullptr;
    ListNoItemWidget* m_guide = nullptr;
    QScrollArea* m_scrollArea = nullptr;
    QWidget* m_container = nullptr;
    QLabel* m_totalsLabel = nullptr;
    VideoItemWidget* m_draggedItem = nullptr;
    int m_lastMouseY = 0;

    QString m_busyNote;
    // The first row of the batch being added, while one is.
    VideoItemWidget* m_batchFirst = nullptr;
    bool m_jobRunning = false;
};
