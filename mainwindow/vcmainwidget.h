#pragma once

#include "list/joblist.h"
#include "media/proberefusal.h"

#include <QList>
#include <QPoint>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

class ConvertProgressWidget;
class QKeyEvent;
class NoUpdateWidget;
class ProbeQueue;
struct ProbeResult;
class VCBottomWidget;
class VCMainWidget;
class VCTopWidget;
class VideoItemWidget;
class VideoListWidget;
class VideoPlayerWidget;

// The one main window of the process; null before it is built.
VCMainWidget* MainWindow();

// Moves `widget` so that its centre stands over the main window's centre.
void CenterOverMainWindow(QWidget* widget);

// Registers the interface fonts shipped in <folder>/font; Lato Regular at
// 10 points becomes the application font when it loads.
void ApplyLatinFonts(const QString& folder);
// The font set-up for languages the Latin fonts do not cover.
void ApplyOtherFonts(const QString& folder);

// Lower-case hex MD5 of a file's contents, empty when it cannot be read.
QString FileMd5Hex(const QString& path);

class VCMainWidget : public QWidget
{
    Q_OBJECT

public:
    explicit VCMainWidget(QWidget* parent = nullptr);
    ~VCMainWidget() override;

    QString languageCode;

    void LayoutChildren();
    void ApplySkinAll();
    void RetranslateAll();

    // Probes the paths without blocking the window; rows appear in path
    // order. Paths added while others are probed queue behind them. Once the
    // queue is idle, one notice names every file refused meanwhile, and why.
    // Without the media tool nothing is probed: a notice says what to install.
    void AddMediaPaths(const QStringList& paths);
    // Shown, not minimised, raised and active: a second start asked for it.
    void BringToFront();
    // Hands a row (or none) to the preview; the list calls it on selection.
    void PlayItem(VideoItemWidget* item);
    VideoItemWidget* playingItem() const { return m_playingItem; }
    // Empties the list: the preview is handed nothing first.
    void ClearAll();

    // Writes the rows in use, in list order, as a saved list: paths, ranges
    // (a range to the file's end is left open), tracks, the output-format
    // mark and the cut mode. A failure is told in a notice; false then.
    bool SaveJobList(const QString& path);
    // Replaces the rows with the files of a saved list, asking first when the
    // list has rows. Each row takes its saved range, track and mark as it
    // arrives from the probe; the cut mode is taken when the list names one.
    // Files gone since saving are named in one notice. Returns false when
    // nothing was opened: a job runs, the list cannot be read (a notice says
    // why), or the user kept the rows.
    bool OpenJobList(const QString& path);

    // Shows the progress overlay over the window (a job starts) or hides it.
    void ShowProgress(bool show);

    // The menu's "Update": the check runs in its visible dialog.
    void CheckForUpdatesNow();
    NoUpdateWidget* updateWindow() const;

public slots:
    // The automatic check, at most once a calendar day, a little after start.
    void firstCheckUpdate_slots();
    // The menus' "Save List…" and "Open List…": ask for the file, then save
    // or open it.
    void saveJobList_slots();
    void openJobList_slots();

public:
    VCTopWidget* topBar() const { return m_topBar; }
    VCBottomWidget* bottomBar() const { return m_bottomBar; }
    VideoPlayerWidget* playerPanel() const { return m_playerPanel; }
    ConvertProgressWidget* progressOverlay() const { return m_progressOverlay; }
    VideoListWidget* mediaList() const { return m_mediaList; }
    ProbeQueue* probeQueue() const { return m_probeQueue; }

    // The rectangles of the panels that later parts of the window fill.
    QRect topBarArea() const { return m_topBarArea; }
    QRect mediaListArea() const { return m_mediaListArea; }
    QRect playerPanelArea() const { return m_playerPanelArea; }
    QRect bottomBarArea() const { return m_bottomBarArea; }
    QRect progressOverlayArea() const { return m_progressOverlayArea; }
    bool isDragging() const { return m_dragging; }
    void toggleMaximized();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A double click on the top strip maximises the window or restores it.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // The frameless window's edges resize it, whichever child is under them.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The first show tells what keeps the program from working as usual
    // (no media tool, no private folder).
    void showEvent(QShowEvent* event) override;

private:
    // Ctrl+O, Ctrl+Enter, F1.
    void addShortcuts();
    // Tab through the controls in reading order, each with a focus mark.
    void setUpTabOrder();
    // Space, I, O, the arrows, Home, End, Delete; true when the key acted.
    bool handleKey(const QKeyEvent* event);
    void requestIndex(const QString& path);
    void forgetUnlistedIndexes();
    // Keyframe mode: the ranges of rows of `path` (all rows when empty) as a
    // keyframe cut will keep them.
    void snapRowsToKeyframes(const QString& path);
    void showRefusalNotice();
    // A probed file becomes a row; a row of an opened list takes its entry.
    void addProbedRow(const ProbeResult& result);
    void applyListEntry(VideoItemWidget* row, const JobListEntry& entry);
    void showMissingListFilesNotice(const QStringList& paths);
    void showStartNotices();
    // One notice after the other, each once the one before is answered.
    void showNoticesInTurn(QStringList texts);

    bool m_dragging = false;
    QPoint m_pressPoint;
    // A resize by hand, where the window system cannot do it.
    Qt::Edges m_resizeEdges;
    QRect m_resizeFrom;
    QPoint m_resizePress;
    QWidget* m_background = nullptr;
    VCTopWidget* m_topBar = nullptr;
    VideoListWidget* m_mediaList = nullptr;
    ProbeQueue* m_probeQueue = nullptr;
    VideoPlayerWidget* m_playerPanel = nullptr;
    VCBottomWidget* m_bottomBar = nullptr;
    ConvertProgressWidget* m_progressOverlay = nullptr;
    // A window of its own, so the check never waits on the main window.
    std::unique_ptr<NoUpdateWidget> m_updateWindow;
    QTimer m_prefetchTimer;
    bool m_resultProbePreloadScheduled = false;
    VideoItemWidget* m_playingItem = nullptr;
    // Files whose frame index this window asked for and has not let go.
    QSet<QString> m_indexedPaths;
    QStringList m_indexLater; // read-ahead held back while files are added
    // Files refused since the queue was last idle, in order.
    QList<RefusedFile> m_refused;
    // Entries of an opened list whose rows have not arrived yet, in order.
    QList<JobListEntry> m_listEntriesDue;
    bool m_busyCursor = false;
    bool m_previewPending = false;
    bool m_startNoticesDue = true;
    QRect m_topBarArea;
    QRect m_mediaListArea;
    QRect m_playerPanelArea;
    QRect m_bottomBarArea;
    QRect m_progressOverlayArea;
};
