#pragma once

#include "media/mediainfo.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class MyPushButton;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class ThumbnailLoader;

// One row of the media list and, at the same time, the record of one added
// file: its facts, the kept part (cut range), the chosen audio track and
// whether the output takes its format. Rows are pooled by the list: a removed
// row is hidden and later Reset() for the next file, never destroyed.
class VideoItemWidget : public QWidget
{
    Q_OBJECT

public:
    explicit VideoItemWidget(QWidget* parent = nullptr);
    ~VideoItemWidget() override;

    // Fills the record from a probed file, sets the cut range to the whole
    // file and refreshes the row. The titles name the audio streams in the
    // track choice (parallel to the audio lines; empty where a stream has none).
    void SetMediaInfo(const QString& path, const QString& thumbnailPath,
                      const QString& durationLine, const QStringList& videoStreamLines,
                      const QStringList& audioStreamLines,
                      const QStringList& audioStreamTitles = {});
    void ComputeEncodingParameters();
    void ShowInfo(const QString& path, const QString& thumbnailPath);
    // Called after cutStart/cutEnd change: cut length, cut bar, list totals.
    void UpdateCutInfo();
    void SetSelected(bool on);
    void SetDefaultOutput(bool on);
    void Retranslate();
    void LayoutChildren();
    void ApplySkin();
    // Prepares the row for its next file: new id, empty record.
    void Reset();
    bool isDefaultOutput() const { return m_defaultOutput; }
    // While a job runs, the row offers nothing that would change the list or
    // what the job reads from it: no delete, no track choice, and the menu
    // entries that edit the list are disabled.
    void setJobRunning(bool running);
    bool isJobRunning() const { return m_jobRunning; }
    // Chooses `track` as a pick in the track choice does: the facts, the
    // output's profile and, on the selected row, the preview follow. A track
    // the file does not have is ignored.
    void chooseAudioTrack(int track);

    // Read-only access for the list and for tests.
    // Both made on first use.
    QComboBox* trackChoice() const;
    QLabel* fileNameLabel() const { return m_fileNameLabel; }
    QLabel* videoIcon() const { return m_videoIcon; }
    QLabel* videoFactsLabel() const { return m_videoFactsLabel; }
    QLabel* audioIcon() const { return m_audioIcon; }
    QLabel* audioFactsLabel() const { return m_audioFactsLabel; }
    QLabel* cutLengthLabel() const { return m_cutLengthLabel; }
    QWidget* cutBar() const { return m_cutBar; }
    QLabel* thumbnailPicture() const { return m_thumbnailPicture; }
    MyPushButton* outputFormatButton() const { return m_defaultOutputButton; }
    MyPushButton* deleteButton() const { return m_deleteButton; }
    QMenu* contextMenu() const;

    // Reads thumbnails off the interface thread; without one, the row
    // reads its picture itself.
    void setThumbnailLoader(ThumbnailLoader* loader) { m_thumbnailLoader = loader; }

    int itemId = 0;
    QString filePath;
    QString thumbnailPath;
    bool inUse = false;
    bool selected = false;
    int listPosition = -1;
    // Rows in use in the list, written together with listPosition.
    int listRowCount = 0;
    MediaInfo mediaInfo;
    qint64 cutStart = 0;
    qint64 cutEnd = 0;
    int audioTrackIndex = 0;
    // The engine library's 72-byte information block, allocated with malloc
    // by the conversion code; the row releases it with free().
    void* engineInfo = nullptr;

signals:
    void press_clicked(VideoItemWidget* item);
    void clicked(VideoItemWidget* item);
    void deleteItem(VideoItemWidget* item);
    void moveupItem(VideoItemWidget* item);
    void movedownItem(VideoItemWidget* item);
    void deleteAllItem();
    void setDefaultOutput_signal(VideoItemWidget* item);
    // The row became (name = trimmed file name, its id) or stopped being
    // (empty name, 0) the output format.
    void outputFormatMarked(const QString& name, int itemId);
    // The cut range shown on the row changed; the list refreshes its totals.
    void cutRangeChanged(VideoItemWidget* item);
    // The user chose another audio track; mediaInfo now describes it.
    void audioTrackChanged(VideoItemWidget* item);
    // The menu's "Save List…" and "Open List…", for the main window.
    void saveListRequested();
    void openListRequested();

public slots:
    void deleteButton_slots();
    void defaultoutputformatBtn_slots();
    void moveupAction_slots();
    void movedownAction_slots();
    void removeAction_slots();
    void removeAllAction_slots();
    void setDefaultAction_slots();
    void audioSelectComboBox_slots();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void placeTexts();
    void fillTrackChoice();
    QString trackEntryText(int track) const;
    void showFacts();
    void showFileName();
    void updateMenuState();
    void translateMenu();
    void showThumbnail();
    void showPlaceholder();
    void releaseEngineInfo();
    void applyAudioTrack(int track, bool reloadPreview);

    bool m_defaultOutput = false;
    bool m_jobRunning = false;
    bool m_skinApplied = false;
    // The selection look last painted: -1 none yet, else 0 or 1.
    int m_shownSelected = -1;
    ThumbnailLoader* m_thumbnailLoader = nullptr;
    quint64 m_thumbnailRequest = 0;

    QWidget* m_background = nullptr;
    QLabel* m_thumbnailFrame = nullptr;
    QLabel* m_thumbnailPicture = nullptr;
    QLabel* m_fileNameLabel = nullptr;
    MyPushButton* m_defaultOutputButton = nullptr;
    MyPushButton* m_deleteButton = nullptr;
    MyPushButton* m_moveUpButton = nullptr;
    MyPushButton* m_moveDownButton = nullptr;
    QWidget* m_factsLine = nullptr;
    QLabel* m_videoIcon = nullptr;
    QLabel* m_videoFactsLabel = nullptr;
    QLabel* m_audioIcon = nullptr;
    QLabel* m_audioFactsLabel = nullptr;
    QWidget* m_cutLine = nullptr;
    QLabel* m_cutCaptionLabel = nullptr;
    QLabel* m_cutLengthLabel = nullptr;
    QLabel* m_trackCaptionLabel = nullptr;
    QComboBox* m_audioSelectComboBox = nullptr;
    QWidget* m_cutBar = nullptr;
    QWidget* m_bottomLine = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_setDefaultAction = nullptr;
    QAction* m_moveUpAction = nullptr;
    QAction* m_moveDownAction = nullptr;
    QAction* m_removeAction = nullptr;
    QAction* m_removeAllAction = nullptr;
    QAction* m_saveListAction = nullptr;
    QAction* m_openListAction = nullptr;
};
