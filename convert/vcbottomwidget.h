#pragma once

#include "convert/conversionjob.h"
#include "convert/convertitem.h"
#include "convert/cutmode.h"
#include "convert/outputprofile.h"
#include "convert/progress.h"

#include <QDateTime>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

class MyPushButton;
class MyTempButton2;
class EngineInfoPrefetch;
class QLabel;
class QProcess;
class VideoItemWidget;

// The strip along the bottom of the main window: the output profile (the
// facts of the output-format row), the output folder, and the start button.
// Its start button hands the rows to a ConversionJob, shows the job's
// progress on the overlay and reports its end.
class VCBottomWidget : public QWidget
{
    Q_OBJECT

public:
    explicit VCBottomWidget(QWidget* parent = nullptr);
    ~VCBottomWidget() override;

    // A row became (name not empty) or stopped being (empty) the output format.
    void setOutputFormatItem(const QString& name, int id);
    // From the top bar: whether rows exist. It and setOutputFormatItem both
    // set the start button; the later call decides.
    void setStartEnabled(bool enabled);

    void Retranslate();
    // What follows the rows listed now: the start button's caption ("Join",
    // "Cut" or "Start") and the profile. Without `always`, only what changed
    // is restyled, as this runs for every row added.
    void refreshRows(bool always = false);
    void refreshStartCaption(bool always = false);
    void ApplySkin();
    void LayoutChildren();

    // Cancel from the progress overlay.
    void abortConversion();

    // When the rows as they stand would be re-encoded, asks the engine for the
    // facts of every row that lacks them, in the background, so that a job
    // does not wait for them at its start.
    void prefetchEngineInfo();

    bool isConverting() const { return m_running; }
    int formatItemId() const { return m_formatItemId; }
    QString outputFolder() const { return m_outputFolder; }
    QString outputFile() const { return m_outputFile; }
    int phase() const { return m_phase; }
    CutMode cutMode() const { return m_cutMode; }
    void setCutMode(CutMode mode);

    MyTempButton2* startButton() const { return convertAllButton; }
    MyTempButton2* chooseFolderButton() const { return selectOutputButton; }
    MyPushButton* openFolderButton() const { return openOutputButton; }
    QLabel* folderLabel() const { return m_folderLabel; }
    QWidget* profilePanel() const { return m_profilePanel; }
    // What a re-encoding of the rows in use would write; the Profile line
    // shows it.
    OutputProfile currentProfile() const;
    QLabel* videoFactsLabel() const { return m_videoFactsLabel; }
    QLabel* audioFactsLabel() const { return m_audioFactsLabel; }
    MyTempButton2* exactModeButton() const { return m_exactButton; }
    MyTempButton2* keyframeModeButton() const { return m_keyframeButton; }
    // The media tool process of the running lossless job, if any.
    QProcess* toolProcess() const;

    // Seams for tests and benchmarks: the folder without its dialog, and the
    // clock that names results.
    void setOutputFolder(const QString& folder);
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // How long an engine job may show neither progress nor a busy media tool
    // before it is ended as stuck.
    void setEngineStallTimeout(int ms) { m_engineStallMs = ms; }
    // The running or last job.
    ConversionJob* job() const { return m_job; }

signals:
    // The engine's end callback for conversion `itemid` arrived.
    void convertend(int itemid, int falgs);
    // A media tool step was started (phase 1: the pieces; 0: the join).
    void toolStepStarted(int phase, int segmentIndex);
    void cutModeChanged(CutMode mode);
    // The job is over and its report (or none, after Cancel) is done.
    void jobFinished(bool succeeded);
    // A job started or ended: the commands that change the list or the job
    // are disabled meanwhile.
    void runningChanged(bool running);

public slots:
    void selectOutputButton_slots();
    void openOutputButton_slots();
    void convertAllButton_slots();
    // The job polls the engine and hears its end by itself; these pass the
    // same on for callers that drive it from outside.
    void progresstimer_slots();
    void ffdec_convertend_slots(int itemid, int falgs);

private:
    QList<VideoItemWidget*> records() const;
    VideoItemWidget* formatRecord(const QList<VideoItemWidget*>& rows) const;
    // The rows as a job takes them, and the index of the output-format row.
    QList<ConvertItem> jobItems(const QList<VideoItemWidget*>& rows, int* formatIndex) const;
    void onJobFinished(bool ok, const QString& message, const QString& note);
    void reportResult(const QString& note = QString());
    void setProgress(int value);
    void showNotice(const QString& text);
    void setPlayerControlsEnabled(bool enabled);
    void setRunning(bool running);
    void refreshProfile();
    void styleModeButtons();

    QWidget* m_background = nullptr;
    QLabel* m_profileCaption = nullptr;
    QLabel* m_profileBox = nullptr;
    QWidget* m_profilePanel = nullptr;
    QLabel* m_videoIcon = nullptr;
    QLabel* m_videoFactsLabel = nullptr;
    QLabel* m_audioIcon = nullptr;
    QLabel* m_audioFactsLabel = nullptr;
    MyPushButton* m_formatMark = nullptr;
    QLabel* m_folderCaption = nullptr;
    QLabel* m_folderLabel = nullptr;
    MyTempButton2* selectOutputButton = nullptr;
    QWidget* m_openButtonFrame = nullptr;
    MyPushButton* openOutputButton = nullptr;
    MyTempButton2* convertAllButton = nullptr;
    MyTempButton2* m_exactButton = nullptr;
    MyTempButton2* m_keyframeButton = nullptr;

    EngineInfoPrefetch* m_infoPrefetch = nullptr;
    QPointer<ConversionJob> m_job;

    QString m_outputFolder;
    int m_formatItemId = 0;
    int m_phase = 0;
    CutMode m_cutMode = CutMode::Exact;
    bool m_abort = false;
    bool m_running = false;
    QString m_outputFile;
    int m_engineStallMs = 60000;
    std::function<QDateTime()> m_clock;
};
