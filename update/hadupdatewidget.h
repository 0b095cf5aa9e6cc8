#pragma once

#include "update/manifest.h"

#include <QDialog>
#include <QFile>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>

#include <memory>

class MyPushButton;
class MyTempButton2;
class QLabel;
class QNetworkAccessManager;
class QProgressBar;
class QScrollArea;

// Offers a newer version with its change log, and on request downloads its
// installer into the private work folder, checks it against the manifest's
// checksums and starts it; the program then closes so the installer can
// replace it. Nothing that has not matched a named checksum is started.
class HadUpdateWidget : public QDialog
{
    Q_OBJECT

public:
    explicit HadUpdateWidget(QWidget* parent = nullptr);
    ~HadUpdateWidget() override;

    void setupOffer(const UpdateOffer& offer);
    void Retranslate();

    bool isDownloading() const { return m_downloading; }
    // While a job runs no installer is started: the program closes right
    // after, and the job would be cut off.
    void setJobRunning(bool running) { m_jobRunning = running; }
    QString installerPath() const { return m_installerPath; }
    int attempts() const { return m_attempts; }
    // A connection that sends nothing for this long is given up (120 s);
    // tests shorten it.
    void setStallTimeout(int ms) { m_stallTimer.setInterval(ms); }

    MyTempButton2* cancelButton() const { return m_cancelButton; }
    MyTempButton2* updateButton() const { return m_updateButton; }
    MyPushButton* crossButton() const { return m_crossButton; }
    QLabel* headlineLabel() const { return m_headlineLabel; }
    QLabel* changeLogLabel() const { return m_changeLogLabel; }
    QLabel* statusLabel() const { return m_statusLabel; }
    QLabel* linkLabel() const { return m_linkLabel; }
    QProgressBar* progressBar() const { return m_progressBar; }

signals:
    // The installer was started; the main window closes a second later.
    void installerStarted(const QString& path);

public slots:
    void cancelButton_slots();
    void updateButton_slots();
    void downloadProgress_slots(qint64 received, qint64 total);
    void downloadreadyRead_slots();
    void downloadfinished_slots(QNetworkReply* reply);
    void downloadTimer_slots();
    void OpenUrl_slots(const QString& url);

protected:
    // Enter presses the dialog's main button, Escape closes or cancels.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void startDownload();
    void showLink(const QString& url);
    void showOfferPage();
    void showDownloadPage();
    void failed(const QString& text);
    void launch();
    void dropDownload();
    void layoutChildren();
    void applySkin();

    UpdateOffer m_offer;
    bool m_downloading = false;
    bool m_jobRunning = false;
    bool m_writeFailed = false;
    int m_attempts = 0;
    int m_source = -1;
    QString m_installerPath;
    QFile m_output;
    std::unique_ptr<QNetworkAccessManager> m_network;
    QPointer<QNetworkReply> m_reply;
    QTimer m_stallTimer;

    QWidget* m_panel = nullptr;
    MyPushButton* m_crossButton = nullptr;
    QWidget* m_line = nullptr;
    QLabel* m_iconLabel = nullptr;
    QLabel* m_headlineLabel = nullptr;
    QLabel* m_noteLabel = nullptr;
    QLabel* m_changeLogCaption = nullptr;
    QScrollArea* m_changeLogArea = nullptr;
    QLabel* m_changeLogLabel = nullptr;
    MyTempButton2* m_cancelButton = nullptr;
    MyTempButton2* m_updateButton = nullptr;
    QLabel* m_statusLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_linkLabel = nullptr;
};
