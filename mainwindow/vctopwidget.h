#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class MyPushButton;
class MyTempButton5;

// The strip across the top of the frameless main window: it stands in for the
// window frame (logo, title, minimise, close) and carries the list commands
// "Add Files" and "Clear All". The main window calls LayoutChildren(),
// ApplySkin() and Retranslate() again whenever size, skin or language change.
class VCTopWidget : public QWidget
{
    Q_OBJECT

public:
    explicit VCTopWidget(QWidget* parent = nullptr);

    void LayoutChildren();
    void ApplySkin();
    void Retranslate();

    // Called after every change of the list's row count.
    void RefreshButtons(int rowCount);
    // While a job runs, "Add Files" and "Clear All" cannot act and show their
    // disabled look; afterwards they follow the row count again.
    void setJobRunning(bool running);
    bool isJobRunning() const { return m_jobRunning; }

    MyTempButton5* addButton() const { return m_AddButton; }
    MyTempButton5* clearButton() const { return m_ClearButton; }
    MyPushButton* closeButton() const { return m_closeButton; }
    MyPushButton* minimiseButton() const { return m_minButton; }
    QLabel* titleLabel() const { return m_titleLabel; }
    QLabel* versionLabel() const { return m_versionLabel; }
    QLabel* logoLabel() const { return m_logoLabel; }
    QWidget* commandStrip() const { return m_commandWidget; }

signals:
    // Media files the user chose, in the dialog's order, for the probe queue.
    void filesChosen(const QStringList& paths);
    // The owner stops the preview and empties the list.
    void clearAllRequested();
    // Whether a job can start: true while the list has rows.
    void startEnabledChanged(bool enabled);

public slots:
    void closeButton_slots();
    void minButton_slots();
    void m_AddButton_slots();
    void m_ClearButton_slots();

private:
    void applyCommandStates();

    int m_rowCount = 0;
    bool m_jobRunning = false;

    QLabel* m_logoLabel = nullptr;
    QLabel* m_titleLabel = nullptr;
    MyPushButton* m_closeButton = nullptr;
    MyPushButton* m_minButton = nullptr;
    // The command strip and the inner widget that holds its buttons.
    QWidget* m_commandWidget = nullptr;
    QWidget* m_commandInner = nullptr;
    MyTempButton5* m_AddButton = nullptr;
    MyTempButton5* m_ClearButton = nullptr;
    QLabel* m_versionLabel = nullptr;
};
