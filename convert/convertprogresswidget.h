#pragma once

#include "convert/progress.h"

#include <QWidget>

class MyTempButton2;
class QLabel;
class QMovie;
class QProgressBar;

// The overlay that covers the main window while a job runs: a busy animation,
// a title saying whether the job cuts or joins, a progress track with its
// percentage, and Cancel. Values are hundredths of a percent.
class ConvertProgressWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ConvertProgressWidget(QWidget* parent = nullptr);

    // Shows `value` (0 to 10,000); with onlyIncrease a value not above the
    // current one is ignored, so progress never moves backwards.
    void setProgress(int value, bool onlyIncrease);
    int progress() const { return m_tracker.value(); }

    void prepareTexts();
    void applySkin();
    void layoutChildren();

    // Show: texts, progress 0, animation running. Hide: texts, 10,000,
    // animation stopped.
    void showWithAnimation();
    void hideWithAnimation();

    QLabel* titleLabel() const { return m_titleLabel; }
    QLabel* percentLabel() const { return m_percentLabel; }
    QLabel* fillLabel() const { return m_fillLabel; }
    QLabel* trackLabel() const { return m_trackLabel; }
    MyTempButton2* cancelButton() const { return m_cancelButton; }

signals:
    // Cancel was pressed; the owner of the job stops it.
    void abortRequested();

public slots:
    void abortButton_slots();

private:
    void placeFill();

    ProgressTracker m_tracker;
    QWidget* m_frame = nullptr;
    QWidget* m_frameFill = nullptr;
    QLabel* m_busyLabel = nullptr;
    QMovie* m_busyMovie = nullptr;
    QLabel* m_titleLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_trackLabel = nullptr;
    QLabel* m_fillLabel = nullptr;
    QLabel* m_percentLabel = nullptr;
    MyTempButton2* m_cancelButton = nullptr;
};
